#pragma once

#include <functional>

#include <QByteArray>
#include <QList>
#include <QString>
#include <stdexcept>

struct AppState;
class Interaction;
class Tdb_procedures;

// An export file that could not be written. The message is German, names the file and can be shown as
// it stands.
class ExportFehler : public std::runtime_error {
public:
    explicit ExportFehler(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    QString message() const { return message_; }

private:
    QString message_;
};

namespace exportdatei {
// "Die Datei „/pfad/name“ konnte nicht geschrieben werden."
QString nichtGeschrieben(const QString& path);
// Writes bytes under a temporary name beside path and renames it at the end, so path holds either the
// old file or the complete new one. Throws ExportFehler naming path.
void schreiben(const QString& path, const QByteArray& bytes);
// The same for writers that need a file name of their own (libxlsxwriter, the PDF writer): `schreiber`
// writes the temporary file it is given and says whether that worked. The finished file gets the
// permissions of any new file (not the temporary file's owner-only ones), so a copied or shared export
// stays readable. Throws ExportFehler naming path.
void schreibenUeber(const QString& path, const std::function<bool(const QString& temp)>& schreiber);
} // namespace exportdatei

// The tournament as a small static web site: a frameset page, navigation and title frames, the
// tournament page, the class and match-plan indexes with one page per class, players and teams, umpires.
namespace htmlexport {

struct Seite {
    QString datei; // file name inside the target folder
    QString text;  // the page, lines ended by CR LF
};

// The stylesheet every page links to.
inline QString stylesheetDatei() {
    return QStringLiteral("velmora.css");
}

// Text as HTML shows it literally: & < > " ' escaped.
QString escape(const QString& text);
// The file key of a class: its name and its system number, with characters no file name may hold
// replaced by "_".
QString klassenschluessel(const QString& kbezeichnung, int system);

// Every page of tournament tid, in writing order. framesetDatei is the frameset page's file name.
// Reads each table once per class (or once for the tournament), never once per match or player.
QList<Seite> seiten(Tdb_procedures& db, int tid, const QString& turniername, const QString& framesetDatei);

// The two pages of class kid (its groups and results, its match plan), as seiten() holds them.
QList<Seite> klassenseiten(Tdb_procedures& db, int kid);

// Writes the pages into folder as UTF-8; each file is complete or not there. Throws ExportFehler.
void schreiben(const QString& folder, const QList<Seite>& seiten, Interaction* progress = nullptr);

// "HTML-Export": asks for the file name (the tournament name in the program's directory) and writes the
// site beside it; the frameset page is the chosen name with ".html" appended. Returns the frameset page,
// empty when cancelled or when a file could not be written (the error is shown).
QString exportieren(const AppState& state, Tdb_procedures& db, Interaction& interaction, const QString& programDir);

} // namespace htmlexport

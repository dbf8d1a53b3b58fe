#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

struct AppState;
class Interaction;
class Tdb_procedures;

// The entry form ("Anmeldeformular"): a .docx document with real form fields that a club fills in and
// the player import reads back. The field names are the contract between the two.
namespace entryform {

constexpr int kSpielerZeilen = 17;

inline QString vereinFeld() {
    return QStringLiteral("verein");
}
inline QString ansprechpartnerFeld() {
    return QStringLiteral("ansprechpartner");
}
inline QString telefonFeld() {
    return QStringLiteral("telefon");
}
inline QString anzahlFeld() {
    return QStringLiteral("anzahl");
}
inline QString nachnameFeld(int zeile) {
    return QStringLiteral("nname%1").arg(zeile);
}
inline QString vornameFeld(int zeile) {
    return QStringLiteral("vname%1").arg(zeile);
}
inline QString spielklasseFeld(int zeile) {
    return QStringLiteral("sklasse%1").arg(zeile);
}
inline QString klassenFeld(int zeile, int spalte) {
    return QStringLiteral("klasse%1_%2").arg(zeile).arg(spalte);
}

struct Klasse {
    int kid = 0;
    int system = 0;
    QString kbezeichnung;
};

struct Daten {
    QString turniername;
    QString zusatz;
    QList<Klasse> klassen; // in the order of the class columns
};

// The tournament's name and its classes ordered by name.
Daten lesen(Tdb_procedures& db, int tid);

// The main part word/document.xml.
QByteArray documentXml(const Daten& daten);
// The whole .docx package.
QByteArray docx(const Daten& daten);
// The package around a given main part.
QByteArray paket(const QByteArray& documentXml);

// Writes the files into one zip archive in memory, in the given order. Throws std::runtime_error when the
// archive cannot be made.
QByteArray zipArchive(const QList<QPair<QString, QByteArray>>& files);

// "Anmeldeformular erzeugen": asks for the file and writes the form of the current tournament.
// Every failure is reported; a half-written document is never left behind.
void erzeugen(const AppState& state, Tdb_procedures& db, Interaction& interaction, const QString& programDir);

} // namespace entryform

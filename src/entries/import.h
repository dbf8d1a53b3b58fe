#pragma once

#include "entries/import_tabelle.h"
#include "entries/import_turnierdatei.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct AppState;
class Interaction;
class Tdb_procedures;

// A candidate of the import (`importitem`): who, and from which kind of source.
struct Importitem {
    static constexpr int kTabelle = -1;
    static constexpr int kFormular = -99;

    int sid = kTabelle; // the source player's id (tournament file), -1 spreadsheet, -99 entry form
    QString nachname;
    QString vorname;
    QString verein;
    QString spielklasse;
    QDate geb;
    bool mann = true;
    bool frau = false;
    QString kverband;
    QString lverband;
    QString bverband;
    QString land;
    // Entry form only: the classes ticked for him, as ids of the form's tournament.
    QList<int> kids;

    bool ausFormular() const { return sid == kFormular; }
    QString text() const { return nachname + QStringLiteral(", ") + vorname; }
};

// What kind of source a file is, by its name: .docx (.doc) an entry form, .xlsx (.xls), .csv and .txt a
// spreadsheet, anything else a tournament database.
enum class Quellart { Turnierdatei, Tabelle, Formular };
Quellart quellartVon(const QString& path);

// The source dialog ("Importieren") without widgets: reads the chosen file, keeps what the dialog shows
// and builds the candidates. Refusals are German messages through Interaction; nothing is kept then.
class Importquelle {
public:
    // The fields a spreadsheet column can mean ("Vorhanden Daten").
    static QStringList vorhandeneDaten();

    Importquelle(AppState& state, Tdb_procedures& db, Interaction& interaction);

    // Reads the file. An entry form fills the staging table Import in one transaction.
    // False when the file was refused (the message was shown).
    bool oeffnen(const QString& path);

    Quellart art() const { return art_; }
    QString pfad() const { return pfad_; }

    // Tournament file: the tournaments in it and the one chosen.
    const QList<importturnierdatei::Turnier>& turniere() const { return turniere_; }
    int gewaehltesTurnier = -1;

    // Spreadsheet: the first sheet; the meaning of column k is reihenfolge()[k - 1].
    const Tabelle& tabelle() const { return tabelle_; }
    const QStringList& reihenfolge() const { return reihenfolge_; }
    // Dragging a field to "Datenreihenfolge" appends it unless it is there; dragging it back removes it.
    void anReihenfolge(const QString& feld);
    void ausReihenfolge(const QString& feld);
    // True when the first row names columns ("Nachname", "Vorname" …); it is no player then.
    bool kopfzeile() const { return kopfzeile_; }

    // Entry form: the club and the players, the last row on top.
    QString formularVerein() const { return formularVerein_; }
    const QList<Importitem>& formularSpieler() const { return formularSpieler_; }

    // "Importieren" of the dialog: the candidates, or none when refused (the dialog stays open).
    std::optional<QList<Importitem>> kandidaten();

private:
    bool formularLesen(const QString& path);
    std::optional<QList<Importitem>> tabellenKandidaten();

    AppState& state_;
    Tdb_procedures& db_;
    Interaction& interaction_;
    Quellart art_ = Quellart::Turnierdatei;
    QString pfad_;
    QList<importturnierdatei::Turnier> turniere_;
    Tabelle tabelle_;
    QStringList reihenfolge_;
    bool kopfzeile_ = false;
    QString formularVerein_;
    QList<Importitem> formularSpieler_;
};

// The panel "Importieren von Spielern" without widgets: the candidate list, the import list, the moves
// between them and the import.
class Spielerimport {
public:
    Spielerimport(AppState& state, Tdb_procedures& db, Interaction& interaction);

    // "Spieler importieren": both lists empty.
    void leeren();
    // The source dialog's result replaces the candidates; all of them are selected.
    void setKandidaten(const QList<Importitem>& items);

    const QList<Importitem>& kandidaten() const { return liste1_; }
    const QList<Importitem>& importliste() const { return liste2_; }
    QList<int> auswahl1;
    QList<int> auswahl2;

    // "->>": the selected candidates whose text is not in the import list yet move over. "<<-" back.
    void hinzufuegen();
    void entfernen();

    struct Ergebnis {
        int importiert = 0;
        QList<Importitem> vorhanden; // skipped: a player of that name is in the tournament already
    };
    // "Importieren": inserts the import list into the current tournament in one transaction, entry-form
    // players with their classes. Players already there (same surname and first name) are skipped and
    // listed, then "Der Import wurde abgeschlossen." is shown. Empties both lists. DbError propagates with
    // nothing written.
    Ergebnis importieren();

private:
    AppState& state_;
    Tdb_procedures& db_;
    Interaction& interaction_;
    QList<Importitem> liste1_;
    QList<Importitem> liste2_;
};

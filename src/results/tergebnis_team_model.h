#pragma once

#include "results/tergebnis_model.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The team match dialog "Spielverwaltung" without its widgets: one team match (a Spielplan row) with the
// line-up of both teams and its rubbers (Teamspiele rows) planned, called, started, finished and
// corrected. The team result is chosen by hand; it is not derived from the rubbers. The plan area
// prepares it for one match, the widget shows and edits these fields, and the confirm button runs
// okClick. As in the single-match dialog every write is committed before the free lists and the status
// cells change, and a refusal writes nothing.
class Tergebnis_team {
public:
    static constexpr int kRubbers = 9;
    using Ausgang = Tergebnis::Ausgang;

    Tergebnis_team(Spielbetrieb& sb, Ergebnisverarbeitung& ev);

    // --- Preparing the dialog for one team match -----------------------------------------------------
    Dialogmodus statusClick(int snr);
    void spielplanen(int snr);
    void spielaufrufen1(int snr);
    // "Spiel mauell starten": calling with any typed table accepted; false (and the refusal shown) when
    // a team is not known yet.
    bool spielMauellStarten(int snr);
    void spielaufgerufen(int snr);
    // The result page; a team match has no mirrored cell, so `gespiegelt` changes nothing.
    void spielstarten(int snr, bool gespiegelt = false);
    void spielbeendet(int snr);

    // Fills the line-up boxes of the first / second team: its players and reserves into every singles
    // box, its pairs into both doubles boxes, each position preselected, then the line-up stored with
    // the rubbers of the match chosen again.
    void team1laden(int mid);
    void team2laden(int mid);

    // Stores the plan of every rubber (day, time, table, umpire, line-up); mode 1 also the called table.
    void db_teamplanen(int mode);
    // The table belongs to the tables of the class.
    bool plattencheck(const QString& text);

    // --- Editing ---------------------------------------------------------------------------------------
    // A rubber's result (n 0-based) chosen from its list: its sets are emptied and as many set fields
    // enabled as sets were played.
    void rubberErgebnisGewaehlt(int n, const QString& text);
    // Leaving set field k of rubber n: a text that is not a number is refused and emptied.
    bool satzVerlassen(int n, int k);
    // Leaving the time of rubber n: a text that is no time is refused and emptied.
    bool zeitVerlassen(int n);
    void aufrufGeklickt(matchrecord::Recall which, bool checked);
    // "Drucken": the umpire slips.
    void drucken(Druckziel ziel = Druckziel::Drucker);

    Ausgang okClick();

    // --- What the widget shows -----------------------------------------------------------------------
    Dialogmodus modus = Dialogmodus::Uebernehmen;
    QString okText() const { return okCaption(modus); }
    int seite() const; // index into Tergebnis::kSeiten
    QString caption() const { return QStringLiteral("Spielverwaltung"); }

    int snr = 0;
    int gruppetemp = -1;
    int manuell = 0;          // 1: any typed table is accepted (manual start)
    int mid1 = -1, mid2 = -1; // tags of `team1` and `team2`
    QString team1, team2, gruppeLabel;

    // The line-up of one team: the singles boxes 1 … 4 share one list, the doubles boxes 1 and 2 another.
    struct Aufstellung {
        QStringList einzelItems;
        QStringList doppelItems;
        std::array<QString, 4> einzel;
        std::array<QString, 2> doppel;
    };
    std::array<Aufstellung, 2> aufstellung; // `spielerc…` for the first team, `spielerd…` for the second
    int teamgroesse = 4;                    // singles boxes shown

    // One rubber row of the pages "Spielplanung" and "Fertig".
    struct Zeile {
        QString spiel; // "Spiel 1: A1 - B2", "Spiel 3: D1 - D1"
        QDate tag;
        QString zeit;
        QStringList tischItems;
        QString tisch;
        QStringList schiriItems;
        QString schiri;
        QString erg;
        std::array<QString, 9> satz;
        int satzAktiv = 0;
        std::optional<int> p1, p2; // line-up positions from the team system
    };
    std::array<Zeile, kRubbers> zeilen;
    int rubberAnzahl = 0; // rows shown
    QStringList ergItems; // the result list of every rubber
    int satzFelder = 5;   // set fields per rubber: 2G − 1

    std::array<bool, 6> aufruf{};
    std::array<QString, 6> aufrufHinweis;

    QStringList ergebnisItems; // the team results
    QString ergebniscombo;
    bool schiripool = false;
    bool schiripoolEnabled = false;
    bool druckenEnabled = true;
    bool tischEnabled = true;
    bool schiriEnabled = true;
    bool next = true;
    bool next1 = true;
    bool next1Visible = false;

    // The text of a line-up box for position code p of team t (0, 1): singles 1 … 4, doubles 11 and 12
    // (the team system's codes; 21 is read as the second pair too). Empty for a code that names no box.
    QString aufstellungText(int t, std::optional<int> p) const;
    // The same box for writing.
    QString* aufstellungBox(int t, std::optional<int> p);

private:
    std::optional<SpielplanRow> vorbereiten(int snr, Dialogmodus m);
    void teamspielplanen(int snr, bool freieListen);
    void teamladen(int t, int mid);
    bool tischePruefen();
    QStringList gezeigteTische() const;
    void freigeben(const Beendet& b);

    Spielbetrieb& sb_;
    Ergebnisverarbeitung& ev_;
};

#pragma once

#include "results/tabelle.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <optional>

class Interaction;
class Tdb_procedures;

// Finishing a single or doubles match and withdrawing a result. Each runs as ONE transaction: the
// result, every slot it fills or empties, the standings and the qualifiers of a finished group or phase
// are written together or not at all. Questions (the manual decision of ties) are asked while no
// transaction is open: a run that meets an undecided tie is rolled back, the question is asked, and the
// run starts again with the answer. The messages "Gruppe beendet" and "Phase beendet" follow the
// commit. What the free lists of the running class must get back is handed to the caller, who changes
// them after the commit. Call them with no transaction open, so a question never holds the database.

// The result of one rubber of a team match: "3:1" from the class's result list with its sets, or empty
// text (and no sets) for a rubber that was not played.
struct RubberErgebnis {
    QString ergebnis;
    QStringList saetze;
};

// What the match dialog hands over when a match is finished.
struct ErgebnisEingabe {
    int kid = 0;
    int snr = 0;
    QString ergebnis;        // "3:1", one of the class's result list
    QStringList saetze;      // the texts of the set fields, in set notation
    QString schiri;          // the umpire of the call ("Nachname, Vorname"), empty for none
    QString platte;          // the table of the call
    bool schiripool = false; // the loser becomes an umpire of the tournament
    QDateTime jetzt;
    // A team match: `ergebnis` is the team result chosen by hand, `saetze` stays empty, and these are the
    // rubbers shown in the dialog, rubber 1 first; each is written into its Teamspiele row.
    QVector<RubberErgebnis> rubbers;
};

// Where the table of a finished match goes back to.
enum class PlattenZiel {
    Keine,  // a manually typed table: into no list
    Gruppe, // tables of their own per group: the group's list (`alleplatten` when it has none)
    Alle,   // shared tables: every table list
};

// What one result changed, for the free lists and the redraw after the commit.
struct Beendet {
    bool geschrieben = false;
    int snr = 0;
    int gruppe = -1;
    int phase = 0;
    int siegerSID = -1;
    int verliererSID = -1;
    // Back to the free lists: the players to the group's list (`allespieler` outside groups), the umpire
    // to `schiri`, the table as platteZiel says. Empty after a correction: those were given back when
    // the match was first finished.
    QVector<int> spieler;
    QString schiri;
    QString platte;
    PlattenZiel platteZiel = PlattenZiel::Keine;
    // The losers enrolled as umpires: new id and "Nachname, Vorname" (for `schiri` and `alleschiris`);
    // a team match enrolls every player and reserve of the losing team not known as umpire yet.
    QVector<std::pair<int, QString>> neueSchiris;
    // Matches whose sides were filled, in number order.
    QVector<int> geaenderteSpiele;
    bool gruppeBeendet = false;
    bool phaseBeendet = false;
    // Entries moved into the next phase: each goes into every player list.
    QVector<int> nachgerueckt;
};

// What an undo changed.
struct Zurueckgesetzt {
    bool geschrieben = false;
    // Every match whose result or sides were withdrawn, the match itself included, in number order.
    QVector<int> geaenderteSpiele;
};

class Ergebnisverarbeitung {
public:
    static const QString kGruppeBeendet;   // "Gruppe beendet"
    static const QString kPhaseBeendet;    // "Phase beendet"
    static const QString kSeitenUnbekannt; // a side not known yet
    static const QString kSchonBeendet;    // finishing a finished match again
    static const QString kKeinErgebnis;    // withdrawing a result that is not there
    static const QString kSpielFehlt;      // no such match

    Ergebnisverarbeitung(Tdb_procedures& db, Interaction& interaction, tabelle::Entscheider entscheider);

    // "Spiel beendet": refusals are shown and write nothing; a database error rolls everything back and
    // is thrown on.
    Beendet db_beendet(const ErgebnisEingabe& e);

    // Withdraws the result of match snr and everything built on it. alsBegonnen: the match is started
    // again afterwards ("Spiel zurücksetzen"), in the same transaction.
    Zurueckgesetzt db_zuruecksetzen(int kid, int snr, bool alsBegonnen = false);

    // "Korrigieren": the stored result withdrawn and the new one stored, as one transaction.
    Beendet korrigieren(const ErgebnisEingabe& e);

private:
    struct Lauf;
    Beendet ausfuehren(const ErgebnisEingabe& e, bool korrektur);

    Tdb_procedures& db_;
    Interaction& interaction_;
    tabelle::Entscheider entscheider_;
};

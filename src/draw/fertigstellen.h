#pragma once

#include <QHash>
#include <QString>
#include <QVector>
#include <array>
#include <functional>

class Interaction;
class Tdb_procedures;

namespace datafiles {
struct KoPlan;
struct Schedule;
} // namespace datafiles

// Draw completion: "Fertig stellen" of the draw dialog turns the drawn class into its match plan. It
// computes every match of every phase with the links that say where its two sides come from, settles the
// matches against byes through those links in memory, and then writes each row once into Spielplan (and
// the rubbers of team matches into Teamspiele).

// One line of a group, or one slot of a bracket, as the draw dialog hands it over.
struct PlanSlot {
    // Entry id: a player's SID, a pair's first SID, a team's MID. -1 an empty line or a qualifier label,
    // -2 a bye. Phase 1 group lines carry the same id the group store writes into Gruppen.
    int id = -1;
    // The entry text, the qualifier label or "Freilos", without the line number; empty when empty.
    QString text;
    // Phases 2 and 3: where the label's entrant comes from (parent group, -3 the best-placed pool; parent
    // position or rank), decoded by the dialog with the same rules the group store uses. -1 none.
    int parentGID = -1;
    int parentpos = -1;
};

struct PhasePlan {
    enum System { Keine = -1, Gruppenphase = 0, EinfachesKO = 1, DoppeltesKO = 2 };
    int system = Keine;
    // Group index of the phase's first group (groups are numbered across the phases of a class).
    int firstGid = 0;
    // A group phase: the groups in index order, each with its lines from the top.
    QVector<QVector<PlanSlot>> groups;
    // A knock-out phase: the first-stage slots from the top; slots 2j and 2j+1 meet. Empty slots are byes.
    QVector<PlanSlot> bracket;

    bool exists() const { return system != Keine; }
};

// What the dialog's lists still hold when "Fertig stellen" is pressed.
struct Ungelost {
    int eintraege = 0; // lines of the entry list
    int gesetzte = 0;  // seeds in the seed list (lines whose id is above 0)
    int phase2 = 0;    // lines of the participant list of phase 2
    int phase3 = 0;    // lines of the participant list of phase 3
};

struct DrawPlan {
    int kid = 0;
    int tid = 0;
    int kind = 0; // class kind: 3 is a team class, whose matches get rubbers
    // A redraw replaces the plan from phase redrawPhase (2 or 3) on and keeps the phases before it.
    bool redraw = false;
    int redrawPhase = 0;
    std::array<PhasePlan, 3> phases; // phases 1 to 3
    Ungelost ungelost;

    const PhasePlan& phase(int n) const { return phases[n - 1]; }
};

// The values of one new match, in the order of spielplanfuellen. Everything else starts as in any new
// match: sets 0, "0:0", no flags, winner and loser undecided, nothing planned.
struct Spielwerte {
    int spielnummer = 0;
    int SID1 = -1;
    int SID2 = -1;
    QString spieler1;
    QString spieler2;
    int parentspiel1 = -1;
    int parentspiel2 = -1;
    bool parentsieger1 = false;
    bool parentsieger2 = false;
    int parentGID1 = -1;
    int parentpos1 = -1;
    int parentGID2 = -1;
    int parentpos2 = -1;
    int phase = 1;
    int gruppe = -1;
    int platz = -1;
    bool operator==(const Spielwerte&) const = default;
};

// The class a plan is written for.
struct Planklasse {
    int kid = 0;
    int tid = 0;
    int rubbers = 0; // rubbers per match; 0 unless a team class
};

// The number of rubbers of a team match of class kid: one for every pair s<k>a/s<k>b of its Teamsystem
// row that is set on both sides; 0 without a row.
int teamspielAnzahl(Tdb_procedures& db, int kid);

// Writes one match and, for a team class, its rubbers 1 … rubbers.
void spielplanfuellen(Tdb_procedures& db, const Planklasse& klasse, const Spielwerte& w);
// The same for a match whose winner and loser are known when it is written: a match against a bye.
void spielplanfuellen(Tdb_procedures& db, const Planklasse& klasse, const Spielwerte& w, int siegerSID,
                      int verliererSID);

// The matches of one phase, computed without the database.
namespace spielplan {

// Where the sides of the phase's first matches come from.
enum class Herkunft {
    Eintraege, // phase 1: the drawn entries
    Labels,    // phases 2 and 3 of a new draw: qualifier labels, filled later by result processing
    Spieler,   // the redrawn phase: players who qualified, looked up in the standings of the phase before
};

// A standings row of the phase before, found by the player's text.
struct Platzierung {
    int SID = -1;
    int GID = -1;
    int pos = -1;
};
using Standings = QHash<QString, Platzierung>;

struct Phasenbeginn {
    int phase = 1;
    int spielnummer = 1; // number of the phase's first match
    Herkunft herkunft = Herkunft::Eintraege;
    const Standings* standings = nullptr; // Herkunft::Spieler only
};

// Every pairing of the schedule in playing order, each in all groups before the next one.
QVector<Spielwerte> gruppenphase(const PhasePlan& p, const Phasenbeginn& b, const datafiles::Schedule& s);
// The first stage from the slots, then each stage from the winners of the one before, down to the final.
QVector<Spielwerte> einfachesKO(const PhasePlan& p, const Phasenbeginn& b);
// The double knock-out plan for the bracket's size, numbered in its order.
QVector<Spielwerte> doppeltesKO(const PhasePlan& p, const Phasenbeginn& b, const datafiles::KoPlan& plan);

// The size a bracket is played with: the slot count raised to a power of two, at least 2.
int bracketSize(int count);

} // namespace spielplan

// Where the two data files are.
struct Datendateien {
    QString system;   // the all-play-all schedules
    QString koSystem; // the double knock-out plans
    // Files/system.txt and Files/ko_system.txt in the program's directory.
    static Datendateien beimProgramm();
};

// "Fertig stellen": checks, stores the groups (through the caller's gruppenspeichern), writes the plan
// and settles the byes, all in one transaction, so an error leaves the previous plan untouched.
class Fertigstellen {
public:
    static const QString kNichtAlleGelost;

    Fertigstellen(Tdb_procedures& db, Interaction& interaction,
                  Datendateien dateien = Datendateien::beimProgramm());

    struct Ergebnis {
        bool geschrieben = false;  // the plan was written
        bool planleiste = false;   // new draw: the class belongs in the plans bar (when not there yet)
        bool planAnzeigen = false; // redraw: show the class's plan again
    };

    // Refusals (entries left undrawn, a damaged data file) are shown and write nothing. gruppenspeichern
    // stores the groups, standings rows and tables; it runs first, inside the transaction. Database
    // errors are thrown after the rollback.
    Ergebnis fertigstellen(const DrawPlan& plan, const std::function<void()>& gruppenspeichern = {});

    // Whether every entry, seed and label of the phases being drawn has been placed.
    static bool allesGelost(const Ungelost& u, bool redraw, int redrawPhase);

private:
    Tdb_procedures& db_;
    Interaction& interaction_;
    Datendateien dateien_;
};

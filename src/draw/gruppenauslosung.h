#pragma once

#include "draw/myitem.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

class Random;
class Tdb_procedures;

// The group draw of a class: the settings and entries it starts from, the group lists of each phase, the
// automatic draws, the tables of the groups, and storing the drawn groups. The algorithms work on plain
// lists and take their chance from the Random passed in; loading and storing are separate functions over
// the data module. The draw dialog shows these lists and moves lines between them.

// The draw settings of a class (`Gruppeneinstellungen`), phases 1 to 3. A NULL column reads -1, so an
// absent phase has system -1; next to them the class's kind and its number of tables.
struct gruppeninfos {
    enum System { Gruppenphase = 0, EinfachesKO = 1, DoppeltesKO = 2 };

    std::array<int, 3> phase{-1, -1, -1};
    std::array<int, 3> gruppenanzahl{-1, -1, -1};
    std::array<int, 3> teilnehmer{-1, -1, -1};
    std::array<int, 3> besten{-1, -1, -1};
    std::array<int, 3> bestplazierten{-1, -1, -1};
    QString plattenbez;
    int kind = 0; // `Turnierklassen.system`: 0 singles, 1 doubles, 2 mixed, 3 team
    int platten = 0;

    // n from 1 to 3.
    int system(int n) const { return phase[n - 1]; }
    bool vorhanden(int n) const { return n >= 1 && n <= 3 && phase[n - 1] >= 0; }
    bool gruppenphase(int n) const { return vorhanden(n) && phase[n - 1] == Gruppenphase; }
    // Groups and places of phase n; 0 when it is no group phase.
    int gruppen(int n) const;
    int plaetze(int n) const;
    // The group index of phase n's first group: groups are numbered on across the phases.
    int ersteGid(int n) const;
};

// One group of a phase: its lines from the top, each carrying an entry record. An empty line has id -1,
// partner id -1, seed -1 and an empty text. In phases 2 and 3 a line carries a qualifier label (id -1) in
// a new draw, or a qualified entry in a redraw.
struct Gruppenliste {
    int gid = 0;
    QVector<Myitem> zeilen;

    QString titel() const;
    // Line r (from 0) as shown: "r+1. " and the text.
    QString zeilentext(int r) const;
    bool frei(int r) const { return zeilen[r].text.isEmpty(); }
    // The number of filled lines.
    int belegt() const;
};

// The record of an empty group line and of an emptied seed-list line.
Myitem leereZeile();

// What a new draw starts from: settings, the class's tables (`ListBox5`), the present seeds in seed order
// (`ListBox2`, each text ending in " (n)") and the present unseeded entries sorted by text (`ListBox1`).
// Entries carry their club; a team carries its first player in the partner id.
struct Auslosungsdaten {
    gruppeninfos infos;
    QStringList tische;
    QVector<Myitem> gesetzte;
    QVector<Myitem> angemeldete;
};

gruppeninfos gruppeninfosladen(Tdb_procedures& db, int kid);
// Reads settings, tables, seeds and entries of class kid. Absent entrants are left out: an absent seed
// closes its gap and the seeds after it move up.
Auslosungsdaten phase1laden(Tdb_procedures& db, int kid);
// A seed-list line as shown: "n. " and the seed's text, or "n." for an empty line.
QString setzlistentext(int index, const Myitem& seed);
// The clubs of the class's present entrants, most entrants first.
QStringList vereineladen(Tdb_procedures& db, int kid, int kind);

// The empty group lists of phase n (`Gruppenphase1`, and the group branch of phase2laden/phase3laden).
QVector<Gruppenliste> gruppenanlegen(const gruppeninfos& infos, int n);
// The participants of phase n (2 or 3) in a new draw: the qualifier labels of phase n-1, as records with
// id -1 (`phase2laden(0)`, `phase3laden(0)`).
QVector<Myitem> qualifikantenlabels(const gruppeninfos& infos, int n);
// The participants of phase n (2 or 3) in a redraw: the entries that stand in the class's matches of that
// phase, first slot before second, each once, in match order, with id and club (`phase2laden(1)`,
// `phase3laden(1)`).
QVector<Myitem> qualifikantenladen(Tdb_procedures& db, int kid, int n);

// The snake order: where the m-th placement (from 0) of a phase with g groups goes.
struct Schlangenplatz {
    int zeile;
    int gruppe; // index within the phase
};
Schlangenplatz schlangenplatz(int m, int g);

// The automatic draws. mode 0 takes the seeds (or winners) in list order, mode 1 in random order. A draw
// fills only free lines; what finds no free line stays in its list.
//
// Phase 1 without club separation: the seeds, then the unseeded entries at random, along the snake. The
// seed list is left with as many empty lines as it had.
void gruppenlosenfest(QVector<Gruppenliste>& gruppen, QVector<Myitem>& gesetzte, QVector<Myitem>& angemeldete,
                      int mode, Random& random);
// Phase 1 with club separation: the seeds along the snake; then line by line, club by club in the order
// of `vereine` (clubs not named there follow in the order met), each club's members in random order into
// the group with the fewest members of that club among those still free on the line, lowest index first.
void gruppenlosenvereinfest(QVector<Gruppenliste>& gruppen, QVector<Myitem>& gesetzte,
                            QVector<Myitem>& angemeldete, const QStringList& vereine, int mode,
                            Random& random);
// A later group phase: mode 0 "nach System", 1 "Zufall". The winners ("S...") along the snake, then the
// others in list order, each exchanged with the last participant of its rank when its group of origin
// already stands in the target group.
void gruppenlosenfest2(QVector<Gruppenliste>& gruppen, QVector<Myitem>& teilnehmer, int mode, Random& random);

// The tables page: "Tische frei verteilen" gives every group every table of the class; "Tische Gruppen
// fest zuordnen" gives each group the tables put on its list.
struct Tischaufteilung {
    enum Modus { frei = 0, fest = 1 };
    int modus = frei;
    QStringList tische;                   // `ListBox5`
    QMap<int, QStringList> gruppentische; // by group index, sorted

    // Tables dropped on a group's list; a table the list already holds is not added twice.
    void zuordnen(int gid, const QStringList& auswahl);
    // A table dragged from a group's list back to the class's tables.
    void entfernen(int gid, const QString& tisch);
    // The tables group gid plays on.
    QStringList tischeVon(int gid) const;
};

// What "Fertig stellen" stores. abPhase 1 is a new draw; 2 or 3 a redraw from that phase, which keeps the
// rows of the phases before it.
struct Gruppenauslosung {
    int kid = 0;
    int abPhase = 1;
    gruppeninfos infos;
    std::array<QVector<Gruppenliste>, 3> gruppen; // by phase
    Tischaufteilung tische;
};

// Replaces the class's groups, standings rows and group tables (all of them in a new draw, those of the
// redrawn phase and later in a redraw) in one transaction: a failure leaves the stored rows as they were.
// Runs inside a caller's transaction as a nested one.
void gruppenspeichern(Tdb_procedures& db, const Gruppenauslosung& auslosung);

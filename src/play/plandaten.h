#pragma once

#include "play/klasseninfo.h"
#include "play/matchrecord.h"
#include "play/planlayout.h"
#include "results/tabellenrow.h"

#include <QString>
#include <QVector>

class Tdb_procedures;

// One row of Gruppen: a drawn place of a group.
struct GruppenRow {
    int GID = 0;
    int pos = 0;
    int SID = -1;
    QString bez;
    int phase = 1;
};

// Everything the plans of one class are drawn from, read with one query per table (never one per match).
struct PlanDaten {
    Klasseninfo info;
    QVector<SpielplanRow> matches;  // by spielnummer
    QVector<GruppenRow> gruppen;    // by GID, pos
    QVector<TabellenRow> tabellen;  // by GID, pos
    QString koSystemPath;           // Files/ko_system.txt beside the program
};

PlanDaten planDatenLaden(Tdb_procedures& db, int kid, const QString& koSystemPath);

// The drawings of one phase (1 … 3). Zoom levels 1 … 3 apply to brackets only.
PlanLayout gruppenplanerstellen(const PlanDaten& d, int phase);
PlanLayout koplanerstellen(const PlanDaten& d, int phase, int zoom);
PlanLayout doppeltes_koplanerstellen(const PlanDaten& d, int phase, int zoom);
// The page of a phase by its system; an empty layout for an absent phase.
PlanLayout phasenplan(const PlanDaten& d, int phase, int zoom);

// --- The placement page ("Plazierungsspiele") ------------------------------------------------------

// An entry of the list `platz`: "Sieger Spiel 7" carries 7, "Zweiter Gruppe B" carries 0.
struct PlatzEintrag {
    QString text;
    int spielnummer = 0;
};

// Row i (1-based) plays for place 2i - 1.
struct PlatzZeile {
    int i = 1;
    QString text;            // "Spiel um 1. Platz"
    int spielnummer = 0;     // the row's match
    QString name1, name2;    // the two drop labels
    int sid1 = -1, sid2 = -1;
    bool gesperrt = false;   // row 1 with a knock-out phase: the final's sides come from the bracket
};

struct PlatzierungsSeite {
    int anzahl = 0;              // number of placings P
    QStringList anzahlItems;     // "0" … "16" (and P when it is not among them)
    QVector<PlatzEintrag> liste;
    QVector<PlatzZeile> zeilen;
    PlanLayout layout;           // texts and status cells of the rows, at the page's coordinates
};

PlatzierungsSeite platzierungsspiele(const PlanDaten& d);

// Changing the number of placings: replaces every placement match of the class in one transaction.
// Does nothing (returns false) when `anzahl` is not one of the offered items.
bool anzahlchange(Tdb_procedures& db, const PlanDaten& d, const QString& anzahl);
// Dropping list entry `eintrag` on side `seite` (1 or 2) of row `zeile`; refused (false) on row 1 with
// a knock-out phase.
bool feldDragDrop(Tdb_procedures& db, const PlanDaten& d, int zeile, int seite, const PlatzEintrag& eintrag);
// Dragging a side back onto the list empties it.
bool platzDragDrop(Tdb_procedures& db, const PlanDaten& d, int zeile, int seite);

// --- The match list window ("Spielplan") --------------------------------------------------------------

// The list of the whole class (gid = -1) or one group, at the window's coordinates; `width` is the
// visible width of the list.
PlanLayout spielplanliste(const PlanDaten& d, int gid, int width);

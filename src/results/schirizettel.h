#pragma once

#include "output/druckauftrag.h"

#include <QString>
#include <QVector>

class Interaction;
class PrintSurface;
class Tdb_procedures;

// The umpire slip ("Schiedsrichterzettel"): a portrait page per match with match number, umpire, table,
// both sides and blank lines for every possible set, the final result and the winner, filled in by hand
// at the table. A team match gets one such page per rubber.
namespace schirizettel {

// What one page shows.
struct Zettel {
    int spielnummer = 0;
    QString schiri;
    QString tisch;            // the table the match (or rubber) was called to
    QString kopf1, kopf2;     // "Spieler 1" / "Spieler 2"; the team names on a rubber's slip
    QString seite1, seite2;   // the players or pairs
    QString verein1, verein2; // clubs of a single or doubles match; empty on a rubber's slip
    bool team = false;
    int gewinnsaetze = 3; // G: the slip has 2G − 1 set lines
};

// Horizontal anchor of a text: the middle of the paper, or the middle of its left or right half.
enum class Anker { Mitte, Links, Rechts };

// One text of a slip, at the page's scale already.
struct Text {
    QString text;
    int hoehe = 0; // font height, tenths of a millimetre
    bool fett = false;
    bool kursiv = false;
    int abstand = 0; // distance of its top below the slip's top, tenths of a millimetre
    Anker anker = Anker::Mitte;
    QString mass; // the text whose printed width centres it on the anchor (usually the text itself)
};

constexpr int kOben = 50; // the slip's top, tenths of a millimetre below the printable area's top

// The scale of every height and distance for paper `breite` tenths of a millimetre wide: 1.5 above
// 200 mm, 1.0 from 170 to 200 mm, 0.75 below 170 mm.
double massstab(double breite);

// The texts of one slip at scale k, top to bottom.
QVector<Text> texte(const Zettel& z, double k);

// The slips on the surface, one page each. The scale comes from the surface's paper width.
void zeichnen(PrintSurface& s, const QVector<Zettel>& zettel);

// The slips of match snr of class kid: one for a single or doubles match, one per rubber (in rubber
// order) for a team match. Empty when the match (or every rubber of it) is missing. Throws DbError.
QVector<Zettel> lesen(Tdb_procedures& db, int kid, int snr);

// "Drucken" of both match dialogs: the slips of match snr to `ziel`. A team-match dialog stores the plan
// of its rubbers first, so the slips show what it shows. Cancelling the print dialog or the file choice
// prints nothing; a failing printer or unreadable match data is reported as "Druckerfehler". True when
// something was printed.
bool drucken(Interaction& ui, Tdb_procedures& db, int kid, int snr, Druckziel ziel = Druckziel::Drucker);

} // namespace schirizettel

#pragma once

#include "play/matchrecord.h"

#include <QString>
#include <QVector>

class Interaction;
class PrintSurface;

// One line of the match list ("Spielplan"), as the window shows it and the printout prints it.
struct SpielplanZeile {
    int spielnummer = 0;
    QString tag;       // planned day as a date, empty when not planned
    QString zeit;      // planned time hh:mm, empty when not planned
    QString spieler1;
    QString spieler2;
    QString gruppe;    // the group letter, empty outside groups
    QString tisch;     // planned table
    QString schiri;
    QString ergebnis;  // the result of a finished match
    QString status;    // "Beendet", "Begonnen", "Aufgerufen", "kein Spiel" or empty
};

// The lines of the whole class (gid -1) or of one group, in match order.
QVector<SpielplanZeile> spielplanzeilen(const QVector<SpielplanRow>& matches, int gid);

namespace spielplandruck {
// Column offsets of the printout in units of z tenths of a millimetre.
constexpr int kNr = 0, kTag = 25, kZeit = 120, kSpieler1 = 200, kSpieler2 = 450, kGruppe = 700, kTisch = 800,
              kSchiri = 950, kErgebnis = 1150, kStatus = 1250;
// z: 2.0 on paper whose printable height is at least 200 mm, 1.35 on smaller paper.
double scaleFor(double printableHeightMm);
} // namespace spielplandruck

// The match list on the surface, landscape pages of tenths of a millimetre: tournament name and title
// centred, column titles, a rule, then the lines, a new page before a line would come within 10 mm of
// the paper's bottom.
void spielplanlisteZeichnen(PrintSurface& s, const QString& turniername, const QString& titel,
                            const QVector<SpielplanZeile>& zeilen);

// "Drucken" of the match list window: the print dialog, then the list in landscape. A failing printer
// is reported as "Druckerfehler". False when nothing was printed.
bool spielplanlisteDrucken(Interaction& interaction, const QString& turniername, const QString& titel,
                           const QVector<SpielplanZeile>& zeilen);

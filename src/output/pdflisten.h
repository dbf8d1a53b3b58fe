#pragma once

#include "output/listen.h"

#include <QPageLayout>
#include <QString>

struct AppState;
class Interaction;
class PrintSurface;
class Tdb_procedures;

// The PDF export of the lists (players, umpires, teams), the match plan and the group tables. Positions
// are in points from the top-left corner of the page's content area, as the PDF writer counts them.
namespace pdflisten {

constexpr int kRand = 32;          // lists: margin on every side
constexpr int kKopfTop = 100;      // lists: top of the header row
constexpr int kListeUnten = 750;   // lists: a row starting below this goes to the next page
constexpr int kPlanRand = 33;      // match plan: margin of the landscape page
constexpr int kPlanBreite = 734;   // match plan: width of the content area
constexpr int kPlanKopfTop = 80;
// The match plan's content area is 530 high: a row is moved to the next page before it would leave it.
constexpr int kPlanUnten = 510;

// Font size (equal to the line height) and column width for n chosen columns.
struct Masse {
    int schrift = 14;
    int spaltenbreite = 100;
};
Masse masse(int spalten);

QPageLayout::Orientation ausrichtung(const listen::Liste& liste);

// Draws the list on a surface already begun in ausrichtung(liste).
void zeichnen(PrintSurface& s, const listen::Liste& liste, const QString& turniername);

// Writes the PDF under a temporary name beside path and renames it at the end. Throws ExportFehler.
void schreiben(const QString& path, const listen::Liste& liste, const QString& turniername,
               Interaction* progress = nullptr);

// "PDF-Export" of data set d: asks for the file in the program's directory and writes it. Returns the
// written path, empty when cancelled or failed (the failure is shown).
QString exportieren(const AppState& state, Tdb_procedures& db, Interaction& interaction, const QString& programDir,
                    const listen::Datensatz& d, const QStringList& captions);

} // namespace pdflisten

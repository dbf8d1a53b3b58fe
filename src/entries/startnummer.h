#pragma once

#include <QList>
#include <QString>

class Tdb_procedures;
class Interaction;
class PrintSurface;

// One line of the start-number list.
struct StartNumberRow {
    int nummer = 0;
    QString name; // "nachname, vorname"
    QString verein;
};

// The smallest positive start number no player of the tournament has (one query).
int nextFreeStartNumber(Tdb_procedures& db, int tid);

// Whether a player of the tournament already has start number n.
bool startNumberInUse(Tdb_procedures& db, int tid, int n);

// The tournament's players that have a start number, by number.
QList<StartNumberRow> startNumberRows(Tdb_procedures& db, int tid);

// Layout of the printed list in tenths of a millimetre, before scaling to the paper.
namespace startnumberprint {
constexpr int kLeft = 30;        // number column
constexpr int kNameOffset = 30;  // name column, right of the number column
constexpr int kClubOffset = 200; // club column, right of the number column
constexpr int kTitleTop = 20;
constexpr int kHeadingTop = 60;
constexpr int kRuleY = 90;
constexpr int kFirstRowTop = 100;
constexpr int kRowStep = 40;
constexpr int kBottomReserve = 20;
constexpr int kHeadingFont = 23;
constexpr int kRowFont = 20;

// Wide paper gets the larger print.
double scaleFor(double pageWidthMm);
} // namespace startnumberprint

// Draws the list "Rückennummern: <tournament>" on a begun surface, breaking onto further pages when a
// page is full; every page carries the title and the headings.
void drawStartNumberList(PrintSurface& surface, const QString& turniername,
                         const QList<StartNumberRow>& rows);

// Reads the list and prints it after the print dialog. Shows "Druckerfehler" when printing fails.
// False when cancelled or failed.
bool printStartNumberList(Tdb_procedures& db, Interaction& interaction, int tid, const QString& turniername);

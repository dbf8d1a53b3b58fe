#pragma once

#include "common/interaction.h"
#include "play/matchrecord.h"
#include "play/planlayout.h"

#include <QColor>
#include <QPageLayout>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

struct PlanDaten;
class PrintSurface;

// The printed plans: group sheets and knock-out brackets. They put the very layout the plan area shows
// onto paper, so screen and paper never disagree. A bracket becomes one large sheet at one of five print
// sizes, cut into as many pages as it needs; group sheets take whole group blocks per page.
namespace plandruck {

// One line of the print-size table, in tenths of a millimetre.
struct Groesse {
    int zeile;   // row pitch: the distance of the two lines of a match
    int schrift; // font height of the names
    int hub;     // how far a name stands above its line
    int runde;   // width of one round
    int oben;    // top margin of the bracket
};
constexpr int kGroessen = 5;
Groesse groesse(int n);       // 0 … 4; other values are taken as the nearest size
constexpr int kLinks = 100;   // left margin of the bracket
constexpr int kKopfOben = 50; // the tournament name stands 5 mm below the top
constexpr int kDruckZoom = 2; // the plan area's layout that the printouts render

// Paper, in tenths of a millimetre from the top-left corner of a sheet or page, y downwards.
struct Text {
    QRect box; // the text never reaches beyond it: what does not fit is shortened with "…"
    QString text;
    int hoehe = 35;
    bool bold = false;
    Qt::Alignment ausrichtung = Qt::AlignLeft;
    // A heading centred over the sheet: rather than being cut between two pages it moves onto the page
    // that holds its middle.
    bool kopf = false;
};
struct Linie {
    QPoint a, b;
    QColor farbe = Qt::black;
};
struct Flaeche {
    QRect box;
    QColor farbe = Qt::black;
};
// A sheet, or one page of it.
struct Blatt {
    QSize size;
    QVector<Text> texte;
    QVector<Linie> linien;
    QVector<Flaeche> flaechen;
};

// The bracket of a single or double knock-out layout at print size `groesse`, with the tournament name
// and the plan's heading above it and the result of every finished match beside its box.
Blatt koBogen(const PlanLayout& layout, const QVector<SpielplanRow>& matches, int groesse,
              const QString& turniername, const QString& titel);

// Where the sheet is cut: page column i shows x[i] … x[i + 1], page row j y[j] … y[j + 1], at most
// `seite` (the printable area). Cuts run between texts; where the texts leave no room for that, a page
// keeps room for its longest text before its end, and a text across the cut is printed whole on the page
// where it starts. No text is ever cut by the paper's edge.
struct Schnitte {
    QVector<int> x, y;
    int quer() const { return int(x.size()) - 1; }
    int hoch() const { return int(y.size()) - 1; }
};
Schnitte schneiden(const Blatt& bogen, QSize seite);
// The pages row by row, each left to right; every page is its piece of the sheet moved to its own corner,
// lines that cross a cut end at the edge and go on at the same place on the neighbour page.
QVector<Blatt> kacheln(const Blatt& bogen, const Schnitte& schnitte);

// An A4 page without printer margins in the given format.
QSize a4(QPageLayout::Orientation format);
// "Größe 0 (1x1) DIN A4 Seiten" … for the five sizes, the pages counted as they will be cut.
QStringList groessenTexte(const PlanLayout& layout, const QVector<SpielplanRow>& matches,
                          QPageLayout::Orientation format, const QString& turniername, const QString& titel);

// Scale of the group sheets for a printable width and places per group, shrunk further when the block
// would not fit the width.
double gruppenFaktor(int druckbreite, int teilnehmer, int layoutbreite);
// Group sheets on portrait pages of the printable size `seite`: the headings on every page, then as many
// whole group blocks as fit.
QVector<Blatt> gruppenSeiten(const PlanLayout& layout, const QVector<SpielplanRow>& matches, int teilnehmer,
                             QSize seite, const QString& turniername, const QString& titel);

// The printable area of a begun surface: the page less its printer offsets on both sides.
QSize druckbereich(const PrintSurface& s);
// Draws the pages, a new page between two.
void zeichnen(PrintSurface& s, const QVector<Blatt>& seiten);

// The pages of phase `phase` for the printable area `seite`; for brackets at print size `groesse`.
QVector<Blatt> seitenDerPhase(const PlanDaten& d, int phase, int groesse, QSize seite,
                              const QString& turniername, const QString& titel);

// "Phase ausdrucken" of the plan area: the print-size dialog (for brackets) and the destination, then the
// printer after its dialog, the preview or a PDF file chosen by the user (offered in `ordner`). A failing
// printer reports "Druckerfehler". False when nothing was printed.
bool drucken(Interaction& interaction, const PlanDaten& d, int phase, const QString& turniername,
             const QString& titel, const QString& ordner);

} // namespace plandruck

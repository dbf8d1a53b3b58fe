#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

// A plan page as plain data: every text, line, filled box, status cell and tool of one drawing, in the
// page's pixels (origin top-left, y downwards). The plan area puts it on a graphics scene, the printed
// plans put the same layout on the printing surface, so screen and paper never disagree.

// A text in a box. What does not fit the box is elided by the renderer, with the whole text as tooltip.
struct PlanText {
    QRect box;
    QString text;
    QString font = QStringLiteral("Arial");
    int size = 8;     // point size on screen
    bool bold = false;
    int sid = -1;     // a positive entry id: pressing the name shows the player card
    QString name;     // the control's name where other code finds it again ("Sieger12"); may be empty
    QColor background = Qt::transparent;
    bool alignRight = false;
    bool centred = false;
};

struct PlanLine {
    QPoint from;
    QPoint to;
    QColor color = Qt::black;
};

struct PlanRect {
    QRect box;
    QColor fill = Qt::black;
};

// The clickable picture of one match. `mirrored` is the second cell of a group match, in the row of
// side 2: it shows the result from side 2's point of view.
struct PlanStatusCell {
    QRect box;
    int spielnummer = 0;
    bool mirrored = false;
    QString name;  // "status" + number, or "statusx" + number for the mirrored cell
};

// The small tool pictures of a page.
enum class PlanToolAction { MatchList, Redraw, Print };
struct PlanTool {
    QRect box;
    PlanToolAction action = PlanToolAction::MatchList;
    QString image;  // file below the program's images folder, e.g. "document_time.bmp"
    QString hint;   // tooltip, e.g. "Gesamtspielplan anzeigen"
    int tag = -1;   // -1 the whole class, else the GID whose match list opens
};

// The grid a bracket is drawn on, so a printout can put the same drawing onto paper at its own scale:
// column width, the pitch between the two lines of a match, the left and top margin, how far a name
// stands above its line and the point size of the names. All zero on pages without such a grid.
struct PlanRaster {
    int spalte = 0;
    int zeile = 0;
    int links = 0;
    int oben = 0;
    int hub = 0;
    int schrift = 0;
};

struct PlanLayout {
    QSize size;  // the drawing picture
    QVector<PlanText> texts;
    QVector<PlanLine> lines;
    QVector<PlanRect> rects;
    QVector<PlanStatusCell> cells;
    QVector<PlanTool> tools;
    // German message when the page cannot be drawn (e.g. a data file lacks the block of its size);
    // the page then shows the message instead of a drawing.
    QString error;
    PlanRaster raster;
    // Parts of the page a printout keeps together on one sheet of paper (the block of a group).
    QVector<QRect> bloecke;

    bool isEmpty() const { return texts.isEmpty() && lines.isEmpty() && cells.isEmpty() && error.isEmpty(); }
};

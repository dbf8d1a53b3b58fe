#pragma once

#include "play/plandaten.h"

#include <QHash>
#include <algorithm>

// Helpers the plan drawings share. Not for other callers: they read PlanDaten as the drawings do.
namespace planbau {

constexpr int kToolSize = 16;

// The three tool pictures of a phase page from x on: match list, redraw, print.
void addPhaseTools(PlanLayout& l, int x);

// A box that ends at `right` and `bottom` at the latest (exclusive), so a long name never reaches into
// the neighbouring cell; the renderer elides what does not fit.
inline QRect clipped(const QRect& box, int right, int bottom) {
    return QRect(box.left(), box.top(), std::max(0, std::min(box.width(), right - box.left())),
                 std::max(0, std::min(box.height(), bottom - box.top())));
}

// A name label: an entry's name (a bye always reads "Freilos") carrying its SID for the player card.
PlanText nameLabel(const QRect& box, const QString& name, int sid, int size);

// A plain text.
PlanText text(const QRect& box, const QString& s, int size = 8);

PlanStatusCell statusCell(const QRect& box, int spielnummer, bool mirrored = false);

// The matches of a class by number.
class Spielindex {
public:
    explicit Spielindex(const QVector<SpielplanRow>& matches);
    const SpielplanRow* find(int spielnummer) const;

private:
    const QVector<SpielplanRow>& matches_;
    QHash<int, int> at_;
};

// The rows of one phase in match-number order (the class's rows come so).
QVector<const SpielplanRow*> phaseMatches(const PlanDaten& d, int phase);

// The matches of the first column of a knock-out phase: neither side comes from an earlier match.
int firstColumnCount(const QVector<const SpielplanRow*>& rows);

// The German message of a class whose settings are missing.
QString fehlendeEinstellungen();

} // namespace planbau

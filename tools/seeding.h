#pragma once

#include <QString>
#include <QVector>

// Seed positions of a knock-out bracket as used in table tennis: seed 1 at the top, seed 2 at the
// bottom, then every block that holds one seed gets the next seed at its opposite end, best against
// worst. So the best 2^k seeds sit in different blocks of size/2^k and meet only in the last k rounds.
namespace seeding {

// Slots (1-based) of seeds 1 .. size/2 in a bracket of `size` entries (a power of two, 2 .. 256).
QVector<int> seedSlots(int size);

// The bracket sizes the seeding table covers.
QVector<int> bracketSizes();

// The rows every new tournament database starts with: the database-wide settings row (schema
// version 3) and the seeding table, as SQL both engines accept.
QString rowsScript();

} // namespace seeding

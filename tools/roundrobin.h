#pragma once

#include <QPair>
#include <QString>
#include <QVector>

// All-play-all schedules for groups of 2 to 13 places, in the order used in table tennis: rounds in
// which nobody plays twice, the two top-placed lines meeting in the last round, and within that no line
// playing two matches in a row wherever the group size allows it.
namespace roundrobin {

using Pairing = QPair<int, int>; // 1-based lines of the group
using Round = QVector<Pairing>;

QVector<Round> rounds(int places);
// The rounds one after another.
QVector<Pairing> schedule(int places);
// How often a line plays two matches in a row in the schedule.
int backToBack(const QVector<Pairing>& schedule);

// The data file: for every size a line "N:" and the schedule line "a-b;c-d;...".
QString systemFile(int from = 2, int to = 13);

} // namespace roundrobin

#pragma once

#include <QString>
#include <QVector>

// Double knock-out plans with their drawing grid, as the draw writes them into the match plan and the
// plan view and printout draw them.
//
// A plan for S entrants (a power of two): a winners' bracket whose first stage takes the draw slots, a
// losers' bracket that every winners'-bracket loser drops into, and one final between the two bracket
// winners. Everybody but the final's loser leaves after the second defeat; 2S - 2 matches.
//
// Matches are numbered in playing order: the first stage, then winners' round k followed by the two
// losers' rounds that its losers make playable, the final last. Every side comes from an earlier match.
//
// The losers of winners' rounds 2 and later drop in crossed over: losers' match i takes the loser of
// winners' match i XOR c. The constants c are searched so that two entrants who met in the winners'
// bracket are kept apart in the losers' bracket until its shape has to bring losers from nested parts of
// the winners' bracket together, and after that can meet again in as few pairs as these crossings allow.
namespace kosystem {

// How a side is filled: from the draw (first stage), or by the winner or loser of a source match.
enum Kind { Draw = -3, Loser = 0, Winner = 1 };

// One line of the data file. A match line has the match number in `match`; a caption line (a text
// "Sieger Spiel n" / "Verlierer Spiel n" on a line of its own) has -1 and its source in source1/kind1.
struct Line {
    int match = -1;
    int source1 = -1;
    int source2 = -1;
    int kind1 = Draw;
    int kind2 = Draw;
    int spare = 0; // field 5, not read
    int columnStart = 0;
    int columnEnd = 0;
    int row1 = 0;
    int row2 = 0;

    bool isCaption() const { return match == -1; }
    bool operator==(const Line&) const = default;
};

struct Plan {
    int size = 0;
    int columns = 0;
    int rows = 0;
    QVector<Line> lines;

    bool operator==(const Plan&) const = default;
};

// The plan for `size` entrants (a power of two, 4 .. 128).
Plan plan(int size);

// The crossing constants c_t of losers' rounds 2t (t = 1 .. n-2 for size 2^n).
QVector<int> dropInCrossing(int size);

// The bracket sizes the data file holds.
QVector<int> sizes();

// The data file: for every size the line "S:", the line "count,columns,rows" and the plan's lines,
// each as ten comma-separated integers.
QString koSystemFile();

} // namespace kosystem

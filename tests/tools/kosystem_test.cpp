#include "draw/datafiles.h"
#include "kosystem.h"
#include "seeding.h"

#include <QBuffer>
#include <QFile>
#include <QMap>
#include <QSet>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <random>

namespace {

using kosystem::Line;
using kosystem::Plan;

// The bracket sizes the shipped file must hold.
const int kSizes[] = {4, 8, 16, 32, 64, 128};

// Reads the plan for `size` with the program's own reader, so the generated file passes every check the
// program makes (the size label, the links of every winner and loser, the single final).
std::optional<Plan> readBlock(const QString& text, int size, QString* error) {
    QBuffer buffer;
    buffer.setData(text.toUtf8());
    datafiles::KoPlanReader reader;
    const std::optional<datafiles::KoPlan> read = reader.read(&buffer, size);
    *error = reader.errorString();
    if (!read) return std::nullopt;
    Plan p;
    p.size = size;
    p.columns = read->columns;
    p.rows = read->rows;
    for (const datafiles::KoPlanLine& l : read->lines) {
        const QVector<int>& f = l.fields;
        p.lines << Line{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9]};
    }
    return p;
}

// What the plan's links say about its matches, worked out from the source fields alone.
struct Bracket {
    int size = 0;
    QMap<int, Line> matches;          // by number
    QMap<QPair<int, int>, int> taker; // (match, kind) -> the match whose side it fills
    QSet<int> winners;                // winners' bracket: the first stage and what its winners alone feed
    QMap<int, int> losersRound;       // losers' bracket match -> round, 1 = only first-stage losers
    int finalMatch = -1;
    int forcedRound = 0; // first losers' round in which former opponents can no longer be kept apart

    explicit Bracket(const Plan& p) : size(p.size) {
        for (const Line& l : p.lines)
            if (!l.isCaption()) matches.insert(l.match, l);
        for (const Line& l : matches) {
            if (l.kind1 == kosystem::Draw) continue;
            taker.insert({l.source1, l.kind1 == kosystem::Winner}, l.match);
            taker.insert({l.source2, l.kind2 == kosystem::Winner}, l.match);
        }
        for (const Line& l : matches)
            if (!taker.contains({l.match, 1})) finalMatch = l.match;
        for (const Line& l : matches) {
            const bool firstStage = l.kind1 == kosystem::Draw;
            const bool fromWinners = l.kind1 == kosystem::Winner && l.kind2 == kosystem::Winner &&
                                     winners.contains(l.source1) && winners.contains(l.source2);
            if (firstStage || fromWinners) winners << l.match;
        }
        for (const Line& l : matches) {
            if (winners.contains(l.match) || l.match == finalMatch) continue;
            losersRound[l.match] = 1 + std::max(losersRound.value(l.source1), losersRound.value(l.source2));
        }
        forcedRound = firstForcedRound();
    }

    bool isFirstStage(int m) const { return matches[m].kind1 == kosystem::Draw; }

    // Every winners'-bracket match stands for the first-stage matches below it. Those trees are nested or
    // apart, so when the matches whose losers can reach one losers' match stand for more than S/2
    // first-stage matches, two of them nest: the winner of the lower one can go on to lose the upper one,
    // and both losers can reach that losers' match. Whatever the drop-in order, former opponents can
    // then meet again in that round (or earlier).
    int firstForcedRound() const {
        QMap<int, int> below; // winners' match -> first-stage matches under it
        QMap<int, int> cover; // losers' match -> first-stage matches under the losers that can reach it
        for (const Line& l : matches) {
            if (winners.contains(l.match))
                below[l.match] = isFirstStage(l.match) ? 1 : below[l.source1] + below[l.source2];
            else if (l.match != finalMatch)
                cover[l.match] = (l.kind1 == kosystem::Winner ? cover[l.source1] : below[l.source1]) +
                                 (l.kind2 == kosystem::Winner ? cover[l.source2] : below[l.source2]);
        }
        int first = 1 << 30;
        for (auto it = cover.begin(); it != cover.end(); ++it)
            if (it.value() > size / 2) first = std::min(first, losersRound[it.key()]);
        return first;
    }

    // The matches a side goes through from `match` on while it keeps winning.
    QVector<int> pathFrom(int match) const {
        QVector<int> path{match};
        while (taker.contains({path.last(), 1}))
            path << taker[{path.last(), 1}];
        return path;
    }
};

class KoPlan : public ::testing::TestWithParam<int> {
protected:
    const int size = GetParam();
    const Plan plan = kosystem::plan(size);
    const Bracket bracket{plan};
};

TEST_P(KoPlan, MatchesTakeTheirSidesFromEarlierMatchesOnly) {
    // Every match gives one defeat; all but the champion and the final's loser leave after two, and of
    // those two one has two defeats and the other none or one; so 2(S-2) + 2 = 2S - 2 matches.
    ASSERT_EQ(bracket.matches.size(), 2 * size - 2);

    QSet<int> seen;
    int expectedNumber = 1;
    for (int i = 0; i < plan.lines.size(); ++i) {
        const Line& l = plan.lines[i];
        if (i < size / 2) {
            ASSERT_FALSE(l.isCaption()) << "first-stage lines come first";
            EXPECT_EQ(l.match, i + 1);
            EXPECT_EQ(l.source1, -1);
            EXPECT_EQ(l.source2, -1);
            EXPECT_EQ(l.kind1, kosystem::Draw);
        } else {
            EXPECT_NE(l.kind1, kosystem::Draw) << "line " << i;
            EXPECT_TRUE(seen.contains(l.source1))
                << "line " << i << " refers to " << l.source1 << " not above it";
            EXPECT_TRUE(l.kind1 == kosystem::Winner || l.kind1 == kosystem::Loser) << "line " << i;
        }
        if (l.isCaption()) continue;
        EXPECT_EQ(l.match, expectedNumber++) << "match numbers run in file order";
        if (i >= size / 2) {
            EXPECT_TRUE(seen.contains(l.source2)) << "match " << l.match << " refers to " << l.source2;
            EXPECT_TRUE(l.kind2 == kosystem::Winner || l.kind2 == kosystem::Loser);
            EXPECT_FALSE(l.source1 == l.source2 && l.kind1 == l.kind2) << "match " << l.match;
        }
        seen << l.match;
    }

    // Every winner moves on exactly once, but the final's; every winners'-bracket loser drops in exactly
    // once; a losers'-bracket loser is out.
    QMap<QPair<int, int>, int> uses;
    for (const Line& l : bracket.matches)
        if (l.kind1 != kosystem::Draw) {
            ++uses[{l.source1, l.kind1}];
            ++uses[{l.source2, l.kind2}];
        }
    for (const Line& l : bracket.matches) {
        const int m = l.match;
        EXPECT_EQ(uses.value({m, kosystem::Winner}), m == bracket.finalMatch ? 0 : 1) << "winner of " << m;
        EXPECT_EQ(uses.value({m, kosystem::Loser}), bracket.winners.contains(m) ? 1 : 0) << "loser of " << m;
    }
    EXPECT_EQ(bracket.finalMatch, 2 * size - 2) << "the final is the last match";
    EXPECT_EQ(bracket.winners.size(), size - 1);
    EXPECT_EQ(bracket.losersRound.size(), size - 2);
    const Line& fin = bracket.matches[bracket.finalMatch];
    EXPECT_EQ(fin.kind1, kosystem::Winner);
    EXPECT_EQ(fin.kind2, kosystem::Winner);
    EXPECT_NE(bracket.winners.contains(fin.source1), bracket.winners.contains(fin.source2))
        << "the final joins the two brackets";
}

// Plays the plan the way the program fills it: first-stage sides from the draw slots (0 = bye), byes
// settled in match order by passing the other side's name on, then every other match in number order,
// each result replacing the placeholders "Sieger Spiel n" / "Verlierer Spiel n" wherever they stand.
class Playthrough {
public:
    struct Meeting {
        int match, a, b;
    };
    QString error;
    QMap<int, int> defeats;
    QVector<Meeting> played;
    int champion = 0, finalLoser = 0;

    Playthrough(const Bracket& b, const QVector<int>& draw, const std::function<bool(int)>& firstWins) {
        const int n = b.matches.size();
        QVector<int> side(2 * (n + 1), 0);
        auto placeholder = [](int match, int kind) {
            return kind == kosystem::Winner ? -(2 * match + 1) : -(2 * match);
        };
        for (const Line& l : b.matches) {
            if (l.kind1 == kosystem::Draw) {
                side[2 * l.match] = draw[2 * l.match - 2];
                side[2 * l.match + 1] = draw[2 * l.match - 1];
            } else {
                side[2 * l.match] = placeholder(l.source1, l.kind1);
                side[2 * l.match + 1] = placeholder(l.source2, l.kind2);
            }
        }
        for (int s : draw)
            if (s > 0) defeats[s] = 0;
        auto replace = [&](int from, int to) {
            for (int& s : side)
                if (s == from) s = to;
        };
        QSet<int> settled;
        for (int m = 1; m <= n; ++m) {
            const int s1 = side[2 * m], s2 = side[2 * m + 1];
            if (s1 != 0 && s2 != 0) continue;
            settled << m;
            replace(placeholder(m, kosystem::Winner), s1 == 0 ? s2 : s1);
            replace(placeholder(m, kosystem::Loser), 0);
        }
        for (int m = 1; m <= n && error.isEmpty(); ++m) {
            if (settled.contains(m)) continue;
            const int s1 = side[2 * m], s2 = side[2 * m + 1];
            if (s1 <= 0 || s2 <= 0)
                error = QStringLiteral("match %1 is not filled when its turn comes").arg(m);
            else if (s1 == s2)
                error = QStringLiteral("entrant %1 plays both sides of match %2").arg(s1).arg(m);
            else if (defeats[s1] >= 2 || defeats[s2] >= 2)
                error = QStringLiteral("match %1: an entrant plays after the second defeat").arg(m);
            if (!error.isEmpty()) break;
            const bool first = firstWins(m);
            const int winner = first ? s1 : s2, loser = first ? s2 : s1;
            ++defeats[loser];
            played << Meeting{m, s1, s2};
            replace(placeholder(m, kosystem::Winner), winner);
            replace(placeholder(m, kosystem::Loser), loser);
            if (m == b.finalMatch) {
                champion = winner;
                finalLoser = loser;
            }
        }
        if (error.isEmpty()) error = checkDefeats();
        if (error.isEmpty()) error = checkRematches(b);
    }

private:
    QString checkDefeats() const {
        if (champion == 0) return QStringLiteral("the final is not played");
        for (auto it = defeats.begin(); it != defeats.end(); ++it) {
            const int e = it.key(), d = it.value();
            if (e == champion && d > 1) return QStringLiteral("the champion has %1 defeats").arg(d);
            if (e == finalLoser && (d < 1 || d > 2))
                return QStringLiteral("the final's loser has %1 defeats").arg(d);
            if (e != champion && e != finalLoser && d != 2)
                return QStringLiteral("entrant %1 leaves with %2 defeats").arg(e).arg(d);
        }
        return {};
    }

    // A pair may meet a second time only in the final or from the first losers' round that cannot keep
    // former opponents apart.
    QString checkRematches(const Bracket& b) const {
        QMap<QPair<int, int>, int> first;
        for (const Meeting& g : played) {
            const QPair<int, int> pair(std::min(g.a, g.b), std::max(g.a, g.b));
            if (!first.contains(pair)) {
                first[pair] = g.match;
                continue;
            }
            if (g.match == b.finalMatch) continue;
            if (b.losersRound.value(g.match) < b.forcedRound)
                return QStringLiteral(
                           "entrants %1 and %2 meet in match %3 and again in match %4 (losers' round %5)")
                    .arg(pair.first)
                    .arg(pair.second)
                    .arg(first[pair])
                    .arg(g.match)
                    .arg(b.losersRound.value(g.match));
        }
        return {};
    }
};

QVector<int> fullDraw(int size) {
    QVector<int> draw;
    for (int s = 1; s <= size; ++s)
        draw << s;
    return draw;
}

TEST_P(KoPlan, EveryEntrantLeavesAfterTheSecondDefeatWhoeverWins) {
    const QVector<int> draw = fullDraw(size);
    const int n = bracket.matches.size();
    std::mt19937 random(20240611u + size);
    // Every outcome for up to 8 entrants (2^14 for 8), a sample for the larger brackets.
    const long long runs = n <= 14 ? (1LL << n) : 3000;
    for (long long r = 0; r < runs; ++r) {
        const quint32 bits = n <= 14 ? quint32(r) : 0;
        std::bernoulli_distribution coin(0.5);
        const Playthrough run(bracket, draw,
                              [&](int m) { return n <= 14 ? ((bits >> (m - 1)) & 1) != 0 : coin(random); });
        ASSERT_TRUE(run.error.isEmpty()) << "run " << r << ": " << run.error.toStdString();
        EXPECT_EQ(run.played.size(), n);
    }
}

TEST_P(KoPlan, ByesRunThroughThePlanAndNobodyIsLeftWaiting) {
    const QVector<int> seeds = seeding::seedSlots(size);
    std::mt19937 random(7u + size);
    std::bernoulli_distribution coin(0.5);
    // From one bye up to the most a bracket of this size gets (just over half the draw filled).
    for (int byes : {1, size / 4, size / 2 - 1}) {
        if (byes < 1) continue;
        QVector<int> draw = fullDraw(size);
        for (int seed = 0; seed < byes; ++seed) {
            const int slot = seeds[seed];
            draw[(slot % 2 ? slot + 1 : slot - 1) - 1] = 0; // the seed's opponent
        }
        for (int r = 0; r < 300; ++r) {
            const Playthrough run(bracket, draw, [&](int) { return coin(random); });
            ASSERT_TRUE(run.error.isEmpty()) << byes << " byes, run " << r << ": " << run.error.toStdString();
        }
    }
}

TEST_P(KoPlan, FormerOpponentsMeetAgainOnlyWhereTheLosersBracketForcesIt) {
    // Every pair of winners'-bracket matches where the winner of the lower one can go on to lose the
    // upper one: both losers go through the losers' bracket and can meet where their paths join.
    const QVector<int> wbMatches(bracket.winners.begin(), bracket.winners.end());
    int earliest = 1 << 30;
    for (int lower : wbMatches) {
        const QVector<int> up = bracket.pathFrom(lower);
        for (int upper : up) {
            if (upper == lower || !bracket.winners.contains(upper)) continue;
            const QVector<int> a = bracket.pathFrom(bracket.taker[{lower, 0}]);
            const QVector<int> b = bracket.pathFrom(bracket.taker[{upper, 0}]);
            const auto join = std::find_if(a.begin(), a.end(), [&](int m) { return b.contains(m); });
            ASSERT_NE(join, a.end());
            ASSERT_TRUE(bracket.losersRound.contains(*join)) << "losers of " << lower << " and " << upper;
            const int round = bracket.losersRound[*join];
            EXPECT_GE(round, bracket.forcedRound)
                << "the losers of " << lower << " and " << upper << " can meet again in match " << *join;
            earliest = std::min(earliest, round);
        }
    }
    // No drop-in order does better: the bound is reached.
    EXPECT_EQ(earliest, bracket.forcedRound);
}

// The drawing: horizontal lines (the two slot lines of a match, a caption's line), each with its name
// written above it on one text line, and a match's connector at its right end.
struct Segment {
    int row, from, to;
    const Line* line;
};

bool overlaps(const Segment& a, const Segment& b) {
    return std::max(a.from, b.from) < std::min(a.to, b.to);
}

bool carriesWinnerOf(const Line& l, int row, int match) {
    if (l.isCaption()) return l.source1 == match && l.kind1 == kosystem::Winner;
    const bool first = row == l.row1;
    return (first ? l.source1 : l.source2) == match && (first ? l.kind1 : l.kind2) == kosystem::Winner;
}

// Whether caption `c` on `row` leads into a slot of `slotLine` on that row with the same source.
bool leadsInto(const Line& c, const Line& slotLine, int row) {
    if (!c.isCaption() || slotLine.isCaption()) return false;
    const bool first = row == slotLine.row1;
    return c.source1 == (first ? slotLine.source1 : slotLine.source2) &&
           c.kind1 == (first ? slotLine.kind1 : slotLine.kind2);
}

TEST_P(KoPlan, DrawingGridHoldsEveryLineWithoutCollisions) {
    QVector<Segment> horizontal;
    for (const Line& l : plan.lines) {
        EXPECT_GE(l.columnStart, 0);
        EXPECT_LT(l.columnStart, l.columnEnd) << "a name needs the columns from start to end";
        EXPECT_LE(l.columnEnd, plan.columns);
        EXPECT_GE(l.row1, 1) << "the name above needs its text line";
        EXPECT_LE(l.row1, plan.rows);
        horizontal << Segment{l.row1, l.columnStart, l.columnEnd, &l};
        if (l.isCaption()) continue;
        EXPECT_LT(l.row1, l.row2) << "match " << l.match;
        EXPECT_LE(l.row2, plan.rows);
        horizontal << Segment{l.row2, l.columnStart, l.columnEnd, &l};
    }

    for (int i = 0; i < horizontal.size(); ++i)
        for (int j = 0; j < horizontal.size(); ++j) {
            const Segment &a = horizontal[i], &b = horizontal[j];
            if (i == j) continue;
            if (a.row == b.row && i < j) {
                EXPECT_FALSE(overlaps(a, b)) << "two lines on row " << a.row;
            }
            if (std::abs(a.row - b.row) == 1 && i < j) {
                EXPECT_FALSE(overlaps(a, b))
                    << "rows " << a.row << " and " << b.row << " leave no room for the lower name";
            }
            // Lines meet end to end only where a caption leads into the slot it names.
            if (a.row == b.row && a.to == b.from) {
                EXPECT_TRUE(leadsInto(*a.line, *b.line, a.row))
                    << "lines meet on row " << a.row << " at column " << a.to;
            }
        }

    for (const Line& m : plan.lines) {
        if (m.isCaption()) continue;
        const int x = m.columnEnd;
        for (const Line& other : plan.lines) {
            if (&other == &m) continue;
            if (!other.isCaption() && other.columnEnd == x) {
                const bool apart = other.row2 < m.row1 || other.row1 > m.row2;
                EXPECT_TRUE(apart) << "connectors of " << m.match << " and " << other.match << " overlap";
            }
        }
        for (const Segment& s : horizontal) {
            if (s.line == &m || s.row < m.row1 || s.row > m.row2) continue;
            EXPECT_FALSE(s.from < x && x < s.to)
                << "a line on row " << s.row << " crosses the connector of " << m.match;
            if (s.to == x)
                ADD_FAILURE() << "a line on row " << s.row << " runs into the connector of " << m.match;
            // A line leaving the connector between its ends carries this match's winner on.
            if (s.from == x) {
                EXPECT_TRUE(s.row > m.row1 && s.row < m.row2 && carriesWinnerOf(*s.line, s.row, m.match))
                    << "line on row " << s.row << " leaves the connector of " << m.match;
            }
        }
    }

    // Every dropped-in loser has its caption, and the final's winner is named right of the final.
    for (const Line& l : bracket.matches)
        for (int row : {l.row1, l.row2}) {
            const bool fromWinners = row == l.row1 ? l.kind1 == kosystem::Loser : l.kind2 == kosystem::Loser;
            if (!fromWinners) continue;
            const bool captioned = std::any_of(horizontal.begin(), horizontal.end(), [&](const Segment& s) {
                return s.row == row && s.to == l.columnStart && leadsInto(*s.line, l, row);
            });
            EXPECT_TRUE(captioned) << "match " << l.match << ", row " << row;
        }
    const Line& fin = bracket.matches[bracket.finalMatch];
    EXPECT_TRUE(std::any_of(plan.lines.begin(), plan.lines.end(), [&](const Line& c) {
        return c.isCaption() && c.source1 == fin.match && c.kind1 == kosystem::Winner &&
               c.columnStart == fin.columnEnd;
    })) << "caption of the champion";

    // Winners' bracket on top, losers' bracket below, the final right of everything.
    int winnersBottom = 0, losersTop = 1 << 30;
    for (const Line& l : bracket.matches) {
        if (bracket.winners.contains(l.match))
            winnersBottom = std::max(winnersBottom, l.row2);
        else if (l.match != fin.match)
            losersTop = std::min(losersTop, l.row1);
        if (l.match != fin.match) {
            EXPECT_LE(l.columnEnd, fin.columnStart) << "match " << l.match;
        }
    }
    EXPECT_LT(winnersBottom, losersTop);
}

INSTANTIATE_TEST_SUITE_P(Sizes, KoPlan, ::testing::ValuesIn(kSizes));

TEST(KoSystemFile, ShippedFileIsTheGeneratorsOutputAndEveryPlanReadsBack) {
    QFile f(QStringLiteral(VELMORA_SOURCE_DIR "/data/Files/ko_system.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_EQ(text, kosystem::koSystemFile())
        << "regenerate with build/tools/gen_ko_system_txt data/Files/ko_system.txt";
    for (int size : kSizes) {
        QString error;
        const std::optional<Plan> read = readBlock(text, size, &error);
        ASSERT_TRUE(read.has_value()) << size << ": " << error.toStdString();
        EXPECT_TRUE(*read == kosystem::plan(size))
            << "the block labelled \"" << size << ":\" is not its plan";
    }
}

} // namespace

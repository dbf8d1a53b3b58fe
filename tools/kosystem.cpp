#include "kosystem.h"

#include <QMap>
#include <QStringList>
#include <algorithm>
#include <functional>

namespace kosystem {

namespace {

int log2Exact(int size) {
    int n = 0;
    while ((1 << n) < size)
        ++n;
    return n;
}

// Losers' rounds are numbered 1 .. 2n-2. Round 1 pairs first-stage losers; an even round 2t takes the
// winners of round 2t-1 (same index) against the losers of winners' round t+1; an odd round 2t+1 pairs
// neighbouring matches of round 2t. An entrant who lost in winners' round j enters at round 1 (j = 1)
// or 2j-2, at a match index that depends on the crossing constants.
struct LosersPath {
    const QVector<int>& crossing; // crossing[t-1] = c_t

    static int entryRound(int level) { return level == 1 ? 1 : 2 * (level - 1); }
    int entryIndex(int level, int match) const {
        if (level == 1) return match >> 1;
        // The winners' final's loser meets the single match of the last round.
        return level - 2 < crossing.size() ? match ^ crossing[level - 2] : match;
    }
    static int next(int round, int index) { return round % 2 ? index : index >> 1; }

    // The losers' round in which the loser of winners' match (j1, x1) and the loser of the later
    // winners' match (j2, x2) can meet.
    int meeting(int j1, int x1, int j2, int x2) const {
        int round = entryRound(j1), a = entryIndex(j1, x1);
        const int start = entryRound(j2);
        while (round < start)
            a = next(round++, a);
        int b = entryIndex(j2, x2);
        while (a != b) {
            a = next(round, a);
            b = next(round, b);
            ++round;
        }
        return round;
    }
};

// Searches the crossing constants. Every pair of winners'-bracket matches where the winner of the lower
// one can go on to lose the upper one gives two losers who can meet again where their losers'-bracket
// paths join. The constants are chosen for the fewest such pairs in the first losers' round, then the
// second, and so on. A pair whose later loser comes from winners' round t+1 joins at round 2t or later,
// so once c_1 .. c_t are fixed the counts of rounds up to 2t+1 are final and a worse start is cut off.
QVector<int> searchCrossing(int n) {
    const int rounds = 2 * n - 2;
    QVector<int> crossing(std::max(n - 2, 0), 0), best;
    QVector<int> bestProfile;
    QVector<int> profile(rounds + 1, 0);

    // Adds (sign +1) or removes (-1) the pairs whose later loser comes from winners' round `level`.
    auto account = [&](int level, int sign) {
        const LosersPath path{crossing};
        for (int x2 = 0; x2 < (1 << (n - level)); ++x2)
            for (int j1 = 1; j1 < level; ++j1)
                for (int x1 = x2 << (level - j1); x1 < (x2 + 1) << (level - j1); ++x1)
                    profile[path.meeting(j1, x1, level, x2)] += sign;
    };
    std::function<void(int)> choose = [&](int t) {
        // Counts of rounds 1 .. 2t+1 are final here (t constants chosen).
        const int settled = std::min(2 * t + 1, rounds);
        if (!bestProfile.isEmpty()) {
            for (int r = 1; r <= settled; ++r) {
                if (profile[r] < bestProfile[r]) break;
                if (profile[r] > bestProfile[r]) return;
            }
        }
        if (t == n - 2) {
            account(n, +1);
            if (bestProfile.isEmpty() || profile < bestProfile) {
                bestProfile = profile;
                best = crossing;
            }
            account(n, -1);
            return;
        }
        for (int c = 0; c < (1 << (n - t - 2)); ++c) {
            crossing[t] = c;
            account(t + 2, +1);
            choose(t + 1);
            account(t + 2, -1);
        }
    };
    choose(0);
    return best;
}

struct Side {
    int game = -1; // internal index of the source match
    Kind kind = Draw;
};

struct Game {
    Side a, b;
    int number = 0;
    int column = 0; // slot lines run from column to column + 1
    int row1 = 0, row2 = 0;
    QVector<Line> captionsBefore;
};

class Builder {
public:
    explicit Builder(int size) : size_(size), n_(log2Exact(size)), crossing_(dropInCrossing(size)) {}

    Plan build() {
        buildBrackets();
        number();
        layoutWinners();
        layoutLosers();
        layoutFinal();
        return result();
    }

private:
    int add(Side a, Side b) {
        Game g;
        g.a = a;
        g.b = b;
        games_.append(g);
        return games_.size() - 1;
    }

    void buildBrackets() {
        winners_.resize(n_ + 1);
        losers_.resize(2 * n_ - 1);
        for (int j = 0; j < size_ / 2; ++j)
            winners_[1] << add({}, {});
        for (int k = 2; k <= n_; ++k)
            for (int j = 0; j < size_ >> k; ++j)
                winners_[k] << add({winners_[k - 1][2 * j], Winner}, {winners_[k - 1][2 * j + 1], Winner});
        for (int i = 0; i < size_ / 4; ++i)
            losers_[1] << add({winners_[1][2 * i], Loser}, {winners_[1][2 * i + 1], Loser});
        for (int t = 1; t <= n_ - 1; ++t) {
            const int c = t <= crossing_.size() ? crossing_[t - 1] : 0;
            for (int i = 0; i < size_ >> (t + 1); ++i)
                losers_[2 * t] << add({losers_[2 * t - 1][i], Winner}, {winners_[t + 1][i ^ c], Loser});
            if (t == n_ - 1) break;
            for (int i = 0; i < size_ >> (t + 2); ++i)
                losers_[2 * t + 1] << add({losers_[2 * t][2 * i], Winner},
                                          {losers_[2 * t][2 * i + 1], Winner});
        }
        final_ = add({winners_[n_][0], Winner}, {losers_[2 * n_ - 2][0], Winner});
    }

    // Playing order: the first stage; winners' round k, then the losers' rounds its losers make
    // playable (2k-3 and 2k-2); the final last.
    void number() {
        int next = 1;
        auto numberRound = [&](const QVector<int>& round) {
            for (int g : round)
                games_[g].number = next++;
        };
        numberRound(winners_[1]);
        for (int k = 2; k <= n_; ++k) {
            numberRound(winners_[k]);
            numberRound(losers_[2 * k - 3]);
            numberRound(losers_[2 * k - 2]);
        }
        games_[final_].number = next;
    }

    // Winners' round k in columns k-1 .. k; the first stage two rows per slot line apart, each later
    // match with its slot lines at the middle rows of the two matches it comes from.
    void layoutWinners() {
        for (int k = 1; k <= n_; ++k)
            for (int j = 0; j < winners_[k].size(); ++j) {
                Game& g = games_[winners_[k][j]];
                g.column = k - 1;
                g.row1 = (j << (k + 1)) + (1 << (k - 1));
                g.row2 = g.row1 + (1 << k);
            }
    }

    static int middle(const Game& g) { return (g.row1 + g.row2) / 2; }

    Line caption(const Side& from, int column, int endColumn, int row) const {
        Line l;
        l.match = -1;
        l.source1 = games_[from.game].number;
        l.kind1 = from.kind;
        l.source2 = -1;
        l.kind2 = Loser;
        l.columnStart = column;
        l.columnEnd = endColumn;
        l.row1 = l.row2 = row;
        return l;
    }

    // Lays out losers' match (round, index) with its top line at row `top` or below; returns the last
    // row it uses. Losers' round r sits in columns r .. r+1. A dropped-in loser gets a row of its own
    // below the lines it joins, led in by the caption "Verlierer Spiel n" one column to the left.
    // Lines that share columns stay two rows apart, so every name has its text line free.
    int placeLosers(int round, int index, int top) {
        Game& g = games_[losers_[round][index]];
        g.column = round;
        g.captionsBefore.clear();
        if (round == 1) {
            g.row1 = top;
            g.row2 = top + 2;
            g.captionsBefore << caption(g.a, 0, 1, g.row1) << caption(g.b, 0, 1, g.row2);
            return g.row2;
        }
        if (round % 2 == 0) {
            const int bottom = placeLosers(round - 1, index, top);
            const int from = middle(games_[losers_[round - 1][index]]);
            int row = bottom + 2;
            if ((row - from) % 2) ++row; // so this match's middle is a whole row
            Game& h = games_[losers_[round][index]];
            h.row1 = from;
            h.row2 = row;
            h.captionsBefore << caption(h.b, round - 1, round, row);
            return row;
        }
        const int upperBottom = placeLosers(round - 1, 2 * index, top);
        const int upper = middle(games_[losers_[round - 1][2 * index]]);
        int lowerTop = upperBottom + 2;
        int lowerBottom = placeLosers(round - 1, 2 * index + 1, lowerTop);
        if ((middle(games_[losers_[round - 1][2 * index + 1]]) - upper) % 2)
            lowerBottom = placeLosers(round - 1, 2 * index + 1, ++lowerTop);
        Game& h = games_[losers_[round][index]];
        h.row1 = upper;
        h.row2 = middle(games_[losers_[round - 1][2 * index + 1]]);
        return lowerBottom;
    }

    // The losers' bracket starts below the winners' bracket (last line at row 2S-1) with a gap, on the
    // row that makes the final's middle a whole row.
    void layoutLosers() {
        const int last = 2 * n_ - 2;
        int top = 2 * size_ + 2;
        rows_ = placeLosers(last, 0, top);
        if ((middle(games_[losers_[last][0]]) - size_) % 2) rows_ = placeLosers(last, 0, ++top);
    }

    // The final right of everything: slot 1 on the middle row of the winners' final, led there by the
    // caption "Sieger Spiel n"; slot 2 straight out of the losers' final; then the winner's caption.
    void layoutFinal() {
        Game& f = games_[final_];
        const Game& wf = games_[winners_[n_][0]];
        const Game& lf = games_[losers_[2 * n_ - 2][0]];
        f.column = 2 * n_ - 1;
        f.row1 = middle(wf);
        f.row2 = middle(lf);
        f.captionsBefore << caption(f.a, wf.column + 1, f.column, f.row1);
        columns_ = f.column + 2;
    }

    Plan result() const {
        QVector<const Game*> order;
        for (const Game& g : games_)
            order << &g;
        std::sort(order.begin(), order.end(),
                  [](const Game* x, const Game* y) { return x->number < y->number; });
        Plan p;
        p.size = size_;
        p.columns = columns_;
        p.rows = rows_;
        for (const Game* g : order) {
            p.lines += g->captionsBefore;
            Line l;
            l.match = g->number;
            l.source1 = g->a.game < 0 ? -1 : games_[g->a.game].number;
            l.source2 = g->b.game < 0 ? -1 : games_[g->b.game].number;
            l.kind1 = g->a.kind;
            l.kind2 = g->b.kind;
            l.columnStart = g->column;
            l.columnEnd = g->column + 1;
            l.row1 = g->row1;
            l.row2 = g->row2;
            p.lines << l;
        }
        const Game& f = games_[final_];
        p.lines << caption({final_, Winner}, f.column + 1, f.column + 2, middle(f));
        return p;
    }

    int size_;
    int n_;
    QVector<int> crossing_;
    QVector<Game> games_;
    QVector<QVector<int>> winners_; // [round 1..n][index]
    QVector<QVector<int>> losers_;  // [round 1..2n-2][index]
    int final_ = -1;
    int columns_ = 0;
    int rows_ = 0;
};

} // namespace

QVector<int> dropInCrossing(int size) {
    static QMap<int, QVector<int>> cache;
    auto it = cache.find(size);
    if (it == cache.end()) it = cache.insert(size, searchCrossing(log2Exact(size)));
    return *it;
}

Plan plan(int size) {
    return Builder(size).build();
}

QVector<int> sizes() {
    return {4, 8, 16, 32, 64, 128};
}

QString koSystemFile() {
    // A size is found by the first line containing "S:", so sizes stand in ascending order ("4:"
    // before "64:") and no other line holds a colon.
    QStringList out;
    for (int size : sizes()) {
        const Plan p = plan(size);
        out << QStringLiteral("%1:").arg(size);
        out << QStringLiteral("%1,%2,%3").arg(p.lines.size()).arg(p.columns).arg(p.rows);
        for (const Line& l : p.lines) {
            const int fields[] = {l.match, l.source1,     l.source2,   l.kind1, l.kind2,
                                  l.spare, l.columnStart, l.columnEnd, l.row1,  l.row2};
            QStringList items;
            for (int f : fields)
                items << QString::number(f);
            out << items.join(u',');
        }
    }
    return out.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

} // namespace kosystem

#include "roundrobin.h"

#include <QStringList>
#include <algorithm>
#include <functional>

namespace roundrobin {

namespace {

bool shares(const Pairing& a, const Pairing& b) {
    return a.first == b.first || a.first == b.second || a.second == b.first || a.second == b.second;
}

// Circle method: line 1 stays, the others rotate; an odd group gets a resting place (0).
QVector<Round> circle(int places) {
    const int n = places % 2 ? places + 1 : places;
    QVector<int> ring;
    for (int i = 2; i <= n; ++i) ring << (i > places ? 0 : i);
    QVector<Round> result;
    for (int r = 0; r < n - 1; ++r) {
        Round round;
        const QVector<int> line = QVector<int>{1} + ring;
        for (int i = 0; i < n / 2; ++i) {
            int a = line[i], b = line[n - 1 - i];
            if (a == 0 || b == 0) continue;
            if (a > b) std::swap(a, b);
            round << Pairing(a, b);
        }
        result << round;
        ring.prepend(ring.takeLast());
    }
    return result;
}

} // namespace

QVector<Round> rounds(int places) {
    if (places < 2) return {};
    QVector<Round> rs = circle(places);
    // The top two lines meet last.
    auto hasTopPair = [](const Round& r) { return r.contains(Pairing(1, 2)); };
    std::stable_partition(rs.begin(), rs.end(), [&](const Round& r) { return !hasTopPair(r); });

    // Order the matches inside each round so that no line plays twice in a row across a round's end,
    // searching the first match of each round against the last of the round before.
    std::function<bool(int, const Pairing*)> arrange = [&](int r, const Pairing* previous) -> bool {
        if (r == rs.size()) return true;
        Round& round = rs[r];
        const int m = round.size();
        QVector<int> order(m);
        for (int i = 0; i < m; ++i) order[i] = i;
        do {
            if (previous && shares(*previous, round[order[0]])) continue;
            Round arranged;
            for (int i : order) arranged << round[i];
            const Round saved = round;
            round = arranged;
            if (arrange(r + 1, &round.last())) return true;
            round = saved;
        } while (std::next_permutation(order.begin(), order.end()) && m <= 6);
        return false;
    };
    if (!arrange(0, nullptr)) {
        // Too small for that (3 to 5 places): keep the circle order.
    }
    return rs;
}

QVector<Pairing> schedule(int places) {
    QVector<Pairing> s;
    for (const Round& r : rounds(places)) s += r;
    return s;
}

int backToBack(const QVector<Pairing>& s) {
    int n = 0;
    for (int i = 1; i < s.size(); ++i)
        if (shares(s[i - 1], s[i])) ++n;
    return n;
}

QString systemFile(int from, int to) {
    // A size is found by the first line containing "N:", so sizes stand in ascending order
    // ("3:" before "13:") and no other line holds a colon.
    QStringList lines;
    for (int n = from; n <= to; ++n) {
        lines << QStringLiteral("%1:").arg(n);
        QStringList items;
        for (const Pairing& p : schedule(n)) items << QStringLiteral("%1-%2").arg(p.first).arg(p.second);
        lines << items.join(u';');
    }
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

} // namespace roundrobin

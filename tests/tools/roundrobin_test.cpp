#include "roundrobin.h"

#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

namespace {

class RoundRobin : public ::testing::TestWithParam<int> {};

TEST_P(RoundRobin, EveryPairMeetsOnceRoundByRound) {
    const int n = GetParam();
    const auto rounds = roundrobin::rounds(n);
    EXPECT_EQ(rounds.size(), n % 2 ? n : n - 1);
    QSet<QPair<int, int>> met;
    for (const auto& round : rounds) {
        QSet<int> busy;
        for (const auto& p : round) {
            EXPECT_LT(p.first, p.second);
            EXPECT_GE(p.first, 1);
            EXPECT_LE(p.second, n);
            EXPECT_FALSE(busy.contains(p.first) || busy.contains(p.second)) << "a line plays twice in one round";
            busy << p.first << p.second;
            EXPECT_FALSE(met.contains(p)) << p.first << "-" << p.second << " twice";
            met << p;
        }
    }
    EXPECT_EQ(met.size(), n * (n - 1) / 2);
    EXPECT_TRUE(rounds.last().contains(qMakePair(1, 2))) << "the top two lines meet in the last round";
}

TEST_P(RoundRobin, NoLinePlaysTwiceInARowWhereTheSizeAllows) {
    const int n = GetParam();
    const int repeats = roundrobin::backToBack(roundrobin::schedule(n));
    // Three or four places leave no choice: every round's end shares a line with the next round.
    const int unavoidable = (n == 3 || n == 4) ? 2 : 0;
    EXPECT_EQ(repeats, unavoidable) << n << " places";
}

INSTANTIATE_TEST_SUITE_P(Sizes, RoundRobin, ::testing::Range(2, 14));

TEST(RoundRobinFile, ShippedFileMatchesTheGeneratorAndEachSizeIsFoundFirst) {
    QFile f(QStringLiteral(VELMORA_SOURCE_DIR "/data/Files/system.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_EQ(text, roundrobin::systemFile()) << "regenerate with build/tools/gen_system_txt data/Files/system.txt";

    // A size's schedule is the line after the first line containing "N:".
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (int n = 2; n <= 13; ++n) {
        int header = -1;
        for (int i = 0; i < lines.size() && header < 0; ++i)
            if (lines[i].contains(QStringLiteral("%1:").arg(n))) header = i;
        ASSERT_GE(header, 0) << n;
        ASSERT_LT(header + 1, lines.size());
        const QStringList items = lines[header + 1].split(u';');
        EXPECT_EQ(items.size(), n * (n - 1) / 2) << n;
        for (const QString& item : items) {
            const QStringList ab = item.split(u'-');
            ASSERT_EQ(ab.size(), 2) << item.toStdString();
            EXPECT_LE(ab[1].toInt(), n);
        }
    }
}

} // namespace

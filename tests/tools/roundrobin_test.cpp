#include "draw/datafiles.h"
#include "roundrobin.h"

#include <QBuffer>
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

TEST(RoundRobinFile, ShippedFileIsTheGeneratorsOutputAndTheProgramReadsEverySize) {
    QFile f(QStringLiteral(VELMORA_SOURCE_DIR "/data/Files/system.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_EQ(QString::fromUtf8(bytes), roundrobin::systemFile())
        << "regenerate with build/tools/gen_system_txt data/Files/system.txt";

    // The program's reader finds each size by its label and checks that every two places meet once.
    for (int n = 2; n <= 13; ++n) {
        QBuffer buffer;
        buffer.setData(bytes);
        datafiles::ScheduleReader reader;
        const auto read = reader.read(&buffer, n);
        ASSERT_TRUE(read.has_value()) << n << ": " << reader.errorString().toStdString();
        QVector<roundrobin::Pairing> pairings;
        for (const datafiles::Pairing& p : read->pairings)
            pairings << qMakePair(p.a, p.b);
        EXPECT_EQ(pairings, roundrobin::schedule(n)) << n;
    }
}

} // namespace

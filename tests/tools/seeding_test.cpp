#include "seeding.h"

#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// The best 2^k seeds must sit in different blocks of size/2^k slots: only then can they meet no
// earlier than in the last k rounds.
void expectSeedsApart(int size, const QVector<int>& slotOfSeed) {
    for (int seeds = 2; seeds <= slotOfSeed.size(); seeds *= 2) {
        const int block = size / seeds;
        QSet<int> blocks;
        for (int s = 0; s < seeds; ++s) blocks.insert((slotOfSeed[s] - 1) / block);
        EXPECT_EQ(blocks.size(), seeds) << "size " << size << ": the best " << seeds << " seeds share a block";
    }
}

} // namespace

TEST(Seeding, EverySizeHasHalfItsSlotsSeededOnDistinctSlots) {
    for (int size : seeding::bracketSizes()) {
        const QVector<int> slots_ = seeding::seedSlots(size);
        ASSERT_EQ(slots_.size(), size / 2) << size;
        QSet<int> distinct;
        for (int p : slots_) {
            EXPECT_GE(p, 1);
            EXPECT_LE(p, size);
            distinct.insert(p);
        }
        EXPECT_EQ(distinct.size(), slots_.size()) << size;
        EXPECT_EQ(slots_[0], 1) << "seed 1 heads the bracket";
        if (size >= 4) {
            EXPECT_EQ(slots_[1], size) << "seed 2 closes the bracket";
        }
        expectSeedsApart(size, slots_);
    }
}

TEST(Seeding, InnerEndsAndQuarterEndsFollowBestAgainstWorst) {
    // Seeds 3 and 4 at the inner ends of the halves, 5 to 8 at the quarter ends, each in the block
    // of the seed it would meet (1-8, 4-5, 3-6, 2-7).
    const QVector<int> s16 = seeding::seedSlots(16);
    EXPECT_EQ(s16, (QVector<int>{1, 16, 9, 8, 5, 12, 13, 4}));
    const QVector<int> s8 = seeding::seedSlots(8);
    EXPECT_EQ(s8, (QVector<int>{1, 8, 5, 4}));
}

TEST(Seeding, NonPowersOfTwoHaveNoTable) {
    for (int size : {0, 1, 3, 6, 12, 100}) EXPECT_TRUE(seeding::seedSlots(size).isEmpty()) << size;
}

TEST(Seeding, CommittedRowsMatchTheGenerator) {
    QFile f(QStringLiteral(VELMORA_SOURCE_DIR "/db/rows.sql"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()), seeding::rowsScript())
        << "db/rows.sql is stale: regenerate it with build/tools/gen_rows db/rows.sql";
}

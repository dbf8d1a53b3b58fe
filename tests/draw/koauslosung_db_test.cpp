#include "draw/koauslosung.h"

#include "common/random.h"
#include "draw/gruppe_fixture.h"
#include "support/testdb.h"

#include <QSet>
#include <algorithm>
#include <numeric>

using namespace gruppedaten;

namespace {

class KoDaten : public DbTest {};

// The shipped table: seed 1 on top, seed 2 at the bottom, every seed on its own first-stage pair.
TEST_P(KoDaten, TheSeedingTableGivesEverySeedItsOwnPair) {
    for (int size = 2; size <= 256; size *= 2) {
        SCOPED_TRACE(size);
        const QVector<int> positions = kosetzplaetze(db(), size);
        ASSERT_EQ(positions.size(), size / 2);
        EXPECT_EQ(positions.first(), 1);
        if (size > 2) {
            EXPECT_EQ(positions[1], size);
        }
        QSet<int> pairs;
        for (int p : positions) {
            EXPECT_GE(p, 1);
            EXPECT_LE(p, size);
            pairs.insert((p - 1) / 2);
        }
        EXPECT_EQ(pairs.size(), positions.size());
    }
    EXPECT_TRUE(kosetzplaetze(db(), 512).isEmpty());
}

// The rows come in seed order, whatever order they were stored in.
TEST_P(KoDaten, SeedsAreReadInSeedOrder) {
    for (const auto& [seed, position] : {std::pair{3, 5}, std::pair{1, 2}, std::pair{2, 6}})
        db().exec(QStringLiteral("INSERT INTO KO_System VALUES (6,:g,:p)"), {{":g", seed}, {":p", position}});
    EXPECT_EQ(kosetzplaetze(db(), 6), (QVector<int>{2, 6, 5}));
}

// Clubs by present players entered in the class, largest first; ties by name.
TEST_P(KoDaten, ClubsCountThePresentPlayersOfTheClass) {
    struct Player {
        int sid;
        const char* club;
        bool present;
        int kid;
    };
    const Player players[] = {
        {1, "TTC Nord", true, 10}, {2, "TTC Nord", true, 10},     {3, "SV Süd", true, 10},
        {4, "SV Süd", true, 10},   {5, "SV Süd", false, 10},      {6, "SV Süd", false, 10},
        {7, "TV Ost", true, 10},   {8, "TV Ost", true, 10},       {9, "TV Ost", true, 10},
        {10, "TV West", true, 11}, {11, "TV West", true, 11},     {12, "TV West", true, 11},
        {13, "TV West", true, 11}, {14, "ohne Verein", true, 10},
    };
    for (const Player& p : players) {
        db().exec(QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname, vorname, verein, angemeldet) "
                                 "VALUES (1,:s,'N','V',:v,:a)"),
                  {{":s", p.sid}, {":v", QString::fromUtf8(p.club)}, {":a", p.present}});
        enter(db(), p.kid, p.sid);
    }
    EXPECT_EQ(kovereine(db(), 10).join(u'|').toStdString(), "TV Ost|SV Süd|TTC Nord|ohne Verein");
    EXPECT_EQ(kovereine(db(), 11).join(u'|').toStdString(), "TV West");
    EXPECT_TRUE(kovereine(db(), 12).isEmpty());
}

// Read from the database and drawn: seeds on the table's slots, everyone placed once.
TEST_P(KoDaten, ADrawFromTheDatabasePutsSeedsOnTheTableSlots) {
    QVector<Myitem> seeds, others;
    const QStringList clubs{"TTC Nord", "SV Süd", "TV Ost"};
    for (int sid = 1; sid <= 12; ++sid) {
        const QString club = clubs[sid % 3];
        db().exec(QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname, vorname, verein, angemeldet) "
                                 "VALUES (1,:s,:n,'V',:v,:a)"),
                  {{":s", sid}, {":n", QStringLiteral("Spieler%1").arg(sid)}, {":v", club}, {":a", true}});
        enter(db(), 10, sid);
        Myitem m;
        m.id = sid;
        m.present = true;
        m.club = club;
        m.text = QStringLiteral("Spieler%1, V").arg(sid);
        if (sid <= 4) {
            m.seedNumber = sid;
            m.text += QStringLiteral(" (%1)").arg(sid);
            seeds << m;
        } else {
            others << m;
        }
    }
    KoPhase1 page = kophase1(others, seeds);
    KoLosdaten d;
    d.setzplaetze = kosetzplaetze(db(), int(page.koslots.size()));
    d.vereine = kovereine(db(), 10);
    Random random(11);
    ASSERT_EQ(kolosenfestverein(page, 0, d, random).status, KoErgebnis::Gelost);
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(page.koslots[d.setzplaetze[n - 1] - 1].id, n) << "seed " << n;
    QVector<int> placed;
    for (const koinfo& k : page.koslots)
        if (!k.bye()) placed << k.id;
    std::sort(placed.begin(), placed.end());
    QVector<int> all(12);
    std::iota(all.begin(), all.end(), 1);
    EXPECT_EQ(placed, all);
    EXPECT_TRUE(kogelost(page));
}

VELMORA_INSTANTIATE_DB_TEST(KoDaten);

} // namespace

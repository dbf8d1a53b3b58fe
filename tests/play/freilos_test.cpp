#include "play/freilos.h"

#include "play/matchrecord.h"
#include "store/db_procedures.h"
#include "support/testdb.h"

#include <string>
#include <vector>

namespace {

constexpr int kKid = 7;

// A side as the match rows show it after settling.
struct Side {
    int sid;
    const char* name;
    int gid;
    int pos;
};

struct FreilosCase {
    const char* label;
    freilos::Modus modus;
    Side side1; // the two sides of match 1, with where they come from
    Side side2;
    int siegerSID;
    int verliererSID;
    // Match 2 waits for the winner (side 1) and the loser (side 2) of match 1, match 3 the other way round.
    Side m2s1, m2s2, m3s1, m3s2;
};

void PrintTo(const FreilosCase& c, std::ostream* os) {
    *os << c.label;
}

const Side kAnna{41, "Alt, Anna", 5, 1};
const Side kBernd{42, "Berg, Bernd", 2, 0};
const Side kBye1{-2, "Freilos", 5, 1}; // a bye on side 1: its origin is side 1's
const Side kBye2{-2, "Freilos", 2, 0};

const FreilosCase kFreilosCases[] = {
    {"mode1_side1Bye", freilos::ErsteSeite, kBye1, kBernd, 42, -2, kBernd, kBye1, kBye1, kBernd},
    {"mode2_side2Bye", freilos::ZweiteSeite, kAnna, kBye2, 41, -2, kAnna, kBye2, kBye2, kAnna},
    // Both byes: a side 1 waiting for the winner or a side 2 waiting for the loser keeps side 1's origin.
    {"mode3_bothByes", freilos::Beide, kBye1, kBye2, -2, -2, kBye1, kBye1, kBye2, kBye2},
};

class FreilosTest : public ::testing::TestWithParam<std::tuple<DbKind, FreilosCase>> {
protected:
    void SetUp() override {
        VELMORA_SKIP_WITHOUT_SERVER(std::get<0>(GetParam()));
        tdb = std::make_unique<TestDatabase>(std::get<0>(GetParam()));
    }
    Tdb_procedures& db() { return tdb->db(); }

    // A match and its two rubbers.
    void add(int snr, const Side& s1, const Side& s2) {
        SpielplanRow m;
        m.KID = kKid;
        m.TID = 1;
        m.spielnummer = snr;
        m.SID1 = s1.sid;
        m.spieler1 = QString::fromUtf8(s1.name);
        m.parentGID1 = s1.gid;
        m.parentpos1 = s1.pos;
        m.SID2 = s2.sid;
        m.spieler2 = QString::fromUtf8(s2.name);
        m.parentGID2 = s2.gid;
        m.parentpos2 = s2.pos;
        matchrecord::insertMatch(db(), m);
        for (int n = 1; n <= 2; ++n)
            matchrecord::insertRubber(db(), rubberOf(m, n));
    }

    std::unique_ptr<TestDatabase> tdb;
};

std::string show(int sid, const QString& name, int gid, int pos) {
    return QStringLiteral("%1 \"%2\" %3/%4").arg(sid).arg(name).arg(gid).arg(pos).toStdString();
}
std::string show(const Side& s) {
    return show(s.sid, QString::fromUtf8(s.name), s.gid, s.pos);
}

const Side kWaitWinner{-1, "Sieger Spiel 1", -1, -1};
const Side kWaitLoser{-1, "Verlierer Spiel 1", -1, -1};
const Side kOther1{-1, "Sieger Spiel 11", -1, -1};
const Side kOther2{-1, "Verlierer Spiel 10", -1, -1};

TEST_P(FreilosTest, SettlesTheMatchAndMovesBothSidesOnInMatchesAndRubbers) {
    const FreilosCase& c = std::get<1>(GetParam());
    add(1, c.side1, c.side2);
    add(2, kWaitWinner, kWaitLoser);
    add(3, kWaitLoser, kWaitWinner);
    add(4, kOther1, kOther2);

    db_freilos(db(), kKid, c.modus, 1, c.side1.sid, c.side2.sid, QString::fromUtf8(c.side1.name),
               QString::fromUtf8(c.side2.name));

    const auto matches = matchrecord::matchesOfClass(db(), kKid);
    ASSERT_EQ(matches.size(), 4);
    EXPECT_EQ(matches[0].siegerSID, c.siegerSID);
    EXPECT_EQ(matches[0].verliererSID, c.verliererSID);
    EXPECT_FALSE(matches[0].beendet) << "a bye match stays open";
    EXPECT_EQ(show(matches[0].SID1, matches[0].spieler1, matches[0].parentGID1, matches[0].parentpos1),
              show(c.side1));

    auto side1 = [](const auto& m, int id) { return show(id, m.spieler1, m.parentGID1, m.parentpos1); };
    auto side2 = [](const auto& m, int id) { return show(id, m.spieler2, m.parentGID2, m.parentpos2); };
    EXPECT_EQ(side1(matches[1], matches[1].SID1), show(c.m2s1));
    EXPECT_EQ(side2(matches[1], matches[1].SID2), show(c.m2s2));
    EXPECT_EQ(side1(matches[2], matches[2].SID1), show(c.m3s1));
    EXPECT_EQ(side2(matches[2], matches[2].SID2), show(c.m3s2));
    EXPECT_EQ(side1(matches[3], matches[3].SID1), show(kOther1)) << "other placeholders stay";
    EXPECT_EQ(side2(matches[3], matches[3].SID2), show(kOther2));

    // The rubbers of a team match follow with the teams' ids.
    const auto rubbers = matchrecord::rubbersOfClass(db(), kKid);
    ASSERT_EQ(rubbers.size(), 8);
    for (const TeamspielRow& r : rubbers) {
        SCOPED_TRACE(QStringLiteral("rubber %1.%2").arg(r.spielnummer).arg(r.nummer).toStdString());
        switch (r.spielnummer) {
        case 1:
            EXPECT_EQ(r.siegerSID, c.siegerSID);
            EXPECT_EQ(r.verliererSID, c.verliererSID);
            break;
        case 2:
            EXPECT_EQ(side1(r, r.MID1), show(c.m2s1));
            EXPECT_EQ(side2(r, r.MID2), show(c.m2s2));
            break;
        case 3:
            EXPECT_EQ(side1(r, r.MID1), show(c.m3s1));
            EXPECT_EQ(side2(r, r.MID2), show(c.m3s2));
            break;
        default:
            EXPECT_EQ(side1(r, r.MID1), show(kOther1));
            EXPECT_EQ(side2(r, r.MID2), show(kOther2));
        }
        EXPECT_EQ(r.SID1, -1) << "the rubber's players are chosen later";
    }
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<DbKind, FreilosCase>>& info) {
    return std::string(std::get<0>(info.param) == DbKind::File ? "File_" : "Server_") +
           std::get<1>(info.param).label;
}

INSTANTIATE_TEST_SUITE_P(Modes, FreilosTest,
                         ::testing::Combine(::testing::ValuesIn(testBackends()),
                                            ::testing::ValuesIn(kFreilosCases)),
                         caseName);

// Settling a whole plan in memory changes every match and rubber exactly as settling each match on the
// stored rows, in increasing number, does: brackets whose byes meet byes and run on, a bye's winner that is
// itself still a placeholder, and rubbers whose names differ from their match's (a line-up written).
struct PlanCase {
    const char* id;
    const char* layout; // first-stage slots of a single knock-out: a letter an entry, '.' a bye
};

const PlanCase kPlanCases[] = {
    {"no byes", "ABCDEFGH"},
    {"one bye", "AB.CDEFG"},
    {"byes meet byes", "A.......BC..D.EF"},
    {"all byes but one", "........A......."},
};

class SettleAllTest : public ::testing::TestWithParam<DbKind> {
protected:
    void SetUp() override {
        VELMORA_SKIP_WITHOUT_SERVER(GetParam());
        tdb = std::make_unique<TestDatabase>(GetParam());
    }
    Tdb_procedures& db() { return tdb->db(); }
    std::unique_ptr<TestDatabase> tdb;
};

freilos::Seiten seitenOf(int snr, int nummer, int sid1, const QString& n1, int g1, int p1, int sid2,
                         const QString& n2, int g2, int p2, int sieger, int verlierer) {
    return {snr, nummer, {{sid1, n1, g1, p1}, {sid2, n2, g2, p2}}, sieger, verlierer};
}

TEST_P(SettleAllTest, InMemoryEqualsSettlingTheStoredRowsOneByOne) {
    int kid = 20;
    for (const PlanCase& c : kPlanCases) {
        SCOPED_TRACE(c.id);
        ++kid;
        const int width = int(qstrlen(c.layout));
        // A single knock-out: the first stage from the layout, each later match from two winners.
        QVector<SpielplanRow> plan;
        for (int j = 0; j < width / 2; ++j) {
            SpielplanRow m;
            m.KID = kid;
            m.TID = 1;
            m.spielnummer = j + 1;
            const char a = c.layout[2 * j], b = c.layout[2 * j + 1];
            m.SID1 = a == '.' ? -2 : 100 + a;
            m.spieler1 = a == '.' ? QStringLiteral("Freilos") : QString(QLatin1Char(a));
            m.parentGID1 = j;
            m.parentpos1 = 0;
            m.SID2 = b == '.' ? -2 : 100 + b;
            m.spieler2 = b == '.' ? QStringLiteral("Freilos") : QString(QLatin1Char(b));
            m.parentGID2 = j;
            m.parentpos2 = 1;
            plan << m;
        }
        int nr = width / 2 + 1;
        for (int stage = width / 2; stage > 1; stage /= 2)
            for (int j = 0; j < stage / 2; ++j, ++nr) {
                SpielplanRow m;
                m.KID = kid;
                m.TID = 1;
                m.spielnummer = nr;
                m.spieler1 = freilos::siegerVon(nr - stage + j);
                m.spieler2 = freilos::siegerVon(nr - stage + j + 1);
                plan << m;
            }
        QVector<freilos::Seiten> matches, rubbers;
        for (const SpielplanRow& m : plan) {
            matchrecord::insertMatch(db(), m);
            matches << seitenOf(m.spielnummer, 0, m.SID1, m.spieler1, m.parentGID1, m.parentpos1, m.SID2,
                                m.spieler2, m.parentGID2, m.parentpos2, -1, -1);
            for (int n = 1; n <= 2; ++n) {
                TeamspielRow r = rubberOf(m, n);
                // The second rubber of each match carries a player's name on side 1.
                if (n == 2) r.spieler1 = QStringLiteral("Spieler von ") + m.spieler1;
                matchrecord::insertRubber(db(), r);
                rubbers << seitenOf(r.spielnummer, n, r.MID1, r.spieler1, r.parentGID1, r.parentpos1, r.MID2,
                                    r.spieler2, r.parentGID2, r.parentpos2, -1, -1);
            }
        }

        for (int snr = 1; snr < nr; ++snr) {
            const auto m = matchrecord::readMatch(db(), kid, snr);
            ASSERT_TRUE(m.has_value());
            const freilos::Modus modus = freilos::modusOf(m->SID1, m->SID2);
            if (modus != freilos::KeinFreilos)
                db_freilos(db(), kid, modus, snr, m->SID1, m->SID2, m->spieler1, m->spieler2);
        }
        freilos::settleAll(matches, rubbers);

        QVector<freilos::Seiten> stored, storedRubbers;
        for (const SpielplanRow& m : matchrecord::matchesOfClass(db(), kid))
            stored << seitenOf(m.spielnummer, 0, m.SID1, m.spieler1, m.parentGID1, m.parentpos1, m.SID2, m.spieler2,
                               m.parentGID2, m.parentpos2, m.siegerSID, m.verliererSID);
        for (const TeamspielRow& r : matchrecord::rubbersOfClass(db(), kid))
            storedRubbers << seitenOf(r.spielnummer, r.nummer, r.MID1, r.spieler1, r.parentGID1, r.parentpos1,
                                      r.MID2, r.spieler2, r.parentGID2, r.parentpos2, r.siegerSID,
                                      r.verliererSID);
        ASSERT_EQ(stored.size(), matches.size());
        for (int i = 0; i < stored.size(); ++i)
            EXPECT_TRUE(stored[i] == matches[i]) << "match " << stored[i].snr;
        ASSERT_EQ(storedRubbers.size(), rubbers.size());
        for (int i = 0; i < rubbers.size(); ++i)
            EXPECT_TRUE(storedRubbers[i] == rubbers[i])
                << "rubber " << rubbers[i].snr << "." << rubbers[i].nummer;
    }
}

VELMORA_INSTANTIATE_DB_TEST(SettleAllTest);

// The mode follows from the side values alone.
TEST(FreilosModus, FollowsTheByeSides) {
    const struct {
        int sid1, sid2;
        freilos::Modus expected;
    } cases[] = {
        {-2, 5, freilos::ErsteSeite},   {-2, -1, freilos::ErsteSeite}, {5, -2, freilos::ZweiteSeite},
        {-1, -2, freilos::ZweiteSeite}, {-2, -2, freilos::Beide},      {5, 6, freilos::KeinFreilos},
        {-1, -1, freilos::KeinFreilos},
    };
    for (const auto& c : cases)
        EXPECT_EQ(freilos::modusOf(c.sid1, c.sid2), c.expected) << c.sid1 << " / " << c.sid2;
}

} // namespace

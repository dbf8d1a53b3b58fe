#include "draw/fertigstellen.h"

#include "draw/datafiles.h"
#include "play/matchrecord.h"
#include "store/db_procedures.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <QFile>
#include <QMap>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kKid = 3;
constexpr int kTid = 1;

QString shippedFile(const char* name) {
    return QStringLiteral(VELMORA_SOURCE_DIR "/data/Files/") + QString::fromLatin1(name);
}

Datendateien shippedFiles() {
    return {shippedFile("system.txt"), shippedFile("ko_system.txt")};
}

std::string str(const QString& s) {
    return s.toStdString();
}

QString textOf(int sid) {
    return QStringLiteral("Spieler %1").arg(sid);
}

PlanSlot entry(int sid) {
    return {sid, textOf(sid)};
}

PlanSlot label(const QString& text, int gid, int pos) {
    return {-1, text, gid, pos};
}

// A group phase of entries: `groups` groups of `places` lines, filled with the ids from firstSid on.
PhasePlan entryGroups(int groups, int places, int firstSid = 101) {
    PhasePlan p;
    p.system = PhasePlan::Gruppenphase;
    int sid = firstSid;
    for (int g = 0; g < groups; ++g) {
        QVector<PlanSlot> lines;
        for (int l = 0; l < places; ++l)
            lines << entry(sid++);
        p.groups << lines;
    }
    return p;
}

// A later group phase of qualifier labels; label k comes from group k of the phase before, place 0.
PhasePlan labelGroups(int firstGid, int groups, int places) {
    PhasePlan p;
    p.system = PhasePlan::Gruppenphase;
    p.firstGid = firstGid;
    int k = 0;
    for (int g = 0; g < groups; ++g) {
        QVector<PlanSlot> lines;
        for (int l = 0; l < places; ++l, ++k)
            lines << label(QStringLiteral("Q%1").arg(k), k, 0);
        p.groups << lines;
    }
    return p;
}

PhasePlan bracket(int system, const QVector<PlanSlot>& layout) {
    PhasePlan p;
    p.system = system;
    p.bracket = layout;
    return p;
}

QVector<PlanSlot> entrySlots(int count, int firstSid = 101) {
    QVector<PlanSlot> out;
    for (int i = 0; i < count; ++i)
        out << entry(firstSid + i);
    return out;
}

QVector<PlanSlot> labelSlots(int count) {
    QVector<PlanSlot> out;
    for (int i = 0; i < count; ++i)
        out << label(QStringLiteral("Q%1").arg(i), i, 0);
    return out;
}

DrawPlan newDraw(const PhasePlan& p1, const PhasePlan& p2 = {}, const PhasePlan& p3 = {}, int kind = 0) {
    DrawPlan d;
    d.kid = kKid;
    d.tid = kTid;
    d.kind = kind;
    d.phases = {p1, p2, p3};
    return d;
}

datafiles::KoPlan shippedKoPlan(int size) {
    datafiles::KoPlanReader reader;
    const auto plan = reader.read(shippedFile("ko_system.txt"), size);
    EXPECT_TRUE(plan.has_value()) << str(reader.errorString());
    return plan.value_or(datafiles::KoPlan{});
}

struct SideView {
    int sid;
    QString name;
    int gid;
    int pos;
    bool operator==(const SideView&) const = default;
};
void PrintTo(const SideView& s, std::ostream* os) {
    *os << s.sid << " \"" << str(s.name) << "\" " << s.gid << "/" << s.pos;
}
SideView side1(const SpielplanRow& m) {
    return {m.SID1, m.spieler1, m.parentGID1, m.parentpos1};
}
SideView side2(const SpielplanRow& m) {
    return {m.SID2, m.spieler2, m.parentGID2, m.parentpos2};
}
SideView side(const SpielplanRow& m, int s) {
    return s == 1 ? side1(m) : side2(m);
}

class FertigstellenTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(files.isValid());
    }

    Fertigstellen::Ergebnis run(const DrawPlan& plan, const std::function<void()>& store = {}) {
        return run(plan, shippedFiles(), store);
    }
    Fertigstellen::Ergebnis run(const DrawPlan& plan, const Datendateien& dateien,
                                const std::function<void()>& store = {}) {
        Fertigstellen f(db(), interaction, dateien);
        return f.fertigstellen(plan, store);
    }

    QVector<SpielplanRow> matches() { return matchrecord::matchesOfClass(db(), kKid); }

    // A data file of our own in the test's folder.
    QString writeFile(const QString& name, const QByteArray& content) {
        const QString path = files.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        return path;
    }

    // A row in Gruppen, as the group store would write it, so a test sees whether the store's work stays.
    void storeGroupRow(int gid, const QString& bez) {
        db().exec(QStringLiteral("INSERT INTO Gruppen VALUES (:k,:g,0,-1,:b,-1,-1,:f,0,1)"),
                  {{":k", kKid}, {":g", gid}, {":b", bez}, {":f", false}});
    }
    QStringList groupRows() {
        QStringList out;
        for (const Row& r :
             db().select(QStringLiteral("SELECT bez FROM Gruppen WHERE KID=:k ORDER BY GID"), {{":k", kKid}}))
            out << r.text(u"bez");
        return out;
    }

    ScriptedInteraction interaction;
    QTemporaryDir files;
};

// --- Numbering -----------------------------------------------------------------------------------------

struct PhaseShape {
    int system;
    int groups; // group phase
    int places; // group phase: lines per group; knock-out: slots
};

struct NumberingCase {
    const char* name;
    std::vector<PhaseShape> phases;
    std::vector<std::pair<int, int>> numbers; // first and last match number of each phase
};

const NumberingCase kNumberingCases[] = {
    {"groups3x3_then_ko4", {{0, 3, 3}, {1, 0, 4}}, {{1, 9}, {10, 12}}},
    {"groups2x4_groups2x3_ko2", {{0, 2, 4}, {0, 2, 3}, {1, 0, 2}}, {{1, 12}, {13, 18}, {19, 19}}},
    {"doubleKo8_then_ko4", {{2, 0, 8}, {1, 0, 4}}, {{1, 14}, {15, 17}}},
    {"ko8_then_doubleKo4", {{1, 0, 8}, {2, 0, 4}}, {{1, 7}, {8, 13}}},
    {"ko5_then_groups1x4", {{1, 0, 5}, {0, 1, 4}}, {{1, 7}, {8, 13}}},
};

// Phases are numbered one after the other without gaps; a knock-out match only waits for matches of its
// own phase that come before it.
TEST_P(FertigstellenTest, NumbersThePhasesOneAfterTheOther) {
    for (const NumberingCase& c : kNumberingCases) {
        SCOPED_TRACE(c.name);
        DrawPlan plan = newDraw({});
        int gid = 0;
        for (size_t n = 0; n < c.phases.size(); ++n) {
            const PhaseShape& s = c.phases[n];
            PhasePlan p;
            if (s.system == PhasePlan::Gruppenphase)
                p = n == 0 ? entryGroups(s.groups, s.places) : labelGroups(gid, s.groups, s.places);
            else
                p = bracket(s.system, n == 0 ? entrySlots(s.places) : labelSlots(s.places));
            p.firstGid = gid;
            gid += s.groups;
            plan.phases[n] = p;
        }
        ASSERT_TRUE(run(plan).geschrieben);

        const auto rows = matches();
        ASSERT_EQ(rows.size(), c.numbers.back().second);
        for (int i = 0; i < rows.size(); ++i) {
            const SpielplanRow& m = rows[i];
            ASSERT_EQ(m.spielnummer, i + 1);
            ASSERT_GE(m.phase, 1);
            const auto [first, last] = c.numbers[m.phase - 1];
            EXPECT_GE(m.spielnummer, first) << "phase " << m.phase;
            EXPECT_LE(m.spielnummer, last) << "phase " << m.phase;
            for (int from : {m.parentspiel1, m.parentspiel2})
                if (from != -1) {
                    EXPECT_GE(from, first) << "match " << m.spielnummer;
                    EXPECT_LT(from, m.spielnummer) << "match " << m.spielnummer;
                }
            EXPECT_EQ(m.platz, -1);
            EXPECT_EQ(m.TID, kTid);
            EXPECT_EQ(m.ergebnis, QStringLiteral("0:0"));
        }
    }
}

// Three groups of three, then a single knock-out of four slots fed by labels.
TEST_P(FertigstellenTest, KnockOutAfterThreeGroupsOfThreeStartsAtTen) {
    PhasePlan groups = entryGroups(3, 3);
    PhasePlan ko =
        bracket(PhasePlan::EinfachesKO, {label(QStringLiteral("Sieger Gruppe A"), 0, 0),
                                         label(QStringLiteral("Sieger Gruppe C"), 2, 0),
                                         label(QStringLiteral("Sieger Gruppe B"), 1, 0),
                                         label(QStringLiteral("1. Bestplatzierter 2. Platz"), -3, 0)});
    ko.firstGid = 3;
    const auto result = run(newDraw(groups, ko));
    EXPECT_TRUE(result.geschrieben);
    EXPECT_TRUE(result.planleiste);
    EXPECT_FALSE(result.planAnzeigen);

    const auto rows = matches();
    ASSERT_EQ(rows.size(), 12);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(rows[i].phase, 1);
        EXPECT_EQ(rows[i].gruppe, i % 3) << "every pairing in all groups before the next";
    }
    const struct {
        int nr;
        SideView s1, s2;
        int from1, from2;
    } expected[] = {
        {10, {-1, "Sieger Gruppe A", 0, 0}, {-1, "Sieger Gruppe C", 2, 0}, -1, -1},
        {11, {-1, "Sieger Gruppe B", 1, 0}, {-1, "1. Bestplatzierter 2. Platz", -3, 0}, -1, -1},
        {12, {-1, "Sieger Spiel 10", -1, -1}, {-1, "Sieger Spiel 11", -1, -1}, 10, 11},
    };
    for (const auto& e : expected) {
        const SpielplanRow& m = rows[e.nr - 1];
        SCOPED_TRACE(e.nr);
        EXPECT_EQ(m.spielnummer, e.nr);
        EXPECT_EQ(side1(m), e.s1);
        EXPECT_EQ(side2(m), e.s2);
        EXPECT_EQ(m.parentspiel1, e.from1);
        EXPECT_EQ(m.parentspiel2, e.from2);
        EXPECT_TRUE(m.parentsieger1);
        EXPECT_TRUE(m.parentsieger2);
        EXPECT_EQ(m.phase, 2);
        EXPECT_EQ(m.gruppe, -1);
    }
}

// --- Group phases -----------------------------------------------------------------------------------------

// Two groups of three with the schedule 1-2;1-3;2-3: each pairing in group A, then in group B.
TEST_P(FertigstellenTest, PlaysEachPairingInAllGroupsBeforeTheNext) {
    const QString system = writeFile(QStringLiteral("system.txt"), "2:\n1-2\n3:\n1-2;1-3;2-3\n");
    ASSERT_TRUE(run(newDraw(entryGroups(2, 3)), {system, shippedFile("ko_system.txt")}).geschrieben);

    const struct {
        int gruppe, sid1, sid2;
    } expected[] = {{0, 101, 102}, {1, 104, 105}, {0, 101, 103}, {1, 104, 106}, {0, 102, 103}, {1, 105, 106}};
    const auto rows = matches();
    ASSERT_EQ(rows.size(), 6);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i + 1);
        const SpielplanRow& m = rows[i];
        EXPECT_EQ(m.spielnummer, i + 1);
        EXPECT_EQ(m.gruppe, expected[i].gruppe);
        EXPECT_EQ(side1(m), (SideView{expected[i].sid1, textOf(expected[i].sid1), -1, -1}));
        EXPECT_EQ(side2(m), (SideView{expected[i].sid2, textOf(expected[i].sid2), -1, -1}));
        EXPECT_EQ(m.parentspiel1, -1);
        EXPECT_EQ(m.parentspiel2, -1);
        EXPECT_FALSE(m.parentsieger1);
        EXPECT_FALSE(m.parentsieger2);
        EXPECT_EQ(m.phase, 1);
        EXPECT_EQ(m.siegerSID, -1);
        EXPECT_FALSE(m.beendet);
    }
}

// An empty line still plays its matches: that side is -1 with empty text. Every two lines meet once.
TEST_P(FertigstellenTest, GroupWithAnEmptyLineKeepsItsMatches) {
    PhasePlan p = entryGroups(1, 4);
    p.groups[0][2] = PlanSlot{};
    ASSERT_TRUE(run(newDraw(p)).geschrieben);

    const auto rows = matches();
    ASSERT_EQ(rows.size(), 6);
    QMap<int, int> played; // matches per entry
    int withEmpty = 0;
    for (const SpielplanRow& m : rows) {
        for (const SideView& s : {side1(m), side2(m)}) {
            if (s.sid == -1) {
                EXPECT_EQ(s.name, QString());
                ++withEmpty;
            } else {
                EXPECT_EQ(s.name, textOf(s.sid));
                ++played[s.sid];
            }
        }
        EXPECT_NE(m.SID1, m.SID2);
    }
    EXPECT_EQ(withEmpty, 3);
    EXPECT_EQ(played, (QMap<int, int>{{101, 3}, {102, 3}, {104, 3}}));
}

// --- Knock-out links ---------------------------------------------------------------------------------------

TEST_P(FertigstellenTest, SingleKnockOutTakesTheWinnersStageByStage) {
    ASSERT_TRUE(run(newDraw(bracket(PhasePlan::EinfachesKO, entrySlots(8)))).geschrieben);
    const auto rows = matches();
    ASSERT_EQ(rows.size(), 7);
    for (int j = 0; j < 4; ++j) {
        const SpielplanRow& m = rows[j];
        EXPECT_EQ(side1(m), (SideView{101 + 2 * j, textOf(101 + 2 * j), -1, -1}));
        EXPECT_EQ(side2(m), (SideView{102 + 2 * j, textOf(102 + 2 * j), -1, -1}));
        EXPECT_EQ(m.parentspiel1, -1);
        EXPECT_FALSE(m.parentsieger1);
    }
    const struct { int nr, from1, from2; } later[] = {{5, 1, 2}, {6, 3, 4}, {7, 5, 6}};
    for (const auto& e : later) {
        const SpielplanRow& m = rows[e.nr - 1];
        SCOPED_TRACE(e.nr);
        EXPECT_EQ(side1(m), (SideView{-1, QStringLiteral("Sieger Spiel %1").arg(e.from1), -1, -1}));
        EXPECT_EQ(side2(m), (SideView{-1, QStringLiteral("Sieger Spiel %1").arg(e.from2), -1, -1}));
        EXPECT_EQ(m.parentspiel1, e.from1);
        EXPECT_EQ(m.parentspiel2, e.from2);
        EXPECT_TRUE(m.parentsieger1);
        EXPECT_TRUE(m.parentsieger2);
        EXPECT_EQ(m.gruppe, -1);
    }
}

// The double knock-out follows the plan of the data file, its numbers shifted behind the phases before.
TEST_P(FertigstellenTest, DoubleKnockOutFollowsThePlanOfTheDataFile) {
    const datafiles::KoPlan plan = shippedKoPlan(8);
    ASSERT_EQ(plan.size, 8);
    const struct {
        const char* name;
        int phase;
        int offset;
    } cases[] = {{"phase1", 1, 0}, {"phase2_after_three_groups_of_three", 2, 9}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DrawPlan draw =
            c.phase == 1 ? newDraw(bracket(PhasePlan::DoppeltesKO, entrySlots(8)))
                         : newDraw(entryGroups(3, 3), bracket(PhasePlan::DoppeltesKO, labelSlots(8)));
        ASSERT_TRUE(run(draw).geschrieben);
        const auto rows = matches();
        ASSERT_EQ(rows.size(), c.offset + plan.matchCount());

        QMap<QString, int> waiting; // how often each placeholder is named
        for (const datafiles::KoPlanLine& line : plan.lines) {
            if (line.isCaption()) continue;
            const SpielplanRow& m = rows[c.offset + line.match() - 1];
            SCOPED_TRACE(m.spielnummer);
            EXPECT_EQ(m.spielnummer, c.offset + line.match());
            EXPECT_EQ(m.phase, c.phase);
            EXPECT_EQ(m.gruppe, -1);
            if (line.isFirstStage()) {
                const int slot = 2 * line.match() - 2;
                const PlanSlot s1 = draw.phase(c.phase).bracket[slot],
                               s2 = draw.phase(c.phase).bracket[slot + 1];
                EXPECT_EQ(side1(m), (SideView{s1.id, s1.text, s1.parentGID, s1.parentpos}));
                EXPECT_EQ(side2(m), (SideView{s2.id, s2.text, s2.parentGID, s2.parentpos}));
                EXPECT_EQ(m.parentspiel1, -1);
                EXPECT_EQ(m.parentspiel2, -1);
                EXPECT_EQ(m.parentsieger1, c.phase > 1);
                EXPECT_EQ(m.parentsieger2, c.phase > 1);
                continue;
            }
            const int from1 = line.source1() + c.offset, from2 = line.source2() + c.offset;
            const QString w1 =
                line.takesWinner1() ? QStringLiteral("Sieger Spiel ") : QStringLiteral("Verlierer Spiel ");
            const QString w2 =
                line.takesWinner2() ? QStringLiteral("Sieger Spiel ") : QStringLiteral("Verlierer Spiel ");
            EXPECT_EQ(side1(m), (SideView{-1, w1 + QString::number(from1), -1, -1}));
            EXPECT_EQ(side2(m), (SideView{-1, w2 + QString::number(from2), -1, -1}));
            EXPECT_EQ(m.parentspiel1, from1);
            EXPECT_EQ(m.parentspiel2, from2);
            EXPECT_EQ(m.parentsieger1, line.takesWinner1());
            EXPECT_EQ(m.parentsieger2, line.takesWinner2());
            ++waiting[m.spieler1];
            ++waiting[m.spieler2];
        }
        // Every match but the final sends its winner on exactly once; a first-stage loser gets a second
        // chance exactly once; nobody is sent anywhere twice.
        const int last = c.offset + plan.matchCount();
        for (int nr = c.offset + 1; nr < last; ++nr)
            EXPECT_EQ(waiting.value(QStringLiteral("Sieger Spiel %1").arg(nr)), 1) << nr;
        for (int nr = c.offset + 1; nr <= c.offset + 4; ++nr)
            EXPECT_EQ(waiting.value(QStringLiteral("Verlierer Spiel %1").arg(nr)), 1) << nr;
        for (auto it = waiting.cbegin(); it != waiting.cend(); ++it)
            EXPECT_EQ(it.value(), 1) << str(it.key());
    }
}

// --- Byes --------------------------------------------------------------------------------------------------

// Five entries in a bracket of eight: the three empty slots are byes, settled at once.
TEST_P(FertigstellenTest, FiveEntriesGetThreeByesSettled) {
    const QVector<PlanSlot> layout{entry(101), entry(105), entry(102), PlanSlot{},
                                   entry(103), PlanSlot{}, entry(104), PlanSlot{}};
    ASSERT_TRUE(run(newDraw(bracket(PhasePlan::EinfachesKO, layout))).geschrieben);
    const auto rows = matches();
    ASSERT_EQ(rows.size(), 7);
    const SideView bye{-2, QStringLiteral("Freilos"), -1, -1};
    const struct {
        int nr;
        SideView s1, s2;
        int sieger, verlierer;
    } expected[] = {
        {1, {101, textOf(101), -1, -1}, {105, textOf(105), -1, -1}, -1, -1},
        {2, {102, textOf(102), -1, -1}, bye, 102, -2},
        {3, {103, textOf(103), -1, -1}, bye, 103, -2},
        {4, {104, textOf(104), -1, -1}, bye, 104, -2},
        {5, {-1, QStringLiteral("Sieger Spiel 1"), -1, -1}, {102, textOf(102), -1, -1}, -1, -1},
        {6, {103, textOf(103), -1, -1}, {104, textOf(104), -1, -1}, -1, -1},
        {7,
         {-1, QStringLiteral("Sieger Spiel 5"), -1, -1},
         {-1, QStringLiteral("Sieger Spiel 6"), -1, -1},
         -1,
         -1},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.nr);
        const SpielplanRow& m = rows[e.nr - 1];
        EXPECT_EQ(side1(m), e.s1);
        EXPECT_EQ(side2(m), e.s2);
        EXPECT_EQ(m.siegerSID, e.sieger);
        EXPECT_EQ(m.verliererSID, e.verlierer);
        EXPECT_FALSE(m.beendet) << "a bye match is never played";
    }
}

struct ByeCase {
    const char* name;
    int system;
    int size;
    std::vector<int> empty; // slots left empty
};

const ByeCase kByeCases[] = {
    {"ko8_two_byes_meet", PhasePlan::EinfachesKO, 8, {0, 1}},
    {"ko8_player_with_two_byes", PhasePlan::EinfachesKO, 8, {1, 2, 3}},
    {"ko16_scattered", PhasePlan::EinfachesKO, 16, {1, 2, 3, 6, 7, 11, 15}},
    {"doubleKo8_two_byes_meet", PhasePlan::DoppeltesKO, 8, {0, 1}},
    {"doubleKo8_three_byes", PhasePlan::DoppeltesKO, 8, {3, 5, 7}},
    {"doubleKo16_many", PhasePlan::DoppeltesKO, 16, {0, 1, 3, 5, 6, 7, 9, 12, 13, 15}},
    {"doubleKo4_one_entry", PhasePlan::DoppeltesKO, 4, {1, 2, 3}},
};

// However the byes lie, every match with a bye is settled and nobody waits for such a match any more:
// byes run on until they meet a player or a match still to be played.
TEST_P(FertigstellenTest, ByesRunOnThroughTheBracket) {
    for (const ByeCase& c : kByeCases) {
        SCOPED_TRACE(c.name);
        QVector<PlanSlot> layout = entrySlots(c.size);
        for (int e : c.empty)
            layout[e] = PlanSlot{};
        ASSERT_TRUE(run(newDraw(bracket(c.system, layout))).geschrieben);

        const auto rows = matches();
        QMap<int, const SpielplanRow*> byNumber;
        for (const SpielplanRow& m : rows)
            byNumber[m.spielnummer] = &m;
        for (const SpielplanRow& m : rows) {
            SCOPED_TRACE(m.spielnummer);
            const bool bye1 = m.SID1 == -2, bye2 = m.SID2 == -2;
            if (bye1 && bye2) {
                EXPECT_EQ(m.siegerSID, -2);
                EXPECT_EQ(m.verliererSID, -2);
            } else if (bye1 || bye2) {
                EXPECT_EQ(m.siegerSID, bye1 ? m.SID2 : m.SID1);
                EXPECT_EQ(m.verliererSID, -2);
            } else {
                EXPECT_EQ(m.siegerSID, -1);
            }
            for (const SideView& s : {side1(m), side2(m)}) {
                if (s.sid == -2) {
                    EXPECT_EQ(s.name, QStringLiteral("Freilos"));
                }
                for (const QString& prefix :
                     {QStringLiteral("Sieger Spiel "), QStringLiteral("Verlierer Spiel ")}) {
                    if (!s.name.startsWith(prefix)) continue;
                    const SpielplanRow* from = byNumber.value(s.name.mid(prefix.size()).toInt());
                    ASSERT_NE(from, nullptr) << str(s.name);
                    EXPECT_TRUE(from->SID1 != -2 && from->SID2 != -2) << str(s.name) << " is settled already";
                    EXPECT_EQ(s.sid, -1);
                }
            }
        }
    }
}

// A player whose first two opponents are byes reaches the final without playing.
TEST_P(FertigstellenTest, PlayerWithTwoByesMovesTwoStagesOn) {
    QVector<PlanSlot> layout = entrySlots(8);
    layout[1] = layout[2] = layout[3] = PlanSlot{};
    ASSERT_TRUE(run(newDraw(bracket(PhasePlan::EinfachesKO, layout))).geschrieben);
    const auto rows = matches();
    ASSERT_EQ(rows.size(), 7);
    EXPECT_EQ(rows[1].siegerSID, -2) << "two byes meet in match 2";
    EXPECT_EQ(side2(rows[4]), (SideView{-2, QStringLiteral("Freilos"), -1, -1}));
    EXPECT_EQ(rows[4].siegerSID, 101);
    EXPECT_EQ(side1(rows[6]), (SideView{101, textOf(101), -1, -1}));
}

// Two byes meeting in a double knock-out pass a bye on to the match of the winner and of the loser.
TEST_P(FertigstellenTest, TwoByesMeetingPassAByeToBothNextMatches) {
    const datafiles::KoPlan plan = shippedKoPlan(8);
    QVector<PlanSlot> layout = entrySlots(8);
    layout[0] = layout[1] = PlanSlot{};
    ASSERT_TRUE(run(newDraw(bracket(PhasePlan::DoppeltesKO, layout))).geschrieben);
    const auto rows = matches();
    ASSERT_EQ(rows.size(), plan.matchCount());
    EXPECT_EQ(rows[0].siegerSID, -2);
    EXPECT_EQ(rows[0].verliererSID, -2);
    int passed = 0;
    for (const datafiles::KoPlanLine& line : plan.lines) {
        if (line.isCaption() || line.isFirstStage()) continue;
        for (int s : {1, 2}) {
            if ((s == 1 ? line.source1() : line.source2()) != 1) continue;
            EXPECT_EQ(side(rows[line.match() - 1], s).sid, -2) << "match " << line.match() << " side " << s;
            EXPECT_EQ(side(rows[line.match() - 1], s).name, QStringLiteral("Freilos"));
            ++passed;
        }
    }
    EXPECT_EQ(passed, 2) << "the winner's and the loser's next match";
}

// --- Team classes ------------------------------------------------------------------------------------------

void storeTeamsystem(Tdb_procedures& db, const std::vector<std::pair<QVariant, QVariant>>& rubbers) {
    Params p{{":d1", kTid}, {":d2", kKid}, {":d3", 4}, {":d4", 2}};
    for (int k = 0; k < 9; ++k) {
        const auto ab = k < int(rubbers.size()) ? rubbers[k] : std::pair<QVariant, QVariant>{};
        p.append({QStringLiteral(":d%1").arg(5 + 2 * k), ab.first});
        p.append({QStringLiteral(":d%1").arg(6 + 2 * k), ab.second});
    }
    p.append({":d23", QVariant()});
    QStringList names;
    for (int i = 1; i <= 23; ++i)
        names << QStringLiteral(":d%1").arg(i);
    db.exec(QStringLiteral("INSERT INTO Teamsystem VALUES (%1)").arg(names.join(u',')), p);
}

TEST_P(FertigstellenTest, TeamMatchesGetOneRubberPerPairingOfTheTeamSystem) {
    const QVariant none;
    const struct {
        const char* name;
        int kind;
        bool row;
        std::vector<std::pair<QVariant, QVariant>> pairings;
        int rubbers;
    } cases[] = {
        {"five_singles", 3, true, {{1, 2}, {3, 4}, {2, 1}, {4, 3}, {11, 12}}, 5},
        {"gaps_and_halves",
         3,
         true,
         {{1, 2}, {3, none}, {none, none}, {none, 4}, {}, {}, {}, {}, {11, 12}},
         2},
        {"no_team_system", 3, false, {}, 0},
        {"not_a_team_class", 0, true, {{1, 2}, {3, 4}}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        db().exec(QStringLiteral("DELETE FROM Teamsystem"));
        if (c.row) storeTeamsystem(db(), c.pairings);
        ASSERT_TRUE(run(newDraw(entryGroups(1, 3), {}, {}, c.kind)).geschrieben);

        const auto rows = matches();
        ASSERT_EQ(rows.size(), 3);
        const auto rubbers = matchrecord::rubbersOfClass(db(), kKid);
        ASSERT_EQ(rubbers.size(), 3 * c.rubbers);
        for (int i = 0; i < rubbers.size(); ++i) {
            const TeamspielRow& r = rubbers[i];
            const SpielplanRow& m = rows[i / c.rubbers];
            EXPECT_EQ(r.spielnummer, m.spielnummer);
            EXPECT_EQ(r.nummer, i % c.rubbers + 1);
            EXPECT_EQ(r.MID1, m.SID1);
            EXPECT_EQ(r.MID2, m.SID2);
            EXPECT_EQ(r.spieler1, m.spieler1);
            EXPECT_EQ(r.spieler2, m.spieler2);
            EXPECT_EQ(r.SID1, -1);
            EXPECT_EQ(r.SID2, -1);
            EXPECT_EQ(r.gruppe, m.gruppe);
            EXPECT_EQ(r.phase, m.phase);
            EXPECT_EQ(r.TID, kTid);
            EXPECT_EQ(r.ergebnis, QStringLiteral("0:0"));
        }
    }
}

// A team that gets a bye moves on in the rubbers of its next match too.
TEST_P(FertigstellenTest, TeamByeMovesIntoTheRubbersOfTheNextMatch) {
    storeTeamsystem(db(), {{1, 2}, {3, 4}});
    ASSERT_TRUE(run(newDraw(bracket(PhasePlan::EinfachesKO, {entry(201), entry(202), entry(203)}), {}, {}, 3))
                    .geschrieben);
    const auto final = matchrecord::rubbersOfMatch(db(), kKid, 3);
    ASSERT_EQ(final.size(), 2);
    for (const TeamspielRow& r : final) {
        EXPECT_EQ(r.MID1, -1);
        EXPECT_EQ(r.spieler1, QStringLiteral("Sieger Spiel 1"));
        EXPECT_EQ(r.MID2, 203);
        EXPECT_EQ(r.spieler2, textOf(203));
    }
    for (const TeamspielRow& r : matchrecord::rubbersOfMatch(db(), kKid, 2)) {
        EXPECT_EQ(r.siegerSID, 203);
        EXPECT_EQ(r.verliererSID, -2);
    }
}

// --- One transaction ---------------------------------------------------------------------------------------

// Runs a statement outside the data module: definitions the engines spell differently and will not prepare.
void raw(Tdb_procedures& db, const QString& sql) {
    QSqlQuery q(db.database());
    ASSERT_TRUE(q.exec(sql)) << str(q.lastError().text()) << "\n" << str(sql);
}

void failOnMatch7(Tdb_procedures& db) {
    if (db.kind() == DbKind::File) {
        raw(db, QStringLiteral("CREATE TRIGGER stop7 BEFORE INSERT ON Spielplan WHEN NEW.spielnummer=7 "
                               "BEGIN SELECT RAISE(ABORT,'Abbruch'); END"));
    } else {
        raw(db,
            QStringLiteral("CREATE FUNCTION stop7() RETURNS trigger AS $$ BEGIN IF NEW.spielnummer=7 THEN "
                           "RAISE EXCEPTION 'Abbruch'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql"));
        raw(db, QStringLiteral(
                    "CREATE TRIGGER stop7 BEFORE INSERT ON Spielplan FOR EACH ROW EXECUTE FUNCTION stop7()"));
    }
}

// An error anywhere leaves the previous plan and the previous groups as they were.
TEST_P(FertigstellenTest, FailureInTheMiddleLeavesThePreviousPlan) {
    const struct {
        const char* name;
        std::function<void(Tdb_procedures&)> sabotage;
        bool storeFails;
    } cases[] = {
        {"insert_of_match_7_fails", failOnMatch7, false},
        {"rubber_table_gone", [](Tdb_procedures& db) { raw(db, QStringLiteral("DROP TABLE Teamspiele")); },
         false},
        {"group_store_fails", [](Tdb_procedures&) {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tdb = std::make_unique<TestDatabase>(GetParam());
        ASSERT_TRUE(run(newDraw(entryGroups(2, 4), bracket(PhasePlan::EinfachesKO, labelSlots(4))), [&] {
                        storeGroupRow(0, QStringLiteral("alt"));
                    }).geschrieben);
        const auto before = matches();
        ASSERT_EQ(before.size(), 15);

        c.sabotage(db());
        db().clearStatementCache();
        bool stored = false;
        EXPECT_THROW(run(newDraw(entryGroups(2, 4, 201), bracket(PhasePlan::DoppeltesKO, labelSlots(4))),
                         [&] {
                             storeGroupRow(1, QStringLiteral("neu"));
                             stored = true;
                             if (c.storeFails) db().exec(QStringLiteral("INSERT INTO Gibtsnicht VALUES (1)"));
                         }),
                     DbError);
        EXPECT_TRUE(stored) << "the groups are stored first";
        EXPECT_EQ(db().transactionDepth(), 0);
        EXPECT_EQ(groupRows(), QStringList{QStringLiteral("alt")});
        const auto after = matches();
        ASSERT_EQ(after.size(), before.size());
        for (int i = 0; i < after.size(); ++i)
            EXPECT_TRUE(after[i] == before[i]) << "match " << before[i].spielnummer;
    }
}

// --- Redraw ------------------------------------------------------------------------------------------------

// The standings rows phase 1 left behind: group g's place p holds the entry given.
void storeStandings(Tdb_procedures& db, const std::vector<std::tuple<int, int, int>>& places) {
    for (const auto& [gid, pos, sid] : places)
        db.exec(QStringLiteral("INSERT INTO Tabellen VALUES (:k,:g,:p,:s,:b,0,0,0,0,0,0,0,0,:f,0,-1,-1,1)"),
                {{":k", kKid}, {":g", gid}, {":p", pos}, {":s", sid}, {":b", textOf(sid)}, {":f", false}});
}

// Redrawing phase 2 keeps phase 1 with its results, numbers the new matches after phase 1's last and
// takes each qualifier with his group and place from the standings. A phase after the redrawn one is
// drawn with labels again.
TEST_P(FertigstellenTest, RedrawOfPhase2KeepsPhase1) {
    const struct {
        const char* name;
        int system2;
        bool phase3;
        int lastOfPhase2;
    } cases[] = {
        {"knock_out", PhasePlan::EinfachesKO, false, 12},
        {"group_then_knock_out", PhasePlan::Gruppenphase, true, 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tdb = std::make_unique<TestDatabase>(GetParam());
        PhasePlan ko2 = bracket(c.system2, labelSlots(4));
        if (c.system2 == PhasePlan::Gruppenphase) {
            ko2 = labelGroups(3, 1, 4);
            ko2.bracket.clear();
        }
        ko2.firstGid = 3;
        PhasePlan ko3 =
            c.phase3 ? bracket(PhasePlan::EinfachesKO, {label(QStringLiteral("Sieger Gruppe D"), 3, 0),
                                                        label(QStringLiteral("Zweiter Gruppe D"), 3, 1)})
                     : PhasePlan{};
        ko3.firstGid = 4;
        ASSERT_TRUE(run(newDraw(entryGroups(3, 3), ko2, ko3)).geschrieben);

        // Phase 1 is played; its standings say who qualified; a placement match exists.
        for (int nr = 1; nr <= 9; ++nr)
            matchrecord::finish(db(), kKid, nr, QDateTime(QDate(2024, 5, 1), QTime(10, nr)), {11, 11, 11},
                                QStringLiteral("3:0"), 100 + nr, 200 + nr);
        storeStandings(db(), {{0, 0, 102},
                              {0, 1, 101},
                              {0, 2, 103},
                              {1, 0, 104},
                              {1, 1, 106},
                              {1, 2, 105},
                              {2, 0, 109},
                              {2, 1, 107},
                              {2, 2, 108}});
        SpielplanRow placement;
        placement.KID = kKid;
        placement.spielnummer = (c.phase3 ? 17 : 13);
        placement.phase = 4;
        placement.platz = 3;
        matchrecord::insertMatch(db(), placement);
        const auto phase1 = matchrecord::matchesOfPhase(db(), kKid, 1);

        DrawPlan redraw = newDraw({}, {}, ko3);
        redraw.redraw = true;
        redraw.redrawPhase = 2;
        // 102, 104, 109 won their groups; 106 was the best second. The dialog gives no parents in a redraw.
        const QVector<PlanSlot> players{entry(102), entry(106), entry(104), entry(109)};
        PhasePlan p2 = c.system2 == PhasePlan::Gruppenphase ? PhasePlan{} : bracket(c.system2, players);
        if (c.system2 == PhasePlan::Gruppenphase) {
            p2.system = PhasePlan::Gruppenphase;
            p2.groups = {players};
        }
        p2.firstGid = 3;
        redraw.phases[1] = p2;
        const auto result = run(redraw);
        EXPECT_TRUE(result.geschrieben);
        EXPECT_FALSE(result.planleiste);
        EXPECT_TRUE(result.planAnzeigen);

        const auto kept = matchrecord::matchesOfPhase(db(), kKid, 1);
        ASSERT_EQ(kept.size(), phase1.size());
        for (int i = 0; i < kept.size(); ++i)
            EXPECT_TRUE(kept[i] == phase1[i]) << "phase 1 match " << phase1[i].spielnummer << " changed";
        EXPECT_TRUE(matchrecord::matchesOfPhase(db(), kKid, 4).isEmpty()) << "placement matches are redrawn";

        const auto rows = matches();
        ASSERT_EQ(rows.last().spielnummer, rows.size());
        const QMap<int, SideView> origin{{102, {102, textOf(102), 0, 0}},
                                         {106, {106, textOf(106), 1, 1}},
                                         {104, {104, textOf(104), 1, 0}},
                                         {109, {109, textOf(109), 2, 0}}};
        for (const SpielplanRow& m : matchrecord::matchesOfPhase(db(), kKid, 2)) {
            SCOPED_TRACE(m.spielnummer);
            EXPECT_GE(m.spielnummer, 10);
            EXPECT_LE(m.spielnummer, c.lastOfPhase2);
            if (m.parentspiel1 != -1) continue; // a later stage waits for its matches
            EXPECT_EQ(side1(m), origin.value(m.SID1));
            EXPECT_EQ(side2(m), origin.value(m.SID2));
            EXPECT_TRUE(m.parentsieger1);
            EXPECT_TRUE(m.parentsieger2);
        }
        const auto rows3 = matchrecord::matchesOfPhase(db(), kKid, 3);
        ASSERT_EQ(rows3.size(), c.phase3 ? 1 : 0);
        if (c.phase3) {
            EXPECT_EQ(rows3[0].spielnummer, c.lastOfPhase2 + 1);
            EXPECT_EQ(side1(rows3[0]), (SideView{-1, QStringLiteral("Sieger Gruppe D"), 3, 0}));
            EXPECT_EQ(side2(rows3[0]), (SideView{-1, QStringLiteral("Zweiter Gruppe D"), 3, 1}));
        }
    }
}

// A redrawn bracket with a bye: the player moves on with his group and place, so result processing can
// still find him by where he came from.
TEST_P(FertigstellenTest, RedrawnByeMovesThePlayerOnWithHisOrigin) {
    ASSERT_TRUE(run(newDraw(entryGroups(3, 3), bracket(PhasePlan::EinfachesKO, labelSlots(4)))).geschrieben);
    storeStandings(db(), {{0, 0, 102}, {1, 0, 104}, {2, 0, 109}});
    DrawPlan redraw = newDraw({});
    redraw.redraw = true;
    redraw.redrawPhase = 2;
    redraw.phases[1] = bracket(PhasePlan::EinfachesKO, {entry(102), entry(104), entry(109), PlanSlot{}});
    ASSERT_TRUE(run(redraw).geschrieben);
    const auto m = matchrecord::readMatch(db(), kKid, 12);
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(side1(*m), (SideView{-1, QStringLiteral("Sieger Spiel 10"), -1, -1}));
    EXPECT_EQ(side2(*m), (SideView{109, textOf(109), 2, 0}));
}

// A phase without matches of its own (groups of one place have no schedule) does not restart the
// numbering: a redraw after it follows the last match of the class that is kept.
TEST_P(FertigstellenTest, RedrawAfterAPhaseWithoutMatchesFollowsTheLastKeptMatch) {
    PhasePlan p2 = labelGroups(2, 1, 1);
    p2.firstGid = 2;
    PhasePlan p3 = bracket(PhasePlan::EinfachesKO, labelSlots(2));
    p3.firstGid = 3;
    ASSERT_TRUE(run(newDraw(entryGroups(2, 3), p2, p3)).geschrieben);
    ASSERT_EQ(matches().size(), 7);
    const auto phase1 = matchrecord::matchesOfPhase(db(), kKid, 1);

    DrawPlan redraw = newDraw({}, p2);
    redraw.redraw = true;
    redraw.redrawPhase = 3;
    redraw.phases[2] = bracket(PhasePlan::EinfachesKO, {entry(101), entry(104)});
    ASSERT_TRUE(run(redraw).geschrieben);

    EXPECT_TRUE(matchrecord::matchesOfPhase(db(), kKid, 1) == phase1);
    const auto rows = matchrecord::matchesOfPhase(db(), kKid, 3);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].spielnummer, 7);
    // Without standings rows of phase 2 the players keep the ids the dialog gave, from no group.
    EXPECT_EQ(side1(rows[0]), (SideView{101, textOf(101), -1, -1}));
    EXPECT_EQ(side2(rows[0]), (SideView{104, textOf(104), -1, -1}));
}

// --- Refusals ----------------------------------------------------------------------------------------------

TEST(FertigstellenGelost, RefusesWhileAListOfThePhasesDrawnStillHoldsSomething) {
    const struct {
        Ungelost u;
        bool redraw;
        int phase;
        bool expected;
    } cases[] = {
        {{0, 0, 0, 0}, false, 0, true},
        {{1, 0, 0, 0}, false, 0, false},
        {{0, 1, 0, 0}, false, 0, false},
        {{0, 0, 1, 0}, false, 0, false},
        {{0, 0, 0, 1}, false, 0, false},
        // A redraw leaves phase 1 and its lists alone.
        {{5, 2, 0, 0}, true, 2, true},
        {{0, 0, 1, 0}, true, 2, false},
        {{0, 0, 0, 2}, true, 2, false},
        {{5, 2, 3, 0}, true, 3, true},
        {{0, 0, 0, 1}, true, 3, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Fertigstellen::allesGelost(c.u, c.redraw, c.phase), c.expected)
            << c.u.eintraege << "/" << c.u.gesetzte << "/" << c.u.phase2 << "/" << c.u.phase3 << " redraw "
            << c.redraw << " phase " << c.phase;
}

TEST_P(FertigstellenTest, UndrawnEntriesRefuseAndWriteNothing) {
    ASSERT_TRUE(run(newDraw(entryGroups(2, 3))).geschrieben);
    const auto before = matches();
    interaction.clear();

    DrawPlan plan = newDraw(entryGroups(2, 4, 201));
    plan.ungelost.gesetzte = 1;
    bool stored = false;
    EXPECT_FALSE(run(plan, [&] { stored = true; }).geschrieben);
    EXPECT_FALSE(stored);
    ASSERT_EQ(interaction.messages.size(), 1);
    EXPECT_EQ(interaction.messages[0].text, QStringLiteral("Nicht alle Spieler wurden gelost"));
    EXPECT_EQ(interaction.messages[0].icon, Interaction::Icon::Warning);
    EXPECT_EQ(interaction.messages[0].button, Interaction::Button::Cancel);
    EXPECT_EQ(matches().size(), before.size());
    EXPECT_TRUE(matches() == before);
}

// A damaged or unreadable data file, or one without the block a phase needs, refuses the plan with the
// reader's message; groups of one need no schedule.
TEST_P(FertigstellenTest, DataFilesDecideBeforeAnythingIsWritten) {
    const QString goodSystem = shippedFile("system.txt");
    const QString goodKo = shippedFile("ko_system.txt");
    const struct {
        const char* name;
        QByteArray system; // empty: the shipped file; "-": a file that does not exist
        QByteArray ko;
        int phase1;          // system of phase 1 (groups of 3, or a bracket of 8)
        QStringList message; // parts of the refusal; empty: no refusal
        int matches;         // written when not refused
    } cases[] = {
        {"damaged_schedule",
         "3:\n1-2;1-x;2-3\n",
         {},
         PhasePlan::Gruppenphase,
         {"system.txt", "3 Teilnehmer"},
         0},
        {"schedule_line_missing",
         "2:\n1-2\n3:\n",
         {},
         PhasePlan::Gruppenphase,
         {"system.txt", "3 Teilnehmer"},
         0},
        {"damaged_plan",
         {},
         "8:\n14,7,34\n1,-1,-1,-3,-3,0,0,1,1,3\n",
         PhasePlan::DoppeltesKO,
         {"ko_system.txt", "8 Teilnehmer"},
         0},
        {"schedule_file_gone", "-", {}, PhasePlan::Gruppenphase, {"system.txt"}, 0},
        {"no_schedule_for_3",
         "4:\n1-2;3-4;1-3;2-4;1-4;2-3\n",
         {},
         PhasePlan::Gruppenphase,
         {"system.txt", "3 Teilnehmer"},
         0},
        {"no_plan_for_8",
         {},
         "4:\n1,5,16\n1,-1,-1,-3,-3,0,0,1,1,3\n",
         PhasePlan::DoppeltesKO,
         {"ko_system.txt", "8 Teilnehmer"},
         0},
        {"groups_of_one_need_no_schedule", "4:\n1-2;3-4;1-3;2-4;1-4;2-3\n", {}, -1, {}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tdb = std::make_unique<TestDatabase>(GetParam());
        ASSERT_TRUE(run(newDraw(entryGroups(1, 2))).geschrieben);
        const auto before = matches();
        interaction.clear();

        Datendateien dateien{goodSystem, goodKo};
        if (c.system == "-")
            dateien.system = files.filePath(QStringLiteral("fehlt/system.txt"));
        else if (!c.system.isEmpty())
            dateien.system = writeFile(QStringLiteral("system.txt"), c.system);
        if (!c.ko.isEmpty()) dateien.koSystem = writeFile(QStringLiteral("ko_system.txt"), c.ko);
        const PhasePlan p1 = c.phase1 == PhasePlan::Gruppenphase ? entryGroups(2, 3)
                             : c.phase1 == PhasePlan::DoppeltesKO
                                 ? bracket(PhasePlan::DoppeltesKO, entrySlots(8))
                                 : entryGroups(2, 1);
        // Phase 2 needs no data file: it shows whether the rest of the plan is written.
        PhasePlan p2 = bracket(PhasePlan::EinfachesKO, labelSlots(4));
        p2.firstGid = 2;
        bool stored = false;
        const auto result = run(newDraw(p1, p2), dateien, [&] { stored = true; });

        if (!c.message.isEmpty()) {
            EXPECT_FALSE(result.geschrieben);
            EXPECT_FALSE(stored);
            ASSERT_EQ(interaction.messages.size(), 1);
            EXPECT_EQ(interaction.messages[0].icon, Interaction::Icon::Error);
            for (const QString& part : c.message)
                EXPECT_TRUE(interaction.messages[0].text.contains(part)) << str(interaction.messages[0].text);
            EXPECT_TRUE(matches() == before);
        } else {
            EXPECT_TRUE(result.geschrieben);
            EXPECT_TRUE(stored) << "the groups are stored all the same";
            EXPECT_TRUE(interaction.messages.isEmpty());
            const auto rows = matches();
            ASSERT_EQ(rows.size(), c.matches);
            for (int i = 0; i < rows.size(); ++i) {
                EXPECT_EQ(rows[i].spielnummer, i + 1);
                EXPECT_EQ(rows[i].phase, 2);
            }
        }
    }
}

VELMORA_INSTANTIATE_DB_TEST(FertigstellenTest);

} // namespace

// The class settings, the plan data of a class and the group plan drawn from them.
#include "play/plan_fixture.h"

using namespace plantest;

namespace {

class GruppenplanTest : public PlanTest {};

// Two groups of four, the last place of group B empty. Schedule for four: 1-4;2-3;1-3;2-4;1-2;3-4, each
// pairing in group A, then in group B.
class ZweiGruppen : public GruppenplanTest {
protected:
    void SetUp() override {
        GruppenplanTest::SetUp();
        if (IsSkipped()) return;
        settings({0, -1, -1}, {2, 0, 0}, {4, 0, 0});
        DrawPlan p;
        p.phases[0] = entryGroups(2, 4, 101, {{1, 3}});
        write(p);
    }
};

} // namespace

TEST_P(ZweiGruppen, EachStatusCellStandsInTheRowOfSide1AndTheColumnOfSide2) {
    const PlanLayout l = gruppenplanerstellen(load(), 1);
    ASSERT_TRUE(l.error.isEmpty()) << str(l.error);
    // B = 20 * 4 + 50 = 130; standings at X = 30 * 4 + 240 = 360.
    EXPECT_EQ(l.size, QSize(360 + 420, 130 * 2 + 60));
    const struct {
        int snr;
        QRect cell;   // row of side 1, column of side 2
        QRect mirror; // row of side 2, column of side 1
    } cases[] = {
        {1, QRect(281, 51, 29, 19), QRect(191, 111, 29, 19)},  // A: place 1 against place 4
        {3, QRect(251, 71, 29, 19), QRect(221, 91, 29, 19)},   // A: 2 against 3
        {4, QRect(251, 201, 29, 19), QRect(221, 221, 29, 19)}, // B: 2 against 3
        {11, QRect(281, 91, 29, 19), QRect(251, 111, 29, 19)}, // A: 3 against 4
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.snr);
        const PlanStatusCell* cell = findCell(l, QStringLiteral("status%1").arg(c.snr));
        const PlanStatusCell* mirror = findCell(l, QStringLiteral("statusx%1").arg(c.snr));
        ASSERT_NE(cell, nullptr);
        ASSERT_NE(mirror, nullptr);
        EXPECT_EQ(cell->box, c.cell);
        EXPECT_FALSE(cell->mirrored);
        EXPECT_EQ(mirror->box, c.mirror);
        EXPECT_TRUE(mirror->mirrored);
        EXPECT_EQ(mirror->spielnummer, c.snr);
    }
    // Group B's empty place 4 plays nobody: of its six matches only the three among places 1 to 3 count.
    EXPECT_EQ(l.cells.size(), 2 * (6 + 3));
    for (int snr : {2, 8, 12})
        EXPECT_EQ(findCell(l, QStringLiteral("status%1").arg(snr)), nullptr) << snr;
}

TEST_P(ZweiGruppen, EmptyPlacesHaveNoLabelAndNamesStayInTheirCells) {
    const PlanLayout l = gruppenplanerstellen(load(), 1);
    const PlanText* first = findText(l, nameOf(101));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->box, QRect(48, 54, 142, 16));
    EXPECT_EQ(first->sid, 101);
    // Row 4 of group B (y = 50 + 130 + 60): the place number, no name, a black diagonal.
    const int y = 240;
    int labels = 0, numbers = 0;
    for (const PlanText& t : l.texts) {
        if (t.box.y() != y + 4) continue;
        if (t.box.x() == 48) ++labels;
        if (t.box.x() == 25 && t.text == "4") ++numbers;
    }
    EXPECT_EQ(labels, 0);
    EXPECT_EQ(numbers, 1);
    EXPECT_TRUE(std::any_of(l.rects.begin(), l.rects.end(), [&](const PlanRect& r) {
        return r.box == QRect(190 + 90, y, 30, 20) && r.fill == QColor(Qt::black);
    }));
    EXPECT_EQ(std::count_if(l.rects.begin(), l.rects.end(),
                            [](const PlanRect& r) { return r.fill == QColor(Qt::black); }),
              8);
    // Every name ends inside its cell: the cross table's name column or the standings' name column.
    for (const PlanText& t : l.texts) {
        if (t.sid <= 0) continue;
        if (t.box.x() < 360)
            EXPECT_LE(t.box.right(), 189) << str(t.text);
        else
            EXPECT_LE(t.box.right(), 360 + 170) << str(t.text);
        EXPECT_LE(t.box.height(), 16);
    }
    EXPECT_EQ(findText(l, "Gruppe A")->box.topLeft(), QPoint(20, 30));
    EXPECT_EQ(findText(l, "Gruppe B")->box.topLeft(), QPoint(20, 160));
    ASSERT_EQ(l.tools.size(), 5);
    EXPECT_EQ(l.tools[3].tag, 0);
    EXPECT_EQ(l.tools[4].tag, 1);
    EXPECT_EQ(l.tools[4].box.topLeft(), QPoint(100, 160));
    EXPECT_EQ(l.tools[4].hint, "Gruppenspielplan anzeigen");
}

TEST_P(ZweiGruppen, StandingsFollowTheRankWhileTheCrossTableKeepsTheDrawnOrder) {
    // Place 3 of group A leads, place 1 is second; team classes show matches won and lost instead.
    const struct {
        int sid, pos, spiele, saetze, punkte, matche;
    } stand[] = {{103, 0, 3, 9, 99, 1}, {101, 1, 2, 6, 80, 0}, {102, 2, 1, 4, 70, 0}, {104, 3, 0, 1, 50, 0}};
    for (const auto& s : stand)
        db().exec(
            "UPDATE Tabellen SET pos=:p, spielegewonnen=:g, spieleverloren=:v, saetzegewonnen=:sg, "
            "saetzeverloren=2, punktegewonnen=:pg, punkteverloren=60, matchegewonnen=:m, matcheverloren=0 "
            "WHERE KID=:k AND SID=:s",
            {{":p", s.pos},
             {":g", s.spiele},
             {":v", 3 - s.spiele},
             {":sg", s.saetze},
             {":pg", s.punkte},
             {":m", s.matche},
             {":k", kKid},
             {":s", s.sid}});
    const struct {
        int system;
        const char* title;
        QStringList leader; // rank, name, played, won, lost, table points, then the two last columns
    } cases[] = {
        {0, "Bälle", {"1", "Spieler 103", "3", "3", "0", "6:0", "9:2", "99:60"}},
        {3, "Punkte", {"1", "Spieler 103", "1", "1", "0", "2:0", "3:0", "9:2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        db().exec("UPDATE Turnierklassen SET system=:s WHERE KID=:k", {{":s", c.system}, {":k", kKid}});
        const PlanLayout l = gruppenplanerstellen(load(), 1);
        ASSERT_NE(findText(l, QString::fromUtf8(c.title)), nullptr);
        const int xs[] = {6, 28, 177, 205, 230, 255, 300, 350};
        QStringList line0, names;
        for (int x : xs)
            for (const PlanText& t : l.texts)
                if (t.box.topLeft() == QPoint(360 + x, 54)) line0 << t.text;
        EXPECT_EQ(line0, c.leader);
        for (int k = 0; k < 4; ++k)
            for (const PlanText& t : l.texts)
                if (t.box.topLeft() == QPoint(388, 54 + 20 * k)) names << t.text;
        EXPECT_EQ(names, QStringList({"Spieler 103", "Spieler 101", "Spieler 102", "Spieler 104"}));
        // The cross table still lists the places as drawn.
        EXPECT_EQ(findText(l, "Spieler 101")->box.topLeft(), QPoint(48, 54));
        EXPECT_TRUE(std::any_of(l.rects.begin(), l.rects.end(), [](const PlanRect& r) {
            return r.box == QRect(361, 51, 24, 19) && r.fill == QColor(Qt::white);
        }));
    }
}

TEST_P(GruppenplanTest, LaterGroupPhasesContinueTheLettersOfTheFirst) {
    settings({0, 0, -1}, {4, 2, 0}, {3, 2, 0});
    DrawPlan p;
    p.phases[0] = entryGroups(4, 3);
    PhasePlan zweite;
    zweite.system = PhasePlan::Gruppenphase;
    zweite.groups = {{PlanSlot{-1, "Sieger Gruppe A", 0, 0}, PlanSlot{-1, "Sieger Gruppe B", 1, 0}},
                     {PlanSlot{-1, "Sieger Gruppe C", 2, 0}, PlanSlot{-1, "Sieger Gruppe D", 3, 0}}};
    p.phases[1] = zweite;
    write(p);
    const PlanDaten d = load();
    EXPECT_EQ(d.info.firstGid(2), 4);
    const PlanLayout l = phasenplan(d, 2, 2);
    ASSERT_NE(findText(l, "Gruppe E"), nullptr);
    ASSERT_NE(findText(l, "Gruppe F"), nullptr);
    EXPECT_EQ(findText(l, "Gruppe A"), nullptr);
    EXPECT_EQ(findText(l, "Gruppe F")->box.topLeft(), QPoint(20, 50 + 90 - 20));
    // Phase 2's one match per group: 13 (E) and 14 (F), between the labels that wait for the qualifiers.
    EXPECT_EQ(findCell(l, "status13")->box, QRect(221, 51, 29, 19));
    EXPECT_EQ(findCell(l, "statusx14")->box, QRect(191, 50 + 90 + 20 + 1, 29, 19));
    EXPECT_EQ(findText(l, "Sieger Gruppe C")->box.topLeft(), QPoint(48, 144));
    EXPECT_EQ(l.cells.size(), 4);
}

TEST_P(GruppenplanTest, SettingsAreReadOnceAndMissingSettingsGiveAnEmptyPageWithAMessage) {
    db().exec("UPDATE Turnierklassen SET saetze=4, system=3, atag=:d, uhrzeit=:u WHERE KID=:k",
              {{":d", QDate(2026, 5, 2)}, {":u", QTime(9, 30)}, {":k", kKid}});
    db().exec("INSERT INTO Teamsystem (TID, KID, spieler, reserve, s1a, s1b, s2a, s2b, s3a, s3b, s4a) "
              "VALUES (1, :k, 3, 0, 1, 2, 2, 1, 11, 12, 3)",
              {{":k", kKid}});
    {
        const Klasseninfo none = infosladen(db(), kKid);
        EXPECT_FALSE(none.found);
        const PlanDaten d = load();
        for (int phase = 1; phase <= 3; ++phase) {
            const PlanLayout l = phasenplan(d, phase, 2);
            EXPECT_TRUE(l.texts.isEmpty() && l.cells.isEmpty() && l.lines.isEmpty());
            EXPECT_TRUE(l.error.contains("Phaseneinstellungen")) << str(l.error);
        }
        EXPECT_FALSE(gruppenplanerstellen(d, 1).error.isEmpty());
        EXPECT_FALSE(koplanerstellen(d, 1, 2).error.isEmpty());
    }
    settings({0, 1, -1}, {3, 0, 0}, {4, 0, 0});
    const Klasseninfo info = infosladen(db(), kKid);
    EXPECT_TRUE(info.found);
    EXPECT_EQ(info.phase[0], 0);
    EXPECT_EQ(info.phase[1], 1);
    EXPECT_EQ(info.phase[2], -1);
    EXPECT_EQ(info.gruppen[0], 3);
    EXPECT_EQ(info.gruppen[2], -1);
    EXPECT_EQ(info.teilnehmer[0], 4);
    EXPECT_EQ(info.besten[0], 1);
    EXPECT_EQ(info.plattenbez, "Platte");
    EXPECT_EQ(info.platten, 4);
    EXPECT_EQ(info.saetze, 4);
    EXPECT_TRUE(info.isTeam());
    EXPECT_EQ(info.atag, QDate(2026, 5, 2));
    EXPECT_EQ(info.uhrzeit, 9 * 60 + 30);
    EXPECT_EQ(info.rubbers, 3) << "s4a without s4b is no rubber";
    EXPECT_EQ(info.teamgroesse, 3);
    EXPECT_TRUE(info.hasKnockout());
    EXPECT_EQ(info.firstGid(1), 0);
    EXPECT_EQ(info.firstGid(2), 3);
    EXPECT_EQ(info.firstGid(3), 3) << "a knock-out phase takes no group indices";
}

TEST_P(GruppenplanTest, PlanDataReadsEachTableInOneStatement) {
    settings({0, -1, -1}, {16, 0, 0}, {8, 0, 0});
    DrawPlan p;
    p.phases[0] = entryGroups(16, 8);
    write(p);
    db().resetStatementCount();
    const PlanDaten d = load();
    // Settings, class, team system; matches, groups, standings.
    EXPECT_EQ(db().statementCount(), 6);
    EXPECT_EQ(d.matches.size(), 16 * 28);
    EXPECT_EQ(d.gruppen.size(), 128);
    EXPECT_EQ(d.tabellen.size(), 128);
    EXPECT_EQ(d.gruppen[9].GID, 1);
    EXPECT_EQ(d.gruppen[9].pos, 1);
    EXPECT_EQ(d.gruppen[9].SID, 110);
    EXPECT_EQ(d.tabellen[9].bez, nameOf(110));
    EXPECT_EQ(gruppenplanerstellen(d, 1).cells.size(), 2 * 16 * 28);
}

VELMORA_INSTANTIATE_DB_TEST(GruppenplanTest);
VELMORA_INSTANTIATE_DB_TEST(ZweiGruppen);

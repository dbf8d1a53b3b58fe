// Knock-out brackets: geometry at the zoom levels, winner and byes, the double bracket from its grid.
#include "play/plan_fixture.h"

#include <QFile>
#include <QTemporaryDir>

using namespace plantest;

namespace {

// 60 characters with umlauts and apostrophes.
QString longName(int i) {
    QString s = QStringLiteral("Müller-Lüdenscheidt O'Brien-Größenwahn, Hans-Jürgen D'Artagnan %1").arg(i);
    return s.left(60);
}

// The name labels of a column: texts starting at x below the captions.
int labelsAt(const PlanLayout& l, int x, int captionBottom) {
    return int(std::count_if(l.texts.begin(), l.texts.end(), [&](const PlanText& t) {
        return t.box.x() == x && t.box.y() >= captionBottom;
    }));
}

struct GeometryCase {
    const char* id;
    int entries;
    int zoom;
    QSize size;
    QVector<int> columnX;   // x of the name labels of each column, the winner's last
    QVector<int> perColumn; // labels per column
    QStringList captions;   // stage names over the columns before the winner's
    QString winnerName;     // "Sieger" + the final
    QRect winnerBox;
    QRect firstLabel; // side 1 of match 1
    QRect firstCell;  // status cell of match 1
};

void PrintTo(const GeometryCase& c, std::ostream* os) {
    *os << c.id;
}

class BracketGeometry : public ::testing::TestWithParam<GeometryCase> {};

} // namespace

TEST_P(BracketGeometry, ColumnsSlotsAndWinnerStandWhereTheZoomLevelPutsThem) {
    const GeometryCase& c = GetParam();
    const PlanLayout l = koplanerstellen(pureBracket(PhasePlan::EinfachesKO, c.entries), 1, c.zoom);
    ASSERT_TRUE(l.error.isEmpty()) << str(l.error);
    EXPECT_EQ(l.size, c.size);
    const int captionBottom = 5 + 16 + 1 + 1;
    for (int k = 0; k < c.columnX.size(); ++k)
        EXPECT_EQ(labelsAt(l, c.columnX[k], captionBottom), c.perColumn[k]) << "column " << k;
    for (int k = 0; k < c.captions.size(); ++k) {
        const PlanText* t = findText(l, c.captions[k]);
        ASSERT_NE(t, nullptr) << str(c.captions[k]);
        const int x = k == 0 ? c.firstLabel.x() : c.columnX[k];
        EXPECT_EQ(t->box.x(), x) << str(c.captions[k]);
        int top = l.size.height();
        for (const PlanText& n : l.texts)
            if (n.box.x() == x && n.box.y() >= captionBottom) top = std::min(top, n.box.y());
        EXPECT_LT(t->box.bottom(), top) << "a caption stands above the names of its column";
        EXPECT_GT(t->box.height(), 0);
    }
    const PlanText* winner = findNamed(l, c.winnerName);
    ASSERT_NE(winner, nullptr);
    EXPECT_EQ(winner->box, c.winnerBox);
    EXPECT_EQ(winner->text, QStringLiteral("Sieger Spiel ") + c.winnerName.mid(6));
    EXPECT_EQ(winner->sid, -1);
    const PlanText* first = findText(l, nameOf(101));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->box, c.firstLabel);
    EXPECT_EQ(first->sid, 101);
    const PlanStatusCell* cell = findCell(l, QStringLiteral("status1"));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->box, c.firstCell);
    EXPECT_EQ(l.cells.size(), c.entries - 1) << "one status cell per match";
    ASSERT_EQ(l.tools.size(), 3);
    EXPECT_EQ(l.tools[0].box, QRect(c.firstLabel.x() - 3, 5, 16, 16));
    EXPECT_EQ(l.tools[2].box.x(), c.firstLabel.x() - 3 + 50);
}

// e = 1: R = 0, two slots and the winner right after them. e = 8: R = 3, columns of 16, 8, 4, 2 names
// and the winner. Names end at the connector of their column.
INSTANTIATE_TEST_SUITE_P(
    Cases, BracketGeometry,
    ::testing::Values(GeometryCase{"oneMatch_zoom2",
                                   2,
                                   2,
                                   QSize(390, 144),
                                   {33, 239},
                                   {2, 1},
                                   {"Finale"},
                                   "Sieger1",
                                   QRect(239, 47, 151, 22),
                                   QRect(33, 35, 177, 22),
                                   QRect(211, 47, 25, 16)},
                      GeometryCase{"oneMatch_zoom1",
                                   2,
                                   1,
                                   QSize(260, 112),
                                   {23, 169},
                                   {2, 1},
                                   {"Finale"},
                                   "Sieger1",
                                   QRect(169, 47, 91, 14),
                                   QRect(23, 38, 117, 14),
                                   QRect(141, 46, 25, 16)},
                      GeometryCase{"eightMatches_zoom2",
                                   16,
                                   2,
                                   QSize(930, 648),
                                   {33, 239, 419, 599, 779},
                                   {16, 8, 4, 2, 1},
                                   {"Achtelfinale", "Viertelfinale", "Halbfinale", "Finale"},
                                   "Sieger15",
                                   QRect(779, 299, 151, 22),
                                   QRect(33, 35, 177, 22),
                                   QRect(211, 47, 25, 16)},
                      GeometryCase{"eightMatches_zoom1",
                                   16,
                                   1,
                                   QSize(620, 448),
                                   {23, 169, 289, 409, 529},
                                   {16, 8, 4, 2, 1},
                                   {"Achtelfinale", "Viertelfinale", "Halbfinale", "Finale"},
                                   "Sieger15",
                                   QRect(529, 215, 91, 14),
                                   QRect(23, 38, 117, 14),
                                   QRect(141, 46, 25, 16)},
                      GeometryCase{"eightMatches_zoom3",
                                   16,
                                   3,
                                   QSize(1240, 798),
                                   {43, 309, 549, 789, 1029},
                                   {16, 8, 4, 2, 1},
                                   {"Achtelfinale", "Viertelfinale", "Halbfinale", "Finale"},
                                   "Sieger15",
                                   QRect(1029, 362, 211, 28),
                                   QRect(43, 32, 237, 28),
                                   QRect(281, 47, 25, 16)}),
    [](const auto& info) { return std::string(info.param.id); });

TEST(BracketGeometry, LaterSlotsCarryTheirSourceAndTheMatchCellSitsBetweenThem) {
    const PlanLayout l = koplanerstellen(pureBracket(PhasePlan::EinfachesKO, 16), 1, 2);
    // Match 9 takes the winners of 1 and 2: its slots in the second column, its cell right of them.
    const PlanText* s1 = findNamed(l, QStringLiteral("Sieger1"));
    const PlanText* s2 = findNamed(l, QStringLiteral("Sieger2"));
    ASSERT_NE(s1, nullptr);
    ASSERT_NE(s2, nullptr);
    EXPECT_EQ(s1->text, QStringLiteral("Sieger Spiel 1"));
    EXPECT_EQ(s1->box.topLeft(), QPoint(239, 47));
    EXPECT_EQ(s2->box.topLeft(), QPoint(239, 119));
    const PlanStatusCell* cell = findCell(l, QStringLiteral("status9"));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->box, QRect(393, 82, 25, 16));
}

TEST(BracketGeometry, APhaseWithoutFirstColumnMatchesDrawsNothing) {
    PlanDaten d = pureBracket(PhasePlan::EinfachesKO, 8);
    EXPECT_TRUE(koplanerstellen(d, 2, 2).isEmpty());
    EXPECT_TRUE(doppeltes_koplanerstellen(d, 2, 2).isEmpty());
}

// --- No name ever reaches into a neighbouring cell ------------------------------------------------

struct OverlapCase {
    int system;
    int entries;
    int zoom;
};
void PrintTo(const OverlapCase& c, std::ostream* os) {
    *os << (c.system == 1 ? "single " : "double ") << c.entries << " zoom " << c.zoom;
}

class BracketNames : public ::testing::TestWithParam<OverlapCase> {};

TEST_P(BracketNames, LongNamesKeepTheirTextInsideTheirOwnCell) {
    const OverlapCase& c = GetParam();
    const PlanDaten d = pureBracket(c.system, c.entries, longName);
    const PlanLayout l =
        c.system == 1 ? koplanerstellen(d, 1, c.zoom) : doppeltes_koplanerstellen(d, 1, c.zoom);
    ASSERT_TRUE(l.error.isEmpty()) << str(l.error);
    const QRect page(QPoint(0, 0), l.size);
    int longOnes = 0;
    for (int i = 0; i < l.texts.size(); ++i) {
        const PlanText& a = l.texts[i];
        if (a.text.startsWith(u'M')) {
            ++longOnes;
            EXPECT_EQ(a.text.size(), 60) << "the whole name is kept for the tooltip";
        }
        EXPECT_TRUE(page.contains(a.box)) << str(a.text);
        EXPECT_GT(a.box.width(), 0) << str(a.text);
        for (int j = i + 1; j < l.texts.size(); ++j)
            EXPECT_FALSE(a.box.intersects(l.texts[j].box)) << str(a.text) << " / " << str(l.texts[j].text);
        for (const PlanStatusCell& cell : l.cells)
            EXPECT_FALSE(a.box.intersects(cell.box)) << str(a.text) << " / " << str(cell.name);
    }
    EXPECT_EQ(longOnes, c.entries);
    for (int i = 0; i < l.cells.size(); ++i)
        for (int j = i + 1; j < l.cells.size(); ++j)
            EXPECT_FALSE(l.cells[i].box.intersects(l.cells[j].box)) << str(l.cells[i].name);
}

INSTANTIATE_TEST_SUITE_P(Cases, BracketNames, ::testing::ValuesIn([] {
                             std::vector<OverlapCase> cases;
                             for (int zoom = 1; zoom <= 3; ++zoom) {
                                 for (int n : {2, 4, 8, 16, 32, 64})
                                     cases.push_back({1, n, zoom});
                                 for (int n : {4, 8, 16, 32, 64, 128})
                                     cases.push_back({2, n, zoom});
                             }
                             return cases;
                         }()));

// --- On the database: plans as draw completion wrote them -----------------------------------------

namespace {

class KoPlanDb : public PlanTest {};

} // namespace

TEST_P(KoPlanDb, AFinishedFinalNamesItsWinnerInTheWinnerLabel) {
    settings({1, -1, -1});
    write([] {
        DrawPlan p;
        p.phases[0] = bracket(PhasePlan::EinfachesKO, entries(2));
        return p;
    }());
    const PlanLayout open = koplanerstellen(load(), 1, 2);
    ASSERT_NE(findNamed(open, "Sieger1"), nullptr);
    EXPECT_EQ(findNamed(open, "Sieger1")->text, "Sieger Spiel 1");
    const struct {
        const char* ergebnis;
        int sid;
    } cases[] = {{"3:1", 101}, {"1:3", 102}, {"3:0", 101}, {"2:3", 102}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ergebnis);
        finishMatch(1, QString::fromLatin1(c.ergebnis));
        const PlanLayout finished = koplanerstellen(load(), 1, 2);
        const PlanText* winner = findNamed(finished, "Sieger1");
        ASSERT_NE(winner, nullptr);
        EXPECT_EQ(winner->text, nameOf(c.sid));
    }
}

TEST_P(KoPlanDb, ByesReadFreilosAndTheirOpponentStandsInTheNextColumn) {
    settings({1, -1, -1});
    write([] {
        DrawPlan p;
        p.phases[0] = bracket(PhasePlan::EinfachesKO, entries(3));
        return p;
    }());
    const PlanLayout l = koplanerstellen(load(), 1, 2);
    // Slot 4 of the bracket of four is the bye: side 2 of match 2, whose winner plays the final.
    const PlanText* bye = findText(l, "Freilos");
    ASSERT_NE(bye, nullptr);
    EXPECT_EQ(bye->sid, -2);
    EXPECT_EQ(bye->box.topLeft(), QPoint(33, 4 * 24 + 48 - 13));
    const PlanText* sieger2 = findNamed(l, "Sieger2");
    ASSERT_NE(sieger2, nullptr);
    EXPECT_EQ(sieger2->text, nameOf(103));
    EXPECT_EQ(sieger2->sid, 103);
}

TEST_P(KoPlanDb, DoubleKnockOutIsDrawnFromTheGridOfItsBlock) {
    settings({2, -1, -1});
    write([] {
        DrawPlan p;
        p.phases[0] = bracket(PhasePlan::DoppeltesKO, entries(8));
        return p;
    }());
    const PlanLayout l = doppeltes_koplanerstellen(load(), 1, 2);
    ASSERT_TRUE(l.error.isEmpty()) << str(l.error);
    // Block "8:": 7 columns, 34 rows, 14 matches.
    EXPECT_EQ(l.size, QSize(8 * 180, 35 * 12 + 48));
    EXPECT_EQ(l.cells.size(), 14);
    // Match 1 (columns 0 to 1, rows 1 and 3): not indented.
    const PlanText* a = findText(l, nameOf(101));
    const PlanText* b = findText(l, nameOf(102));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->box.topLeft(), QPoint(33, 12 + 48 - 13));
    EXPECT_EQ(b->box.topLeft(), QPoint(33, 3 * 12 + 48 - 13));
    EXPECT_EQ(a->box.height(), 22);
    EXPECT_EQ(findCell(l, "status1")->box, QRect(211, (3 * 12 + 48 + 12 + 48 - 26) / 2, 25, 16));
    // Caption "-1,1,…,0,1,19,19": the loser of match 1, indented by 24.
    const PlanText* caption = findText(l, "Verlierer Spiel 1");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->box.topLeft(), QPoint(24 + 30 + 3, 19 * 12 + 48 - 13));
    EXPECT_TRUE(std::any_of(l.lines.begin(), l.lines.end(), [](const PlanLine& line) {
        return line.from == QPoint(54, 19 * 12 + 48) && line.to == QPoint(210, 19 * 12 + 48);
    }));
    // Match 9 "9,7,6,1,0,…,2,3,20,24": winner of 7 against loser of 6, from column 2 (indented).
    const PlanStatusCell* m9 = findCell(l, "status9");
    ASSERT_NE(m9, nullptr);
    EXPECT_EQ(m9->box.topLeft(), QPoint(3 * 180 + 30 + 1, (20 * 12 + 48 + 24 * 12 + 48 - 26) / 2));
    const PlanText* w7 = findText(l, "Sieger Spiel 7");
    ASSERT_NE(w7, nullptr);
    EXPECT_EQ(w7->box.topLeft(), QPoint(2 * 180 + 24 + 30 + 3, 20 * 12 + 48 - 13));
}

TEST_P(KoPlanDb, ALaterDoubleKnockOutNumbersItsCaptionsAfterThePhaseBefore) {
    settings({0, 2, -1}, {2, 0, 0}, {2, 0, 0});
    DrawPlan p;
    p.phases[0] = entryGroups(2, 2);
    p.phases[1] = bracket(PhasePlan::DoppeltesKO,
                          {PlanSlot{-1, "Sieger Gruppe A", 0, 0}, PlanSlot{-1, "Sieger Gruppe B", 1, 0},
                           PlanSlot{-1, "Zweiter Gruppe A", 0, 1}, PlanSlot{-1, "Zweiter Gruppe B", 1, 1}});
    write(p);
    const PlanLayout l = doppeltes_koplanerstellen(load(), 2, 2);
    ASSERT_TRUE(l.error.isEmpty()) << str(l.error);
    // Two group matches come first: the block's match 1 is match 3.
    EXPECT_NE(findText(l, "Verlierer Spiel 3"), nullptr);
    EXPECT_NE(findCell(l, "status3"), nullptr);
    EXPECT_EQ(findCell(l, "status1"), nullptr);
    EXPECT_NE(findText(l, "Sieger Gruppe A"), nullptr);
}

TEST_P(KoPlanDb, AMissingOrBrokenBlockNamesFileAndSizeAndDrawsNothing) {
    settings({2, -1, -1});
    write([] {
        DrawPlan p;
        p.phases[0] = bracket(PhasePlan::DoppeltesKO, entries(8));
        return p;
    }());
    QTemporaryDir dir;
    const QString path = dir.filePath("ko_system.txt");
    const struct {
        const char* id;
        const char* content; // nullptr: no file
        const char* error;
    } cases[] = {
        {"no block for 8", "4:\n1,2,2\n1,-1,-1,-3,-3,0,0,1,1,3\n",
         "Die Datei \"ko_system.txt\" enthält keinen Plan für 8 Teilnehmer."},
        {"block ends early", "8:\n23,7,34\n1,-1,-1,-3,-3,0,0,1,1,3\n2,-1,-1,-3,-3,0,0,1,5,7\n",
         "Die Datei \"ko_system.txt\" enthält keinen gültigen Plan für 8 Teilnehmer."},
        {"no file", nullptr, "ko_system.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        QFile::remove(path);
        if (c.content) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.content);
        }
        const PlanLayout l = phasenplan(load(path), 1, 2);
        EXPECT_TRUE(l.error.contains(QString::fromUtf8(c.error))) << str(l.error);
        EXPECT_TRUE(l.texts.isEmpty());
        EXPECT_TRUE(l.cells.isEmpty());
    }
}

VELMORA_INSTANTIATE_DB_TEST(KoPlanDb);

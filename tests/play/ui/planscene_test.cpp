// The renderer of plan layouts: texts in their boxes, status cells and tools found by name and clickable,
// pictures from the images folder or drawn, the error text of a page, the view's wheel step.
#include "play/ui/planscene.h"

#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

std::string str(const QString& s) {
    return s.toStdString();
}

PlanText name(const QRect& box, const QString& text, int size, int sid = -1) {
    PlanText t;
    t.box = box;
    t.text = text;
    t.size = size;
    t.sid = sid;
    return t;
}

// Two name cells side by side, as in a bracket column and the cell after it.
struct NameCase {
    const char* id;
    QString text;
    int size;
    int width;
    bool elided;
};

class PlanSceneNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(PlanSceneNames, ANameStaysInItsBoxAndALongOneIsElidedWithItsWholeTextAsTooltip) {
    const NameCase& c = GetParam();
    PlanLayout layout;
    layout.size = QSize(600, 100);
    layout.texts << name(QRect(30, 40, c.width, 20), c.text, c.size, 7);
    layout.texts << name(QRect(30 + c.width, 40, c.width, 20), QStringLiteral("Nachbar"), c.size, 8);
    layout.texts.last().name = QStringLiteral("Sieger3");
    PlanScene scene;
    scene.setPlan(layout);

    const QList<PlanTextItem*> texts = scene.texts();
    ASSERT_EQ(texts.size(), 2);
    const PlanTextItem* item = texts[0];
    EXPECT_EQ(item->text(), c.text);
    EXPECT_EQ(item->elided(), c.elided) << str(item->shownText());
    // What is painted measures no wider than the box, so it ends before the neighbour begins.
    const QFontMetrics fm(item->font());
    EXPECT_LE(fm.horizontalAdvance(item->shownText()), c.width) << str(item->shownText());
    EXPECT_LE(item->boundingRect().right(), texts[1]->boundingRect().left());
    if (c.elided) {
        EXPECT_TRUE(item->shownText().endsWith(QChar(0x2026))) << str(item->shownText());
        EXPECT_TRUE(c.text.startsWith(item->shownText().chopped(1)));
        EXPECT_EQ(item->toolTip(), c.text);
    } else {
        EXPECT_EQ(item->shownText(), c.text);
        EXPECT_TRUE(item->toolTip().isEmpty());
    }
    EXPECT_EQ(scene.textItem(QStringLiteral("Sieger3")), texts[1]);
}

const QString kLong = QStringLiteral("Müller-Lüdenscheidt-Oberhausen, Hans-Jürgen Maximilian D'Arc");

INSTANTIATE_TEST_SUITE_P(
    Texts, PlanSceneNames,
    ::testing::Values(NameCase{"long_zoom1", kLong, 7, 118, true}, NameCase{"long_zoom2", kLong, 8, 178, true},
                      NameCase{"long_zoom3", kLong, 9, 238, true},
                      NameCase{"umlauts_fit", QStringLiteral("Größ, Jürgen"), 8, 178, false},
                      NameCase{"apostrophe_fit", QStringLiteral("O'Brien, Siân"), 7, 118, false}),
    [](const auto& info) { return std::string(info.param.id); });

TEST(PlanScene, TheLongNameIsSixtyCharacters) {
    EXPECT_EQ(kLong.size(), 60);
}

// A page with one match of a group (cell and mirrored cell), a name and the three tools.
PlanLayout seite() {
    PlanLayout l;
    l.size = QSize(700, 300);
    l.lines << PlanLine{QPoint(20, 50), QPoint(190, 50)};
    l.rects << PlanRect{QRect(190, 50, 30, 20)};
    l.texts << name(QRect(48, 54, 145, 18), QStringLiteral("Meier, Anna"), 8, 12);
    l.texts << name(QRect(48, 74, 145, 18), QStringLiteral("Gruppe A"), 8);
    l.cells << PlanStatusCell{QRect(221, 71, 29, 19), 4, false, QStringLiteral("status4")};
    l.cells << PlanStatusCell{QRect(251, 51, 29, 19), 4, true, QStringLiteral("statusx4")};
    l.tools << PlanTool{QRect(20, 5, 16, 16), PlanToolAction::MatchList, QStringLiteral("document_time.bmp"),
                        QStringLiteral("Gesamtspielplan anzeigen"), -1};
    l.tools << PlanTool{QRect(45, 5, 16, 16), PlanToolAction::Redraw, QStringLiteral("replace.bmp"),
                        QStringLiteral("Phase neu auslosen"), -1};
    l.tools << PlanTool{QRect(100, 30, 16, 16), PlanToolAction::MatchList, QStringLiteral("document_time.bmp"),
                        QStringLiteral("Gruppenspielplan anzeigen"), 2};
    return l;
}

struct Shown {
    PlanScene scene;
    PlanView view{&scene};
    explicit Shown(const QString& images = QString()) : scene(images) {
        view.resize(500, 200);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    void press(const QPointF& scenePos, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(view.viewport(), button, {}, view.mapFromScene(scenePos));
        QTest::mouseRelease(view.viewport(), button, {}, view.mapFromScene(scenePos));
        QCoreApplication::processEvents();
    }
};

TEST(PlanScene, StatusCellsAreFoundByNameAndReportTheirMatchSideAndButton) {
    Shown s;
    s.scene.setPlan(seite());
    PlanStatusItem* cell = s.scene.statusCell(QStringLiteral("status4"));
    PlanStatusItem* mirrored = s.scene.statusCell(QStringLiteral("statusx4"));
    ASSERT_TRUE(cell && mirrored);
    EXPECT_EQ(cell->boundingRect(), QRectF(221, 71, 29, 19));
    EXPECT_FALSE(cell->mirrored());
    EXPECT_TRUE(mirrored->mirrored());
    EXPECT_EQ(cell->state(), 1);
    EXPECT_EQ(s.scene.statusCells().size(), 2);

    QSignalSpy spy(&s.scene, &PlanScene::statusClicked);
    s.press(cell->boundingRect().center());
    s.press(mirrored->boundingRect().center(), Qt::RightButton);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[0][0].toInt(), 4);
    EXPECT_FALSE(spy[0][1].toBool());
    EXPECT_EQ(spy[0][2].value<Qt::MouseButton>(), Qt::LeftButton);
    EXPECT_TRUE(spy[1][1].toBool());
    EXPECT_EQ(spy[1][2].value<Qt::MouseButton>(), Qt::RightButton);

    // A click whose action draws the page anew (a result entered, the page redrawn) is reported after the
    // mouse event, when the clicked item may go.
    int redrawn = 0;
    QObject::connect(&s.scene, &PlanScene::statusClicked, &s.scene, [&] {
        s.scene.setPlan(seite());
        ++redrawn;
    });
    QSignalSpy clicked(&s.scene, &PlanScene::statusClicked);
    QTest::mousePress(s.view.viewport(), Qt::LeftButton, {}, s.view.mapFromScene(QPointF(230, 80)));
    EXPECT_EQ(clicked.count(), 0) << "not while the press is delivered";
    QCoreApplication::processEvents();
    EXPECT_EQ(redrawn, 1);
    QTest::mouseRelease(s.view.viewport(), Qt::LeftButton, {}, s.view.mapFromScene(QPointF(230, 80)));
    ASSERT_NE(s.scene.statusCell(QStringLiteral("status4")), nullptr);
    QObject::disconnect(&s.scene, &PlanScene::statusClicked, &s.scene, nullptr);

    // Drawing the page again replaces every item: the old names are gone.
    PlanLayout other;
    other.size = QSize(100, 100);
    s.scene.setPlan(other);
    EXPECT_EQ(s.scene.item(QStringLiteral("status4")), nullptr);
    EXPECT_TRUE(s.scene.items().isEmpty());
}

TEST(PlanScene, ToolsShowTheirPictureAndHintAndReportTheirActionAndTag) {
    QTemporaryDir dir;
    // Only the redraw picture is there; the others are drawn.
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(QColor(10, 200, 30));
    ASSERT_TRUE(picture.save(QDir(dir.path()).filePath(QStringLiteral("replace.bmp")), "BMP"));
    Shown s(dir.path());
    s.scene.setPlan(seite());
    const QList<PlanToolItem*> tools = s.scene.tools();
    ASSERT_EQ(tools.size(), 3);
    EXPECT_EQ(tools[0]->toolTip(), QStringLiteral("Gesamtspielplan anzeigen"));
    EXPECT_EQ(tools[2]->toolTip(), QStringLiteral("Gruppenspielplan anzeigen"));
    for (const PlanToolItem* t : tools) {
        EXPECT_EQ(t->pixmap().size(), QSize(16, 16));
        EXPECT_EQ(t->cursor().shape(), Qt::PointingHandCursor);
    }
    EXPECT_EQ(tools[1]->pixmap().toImage().pixelColor(8, 8), QColor(10, 200, 30)) << "the file's picture";
    EXPECT_NE(tools[0]->pixmap().toImage().pixelColor(8, 8), QColor(10, 200, 30));

    QSignalSpy spy(&s.scene, &PlanScene::toolClicked);
    s.press(QPointF(108, 38));
    s.press(QPointF(53, 13));
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[0][0].value<PlanToolAction>(), PlanToolAction::MatchList);
    EXPECT_EQ(spy[0][1].toInt(), 2);
    EXPECT_EQ(spy[1][0].value<PlanToolAction>(), PlanToolAction::Redraw);
    EXPECT_EQ(spy[1][1].toInt(), -1);
}

TEST(PlanScene, PressingANameWithAnEntryIdReportsItAndTheReleaseFollows) {
    Shown s;
    s.scene.setPlan(seite());
    QSignalSpy pressed(&s.scene, &PlanScene::namePressed);
    QSignalSpy released(&s.scene, &PlanScene::nameReleased);
    s.press(QPointF(60, 60));
    ASSERT_EQ(pressed.count(), 1);
    EXPECT_EQ(pressed[0][0].toInt(), 12);
    EXPECT_EQ(released.count(), 1);
    // A text without an entry is no name.
    s.press(QPointF(60, 80));
    EXPECT_EQ(pressed.count(), 1);
}

TEST(PlanScene, APageThatCannotBeDrawnShowsItsGermanMessage) {
    PlanLayout l;
    l.error = QStringLiteral("In der Datei \"ko_system.txt\" fehlt der Plan für 64 Teilnehmer.");
    PlanScene scene;
    scene.setPlan(l);
    EXPECT_EQ(scene.errorText(), l.error);
    bool shown = false;
    for (QGraphicsItem* i : scene.items())
        if (auto* t = dynamic_cast<QGraphicsTextItem*>(i)) shown = shown || t->toPlainText() == l.error;
    EXPECT_TRUE(shown);
    EXPECT_FALSE(scene.sceneRect().isEmpty());
}

TEST(PlanView, TheWheelScrollsFivePixelsPerNotch) {
    PlanScene scene;
    PlanLayout l;
    l.size = QSize(400, 3000);
    l.lines << PlanLine{QPoint(0, 0), QPoint(0, 3000)};
    scene.setPlan(l);
    PlanView view(&scene);
    view.resize(300, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QScrollBar* bar = view.verticalScrollBar();
    bar->setValue(100);
    auto wheel = [&](int delta) {
        const QPointF at(50, 50);
        QWheelEvent e(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view.viewport(), &e);
    };
    wheel(-120);
    EXPECT_EQ(bar->value(), 105);
    wheel(-240);
    EXPECT_EQ(bar->value(), 115);
    wheel(120);
    EXPECT_EQ(bar->value(), 110);
}

} // namespace

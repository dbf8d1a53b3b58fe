// The scheduler window over a real plan: what it shows of the grid, and drops made with drag events.
#include "play/ui/tplanung.h"

#include "play/plan_fixture.h"
#include "store/appstate.h"

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <memory>

using namespace plantest;

namespace {

class TplanungTest : public PlanTest {
protected:
    void SetUp() override {
        PlanTest::SetUp();
        if (IsSkipped()) return;
        db().exec("INSERT INTO Turnierdaten (TID, turniername, tvon, tbis) VALUES (1, 'T', :v, :b)",
                  {{":v", QDate(2026, 5, 1)}, {":b", QDate(2026, 5, 2)}});
        db().exec("UPDATE Turnierklassen SET farbe='orange' WHERE KID=:k", {{":k", kKid}});
        for (const char* t : {"Tisch 1", "Tisch 2"})
            tisch(kKid, QString::fromUtf8(t));
        settings({0, -1, -1}, {1, 0, 0}, {4, 0, 0});
        DrawPlan plan;
        plan.phases[0] = entryGroups(1, 4);
        write(plan);
        if (HasFatalFailure()) return;
        klasse(9, 1); // "Klasse 9", doubles, no matches
        state.tid = 1;
        state.turniername = "T";
        fenster = std::make_unique<Tplanung>(state, db(), ui);
        ASSERT_TRUE(fenster->oeffnen());
        fenster->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(fenster.get()));
        gitter = fenster->findChild<QTableWidget*>("StringGrid1");
        liste = fenster->findChild<QListWidget*>("ListBox1");
        ASSERT_TRUE(gitter && liste);
    }
    void TearDown() override {
        fenster.reset();
        PlanTest::TearDown();
    }

    // Drops `daten` on the cell of grid row `zeile` (1 = 00:10) and column `spalte`, or on the list.
    void fallenLassen(QWidget* ziel, QPoint punkt, const QByteArray& daten) {
        QMimeData mime;
        mime.setData("application/x-velmora-planung", daten);
        QDragEnterEvent enter(punkt, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(ziel, &enter);
        QDropEvent drop(punkt, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(ziel, &drop);
        QApplication::processEvents();
    }
    QPoint zelle(int spalte, int zeile) {
        gitter->scrollToItem(gitter->item(zeile - 1, 0));
        return gitter->visualRect(gitter->model()->index(zeile - 1, spalte)).center();
    }
    QString text(int spalte, int zeile) {
        const QTableWidgetItem* i = gitter->item(zeile - 1, spalte);
        return i ? i->text() : QString();
    }

    AppState state;
    std::unique_ptr<Tplanung> fenster;
    QTableWidget* gitter = nullptr;
    QListWidget* liste = nullptr;
};

TEST_P(TplanungTest, ShowsTheDayAndPlansWhatIsDropped) {
    EXPECT_EQ(fenster->windowTitle(), "Spieleplaner");
    auto* klassen = fenster->findChild<QComboBox*>("ComboBox1");
    ASSERT_EQ(klassen->count(), 2);
    EXPECT_EQ(klassen->itemText(0), "Klasse 5 (Einzel)");
    EXPECT_EQ(klassen->itemText(1), "Klasse 9 (Doppel)");
    EXPECT_EQ(fenster->findChild<QComboBox*>("ColorBox1")->currentText(), "orange");
    EXPECT_EQ(fenster->findChild<QLineEdit*>("Edit1")->text(), "01.05.2026");
    EXPECT_EQ(fenster->findChild<QLabel*>("bis")->text(), "02.05.2026");
    ASSERT_EQ(gitter->columnCount(), 3);
    EXPECT_EQ(gitter->horizontalHeaderItem(0)->text(), "Uhrzeit");
    EXPECT_EQ(gitter->horizontalHeaderItem(2)->text(), "Tisch 2");
    EXPECT_EQ(text(0, 87), "14:30");
    ASSERT_EQ(liste->count(), 6);

    const PlanSpiel erstes = fenster->planung()->ungeplant(kKid).first();
    fallenLassen(gitter->viewport(), zelle(2, 87), "liste:0");
    EXPECT_EQ(text(2, 87), erstes.spieler1);
    EXPECT_EQ(text(2, 88), erstes.spieler2);
    EXPECT_EQ(gitter->item(86, 2)->background().color(), QColor("orange"));
    EXPECT_EQ(liste->count(), 5);
    EXPECT_EQ(matchrecord::readMatch(db(), kKid, erstes.spielnummer)->geplante_zeit.time(), QTime(14, 30));

    // The next day has its own grid; back again, the match is where it was.
    QTest::mouseClick(fenster->findChild<QToolButton*>("Image2"), Qt::LeftButton);
    EXPECT_EQ(fenster->findChild<QLineEdit*>("Edit1")->text(), "02.05.2026");
    EXPECT_TRUE(text(2, 87).isEmpty());
    QTest::mouseClick(fenster->findChild<QToolButton*>("Image1"), Qt::LeftButton);
    EXPECT_EQ(text(2, 87), erstes.spieler1);

    // Moved within the grid, then dragged back to the list.
    fallenLassen(gitter->viewport(), zelle(1, 60), "zelle:2,88");
    EXPECT_TRUE(text(2, 87).isEmpty());
    EXPECT_EQ(text(1, 60), erstes.spieler1);
    fallenLassen(liste->viewport(), liste->viewport()->rect().center(), "zelle:1,61");
    EXPECT_TRUE(text(1, 60).isEmpty());
    EXPECT_EQ(liste->count(), 6);
    EXPECT_FALSE(matchrecord::readMatch(db(), kKid, erstes.spielnummer)->geplante_zeit.isValid());
    EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'\n'));
}

TEST_P(TplanungTest, AColourChosenRecoloursTheClassInListAndGrid) {
    fallenLassen(gitter->viewport(), zelle(1, 75), "liste:0");
    auto* farben = fenster->findChild<QComboBox*>("ColorBox1");
    const int gruen = farben->findText("yellowgreen");
    ASSERT_GE(gruen, 0);
    farben->setCurrentIndex(gruen);
    emit farben->activated(gruen);
    EXPECT_EQ(gitter->item(74, 1)->background().color(), QColor("yellowgreen"));
    EXPECT_EQ(gitter->item(75, 1)->background().color(), QColor("yellowgreen"));
    EXPECT_EQ(liste->item(0)->background().color(), QColor("yellowgreen"));
    EXPECT_EQ(db().selectOne("SELECT farbe FROM Turnierklassen WHERE KID=:k", {{":k", kKid}}).text(u"farbe"),
              "yellowgreen");
}

TEST_P(TplanungTest, ADropOnTheLastRowIsRefusedWithAMessage) {
    fallenLassen(gitter->viewport(), zelle(1, 143), "liste:0");
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, Planung::letzteZeileText());
    EXPECT_TRUE(text(1, 143).isEmpty());
    EXPECT_EQ(liste->count(), 6);
}

VELMORA_INSTANTIATE_DB_TEST(TplanungTest);

} // namespace

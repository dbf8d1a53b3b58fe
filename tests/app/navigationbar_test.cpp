#include "app/navigationbar.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class NavigationBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* c : {"Eins", "Zwei", "Drei"})
            bar.addItem(QString::fromUtf8(c));
    }
    NavigationBar bar{QStringLiteral("Leiste")};
};

TEST_F(NavigationBarTest, HeaderFoldsTheItemsInAndOut) {
    bar.show();
    QSignalSpy spy(&bar, &NavigationBar::expandedChanged);
    ASSERT_FALSE(bar.isExpanded());
    EXPECT_FALSE(bar.itemButton(0)->isVisible());

    bar.header()->click();
    EXPECT_TRUE(bar.isExpanded());
    EXPECT_TRUE(bar.itemButton(0)->isVisible());

    bar.header()->click();
    EXPECT_FALSE(bar.isExpanded());
    EXPECT_FALSE(bar.itemButton(2)->isVisible());
    EXPECT_EQ(spy.count(), 2);
}

TEST_F(NavigationBarTest, ChoosingAnItemReportsIndexAndCaption) {
    QSignalSpy spy(&bar, &NavigationBar::itemChosen);
    bar.itemButton(1)->click();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].toInt(), 1);
    EXPECT_EQ(spy[0][1].toString(), QStringLiteral("Zwei"));
}

TEST_F(NavigationBarTest, DisabledItemsAndBarsCannotBeChosen) {
    QSignalSpy spy(&bar, &NavigationBar::itemChosen);
    bar.setItemEnabled(0, false);
    bar.itemButton(0)->click();
    EXPECT_EQ(spy.count(), 0);

    // The item's own state survives disabling and enabling the bar.
    bar.setBarEnabled(false);
    EXPECT_FALSE(bar.isItemEnabled(0));
    EXPECT_TRUE(bar.isItemEnabled(1));
    bar.itemButton(1)->click();
    EXPECT_EQ(spy.count(), 0);

    bar.setBarEnabled(true);
    EXPECT_FALSE(bar.isItemEnabled(0));
    bar.itemButton(1)->click();
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(NavigationBarTest, CaptionsWithAmpersandStayLiteral) {
    const QString caption = QStringLiteral("U18 & U15 (Einzel)");
    const int i = bar.addItem(caption);
    EXPECT_EQ(bar.itemCaption(i), caption);
    EXPECT_EQ(bar.itemButton(i)->accessibleName(), caption);
    EXPECT_EQ(bar.itemButton(i)->text(), QStringLiteral("U18 && U15 (Einzel)"));
    EXPECT_EQ(bar.indexOf(caption), i);

    bar.renameItem(i, QStringLiteral("A&B"));
    EXPECT_EQ(bar.itemCaptions(), (QStringList{"Eins", "Zwei", "Drei", "A&B"}));
    EXPECT_EQ(bar.itemButton(i)->text(), QStringLiteral("A&&B"));
}

TEST_F(NavigationBarTest, AnItemCanRemoveItselfWhileChosen) {
    QObject::connect(&bar, &NavigationBar::itemChosen, &bar,
                     [this](int index, const QString&) { bar.removeItem(index); });
    bar.itemButton(1)->click();
    EXPECT_EQ(bar.itemCaptions(), (QStringList{"Eins", "Drei"}));
    bar.itemButton(1)->click();
    EXPECT_EQ(bar.itemCaptions(), QStringList{"Eins"});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(bar.findChildren<QAbstractButton*>().size(), 2); // header and "Eins"
}

TEST_F(NavigationBarTest, KeyboardReachesAndChoosesItems) {
    bar.setExpanded(true);
    bar.show();
    QSignalSpy spy(&bar, &NavigationBar::itemChosen);
    bar.header()->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&bar));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), bar.itemButton(1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][1].toString(), QStringLiteral("Zwei"));
}

} // namespace

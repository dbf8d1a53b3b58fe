#include "draw/ui/teamform.h"

#include "common/clock.h"
#include "store/appstate.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

const QString kUngueltig = QStringLiteral("Geben Sie einen gültigen Spieler ein");

// Team class 10 with three players, one reserve and the rubbers A1-B3, D2-D1, (none), A2-D2.
class TeamformTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        state.tid = 1;
        state.turniername = QStringLiteral("Pokal");
        db().exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, system, kbezeichnung) VALUES "
                                 "(10, 1, 3, 'Herren'), (11, 1, 3, 'Damen')"));
        db().exec(QStringLiteral(
            "INSERT INTO Teamsystem (TID, KID, spieler, reserve, s1a, s1b, s2a, s2b, s4a, s4b) "
            "VALUES (1, 10, 3, 1, 1, 3, 12, 11, 2, 12)"));
        form = std::make_unique<Tteamform>(state, db(), ui, clock);
    }
    void TearDown() override {
        form.reset();
        DbTest::TearDown();
    }

    template <typename W> W* child(const QString& name) {
        W* w = form->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QComboBox* box(char side, int spiel) {
        return child<QComboBox>(QStringLiteral("%1%2").arg(QLatin1Char(side)).arg(spiel));
    }
    QSpinBox* spieler() { return child<QSpinBox>(QStringLiteral("spieler")); }
    QStringList items(QComboBox* c) {
        QStringList l;
        for (int i = 0; i < c->count(); ++i)
            l << c->itemText(i);
        return l;
    }

    void showActive() {
        form->edit(10);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    // Types into a box and leaves it with the tab key, as the user would.
    void typeAndLeave(QComboBox* c, const QString& text) {
        c->setFocus();
        QTRY_VERIFY(c->hasFocus());
        c->lineEdit()->selectAll();
        QTest::keyClicks(c->lineEdit(), text);
        QTest::keyClick(c->lineEdit(), Qt::Key_Tab);
    }

    AppState state;
    ScriptedInteraction ui;
    FixedClock clock{QDateTime(QDate(2024, 5, 4), QTime(9, 0))};
    std::unique_ptr<Tteamform> form;
};

TEST_P(TeamformTest, EditShowsTheClassesStoredSystem) {
    form->edit(10);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Teamsystem bearbeiten"));
    EXPECT_EQ(spieler()->value(), 3);
    EXPECT_EQ(child<QSpinBox>(QStringLiteral("reserve"))->value(), 1);
    const QStringList a = {"A1", "D2", "", "A2", "", "", "", "", ""};
    const QStringList b = {"B3", "D1", "", "D2", "", "", "", "", ""};
    for (int k = 1; k <= 9; ++k) {
        EXPECT_EQ(box('a', k)->currentText(), a[k - 1]) << k;
        EXPECT_EQ(box('b', k)->currentText(), b[k - 1]) << k;
    }
    EXPECT_EQ(items(box('a', 5)), QStringList({"A1", "A2", "A3", "D1", "D2"}));
    EXPECT_EQ(items(box('b', 9)), QStringList({"B1", "B2", "B3", "D1", "D2"}));
    // Every box is found by its label.
    const QLabel* label = nullptr;
    for (const QLabel* l : form->findChildren<QLabel*>())
        if (l->text() == QStringLiteral("Spiel 4")) label = l;
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->buddy(), box('a', 4));
    EXPECT_EQ(box('b', 4)->accessibleName(), QStringLiteral("Spiel 4 Team B"));

    // A class without row shows a new class's system.
    form->hide();
    form->edit(11);
    EXPECT_EQ(spieler()->value(), 4);
    EXPECT_EQ(box('a', 1)->currentText(), QString());
    EXPECT_EQ(form->teamsystem(), TeamSystem{});
}

struct SizeCase {
    int typed;
    int shown;
    QStringList choicesA;
    QStringList choicesB;
};

TEST_P(TeamformTest, ThePlayersPerTeamRebuildTheChoicesOfEveryBox) {
    const SizeCase cases[] = {
        {1, 1, {"A1", "D1", "D2"}, {"B1", "D1", "D2"}},
        {4, 4, {"A1", "A2", "A3", "A4", "D1", "D2"}, {"B1", "B2", "B3", "B4", "D1", "D2"}},
        {-2, 0, {"D1", "D2"}, {"D1", "D2"}},
        {9, 4, {"A1", "A2", "A3", "A4", "D1", "D2"}, {"B1", "B2", "B3", "B4", "D1", "D2"}},
    };
    form->edit(10);
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.typed);
        spieler()->setValue(c.typed);
        EXPECT_EQ(spieler()->value(), c.shown);
        for (int k = 1; k <= 9; ++k) {
            EXPECT_EQ(items(box('a', k)), c.choicesA) << k;
            EXPECT_EQ(items(box('b', k)), c.choicesB) << k;
        }
        EXPECT_EQ(box('a', 1)->currentText(), QStringLiteral("A1")) << "the boxes keep their text";
    }
    child<QSpinBox>(QStringLiteral("reserve"))->setValue(5);
    EXPECT_EQ(child<QSpinBox>(QStringLiteral("reserve"))->value(), 2);
}

struct LeaveCase {
    QString typed;
    QString shown;
    bool refused;
};

TEST_P(TeamformTest, LeavingABoxRefusesATextThatIsNoChoice) {
    const LeaveCase cases[] = {
        {"A4", "", true}, {"a2", "A2", false}, {"D1", "D1", false}, {"B1", "", true}, {"", "", false},
    };
    showActive();
    for (const LeaveCase& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        ui.clear();
        QComboBox* a3 = box('a', 3);
        typeAndLeave(a3, c.typed);

        EXPECT_EQ(a3->currentText(), c.shown);
        if (c.refused) {
            ASSERT_EQ(ui.messages.size(), 1);
            EXPECT_EQ(ui.messages[0].text, kUngueltig);
            EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Warning);
            EXPECT_EQ(ui.messages[0].button, Interaction::Button::Cancel);
            EXPECT_TRUE(a3->hasFocus()) << "the focus returns to the box";
        } else {
            EXPECT_TRUE(ui.messages.isEmpty());
            EXPECT_FALSE(a3->hasFocus());
        }
    }
}

TEST_P(TeamformTest, UebernehmenKeepsTheSystemForTheClassSave) {
    showActive();
    QSignalSpy changed(form.get(), &Tteamform::uebernommen);
    spieler()->setValue(4);
    typeAndLeave(box('a', 3), QStringLiteral("A4"));
    typeAndLeave(box('b', 3), QStringLiteral("b4"));
    typeAndLeave(box('a', 9), QStringLiteral("D1")); // one side only
    QTest::mouseClick(child<QPushButton>(QStringLiteral("uebernehmen")), Qt::LeftButton);

    EXPECT_TRUE(ui.messages.isEmpty()) << ui.texts().join(u'\n').toStdString();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_FALSE(form->isVisible());
    const TeamSystem s = form->teamsystem();
    EXPECT_EQ(s.spieler, 4);
    EXPECT_EQ(s.spiele[2], (TeamRubber{4, 4}));
    EXPECT_EQ(s.rubberCount(), 4);

    // What the class save writes and the next load shows.
    teamsystem::aendern(db(), 1, 10, s);
    const Row r = db().selectOne(QStringLiteral("SELECT * FROM Teamsystem WHERE KID=10"));
    EXPECT_EQ(r.integer(u"spieler"), 4);
    EXPECT_EQ(r.integer(u"s3a"), 4);
    EXPECT_EQ(r.integer(u"s3b"), 4);
    EXPECT_TRUE(r.isNull(u"s9a"));
    EXPECT_TRUE(r.isNull(u"s9b"));
    form->system_laden(10);
    form->edit(10);
    EXPECT_EQ(box('b', 3)->currentText(), QStringLiteral("B4"));
    EXPECT_EQ(box('a', 9)->currentText(), QString());
}

TEST_P(TeamformTest, UebernehmenRefusesABoxBeyondTheTeamSize) {
    showActive();
    QSignalSpy changed(form.get(), &Tteamform::uebernommen);
    spieler()->setValue(4);
    typeAndLeave(box('a', 5), QStringLiteral("A4"));
    spieler()->setValue(3); // "A4" is no choice any more
    ASSERT_EQ(box('a', 5)->currentText(), QStringLiteral("A4"));
    ASSERT_TRUE(ui.messages.isEmpty());

    QTest::mouseClick(child<QPushButton>(QStringLiteral("uebernehmen")), Qt::LeftButton);

    EXPECT_EQ(ui.texts(), QStringList({kUngueltig}));
    EXPECT_EQ(changed.count(), 0);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(box('a', 5)->currentText(), QString());
    EXPECT_TRUE(box('a', 5)->hasFocus());
    EXPECT_EQ(form->teamsystem().spieler, 3) << "nothing confirmed: still the loaded system";
}

TEST_P(TeamformTest, ZurueckForgetsTheEdits) {
    showActive();
    const TeamSystem loaded = form->teamsystem();
    QSignalSpy changed(form.get(), &Tteamform::uebernommen);
    spieler()->setValue(1);
    typeAndLeave(box('a', 7), QStringLiteral("D2"));
    QTest::mouseClick(child<QPushButton>(QStringLiteral("zurueck")), Qt::LeftButton);

    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(form->teamsystem(), loaded);
    form->edit(10);
    EXPECT_EQ(spieler()->value(), 3);
    EXPECT_EQ(box('a', 7)->currentText(), QString());
    EXPECT_EQ(box('a', 1)->currentText(), QStringLiteral("A1"));
}

VELMORA_INSTANTIATE_DB_TEST(TeamformTest);

} // namespace

#include "draw/ui/teammelden.h"

#include "common/clock.h"
#include "store/appstate.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

// Team 5: players 1 and 2, the third and fourth positions empty, reserve 3. Player 4 plays for no team.
class TeammeldenTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        state.tid = 1;
        state.turniername = QStringLiteral("Pokal");
        const char* names[] = {"Adler", "Berg", "Christ", "Dorn"};
        for (int sid = 1; sid <= 4; ++sid)
            db().exec(QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname, vorname, angemeldet) "
                                     "VALUES (1, :s, :n, 'Vorname', :a)"),
                      {{":s", sid}, {":n", QString::fromLatin1(names[sid - 1])}, {":a", false}});
        db().exec(
            QStringLiteral("INSERT INTO Teams VALUES (1, 10, 5, 'Nord', 1, 2, 0, NULL, 3, 0, 0, 0, 0, 0, "
                           ":a, 'TTC')"),
            {{":a", false}});
        dialog = std::make_unique<Tteam_melden>(state, db(), ui, clock);
    }
    void TearDown() override {
        dialog.reset();
        DbTest::TearDown();
    }

    QCheckBox* box(int i) { return dialog->findChild<QCheckBox*>(QStringLiteral("melden%1").arg(i)); }
    QLabel* name(int i) { return dialog->findChild<QLabel*>(QStringLiteral("spieler%1").arg(i)); }
    QList<bool> present() {
        QList<bool> flags;
        for (const Row& r : db().select(QStringLiteral("SELECT angemeldet FROM Spielerdaten ORDER BY SID")))
            flags << r.boolean(u"angemeldet");
        return flags;
    }
    bool teamPresent() {
        return db()
            .selectOne(QStringLiteral("SELECT angemeldet FROM Teams WHERE MID=5"))
            .boolean(u"angemeldet");
    }

    AppState state;
    ScriptedInteraction ui;
    FixedClock clock{QDateTime(QDate(2024, 5, 4), QTime(9, 0))};
    std::unique_ptr<Tteam_melden> dialog;
};

struct Case {
    bool anmelden;
    const char* caption;
    const char* boxCaption;
    QList<bool> before;
    int untick; // box 1 to 3 unticked before Übernehmen, 0 none
    QList<bool> after;
};

TEST_P(TeammeldenTest, TheTeamAndItsTickedPlayersAreCheckedInOrOutTogether) {
    const Case cases[] = {
        {true, "Team anmelden", "anmelden", {false, false, false, false}, 0, {true, true, true, false}},
        {true, "Team anmelden", "anmelden", {false, false, false, false}, 2, {true, false, true, false}},
        {false, "Team abmelden", "abmelden", {true, true, true, true}, 0, {false, false, false, true}},
        {false, "Team abmelden", "abmelden", {true, true, true, true}, 3, {false, false, true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.caption << ", unticked " << c.untick);
        for (int sid = 1; sid <= 4; ++sid)
            db().exec(QStringLiteral("UPDATE Spielerdaten SET angemeldet=:a WHERE SID=:s"),
                      {{":a", c.before[sid - 1]}, {":s", sid}});
        db().exec(QStringLiteral("UPDATE Teams SET angemeldet=:a"), {{":a", !c.anmelden}});
        QSignalSpy refreshed(dialog.get(), &Tteam_melden::spielerGemeldet);

        dialog->teamanmeldung(5, c.anmelden);

        EXPECT_EQ(teamPresent(), c.anmelden);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(dialog->isModal());
        EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(c.caption));
        const QStringList names = {"Adler, Vorname", "Berg, Vorname", "Christ, Vorname"};
        for (int i = 1; i <= 6; ++i) {
            SCOPED_TRACE(i);
            const bool shown = i <= 3;
            EXPECT_EQ(box(i)->isVisible(), shown);
            EXPECT_EQ(name(i)->isVisible(), shown);
            if (!shown) continue;
            EXPECT_EQ(name(i)->text(), names[i - 1]);
            EXPECT_EQ(box(i)->text(), QString::fromUtf8(c.boxCaption));
            EXPECT_TRUE(box(i)->isChecked());
        }
        EXPECT_EQ(present(), c.before) << "players follow only with Übernehmen";

        if (c.untick > 0) QTest::mouseClick(box(c.untick), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("uebernehmen")), Qt::LeftButton);

        EXPECT_EQ(present(), c.after);
        EXPECT_EQ(refreshed.count(), 1);
        EXPECT_FALSE(dialog->isVisible());
    }
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_P(TeammeldenTest, AbbrechenLeavesThePlayersAsTheyWere) {
    QSignalSpy refreshed(dialog.get(), &Tteam_melden::spielerGemeldet);
    dialog->teamanmeldung(5, true);
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("abbrechen")), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(teamPresent());
    EXPECT_EQ(present(), QList<bool>({false, false, false, false}));
    EXPECT_EQ(refreshed.count(), 0);
}

VELMORA_INSTANTIATE_DB_TEST(TeammeldenTest);

} // namespace

#include "draw/teamcheckin.h"

#include "store/appstate.h"
#include "support/testdb.h"

namespace {

// Team 5 of tournament 1: players 1, 2 and 3 (the fourth position empty, stored as 0), reserve 4, the
// second reserve NULL, and its doubles naming player 6, who is not part of the team. Player 6 plays for
// team 7; a player of tournament 2 shares nothing with them.
class TeamCheckinTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        state.tid = 1;
        state.turniername = QStringLiteral("Pokal");
        state.trueValue = db().trueValue();
        const char* names[] = {"Adler", "Berg", "Christ", "Dorn", "Eck", "Fink"};
        for (int sid = 1; sid <= 6; ++sid)
            db().exec(QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname, vorname, angemeldet) "
                                     "VALUES (1, :s, :n, 'Vorname', :a)"),
                      {{":s", sid}, {":n", QString::fromLatin1(names[sid - 1])}, {":a", false}});
        db().exec(QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname, vorname, angemeldet) "
                                 "VALUES (2, 9, 'Fremd', 'Fritz', 0)"));
        db().exec(
            QStringLiteral("INSERT INTO Teams VALUES (1, 10, 5, 'Nord', 2, 1, 3, 0, 4, NULL, 6, 6, 6, 6, 0, "
                           "'TTC')"));
        db().exec(
            QStringLiteral("INSERT INTO Teams VALUES (1, 10, 7, 'Süd', 6, 5, NULL, NULL, -1, NULL, 0, 0, 0, "
                           "0, 0, 'SV')"));
        db().exec(
            QStringLiteral("INSERT INTO Teams VALUES (2, 20, 8, 'Gast', 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "
                           "'X')"));
    }

    QList<bool> present() {
        QList<bool> flags;
        for (const Row& r : db().select(QStringLiteral("SELECT angemeldet FROM Spielerdaten ORDER BY SID")))
            flags << r.boolean(u"angemeldet");
        return flags;
    }

    bool teamPresent(int mid) {
        return db()
            .selectOne(QStringLiteral("SELECT angemeldet FROM Teams WHERE MID=:m"), {{":m", mid}})
            .boolean(u"angemeldet");
    }

    AppState state;
};

TEST_P(TeamCheckinTest, TheDialogListsThePlayersAndReservesWithAPlayerInTheirOrder) {
    TeamMelden m(state, db());
    m.laden(5, true);
    QStringList texts;
    QList<int> positions;
    for (const TeamMeldeSpieler& s : m.spieler()) {
        texts << s.text;
        positions << s.position;
        EXPECT_TRUE(s.angekreuzt);
    }
    EXPECT_EQ(texts, QStringList({"Berg, Vorname", "Adler, Vorname", "Christ, Vorname", "Dorn, Vorname"}));
    EXPECT_EQ(positions, QList<int>({0, 1, 2, 4}));
    EXPECT_EQ(m.caption(), QStringLiteral("Team anmelden"));
    EXPECT_EQ(m.boxCaption(), QStringLiteral("anmelden"));

    m.laden(7, false);
    ASSERT_EQ(m.spieler().size(), 2) << "a negative value is an empty position too";
    EXPECT_EQ(m.spieler()[1].text, QStringLiteral("Eck, Vorname"));
    EXPECT_EQ(m.caption(), QStringLiteral("Team abmelden"));
    EXPECT_EQ(m.boxCaption(), QStringLiteral("abmelden"));

    m.laden(99, true);
    EXPECT_TRUE(m.spieler().isEmpty());
}

// Checking a team in or out marks the team and, with "Übernehmen", every player whose box stays ticked.
struct MarkCase {
    const char* what;
    bool anmelden;
    QList<bool> before; // players 1 to 6, then the other tournament's player
    QList<int> untick;  // rows of the dialog whose box is unticked
    QList<bool> after;
};

TEST_P(TeamCheckinTest, ThePlayersWithATickedBoxFollowTheirTeam) {
    const MarkCase cases[] = {
        {"check in all",
         true,
         {false, false, false, false, false, false, false},
         {},
         {true, true, true, true, false, false, false}},
        {"check in all but the reserve and the second player",
         true,
         {false, false, false, false, false, false, false},
         {3, 1},
         {false, true, true, false, false, false, false}},
        {"check out all",
         false,
         {true, true, true, true, true, true, true},
         {},
         {false, false, false, false, true, true, true}},
        {"check out, one stays",
         false,
         {true, true, true, true, true, true, true},
         {2},
         {false, false, true, false, true, true, true}},
    };
    for (const MarkCase& c : cases) {
        SCOPED_TRACE(c.what);
        for (int sid = 1; sid <= 6; ++sid)
            db().exec(QStringLiteral("UPDATE Spielerdaten SET angemeldet=:a WHERE SID=:s"),
                      {{":a", c.before[sid - 1]}, {":s", sid}});
        db().exec(QStringLiteral("UPDATE Spielerdaten SET angemeldet=:a WHERE SID=9"), {{":a", c.before[6]}});
        db().exec(QStringLiteral("UPDATE Teams SET angemeldet=:a"), {{":a", !c.anmelden}});

        TeamMelden m(state, db());
        m.teamanmeldung(5, c.anmelden);
        EXPECT_EQ(teamPresent(5), c.anmelden);
        EXPECT_EQ(teamPresent(7), !c.anmelden) << "other teams keep their mark";
        EXPECT_EQ(present(), c.before) << "the players follow only with Übernehmen";

        m.laden(5, c.anmelden);
        for (const int row : c.untick)
            m.setAngekreuzt(row, false);
        m.uebernehmen();
        EXPECT_EQ(present(), c.after);
    }
}

TEST_P(TeamCheckinTest, TheTeamMarkIsWrittenOnlyForTheCurrentTournament) {
    state.tid = 2;
    TeamMelden m(state, db());
    m.teamanmeldung(5, true);
    EXPECT_FALSE(teamPresent(5));
    m.teamanmeldung(8, true);
    EXPECT_TRUE(teamPresent(8));
}

VELMORA_INSTANTIATE_DB_TEST(TeamCheckinTest);

} // namespace

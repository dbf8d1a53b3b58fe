// The placement page: the number of placings, the placement matches it creates, filling their sides by
// dropping list entries and emptying them; and the match list window.
#include "play/plan_fixture.h"

using namespace plantest;

namespace {

class PlatzierungTest : public PlanTest {
protected:
    // Groups only: two groups of three, matches 1 to 6.
    void nurGruppen() {
        settings({0, -1, -1}, {2, 0, 0}, {3, 0, 0});
        DrawPlan p;
        p.phases[0] = entryGroups(2, 3);
        write(p);
    }
    // A single knock-out of four: matches 1 and 2, the final 3.
    void mitKo() {
        settings({1, -1, -1});
        DrawPlan p;
        p.phases[0] = bracket(PhasePlan::EinfachesKO, entries(4));
        write(p);
    }
    QVector<SpielplanRow> platzierungsspiele4() { return matchrecord::matchesOfPhase(db(), kKid, 4); }

    struct Side {
        int sid;
        QString name;
        int parentspiel;
        bool parentsieger;
        int parentGID;
        int parentpos;
        bool operator==(const Side&) const = default;
    };
    Side side(int snr, int s) {
        const SpielplanRow m = *matchrecord::readMatch(db(), kKid, snr);
        return s == 1 ? Side{m.SID1, m.spieler1, m.parentspiel1, m.parentsieger1, m.parentGID1, m.parentpos1}
                      : Side{m.SID2, m.spieler2, m.parentspiel2, m.parentsieger2, m.parentGID2, m.parentpos2};
    }
};

} // namespace

TEST_P(PlatzierungTest, FourPlacingsWithAndWithoutAKnockOutPhase) {
    const struct {
        const char* id;
        bool ko;
        int anzahlVorher;     // what the page starts with
        QVector<int> nummern; // placement matches after choosing 4
        QVector<int> plaetze;
        QVector<int> zeilen; // the rows' matches
    } cases[] = {
        // No knock-out: the page starts without placings; both rows are new matches, for places 1 and 3.
        {"groups", false, 0, {7, 8}, {1, 3}, {7, 8}},
        // Knock-out: the final is row 1, so choosing 4 adds one match, for place 3.
        {"knock-out", true, 2, {4}, {3}, {3, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        db().exec("DELETE FROM Gruppeneinstellungen WHERE KID=:k", {{":k", kKid}});
        c.ko ? mitKo() : nurGruppen();
        const PlatzierungsSeite vorher = platzierungsspiele(load());
        EXPECT_EQ(vorher.anzahl, c.anzahlVorher);
        EXPECT_EQ(vorher.zeilen.size(), c.anzahlVorher / 2);
        EXPECT_EQ(vorher.anzahlItems.size(), 17);

        ASSERT_TRUE(anzahlchange(db(), load(), "4"));
        QVector<int> nummern, plaetze;
        for (const SpielplanRow& m : platzierungsspiele4()) {
            nummern << m.spielnummer;
            plaetze << m.platz;
            EXPECT_EQ(m.gruppe, -1);
            EXPECT_EQ(m.SID1, -1);
            EXPECT_EQ(m.spieler2, "");
            EXPECT_EQ(m.parentspiel1, -1);
            EXPECT_EQ(m.TID, 1);
            EXPECT_EQ(m.ergebnis, "0:0");
        }
        EXPECT_EQ(nummern, c.nummern);
        EXPECT_EQ(plaetze, c.plaetze);

        const PlatzierungsSeite seite = platzierungsspiele(load());
        EXPECT_EQ(seite.anzahl, 4);
        ASSERT_EQ(seite.zeilen.size(), 2);
        QVector<int> zeilen;
        for (const PlatzZeile& z : seite.zeilen)
            zeilen << z.spielnummer;
        EXPECT_EQ(zeilen, c.zeilen);
        EXPECT_EQ(seite.zeilen[0].text, "Spiel um 1. Platz");
        EXPECT_EQ(seite.zeilen[1].text, "Spiel um 3. Platz");
        EXPECT_EQ(seite.zeilen[0].gesperrt, c.ko);
        EXPECT_FALSE(seite.zeilen[1].gesperrt);
        if (c.ko) {
            EXPECT_EQ(seite.zeilen[0].name1, "Sieger Spiel 1");
            EXPECT_EQ(seite.zeilen[0].name2, "Sieger Spiel 2");
        }
        // The rows on the page: texts at x 10, drop labels at 100 and 250, the match's cell between.
        const PlanText* label = findNamed(seite.layout, "platz22");
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->box, QRect(250, 90, 120, 22));
        EXPECT_NE(findNamed(seite.layout, "text2"), nullptr);
        const PlanStatusCell* cell = findCell(seite.layout, QStringLiteral("status%1").arg(c.zeilen[1]));
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->box, QRect(220, 93, 25, 16));
        EXPECT_NE(findText(seite.layout, "Anzahl der Platzierungen"), nullptr);

        // Choosing again replaces every placement match; a number that is not offered changes nothing.
        ASSERT_TRUE(anzahlchange(db(), load(), "6"));
        EXPECT_EQ(platzierungsspiele4().size(), c.ko ? 2 : 3);
        EXPECT_FALSE(anzahlchange(db(), load(), "17"));
        EXPECT_FALSE(anzahlchange(db(), load(), "drei"));
        EXPECT_EQ(platzierungsspiele4().size(), c.ko ? 2 : 3);
        EXPECT_EQ(platzierungsspiele4().last().platz, 5);
        db().exec("DELETE FROM Spielplan WHERE KID=:k", {{":k", kKid}});
        db().exec("DELETE FROM Gruppen WHERE KID=:k", {{":k", kKid}});
        db().exec("DELETE FROM Tabellen WHERE KID=:k", {{":k", kKid}});
    }
}

TEST_P(PlatzierungTest, NewPlacementMatchesAreWrittenInOneTransaction) {
    nurGruppen();
    ASSERT_TRUE(anzahlchange(db(), load(), "2"));
    // The third new match fails to write: nothing of the change may remain.
    if (GetParam() == DbKind::File) {
        db().exec("CREATE TRIGGER kein_platz5 BEFORE INSERT ON Spielplan WHEN NEW.platz=5 "
                  "BEGIN SELECT RAISE(ABORT, 'kein Platz 5'); END");
    } else {
        db().exec("CREATE FUNCTION kein_platz5() RETURNS trigger AS $$ BEGIN IF NEW.platz=5 THEN RAISE "
                  "EXCEPTION 'kein Platz 5'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql");
        db().exec("CREATE TRIGGER kein_platz5 BEFORE INSERT ON Spielplan FOR EACH ROW EXECUTE FUNCTION "
                  "kein_platz5()");
    }
    EXPECT_THROW(anzahlchange(db(), load(), "6"), DbError);
    const QVector<SpielplanRow> rows = platzierungsspiele4();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].spielnummer, 7);
    EXPECT_EQ(rows[0].platz, 1);
    EXPECT_EQ(db().transactionDepth(), 0);
}

TEST_P(PlatzierungTest, TeamPlacementMatchesGetTheirRubbersAndLoseThemWithTheMatch) {
    db().exec("UPDATE Turnierklassen SET system=3 WHERE KID=:k", {{":k", kKid}});
    db().exec(
        "INSERT INTO Teamsystem (TID, KID, spieler, reserve, s1a, s1b, s2a, s2b) VALUES (1,:k,2,0,1,2,2,1)",
        {{":k", kKid}});
    nurGruppen();
    ASSERT_TRUE(anzahlchange(db(), load(), "4"));
    const auto rubbers = [&] {
        return db()
            .selectOne("SELECT COUNT(*) AS c FROM Teamspiele WHERE KID=:k AND phase=4", {{":k", kKid}})
            .integer(u"c");
    };
    EXPECT_EQ(rubbers(), 2 * 2);
    ASSERT_TRUE(anzahlchange(db(), load(), "2"));
    EXPECT_EQ(rubbers(), 2) << "the rubbers of replaced placement matches go with them";
    // A dropped side reaches the rubbers too, whose names result processing fills.
    ASSERT_TRUE(feldDragDrop(db(), load(), 1, 2, {"Sieger Spiel 1", 1}));
    const QVector<TeamspielRow> r = matchrecord::rubbersOfMatch(db(), kKid, 7);
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(r[1].spieler2, "Sieger Spiel 1");
    EXPECT_EQ(r[1].parentspiel2, 1);
}

TEST_P(PlatzierungTest, DroppingAMatchEntryWritesItsWinnerOrLoserOrThePlaceholder) {
    nurGruppen();
    ASSERT_TRUE(anzahlchange(db(), load(), "4"));
    const QString s1 = nameOf(101), s2 = nameOf(102), s3 = nameOf(103);
    const struct {
        const char* id;
        const char* eintrag;
        int n;
        const char* ergebnis; // of match n before the drop; nullptr: undecided
        Side expected;
    } cases[] = {
        // Match 1 of group A is place 2 against place 3.
        {"undecided winner", "Sieger Spiel 1", 1, nullptr, {-1, "Sieger Spiel 1", 1, true, -1, -1}},
        {"undecided loser", "Verlierer Spiel 1", 1, nullptr, {-1, "Verlierer Spiel 1", 1, false, -1, -1}},
        {"winner side 2", "Sieger Spiel 3", 3, "1:3", {103, s3, 3, true, -1, -1}},
        {"loser side 2", "Verlierer Spiel 5", 5, "3:0", {102, s2, 5, false, -1, -1}},
        {"winner side 1", "Sieger Spiel 5", 5, "3:0", {101, s1, 5, true, -1, -1}},
    };
    for (const auto& c : cases) {
        for (int seite : {1, 2}) {
            SCOPED_TRACE(std::string(c.id) + " on side " + std::to_string(seite));
            if (c.ergebnis) finishMatch(c.n, QString::fromLatin1(c.ergebnis));
            ASSERT_TRUE(feldDragDrop(db(), load(), 2, seite, {QString::fromUtf8(c.eintrag), c.n}));
            EXPECT_EQ(side(8, seite), c.expected);
            const PlatzierungsSeite page = platzierungsspiele(load());
            EXPECT_EQ(seite == 1 ? page.zeilen[1].name1 : page.zeilen[1].name2, c.expected.name);
            EXPECT_EQ(seite == 1 ? page.zeilen[1].sid1 : page.zeilen[1].sid2, c.expected.sid);
        }
    }
    // A match of two byes passes "Freilos" on.
    db().exec("UPDATE Spielplan SET siegerSID=-2 WHERE KID=:k AND spielnummer=2", {{":k", kKid}});
    ASSERT_TRUE(feldDragDrop(db(), load(), 1, 1, {"Sieger Spiel 2", 2}));
    EXPECT_EQ(side(7, 1), (Side{-2, "Freilos", 2, true, -1, -1}));
    EXPECT_FALSE(feldDragDrop(db(), load(), 1, 2, {"Sieger Spiel 7", 7})) << "row 1 is match 7 itself";
    EXPECT_EQ(side(7, 2).parentspiel, -1);
    EXPECT_FALSE(feldDragDrop(db(), load(), 3, 1, {"Sieger Spiel 2", 2})) << "no row 3";
    EXPECT_FALSE(feldDragDrop(db(), load(), 1, 3, {"Sieger Spiel 2", 2})) << "no side 3";
}

TEST_P(PlatzierungTest, AGroupPositionIsItsPlaceholderUntilTheGroupHasAFinishedMatch) {
    nurGruppen();
    ASSERT_TRUE(anzahlchange(db(), load(), "2"));
    const struct {
        const char* eintrag;
        Side before;
        Side after;
    } cases[] = {
        {"Zweiter Gruppe B", {-1, "Zweiter Gruppe B", -1, false, 1, 1}, {106, nameOf(106), -1, false, 1, 1}},
        {"Sieger Gruppe B", {-1, "Sieger Gruppe B", -1, false, 1, 0}, {104, nameOf(104), -1, false, 1, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.eintrag);
        ASSERT_TRUE(feldDragDrop(db(), load(), 1, 1, {QString::fromLatin1(c.eintrag), 0}));
        EXPECT_EQ(side(7, 1), c.before);
    }
    // Group A finishing a match changes nothing for group B.
    finishMatch(1, "3:0");
    ASSERT_TRUE(feldDragDrop(db(), load(), 1, 2, {"Sieger Gruppe B", 0}));
    EXPECT_EQ(side(7, 2).sid, -1);
    // Group B (104, 105, 106) with a finished match: the current holder of the position is written.
    finishMatch(2, "3:1");
    db().exec(
        "UPDATE Tabellen SET pos=CASE SID WHEN 106 THEN 1 WHEN 105 THEN 2 ELSE 0 END WHERE KID=:k AND GID=1",
        {{":k", kKid}});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.eintrag);
        ASSERT_TRUE(feldDragDrop(db(), load(), 1, 1, {QString::fromLatin1(c.eintrag), 0}));
        EXPECT_EQ(side(7, 1), c.after);
    }
    EXPECT_FALSE(feldDragDrop(db(), load(), 1, 1, {"Fünfter Gruppe B", 0}));
}

TEST_P(PlatzierungTest, EmptyingASideAndTheLockedFinalRow) {
    const struct {
        bool ko;
        int zeile; // the first row that takes drops
        int match; // its match
    } cases[] = {{false, 1, 7}, {true, 2, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ko ? "knock-out" : "groups");
        db().exec("DELETE FROM Gruppeneinstellungen WHERE KID=:k", {{":k", kKid}});
        c.ko ? mitKo() : nurGruppen();
        ASSERT_TRUE(anzahlchange(db(), load(), "4"));
        ASSERT_TRUE(feldDragDrop(db(), load(), c.zeile, 2, {"Sieger Spiel 1", 1}));
        ASSERT_TRUE(platzDragDrop(db(), load(), c.zeile, 2));
        EXPECT_EQ(side(c.match, 2), (Side{-1, "", -1, false, -1, -1}));
        if (c.ko) {
            // Row 1 is the final: its sides come from the bracket and stay as they are.
            const Side final1 = side(3, 1);
            EXPECT_FALSE(feldDragDrop(db(), load(), 1, 1, {"Sieger Gruppe A", 0}));
            EXPECT_FALSE(platzDragDrop(db(), load(), 1, 1));
            EXPECT_EQ(side(3, 1), final1);
            EXPECT_EQ(final1.name, "Sieger Spiel 1");
        }
        db().exec("DELETE FROM Spielplan WHERE KID=:k", {{":k", kKid}});
        db().exec("DELETE FROM Gruppen WHERE KID=:k", {{":k", kKid}});
        db().exec("DELETE FROM Tabellen WHERE KID=:k", {{":k", kKid}});
    }
}

TEST_P(PlatzierungTest, TheListOffersEveryMatchAndEveryGroupPosition) {
    nurGruppen();
    const PlatzierungsSeite seite = platzierungsspiele(load());
    ASSERT_EQ(seite.liste.size(), 2 * 6 + 4 * 2);
    EXPECT_EQ(seite.liste[0].text, "Sieger Spiel 1");
    EXPECT_EQ(seite.liste[0].spielnummer, 1);
    EXPECT_EQ(seite.liste[11].text, "Verlierer Spiel 6");
    EXPECT_EQ(seite.liste[12].text, "Sieger Gruppe A");
    EXPECT_EQ(seite.liste[12].spielnummer, 0);
    EXPECT_EQ(seite.liste.last().text, "Vierter Gruppe B");
}

TEST_P(PlatzierungTest, TheMatchListShowsAClassOrOneGroupWithItsStates) {
    settings({0, -1, -1}, {2, 0, 0}, {3, 0, 0});
    DrawPlan p;
    p.phases[0] = entryGroups(2, 3, 101, {{1, 2}});
    write(p);
    finishMatch(1, "3:1");
    matchrecord::call(db(), kKid, 3, QDateTime(QDate(2026, 5, 1), QTime(9, 0)), "T1", "Ohm, Kai", false);
    matchrecord::schedule(db(), kKid, 3, QDate(2026, 5, 1), "T2", QDateTime(QDate(2026, 5, 1), QTime(14, 5)));
    const PlanDaten d = load();
    const PlanLayout all = spielplanliste(d, -1, 900);
    EXPECT_EQ(all.size, QSize(900, 60 + 20 * 6 + 20));
    const auto line = [](const PlanLayout& l, int y) {
        QStringList out;
        for (const PlanText& t : l.texts)
            if (t.box.y() == y) out << QStringLiteral("%1=%2").arg(t.box.x()).arg(t.text);
        return out.join(u' ');
    };
    EXPECT_EQ(line(all, 15),
              "10=Nr. 40=Zeit 85=Spieler 1 235=Spieler 2 370=Gruppe 430=Tisch 480=Schiedsrichter "
              "600=Ergebnis 680=Status");
    // Group A: 2-3, 1-3, 1-2; group B's line 3 is empty.
    EXPECT_EQ(line(all, 60), "10=1 85=Spieler 102 235=Spieler 103 385=A 600=3:1 680=Beendet");
    EXPECT_EQ(line(all, 80), "10=2 85=Spieler 105 235= 385=B 680=kein Spiel");
    EXPECT_EQ(line(all, 100), "10=3 40=14:05 85=Spieler 101 235=Spieler 103 385=A 430=T2 480=Ohm, Kai "
                              "680=Aufgerufen");
    const PlanLayout b = spielplanliste(d, 1, 900);
    EXPECT_EQ(b.size.height(), 60 + 20 * 3 + 20);
    EXPECT_EQ(line(b, 60), "10=2 85=Spieler 105 235= 385=B 680=kein Spiel");
}

VELMORA_INSTANTIATE_DB_TEST(PlatzierungTest);

// The scheduler's grid over real plans: a singles class and a team class written by draw completion,
// three tournament days and four tables.
#include "play/planung.h"

#include "plan_fixture.h"

#include <QDate>
#include <QTime>
#include <memory>

using namespace plantest;

namespace {

constexpr int kTeam = 6;
const QDate kTag1(2026, 5, 1);
const QDate kTag2(2026, 5, 2);
const QDate kTag3(2026, 5, 3);

TEST(PlanungZeilen, RowsAreTenMinuteSlotsAfterMidnight) {
    struct Fall {
        QTime zeit;
        int zeile;
    };
    for (const Fall& f : {Fall{QTime(0, 10), 1}, Fall{QTime(14, 30), 87}, Fall{QTime(14, 39, 59), 87},
                          Fall{QTime(12, 30), 75}, Fall{QTime(23, 50), 143}, Fall{QTime(0, 5), 0}}) {
        SCOPED_TRACE(str(f.zeit.toString()));
        EXPECT_EQ(planung::zeileVon(f.zeit), f.zeile);
    }
    EXPECT_EQ(planung::zeitVon(87), QTime(14, 30));
    EXPECT_EQ(planung::zeitVon(143), QTime(23, 50));
}

class PlanungTest : public PlanTest {
protected:
    void SetUp() override {
        PlanTest::SetUp();
        if (IsSkipped()) return;
        db().exec("INSERT INTO Turnierdaten (TID, turniername, tvon, tbis) VALUES (1, 'Stadtmeisterschaft', "
                  ":v, :b)",
                  {{":v", kTag1}, {":b", kTag3}});
        for (const char* t : {"Tisch 1", "Tisch 2", "Tisch 3", "Tisch 4"})
            tisch(kKid, QString::fromUtf8(t));
        settings({0, -1, -1}, {1, 0, 0}, {4, 0, 0});
        DrawPlan einzel;
        einzel.phases[0] = entryGroups(1, 4);
        write(einzel);
        if (HasFatalFailure()) return;

        // A team class of three teams, three rubbers per team match.
        klasse(kTeam, 3);
        db().exec("INSERT INTO Teamsystem (TID, KID, spieler, reserve, s1a, s1b, s2a, s2b, s3a, s3b) "
                  "VALUES (1, :k, 2, 0, 1, 2, 2, 1, 1, 1)",
                  {{":k", kTeam}});
        einstellungen(kTeam, {0, QVariant(), QVariant()}, {1, 0, 0, 3, 0, 0, 1, 0, 0, 0, 0, 0});
        DrawPlan team;
        team.kid = kTeam;
        team.tid = 1;
        team.kind = 3;
        team.phases[0] = entryGroups(1, 3, 201);
        Fertigstellen f(db(), ui, shippedFiles());
        ASSERT_TRUE(f.fertigstellen(team, [] {}).geschrieben) << str(ui.texts().join(u'\n'));
        ASSERT_EQ(matchrecord::rubbersOfClass(db(), kTeam).size(), 9);
        ui.clear();
    }

    std::unique_ptr<Planung> offen() {
        auto p = std::make_unique<Planung>(db(), ui, 1);
        p->laden();
        return p;
    }
    // The list line of match snr (rubber nummer) of class kid.
    PlanSpiel zeile(Planung& p, int snr, int kid = kKid, int nummer = -1) {
        for (const PlanSpiel& s : p.ungeplant(kid))
            if (s.spielnummer == snr && s.nummer == nummer) return s;
        ADD_FAILURE() << "match " << snr << "." << nummer << " is not in the list";
        return {};
    }
    int spalte(const Planung& p, const char* tisch) {
        return int(p.tische().indexOf(QString::fromUtf8(tisch))) + 1;
    }
    bool geplant(int snr) {
        const SpielplanRow m = *matchrecord::readMatch(db(), kKid, snr);
        return m.geplanter_tag.isValid() || m.geplante_zeit.isValid() || m.geplanter_tisch || m.schiri;
    }
    // Every occupied cell of the day shown, as "column/row:match+top".
    QStringList belegung(const Planung& p) {
        QStringList out;
        for (int c = 1; c <= p.spalten(); ++c)
            for (int r = planung::kErsteZeile; r <= planung::kLetzteZeile; ++r)
                if (const PlanZelle z = p.zelle(c, r); z.spiel)
                    out << QStringLiteral("%1/%2:%3%4")
                               .arg(c)
                               .arg(r)
                               .arg(z.spiel->spielnummer)
                               .arg(z.oben ? "o" : "u");
        return out;
    }
};

TEST_P(PlanungTest, AMatchAt1430TakesRows87And88OfItsTableOnItsDayOnly) {
    {
        const auto fenster = offen();
        Planung& p = *fenster;
        EXPECT_EQ(p.tag(), kTag1);
        EXPECT_EQ(p.tische(), QStringList({"Tisch 1", "Tisch 2", "Tisch 3", "Tisch 4"}));
        EXPECT_FALSE(p.vorherigerTag()) << "the first day has no day before it";
        ASSERT_TRUE(p.naechsterTag());
        ASSERT_TRUE(p.einplanen(zeile(p, 3), spalte(p, "Tisch 2"), 87));
    }
    const SpielplanRow m = *matchrecord::readMatch(db(), kKid, 3);
    EXPECT_EQ(m.geplanter_tag, kTag2);
    EXPECT_EQ(m.geplanter_tisch.value_or(""), "Tisch 2");
    EXPECT_EQ(m.geplante_zeit.time(), QTime(14, 30));
    EXPECT_EQ(matchrecord::readMatch(db(), kKid, 4)->geplante_zeit, QDateTime()) << "only the dropped match";

    // A window opened afterwards reads it back from the store.
    const auto fenster = offen();
    Planung& p = *fenster;
    EXPECT_TRUE(belegung(p).isEmpty()) << str(belegung(p).join(' '));
    ASSERT_TRUE(p.naechsterTag());
    EXPECT_EQ(belegung(p), QStringList({"2/87:3o", "2/88:3u"}));
    EXPECT_EQ(p.zelle(2, 87).spiel->spieler1, m.spieler1);
    EXPECT_EQ(p.zelle(2, 88).spiel->spieler2, m.spieler2);
    ASSERT_TRUE(p.naechsterTag());
    EXPECT_TRUE(belegung(p).isEmpty());
    EXPECT_FALSE(p.naechsterTag()) << "the last day has no day after it";
    EXPECT_EQ(p.tag(), kTag3);
    for (const PlanSpiel& s : p.ungeplant(kKid))
        EXPECT_NE(s.spielnummer, 3) << "a planned match leaves the list";
}

// A match planned with its top cell at row 88 of table 1; another match dropped around it.
TEST_P(PlanungTest, ADropPushesOutTheMatchWhoseCellItTakes) {
    struct Fall {
        const char* was;
        int ziel;
        bool weg;
    };
    for (const Fall& f : {Fall{"onto its second half", 89, true}, Fall{"onto its first half", 88, true},
                          Fall{"directly above it", 87, true}, Fall{"two rows above it", 86, false},
                          Fall{"right below it", 90, false}}) {
        SCOPED_TRACE(f.was);
        db().exec(
            "UPDATE Spielplan SET schiri=NULL,geplanter_tag=NULL,geplanter_tisch=NULL,geplante_zeit=NULL");
        matchrecord::schedule(db(), kKid, 1, kTag1, "Tisch 1", QDateTime(kTag1, QTime(14, 40)));
        db().exec("UPDATE Spielplan SET schiri='Meier, Eva' WHERE KID=:k AND spielnummer=1", {{":k", kKid}});
        const auto fenster = offen();
        Planung& p = *fenster;
        ASSERT_EQ(belegung(p), QStringList({"1/88:1o", "1/89:1u"}));

        ASSERT_TRUE(p.einplanen(zeile(p, 2), 1, f.ziel));
        EXPECT_EQ(geplant(1), !f.weg) << "the match in the way loses day, table, time and umpire";
        const QString neu = QStringLiteral("1/%1:2o").arg(f.ziel);
        EXPECT_TRUE(belegung(p).contains(neu));
        EXPECT_EQ(belegung(p).contains("1/88:1o"), !f.weg) << str(belegung(p).join(' '));
        EXPECT_EQ(offen()->zelle(1, f.ziel).spiel->spielnummer, 2)
            << "what the grid shows is what was stored";
        bool gelistet = false;
        for (const PlanSpiel& s : p.ungeplant(kKid))
            gelistet |= s.spielnummer == 1;
        EXPECT_EQ(gelistet, f.weg) << "an unplanned match is listed again";
    }
}

TEST_P(PlanungTest, MovingAMatchWritesBothChangesOrNeither) {
    const auto fenster = offen();
    Planung& p = *fenster;
    ASSERT_TRUE(p.einplanen(zeile(p, 1), 1, 60));
    ASSERT_TRUE(p.einplanen(zeile(p, 2), 3, 70));

    // Match 2 moved (grabbed by its lower half) onto the second half of match 1: match 1 goes.
    ASSERT_TRUE(p.verschieben(3, 71, 1, 61));
    EXPECT_EQ(belegung(p), QStringList({"1/61:2o", "1/62:2u"}));
    EXPECT_FALSE(geplant(1));
    const SpielplanRow m2 = *matchrecord::readMatch(db(), kKid, 2);
    EXPECT_EQ(m2.geplanter_tisch.value_or(""), "Tisch 1");
    EXPECT_EQ(m2.geplante_zeit.time(), planung::zeitVon(61));

    // Moving it one row down keeps it out of its own way.
    ASSERT_TRUE(p.verschieben(1, 61, 1, 62));
    EXPECT_EQ(belegung(p), QStringList({"1/62:2o", "1/63:2u"}));

    // A store that refuses the second statement: the first is rolled back and the grid stays.
    ASSERT_TRUE(p.einplanen(zeile(p, 1), 2, 40));
    if (db().kind() == DbKind::File) {
        db().exec("CREATE TRIGGER nein BEFORE UPDATE OF geplante_zeit ON Spielplan "
                  "WHEN NEW.spielnummer = 2 BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");
    } else {
        db().exec("CREATE FUNCTION nein() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'gesperrt'; END $$ "
                  "LANGUAGE plpgsql");
        db().exec("CREATE TRIGGER nein BEFORE UPDATE ON Spielplan FOR EACH ROW "
                  "WHEN (NEW.spielnummer = 2 AND NEW.geplante_zeit IS DISTINCT FROM OLD.geplante_zeit) "
                  "EXECUTE FUNCTION nein()");
    }
    const QStringList vorher = belegung(p);
    EXPECT_THROW(p.verschieben(1, 62, 2, 41), DbError);
    EXPECT_TRUE(geplant(1)) << "the match in the way keeps its plan";
    EXPECT_EQ(matchrecord::readMatch(db(), kKid, 1)->geplante_zeit.time(), planung::zeitVon(40));
    EXPECT_EQ(belegung(p), vorher);
    EXPECT_EQ(belegung(*offen()), vorher);
}

TEST_P(PlanungTest, DraggedBackToTheListAMatchLosesItsPlan) {
    const auto fenster = offen();
    Planung& p = *fenster;
    ASSERT_TRUE(p.einplanen(zeile(p, 5), 4, 100));
    db().exec("UPDATE Spielplan SET schiri='Meier, Eva' WHERE KID=:k AND spielnummer=5", {{":k", kKid}});
    EXPECT_FALSE(p.ausplanen(4, 99).has_value()) << "an empty cell holds nothing to unplan";
    const std::optional<PlanSpiel> s = p.ausplanen(4, 101);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->spielnummer, 5);
    EXPECT_FALSE(geplant(5));
    EXPECT_TRUE(belegung(p).isEmpty());
    EXPECT_EQ(zeile(p, 5).spieler1, s->spieler1);
}

TEST_P(PlanungTest, RubbersOfATeamClassArePlannedOneByOne) {
    const auto fenster = offen();
    Planung& p = *fenster;
    const QVector<PlanSpiel> liste = p.ungeplant(kTeam);
    ASSERT_EQ(liste.size(), 9) << "one line per rubber";
    EXPECT_EQ(liste[0].nummer, 1);
    EXPECT_EQ(liste[2].nummer, 3);

    // Its team match is planned through the match dialog; the scheduler leaves that row alone.
    matchrecord::schedule(db(), kTeam, 1, kTag1, "Tisch 4", QDateTime(kTag1, QTime(9, 0)));
    ASSERT_TRUE(p.einplanen(zeile(p, 1, kTeam, 2), 3, 60));
    ASSERT_TRUE(p.einplanen(zeile(p, 1, kTeam, 3), 3, 62));
    for (const TeamspielRow& r : matchrecord::rubbersOfClass(db(), kTeam)) {
        SCOPED_TRACE(QStringLiteral("rubber %1.%2").arg(r.spielnummer).arg(r.nummer).toStdString());
        const bool soll = r.spielnummer == 1 && r.nummer >= 2;
        EXPECT_EQ(r.geplanter_tag.isValid(), soll);
        EXPECT_EQ(r.geplante_zeit.isValid(), soll);
        if (soll) {
            EXPECT_EQ(r.geplanter_tisch.value_or(""), "Tisch 3");
        }
    }
    EXPECT_EQ(p.zelle(3, 60).spiel->nummer, 2);
    EXPECT_EQ(p.zelle(3, 62).spiel->nummer, 3);
    EXPECT_EQ(p.ungeplant(kTeam).size(), 7);

    // Rubber 3 dropped directly above rubber 2 pushes out only rubber 2.
    ASSERT_TRUE(p.verschieben(3, 62, 3, 59));
    const QVector<TeamspielRow> r = matchrecord::rubbersOfMatch(db(), kTeam, 1);
    EXPECT_FALSE(r[1].geplante_zeit.isValid());
    EXPECT_EQ(r[2].geplante_zeit.time(), planung::zeitVon(59));
    const SpielplanRow teamspiel = *matchrecord::readMatch(db(), kTeam, 1);
    EXPECT_EQ(teamspiel.geplante_zeit.time(), QTime(9, 0)) << "the team match keeps its own plan";
    EXPECT_EQ(teamspiel.geplanter_tisch.value_or(""), "Tisch 4");
    EXPECT_EQ(offen()->zelle(3, 59).spiel->nummer, 3);
}

TEST_P(PlanungTest, AClassKeepsItsColourOnEveryDay) {
    const auto fenster = offen();
    Planung& p = *fenster;
    p.farbeSetzen(kKid, "lightblue");
    p.farbeSetzen(kTeam, "orange");
    ASSERT_TRUE(p.einplanen(zeile(p, 1), 1, 60));
    ASSERT_TRUE(p.naechsterTag());
    ASSERT_TRUE(p.einplanen(zeile(p, 2), 1, 60));
    p.farbeSetzen(kKid, "yellowgreen");
    ASSERT_TRUE(p.vorherigerTag());
    ASSERT_NE(p.zelle(1, 60).spiel, nullptr);
    EXPECT_EQ(p.farbe(p.zelle(1, 60).spiel->KID), "yellowgreen");
    EXPECT_EQ(p.farbe(kTeam), "orange");

    const auto wieder = offen();
    EXPECT_EQ(wieder->farbe(kKid), "yellowgreen");
    EXPECT_EQ(wieder->farbe(kTeam), "orange");
    EXPECT_EQ(db().selectOne("SELECT farbe FROM Turnierklassen WHERE KID=:k", {{":k", kKid}}).text(u"farbe"),
              "yellowgreen");
    EXPECT_EQ(wieder->klasse(kTeam)->anzeige(), "Klasse 6 (Team)");
}

TEST_P(PlanungTest, TheLastRowTakesNoMatch) {
    const auto fenster = offen();
    Planung& p = *fenster;
    ASSERT_TRUE(p.einplanen(zeile(p, 1), 2, 142));
    EXPECT_EQ(belegung(p), QStringList({"2/142:1o", "2/143:1u"}));

    EXPECT_FALSE(p.einplanen(zeile(p, 2), 2, 143)) << "onto the second half of match 1 at 23:50";
    EXPECT_FALSE(p.einplanen(zeile(p, 3), 1, 143));
    EXPECT_FALSE(p.verschieben(2, 142, 3, 143));
    ASSERT_EQ(ui.messages.size(), 3);
    for (const ScriptedInteraction::Message& m : ui.messages) {
        EXPECT_EQ(m.icon, Interaction::Icon::Error);
        EXPECT_EQ(m.text, "Um 23:50 kann kein Spiel beginnen: ein Spiel braucht zwei Zeilen des Plans.");
    }
    EXPECT_TRUE(geplant(1)) << "a refused drop unplans nothing";
    EXPECT_FALSE(geplant(2));
    EXPECT_FALSE(geplant(3));
    EXPECT_EQ(belegung(*offen()), QStringList({"2/142:1o", "2/143:1u"}));
}

TEST_P(PlanungTest, WithoutATournamentPeriodNothingIsPlanned) {
    db().exec("UPDATE Turnierdaten SET tvon=NULL, tbis=NULL");
    const auto fenster = offen();
    Planung& p = *fenster;
    EXPECT_FALSE(p.tag().isValid());
    EXPECT_FALSE(p.naechsterTag());
    EXPECT_FALSE(p.einplanen(zeile(p, 1), 1, 60));
    EXPECT_EQ(ui.texts(), QStringList({Planung::keinTagText()}));
    EXPECT_FALSE(geplant(1));
}

VELMORA_INSTANTIATE_DB_TEST(PlanungTest);

} // namespace

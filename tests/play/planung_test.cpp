// The scheduler's grid over real plans: a singles class and a team class written by draw completion,
// three tournament days and four tables.
#include "play/planung.h"

#include "play/spielbetrieb.h"

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

// The umpire menu of a planned cell offers the umpires entered for the cell's class and writes the choice
// for that match alone; match 2 is planned beside it on table 2 at rows 61/62 with "Huber, Eva".
TEST_P(PlanungTest, TheUmpireMenuWritesTheChoiceOrRefusesIt) {
    const auto schiriMelden = [&](int id, const char* nn, const char* vn, int kid) {
        db().exec("INSERT INTO Schiri (TID, SCHIRIID, snname, svname, sangemeldet) VALUES (1,:i,:n,:v,:a)",
                  {{":i", id}, {":n", QString::fromUtf8(nn)}, {":v", QString::fromUtf8(vn)}, {":a", true}});
        db().exec("INSERT INTO Schiri_im_turnier VALUES (1,:i,:k)", {{":i", id}, {":k", kid}});
    };
    schiriMelden(302, "Roth", "Ida", kKid);
    schiriMelden(301, "Huber", "Eva", kKid);
    schiriMelden(303, "Fremd", "Otto", kTeam);
    EXPECT_EQ(offen()->schiris(kKid), QStringList({"Huber, Eva", "Roth, Ida"}));

    const QString fremd = Planung::schiriFremdText("Fremd, Otto");
    const QString aufgerufen = Planung::schiriAufgerufenText();
    struct Fall {
        const char* was;
        int zeile; // match 1's top row on table 1
        const char* schiri;
        bool gerufen;
        bool belegt;
        QString meldung;
    };
    for (const Fall& f :
         {Fall{"an umpire of the class", 60, "Roth, Ida", false, false, {}},
          Fall{"no umpire", 60, "", false, false, {}},
          Fall{"an umpire entered for another class only", 60, "Fremd, Otto", false, false, fremd},
          Fall{"an umpire busy in the same rows", 60, "Huber, Eva", false, true, {}},
          Fall{"an umpire whose match ends in this one's first row", 62, "Huber, Eva", false, true, {}},
          Fall{"an umpire whose match has ended", 63, "Huber, Eva", false, false, {}},
          Fall{"a called match", 60, "Roth, Ida", true, false, aufgerufen}}) {
        SCOPED_TRACE(f.was);
        db().exec(
            "UPDATE Spielplan SET schiri=NULL,geplanter_tag=NULL,geplanter_tisch=NULL,geplante_zeit=NULL,"
            "in_planung=0,an_platte=NULL");
        matchrecord::schedule(db(), kKid, 2, kTag1, "Tisch 2", QDateTime(kTag1, planung::zeitVon(61)));
        db().exec("UPDATE Spielplan SET schiri='Huber, Eva' WHERE KID=:k AND spielnummer=2", {{":k", kKid}});
        const QDateTime zeit(kTag1, planung::zeitVon(f.zeile));
        matchrecord::schedule(db(), kKid, 1, kTag1, "Tisch 1", zeit);
        if (f.gerufen)
            matchrecord::call(db(), kKid, 1, QDateTime(kTag1, QTime(9, 0)), "Tisch 1", "Vorher, Vera", false);
        else
            db().exec("UPDATE Spielplan SET schiri='Vorher, Vera' WHERE KID=:k AND spielnummer=1",
                      {{":k", kKid}});
        const auto fenster = offen();
        Planung& p = *fenster;
        ui.clear();

        const QString gewaehlt = QString::fromUtf8(f.schiri);
        // Chosen on the lower cell: the match is the one both cells show.
        const bool ok = p.schiriSetzen(1, f.zeile + 1, gewaehlt);
        const QString meldung = f.belegt ? Planung::schiriBelegtText(*p.zelle(2, 61).spiel) : f.meldung;
        EXPECT_EQ(ok, meldung.isEmpty());
        const SpielplanRow m = *matchrecord::readMatch(db(), kKid, 1);
        const QString soll = ok ? gewaehlt : QStringLiteral("Vorher, Vera");
        EXPECT_EQ(m.schiri.value_or(""), soll);
        EXPECT_EQ(m.schiri.has_value(), !soll.isEmpty()) << "no umpire is stored as NULL";
        EXPECT_EQ(m.geplante_zeit, zeit) << "only the umpire changes";
        EXPECT_EQ(m.geplanter_tisch.value_or(""), "Tisch 1");
        EXPECT_EQ(p.zelle(1, f.zeile).spiel->schiri, soll);
        EXPECT_EQ(offen()->zelle(1, f.zeile + 1).spiel->schiri, soll) << "the grid shows what was stored";
        EXPECT_EQ(matchrecord::readMatch(db(), kKid, 2)->schiri.value_or(""), "Huber, Eva");
        if (meldung.isEmpty()) {
            EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'|'));
        } else {
            ASSERT_EQ(ui.messages.size(), 1);
            EXPECT_EQ(ui.messages[0].text, meldung);
            EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
        }
    }
    EXPECT_TRUE(
        Planung::schiriBelegtText(*offen()->zelle(2, 61).spiel).startsWith("Huber, Eva ist um 10:10"));

    // A rubber's cell: the umpires of its team class, written for that rubber only.
    const auto fenster = offen();
    Planung& p = *fenster;
    ASSERT_TRUE(p.einplanen(zeile(p, 1, kTeam, 2), 4, 30));
    ASSERT_TRUE(p.schiriSetzen(4, 30, "Fremd, Otto"));
    for (const TeamspielRow& r : matchrecord::rubbersOfClass(db(), kTeam))
        EXPECT_EQ(r.schiri.value_or(""), r.spielnummer == 1 && r.nummer == 2 ? "Fremd, Otto" : "")
            << r.spielnummer << "." << r.nummer;
    EXPECT_FALSE(p.schiriSetzen(4, 29, "Fremd, Otto")) << "an empty cell has no match";
}

// What the scheduler planned shows where the class is run: in the match list (time at x 40, table at
// 430, umpire at 480) and as the hint of the match's status cell.
TEST_P(PlanungTest, ThePlanShowsInTheMatchListAndTheCellHint) {
    db().exec("INSERT INTO Schiri (TID, SCHIRIID, snname, svname) VALUES (1, 301, 'Huber', 'Eva')");
    db().exec("INSERT INTO Schiri_im_turnier VALUES (1, 301, :k)", {{":k", kKid}});
    {
        const auto fenster = offen();
        Planung& p = *fenster;
        ASSERT_TRUE(p.naechsterTag());
        ASSERT_TRUE(p.einplanen(zeile(p, 2), spalte(p, "Tisch 3"), 87));
        ASSERT_TRUE(p.schiriSetzen(spalte(p, "Tisch 3"), 88, "Huber, Eva"));
    }
    const PlanDaten d = load();
    const PlanLayout liste = spielplanliste(d, -1, 900);
    const auto zeileBei = [&](int y) {
        QStringList out;
        for (const PlanText& t : liste.texts)
            if (t.box.y() == y) out << QStringLiteral("%1=%2").arg(t.box.x()).arg(t.text);
        return out.join(u' ');
    };
    const SpielplanRow m2 = d.matches[1];
    ASSERT_EQ(m2.spielnummer, 2);
    EXPECT_EQ(zeileBei(80), QStringLiteral("10=2 40=14:30 85=%1 235=%2 385=A 430=Tisch 3 480=Huber, Eva")
                                .arg(m2.spieler1, m2.spieler2));
    EXPECT_FALSE(zeileBei(60).contains("40=")) << "an unplanned match shows no time";

    EXPECT_EQ(planhinweis(m2), "Geplant: 02.05.2026 14:30\nTisch: Tisch 3\nSchiedsrichter: Huber, Eva");
    EXPECT_EQ(planhinweis(d.matches[0]), "");
}

TEST(Planhinweis, SaysWhatIsPlanned) {
    struct Fall {
        const char* was;
        QDate tag;
        QDateTime zeit;
        std::optional<QString> tisch, schiri;
        QString hinweis;
    };
    const QDate tag(2026, 12, 12);
    // The match dialog stores the time on a day of its own.
    const QDateTime dialogzeit(QDate(1899, 12, 30), QTime(9, 5));
    for (const Fall& f :
         {Fall{"everything", tag, QDateTime(tag, QTime(14, 30)), "T1", "Huber, Eva",
               "Geplant: 12.12.2026 14:30\nTisch: T1\nSchiedsrichter: Huber, Eva"},
          Fall{"from the match dialog", tag, dialogzeit, "T1", std::nullopt,
               "Geplant: 12.12.2026 09:05\nTisch: T1"},
          Fall{"a day only", tag, QDateTime(), std::nullopt, QString(), "Geplant: 12.12.2026"},
          Fall{"an umpire only", QDate(), QDateTime(), std::nullopt, "Huber, Eva", ""},
          Fall{"nothing", QDate(), QDateTime(), std::nullopt, std::nullopt, ""}}) {
        SCOPED_TRACE(f.was);
        SpielplanRow m;
        m.geplanter_tag = f.tag;
        m.geplante_zeit = f.zeit;
        m.geplanter_tisch = f.tisch;
        m.schiri = f.schiri;
        EXPECT_EQ(planhinweis(m), f.hinweis);
    }
}

VELMORA_INSTANTIATE_DB_TEST(PlanungTest);

} // namespace

// Team classes played headless through the team match dialog's model: line-ups, the plan of every
// rubber, call, start, the rubber results with the team result chosen by hand, the standings summed from
// the rubbers, the teams moving on in match rows and rubbers, the losing team into the umpire pool,
// refusals, and the resets.
#include "betrieb_fixture.h"

#include "results/satznotation.h"
#include "results/tergebnis_team_model.h"

namespace {

using namespace betriebtest;

struct Rubber {
    const char* erg;
    QStringList saetze;
};

// Rubbers 1 … 4 of the worked example: 3:0, 1:3, 3:2, 3:1 (rubber 5 not played).
const QVector<Rubber> kBeispiel = {{"3:0", {"+5", "+5", "+5"}},
                                   {"1:3", {"-5", "+7", "-9", "-3"}},
                                   {"3:2", {"+5", "-5", "+5", "-5", "+5"}},
                                   {"3:1", {"+5", "-7", "+9", "+3"}},
                                   {"", {}}};
const QVector<Rubber> kDreiNull = {{"3:0", {"+1", "+1", "+1"}},
                                   {"3:0", {"+1", "+1", "+1"}},
                                   {"3:0", {"+1", "+1", "+1"}},
                                   {"", {}},
                                   {"", {}}};

QString teamname(int mid) {
    return QStringLiteral("Team %1").arg(mid);
}

class TeamTest : public BetriebT<DbKind> {
protected:
    void TearDown() override {
        team.reset();
        BetriebT<DbKind>::TearDown();
    }

    // Five rubbers for teams of two with a reserve: A1-B2, A2-B1, D1-D1, D2-D2, A1-B1.
    void teamsystem() {
        db().exec(QStringLiteral(
                      "INSERT INTO Teamsystem (TID, KID, spieler, reserve, s1a, s1b, s2a, s2b, s3a, s3b, "
                      "s4a, s4b, s5a, s5b) VALUES (1, :k, 2, 1, 1, 2, 2, 1, 11, 11, 12, 12, 1, 1)"),
                  {{":k", kKid}});
        for (const char* t : {"1", "2"})
            db().exec(QStringLiteral("INSERT INTO Platten1 VALUES (:k, :p, 1)"), {{":k", kKid}, {":p", t}});
    }
    // Team mid: players mid*10+1 and +2, reserve +3; pair 1 the two players, pair 2 player 2 and the reserve.
    void teamAnlegen(int mid) {
        for (int k = 1; k <= 3; ++k)
            db().exec(
                QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname, vorname, verein) VALUES "
                               "(1, :s, :n, :v, 'TTC')"),
                {{":s", mid * 10 + k}, {":n", QStringLiteral("N%1").arg(mid * 10 + k)}, {":v", "Vera"}});
        db().exec(
            QStringLiteral("INSERT INTO Teams (TID, KID, MID, teamname, s1, s2, s3, s4, r1, r2, d1_1, d1_2, "
                           "d2_1, d2_2, angemeldet, verein) VALUES (1, :k, :m, :n, :s1, :s2, 0, 0, :r1, 0, "
                           ":s1, :s2, :s2, :r1, :a, 'TTC')"),
            {{":k", kKid},
             {":m", mid},
             {":n", teamname(mid)},
             {":s1", mid * 10 + 1},
             {":s2", mid * 10 + 2},
             {":r1", mid * 10 + 3},
             {":a", true}});
    }
    static PlanSlot teamSlot(int mid) { return {mid, teamname(mid)}; }

    // One group of three teams (201-203), its first two into a final (match 4).
    void gruppeMitFinale() {
        teamsystem();
        for (int mid : {201, 202, 203})
            teamAnlegen(mid);
        PhasePlan g;
        g.system = PhasePlan::Gruppenphase;
        g.groups << QVector<PlanSlot>{teamSlot(201), teamSlot(202), teamSlot(203)};
        DrawPlan plan;
        plan.phases = {g,
                       bracket(PhasePlan::EinfachesKO,
                               {label("Sieger Gruppe A", 0, 0), label("Zweiter Gruppe A", 0, 1)}, 1),
                       PhasePlan{}};
        anlegen(db(), {Phase{0, 1, 3, 2, 0}, Phase{1}, Phase{}}, plan, 3);
    }
    // A knock-out of four teams: 201-204 and 203-202 (matches 1, 2) into the final (match 3).
    void ko4() {
        teamsystem();
        for (int mid : {201, 202, 203, 204})
            teamAnlegen(mid);
        DrawPlan plan;
        plan.phases = {
            bracket(PhasePlan::EinfachesKO, {teamSlot(201), teamSlot(204), teamSlot(203), teamSlot(202)}),
            PhasePlan{}, PhasePlan{}};
        anlegen(db(), {Phase{1}, Phase{}, Phase{}}, plan, 3);
    }

    void teamOeffnen() {
        oeffnen();
        team = std::make_unique<Tergebnis_team>(*sb, *ev);
    }

    Tergebnis_team::Ausgang aufrufen(int snr) {
        team->spielaufrufen1(snr);
        return team->okClick();
    }
    Tergebnis_team::Ausgang starten(int snr) {
        team->spielaufgerufen(snr);
        return team->okClick();
    }
    void eintragen(const QString& erg, const QVector<Rubber>& rubbers) {
        team->ergebniscombo = erg;
        for (int n = 0; n < rubbers.size(); ++n) {
            team->rubberErgebnisGewaehlt(n, QString::fromLatin1(rubbers[n].erg));
            for (int k = 0; k < rubbers[n].saetze.size(); ++k)
                team->zeilen[n].satz[k] = rubbers[n].saetze[k];
        }
        team->next = false;
    }
    Tergebnis_team::Ausgang beenden(int snr, const QString& erg, const QVector<Rubber>& rubbers,
                                    bool schiripool = false) {
        team->spielstarten(snr);
        eintragen(erg, rubbers);
        team->schiripool = schiripool;
        return team->okClick();
    }
    void spielen(int snr, const QString& erg, const QVector<Rubber>& rubbers) {
        ASSERT_TRUE(aufrufen(snr).geschlossen) << snr << " " << str(ui.texts().join(u'|'));
        ASSERT_TRUE(starten(snr).geschlossen) << snr;
        ASSERT_TRUE(beenden(snr, erg, rubbers).geschlossen) << snr << " " << str(ui.texts().join(u'|'));
    }

    TabellenRow zeile(int mid) {
        for (const TabellenRow& r : tabellen::gruppeLesen(db(), kKid, 0))
            if (r.SID == mid) return r;
        return {};
    }
    QVector<TeamspielRow> rubbers(int snr) { return matchrecord::rubbersOfMatch(db(), kKid, snr); }

    std::unique_ptr<Tergebnis_team> team;
};

// A team class drawn and completed, played to its end through the dialog's model on both engines: the
// standings count team matches, rubbers from the team result, sets summed from the rubber results and
// points from every set; the finished group moves its teams into the final's row and every rubber of it.
TEST_P(TeamTest, AClassPlayedToItsEndCountsTheRubbersInTheStandings) {
    gruppeMitFinale();
    teamOeffnen();
    const SpielplanRow erstes = spiel(1);
    ASSERT_EQ(rubbers(1).size(), 5);
    ASSERT_TRUE(erstes.SID1 > 0 && erstes.SID2 > 0);
    const int a = erstes.SID1, b = erstes.SID2;

    team->spielplanen(1);
    EXPECT_EQ(team->rubberAnzahl, 5) << "five rubbers, five rows";
    EXPECT_EQ(team->ergebnisItems.first(), QStringLiteral("5:0"));
    EXPECT_TRUE(team->ergebnisItems.contains(QStringLiteral("3:1")));
    EXPECT_FALSE(team->ergebnisItems.contains(QStringLiteral("3:3")));
    EXPECT_EQ(team->zeilen[2].spiel, QStringLiteral("Spiel 3: D1 - D1"));
    EXPECT_EQ(team->zeilen[0].spiel, QStringLiteral("Spiel 1: A1 - B2"));

    spielen(1, QStringLiteral("3:1"), kBeispiel);
    const TabellenRow erster = zeile(a), zweiter = zeile(b);
    EXPECT_EQ(erster.spielanzahl, 1);
    EXPECT_EQ(erster.matchegewonnen, 1);
    EXPECT_EQ(erster.matcheverloren, 0);
    EXPECT_EQ(erster.spielegewonnen, 3) << "rubbers won from the team result";
    EXPECT_EQ(erster.spieleverloren, 1);
    EXPECT_EQ(erster.saetzegewonnen, 10) << "3 + 1 + 3 + 3";
    EXPECT_EQ(erster.saetzeverloren, 6) << "0 + 3 + 2 + 1";
    EXPECT_EQ(erster.punktegewonnen, 33 + 28 + 43 + 40);
    EXPECT_EQ(erster.punkteverloren, 15 + 40 + 37 + 28);
    EXPECT_EQ(erster.pos, 0);
    EXPECT_EQ(zweiter.matcheverloren, 1);
    EXPECT_EQ(zweiter.spielegewonnen, 1);
    EXPECT_EQ(zweiter.spieleverloren, 3);
    EXPECT_EQ(zweiter.saetzegewonnen, 6);
    EXPECT_EQ(zweiter.saetzeverloren, 10);
    EXPECT_EQ(zweiter.punktegewonnen, 120);

    // The team match keeps the team result and no sets; every shown rubber holds its own.
    const SpielplanRow m1 = spiel(1);
    EXPECT_TRUE(m1.beendet);
    EXPECT_EQ(m1.ergebnis, QStringLiteral("3:1"));
    EXPECT_EQ(m1.siegerSID, a);
    EXPECT_EQ(m1.verliererSID, b);
    for (const std::optional<int>& s : m1.satz)
        EXPECT_EQ(s, std::nullopt);
    const QVector<TeamspielRow> r1 = rubbers(1);
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(r1[n].ergebnis, QString::fromLatin1(kBeispiel[n].erg)) << n;
    EXPECT_EQ(r1[1].satz[0], -5);
    EXPECT_EQ(r1[2].satz[4], 5);
    EXPECT_EQ(r1[2].satz[5], std::nullopt);
    EXPECT_EQ(r1[4].ergebnis, std::nullopt) << "a rubber not played keeps no result";
    EXPECT_EQ(sb->zelle(1).text, QStringLiteral("3:1"));
    EXPECT_EQ(sb->zelle(1).hint, QString()) << "a team match's cell shows no sets";

    // The stronger team wins the other two; the group ends and moves its first two on.
    for (int snr : {2, 3}) {
        const SpielplanRow m = spiel(snr);
        spielen(snr, m.SID1 < m.SID2 ? QStringLiteral("3:0") : QStringLiteral("0:3"),
                m.SID1 < m.SID2 ? kDreiNull
                                : QVector<Rubber>{{"0:3", {"-1", "-1", "-1"}},
                                                  {"0:3", {"-1", "-1", "-1"}},
                                                  {"0:3", {"-1", "-1", "-1"}},
                                                  {"", {}},
                                                  {"", {}}});
    }
    EXPECT_TRUE(ui.texts().contains(Ergebnisverarbeitung::kGruppeBeendet)) << str(ui.texts().join(u'|'));
    int sieger = -1;
    for (int mid : {201, 202, 203})
        if (zeile(mid).pos == 0) sieger = mid;
    const SpielplanRow finale = spiel(4);
    EXPECT_GT(finale.SID1, 0);
    EXPECT_GT(finale.SID2, 0);
    EXPECT_EQ(finale.SID1, sieger);
    for (const TeamspielRow& r : rubbers(4)) {
        EXPECT_EQ(r.MID1, finale.SID1);
        EXPECT_EQ(r.spieler1, finale.spieler1);
        EXPECT_EQ(r.MID2, finale.SID2);
        EXPECT_EQ(r.spieler2, finale.spieler2);
    }

    spielen(
        4, QStringLiteral("3:2"),
        {{"3:0", {"1", "1", "1"}}, {"0:3", {}}, {"3:0", {}}, {"0:3", {}}, {"3:1", {"5", "-5", "5", "5"}}});
    for (const SpielplanRow& m : spiele(db()))
        EXPECT_TRUE(m.beendet) << m.spielnummer;
    EXPECT_EQ(spiel(4).siegerSID, finale.SID1);
    EXPECT_EQ(rubbers(4)[4].satz[1], -5);
    // Everything is free again at the end.
    for (int mid : {finale.SID1, finale.SID2})
        EXPECT_TRUE(liste(Freilisten::allespieler).contains(QString::number(mid))) << mid;
    EXPECT_TRUE(liste(Freilisten::alleplatten).contains(QStringLiteral("1")));
    EXPECT_EQ(db().transactionDepth(), 0);
}

// The line-up chosen when planning is stored with the rubbers and shown again when the match is opened
// again, the second pair included (the team system stores it as 12).
TEST_P(TeamTest, LineUpsAreKeptWhenAPlannedMatchIsReopened) {
    gruppeMitFinale();
    teamOeffnen();
    team->spielplanen(1);
    const int mid1 = team->mid1;
    const auto& a = team->aufstellung[0];
    EXPECT_EQ(a.einzel[0], QStringLiteral("N%1, V.").arg(mid1 * 10 + 1));
    EXPECT_EQ(a.einzelItems.size(), 3) << "two players and the reserve";
    EXPECT_EQ(a.doppel[1], QStringLiteral("N%1, V. / N%2, V.").arg(mid1 * 10 + 2).arg(mid1 * 10 + 3));
    // The reserve plays position 2, the pairs are swapped.
    const QString reserve = QStringLiteral("N%1, V.").arg(mid1 * 10 + 3);
    const QString paar1 = a.doppel[0], paar2 = a.doppel[1];
    team->aufstellung[0].einzel[1] = reserve;
    team->aufstellung[0].doppel[0] = paar2;
    team->aufstellung[0].doppel[1] = paar1;
    team->zeilen[0].tisch = QStringLiteral("2");
    team->zeilen[0].schiri = QStringLiteral("Ump, Eins");
    team->zeilen[0].zeit = QStringLiteral("10:30");
    ASSERT_TRUE(team->okClick().geschlossen) << str(ui.texts().join(u'|'));

    const QVector<TeamspielRow> r = rubbers(1);
    EXPECT_EQ(r[1].sbez1, reserve) << "rubber 2 is A2 - B1";
    EXPECT_EQ(r[1].p1, 2);
    EXPECT_EQ(r[3].sbez1, paar1) << "rubber 4 is D2 - D2";
    EXPECT_EQ(r[3].p1, 12);
    EXPECT_EQ(r[0].geplanter_tisch, QStringLiteral("2"));
    EXPECT_EQ(r[0].schiri, QStringLiteral("Ump, Eins"));
    EXPECT_EQ(r[0].geplante_zeit.time(), QTime(10, 30));
    EXPECT_EQ(r[0].an_platte, std::nullopt) << "planning stores no called table";
    EXPECT_EQ(r[0].SID1, -1);

    team->spielbeendet(2); // another match in between
    team->spielplanen(1);
    EXPECT_EQ(team->aufstellung[0].einzel[1], reserve);
    EXPECT_EQ(team->aufstellung[0].doppel[0], paar2);
    EXPECT_EQ(team->aufstellung[0].doppel[1], paar1);
    EXPECT_EQ(team->aufstellung[1].einzel[0], QStringLiteral("N%1, V.").arg(team->mid2 * 10 + 1));
    EXPECT_EQ(team->zeilen[0].tisch, QStringLiteral("2"));
    EXPECT_EQ(team->zeilen[0].schiri, QStringLiteral("Ump, Eins"));
    EXPECT_EQ(team->zeilen[0].zeit, QStringLiteral("10:30"));
}

// In a knock-out the winner moves into the waiting team match's row and into every rubber of it; the
// reset of the finished match wipes its rubbers and takes the winner out again, rubbers included.
TEST_P(TeamTest, AWinnerMovesIntoTheWaitingMatchAndItsRubbersAndTheResetTakesItBack) {
    ko4();
    teamOeffnen();
    spielen(1, QStringLiteral("1:3"), {{"0:3", {}}, {"3:0", {}}, {"0:3", {}}, {"1:3", {}}, {"", {}}});
    const SpielplanRow finale = spiel(3);
    EXPECT_EQ(finale.SID1, 204) << "1:3: the second team won";
    EXPECT_EQ(finale.spieler1, teamname(204));
    for (const TeamspielRow& r : rubbers(3)) {
        EXPECT_EQ(r.MID1, 204) << r.nummer;
        EXPECT_EQ(r.spieler1, teamname(204));
        EXPECT_EQ(r.MID2, -1);
        EXPECT_EQ(r.spieler2, QStringLiteral("Sieger Spiel 2"));
    }

    ui.answer(true);
    ASSERT_TRUE(sb->spielZuruecksetzen(1, *ev));
    EXPECT_EQ(ui.questions, QStringList{Spielbetrieb::kMehrereSpiele});
    const SpielplanRow m = spiel(1);
    EXPECT_FALSE(m.beendet);
    EXPECT_TRUE(m.begonnen);
    for (const TeamspielRow& r : rubbers(1)) {
        EXPECT_EQ(r.ergebnis, std::nullopt) << "a knock-out reset wipes every rubber";
        EXPECT_EQ(r.satz[0], std::nullopt);
    }
    EXPECT_EQ(spiel(3).SID1, -1);
    for (const TeamspielRow& r : rubbers(3)) {
        EXPECT_EQ(r.MID1, -1);
        EXPECT_EQ(r.spieler1, QStringLiteral("Sieger Spiel 1"));
    }
    EXPECT_EQ(tag(1), StateTag::Started);

    // "Korrigieren" on a finished match: the old result goes, the new one moves the other team on.
    ASSERT_TRUE(beenden(1, QStringLiteral("3:0"), kDreiNull).geschlossen);
    team->spielbeendet(1);
    EXPECT_EQ(team->modus, Dialogmodus::Korrigieren);
    EXPECT_EQ(team->ergebniscombo, QStringLiteral("3:0"));
    EXPECT_EQ(team->zeilen[0].erg, QStringLiteral("3:0"));
    EXPECT_EQ(team->zeilen[0].satz[0], QStringLiteral("+1"));
    EXPECT_EQ(team->zeilen[0].satzAktiv, 3);
    eintragen(QStringLiteral("0:3"), {{"0:3", {}}, {"0:3", {}}, {"0:3", {}}, {"", {}}, {"", {}}});
    ASSERT_TRUE(team->okClick().geschlossen) << str(ui.texts().join(u'|'));
    EXPECT_EQ(spiel(3).SID1, 204);
    for (const TeamspielRow& r : rubbers(3))
        EXPECT_EQ(r.MID1, 204);
    EXPECT_EQ(rubbers(1)[0].ergebnis, QStringLiteral("0:3"));
}

// A team group match reset withdraws only the team match row: its rubbers keep their results until it is
// finished again, and the standings lose exactly what it added.
TEST_P(TeamTest, AGroupResetWithdrawsOnlyTheTeamMatchRow) {
    gruppeMitFinale();
    teamOeffnen();
    spielen(1, QStringLiteral("3:1"), kBeispiel);
    const int a = spiel(1).SID1;
    ui.answer(true);
    ASSERT_TRUE(sb->spielZuruecksetzen(1, *ev));
    EXPECT_EQ(spiel(1).ergebnis, std::nullopt);
    EXPECT_EQ(rubbers(1)[0].ergebnis, QStringLiteral("3:0"));
    const TabellenRow r = zeile(a);
    EXPECT_EQ(r.spielanzahl + r.matchegewonnen + r.spielegewonnen + r.saetzegewonnen + r.punktegewonnen, 0);
}

// The losing team's players and reserve become umpires, skipping those the tournament knows already.
TEST_P(TeamTest, TheLosingTeamGoesIntoTheUmpirePoolSkippingKnownUmpires) {
    ko4();
    // 2043, the reserve of the loser, is an umpire already.
    db().exec(
        QStringLiteral("INSERT INTO Schiri (TID, SCHIRIID, snname, svname) VALUES (1, 50, 'N2043', 'Vera')"));
    teamOeffnen();
    ASSERT_TRUE(aufrufen(1).geschlossen);
    ASSERT_TRUE(starten(1).geschlossen);
    ASSERT_TRUE(beenden(1, QStringLiteral("3:0"), kDreiNull, true).geschlossen) << str(ui.texts().join(u'|'));
    QStringList namen;
    for (const Row& r :
         db().select(QStringLiteral("SELECT snname,smemo FROM Schiri WHERE TID=1 ORDER BY SCHIRIID"))) {
        namen << r.text(u"snname");
        if (r.text(u"snname") != QStringLiteral("N2043")) {
            EXPECT_EQ(r.text(u"smemo"), QStringLiteral("Verlierer aus Spiel 1"));
        }
    }
    EXPECT_EQ(namen, (QStringList{"N2043", "N2041", "N2042"}));
    EXPECT_EQ(db().selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM Schiri_im_turnier WHERE KID=:k"),
                             {{":k", kKid}})
                  .integer(u"n"),
              2);
    for (const char* n : {"N2041, Vera", "N2042, Vera"}) {
        EXPECT_TRUE(liste(Freilisten::schiri).contains(QString::fromLatin1(n))) << n;
        EXPECT_TRUE(sb->listen().istSchiri(QString::fromLatin1(n))) << n;
    }
}

// Refused confirmations leave the dialog open and write nothing.
TEST_P(TeamTest, RefusalsWriteNothing) {
    gruppeMitFinale();
    teamOeffnen();
    ASSERT_TRUE(aufrufen(1).geschlossen);
    ASSERT_TRUE(starten(1).geschlossen);
    const struct {
        const char* name;
        Dialogmodus modus;
        std::function<void(Tergebnis_team&)> eingabe;
        QString meldung;
    } faelle[] = {
        {"table_not_of_the_group", Dialogmodus::Uebernehmen,
         [](Tergebnis_team& t) { t.zeilen[2].tisch = QStringLiteral("Tisch 9"); },
         Tergebnis::kUngueltigePlatte},
        {"table_empty_in_a_call", Dialogmodus::Aufrufen, [](Tergebnis_team& t) { t.zeilen[0].tisch.clear(); },
         Tergebnis::kUngueltigePlatte},
        {"team_result_not_listed", Dialogmodus::SpielBeendet,
         [](Tergebnis_team& t) { t.ergebniscombo = QStringLiteral("3:3"); },
         satznotation::kUngueltigesSpielergebnis},
        {"team_result_empty", Dialogmodus::SpielBeendet, [](Tergebnis_team& t) { t.ergebniscombo.clear(); },
         satznotation::kUngueltigesSpielergebnis},
        {"rubber_sets_contradict", Dialogmodus::SpielBeendet,
         [](Tergebnis_team& t) {
             t.ergebniscombo = QStringLiteral("3:1");
             t.rubberErgebnisGewaehlt(1, QStringLiteral("3:0"));
             t.zeilen[1].satz[0] = QStringLiteral("-5");
         },
         QStringLiteral("Spiel 2: Satz 1 passt nicht zum Endergebnis 3:0")},
        {"rubber_result_not_listed", Dialogmodus::SpielBeendet,
         [](Tergebnis_team& t) {
             t.ergebniscombo = QStringLiteral("3:1");
             t.zeilen[0].erg = QStringLiteral("7:0");
         },
         QStringLiteral("Spiel 1: ") + satznotation::kUngueltigesErgebnis},
    };
    const auto spieleVorher = spiele(db());
    const auto rubbersVorher = matchrecord::rubbersOfClass(db(), kKid);
    const auto tabelleVorher = tabellen::gruppeLesen(db(), kKid, 0);
    const Freilisten listenVorher = sb->listen();
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        const int snr = f.modus == Dialogmodus::SpielBeendet ? 1 : 2;
        switch (f.modus) {
        case Dialogmodus::Uebernehmen:
            team->spielplanen(snr);
            break;
        case Dialogmodus::Aufrufen:
            team->spielaufrufen1(snr);
            break;
        default:
            team->spielstarten(snr);
            break;
        }
        f.eingabe(*team);
        ui.clear();
        EXPECT_FALSE(team->okClick().geschlossen);
        EXPECT_EQ(ui.texts(), QStringList{f.meldung});
        EXPECT_EQ(db().transactionDepth(), 0);
    }
    EXPECT_EQ(spiele(db()), spieleVorher);
    EXPECT_EQ(matchrecord::rubbersOfClass(db(), kKid), rubbersVorher);
    EXPECT_EQ(tabellen::gruppeLesen(db(), kKid, 0), tabelleVorher);
    EXPECT_EQ(sb->listen(), listenVorher);
}

// A running team match holds the tables and umpires of all its rubbers, also after the plans are drawn
// again; taking the call back gives them back, but a typed table that is none of the class's never.
TEST_P(TeamTest, ACalledTeamMatchHoldsTheTablesAndUmpiresOfItsRubbers) {
    gruppeMitFinale();
    schiri(1, QStringLiteral("Ump"), QStringLiteral("Eins"));
    schiri(2, QStringLiteral("Ump"), QStringLiteral("Zwei"));
    teamOeffnen();
    const SpielplanRow m = spiel(1);
    team->spielMauellStarten(1);
    EXPECT_EQ(team->manuell, 1);
    team->zeilen[0].tisch = QStringLiteral("1");
    team->zeilen[1].tisch = QStringLiteral("2");
    team->zeilen[2].tisch = QStringLiteral("Halle B");
    team->zeilen[1].schiri = QStringLiteral("Ump, Zwei");
    ASSERT_TRUE(team->okClick().geschlossen) << str(ui.texts().join(u'|'));
    const SpielplanRow gerufen = spiel(1);
    EXPECT_TRUE(gerufen.in_planung);
    EXPECT_TRUE(gerufen.manuell);
    EXPECT_EQ(gerufen.an_platte, QStringLiteral("1")) << "the first rubber's table";
    EXPECT_EQ(rubbers(1)[2].an_platte, QStringLiteral("Halle B"));

    const auto gehalten = [&] {
        EXPECT_FALSE(liste(Freilisten::platte(0)).contains(QStringLiteral("1")));
        EXPECT_FALSE(liste(Freilisten::platte(0)).contains(QStringLiteral("2")));
        EXPECT_FALSE(liste(Freilisten::schiri).contains(QStringLiteral("Ump, Zwei")));
        EXPECT_TRUE(liste(Freilisten::schiri).contains(QStringLiteral("Ump, Eins")));
        EXPECT_FALSE(liste(Freilisten::sliste(0)).contains(QString::number(m.SID1)));
        EXPECT_EQ(tag(1), StateTag::Called);
    };
    gehalten();
    sb->planshow();
    gehalten();
    EXPECT_EQ(tag(2), StateTag::Waiting) << "a team of match 1 plays in match 2 as well";

    ASSERT_TRUE(sb->spielZuruecksetzen(1, *ev));
    EXPECT_TRUE(liste(Freilisten::platte(0)).contains(QStringLiteral("2")));
    EXPECT_TRUE(liste(Freilisten::schiri).contains(QStringLiteral("Ump, Zwei")));
    EXPECT_FALSE(liste(Freilisten::platte(0)).contains(QStringLiteral("Halle B")));
    EXPECT_TRUE(liste(Freilisten::sliste(0)).contains(QString::number(m.SID1)));
    EXPECT_FALSE(spiel(1).in_planung);
}

VELMORA_INSTANTIATE_DB_TEST(TeamTest);

} // namespace

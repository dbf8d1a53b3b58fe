#include "results/ergebnisverarbeitung.h"

#include "draw/labels.h"
#include "spielklasse.h"
#include "support/testdb.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

using namespace spielklasse;

std::string str(const QString& s) {
    return s.toStdString();
}

struct Seite {
    int sid;
    QString name;
    bool operator==(const Seite&) const = default;
};
void PrintTo(const Seite& s, std::ostream* os) {
    *os << s.sid << " \"" << str(s.name) << "\"";
}
Seite seite1(const SpielplanRow& m) {
    return {m.SID1, m.spieler1};
}
Seite seite2(const SpielplanRow& m) {
    return {m.SID2, m.spieler2};
}
Seite spieler(int sid) {
    return {sid, name(sid)};
}
Seite offen(const QString& bez) {
    return {-1, bez};
}

class ErgebnisTest : public DbTest {
protected:
    // Records every tie question, checks none comes while a transaction is open, and answers with
    // `antwort` (leaving the order as ranked when none is set).
    tabelle::Entscheider entscheider() {
        return [this](tabelle::Vergleich& v) {
            EXPECT_EQ(db().transactionDepth(), 0) << "a question while the transaction is open";
            QVector<int> sids;
            QVector<bool> marks;
            for (const TabellenRow& r : v.eintraege()) {
                sids << r.SID;
                marks << r.markiert;
            }
            fragen << sids;
            markierungen << marks;
            if (antwort) antwort(v);
        };
    }

    Ergebnisverarbeitung ev() { return Ergebnisverarbeitung(db(), interaction, entscheider()); }

    // 3 groups of 3 (101-103, 104-106, 107-109), the group winners and the best second into a knock-out of
    // four: matches 1-9 in the groups, 10 and 11 the semi-finals, 12 the final.
    void gruppenMitKo() {
        PhasePlan ko = bracket(PhasePlan::EinfachesKO,
                               {label("Sieger Gruppe A", 0, 0), label("Sieger Gruppe C", 2, 0),
                                label("Sieger Gruppe B", 1, 0), label("1. Bestplatzierter 2. Platz", -3, 0)},
                               3);
        DrawPlan plan;
        plan.phases = {gruppen(3, 3), ko, PhasePlan{}};
        anlegen(db(), {Phase{0, 3, 3, 1, 1}, Phase{1}, Phase{}}, plan);
    }

    // Two groups of four (101-104, 105-108), the first two of each into one group of four (GID 2), its
    // first two into a final.
    void dreiPhasen() {
        PhasePlan mitte;
        mitte.system = PhasePlan::Gruppenphase;
        mitte.firstGid = 2;
        mitte.groups = {{label("Sieger Gruppe A", 0, 0), label("Zweiter Gruppe B", 1, 1),
                         label("Sieger Gruppe B", 1, 0), label("Zweiter Gruppe A", 0, 1)}};
        PhasePlan finale = bracket(PhasePlan::EinfachesKO,
                                   {label("Sieger Gruppe C", 2, 0), label("Zweiter Gruppe C", 2, 1)}, 3);
        DrawPlan plan;
        plan.phases = {gruppen(2, 4), mitte, finale};
        anlegen(db(), {Phase{0, 2, 4, 2, 0}, Phase{0, 1, 4, 2, 0}, Phase{1}}, plan);
    }

    // A single knock-out of eight: 1-4 first round, 5 and 6 semi-finals, 7 the final.
    void ko8() {
        QVector<PlanSlot> felder;
        for (int s : {101, 108, 104, 105, 103, 106, 102, 107})
            felder << eintrag(s);
        DrawPlan plan;
        plan.phases = {bracket(PhasePlan::EinfachesKO, felder), PhasePlan{}, PhasePlan{}};
        anlegen(db(), {Phase{1}, Phase{}, Phase{}}, plan);
    }

    ScriptedInteraction interaction;
    QVector<QVector<int>> fragen;
    QVector<QVector<bool>> markierungen;
    std::function<void(tabelle::Vergleich&)> antwort;
};

// The best second is decided by hand: the operator moves the third red entry to the top.
void letzterNachOben(tabelle::Vergleich& v) {
    for (int i = v.size() - 1; i > 0; --i)
        v.rauf(i);
}

// Groups, then a knock-out with a best-placed qualifier: every group position and the best second land
// in their felder, the tie among the seconds is decided by hand, and the final is won by the strongest.
TEST_P(ErgebnisTest, GroupsThenKnockOutWithBestPlacedPlayedToTheEnd) {
    gruppenMitKo();
    antwort = letzterNachOben;
    auto e = ev();
    EXPECT_EQ(allesSpielen(db(), e), 12);

    for (int g = 0; g < 3; ++g) {
        SCOPED_TRACE(g);
        const int s = 101 + 3 * g;
        EXPECT_EQ(stand(db(), g), (std::vector<std::pair<int, int>>{{s, 0}, {s + 1, 1}, {s + 2, 2}}));
        const auto rows = tabellen::gruppeLesen(db(), kKid, g);
        ASSERT_EQ(rows.size(), 3);
        // 11:5 7:11 11:9 11:3 in both wins
        EXPECT_EQ(rows[0].spielanzahl, 2);
        EXPECT_EQ(rows[0].spielegewonnen, 2);
        EXPECT_EQ(rows[0].saetzegewonnen, 6);
        EXPECT_EQ(rows[0].saetzeverloren, 2);
        EXPECT_EQ(rows[0].punktegewonnen, 80);
        EXPECT_EQ(rows[0].punkteverloren, 56);
        EXPECT_EQ(rows[2].spieleverloren, 2);
    }
    // The three seconds are equal in everything and met nobody of each other: one question, all red.
    ASSERT_EQ(fragen.size(), 1);
    EXPECT_EQ(fragen[0], (QVector<int>{102, 105, 108}));
    EXPECT_EQ(markierungen[0], (QVector<bool>{true, true, true}));

    EXPECT_EQ(seite1(spiel(db(), 10)), spieler(101));
    EXPECT_EQ(seite2(spiel(db(), 10)), spieler(107));
    EXPECT_EQ(seite1(spiel(db(), 11)), spieler(104));
    EXPECT_EQ(seite2(spiel(db(), 11)), spieler(108)) << "the second chosen first by hand";
    EXPECT_EQ(seite1(spiel(db(), 12)), spieler(101));
    EXPECT_EQ(seite2(spiel(db(), 12)), spieler(104));
    EXPECT_EQ(spiel(db(), 12).siegerSID, 101);
    for (const SpielplanRow& m : spiele(db()))
        EXPECT_TRUE(m.beendet) << m.spielnummer;

    // Three groups ended, one phase: each message once the commit is done.
    EXPECT_EQ(interaction.texts().count(QStringLiteral("Gruppe beendet")), 3);
    EXPECT_EQ(interaction.texts().count(QStringLiteral("Phase beendet")), 1);
    EXPECT_EQ(interaction.texts().last(), QStringLiteral("Phase beendet"));
    // The best-placed row of the next phase is not touched: the knock-out has no standings.
    EXPECT_TRUE(tabellen::gruppeLesen(db(), kKid, 3).isEmpty());
}

// What the last group match hands back: resources, the filled felder, the entrants who moved on.
TEST_P(ErgebnisTest, LastGroupMatchReportsWhatChanged) {
    gruppenMitKo();
    antwort = letzterNachOben;
    auto e = ev();
    for (int snr = 1; snr <= 8; ++snr)
        ASSERT_TRUE(e.db_beendet(staerkereGewinnt(spiel(db(), snr))).geschrieben);
    interaction.clear();
    ErgebnisEingabe in = staerkereGewinnt(spiel(db(), 9));
    in.schiri = QStringLiteral("Ober, Otto");
    in.platte = QStringLiteral("2");
    const Beendet b = e.db_beendet(in);
    ASSERT_TRUE(b.geschrieben);
    EXPECT_EQ(b.gruppe, 2);
    EXPECT_EQ(b.phase, 1);
    EXPECT_EQ(b.siegerSID, 107);
    EXPECT_EQ(b.verliererSID, 108);
    EXPECT_EQ(b.spieler, (QVector<int>{107, 108}));
    EXPECT_EQ(b.schiri, QStringLiteral("Ober, Otto"));
    EXPECT_EQ(b.platte, QStringLiteral("2"));
    EXPECT_EQ(b.platteZiel, PlattenZiel::Alle) << "tables shared by the groups";
    EXPECT_TRUE(b.gruppeBeendet);
    EXPECT_TRUE(b.phaseBeendet);
    EXPECT_EQ(b.geaenderteSpiele, (QVector<int>{9, 10, 11}));
    EXPECT_TRUE(b.nachgerueckt.contains(107));
    EXPECT_TRUE(b.nachgerueckt.contains(108));
    EXPECT_EQ(interaction.texts(), (QStringList{"Gruppe beendet", "Phase beendet"}));
}

// "Korrigieren" of the last match of group A: the old result withdrawn with the felder it filled, the new
// one stored, the group finished again and the knock-out refilled from the new standings — also after
// the semi-final the old winner had played.
TEST_P(ErgebnisTest, CorrectionOfTheLastGroupMatchRefillsTheNextPhase) {
    gruppenMitKo();
    antwort = letzterNachOben;
    auto e = ev();
    for (int snr = 1; snr <= 10; ++snr)
        ASSERT_TRUE(e.db_beendet(staerkereGewinnt(spiel(db(), snr))).geschrieben);
    ASSERT_TRUE(spiel(db(), 10).beendet);
    ASSERT_EQ(seite1(spiel(db(), 12)), spieler(101));

    // Match 7 is 101 against 102, the last of group A: now 102 wins.
    const SpielplanRow m7 = spiel(db(), 7);
    ASSERT_EQ(m7.gruppe, 0);
    ASSERT_EQ(m7.SID1, 101);
    ASSERT_EQ(m7.SID2, 102);
    interaction.clear();
    const Beendet b = e.korrigieren(schwaechereGewinnt(m7));
    ASSERT_TRUE(b.geschrieben);
    EXPECT_TRUE(b.spieler.isEmpty()) << "the resources went back when the match was first finished";
    EXPECT_EQ(spiel(db(), 7).siegerSID, 102);
    EXPECT_EQ(stand(db(), 0), (std::vector<std::pair<int, int>>{{102, 0}, {101, 1}, {103, 2}}));
    const auto a = tabellen::gruppeLesen(db(), kKid, 0);
    EXPECT_EQ(a[0].spielanzahl, 2);
    EXPECT_EQ(a[1].spielanzahl, 2) << "the old result is no longer counted";
    EXPECT_EQ(a[1].spielegewonnen, 1);

    const SpielplanRow m10 = spiel(db(), 10);
    EXPECT_EQ(seite1(m10), spieler(102));
    EXPECT_EQ(seite2(m10), spieler(107));
    EXPECT_FALSE(m10.beendet) << "the semi-final of the old winner is open again";
    EXPECT_EQ(m10.siegerSID, -1);
    EXPECT_EQ(m10.ergebnis, std::nullopt);
    EXPECT_EQ(seite1(spiel(db(), 12)), offen("Sieger Spiel 10"));
    // The phase is finished again: the seconds are asked again, now with 101 among them.
    ASSERT_EQ(fragen.size(), 2);
    EXPECT_EQ(fragen[1], (QVector<int>{101, 105, 108}));
    EXPECT_EQ(seite2(spiel(db(), 11)), spieler(108));
    EXPECT_EQ(interaction.texts(), (QStringList{"Gruppe beendet", "Phase beendet"}));
}

// Three phases: two groups, one group of the qualifiers, a final. The middle group's rows are filled
// with the qualifiers and their results counted there.
TEST_P(ErgebnisTest, ThreePhasesPlayedToTheEnd) {
    dreiPhasen();
    auto e = ev();
    EXPECT_EQ(allesSpielen(db(), e), 12 + 6 + 1);
    EXPECT_EQ(stand(db(), 0), (std::vector<std::pair<int, int>>{{101, 0}, {102, 1}, {103, 2}, {104, 3}}));
    EXPECT_EQ(stand(db(), 2), (std::vector<std::pair<int, int>>{{101, 0}, {102, 1}, {105, 2}, {106, 3}}));
    const auto mitte = tabellen::gruppeLesen(db(), kKid, 2);
    ASSERT_EQ(mitte.size(), 4);
    EXPECT_EQ(mitte[0].bez, name(101));
    EXPECT_EQ(mitte[0].spielanzahl, 3);
    EXPECT_EQ(mitte[0].phase, 2);
    const SpielplanRow finale = spiele(db()).last();
    EXPECT_EQ(finale.phase, 3);
    EXPECT_EQ(seite1(finale), spieler(101));
    EXPECT_EQ(seite2(finale), spieler(102));
    EXPECT_EQ(finale.siegerSID, 101);
    EXPECT_TRUE(fragen.isEmpty());
    EXPECT_EQ(interaction.texts().count(QStringLiteral("Phase beendet")), 2);
}

// A circle in a group of three (B beat C, C beat A, A beat B, all alike): the three share one position
// until the group ends, then the operator is asked once with the three in red, and his order is what
// moves on.
TEST_P(ErgebnisTest, CircleOfThreeIsDecidedByHand) {
    PhasePlan ko =
        bracket(PhasePlan::EinfachesKO, {label("Sieger Gruppe A", 0, 0), label("Zweiter Gruppe A", 0, 1)}, 1);
    DrawPlan plan;
    plan.phases = {gruppen(1, 3), ko, PhasePlan{}};
    anlegen(db(), {Phase{0, 1, 3, 2, 0}, Phase{1}, Phase{}}, plan);
    antwort = letzterNachOben;
    auto e = ev();
    // 2-3, 1-3, 1-2: 102 beats 103, 103 beats 101, 101 beats 102.
    const QHash<int, int> sieger{{1, 102}, {2, 103}, {3, 101}};
    ASSERT_EQ(spiel(db(), 1).SID1, 102);
    for (int snr = 1; snr <= 2; ++snr) {
        SpielplanRow m = spiel(db(), snr);
        ErgebnisEingabe in = eingabe(snr, sieger.value(snr) == m.SID1 ? "3:1" : "1:3",
                                     sieger.value(snr) == m.SID1 ? QStringList{"+5", "-7", "+9", "+3"}
                                                                 : QStringList{"-5", "+7", "-9", "-3"});
        ASSERT_TRUE(e.db_beendet(in).geschrieben);
    }
    EXPECT_TRUE(fragen.isEmpty()) << "no question while the group runs";
    ErgebnisEingabe letzte = eingabe(3, "3:1", {"+5", "-7", "+9", "+3"});
    ASSERT_EQ(spiel(db(), 3).SID1, 101);
    interaction.clear();
    ASSERT_TRUE(e.db_beendet(letzte).geschrieben);

    ASSERT_EQ(fragen.size(), 1);
    EXPECT_EQ(fragen[0], (QVector<int>{101, 103, 102})) << "ranked from the previous positions";
    EXPECT_EQ(markierungen[0], (QVector<bool>{true, true, true}));
    EXPECT_EQ(stand(db(), 0), (std::vector<std::pair<int, int>>{{102, 0}, {101, 1}, {103, 2}}));
    EXPECT_EQ(seite1(spiel(db(), 4)), spieler(102));
    EXPECT_EQ(seite2(spiel(db(), 4)), spieler(101));
    EXPECT_EQ(interaction.texts(), (QStringList{"Gruppe beendet", "Phase beendet"}));
}

// A group of four with an empty line: the empty slot keeps its stored position while the group runs, and
// takes the last place when it ends, so the slot fed by that place is emptied and the others get entries.
TEST_P(ErgebnisTest, EmptySlotKeepsItsPositionAndEndsLast) {
    PhasePlan p1 = gruppen(1, 4);
    p1.groups[0] = {eintrag(101), PlanSlot{}, eintrag(102), eintrag(103)};
    PhasePlan ko = bracket(PhasePlan::EinfachesKO,
                           {label("Sieger Gruppe A", 0, 0), label("4. Gruppe A", 0, 3),
                            label("Zweiter Gruppe A", 0, 1), label("Dritter Gruppe A", 0, 2)},
                           1);
    DrawPlan plan;
    plan.phases = {p1, ko, PhasePlan{}};
    anlegen(db(), {Phase{0, 1, 4, 4, 0}, Phase{1}, Phase{}}, plan);
    auto e = ev();
    const auto leer = [&] {
        for (const TabellenRow& r : tabellen::gruppeLesen(db(), kKid, 0))
            if (r.SID == -1) return r.pos;
        return -99;
    };
    ASSERT_TRUE(e.db_beendet(staerkereGewinnt(*naechstes(db()))).geschrieben);
    EXPECT_EQ(leer(), 1) << "while the group runs";
    EXPECT_EQ(allesSpielen(db(), e), 3) << "two group matches, then the second against the third";
    EXPECT_EQ(stand(db(), 0), (std::vector<std::pair<int, int>>{{101, 0}, {102, 1}, {103, 2}}));
    EXPECT_EQ(leer(), 3);
    const SpielplanRow a = spiel(db(), 7), b = spiel(db(), 8);
    EXPECT_EQ(seite1(a), spieler(101));
    EXPECT_EQ(seite2(a), (Seite{-1, QString()}));
    EXPECT_EQ(seite1(b), spieler(102));
    EXPECT_EQ(seite2(b), spieler(103));
}

// Best placed of phase 1 go into phase 2 only: the best-placed slot of phase 3 waits for phase 2's best.
TEST_P(ErgebnisTest, BestPlacedGoIntoTheNextPhaseOnly) {
    PhasePlan mitte;
    mitte.system = PhasePlan::Gruppenphase;
    mitte.firstGid = 2;
    mitte.groups = {{label("Sieger Gruppe A", 0, 0), label("Sieger Gruppe B", 1, 0),
                     label("1. Bestplatzierter 2. Platz", -3, 0)}};
    PhasePlan finale =
        bracket(PhasePlan::EinfachesKO,
                {label("Sieger Gruppe C", 2, 0), label("1. Bestplatzierter 2. Platz", -3, 0)}, 3);
    DrawPlan plan;
    plan.phases = {gruppen(2, 3), mitte, finale};
    anlegen(db(), {Phase{0, 2, 3, 1, 1}, Phase{0, 1, 3, 1, 1}, Phase{1}}, plan);
    auto e = ev();
    for (int snr = 1; snr <= 6; ++snr)
        ASSERT_TRUE(e.db_beendet(staerkereGewinnt(spiel(db(), snr))).geschrieben);
    ASSERT_EQ(fragen.size(), 1) << "102 and 105 are alike";
    const auto c = tabellen::gruppeLesen(db(), kKid, 2);
    ASSERT_EQ(c.size(), 3);
    EXPECT_EQ(c[2].SID, 102) << "phase 2 gets phase 1's best second";
    const SpielplanRow finale10 = spiele(db()).last();
    EXPECT_EQ(seite2(finale10), offen("1. Bestplatzierter 2. Platz")) << "phase 3 waits for phase 2";

    EXPECT_EQ(allesSpielen(db(), e), 3 + 1);
    const SpielplanRow f = spiele(db()).last();
    EXPECT_EQ(seite1(f), spieler(101));
    EXPECT_EQ(seite2(f), spieler(102));
}

// Withdrawing a group match after its group finished puts the group labels back into every slot the
// group fed, empties the qualifiers' rows of the next group and resets the matches they had played there.
TEST_P(ErgebnisTest, UndoOfAFinishedGroupRestoresTheLabels) {
    dreiPhasen();
    auto e = ev();
    // Phase 1 complete, then the first match of the middle group.
    for (int snr = 1; snr <= 13; ++snr)
        ASSERT_TRUE(e.db_beendet(staerkereGewinnt(spiel(db(), snr))).geschrieben) << snr;
    const SpielplanRow m13 = spiel(db(), 13);
    ASSERT_EQ(m13.gruppe, 2);
    ASSERT_TRUE(m13.beendet);
    const auto vorher = tabellen::gruppeLesen(db(), kKid, 2);

    // The last match of group A.
    int letzteA = 0;
    for (const SpielplanRow& m : spiele(db()))
        if (m.gruppe == 0) letzteA = m.spielnummer;
    const Zurueckgesetzt z = e.db_zuruecksetzen(kKid, letzteA);
    ASSERT_TRUE(z.geschrieben);
    EXPECT_TRUE(z.geaenderteSpiele.contains(letzteA));
    EXPECT_TRUE(z.geaenderteSpiele.contains(13));

    EXPECT_FALSE(spiel(db(), letzteA).beendet);
    const auto a = tabellen::gruppeLesen(db(), kKid, 0);
    int spiele_ = 0;
    for (const TabellenRow& r : a)
        spiele_ += r.spielanzahl;
    EXPECT_EQ(spiele_, 2 * 5) << "five matches of group A still count";

    // Middle group: the places fed by group A hold their labels again, those fed by B keep their entries.
    const auto mitte = tabellen::gruppeLesen(db(), kKid, 2);
    for (const TabellenRow& r : mitte) {
        SCOPED_TRACE(str(r.bez));
        if (r.parentGID == 0) {
            EXPECT_EQ(r.SID, -1);
            EXPECT_EQ(r.bez, r.parentpos == 0 ? QStringLiteral("Sieger Gruppe A")
                                              : QStringLiteral("Zweiter Gruppe A"));
            EXPECT_EQ(r.spielanzahl, 0);
        } else {
            EXPECT_GT(r.SID, 0);
        }
    }
    for (const SpielplanRow& m : spiele(db())) {
        if (m.phase != 2) continue;
        SCOPED_TRACE(m.spielnummer);
        if (m.parentGID1 == 0) {
            EXPECT_EQ(seite1(m), offen(labels::platzlabel(m.parentpos1 + 1, 0)));
        }
        if (m.parentGID2 == 0) {
            EXPECT_EQ(seite2(m), offen(labels::platzlabel(m.parentpos2 + 1, 0)));
        }
        EXPECT_FALSE(m.beendet);
    }
    const QStringList gruppenzeilen = [&] {
        QStringList out;
        for (const Row& r :
             db().select(QStringLiteral("SELECT bez FROM Gruppen WHERE KID=:k AND GID=2 ORDER BY pos"),
                         {{":k", kKid}}))
            out << r.text(u"bez");
        return out;
    }();
    EXPECT_EQ(gruppenzeilen, (QStringList{"Sieger Gruppe A", name(106), name(105), "Zweiter Gruppe A"}));

    // Played again, the class ends as before.
    EXPECT_EQ(allesSpielen(db(), e), 1 + 6 + 1);
    EXPECT_EQ(spiele(db()).last().siegerSID, 101);
    EXPECT_EQ(stand(db(), 2), (std::vector<std::pair<int, int>>{{101, 0}, {102, 1}, {105, 2}, {106, 3}}));
    (void)vorher;
}

// Withdrawing a first-round match whose winner won the next round as well: the next-round slot and the
// one after it are emptied, the next-round result wiped; the other side of the bracket stays.
TEST_P(ErgebnisTest, UndoOfAFirstRoundMatchTwoRoundsDeep) {
    ko8();
    auto e = ev();
    for (int snr = 1; snr <= 6; ++snr)
        ASSERT_TRUE(e.db_beendet(staerkereGewinnt(spiel(db(), snr))).geschrieben);
    ASSERT_EQ(seite1(spiel(db(), 7)), spieler(101));

    const Zurueckgesetzt z = e.db_zuruecksetzen(kKid, 1);
    ASSERT_TRUE(z.geschrieben);
    EXPECT_EQ(z.geaenderteSpiele, (QVector<int>{1, 5, 7}));
    const SpielplanRow m1 = spiel(db(), 1), m5 = spiel(db(), 5), m7 = spiel(db(), 7);
    EXPECT_FALSE(m1.beendet);
    EXPECT_EQ(m1.siegerSID, -1);
    EXPECT_EQ(seite1(m5), offen("Sieger Spiel 1"));
    EXPECT_EQ(seite2(m5), spieler(104)) << "filled from elsewhere: stays";
    EXPECT_FALSE(m5.beendet);
    EXPECT_EQ(m5.satz[0], std::nullopt);
    EXPECT_EQ(seite1(m7), offen("Sieger Spiel 5"));
    EXPECT_EQ(seite2(m7), spieler(102));
    EXPECT_TRUE(spiel(db(), 6).beendet);

    // A second withdrawal of the same match is refused and changes nothing.
    interaction.clear();
    EXPECT_FALSE(e.db_zuruecksetzen(kKid, 1).geschrieben);
    EXPECT_EQ(interaction.texts(), QStringList{Ergebnisverarbeitung::kKeinErgebnis});

    // "Spiel zurücksetzen" leaves the match started.
    ASSERT_TRUE(e.db_beendet(staerkereGewinnt(spiel(db(), 1))).geschrieben);
    ASSERT_TRUE(e.db_zuruecksetzen(kKid, 1, true).geschrieben);
    const SpielplanRow gestartet = spiel(db(), 1);
    EXPECT_TRUE(gestartet.begonnen);
    EXPECT_FALSE(gestartet.beendet);
}

// A double knock-out of six with two byes: byes run through both brackets, results fill winners' and
// losers' felder, and a withdrawal deep in the bracket played again leads to the same end.
TEST_P(ErgebnisTest, DoubleKnockOutWithByesPlayedWithdrawnAndReplayed) {
    QVector<PlanSlot> felder;
    for (int s : {101, 0, 104, 105, 103, 106, 102, 0})
        felder << (s ? eintrag(s) : PlanSlot{});
    DrawPlan plan;
    plan.phases = {bracket(PhasePlan::DoppeltesKO, felder), PhasePlan{}, PhasePlan{}};
    anlegen(db(), {Phase{2}, Phase{}, Phase{}}, plan);
    auto e = ev();
    const int gespielt = allesSpielen(db(), e);
    EXPECT_GE(gespielt, 6 + 4);

    const auto ende = spiele(db());
    for (const SpielplanRow& m : ende) {
        SCOPED_TRACE(m.spielnummer);
        EXPECT_FALSE(m.spieler1.startsWith(QStringLiteral("Sieger Spiel")) ||
                     m.spieler1.startsWith(QStringLiteral("Verlierer Spiel")));
        EXPECT_FALSE(m.spieler2.startsWith(QStringLiteral("Sieger Spiel")) ||
                     m.spieler2.startsWith(QStringLiteral("Verlierer Spiel")));
        if (hasBothSides(m)) {
            EXPECT_TRUE(m.beendet);
        }
    }
    // The strongest never loses: he wins the last match played.
    int letztes = 0;
    for (const SpielplanRow& m : ende)
        if (m.beendet) letztes = m.spielnummer;
    EXPECT_EQ(spiel(db(), letztes).siegerSID, 101);

    // Withdraw every first-round match played, then play on: the plan reaches the same end.
    for (const SpielplanRow& m : ende)
        if (m.beendet && m.parentspiel1 == -1 && m.parentspiel2 == -1) {
            ASSERT_TRUE(e.db_zuruecksetzen(kKid, m.spielnummer).geschrieben) << m.spielnummer;
        }
    EXPECT_EQ(allesSpielen(db(), e), gespielt);
    const auto wieder = spiele(db());
    ASSERT_EQ(wieder.size(), ende.size());
    for (int i = 0; i < ende.size(); ++i) {
        SCOPED_TRACE(ende[i].spielnummer);
        EXPECT_EQ(seite1(wieder[i]), seite1(ende[i]));
        EXPECT_EQ(seite2(wieder[i]), seite2(ende[i]));
        EXPECT_EQ(wieder[i].siegerSID, ende[i].siegerSID);
        EXPECT_EQ(wieder[i].beendet, ende[i].beendet);
    }
}

// Doubles and mixed: the pair's text moves on as the side's name.
TEST_P(ErgebnisTest, DoublesAndMixedKnockOutMoveThePairs) {
    for (int kind : {1, 2}) {
        SCOPED_TRACE(kind);
        tdb = std::make_unique<TestDatabase>(GetParam());
        interaction.clear();
        QVector<PlanSlot> felder;
        for (int s : {101, 104, 103, 102})
            felder << PlanSlot{s, QStringLiteral("Paar %1 / Partner %1").arg(s)};
        DrawPlan plan;
        plan.phases = {bracket(PhasePlan::EinfachesKO, felder), PhasePlan{}, PhasePlan{}};
        anlegen(db(), {Phase{1}, Phase{}, Phase{}}, plan, kind);
        auto e = ev();
        // Match 1 was called to a typed table: that table goes back into no free list.
        matchrecord::call(db(), kKid, 1, QDateTime(QDate(2026, 5, 1), QTime(9, 0)), QStringLiteral("Halle 2"),
                          QString(), true);
        ErgebnisEingabe erstes = staerkereGewinnt(spiel(db(), 1));
        erstes.platte = QStringLiteral("Halle 2");
        const Beendet b = e.db_beendet(erstes);
        EXPECT_EQ(b.platteZiel, PlattenZiel::Keine);
        EXPECT_EQ(b.spieler, (QVector<int>{101, 104}));
        EXPECT_EQ(allesSpielen(db(), e), 2);
        EXPECT_TRUE(interaction.texts().isEmpty()) << "knock-out results end no group and no phase";
        const SpielplanRow finale = spiel(db(), 3);
        EXPECT_EQ(seite1(finale), (Seite{101, QStringLiteral("Paar 101 / Partner 101")}));
        EXPECT_EQ(seite2(finale), (Seite{102, QStringLiteral("Paar 102 / Partner 102")}));
        EXPECT_EQ(finale.siegerSID, 101);
        EXPECT_EQ(finale.verliererSID, 102);
    }
}

// A team class: the teams move on in the team matches and in their rubbers, and back again on undo.
TEST_P(ErgebnisTest, TeamsMoveOnInTheirRubbers) {
    db().exec(QStringLiteral("INSERT INTO Teamsystem (TID, KID, spieler, reserve, s1a, s1b, s2a, s2b) VALUES "
                             "(1, :k, 2, 0, 1, 1, 2, 2)"),
              {{":k", kKid}});
    QVector<PlanSlot> felder;
    for (int s : {101, 104, 103, 102})
        felder << eintrag(s);
    DrawPlan plan;
    plan.phases = {bracket(PhasePlan::EinfachesKO, felder), PhasePlan{}, PhasePlan{}};
    anlegen(db(), {Phase{1}, Phase{}, Phase{}}, plan, 3);
    ASSERT_EQ(matchrecord::rubbersOfMatch(db(), kKid, 3).size(), 2);
    db().exec(QStringLiteral("UPDATE Teamspiele SET ergebnis='3:0' WHERE KID=:k AND spielnummer=1"),
              {{":k", kKid}});
    auto e = ev();
    // Two rubbers: the team result is one of 2:0, 1:0, 0:1, 0:2.
    ASSERT_TRUE(e.db_beendet(eingabe(1, "2:0", {})).geschrieben);
    for (const TeamspielRow& r : matchrecord::rubbersOfMatch(db(), kKid, 3)) {
        EXPECT_EQ(r.MID1, 101);
        EXPECT_EQ(r.spieler1, name(101));
        EXPECT_EQ(r.MID2, -1);
        EXPECT_EQ(r.spieler2, QStringLiteral("Sieger Spiel 2"));
    }
    ASSERT_TRUE(e.db_zuruecksetzen(kKid, 1).geschrieben);
    for (const TeamspielRow& r : matchrecord::rubbersOfMatch(db(), kKid, 3)) {
        EXPECT_EQ(r.MID1, -1);
        EXPECT_EQ(r.spieler1, QStringLiteral("Sieger Spiel 1"));
    }
    for (const TeamspielRow& r : matchrecord::rubbersOfMatch(db(), kKid, 1))
        EXPECT_EQ(r.ergebnis, std::nullopt) << "a team knock-out match loses its rubbers' results";
}

// A team group match counts team matches, rubbers from the team result, and sets and points from the
// stored rubbers; withdrawn, it takes exactly that away again.
TEST_P(ErgebnisTest, TeamGroupMatchCountsItsRubbers) {
    db().exec(QStringLiteral("INSERT INTO Teamsystem (TID, KID, spieler, reserve, s1a, s1b, s2a, s2b) VALUES "
                             "(1, :k, 2, 0, 1, 1, 2, 2)"),
              {{":k", kKid}});
    DrawPlan plan;
    plan.phases = {gruppen(1, 3), PhasePlan{}, PhasePlan{}};
    anlegen(db(), {Phase{0, 1, 3, 1, 0}, Phase{}, Phase{}}, plan, 3, 2);
    ASSERT_EQ(spiel(db(), 1).SID1, 102);
    const struct {
        int nummer;
        const char* ergebnis;
        int s1, s2, s3, s4;
    } rubbers[] = {{1, "3:0", 5, 5, 5, 0}, {2, "3:1", 5, -5, 5, 5}};
    for (const auto& r : rubbers)
        db().exec(
            QStringLiteral("UPDATE Teamspiele SET ergebnis=:e,satz1=:s1,satz2=:s2,satz3=:s3,satz4=:s4 WHERE "
                           "KID=:k AND spielnummer=1 AND nummer=:n"),
            {{":e", QString::fromLatin1(r.ergebnis)},
             {":s1", r.s1},
             {":s2", r.s2},
             {":s3", r.s3},
             {":s4", r.nummer == 1 ? QVariant() : QVariant(r.s4)},
             {":k", kKid},
             {":n", r.nummer}});
    auto e = ev();
    ASSERT_TRUE(e.db_beendet(eingabe(1, "2:0", {})).geschrieben);
    const auto zeile = [&](int sid) {
        for (const TabellenRow& r : tabellen::gruppeLesen(db(), kKid, 0))
            if (r.SID == sid) return r;
        return TabellenRow{};
    };
    const TabellenRow sieger = zeile(102), verlierer = zeile(103);
    EXPECT_EQ(sieger.spielanzahl, 1);
    EXPECT_EQ(sieger.matchegewonnen, 1);
    EXPECT_EQ(sieger.matcheverloren, 0);
    EXPECT_EQ(sieger.spielegewonnen, 2);
    EXPECT_EQ(sieger.saetzegewonnen, 6);
    EXPECT_EQ(sieger.saetzeverloren, 1);
    EXPECT_EQ(sieger.punktegewonnen, 33 + 38);
    EXPECT_EQ(sieger.punkteverloren, 15 + 26);
    EXPECT_EQ(sieger.pos, 0);
    EXPECT_EQ(verlierer.matcheverloren, 1);
    EXPECT_EQ(verlierer.spieleverloren, 2);
    EXPECT_EQ(verlierer.saetzegewonnen, 1);
    EXPECT_EQ(verlierer.punktegewonnen, 41);

    ASSERT_TRUE(e.db_zuruecksetzen(kKid, 1).geschrieben);
    for (int sid : {102, 103}) {
        const TabellenRow r = zeile(sid);
        EXPECT_EQ(r.spielanzahl, 0);
        EXPECT_EQ(r.matchegewonnen + r.matcheverloren, 0);
        EXPECT_EQ(r.spielegewonnen + r.spieleverloren, 0);
        EXPECT_EQ(r.saetzegewonnen + r.saetzeverloren, 0);
        EXPECT_EQ(r.punktegewonnen + r.punkteverloren, 0);
    }
    EXPECT_EQ(matchrecord::rubbersOfMatch(db(), kKid, 1).first().ergebnis, QStringLiteral("3:0"))
        << "a team group match keeps its rubbers' results";
}

// Bad input: a clear message and nothing written.
TEST_P(ErgebnisTest, RefusalsWriteNothing) {
    ko8();
    auto e = ev();
    const auto vorher = spiele(db());
    const struct {
        const char* name;
        ErgebnisEingabe eingabe;
        const char* meldung;
    } faelle[] = {
        {"not_in_list", eingabe(1, "4:1", {}), "Wählen Sie ein gültiges Satzergebnis"},
        {"set_not_a_number", eingabe(1, "3:1", {"+5", "x"}), "Satz 2: Keinen korrekten Wert eingegeben"},
        {"contradicting_set", eingabe(1, "3:1", {"+5", "+5", "+5", "-5"}),
         "Satz 3 passt nicht zum Endergebnis 3:1"},
        {"sides_unknown", eingabe(5, "3:1", {}), "Für dieses Spiel stehen noch nicht beide Spieler fest"},
        {"no_such_match", eingabe(99, "3:1", {}), "Das Spiel ist nicht vorhanden"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        interaction.clear();
        EXPECT_FALSE(e.db_beendet(f.eingabe).geschrieben);
        EXPECT_EQ(interaction.texts(), QStringList{QString::fromUtf8(f.meldung)});
        EXPECT_EQ(interaction.messages.value(0).icon, Interaction::Icon::Warning);
        EXPECT_EQ(db().transactionDepth(), 0);
    }
    EXPECT_EQ(spiele(db()), vorher);

    ASSERT_TRUE(e.db_beendet(staerkereGewinnt(spiel(db(), 1))).geschrieben);
    interaction.clear();
    EXPECT_FALSE(e.db_beendet(staerkereGewinnt(spiel(db(), 1))).geschrieben) << "finished twice";
    EXPECT_EQ(interaction.texts(), QStringList{Ergebnisverarbeitung::kSchonBeendet});
}

void raw(Tdb_procedures& db, const QString& sql) {
    QSqlQuery q(db.database());
    ASSERT_TRUE(q.exec(sql)) << str(q.lastError().text()) << "\n" << str(sql);
}

// A statement that fails in the middle of the run (the standings of the group refuse every change):
// the error reaches the caller and the match, its felder and the standings stay as they were.
TEST_P(ErgebnisTest, FailureInsideLeavesEverythingAsBefore) {
    gruppenMitKo();
    antwort = letzterNachOben;
    auto e = ev();
    for (int snr = 1; snr <= 6; ++snr)
        ASSERT_TRUE(e.db_beendet(staerkereGewinnt(spiel(db(), snr))).geschrieben);
    if (db().kind() == DbKind::File) {
        raw(db(), QStringLiteral("CREATE TRIGGER stop BEFORE UPDATE ON Tabellen WHEN NEW.GID=0 "
                                 "BEGIN SELECT RAISE(ABORT,'Abbruch'); END"));
    } else {
        raw(db(), QStringLiteral("CREATE FUNCTION stop() RETURNS trigger AS $$ BEGIN IF NEW.GID=0 THEN "
                                 "RAISE EXCEPTION 'Abbruch'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql"));
        raw(db(), QStringLiteral(
                      "CREATE TRIGGER stop BEFORE UPDATE ON Tabellen FOR EACH ROW EXECUTE FUNCTION stop()"));
    }
    db().clearStatementCache();
    const auto spieleVorher = spiele(db());
    const auto tabelleVorher = tabellen::gruppeLesen(db(), kKid, 0);
    interaction.clear();
    // Match 7 finishes group A: its result, the knock-out slot and the standings would all change.
    EXPECT_THROW(e.db_beendet(staerkereGewinnt(spiel(db(), 7))), DbError);
    EXPECT_EQ(db().transactionDepth(), 0);
    EXPECT_EQ(spiele(db()), spieleVorher);
    EXPECT_EQ(tabellen::gruppeLesen(db(), kKid, 0), tabelleVorher);
    EXPECT_TRUE(interaction.texts().isEmpty()) << "no \"Gruppe beendet\" for a result that was not stored";

    // The same for an undo.
    raw(db(), QStringLiteral("DROP TRIGGER stop") +
                  (db().kind() == DbKind::File ? QString() : QStringLiteral(" ON Tabellen")));
    db().clearStatementCache();
    ASSERT_TRUE(e.db_beendet(staerkereGewinnt(spiel(db(), 7))).geschrieben);
    if (db().kind() == DbKind::File)
        raw(db(), QStringLiteral("CREATE TRIGGER stop BEFORE UPDATE ON Spielplan WHEN NEW.spielnummer=10 "
                                 "BEGIN SELECT RAISE(ABORT,'Abbruch'); END"));
    else
        raw(db(), QStringLiteral(
                      "CREATE TRIGGER stop BEFORE UPDATE ON Spielplan FOR EACH ROW WHEN (NEW.spielnummer=10) "
                      "EXECUTE FUNCTION stop()"));
    db().clearStatementCache();
    const auto vorUndo = spiele(db());
    const auto tabelleVorUndo = tabellen::gruppeLesen(db(), kKid, 0);
    EXPECT_THROW(e.db_zuruecksetzen(kKid, 7), DbError);
    EXPECT_EQ(spiele(db()), vorUndo);
    EXPECT_EQ(tabellen::gruppeLesen(db(), kKid, 0), tabelleVorUndo);
}

// The loser becomes an umpire when asked, once per name.
TEST_P(ErgebnisTest, LoserIntoTheUmpirePool) {
    ko8();
    db().exec(QStringLiteral("INSERT INTO Spielerdaten (SID, TID, nachname, vorname, verein) VALUES "
                             "(108, 1, 'Acht', 'Anna', 'TTC'), (105, 1, 'Fuenf', 'Fritz', 'SV')"));
    db().exec(
        QStringLiteral("INSERT INTO Schiri (TID, SCHIRIID, snname, svname) VALUES (1, 7, 'Fuenf', 'Fritz')"));
    auto e = ev();
    ErgebnisEingabe in = staerkereGewinnt(spiel(db(), 1));
    in.schiripool = true;
    const Beendet b = e.db_beendet(in);
    ASSERT_EQ(b.neueSchiris.size(), 1);
    EXPECT_EQ(b.neueSchiris[0].first, 8);
    EXPECT_EQ(b.neueSchiris[0].second, QStringLiteral("Acht, Anna"));
    const Row s = db().selectOne(QStringLiteral("SELECT * FROM Schiri WHERE SCHIRIID=8"));
    EXPECT_EQ(s.text(u"sverein"), QStringLiteral("TTC"));
    EXPECT_EQ(s.text(u"smemo"), QStringLiteral("Verlierer aus Spiel 1"));
    EXPECT_TRUE(s.boolean(u"sangemeldet"));
    EXPECT_EQ(db().selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM Schiri_im_turnier WHERE KID=:k"),
                             {{":k", kKid}})
                  .integer(u"n"),
              1);

    ErgebnisEingabe zwei = staerkereGewinnt(spiel(db(), 2));
    zwei.schiripool = true;
    EXPECT_TRUE(e.db_beendet(zwei).neueSchiris.isEmpty()) << "105 is an umpire under his name already";
}

VELMORA_INSTANTIATE_DB_TEST(ErgebnisTest);

} // namespace

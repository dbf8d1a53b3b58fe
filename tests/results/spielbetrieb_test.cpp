// The running of a class: free lists, playable and waiting cells, the offers of calls, the reminders and
// the match actions on the plan.
#include "betrieb_fixture.h"

#include <gtest/gtest.h>

namespace {

using namespace betriebtest;

QStringList sids(std::initializer_list<int> l) {
    QStringList out;
    for (int s : l)
        out << QString::number(s);
    return out;
}

class FreilistenTest : public BetriebTest {};

// The lists as the plans create them: members and tables per group, the knock-out's players (none known
// yet) and tables, and only the umpires who are marked present.
TEST_P(FreilistenTest, BuiltFromThePlansOfTheClass) {
    gruppeMitFinale();
    schiri(901, QStringLiteral("Huber"), QStringLiteral("Eva"));
    schiri(902, QStringLiteral("Abwesend"), QStringLiteral("Otto"), false);
    schiri(903, QStringLiteral("Berg"), QStringLiteral("Jan"));
    oeffnen();
    EXPECT_EQ(liste(Freilisten::sliste(0)), sids({101, 102, 103, 104}));
    EXPECT_EQ(liste(Freilisten::platte(0)), (QStringList{"1", "2"}));
    EXPECT_TRUE(sb->listen().exists(Freilisten::allespieler));
    EXPECT_TRUE(liste(Freilisten::allespieler).isEmpty());
    EXPECT_EQ(liste(Freilisten::alleplatten), (QStringList{"1", "2"}));
    EXPECT_EQ(liste(Freilisten::schiri), (QStringList{"Huber, Eva", "Berg, Jan"}));
    EXPECT_EQ(sb->listen().alleschiris,
              (QVector<SchiriEintrag>{{"Huber, Eva", 901}, {"Berg, Jan", 903}}));
    EXPECT_FALSE(sb->listen().exists(Freilisten::sliste(1)));
    // Outside groups a match uses the lists of the knock-out.
    EXPECT_EQ(sb->listen().spielerliste(-1), Freilisten::allespieler);
    EXPECT_EQ(sb->listen().plattenliste(0), Freilisten::platte(0));
    EXPECT_TRUE(sb->turniergoEnabled());
}

// What a call takes out and what the reset and the result give back, each only after its write.
enum class Ende { ZurueckAufOffen, Ergebnis, GestartetZurueck };
struct FreiFall {
    const char* name;
    Ende ende;
    bool wiederFrei;
};
class FreiNachAktion : public BetriebT<FreiFall> {};

TEST_P(FreiNachAktion, PlayersTableAndUmpireGoBack) {
    gruppeMitFinale();
    schiri(901, QStringLiteral("Huber"), QStringLiteral("Eva"));
    oeffnen();
    ASSERT_TRUE(sb->turniergo([](int) { return false; }));
    const SpielplanRow m = spiel(1);
    const QString a = QString::number(m.SID1), b = QString::number(m.SID2);
    ASSERT_TRUE(aufrufen(1, QStringLiteral("2"), QStringLiteral("Huber, Eva")).geschlossen);
    EXPECT_FALSE(liste(Freilisten::sliste(0)).contains(a));
    EXPECT_FALSE(liste(Freilisten::sliste(0)).contains(b));
    EXPECT_EQ(liste(Freilisten::platte(0)), QStringList{"1"});
    EXPECT_EQ(liste(Freilisten::alleplatten), QStringList{"1"});
    EXPECT_TRUE(liste(Freilisten::schiri).isEmpty());
    EXPECT_EQ(tag(1), StateTag::Called);
    EXPECT_EQ(spiel(1).an_platte, QStringLiteral("2"));

    switch (GetParam().ende) {
    case Ende::ZurueckAufOffen:
        ASSERT_TRUE(sb->spielZuruecksetzen(1, *ev));
        EXPECT_EQ(stateOf(spiel(1)), MatchState::Open);
        break;
    case Ende::GestartetZurueck:
        ASSERT_TRUE(starten(1).geschlossen);
        ASSERT_TRUE(sb->spielZuruecksetzen(1, *ev));
        EXPECT_EQ(stateOf(spiel(1)), MatchState::Called);
        EXPECT_EQ(tag(1), StateTag::Called);
        break;
    case Ende::Ergebnis:
        ASSERT_TRUE(starten(1).geschlossen);
        ASSERT_TRUE(ergebnis(1, QStringLiteral("3:0"), {"5", "7", "9"}).geschlossen);
        EXPECT_EQ(tag(1), StateTag::Finished);
        break;
    }
    const bool frei = GetParam().wiederFrei;
    EXPECT_EQ(liste(Freilisten::sliste(0)).contains(a), frei);
    EXPECT_EQ(liste(Freilisten::sliste(0)).contains(b), frei);
    EXPECT_EQ(liste(Freilisten::platte(0)).contains(QStringLiteral("2")), frei);
    EXPECT_EQ(liste(Freilisten::alleplatten).contains(QStringLiteral("2")), frei);
    EXPECT_EQ(liste(Freilisten::schiri).contains(QStringLiteral("Huber, Eva")), frei);
    // Each entry once, however it came back.
    EXPECT_EQ(liste(Freilisten::platte(0)).count(QStringLiteral("1")), 1);
}

INSTANTIATE_TEST_SUITE_P(Aktionen, FreiNachAktion,
                         ::testing::Values(FreiFall{"ZurueckAufOffen", Ende::ZurueckAufOffen, true},
                                           FreiFall{"Ergebnis", Ende::Ergebnis, true},
                                           FreiFall{"GestartetZurueck", Ende::GestartetZurueck, false}),
                         [](const auto& i) { return std::string(i.param.name); });

// A match called on a table typed by hand gives that table back to no list.
TEST_P(FreilistenTest, ManualTableIsNotGivenBack) {
    gruppeMitFinale();
    oeffnen();
    ASSERT_TRUE(sb->turniergo([](int) { return false; }));
    ASSERT_TRUE(dialog->spielMauellStarten(1));
    dialog->plattenGewaehlt(QStringLiteral("Nebenhalle"));
    ASSERT_TRUE(dialog->okClick().geschlossen);
    EXPECT_TRUE(spiel(1).manuell);
    ASSERT_TRUE(sb->spielZuruecksetzen(1, *ev));
    EXPECT_FALSE(liste(Freilisten::platte(0)).contains(QStringLiteral("Nebenhalle")));
    EXPECT_FALSE(liste(Freilisten::alleplatten).contains(QStringLiteral("Nebenhalle")));
}

// An umpire of the call who is not among the present umpires of the class does not come into the list.
TEST_P(FreilistenTest, ResetKeepsForeignUmpireOut) {
    gruppeMitFinale();
    schiri(901, QStringLiteral("Huber"), QStringLiteral("Eva"));
    oeffnen();
    ASSERT_TRUE(sb->turniergo([](int) { return false; }));
    ASSERT_TRUE(aufrufen(1, QStringLiteral("1"), QStringLiteral("Fremd, Fritz")).geschlossen);
    ASSERT_TRUE(sb->spielZuruecksetzen(1, *ev));
    EXPECT_EQ(liste(Freilisten::schiri), QStringList{"Huber, Eva"});
}

VELMORA_INSTANTIATE_DB_TEST(FreilistenTest);

class StatusTest : public BetriebTest {};

// Starting a class marks its phase-1 matches and offers them; what cannot be played waits again: a bye,
// a side that waits for a result. The playable ones stay playable.
TEST_P(StatusTest, StartLeavesByesAndOpenSidesWaiting) {
    koMitFreilosen();
    oeffnen();
    QVector<int> angeboten;
    ASSERT_TRUE(sb->turniergo([&](int s) {
        angeboten << s;
        return true; // shown but not called
    }));
    // 1: 101 v bye, 2: 104 v 105, 3: 103 v 106, 4: bye v 102; 5, 6 and 7 wait for results (5 has 101).
    EXPECT_EQ(angeboten, (QVector<int>{2, 3}));
    EXPECT_EQ(tag(1), StateTag::Waiting);
    EXPECT_EQ(tag(2), StateTag::Playable);
    EXPECT_EQ(tag(3), StateTag::Playable);
    EXPECT_EQ(tag(4), StateTag::Waiting);
    for (int s : {5, 6, 7})
        EXPECT_EQ(tag(s), StateTag::Waiting) << s;
    EXPECT_FALSE(sb->turniergoEnabled());
    EXPECT_TRUE(sb->timerEnabled());
    EXPECT_EQ(sb->sp_info(), QStringList{Spielbetrieb::kTurnierGestartet});
    EXPECT_FALSE(sb->turniergo([](int) { return true; }));
}

// The plans are drawn again while a match is called: its players, table and umpire are out of the lists
// before any open match is judged, so an earlier match that needs the only table waits.
TEST_P(StatusTest, RebuildTakesCalledMatchesOutFirst) {
    gruppeMitFinale();
    schiri(901, QStringLiteral("Huber"), QStringLiteral("Eva"));
    db().exec(QStringLiteral("DELETE FROM Platten WHERE KID=:k AND platte='2'"), {{":k", kKid}});
    // Match 2 plays two other members than match 1 in a group of four.
    const SpielplanRow m1 = spiel(1), m2 = spiel(2);
    ASSERT_TRUE(m1.SID1 != m2.SID1 && m1.SID1 != m2.SID2 && m1.SID2 != m2.SID1 && m1.SID2 != m2.SID2);
    matchrecord::call(db(), kKid, 2, t0, QStringLiteral("1"), QStringLiteral("Huber, Eva"), false);
    oeffnen();
    EXPECT_FALSE(sb->turniergoEnabled());
    EXPECT_TRUE(sb->timerEnabled());
    EXPECT_EQ(tag(2), StateTag::Called);
    EXPECT_EQ(tag(1), StateTag::Waiting);
    EXPECT_TRUE(liste(Freilisten::platte(0)).isEmpty());
    EXPECT_FALSE(liste(Freilisten::sliste(0)).contains(QString::number(m2.SID1)));
    EXPECT_TRUE(liste(Freilisten::schiri).isEmpty());
    // Finished: tag 5, the result and the sets from both sides.
    matchrecord::finish(db(), kKid, 3, t0, Saetze{9, -100, -12, 4}, QStringLiteral("3:1"), 0, 0);
    sb->statusladen();
    const Statuszelle z = sb->zelle(3);
    EXPECT_EQ(z.tag, StateTag::Finished);
    EXPECT_EQ(z.text, QStringLiteral("3:1"));
    EXPECT_EQ(z.textx, QStringLiteral("1:3"));
    EXPECT_EQ(z.hint, QStringLiteral("+9, -0, -12, +4"));
    EXPECT_EQ(z.hintx, QStringLiteral("-9, +0, +12, -4"));
}

// The plans are drawn again while a knock-out match is started: its players stay out of `allespieler` until
// it is finished.
TEST_P(StatusTest, RebuildKeepsStartedKnockoutPlayersBusy) {
    koMitFreilosen();
    oeffnen();
    ASSERT_TRUE(sb->turniergo([](int) { return false; }));
    ASSERT_TRUE(aufrufen(2, QStringLiteral("2")).geschlossen);
    ASSERT_TRUE(starten(2).geschlossen);
    sb->planshow();
    EXPECT_EQ(tag(2), StateTag::Started);
    EXPECT_EQ(tag(3), StateTag::Playable);
    EXPECT_FALSE(liste(Freilisten::allespieler).contains(QStringLiteral("104")));
    EXPECT_FALSE(liste(Freilisten::allespieler).contains(QStringLiteral("105")));
    EXPECT_TRUE(liste(Freilisten::allespieler).contains(QStringLiteral("103")));
    EXPECT_EQ(liste(Freilisten::alleplatten), QStringList{"1"});
    ASSERT_TRUE(ergebnis(2, QStringLiteral("3:0"), {"1", "2", "3"}).geschlossen);
    EXPECT_TRUE(liste(Freilisten::allespieler).contains(QStringLiteral("104")));
    // 101 had a bye and now meets the winner of match 2.
    EXPECT_EQ(spiel(5).SID2, 104);
    EXPECT_EQ(tag(5), StateTag::Playable);
}

// A call takes a player or the last table from other open matches: they wait (planupdate).
TEST_P(StatusTest, CallMakesMatchesOfBusyPlayersWait) {
    gruppeMitFinale();
    oeffnen();
    ASSERT_TRUE(sb->turniergo([](int) { return false; }));
    const SpielplanRow m1 = spiel(1);
    for (int s = 1; s <= 6; ++s)
        EXPECT_EQ(tag(s), StateTag::Playable) << s;
    ASSERT_TRUE(aufrufen(1, QStringLiteral("1")).geschlossen);
    for (int s = 2; s <= 6; ++s) {
        const SpielplanRow m = spiel(s);
        const bool beschaeftigt = m.SID1 == m1.SID1 || m.SID1 == m1.SID2 || m.SID2 == m1.SID1 || m.SID2 == m1.SID2;
        EXPECT_EQ(tag(s), beschaeftigt ? StateTag::Waiting : StateTag::Playable) << s;
    }
    // The other pair takes the last table: nothing is playable any more.
    const int frei = sb->possiblegames(1).value(0);
    ASSERT_GT(frei, 0);
    ASSERT_TRUE(aufrufen(frei, QStringLiteral("2")).geschlossen);
    for (int s = 1; s <= 6; ++s)
        if (s != 1 && s != frei) {
            EXPECT_EQ(tag(s), StateTag::Waiting) << s;
        }
    EXPECT_TRUE(sb->possiblegames(1).isEmpty());
}

VELMORA_INSTANTIATE_DB_TEST(StatusTest);

// The chain of offers: each offered call is confirmed until the operator unticks "nächstes mögliches
// Spiel aufrufen" in the dialog of offer `stopp` (0: never); the chain also ends when no table is free.
struct Kette {
    int stopp;
    int aufgerufen;
};
class AngebotsKette : public BetriebT<Kette> {};

TEST_P(AngebotsKette, StopsWhenDeclinedOrNothingIsFree) {
    gruppeMitFinale();
    oeffnen();
    int gezeigt = 0;
    QVector<int> folge;
    sb->turniergo([&](int s) {
        ++gezeigt;
        folge << s;
        dialog->spielaufrufen1(s);
        EXPECT_EQ(dialog->okText(), QStringLiteral("Aufrufen"));
        EXPECT_TRUE(dialog->next1Visible);
        if (gezeigt == GetParam().stopp) dialog->next1 = false;
        EXPECT_TRUE(dialog->okClick().geschlossen);
        return dialog->next1;
    });
    EXPECT_EQ(gezeigt, GetParam().aufgerufen);
    int gerufen = 0;
    for (int s = 1; s <= 7; ++s)
        if (stateOf(spiel(s)) == MatchState::Called) ++gerufen;
    EXPECT_EQ(gerufen, GetParam().aufgerufen);
    EXPECT_TRUE(std::is_sorted(folge.begin(), folge.end()));
    // Two tables, four players: never more than two matches at once.
    EXPECT_LE(gerufen, 2);
}

INSTANTIATE_TEST_SUITE_P(Stopp, AngebotsKette, ::testing::Values(Kette{1, 1}, Kette{2, 2}, Kette{0, 2}),
                         [](const auto& i) { return "Stopp" + std::to_string(i.param.stopp); });

// Offers after a result stay in its phase: while an open match of another phase comes first, none is made;
// a bye match (never played) does not hold them up.
TEST_P(StatusTest, OffersStayInTheirPhase) {
    gruppeMitFinale();
    oeffnen();
    ASSERT_TRUE(sb->turniergo([](int) { return false; }));
    EXPECT_TRUE(sb->possiblegames(2).isEmpty());
    EXPECT_FALSE(sb->naechstesAngebot(2).has_value());
    EXPECT_EQ(sb->naechstesAngebot(1), 1);
}

// A group with an empty line leaves matches against nobody open for good; once the group is over they must
// not keep the final from being offered.
TEST_P(StatusTest, MatchesAgainstAnEmptyLineDoNotHoldUpOffers) {
    PhasePlan p1 = gruppen(1, 4);
    p1.groups[0] = {eintrag(101), PlanSlot{}, eintrag(102), eintrag(103)};
    PhasePlan ko = bracket(PhasePlan::EinfachesKO,
                           {label("Sieger Gruppe A", 0, 0), label("Zweiter Gruppe A", 0, 1)}, 1);
    DrawPlan plan;
    plan.phases = {p1, ko, PhasePlan{}};
    anlegen(db(), {Phase{0, 1, 4, 2, 0}, Phase{1}, Phase{}}, plan);
    oeffnen();
    QVector<int> leer;
    for (const SpielplanRow& m : spiele(db()))
        if (m.phase == 1 && (m.spieler1.isEmpty() || m.spieler2.isEmpty())) leer << m.spielnummer;
    ASSERT_EQ(leer.size(), 3);
    ASSERT_TRUE(sb->turniergo([](int) { return false; }));
    for (int s : leer)
        EXPECT_EQ(tag(s), StateTag::Waiting) << s;
    for (const SpielplanRow& m : spiele(db())) {
        if (m.phase != 1 || leer.contains(m.spielnummer)) continue;
        const bool erster = m.SID1 < m.SID2;
        ASSERT_TRUE(ev->db_beendet(eingabe(m.spielnummer, erster ? "3:0" : "0:3",
                                           erster ? QStringList{"1", "1", "1"} : QStringList{"-1", "-1", "-1"}))
                        .geschrieben);
    }
    sb->planshow();
    const int finale = spiele(db()).last().spielnummer;
    EXPECT_EQ(spiel(finale).SID1, 101);
    EXPECT_EQ(tag(finale), StateTag::Playable);
    EXPECT_EQ(sb->possiblegames(2), QVector<int>{finale});
    EXPECT_EQ(sb->naechstesAngebot(2), finale);
}

class ErinnerungTest : public BetriebTest {};

// Reminders: nothing before five minutes, then one line per player and umpire, newest on top; the umpire
// only when the match has one; a second call replaces the first call's line once it is five minutes old.
struct Erinnerung {
    const char* name;
    bool mitSchiri;
    int minuten;
    bool zweiterAufruf1;
    QStringList zeilen;
};
class Erinnerungen : public BetriebT<Erinnerung> {};

TEST_P(Erinnerungen, AfterFiveMinutes) {
    const Erinnerung& e = GetParam();
    gruppeMitFinale();
    schiri(901, QStringLiteral("Huber"), QStringLiteral("Eva"));
    oeffnen();
    ASSERT_TRUE(sb->turniergo([](int) { return false; }));
    ASSERT_TRUE(aufrufen(1, QStringLiteral("1"), e.mitSchiri ? QStringLiteral("Huber, Eva") : QString()).geschlossen);
    if (e.zweiterAufruf1) {
        clock->advanceSecs(2 * 60);
        dialog->spielaufgerufen(1);
        dialog->aufrufGeklickt(matchrecord::Recall::aufruf2_sp1, true);
        clock->advanceSecs(-2 * 60);
    }
    clock->advanceSecs(e.minuten * 60);
    sb->Timer1Timer();
    QStringList erwartet = e.zeilen;
    for (QString& z : erwartet) {
        z.replace(QStringLiteral("$1"), spiel(1).spieler1);
        z.replace(QStringLiteral("$2"), spiel(1).spieler2);
    }
    erwartet << Spielbetrieb::kTurnierGestartet;
    EXPECT_EQ(sb->sp_info(), erwartet);
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, Erinnerungen,
    ::testing::Values(
        Erinnerung{"VierMinuten", true, 4, false, {}},
        Erinnerung{"SechsMinuten",
                   true,
                   6,
                   false,
                   {"- 1.Schiedsrichteraufruf vor 5 Minuten: Huber, Eva", "- 1.Spielaufruf vor 5 Minuten: $2",
                    "- 1.Spielaufruf vor 5 Minuten: $1"}},
        Erinnerung{"OhneSchiri",
                   false,
                   6,
                   false,
                   {"- 1.Spielaufruf vor 5 Minuten: $2", "- 1.Spielaufruf vor 5 Minuten: $1"}},
        Erinnerung{"ZweiterAufrufJung",
                   false,
                   6,
                   true,
                   {"- 1.Spielaufruf vor 5 Minuten: $2"}},
        Erinnerung{"ZweiterAufrufAlt",
                   false,
                   8,
                   true,
                   {"- 2.Spielaufruf vor 5 Minuten: $1", "- 1.Spielaufruf vor 5 Minuten: $2"}}),
    [](const auto& i) { return std::string(i.param.name); });

// Ticks repeat the lines; only the ten newest stay, newest first. A reset match is no longer reminded.
TEST_P(ErinnerungTest, TenNewestLines) {
    gruppeMitFinale();
    schiri(901, QStringLiteral("Huber"), QStringLiteral("Eva"));
    oeffnen();
    ASSERT_TRUE(sb->turniergo([](int) { return false; }));
    ASSERT_TRUE(aufrufen(1, QStringLiteral("1"), QStringLiteral("Huber, Eva")).geschlossen);
    clock->advanceSecs(6 * 60);
    for (int i = 0; i < 4; ++i)
        sb->Timer1Timer();
    ASSERT_EQ(sb->sp_info().size(), Spielbetrieb::kInfoZeilen);
    EXPECT_EQ(sb->sp_info().front(), QStringLiteral("- 1.Schiedsrichteraufruf vor 5 Minuten: Huber, Eva"));
    EXPECT_FALSE(sb->sp_info().contains(Spielbetrieb::kTurnierGestartet));
    ASSERT_TRUE(sb->spielZuruecksetzen(1, *ev));
    const QStringList vorher = sb->sp_info();
    sb->Timer1Timer();
    EXPECT_EQ(sb->sp_info(), vorher);
    sb->timerStoppen();
    EXPECT_FALSE(sb->timerEnabled());
}

VELMORA_INSTANTIATE_DB_TEST(ErinnerungTest);

} // namespace

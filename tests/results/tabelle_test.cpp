#include "results/tabelle.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace {

using tabelle::Kette;

// A row with its counters: matches won:lost, sets won:lost, points won:lost (team classes: rubbers in
// the match counters and team matches in matchegewonnen/matcheverloren).
TabellenRow zeile(int sid, int sg, int sv, int satzg, int satzv, int pg, int pv, int mg = 0, int mv = 0) {
    TabellenRow r;
    r.KID = 1;
    r.SID = sid;
    r.bez = QStringLiteral("E%1").arg(sid);
    r.spielanzahl = sg + sv;
    r.spielegewonnen = sg;
    r.spieleverloren = sv;
    r.saetzegewonnen = satzg;
    r.saetzeverloren = satzv;
    r.punktegewonnen = pg;
    r.punkteverloren = pv;
    r.matchegewonnen = mg;
    r.matcheverloren = mv;
    return r;
}

struct Sieg {
    int sieger, verlierer;
};

struct RangCase {
    const char* name;
    Kette kette;
    std::vector<TabellenRow> zeilen;           // in the order read (previous positions)
    std::vector<Sieg> siege;                   // mutual results in the group
    std::vector<std::pair<int, int>> erwartet; // SID and position, in ranked order
    std::vector<int> markiert;                 // shared positions marked at the end of the group
};

constexpr int A = 1, B = 2, C = 3, D = 4, E = 5, R = 6;

std::vector<TabellenRow> gleich(std::initializer_list<int> sids) {
    std::vector<TabellenRow> out;
    for (int s : sids)
        out.push_back(zeile(s, 1, 1, 4, 4, 80, 80));
    return out;
}

std::vector<TabellenRow> plus(std::vector<TabellenRow> a, std::vector<TabellenRow> b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const RangCase kRangCases[] = {
    {"b_beat_a_a_read_first", Kette::Einzel, gleich({A, B}), {{B, A}}, {{B, 0}, {A, 1}}, {}},
    {"b_beat_a_b_read_first", Kette::Einzel, gleich({B, A}), {{B, A}}, {{B, 0}, {A, 1}}, {}},
    {"b_beat_a_behind_a_better_entry",
     Kette::Einzel,
     plus({zeile(C, 2, 0, 6, 1, 90, 60)}, gleich({A, B})),
     {{B, A}},
     {{C, 0}, {B, 1}, {A, 2}},
     {}},
    {"three_way_circle_shares_one_position",
     Kette::Einzel,
     gleich({A, B, C}),
     {{A, B}, {B, C}, {C, A}},
     {{C, 0}, {B, 0}, {A, 0}},
     {A, B, C}},
    {"circle_above_a_weaker_entry",
     Kette::Einzel,
     plus(gleich({A, B, C}), {zeile(D, 0, 3, 0, 9, 40, 99)}),
     {{A, B}, {B, C}, {C, A}},
     {{C, 0}, {B, 0}, {A, 0}, {D, 3}},
     {A, B, C}},
    {"unplayed_mutual_match_shares",
     Kette::Einzel,
     plus(gleich({A, B}), {zeile(C, 0, 2, 1, 6, 50, 70)}),
     {},
     {{B, 0}, {A, 0}, {C, 2}},
     {A, B}},
    {"e_two_two_before_r_three_three_by_sets",
     Kette::Einzel,
     {zeile(R, 3, 3, 10, 11, 200, 200), zeile(E, 2, 2, 8, 6, 150, 150)},
     {},
     {{E, 0}, {R, 1}},
     {}},
    // Taken the other way round, R with more matches won goes first at step 2: the chain only ever moves
    // the entry being placed forward.
    {"r_placed_after_e_goes_first_by_more_wins",
     Kette::Einzel,
     {zeile(E, 2, 2, 8, 6, 150, 150), zeile(R, 3, 3, 10, 11, 200, 200)},
     {},
     {{R, 0}, {E, 1}},
     {}},
    {"points_decide_equal_sets",
     Kette::Einzel,
     {zeile(A, 1, 1, 4, 4, 80, 82), zeile(B, 1, 1, 4, 4, 85, 80)},
     {{A, B}},
     {{B, 0}, {A, 1}},
     {}},
    {"match_difference_first",
     Kette::Einzel,
     {zeile(A, 1, 2, 5, 6, 100, 90), zeile(B, 2, 1, 4, 5, 90, 100), zeile(C, 3, 0, 9, 1, 120, 70)},
     {},
     {{C, 0}, {B, 1}, {A, 2}},
     {}},
    // A team with the better team-match record leads although its rubbers are worse; the singles chain
    // would ignore team matches and put it second.
    {"team_matches_before_rubbers",
     Kette::Team,
     {zeile(B, 12, 3, 30, 10, 400, 300, 2, 1), zeile(A, 9, 6, 25, 20, 380, 350, 3, 0)},
     {},
     {{A, 0}, {B, 1}},
     {}},
    {"singles_chain_ignores_team_matches",
     Kette::Einzel,
     {zeile(B, 12, 3, 30, 10, 400, 300, 2, 1), zeile(A, 9, 6, 25, 20, 380, 350, 3, 0)},
     {},
     {{B, 0}, {A, 1}},
     {}},
    {"team_head_to_head",
     Kette::Team,
     {zeile(A, 5, 4, 16, 14, 300, 290, 1, 1), zeile(B, 5, 4, 16, 14, 300, 290, 1, 1)},
     {{B, A}},
     {{B, 0}, {A, 1}},
     {}},
};

class Rangliste : public ::testing::TestWithParam<RangCase> {};

TEST_P(Rangliste, RanksByTheChain) {
    const RangCase& c = GetParam();
    tabelle::Direktvergleich dv;
    for (const Sieg& s : c.siege)
        dv.eintragen(s.sieger, s.verlierer, s.sieger, s.verlierer);
    QVector<TabellenRow> zeilen(c.zeilen.begin(), c.zeilen.end());
    for (int i = 0; i < zeilen.size(); ++i)
        zeilen[i].pos = i;
    QVector<TabellenRow> r = tabelle::rangliste(zeilen, c.kette, dv);

    std::vector<std::pair<int, int>> ist;
    for (const TabellenRow& z : r)
        ist.emplace_back(z.SID, z.pos);
    EXPECT_EQ(ist, c.erwartet);

    const bool geteilt = tabelle::geteilteMarkieren(r);
    std::vector<int> markiert;
    for (const TabellenRow& z : r)
        if (z.markiert) markiert.push_back(z.SID);
    std::sort(markiert.begin(), markiert.end());
    EXPECT_EQ(markiert, c.markiert);
    EXPECT_EQ(geteilt, !c.markiert.empty());
}

INSTANTIATE_TEST_SUITE_P(Faelle, Rangliste, ::testing::ValuesIn(kRangCases),
                         [](const ::testing::TestParamInfo<RangCase>& i) {
                             return std::string(i.param.name);
                         });

// An empty slot is not ranked at all: only filled slots take positions.
TEST(Rangliste, EmptySlotIsLeftOut) {
    QVector<TabellenRow> zeilen{zeile(A, 0, 1, 1, 3, 30, 40), zeile(-1, 0, 0, 0, 0, 0, 0),
                                zeile(B, 1, 0, 3, 1, 40, 30)};
    for (int i = 0; i < zeilen.size(); ++i)
        zeilen[i].pos = i;
    const auto r = tabelle::rangliste(zeilen, Kette::Einzel, {});
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(r[0].SID, B);
    EXPECT_EQ(r[0].pos, 0);
    EXPECT_EQ(r[1].SID, A);
    EXPECT_EQ(r[1].pos, 1);
}

// The mutual match is the first one between the two; one without a result counts for nothing.
TEST(Direktvergleich, FromTheGroupsMatches) {
    SpielplanRow gespielt;
    gespielt.SID1 = A;
    gespielt.SID2 = B;
    gespielt.siegerSID = B;
    gespielt.verliererSID = A;
    SpielplanRow offen;
    offen.SID1 = C;
    offen.SID2 = A;
    SpielplanRow spaeter = gespielt;
    spaeter.siegerSID = A;
    spaeter.verliererSID = B;
    const tabelle::Direktvergleich dv({gespielt, offen, spaeter});
    ASSERT_TRUE(dv.ergebnis(A, B));
    EXPECT_EQ(*dv.ergebnis(B, A), std::make_pair(B, A));
    EXPECT_FALSE(dv.ergebnis(A, C));
    EXPECT_FALSE(dv.ergebnis(B, C));
}

TEST(Beitrag, SinglesMatchAddsMatchesSetsAndPoints) {
    const Saetze s{9, -12, 11, -100, 3, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
    const auto b = tabelle::einzelBeitrag(3, 2, s);
    // 11:9, 12:14, 13:11, 0:11, 11:3
    EXPECT_EQ(b.erster, (tabelle::Zaehler{1, 1, 0, 3, 2, 47, 48, 0, 0}));
    EXPECT_EQ(b.zweiter, (tabelle::Zaehler{1, 0, 1, 2, 3, 48, 47, 0, 0}));
    const auto v = tabelle::einzelBeitrag(1, 3, {-12, std::nullopt});
    EXPECT_EQ(v.erster, (tabelle::Zaehler{1, 0, 1, 1, 3, 12, 14, 0, 0}));
    EXPECT_EQ(v.zweiter, (tabelle::Zaehler{1, 1, 0, 3, 1, 14, 12, 0, 0}));

    TabellenRow r = zeile(A, 1, 0, 3, 0, 33, 10);
    tabelle::addieren(r, b.erster);
    EXPECT_EQ(r.spielanzahl, 2);
    EXPECT_EQ(r.saetzegewonnen, 6);
    tabelle::abziehen(r, b.erster);
    EXPECT_EQ(r, zeile(A, 1, 0, 3, 0, 33, 10));
}

TEST(Beitrag, TeamMatchSumsItsRubbers) {
    // Stored sets beyond those played read 0 (as in a new rubber); the last rubber was never played.
    const QVector<tabelle::Rubber> rubbers{{"3:0", {5, 5, 5, 0, 0, 0, 0, 0, 0}},
                                           {"1:3", {-5, 5, -5, -5, 0, 0, 0, 0, 0}},
                                           {"3:2", {}},
                                           {"3:1", {}},
                                           {"0:0", {0, 0, 0, 0, 0, 0, 0, 0, 0}}};
    const auto b = tabelle::teamBeitrag(3, 1, rubbers);
    EXPECT_EQ(b.erster.matchegewonnen, 1);
    EXPECT_EQ(b.erster.matcheverloren, 0);
    EXPECT_EQ(b.zweiter.matcheverloren, 1);
    EXPECT_EQ(b.erster.spielegewonnen, 3);
    EXPECT_EQ(b.erster.spieleverloren, 1);
    EXPECT_EQ(b.erster.saetzegewonnen, 10);
    EXPECT_EQ(b.erster.saetzeverloren, 6);
    EXPECT_EQ(b.zweiter.saetzegewonnen, 6);
    // 33:15 and 5+11+5+5 : 11+5+11+11
    EXPECT_EQ(b.erster.punktegewonnen, 33 + 26);
    EXPECT_EQ(b.erster.punkteverloren, 15 + 38);
}

// Across groups there is no head-to-head: entries the chain cannot separate are marked for the dialog.
TEST(Bestplatzierte, TiedCandidatesAreMarked) {
    const QVector<TabellenRow> kandidaten{zeile(A, 1, 2, 4, 6, 90, 100), zeile(B, 2, 1, 7, 4, 110, 90),
                                          zeile(C, 2, 1, 7, 4, 110, 90), zeile(D, 2, 1, 7, 5, 110, 90)};
    QVector<TabellenRow> r;
    EXPECT_TRUE(tabelle::bestplatzierte(kandidaten, Kette::Einzel, &r));
    std::vector<std::tuple<int, int, bool>> ist;
    for (const auto& z : r)
        ist.emplace_back(z.SID, z.pos, z.markiert);
    EXPECT_EQ(ist, (std::vector<std::tuple<int, int, bool>>{
                       {B, 0, true}, {C, 1, true}, {D, 2, false}, {A, 3, false}}));

    EXPECT_FALSE(tabelle::bestplatzierte({kandidaten[0], kandidaten[3]}, Kette::Einzel, &r));
    EXPECT_EQ(r[0].SID, D);
}

// Only marked entries move, and only past marked neighbours.
TEST(Vergleich, OnlyMarkedEntriesMove) {
    QVector<TabellenRow> eintraege{zeile(A, 3, 0, 9, 1, 99, 60), zeile(B, 2, 1, 7, 4, 90, 80),
                                   zeile(C, 2, 1, 7, 4, 90, 80), zeile(D, 0, 3, 1, 9, 60, 99)};
    eintraege[1].markiert = eintraege[2].markiert = true;
    tabelle::Vergleich v(eintraege);
    EXPECT_FALSE(v.rauf(1)) << "red entry below a black one";
    EXPECT_FALSE(v.runter(2)) << "red entry above a black one";
    EXPECT_FALSE(v.rauf(0));
    EXPECT_FALSE(v.runter(3));
    EXPECT_FALSE(v.runter(0));
    EXPECT_TRUE(v.rauf(2));
    EXPECT_EQ(v.eintraege()[1].SID, C);
    EXPECT_EQ(v.eintraege()[2].SID, B);
    EXPECT_TRUE(v.runter(1));
    EXPECT_EQ(v.eintraege()[1].SID, B);
    EXPECT_EQ(v.hinweis(1).toStdString(), "Spiele: 2:1 Sätze: 7:4 Punkte: 90:80");
}

} // namespace

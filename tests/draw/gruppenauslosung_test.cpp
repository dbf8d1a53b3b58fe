// The group draw's rules on plain lists: no database.
#include "draw/gruppenauslosung.h"

#include "common/random.h"
#include "draw/labels.h"

#include <QHash>
#include <QSet>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

using Platz = std::pair<int, int>; // group index within the phase, line (both from 0)

Myitem eintrag(int id, const QString& club = QString(), int seed = -1) {
    Myitem m;
    m.id = id;
    m.present = true;
    m.club = club;
    m.seedNumber = seed;
    m.text =
        seed > 0 ? QStringLiteral("Spieler %1 (%2)").arg(id).arg(seed) : QStringLiteral("Spieler %1").arg(id);
    return m;
}

QVector<Myitem> eintraege(int von, int anzahl, const QString& club = QString()) {
    QVector<Myitem> result;
    for (int i = 0; i < anzahl; ++i)
        result << eintrag(von + i, club);
    return result;
}

QVector<Myitem> gesetzte(int anzahl, const QStringList& clubs = {}) {
    QVector<Myitem> result;
    for (int i = 0; i < anzahl; ++i)
        result << eintrag(1000 + i, clubs.value(i), i + 1);
    return result;
}

// A phase 1 of g groups with p places each.
QVector<Gruppenliste> phase1(int g, int p) {
    gruppeninfos infos;
    infos.phase = {0, -1, -1};
    infos.gruppenanzahl[0] = g;
    infos.teilnehmer[0] = p;
    return gruppenanlegen(infos, 1);
}

Platz wo(const QVector<Gruppenliste>& gruppen, int id) {
    for (int g = 0; g < gruppen.size(); ++g)
        for (int r = 0; r < gruppen[g].zeilen.size(); ++r)
            if (!gruppen[g].frei(r) && gruppen[g].zeilen[r].id == id) return {g, r};
    return {-1, -1};
}

QSet<Platz> belegt(const QVector<Gruppenliste>& gruppen) {
    QSet<Platz> result;
    for (int g = 0; g < gruppen.size(); ++g)
        for (int r = 0; r < gruppen[g].zeilen.size(); ++r)
            if (!gruppen[g].frei(r)) result.insert({g, r});
    return result;
}

// Every id appears on exactly one line.
void expectEachOnce(const QVector<Gruppenliste>& gruppen, const QVector<int>& ids) {
    QHash<int, int> seen;
    for (const Gruppenliste& g : gruppen)
        for (const Myitem& z : g.zeilen)
            if (!z.text.isEmpty()) ++seen[z.id];
    for (int id : ids)
        EXPECT_EQ(seen.value(id), 1) << "entry " << id;
    EXPECT_EQ(seen.size(), ids.size());
}

QVector<int> idsOf(const QVector<Myitem>& items) {
    QVector<int> ids;
    for (const Myitem& m : items)
        ids << m.id;
    return ids;
}

// ---------------------------------------------------------------------------------------------------------

struct SnakeCase {
    int m;
    int g;
    int zeile;
    int gruppe;
};

void PrintTo(const SnakeCase& c, std::ostream* os) {
    *os << "placement " << c.m << " of " << c.g << " groups";
}

class Snake : public ::testing::TestWithParam<SnakeCase> {};

TEST_P(Snake, RowsRunForwardThenBack) {
    const Schlangenplatz p = schlangenplatz(GetParam().m, GetParam().g);
    EXPECT_EQ(p.zeile, GetParam().zeile);
    EXPECT_EQ(p.gruppe, GetParam().gruppe);
}

// Four groups: A B C D, D C B A, A B C D.
INSTANTIATE_TEST_SUITE_P(Cases, Snake,
                         ::testing::Values(SnakeCase{0, 4, 0, 0}, SnakeCase{3, 4, 0, 3},
                                           SnakeCase{4, 4, 1, 3}, SnakeCase{5, 4, 1, 2},
                                           SnakeCase{7, 4, 1, 0}, SnakeCase{8, 4, 2, 0},
                                           SnakeCase{11, 4, 2, 3}, SnakeCase{0, 1, 0, 0},
                                           SnakeCase{3, 1, 3, 0}, SnakeCase{2, 3, 0, 2},
                                           SnakeCase{3, 3, 1, 2}, SnakeCase{6, 3, 2, 0}));

// ---------------------------------------------------------------------------------------------------------
// Phase 1 without club separation.

// 3 seeds and 9 further entries into 4 groups of 3, seeds fixed: the seeds take A, B, C; the unseeded
// follow on D line 1, then line 2 from D to A, then line 3 from A to D. Drawing k unseeded entries fills
// exactly the first k of those places, whichever entries chance picks.
TEST(Gruppenlosenfest, SeedsThenUnseededAlongTheSnake) {
    const std::vector<Platz> seedPlaces = {{0, 0}, {1, 0}, {2, 0}};
    const std::vector<Platz> unseededPlaces = {{3, 0}, {3, 1}, {2, 1}, {1, 1}, {0, 1},
                                               {0, 2}, {1, 2}, {2, 2}, {3, 2}};
    for (int k = 0; k <= 9; ++k) {
        SCOPED_TRACE(k);
        QVector<Gruppenliste> gruppen = phase1(4, 3);
        QVector<Myitem> seeds = gesetzte(3);
        QVector<Myitem> entries = eintraege(1, k);
        Random random(k);
        gruppenlosenfest(gruppen, seeds, entries, 0, random);
        for (int s = 0; s < 3; ++s)
            EXPECT_EQ(wo(gruppen, 1000 + s), seedPlaces[s]) << "seed " << s + 1;
        QSet<Platz> expected(seedPlaces.begin(), seedPlaces.end());
        expected.unite(QSet<Platz>(unseededPlaces.begin(), unseededPlaces.begin() + k));
        EXPECT_EQ(belegt(gruppen), expected);
        EXPECT_TRUE(entries.isEmpty());
    }
}

struct SeedCase {
    const char* name;
    int seeds;
    int groups;
    int places;
    std::vector<Platz> expected; // seed 1, 2, ...
};

void PrintTo(const SeedCase& c, std::ostream* os) {
    *os << c.name;
}

class FixedSeeds : public ::testing::TestWithParam<SeedCase> {};

TEST_P(FixedSeeds, TakeTheSnakePlacesInSeedOrder) {
    const SeedCase& c = GetParam();
    QVector<Gruppenliste> gruppen = phase1(c.groups, c.places);
    QVector<Myitem> seeds = gesetzte(c.seeds);
    QVector<Myitem> none;
    Random random(7);
    gruppenlosenfest(gruppen, seeds, none, 0, random);
    for (int s = 0; s < c.seeds; ++s)
        EXPECT_EQ(wo(gruppen, 1000 + s), c.expected[s]) << "seed " << s + 1;
    // The seed list keeps its lines, now empty.
    ASSERT_EQ(seeds.size(), c.seeds);
    for (int s = 0; s < c.seeds; ++s) {
        EXPECT_LT(seeds[s].id, 0);
        EXPECT_EQ(setzlistentext(s, seeds[s]), QStringLiteral("%1.").arg(s + 1));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FixedSeeds,
    ::testing::Values(
        SeedCase{"FiveSeedsFourGroups", 5, 4, 3, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 1}}},
        SeedCase{"EightSeedsFourGroups",
                 8,
                 4,
                 2,
                 {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 1}, {2, 1}, {1, 1}, {0, 1}}},
        SeedCase{"OneGroup", 3, 1, 4, {{0, 0}, {0, 1}, {0, 2}}},
        SeedCase{
            "SevenSeedsThreeGroups", 7, 3, 3, {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {1, 1}, {0, 1}, {0, 2}}}));

// Seeds drawn at random: they take the same places, in an order that chance decides.
TEST(Gruppenlosenfest, RandomSeedsTakeTheSeedPlacesInAnyOrder) {
    const QSet<Platz> seedPlaces = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 1}};
    QSet<int> firstPlaceSeeds;
    for (quint64 seed = 1; seed <= 40; ++seed) {
        QVector<Gruppenliste> gruppen = phase1(4, 3);
        QVector<Myitem> seeds = gesetzte(5);
        QVector<Myitem> entries = eintraege(1, 7);
        Random random(seed);
        gruppenlosenfest(gruppen, seeds, entries, 1, random);
        QSet<Platz> taken;
        for (int s = 0; s < 5; ++s)
            taken.insert(wo(gruppen, 1000 + s));
        EXPECT_EQ(taken, seedPlaces) << "random seed " << seed;
        expectEachOnce(gruppen, idsOf(gesetzte(5)) + idsOf(eintraege(1, 7)));
        firstPlaceSeeds.insert(gruppen[0].zeilen[0].id);
    }
    EXPECT_GT(firstPlaceSeeds.size(), 1);
}

// Unseeded entries are drawn at random: every one lands once, and different chances give different
// layouts.
TEST(Gruppenlosenfest, EveryEntryOnceInRandomOrder) {
    struct Case {
        int seeds, entries, groups, places;
    };
    for (const Case c : {Case{0, 12, 4, 3}, Case{2, 10, 3, 4}, Case{4, 60, 16, 4}, Case{1, 0, 2, 2}}) {
        QSet<int> firstUnseeded;
        for (quint64 seed = 1; seed <= 25; ++seed) {
            QVector<Gruppenliste> gruppen = phase1(c.groups, c.places);
            QVector<Myitem> seeds = gesetzte(c.seeds);
            QVector<Myitem> entries = eintraege(1, c.entries);
            Random random(seed);
            gruppenlosenfest(gruppen, seeds, entries, 0, random);
            EXPECT_TRUE(entries.isEmpty());
            expectEachOnce(gruppen, idsOf(gesetzte(c.seeds)) + idsOf(eintraege(1, c.entries)));
            const Schlangenplatz p = schlangenplatz(c.seeds, c.groups);
            if (c.entries > 0) firstUnseeded.insert(gruppen[p.gruppe].zeilen[p.zeile].id);
        }
        if (c.entries > 1) {
            EXPECT_GT(firstUnseeded.size(), 1) << c.entries << " entries";
        }
    }
}

// An entry placed by hand before "Losen" keeps its line; the draw goes round it.
TEST(Gruppenlosenfest, HandPlacedLinesAreKept) {
    for (const bool club : {false, true}) {
        SCOPED_TRACE(club ? "club separation" : "plain");
        QVector<Gruppenliste> gruppen = phase1(3, 2);
        gruppen[0].zeilen[0] = eintrag(99, QStringLiteral("X"));
        gruppen[2].zeilen[1] = eintrag(98, QStringLiteral("Y"));
        QVector<Myitem> seeds = gesetzte(1, {QStringLiteral("Y")});
        QVector<Myitem> entries = eintraege(1, 3, QStringLiteral("X"));
        Random random(3);
        if (club)
            gruppenlosenvereinfest(gruppen, seeds, entries, {QStringLiteral("X")}, 0, random);
        else
            gruppenlosenfest(gruppen, seeds, entries, 0, random);
        EXPECT_EQ(wo(gruppen, 99), Platz(0, 0));
        EXPECT_EQ(wo(gruppen, 98), Platz(2, 1));
        EXPECT_EQ(wo(gruppen, 1000), Platz(1, 0));
        EXPECT_TRUE(entries.isEmpty());
        expectEachOnce(gruppen, {99, 98, 1000, 1, 2, 3});
    }
}

// More entries than places (only possible after placing by hand): what finds no line stays in the list.
TEST(Gruppenlosenfest, WhatFindsNoLineStaysInTheList) {
    for (const bool club : {false, true}) {
        QVector<Gruppenliste> gruppen = phase1(2, 2);
        gruppen[1].zeilen[1] = eintrag(99);
        QVector<Myitem> seeds;
        QVector<Myitem> entries = eintraege(1, 5);
        Random random(5);
        if (club)
            gruppenlosenvereinfest(gruppen, seeds, entries, {}, 0, random);
        else
            gruppenlosenfest(gruppen, seeds, entries, 0, random);
        EXPECT_EQ(belegt(gruppen).size(), 4);
        ASSERT_EQ(entries.size(), 2) << (club ? "club separation" : "plain");
        QSet<int> all = {99};
        for (const Myitem& m : entries)
            all.insert(m.id);
        for (const Platz& p : belegt(gruppen))
            all.insert(gruppen[p.first].zeilen[p.second].id);
        EXPECT_EQ(all, QSet<int>({99, 1, 2, 3, 4, 5}));
    }
}

// ---------------------------------------------------------------------------------------------------------
// Phase 1 with club separation.

// The clubs of each group, line by line.
QVector<QStringList> clubLayout(const QVector<Gruppenliste>& gruppen) {
    QVector<QStringList> result;
    for (const Gruppenliste& g : gruppen) {
        QStringList clubs;
        for (const Myitem& z : g.zeilen)
            clubs << (z.text.isEmpty() ? QStringLiteral("-") : z.club);
        result << clubs;
    }
    return result;
}

struct ClubCase {
    const char* name;
    int groups;
    int places;
    QStringList seedClubs;            // seed 1, 2, ...
    QList<QPair<QString, int>> clubs; // unseeded members per club
    QStringList order;                // club order as the clubs query gives it
    QVector<QStringList> layout;      // clubs per group, line by line
};

void PrintTo(const ClubCase& c, std::ostream* os) {
    *os << c.name;
}

class ClubSeparation : public ::testing::TestWithParam<ClubCase> {};

QVector<Myitem> members(const ClubCase& c) {
    QVector<Myitem> result;
    int id = 1;
    for (const auto& [club, n] : c.clubs)
        for (int i = 0; i < n; ++i)
            result << eintrag(id++, club);
    return result;
}

// Within a line each entry goes to the group with the fewest members of its club, lowest index first:
// which club lands where is fixed; chance decides only which member of a club comes first.
TEST_P(ClubSeparation, LayoutOfClubsFollowsTheRule) {
    const ClubCase& c = GetParam();
    QSet<QVector<int>> orders;
    for (quint64 seed = 1; seed <= 30; ++seed) {
        QVector<Gruppenliste> gruppen = phase1(c.groups, c.places);
        QVector<Myitem> seeds = gesetzte(int(c.seedClubs.size()), c.seedClubs);
        QVector<Myitem> entries = members(c);
        Random random(seed);
        gruppenlosenvereinfest(gruppen, seeds, entries, c.order, 0, random);
        EXPECT_EQ(clubLayout(gruppen), c.layout) << "random seed " << seed;
        EXPECT_TRUE(entries.isEmpty());
        expectEachOnce(gruppen, idsOf(gesetzte(int(c.seedClubs.size()))) + idsOf(members(c)));
        QVector<int> order;
        for (const Gruppenliste& g : gruppen)
            for (const Myitem& z : g.zeilen)
                order << z.id;
        orders.insert(order);
    }
    EXPECT_GT(orders.size(), 1);
}

const QString X = QStringLiteral("TTC X");
const QString Y = QStringLiteral("TSV Y");
const QString Z = QStringLiteral("SV Z");

INSTANTIATE_TEST_SUITE_P(
    Cases, ClubSeparation,
    ::testing::Values(
        // Two clubs of three, three groups of two: each group one of each.
        ClubCase{"TwoClubsOfThree", 3, 2, {}, {{X, 3}, {Y, 3}}, {X, Y}, {{X, Y}, {X, Y}, {X, Y}}},
        // X fills line 1 and starts line 2 in A; Y goes where it is not yet, then to A on line 3.
        ClubCase{"LargestClubFirst",
                 3,
                 3,
                 {},
                 {{X, 4}, {Y, 3}, {Z, 2}},
                 {X, Y, Z},
                 {{X, X, Y}, {X, Y, Z}, {X, Y, Z}}},
        // Seeds Y and X take A and B; X's members take C and D, then A, where no X is yet.
        ClubCase{"SeedsCountForTheirClub",
                 4,
                 2,
                 {Y, X},
                 {{X, 3}, {Y, 2}, {Z, 1}},
                 {X, Y, Z},
                 {{Y, X}, {X, Y}, {X, Y}, {X, Z}}},
        // Entries without club draw as one club of their own, after the clubs named.
        ClubCase{"WithoutClub",
                 2,
                 3,
                 {},
                 {{X, 2}, {QString(), 3}, {Y, 1}},
                 {X, Y},
                 {{X, Y, QString()}, {X, QString(), QString()}}}));

// With no club larger than the number of groups and no seeds, no group holds two of one club, whatever
// chance picks and however the clubs are mixed.
TEST(ClubSeparationProperty, NoTwoOfOneClubInAGroup) {
    struct Case {
        int groups, places;
        std::vector<int> clubSizes;
    };
    const Case cases[] = {{4, 4, {4, 4, 3, 2, 2, 1}},
                          {8, 3, {8, 5, 5, 3, 2, 1}},
                          {5, 5, {5, 5, 5, 5, 5}},
                          {16, 4, {16, 12, 9, 9, 7, 5, 3, 2, 1}}};
    for (const Case& c : cases) {
        QVector<Myitem> all;
        QStringList order;
        int id = 1;
        for (size_t k = 0; k < c.clubSizes.size(); ++k) {
            const QString club = QStringLiteral("Verein %1").arg(k);
            order << club;
            for (int i = 0; i < c.clubSizes[k]; ++i)
                all << eintrag(id++, club);
        }
        for (quint64 seed = 1; seed <= 20; ++seed) {
            QVector<Gruppenliste> gruppen = phase1(c.groups, c.places);
            QVector<Myitem> seeds;
            QVector<Myitem> entries = all;
            Random random(seed);
            gruppenlosenvereinfest(gruppen, seeds, entries, order, 0, random);
            expectEachOnce(gruppen, idsOf(all));
            for (const Gruppenliste& g : gruppen) {
                QSet<QString> clubs;
                for (const Myitem& z : g.zeilen)
                    if (!z.text.isEmpty()) {
                        EXPECT_FALSE(clubs.contains(z.club)) << labels::gruppentitel(g.gid).toStdString()
                                                             << " holds two of " << z.club.toStdString();
                        clubs.insert(z.club);
                    }
            }
        }
    }
}

// The seeds are placed as without club separation, in seed order or at random.
TEST(ClubSeparationSeeds, SeedsTakeTheirSnakePlaces) {
    const std::vector<Platz> places = {{0, 0}, {1, 0}, {2, 0}, {2, 1}};
    QSet<int> firstSeed;
    for (const int mode : {0, 1})
        for (quint64 seed = 1; seed <= 20; ++seed) {
            QVector<Gruppenliste> gruppen = phase1(3, 3);
            QVector<Myitem> seeds = gesetzte(4, {X, X, Y, Y});
            QVector<Myitem> entries = eintraege(1, 5, X);
            Random random(seed);
            gruppenlosenvereinfest(gruppen, seeds, entries, {X, Y}, mode, random);
            QSet<Platz> taken;
            for (int s = 0; s < 4; ++s) {
                if (mode == 0) {
                    EXPECT_EQ(wo(gruppen, 1000 + s), places[s]);
                }
                taken.insert(wo(gruppen, 1000 + s));
            }
            EXPECT_EQ(taken, QSet<Platz>(places.begin(), places.end()));
            if (mode == 1) firstSeed.insert(gruppen[0].zeilen[0].id);
            for (const Myitem& s : seeds)
                EXPECT_LT(s.id, 0);
        }
    EXPECT_GT(firstSeed.size(), 1);
}

// ---------------------------------------------------------------------------------------------------------
// Later phases.

// Phase 1 groups and qualifiers, and the later group phase n's groups and places.
gruppeninfos zweiPhasen(int g1, int p1, int besten, int bestplazierten, int g2, int p2) {
    gruppeninfos infos;
    infos.phase = {0, 0, -1};
    infos.gruppenanzahl = {g1, g2, -1};
    infos.teilnehmer = {p1, p2, -1};
    infos.besten = {besten, 0, -1};
    infos.bestplazierten = {bestplazierten, 0, -1};
    return infos;
}

QVector<QStringList> texte(const QVector<Gruppenliste>& gruppen) {
    QVector<QStringList> result;
    for (const Gruppenliste& g : gruppen) {
        QStringList lines;
        for (int r = 0; r < g.zeilen.size(); ++r)
            lines << g.zeilentext(r);
        result << lines;
    }
    return result;
}

struct LaterCase {
    const char* name;
    gruppeninfos infos;
    QStringList titles;
    QVector<QStringList> lines;
};

void PrintTo(const LaterCase& c, std::ostream* os) {
    *os << c.name;
}

class NachSystem : public ::testing::TestWithParam<LaterCase> {};

TEST_P(NachSystem, PlacesWinnersThenExchangesRanksOfOneOrigin) {
    const LaterCase& c = GetParam();
    QVector<Gruppenliste> gruppen = gruppenanlegen(c.infos, 2);
    QVector<Myitem> teilnehmer = qualifikantenlabels(c.infos, 2);
    Random random(1);
    gruppenlosenfest2(gruppen, teilnehmer, 0, random);
    QStringList titles;
    for (const Gruppenliste& g : gruppen)
        titles << g.titel();
    EXPECT_EQ(titles, c.titles);
    EXPECT_EQ(texte(gruppen), c.lines);
    EXPECT_TRUE(teilnehmer.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, NachSystem,
                         ::testing::Values(
                             // Groups A to C with two qualifiers each into two groups of three: D already
                             // holds the winner of A, so the second of A changes places with the second of C.
                             LaterCase{"DandE",
                                       zweiPhasen(3, 4, 2, 0, 2, 3),
                                       {"Gruppe D", "Gruppe E"},
                                       {{"1. Sieger Gruppe A", "2. Zweiter Gruppe C", "3. Zweiter Gruppe B"},
                                        {"1. Sieger Gruppe B", "2. Sieger Gruppe C", "3. Zweiter Gruppe A"}}},
                             // Winners run along the snake; the best-placed follow in list order.
                             LaterCase{"WinnersAndBestPlaced",
                                       zweiPhasen(3, 3, 1, 1, 2, 2),
                                       {"Gruppe D", "Gruppe E"},
                                       {{"1. Sieger Gruppe A", "2. 1. Bestplatzierter 2. Platz"},
                                        {"1. Sieger Gruppe B", "2. Sieger Gruppe C"}}},
                             // Places left over stay empty.
                             LaterCase{"EmptyPlacesStay",
                                       zweiPhasen(2, 4, 1, 0, 1, 4),
                                       {"Gruppe C"},
                                       {{"1. Sieger Gruppe A", "2. Sieger Gruppe B", "3. ", "4. "}}}));

// "Zufall": the winners take the first places of the snake in random order; everyone is placed once.
TEST(Zufall, WinnersInRandomOrderOnTheirPlaces) {
    const gruppeninfos infos = zweiPhasen(4, 4, 2, 2, 3, 4);
    const QVector<Myitem> labels = qualifikantenlabels(infos, 2);
    ASSERT_EQ(labels.size(), 10);
    QSet<QString> winners;
    for (const Myitem& l : labels)
        if (l.text.startsWith(u'S')) winners.insert(l.text);
    QSet<QString> firstPlace;
    for (quint64 seed = 1; seed <= 30; ++seed) {
        QVector<Gruppenliste> gruppen = gruppenanlegen(infos, 2);
        QVector<Myitem> teilnehmer = labels;
        Random random(seed);
        gruppenlosenfest2(gruppen, teilnehmer, 1, random);
        EXPECT_TRUE(teilnehmer.isEmpty());
        QSet<QString> onWinnerPlaces;
        for (int m = 0; m < winners.size(); ++m) {
            const Schlangenplatz p = schlangenplatz(m, 3);
            onWinnerPlaces.insert(gruppen[p.gruppe].zeilen[p.zeile].text);
        }
        EXPECT_EQ(onWinnerPlaces, winners);
        QStringList placed;
        for (const Gruppenliste& g : gruppen)
            for (const Myitem& z : g.zeilen)
                if (!z.text.isEmpty()) placed << z.text;
        placed.sort();
        QStringList expected;
        for (const Myitem& l : labels)
            expected << l.text;
        expected.sort();
        EXPECT_EQ(placed, expected);
        firstPlace.insert(gruppen[0].zeilen[0].text);
    }
    EXPECT_GT(firstPlace.size(), 1);
}

TEST(LaterPhases, GroupIndicesRunOnAcrossPhases) {
    gruppeninfos infos;
    infos.phase = {0, 0, 0};
    infos.gruppenanzahl = {3, 2, 1};
    infos.teilnehmer = {4, 3, 4};
    infos.besten = {2, 2, 0};
    infos.bestplazierten = {0, 0, 0};
    QStringList titles;
    for (int n = 1; n <= 3; ++n)
        for (const Gruppenliste& g : gruppenanlegen(infos, n)) {
            titles << g.titel();
            EXPECT_EQ(g.zeilen.size(), infos.teilnehmer[n - 1]);
        }
    EXPECT_EQ(titles, QStringList({"Gruppe A", "Gruppe B", "Gruppe C", "Gruppe D", "Gruppe E", "Gruppe F"}));
    QStringList phase3;
    for (const Myitem& m : qualifikantenlabels(infos, 3))
        phase3 << m.text;
    EXPECT_EQ(phase3,
              QStringList({"Sieger Gruppe D", "Sieger Gruppe E", "Zweiter Gruppe D", "Zweiter Gruppe E"}));
    // A knock-out phase has no groups.
    infos.phase[2] = gruppeninfos::EinfachesKO;
    EXPECT_TRUE(gruppenanlegen(infos, 3).isEmpty());
}

// ---------------------------------------------------------------------------------------------------------

TEST(Tischaufteilung, SharedOrFixedPerGroup) {
    Tischaufteilung t;
    t.tische = {"Tisch 1", "Tisch 2", "Tisch 3"};
    EXPECT_EQ(t.tischeVon(0), t.tische);
    EXPECT_EQ(t.tischeVon(5), t.tische);

    t.modus = Tischaufteilung::fest;
    EXPECT_TRUE(t.tischeVon(0).isEmpty());
    t.zuordnen(0, {"Tisch 3", "Tisch 1"});
    t.zuordnen(0, {"Tisch 1", "Tisch 2"});
    t.zuordnen(1, {"Tisch 2"});
    EXPECT_EQ(t.tischeVon(0), QStringList({"Tisch 1", "Tisch 2", "Tisch 3"}));
    EXPECT_EQ(t.tischeVon(1), QStringList({"Tisch 2"}));
    t.entfernen(0, "Tisch 2");
    t.entfernen(2, "Tisch 2");
    EXPECT_EQ(t.tischeVon(0), QStringList({"Tisch 1", "Tisch 3"}));
    EXPECT_EQ(t.tischeVon(1), QStringList({"Tisch 2"}));
}

} // namespace

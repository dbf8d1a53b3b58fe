#include "draw/koauslosung.h"

#include "common/random.h"
#include "support/testdb.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <functional>

namespace {

// The seeding table as it ships, read once from a fresh database.
const QVector<int>& setzplaetze(int size) {
    static const QHash<int, QVector<int>> table = [] {
        TestDatabase tdb(DbKind::File);
        QHash<int, QVector<int>> t;
        for (int s = 2; s <= 512; s *= 2)
            t.insert(s, kosetzplaetze(tdb.db(), s));
        return t;
    }();
    static const QVector<int> none;
    const auto it = table.find(size);
    return it == table.end() ? none : *it;
}

// The entrants of a phase 1 draw: seeds with ids from 1, unseeded entries with ids from 1001. Their clubs
// come from clubOf(id).
struct Field {
    QVector<Myitem> ungesetzt;
    QVector<Myitem> gesetzt;
    int count() const { return int(ungesetzt.size() + gesetzt.size()); }
    QVector<int> ids() const {
        QVector<int> all;
        for (const Myitem& m : ungesetzt + gesetzt)
            all << m.id;
        std::sort(all.begin(), all.end());
        return all;
    }
};

QString defaultClub(int id) {
    return QStringLiteral("TTC %1").arg(id % 7);
}

Field field(int unseeded, int seeds, const std::function<QString(int)>& clubOf = defaultClub) {
    Field f;
    for (int n = 1; n <= seeds; ++n) {
        Myitem m;
        m.id = n;
        m.present = true;
        m.seedNumber = n;
        m.text = QStringLiteral("Gesetzt %1 (%1)").arg(n);
        m.club = clubOf(n);
        f.gesetzt << m;
    }
    for (int i = 0; i < unseeded; ++i) {
        Myitem m;
        m.id = 1001 + i;
        m.present = true;
        m.text = QStringLiteral("Spieler %1").arg(1001 + i);
        m.club = clubOf(m.id);
        f.ungesetzt << m;
    }
    return f;
}

// The clubs of a field, largest first, as the club query gives them.
QStringList clubsOf(const Field& f) {
    QHash<QString, int> count;
    for (const Myitem& m : f.ungesetzt + f.gesetzt)
        ++count[m.club];
    QStringList clubs = count.keys();
    std::sort(clubs.begin(), clubs.end(), [&](const QString& a, const QString& b) {
        return count[a] != count[b] ? count[a] > count[b] : a < b;
    });
    return clubs;
}

enum class Draw { Fest, Verein };
const Draw kDraws[] = {Draw::Fest, Draw::Verein};

const char* name(Draw d) {
    return d == Draw::Fest ? "kolosenfest" : "kolosenfestverein";
}

KoErgebnis run(Draw draw, KoPhase1& page, int mode, const KoLosdaten& daten, Random& random) {
    return draw == Draw::Fest ? kolosenfest(page, mode, daten, random)
                              : kolosenfestverein(page, mode, daten, random);
}

KoLosdaten daten(int size, bool freiloseZufaellig, const QStringList& vereine = {}) {
    KoLosdaten d;
    d.setzplaetze = setzplaetze(size);
    d.freiloseZufaellig = freiloseZufaellig;
    d.vereine = vereine;
    return d;
}

int slotOfId(const KoSlots& ks, int id) {
    for (int k = 0; k < ks.size(); ++k)
        if (ks[k].id == id) return k;
    return -1;
}

int byeCount(const KoSlots& ks) {
    return int(std::count_if(ks.begin(), ks.end(), [](const koinfo& k) { return k.bye(); }));
}

// Pairs of the first stage that hold two byes.
int byePairs(const KoSlots& ks) {
    int n = 0;
    for (int k = 0; k + 1 < ks.size(); k += 2)
        if (ks[k].bye() && ks[k + 1].bye()) ++n;
    return n;
}

// After a phase 1 draw: every entrant on exactly one slot, the rest byes, the lists emptied and the seed
// list back to its numbered empty lines.
void expectDrawn(const KoPhase1& page, const Field& f) {
    const KoSlots& ks = page.koslots;
    ASSERT_EQ(ks.size(), ko::groesse(f.count()));
    QVector<int> placed;
    for (const koinfo& k : ks) {
        EXPECT_FALSE(k.empty()) << "a slot stayed empty";
        if (!k.bye()) placed << k.id;
    }
    std::sort(placed.begin(), placed.end());
    EXPECT_EQ(placed, f.ids()) << "every entrant placed exactly once";
    EXPECT_EQ(byeCount(ks), ks.size() - f.count());
    EXPECT_EQ(byePairs(ks), 0) << "a bye faces a bye";
    EXPECT_TRUE(page.ungesetzt.isEmpty());
    ASSERT_EQ(page.gesetzt.size(), f.gesetzt.size());
    for (int i = 0; i < page.gesetzt.size(); ++i)
        EXPECT_EQ(ko::setzzeile(page.gesetzt[i], i), QStringLiteral("%1.").arg(i + 1));
    EXPECT_TRUE(kogelost(page));
}

// ---------------------------------------------------------------------------------------------------------
// Bracket size and byes, for both phase 1 draws.

struct SizeCase {
    int unseeded;
    int seeds;
    int size;
};

void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << c.unseeded << " unseeded, " << c.seeds << " seeds";
}

class BracketSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(BracketSize, EveryEntrantIsPlacedOnceAndByesFillTheRest) {
    const SizeCase& c = GetParam();
    const Field f = field(c.unseeded, c.seeds);
    for (Draw draw : kDraws)
        for (int mode : {0, 1})
            for (bool zufaellig : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << name(draw) << " mode " << mode << " random byes " << zufaellig);
                KoPhase1 page = kophase1(f.ungesetzt, f.gesetzt);
                ASSERT_EQ(page.koslots.size(), c.size);
                Random random(7);
                const KoErgebnis result = run(draw, page, mode, daten(c.size, zufaellig, clubsOf(f)), random);
                EXPECT_EQ(result.status, KoErgebnis::Gelost);
                expectDrawn(page, f);
            }
}

INSTANTIATE_TEST_SUITE_P(Cases, BracketSize,
                         ::testing::Values(SizeCase{1, 0, 2}, SizeCase{0, 1, 2}, SizeCase{2, 0, 2},
                                           SizeCase{1, 1, 2}, SizeCase{2, 1, 4}, SizeCase{3, 2, 8},
                                           SizeCase{5, 0, 8}, SizeCase{8, 0, 8}, SizeCase{5, 3, 8},
                                           SizeCase{9, 0, 16}, SizeCase{6, 3, 16}, SizeCase{128, 0, 128},
                                           SizeCase{100, 28, 128}, SizeCase{129, 0, 256},
                                           SizeCase{120, 9, 256}));

TEST(KoBracket, SizeIsTheNextPowerOfTwoAndAtLeastTwo) {
    struct Case {
        int participants;
        int size;
    };
    for (const Case& c : {Case{0, 2}, Case{1, 2}, Case{2, 2}, Case{3, 4}, Case{4, 4}, Case{5, 8}, Case{8, 8},
                          Case{9, 16}, Case{128, 128}, Case{129, 256}, Case{257, 512}})
        EXPECT_EQ(ko::groesse(c.participants), c.size) << c.participants << " participants";
}

TEST(KoBracket, ANewPageHasOnlyEmptySlots) {
    const Field f = field(3, 2);
    const KoPhase1 page = kophase1(f.ungesetzt, f.gesetzt);
    for (const koinfo& k : page.koslots) {
        EXPECT_TRUE(k.empty());
        EXPECT_EQ(k.id, -1);
        EXPECT_EQ(k.seedNumber, -1);
    }
    EXPECT_FALSE(kogelost(page));
}

// Empty seed lines left by dragging do not count as participants.
TEST(KoBracket, EmptySeedLinesDoNotCount) {
    Field f = field(4, 2);
    Myitem emptyLine;
    emptyLine.id = -1;
    emptyLine.partnerId = -1;
    emptyLine.seedNumber = 3;
    f.gesetzt << emptyLine;
    EXPECT_EQ(kophase1(f.ungesetzt, f.gesetzt).koslots.size(), 8);
}

// ---------------------------------------------------------------------------------------------------------
// Byes beside the seeds, or drawn with everyone else.

struct ByeCase {
    int unseeded;
    int seeds;
    bool zufaellig;
};

void PrintTo(const ByeCase& c, std::ostream* os) {
    *os << c.unseeded << " unseeded, " << c.seeds << " seeds, random byes " << c.zufaellig;
}

class ByesBesideSeeds : public ::testing::TestWithParam<ByeCase> {};

TEST_P(ByesBesideSeeds, SeedsGetTheByesUnlessByesAreDrawn) {
    const ByeCase& c = GetParam();
    const Field f = field(c.unseeded, c.seeds);
    const int size = ko::groesse(f.count());
    const int byes = size - f.count();
    for (Draw draw : kDraws)
        for (int mode : {0, 1}) {
            QSet<int> besideCounts;
            for (int seed = 0; seed < 40; ++seed) {
                SCOPED_TRACE(testing::Message() << name(draw) << " mode " << mode << " seed " << seed);
                KoPhase1 page = kophase1(f.ungesetzt, f.gesetzt);
                Random random(seed);
                run(draw, page, mode, daten(size, c.zufaellig, clubsOf(f)), random);
                expectDrawn(page, f);
                // The seeds on the table's slots in its order: while byes last, each gets one opposite.
                const QVector<int>& table = setzplaetze(size);
                int beside = 0;
                for (int r = 0; r < c.seeds; ++r) {
                    const int k = table[r] - 1;
                    ASSERT_GT(page.koslots[k].seedNumber, 0) << "no seed on the table's slot " << k;
                    const bool hasBye = page.koslots[ko::partner(k)].bye();
                    if (!c.zufaellig) {
                        EXPECT_EQ(hasBye, r < byes) << "slot " << k;
                    }
                    beside += hasBye;
                }
                besideCounts.insert(beside);
            }
            if (c.zufaellig && byes > 0) {
                EXPECT_GT(besideCounts.size(), 1) << "drawn byes land beside seeds sometimes, not always";
            }
        }
}

INSTANTIATE_TEST_SUITE_P(Cases, ByesBesideSeeds,
                         ::testing::Values(ByeCase{3, 2, false}, ByeCase{3, 2, true}, ByeCase{6, 2, false},
                                           ByeCase{2, 3, false}, ByeCase{10, 2, false}, ByeCase{10, 2, true},
                                           ByeCase{5, 4, false}, ByeCase{20, 9, false},
                                           ByeCase{20, 9, true}));

// ---------------------------------------------------------------------------------------------------------
// Seeds on the seeding table's slots.

struct SeedCase {
    int unseeded;
    int seeds;
};

class SeedSlots : public ::testing::TestWithParam<SeedCase> {};

TEST_P(SeedSlots, FixedSeedsTakeTheirSlotsDrawnSeedsShareThem) {
    const Field f = field(GetParam().unseeded, GetParam().seeds);
    const int size = ko::groesse(f.count());
    const QVector<int>& table = setzplaetze(size);
    ASSERT_GE(table.size(), GetParam().seeds);
    QSet<int> tableSlots;
    for (int n = 0; n < GetParam().seeds; ++n)
        tableSlots.insert(table[n] - 1);

    for (Draw draw : kDraws) {
        SCOPED_TRACE(name(draw));
        for (int seed = 0; seed < 10; ++seed) {
            KoPhase1 page = kophase1(f.ungesetzt, f.gesetzt);
            Random random(seed);
            run(draw, page, 0, daten(size, false, clubsOf(f)), random);
            for (int n = 1; n <= GetParam().seeds; ++n) {
                EXPECT_EQ(slotOfId(page.koslots, n), table[n - 1] - 1) << "seed " << n;
                EXPECT_EQ(page.koslots[table[n - 1] - 1].seedNumber, n);
            }
        }
        bool shuffled = false;
        for (int seed = 0; seed < 30; ++seed) {
            KoPhase1 page = kophase1(f.ungesetzt, f.gesetzt);
            Random random(seed);
            run(draw, page, 1, daten(size, false, clubsOf(f)), random);
            QSet<int> used;
            for (int n = 1; n <= GetParam().seeds; ++n) {
                const int k = slotOfId(page.koslots, n);
                EXPECT_TRUE(tableSlots.contains(k)) << "seed " << n << " on slot " << k;
                used.insert(k);
                shuffled = shuffled || k != table[n - 1] - 1;
            }
            EXPECT_EQ(used, tableSlots);
        }
        EXPECT_TRUE(shuffled) << "drawn seeds never left the order of the table";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SeedSlots,
                         ::testing::Values(SeedCase{3, 2}, SeedCase{4, 4}, SeedCase{10, 6}, SeedCase{20, 12},
                                           SeedCase{70, 30}));

// ---------------------------------------------------------------------------------------------------------
// More seeds than the seeding table has slots for: refused, the page unchanged.

struct RefusalCase {
    const char* name;
    int unseeded;
    int seeds;
    int tableRows; // -1: the shipped table
    QString message;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class TooManySeeds : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(TooManySeeds, AreRefusedAndNothingMoves) {
    const RefusalCase& c = GetParam();
    const Field f = field(c.unseeded, c.seeds);
    const int size = ko::groesse(f.count());
    KoLosdaten d = daten(size, false, clubsOf(f));
    if (c.tableRows >= 0) d.setzplaetze.resize(c.tableRows);
    for (Draw draw : kDraws) {
        SCOPED_TRACE(name(draw));
        KoPhase1 page = kophase1(f.ungesetzt, f.gesetzt);
        ASSERT_TRUE(koablegen(page, 0, 2)); // a placement by hand stays as it is
        const KoPhase1 before = page;
        Random random(1);
        const KoErgebnis result = run(draw, page, 0, d, random);
        EXPECT_EQ(result.status, KoErgebnis::ZuVieleGesetzte);
        EXPECT_EQ(result.meldung.toStdString(), c.message.toStdString());
        ASSERT_EQ(page.koslots.size(), before.koslots.size());
        for (int k = 0; k < page.koslots.size(); ++k) {
            EXPECT_EQ(page.koslots[k].text, before.koslots[k].text) << "slot " << k;
            EXPECT_EQ(page.koslots[k].id, before.koslots[k].id) << "slot " << k;
        }
        EXPECT_EQ(page.ungesetzt.size(), before.ungesetzt.size());
        EXPECT_EQ(page.gesetzt.size(), before.gesetzt.size());
        for (int i = 0; i < page.gesetzt.size(); ++i)
            EXPECT_EQ(page.gesetzt[i].id, before.gesetzt[i].id);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TooManySeeds,
    ::testing::Values(
        RefusalCase{"ShortTable", 5, 3, 2,
                    QStringLiteral("Zu viele gesetzte Spieler: Das KO-System mit 8 Plätzen hat nur 2 "
                                   "Setzplätze.\nBitte die Setzliste kürzen.")},
        RefusalCase{"BracketBeyondTheTable", 299, 1, -1,
                    QStringLiteral("Zu viele gesetzte Spieler: Das KO-System mit 512 Plätzen hat keine "
                                   "Setzplätze.\nBitte die Setzliste leeren.")}),
    [](const auto& info) { return std::string(info.param.name); });

// Without seeds a bracket beyond the seeding table is drawn all the same.
TEST(KoDraw, ABracketBeyondTheTableWithoutSeedsIsDrawn) {
    const Field f = field(300, 0);
    for (Draw draw : kDraws) {
        SCOPED_TRACE(name(draw));
        KoPhase1 page = kophase1(f.ungesetzt, f.gesetzt);
        Random random(3);
        EXPECT_EQ(run(draw, page, 0, daten(512, false, clubsOf(f)), random).status, KoErgebnis::Gelost);
        expectDrawn(page, f);
    }
}

TEST(KoDraw, NothingToDrawChangesNothing) {
    for (Draw draw : kDraws) {
        KoPhase1 page = kophase1({}, {});
        Random random(3);
        EXPECT_EQ(run(draw, page, 0, daten(2, false), random).status, KoErgebnis::NichtsZuLosen)
            << name(draw);
        for (const koinfo& k : page.koslots)
            EXPECT_TRUE(k.empty());
    }
    KoPhase page = kophaseladen({});
    Random random(3);
    EXPECT_EQ(kolosenfest2(page, 0, daten(2, false), random).status, KoErgebnis::NichtsZuLosen);
}

// ---------------------------------------------------------------------------------------------------------
// No bye faces a bye while an entry could take the slot: over many sizes, seed counts, options and draws.

TEST(KoDraw, ByesNeverMeetByesAndEveryoneIsPlacedOnce) {
    for (int n : {2, 3, 4, 5, 6, 7, 9, 11, 12, 13, 17, 19, 23, 33, 37, 47, 65, 97})
        for (int seeds : {0, 1, (n + 1) / 2}) {
            // Seven clubs of which the club list knows only six: the seventh still gets drawn.
            const Field f = field(n - seeds, seeds);
            QStringList clubs = clubsOf(f);
            if (clubs.size() > 1) clubs.removeLast();
            for (Draw draw : kDraws)
                for (int mode : {0, 1})
                    for (bool zufaellig : {false, true})
                        for (int seed = 0; seed < 12; ++seed) {
                            SCOPED_TRACE(testing::Message()
                                         << n << " entrants, " << seeds << " seeds, " << name(draw)
                                         << " mode " << mode << " random byes " << zufaellig << " seed "
                                         << seed);
                            KoPhase1 page = kophase1(f.ungesetzt, f.gesetzt);
                            Random random(seed);
                            run(draw, page, mode, daten(page.koslots.size(), zufaellig, clubs), random);
                            expectDrawn(page, f);
                            if (HasFailure()) return;
                        }
        }
}

// ---------------------------------------------------------------------------------------------------------
// Club separation: members of a club alternate between the halves and do not meet in the first stage,
// where the draw guarantees it: the club is drawn while both halves still have room, and no bye was dealt
// into its list.

struct ClubCase {
    const char* name;
    int size;
    QVector<QString> seedClubs;     // seeds 1, 2, ...
    QVector<QString> unseededClubs; // one entry each
    QStringList separated;          // clubs whose members must be split
    // Also with seeds drawn: not when two seeds of one club may land in one half.
    bool drawnSeedsToo = true;
};

void PrintTo(const ClubCase& c, std::ostream* os) {
    *os << c.name;
}

class KoClubSeparation : public ::testing::TestWithParam<ClubCase> {};

TEST_P(KoClubSeparation, MembersAlternateBetweenHalvesAndNeverMeet) {
    const ClubCase& c = GetParam();
    Field f = field(int(c.unseededClubs.size()), int(c.seedClubs.size()));
    for (int i = 0; i < f.gesetzt.size(); ++i)
        f.gesetzt[i].club = c.seedClubs[i];
    for (int i = 0; i < f.ungesetzt.size(); ++i)
        f.ungesetzt[i].club = c.unseededClubs[i];
    ASSERT_EQ(ko::groesse(f.count()), c.size);

    for (int mode : {0, 1}) {
        if (mode == 1 && !c.drawnSeedsToo) continue;
        for (int seed = 0; seed < 60; ++seed) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " seed " << seed);
            KoPhase1 page = kophase1(f.ungesetzt, f.gesetzt);
            Random random(seed);
            kolosenfestverein(page, mode, daten(c.size, false, clubsOf(f)), random);
            expectDrawn(page, f);
            for (const QString& club : c.separated) {
                int upper = 0, lower = 0;
                for (int k = 0; k < c.size; ++k)
                    if (page.koslots[k].club == club && !page.koslots[k].bye())
                        ++(ko::obereHaelfte(k, c.size) ? upper : lower);
                EXPECT_LE(std::abs(upper - lower), 1)
                    << club.toStdString() << ": " << upper << " above, " << lower << " below";
                for (int k = 0; k < c.size; k += 2)
                    EXPECT_FALSE(page.koslots[k].club == club && page.koslots[k + 1].club == club &&
                                 !page.koslots[k].bye() && !page.koslots[k + 1].bye())
                        << club.toStdString() << " meets itself in slots " << k << " and " << k + 1;
            }
            if (HasFailure()) return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KoClubSeparation,
    ::testing::Values(
        // A seed of X on the top slot: the other members of X go below, above, below.
        ClubCase{"SeedOnTopSlotFullBracket", 8, {"X", "Y"}, {"X", "X", "X", "A", "B", "C"}, {"X"}},
        ClubCase{"SeedOnTopSlotWithByesBesideSeeds",
                 16,
                 {"X", "Y"},
                 {"X", "X", "X", "A", "A", "B", "B", "C", "D", "E", "F", "G"},
                 {"X", "A", "B"}},
        // No seeds, no byes: every club with several members is split.
        ClubCase{"ClubsOfFourThreeTwoTwo",
                 16,
                 {},
                 {"P", "P", "P", "P", "Q", "Q", "Q", "R", "R", "S", "S", "T", "U", "V", "W", "Z"},
                 {"P", "Q", "R", "S"}},
        ClubCase{"SeedsOfOneClubInBothHalves",
                 32,
                 {"X", "X", "Y", "Z"},
                 {"X", "X", "X", "X", "Y", "Y", "Y", "Z", "Z", "A", "A", "B", "B", "C",
                  "C", "D", "D", "E", "E", "F", "F", "G", "G", "H", "H", "I", "I", "J"},
                 {"X", "Y", "Z", "A"},
                 false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------------------
// Phases 2 and 3: the winners take the seeding slots, the other labels go to the other half than their
// group's winner.

// Qualifier labels of `groups` groups with `besten` direct qualifiers each and `extra` best-placed.
KoTeilnehmerliste labels(int groups, int besten, int extra = 0) {
    KoTeilnehmerliste list;
    for (int r = 1; r <= besten; ++r)
        for (int g = 0; g < groups; ++g) {
            const QString letter(QChar(u'A' + g));
            const QString rank = r == 1   ? QStringLiteral("Sieger Gruppe ")
                                 : r == 2 ? QStringLiteral("Zweiter Gruppe ")
                                 : r == 3 ? QStringLiteral("Dritter Gruppe ")
                                          : QStringLiteral("%1. Gruppe ").arg(r);
            list.append({rank + letter, 0, {}});
        }
    for (int k = 1; k <= extra; ++k)
        list.append({QStringLiteral("%1. Bestplatzierter %2. Platz").arg(k).arg(besten + 1), 0, {}});
    return list;
}

QStringList texts(const KoSlots& ks) {
    QStringList out;
    for (const koinfo& k : ks)
        out << k.text;
    return out;
}

// Lists compared as one readable text, so a failure shows the whole layout.
std::string joined(const QStringList& list) {
    return list.join(QStringLiteral(" | ")).toStdString();
}

struct LaterCase {
    const char* name;
    KoTeilnehmerliste list;
    bool zufaellig;
    QStringList layout; // mode 0
};

void PrintTo(const LaterCase& c, std::ostream* os) {
    *os << c.name;
}

class LaterPhaseLayout : public ::testing::TestWithParam<LaterCase> {};

TEST_P(LaterPhaseLayout, InOrderTheLayoutFollowsFromTheRules) {
    const LaterCase& c = GetParam();
    KoPhase page = kophaseladen(c.list);
    ASSERT_EQ(page.koslots.size(), c.layout.size());
    Random random(5);
    EXPECT_EQ(kolosenfest2(page, 0, daten(page.koslots.size(), c.zufaellig), random).status,
              KoErgebnis::Gelost);
    EXPECT_EQ(joined(texts(page.koslots)), joined(c.layout));
    EXPECT_TRUE(kogelost(page));
    for (const koinfo& k : page.koslots)
        EXPECT_EQ(k.id, k.bye() ? -2 : -1) << k.text.toStdString();
}

const QString F = QStringLiteral("Freilos");

INSTANTIATE_TEST_SUITE_P(
    Cases, LaterPhaseLayout,
    ::testing::Values(
        LaterCase{"FourGroupsTwoEach",
                  labels(4, 2),
                  false,
                  {"Sieger Gruppe A", "Zweiter Gruppe B", "Zweiter Gruppe C", "Sieger Gruppe D",
                   "Sieger Gruppe C", "Zweiter Gruppe A", "Zweiter Gruppe D", "Sieger Gruppe B"}},
        LaterCase{"ThreeGroupsByesBesideWinners",
                  labels(3, 2),
                  false,
                  {"Sieger Gruppe A", F, "Zweiter Gruppe B", "Zweiter Gruppe C", "Sieger Gruppe C",
                   "Zweiter Gruppe A", F, "Sieger Gruppe B"}},
        LaterCase{"ThreeGroupsByesDrawn",
                  labels(3, 2),
                  true,
                  {"Sieger Gruppe A", "Zweiter Gruppe B", "Zweiter Gruppe C", F, "Sieger Gruppe C",
                   "Zweiter Gruppe A", F, "Sieger Gruppe B"}},
        // The thirds follow their group's second into the other half.
        LaterCase{"FourGroupsThreeEach",
                  labels(4, 3),
                  false,
                  {"Sieger Gruppe A", F, "Zweiter Gruppe B", "Zweiter Gruppe C", "Dritter Gruppe A",
                   "Dritter Gruppe D", F, "Sieger Gruppe D", "Sieger Gruppe C", F, "Zweiter Gruppe A",
                   "Zweiter Gruppe D", "Dritter Gruppe B", "Dritter Gruppe C", F, "Sieger Gruppe B"}},
        // In a redraw the lines are players: a name beginning with "S" is no winner.
        LaterCase{
            "PlayersAreNoWinners",
            {{"Schmidt, Anna", 0, {}}, {"Meier, Max", 0, {}}, {"Sommer, Eva", 0, {}}, {"Wolf, Udo", 0, {}}},
            false,
            {"Schmidt, Anna", "Meier, Max", "Sommer, Eva", "Wolf, Udo"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KoLaterPhase, WinnersAreSeededInPlacingOrder) {
    for (int mode : {0, 1}) {
        KoPhase page = kophaseladen(labels(4, 2));
        Random random(2);
        kolosenfest2(page, mode, daten(8, false), random);
        QSet<int> order;
        for (const koinfo& k : page.koslots) {
            if (ko::istSieger(k.text))
                order.insert(k.seedNumber);
            else
                EXPECT_EQ(k.seedNumber, -1);
        }
        EXPECT_EQ(order, (QSet<int>{0, 1, 2, 3})) << "mode " << mode;
    }
}

struct SeparationCase {
    int groups;
    int besten;
};

class LaterPhaseSeparation : public ::testing::TestWithParam<SeparationCase> {};

TEST_P(LaterPhaseSeparation, EachGroupsLabelsSitInBothHalvesAndNeverMeet) {
    const int groups = GetParam().groups;
    const KoTeilnehmerliste list = labels(groups, GetParam().besten);
    const int size = ko::groesse(int(list.size()));
    for (int mode : {0, 1})
        for (int seed = 0; seed < 40; ++seed) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " seed " << seed);
            KoPhase page = kophaseladen(list);
            Random random(seed);
            kolosenfest3(page, mode, daten(size, false), random);
            for (int g = 0; g < groups; ++g) {
                const QChar letter(u'A' + g);
                int upper = 0, lower = 0;
                for (int k = 0; k < size; ++k)
                    if (!page.koslots[k].bye() && ko::herkunft(page.koslots[k].text) == letter)
                        ++(ko::obereHaelfte(k, size) ? upper : lower);
                EXPECT_LE(std::abs(upper - lower), 1) << "group " << QString(letter).toStdString();
            }
            for (int k = 0; k < size; k += 2)
                EXPECT_NE(ko::herkunft(page.koslots[k].text), ko::herkunft(page.koslots[k + 1].text))
                    << "slots " << k << " and " << k + 1;
            if (HasFailure()) return;
        }
}

INSTANTIATE_TEST_SUITE_P(Cases, LaterPhaseSeparation,
                         ::testing::Values(SeparationCase{4, 2}, SeparationCase{8, 2},
                                           SeparationCase{16, 2}));

// Every label placed once, byes never facing byes, over groups, qualifiers, best-placed and options.
TEST(KoLaterPhase, EveryLabelPlacedOnceAndByesNeverMeet) {
    for (int groups : {1, 2, 3, 4, 5, 6, 8, 12})
        for (int besten : {1, 2, 3, 4})
            for (int extra : {0, 1, 3}) {
                if (extra > groups) continue;
                const KoTeilnehmerliste list = labels(groups, besten, extra);
                const int size = ko::groesse(int(list.size()));
                QStringList expected;
                for (const KoTeilnehmer& t : list)
                    expected << t.text;
                expected.sort();
                for (int mode : {0, 1})
                    for (bool zufaellig : {false, true})
                        for (int seed = 0; seed < 5; ++seed) {
                            SCOPED_TRACE(testing::Message()
                                         << groups << " groups, " << besten << " direct, " << extra
                                         << " best-placed, mode " << mode << " random byes " << zufaellig
                                         << " seed " << seed);
                            KoPhase page = kophaseladen(list);
                            Random random(seed);
                            kolosenfest2(page, mode, daten(size, zufaellig), random);
                            QStringList placed;
                            for (const koinfo& k : page.koslots) {
                                EXPECT_FALSE(k.empty());
                                if (!k.bye()) placed << k.text;
                            }
                            placed.sort();
                            EXPECT_EQ(joined(placed), joined(expected));
                            EXPECT_EQ(byePairs(page.koslots), 0);
                            EXPECT_TRUE(page.teilnehmer.isEmpty());
                            // Winners the seeding table has room for sit on its slots.
                            const QVector<int>& table = setzplaetze(size);
                            for (int w = 0; w < std::min<int>(groups, int(table.size())); ++w)
                                EXPECT_TRUE(ko::istSieger(page.koslots[table[w] - 1].text))
                                    << "seed slot " << w;
                            if (HasFailure()) return;
                        }
            }
}

// ---------------------------------------------------------------------------------------------------------
// Placements by hand.

Myitem person(int id, const QString& text, int seedNumber = -1) {
    Myitem m;
    m.id = id;
    m.present = true;
    m.seedNumber = seedNumber;
    m.text = text;
    m.club = QStringLiteral("TTC");
    return m;
}

// A page of 4 slots: Meier unseeded on slot 0, a bye on slot 1, seed 2 on slot 3; Albers and Zander still
// in the list, seed 1 in the seed list.
KoPhase1 manualPage() {
    KoPhase1 page = kophase1({person(11, "Albers, Udo"), person(12, "Meier, Jan"), person(13, "Zander, Eva")},
                             {person(1, "Erster, Ede (1)", 1), person(2, "Zweiter, Zoe (2)", 2)});
    page.koslots.resize(4); // five entrants would need 8 slots: keep the page small
    EXPECT_TRUE(koablegen(page, 1, 0));
    page.koslots[1].id = -2;
    page.koslots[1].partnerId = -2;
    page.koslots[1].text = ko::kFreilos;
    EXPECT_TRUE(koablegenGesetzt(page, 1, 3));
    return page;
}

QStringList lineTexts(const QVector<Myitem>& lines, bool seedList) {
    QStringList out;
    for (int i = 0; i < lines.size(); ++i)
        out << (seedList ? ko::setzzeile(lines[i], i) : lines[i].text);
    return out;
}

struct ManualCase {
    const char* name;
    std::function<bool(KoPhase1&)> act;
    bool changed;
    QStringList bracket;
    QStringList ungesetzt;
    QStringList gesetzt;
    std::function<void(const KoPhase1&)> extra;
};

void PrintTo(const ManualCase& c, std::ostream* os) {
    *os << c.name;
}

class ManualPlacement : public ::testing::TestWithParam<ManualCase> {};

TEST_P(ManualPlacement, DropsFollowTheRules) {
    const ManualCase& c = GetParam();
    KoPhase1 page = manualPage();
    EXPECT_EQ(c.act(page), c.changed);
    EXPECT_EQ(joined(texts(page.koslots)), joined(c.bracket));
    EXPECT_EQ(joined(lineTexts(page.ungesetzt, false)), joined(c.ungesetzt));
    EXPECT_EQ(joined(lineTexts(page.gesetzt, true)), joined(c.gesetzt));
    if (c.extra) c.extra(page);
}

const QStringList kStartSlots{"Meier, Jan", F, "", "Zweiter, Zoe (2)"};
const QStringList kStartList{"Albers, Udo", "Zander, Eva"};
const QStringList kStartSeeds{"1. Erster, Ede (1)", "2."};

INSTANTIATE_TEST_SUITE_P(Cases, ManualPlacement,
                         ::testing::Values(ManualCase{"EntryOnEmptySlot",
                                                      [](KoPhase1& p) { return koablegen(p, 1, 2); },
                                                      true,
                                                      {"Meier, Jan", F, "Zander, Eva", "Zweiter, Zoe (2)"},
                                                      {"Albers, Udo"},
                                                      kStartSeeds,
                                                      [](const KoPhase1& p) {
                                                          EXPECT_EQ(p.koslots[2].id, 13);
                                                          EXPECT_EQ(p.koslots[2].seedNumber, -1);
                                                      }},
                                           ManualCase{"EntryOnBye",
                                                      [](KoPhase1& p) { return koablegen(p, 0, 1); },
                                                      true,
                                                      {"Meier, Jan", "Albers, Udo", "", "Zweiter, Zoe (2)"},
                                                      {"Zander, Eva"},
                                                      kStartSeeds,
                                                      {}},
                                           ManualCase{"EntryOnOccupiedSlotIgnored",
                                                      [](KoPhase1& p) { return koablegen(p, 0, 0); },
                                                      false,
                                                      kStartSlots,
                                                      kStartList,
                                                      kStartSeeds,
                                                      {}},
                                           ManualCase{"EntryOutsideTheBracketIgnored",
                                                      [](KoPhase1& p) { return koablegen(p, 0, 4); },
                                                      false,
                                                      kStartSlots,
                                                      kStartList,
                                                      kStartSeeds,
                                                      {}},
                                           ManualCase{
                                               "SeedOnEmptySlot",
                                               [](KoPhase1& p) { return koablegenGesetzt(p, 0, 2); },
                                               true,
                                               {"Meier, Jan", F, "Erster, Ede (1)", "Zweiter, Zoe (2)"},
                                               kStartList,
                                               {"1.", "2."},
                                               [](const KoPhase1& p) {
                                                   EXPECT_EQ(p.koslots[2].seedNumber, 1);
                                                   EXPECT_EQ(p.gesetzt[0].id, -1);
                                                   EXPECT_FALSE(kogelost(p))
                                                       << "the unseeded entries are still to place";
                                               }},
                                           ManualCase{"EmptySeedLineIgnored",
                                                      [](KoPhase1& p) { return koablegenGesetzt(p, 1, 2); },
                                                      false,
                                                      kStartSlots,
                                                      kStartList,
                                                      kStartSeeds,
                                                      {}},
                                           ManualCase{"UnseededSlotBackIntoTheSortedList",
                                                      [](KoPhase1& p) { return kozurueck(p, 0); },
                                                      true,
                                                      {"", F, "", "Zweiter, Zoe (2)"},
                                                      {"Albers, Udo", "Meier, Jan", "Zander, Eva"},
                                                      kStartSeeds,
                                                      [](const KoPhase1& p) {
                                                          EXPECT_EQ(p.koslots[0].id, -1);
                                                          EXPECT_EQ(p.ungesetzt[1].id, 12);
                                                      }},
                                           ManualCase{"ByeIsNotReturned",
                                                      [](KoPhase1& p) { return kozurueck(p, 1); },
                                                      true,
                                                      {"Meier, Jan", "", "", "Zweiter, Zoe (2)"},
                                                      kStartList,
                                                      kStartSeeds,
                                                      {}},
                                           ManualCase{"SeedSlotOnTheUnseededListIgnored",
                                                      [](KoPhase1& p) { return kozurueck(p, 3); },
                                                      false,
                                                      kStartSlots,
                                                      kStartList,
                                                      kStartSeeds,
                                                      {}},
                                           ManualCase{"SeedBackToItsOwnLine",
                                                      [](KoPhase1& p) { return kozurueckGesetzt(p, 3); },
                                                      true,
                                                      {"Meier, Jan", F, "", ""},
                                                      kStartList,
                                                      {"1. Erster, Ede (1)", "2. Zweiter, Zoe (2)"},
                                                      [](const KoPhase1& p) {
                                                          EXPECT_EQ(p.koslots[3].id, 0);
                                                          EXPECT_EQ(p.koslots[3].partnerId, 0);
                                                          EXPECT_EQ(p.gesetzt[1].id, 2);
                                                          EXPECT_EQ(p.gesetzt[1].seedNumber, 2);
                                                      }},
                                           ManualCase{"UnseededSlotOnTheSeedListIgnored",
                                                      [](KoPhase1& p) { return kozurueckGesetzt(p, 0); },
                                                      false,
                                                      kStartSlots,
                                                      kStartList,
                                                      kStartSeeds,
                                                      {}},
                                           ManualCase{"SlotsChangePlaces",
                                                      [](KoPhase1& p) { return kotauschen(p.koslots, 0, 3); },
                                                      true,
                                                      {"Zweiter, Zoe (2)", F, "", "Meier, Jan"},
                                                      kStartList,
                                                      kStartSeeds,
                                                      [](const KoPhase1& p) {
                                                          EXPECT_EQ(p.koslots[0].seedNumber, 2);
                                                          EXPECT_EQ(p.koslots[3].id, 12);
                                                      }},
                                           ManualCase{"SwapWithItselfIgnored",
                                                      [](KoPhase1& p) { return kotauschen(p.koslots, 2, 2); },
                                                      false,
                                                      kStartSlots,
                                                      kStartList,
                                                      kStartSeeds,
                                                      {}},
                                           ManualCase{"AllesLoeschenRestoresTheListsAsLoaded",
                                                      [](KoPhase1& p) {
                                                          koallesloeschen(p);
                                                          return true;
                                                      },
                                                      true,
                                                      {"", "", "", ""},
                                                      {"Albers, Udo", "Meier, Jan", "Zander, Eva"},
                                                      {"1. Erster, Ede (1)", "2. Zweiter, Zoe (2)"},
                                                      [](const KoPhase1& p) {
                                                          for (const koinfo& k : p.koslots) {
                                                              EXPECT_EQ(k.id, -1);
                                                              EXPECT_EQ(k.seedNumber, -1);
                                                              EXPECT_TRUE(k.club.isEmpty());
                                                          }
                                                      }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(KoManual, LaterPhaseLinesGoOnFreeSlotsAndComeBack) {
    KoPhase page = kophaseladen(labels(2, 2));
    page.teilnehmer[2].marker = 2;
    EXPECT_TRUE(koablegen(page, 2, 1)); // "Zweiter Gruppe A"
    EXPECT_EQ(page.koslots[1].text.toStdString(), "Zweiter Gruppe A");
    EXPECT_EQ(page.koslots[1].id, -1);
    EXPECT_EQ(page.koslots[1].seedNumber, 2);
    EXPECT_FALSE(koablegen(page, 0, 1)) << "occupied";
    EXPECT_EQ(page.teilnehmer.size(), 3);

    page.koslots[0].id = -2;
    page.koslots[0].text = ko::kFreilos;
    EXPECT_TRUE(kozurueck(page, 0)) << "a bye leaves the slot";
    EXPECT_EQ(page.teilnehmer.size(), 3) << "and is not listed";
    EXPECT_TRUE(kozurueck(page, 1));
    EXPECT_EQ(page.teilnehmer.last().text.toStdString(), "Zweiter Gruppe A");
    EXPECT_TRUE(page.koslots[1].empty());
    EXPECT_FALSE(kozurueck(page, 1)) << "nothing left to return";

    Random random(4);
    kolosenfest2(page, 0, daten(4, false), random);
    koallesloeschen(page);
    EXPECT_EQ(page.teilnehmer.size(), 4);
    for (const koinfo& k : page.koslots)
        EXPECT_TRUE(k.empty());
}

// Entries placed by hand stay, unless a seed's slot needs the place: then they are drawn again.
TEST(KoManual, HandPlacementsSurviveTheDraw) {
    const Field f = field(5, 3); // 8 slots; the table's first slots are 0, 7, 4
    for (Draw draw : kDraws)
        for (int seed = 0; seed < 20; ++seed) {
            SCOPED_TRACE(testing::Message() << name(draw) << " seed " << seed);
            KoPhase1 page = kophase1(f.ungesetzt, f.gesetzt);
            ASSERT_TRUE(koablegen(page, 0, 0));        // 1001 on seed 1's slot
            ASSERT_TRUE(koablegen(page, 0, 2));        // 1002 on a slot no seed needs
            ASSERT_TRUE(koablegenGesetzt(page, 1, 5)); // seed 2 by hand on slot 5
            Random random(seed);
            EXPECT_EQ(run(draw, page, 0, daten(8, false, clubsOf(f)), random).status, KoErgebnis::Gelost);
            expectDrawn(page, f);
            EXPECT_EQ(page.koslots[0].id, 1);
            EXPECT_EQ(page.koslots[2].id, 1002);
            EXPECT_EQ(page.koslots[5].id, 2);
            // Seed 2 is placed already: seed 3 is the next one and takes the next slot of the table.
            EXPECT_EQ(page.koslots[7].id, 3);
        }
}

} // namespace

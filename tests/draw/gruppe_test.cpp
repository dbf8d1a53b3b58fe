#include "draw/gruppe.h"

#include "draw/gruppe_fixture.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <array>
#include <functional>

using namespace gruppedaten;

namespace {

using Counts = std::array<int, 5>; // system, groups, places, direct, best-placed

Counts counts(const Tgruppe& g, int n) {
    const Tgruppe::Phase& p = g.phase(n);
    return {p.system, p.gruppenanzahl, p.teilnehmer, p.besten, p.bestplazierten};
}

// Three group phases: 4 groups of 4 with 2 direct qualifiers, then 2 groups of 4 with 2 direct, then
// one group of 4.
void dreiPhasen(Tgruppe& g) {
    g.setGruppenanzahl(1, 4);
    g.setTeilnehmer(1, 4);
    g.setBesten(1, 2);
    g.setGruppenanzahl(2, 2);
    g.setTeilnehmer(2, 4);
    g.setBesten(2, 2);
    g.setGruppenanzahl(3, 1);
    g.setTeilnehmer(3, 4);
}

// ---------------------------------------------------------------------------------------------------------
// The spin-edit caps and the show/hide rules of the phase panels. They touch no database.

struct RuleCase {
    const char* name;
    std::function<void(Tgruppe&)> act;
    std::array<Counts, 3> phases;
    std::array<bool, 3> panels;        // phase panels shown
    std::array<bool, 3> groupSettings; // group counts shown
};

void PrintTo(const RuleCase& c, std::ostream* os) {
    *os << c.name;
}

class PhaseRules : public ::testing::TestWithParam<RuleCase> {};

TEST_P(PhaseRules, CapsAndPanelsFollowTheRules) {
    Tdb_procedures db; // never reached: the rules work on the settings alone
    ScriptedInteraction ui;
    Tgruppe g(db, ui);
    GetParam().act(g);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(counts(g, n), GetParam().phases[n - 1]) << "phase " << n;
        EXPECT_EQ(g.phaseVisible(n), GetParam().panels[n - 1]) << "panel of phase " << n;
        EXPECT_EQ(g.groupSettingsVisible(n), GetParam().groupSettings[n - 1]) << "counts of phase " << n;
    }
    EXPECT_TRUE(ui.messages.isEmpty());
}

const bool T = true;
const bool F = false;

INSTANTIATE_TEST_SUITE_P(
    Cases, PhaseRules,
    ::testing::Values(
        RuleCase{"PlacesAreCappedAt13",
                 [](Tgruppe& g) {
                     for (int n = 1; n <= 3; ++n)
                         g.setTeilnehmer(n, 14);
                 },
                 {Counts{0, 0, 13, 0, 0}, Counts{0, 0, 13, 0, 0}, Counts{0, 0, 13, 0, 0}},
                 {T, F, F},
                 {T, T, T}},
        RuleCase{"NegativeCountsBecomeZero",
                 [](Tgruppe& g) {
                     g.setGruppenanzahl(1, -3);
                     g.setTeilnehmer(2, -1);
                     g.setBesten(3, -2);
                     g.setBestplazierten(1, -5);
                 },
                 {Counts{0, 0, 0, 0, 0}, Counts{0, 0, 0, 0, 0}, Counts{0, 0, 0, 0, 0}},
                 {T, F, F},
                 {T, T, T}},
        RuleCase{"DirectQualifiersAreCappedAtThePlaces",
                 [](Tgruppe& g) {
                     g.setTeilnehmer(1, 4);
                     g.setBesten(1, 6);
                     g.setTeilnehmer(3, 3);
                     g.setBesten(3, 5);
                 },
                 {Counts{0, 0, 4, 4, 0}, Counts{0, 0, 0, 0, 0}, Counts{0, 0, 3, 3, 0}},
                 {T, T, F},
                 {T, T, T}},
        RuleCase{"LoweringThePlacesLowersTheDirectQualifiers",
                 [](Tgruppe& g) {
                     g.setTeilnehmer(1, 4);
                     g.setBesten(1, 3);
                     g.setTeilnehmer(1, 2);
                 },
                 {Counts{0, 0, 2, 2, 0}, Counts{0, 0, 0, 0, 0}, Counts{0, 0, 0, 0, 0}},
                 {T, T, F},
                 {T, T, T}},
        RuleCase{"PlacesDownToZeroTakeTheNextPhaseAway",
                 [](Tgruppe& g) {
                     g.setTeilnehmer(1, 4);
                     g.setBesten(1, 2);
                     g.setTeilnehmer(1, 0);
                 },
                 {Counts{0, 0, 0, 0, 0}, Counts{0, 0, 0, 0, 0}, Counts{0, 0, 0, 0, 0}},
                 {T, F, F},
                 {T, T, T}},
        RuleCase{"BestPlacedAreCappedAtTheGroups",
                 [](Tgruppe& g) {
                     g.setGruppenanzahl(1, 2);
                     g.setBestplazierten(1, 5);
                     g.setGruppenanzahl(3, 1);
                     g.setBestplazierten(3, 4);
                 },
                 {Counts{0, 2, 0, 0, 2}, Counts{0, 0, 0, 0, 0}, Counts{0, 1, 0, 0, 1}},
                 {T, T, F},
                 {T, T, T}},
        RuleCase{"FewerGroupsLowerTheBestPlaced",
                 [](Tgruppe& g) {
                     g.setGruppenanzahl(1, 3);
                     g.setBestplazierten(1, 3);
                     g.setGruppenanzahl(1, 1);
                 },
                 {Counts{0, 1, 0, 0, 1}, Counts{0, 0, 0, 0, 0}, Counts{0, 0, 0, 0, 0}},
                 {T, T, F},
                 {T, T, T}},
        RuleCase{"NoGroupsLeaveNoBestPlacedAndNoPhase2",
                 [](Tgruppe& g) {
                     g.setGruppenanzahl(1, 2);
                     g.setBestplazierten(1, 1);
                     g.setGruppenanzahl(1, 0);
                 },
                 {Counts{0, 0, 0, 0, 0}, Counts{0, 0, 0, 0, 0}, Counts{0, 0, 0, 0, 0}},
                 {T, F, F},
                 {T, T, T}},
        RuleCase{"BestPlacedKeepPhase2WhenTheDirectQualifiersGoBackToZero",
                 [](Tgruppe& g) {
                     g.setGruppenanzahl(1, 2);
                     g.setTeilnehmer(1, 4);
                     g.setBesten(1, 2);
                     g.setBestplazierten(1, 1);
                     g.setBesten(1, 0);
                 },
                 {Counts{0, 2, 4, 0, 1}, Counts{0, 0, 0, 0, 0}, Counts{0, 0, 0, 0, 0}},
                 {T, T, F},
                 {T, T, T}},
        RuleCase{"DirectQualifiersKeepPhase2WhenTheBestPlacedGoBackToZero",
                 [](Tgruppe& g) {
                     g.setGruppenanzahl(1, 2);
                     g.setTeilnehmer(1, 4);
                     g.setBesten(1, 2);
                     g.setBestplazierten(1, 1);
                     g.setBestplazierten(1, 0);
                 },
                 {Counts{0, 2, 4, 2, 0}, Counts{0, 0, 0, 0, 0}, Counts{0, 0, 0, 0, 0}},
                 {T, T, F},
                 {T, T, T}},
        RuleCase{"Phase2QualifiersOpenPhase3",
                 [](Tgruppe& g) {
                     g.setTeilnehmer(1, 4);
                     g.setBesten(1, 2);
                     g.setGruppenanzahl(2, 2);
                     g.setBestplazierten(2, 1);
                 },
                 {Counts{0, 0, 4, 2, 0}, Counts{0, 2, 0, 0, 1}, Counts{0, 0, 0, 0, 0}},
                 {T, T, T},
                 {T, T, T}},
        RuleCase{"Phase2WithoutQualifiersClosesPhase3",
                 [](Tgruppe& g) {
                     dreiPhasen(g);
                     g.setBesten(2, 0);
                 },
                 {Counts{0, 4, 4, 2, 0}, Counts{0, 2, 4, 0, 0}, Counts{0, 1, 4, 0, 0}},
                 {T, T, F},
                 {T, T, T}},
        RuleCase{"Phase3QualifiersOpenNoFurtherPhase",
                 [](Tgruppe& g) {
                     dreiPhasen(g);
                     g.setBesten(3, 2);
                     g.setBestplazierten(3, 1);
                 },
                 {Counts{0, 4, 4, 2, 0}, Counts{0, 2, 4, 2, 0}, Counts{0, 1, 4, 2, 1}},
                 {T, T, T},
                 {T, T, T}},
        RuleCase{"KnockOutPhase1HidesPhases2And3AndZeroesEveryCount",
                 [](Tgruppe& g) {
                     dreiPhasen(g);
                     g.setSpielsystem(3, Tgruppe::DoppeltesKO);
                     g.setSpielsystem(1, Tgruppe::EinfachesKO);
                 },
                 {Counts{1, 0, 0, 0, 0}, Counts{0, 0, 0, 0, 0}, Counts{0, 0, 0, 0, 0}},
                 {T, F, F},
                 {F, T, T}},
        RuleCase{"GroupPhase1AfterKnockOutShowsItsCountsAlone",
                 [](Tgruppe& g) {
                     dreiPhasen(g);
                     g.setSpielsystem(1, Tgruppe::DoppeltesKO);
                     g.setSpielsystem(1, Tgruppe::Gruppenphase);
                 },
                 {Counts{0, 0, 0, 0, 0}, Counts{0, 0, 0, 0, 0}, Counts{0, 0, 0, 0, 0}},
                 {T, F, F},
                 {T, T, T}},
        RuleCase{"GroupPhase1WithBothQualifierKindsShowsPhases2And3",
                 [](Tgruppe& g) {
                     g.setGruppenanzahl(1, 2);
                     g.setTeilnehmer(1, 4);
                     g.setBesten(1, 2);
                     g.setBestplazierten(1, 1);
                     g.setSpielsystem(1, Tgruppe::Gruppenphase);
                 },
                 {Counts{0, 2, 4, 2, 1}, Counts{0, 0, 0, 0, 0}, Counts{0, 0, 0, 0, 0}},
                 {T, T, T},
                 {T, T, T}},
        RuleCase{"KnockOutPhase2HidesPhase3AndZeroesPhases2And3Only",
                 [](Tgruppe& g) {
                     dreiPhasen(g);
                     g.setSpielsystem(3, Tgruppe::EinfachesKO);
                     g.setSpielsystem(2, Tgruppe::DoppeltesKO);
                 },
                 {Counts{0, 4, 4, 2, 0}, Counts{2, 0, 0, 0, 0}, Counts{0, 0, 0, 0, 0}},
                 {T, T, F},
                 {T, F, T}},
        RuleCase{"GroupPhase2AfterKnockOutShowsItsCountsAgain",
                 [](Tgruppe& g) {
                     dreiPhasen(g);
                     g.setSpielsystem(2, Tgruppe::EinfachesKO);
                     g.setSpielsystem(2, Tgruppe::Gruppenphase);
                 },
                 {Counts{0, 4, 4, 2, 0}, Counts{0, 0, 0, 0, 0}, Counts{0, 0, 0, 0, 0}},
                 {T, T, F},
                 {T, T, T}},
        RuleCase{"KnockOutPhase3ZeroesItsOwnCounts",
                 [](Tgruppe& g) {
                     dreiPhasen(g);
                     g.setBesten(3, 1);
                     g.setSpielsystem(3, Tgruppe::EinfachesKO);
                 },
                 {Counts{0, 4, 4, 2, 0}, Counts{0, 2, 4, 2, 0}, Counts{1, 0, 0, 0, 0}},
                 {T, T, T},
                 {T, T, F}},
        // Phase 3 can only follow phase 2: taking phase 2 away takes phase 3 with it, and bringing it
        // back brings phase 3 back as it was.
        RuleCase{"Phase3GoesAndComesWithPhase2",
                 [](Tgruppe& g) {
                     dreiPhasen(g);
                     g.setBesten(1, 0);
                 },
                 {Counts{0, 4, 4, 0, 0}, Counts{0, 2, 4, 2, 0}, Counts{0, 1, 4, 0, 0}},
                 {T, F, F},
                 {T, T, T}},
        RuleCase{"Phase3ComesBackWithPhase2",
                 [](Tgruppe& g) {
                     dreiPhasen(g);
                     g.setBesten(1, 0);
                     g.setBesten(1, 1);
                 },
                 {Counts{0, 4, 4, 1, 0}, Counts{0, 2, 4, 2, 0}, Counts{0, 1, 4, 0, 0}},
                 {T, T, T},
                 {T, T, T}}),
    [](const ::testing::TestParamInfo<RuleCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------------------
// Database cases, once per engine.

class GruppeTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        addClass(db(), 10, 0, QStringLiteral("Herren"));
        addClass(db(), 11, 1, QStringLiteral("Herren"));
        addClass(db(), 12, 2, QStringLiteral("Gemischt"));
        addClass(db(), 13, 3, QStringLiteral("Vereine"));
        addClass(db(), 14, 0, QStringLiteral("Damen"));
        gruppe = std::make_unique<Tgruppe>(db(), ui);
    }

    // n players entered in the singles class 10, ids 101 on.
    void singles(int n) {
        Transaction t(db());
        for (int i = 0; i < n; ++i) {
            addPlayer(db(), 101 + i, QStringLiteral("Spieler%1").arg(i, 4, 10, QChar(u'0')),
                      QStringLiteral("Max"));
            enter(db(), 10, 101 + i);
        }
        t.commit();
    }

    QStringList texts(const QVector<Myitem>& items) const {
        QStringList out;
        for (const Myitem& i : items)
            out << i.text;
        return out;
    }

    // Every settings and seed row of the class, to compare states.
    QStringList snapshot(int kid) {
        QStringList out;
        for (const Row& r :
             db().select(QStringLiteral("SELECT * FROM Gruppeneinstellungen WHERE KID=:k"), {{":k", kid}})) {
            QStringList cells;
            for (int i = 0; i < r.columnCount(); ++i)
                cells << (r.at(i).isNull() ? QStringLiteral("NULL") : r.at(i).toString());
            out << cells.join(u'|');
        }
        for (const Row& r : db().select(
                 QStringLiteral("SELECT * FROM Gesetzt WHERE KID=:k ORDER BY position"), {{":k", kid}}))
            out << QStringLiteral("G %1 %2 %3 %4")
                       .arg(r.integer(u"KID"))
                       .arg(r.integer(u"position"))
                       .arg(r.integer(u"SID"))
                       .arg(r.integer(u"partner_SID"));
        return out;
    }

    QList<QPair<int, QVariant>> partnerRows(int kid) {
        QList<QPair<int, QVariant>> out;
        for (const Row& r : db().select(
                 QStringLiteral("SELECT SID, partner_SID FROM Doppelpartner WHERE KID=:k ORDER BY SID"),
                 {{":k", kid}}))
            out << qMakePair(r.integer(u"SID"),
                             r.isNull(u"partner_SID") ? QVariant() : QVariant(r.integer(u"partner_SID")));
        return out;
    }

    int entryIndex(const QString& text) const {
        for (int i = 0; i < gruppe->entries().size(); ++i)
            if (gruppe->entries()[i].text == text) return i;
        ADD_FAILURE() << "no entry " << text.toStdString();
        return -1;
    }
    int ohneIndex(const QString& text) const {
        for (int i = 0; i < gruppe->ohnepartner().size(); ++i)
            if (gruppe->ohnepartner()[i].text == text) return i;
        ADD_FAILURE() << "no player without partner " << text.toStdString();
        return -1;
    }

    ScriptedInteraction ui;
    std::unique_ptr<Tgruppe> gruppe;
};

TEST_P(GruppeTest, AClassWithoutSettingsOpensWithOneGroupPhaseAndNothingCounted) {
    singles(3);
    gruppe->laden(10, Tgruppe::Einzel);
    EXPECT_EQ(counts(*gruppe, 1), (Counts{0, 0, 0, 0, 0}));
    EXPECT_EQ(counts(*gruppe, 2), (Counts{0, 0, 0, 0, 0}));
    EXPECT_EQ(counts(*gruppe, 3), (Counts{0, 0, 0, 0, 0}));
    EXPECT_TRUE(gruppe->phaseVisible(1));
    EXPECT_FALSE(gruppe->phaseVisible(2));
    EXPECT_FALSE(gruppe->phaseVisible(3));
    EXPECT_EQ(gruppe->gesetzt(), 0);
    EXPECT_TRUE(gruppe->seeds().isEmpty());
    EXPECT_EQ(gruppe->entries().size(), 3);
    EXPECT_EQ(gruppe->anzahlText(), QStringLiteral("3"));
}

TEST_P(GruppeTest, OpeningAnotherClassKeepsNothingOfTheClassBefore) {
    singles(4);
    storeSettings(db(), 10, {0, 0, 1, 2, 2, 1, 4, 4, 4, 2, 2, 0, 0, 0, 0, 2});
    // Class 14's row names no phase 2 or 3: their counts must not be those of class 10.
    storeSettings(db(), 14,
                  {1, QVariant(), QVariant(), 0, QVariant(), QVariant(), 0, QVariant(), QVariant(), 0,
                   QVariant(), QVariant(), 0, QVariant(), QVariant(), 0});
    gruppe->laden(10, Tgruppe::Einzel);
    ASSERT_EQ(counts(*gruppe, 2), (Counts{0, 2, 4, 2, 0}));
    ASSERT_EQ(gruppe->seeds().size(), 2);

    gruppe->laden(14, Tgruppe::Einzel);
    EXPECT_EQ(counts(*gruppe, 1), (Counts{1, 0, 0, 0, 0}));
    EXPECT_EQ(counts(*gruppe, 2), (Counts{0, 0, 0, 0, 0}));
    EXPECT_EQ(counts(*gruppe, 3), (Counts{0, 0, 0, 0, 0}));
    EXPECT_FALSE(gruppe->phaseVisible(2));
    EXPECT_FALSE(gruppe->groupSettingsVisible(1));
    EXPECT_TRUE(gruppe->seeds().isEmpty());
    EXPECT_TRUE(gruppe->entries().isEmpty());
}

// The entry and seed lists of each kind, as read from the database.
struct ListCase {
    const char* name;
    int kid;
    int kind;
    std::function<void(Tdb_procedures&)> data;
    QStringList entries;
    QList<std::array<int, 2>> entryIds; // id, partner id
    QList<bool> present;
    QStringList ohnepartner;
    QStringList seeds;
};

class GruppeLists : public GruppeTest {};

TEST_P(GruppeLists, EveryKindListsItsEntriesAndSeeds) {
    const ListCase cases[] = {
        {"singles",
         10,
         Tgruppe::Einzel,
         [](Tdb_procedures& db) {
             addPlayer(db, 1, QStringLiteral("Zander"), QStringLiteral("Uwe"), true);
             addPlayer(db, 2, QStringLiteral("Öztürk"), QStringLiteral("Ali"));
             addPlayer(db, 3, QStringLiteral("abel"), QStringLiteral("Tom"), true);
             addPlayer(db, 4, QStringLiteral("Nicht"), QStringLiteral("Gemeldet"));
             for (int s : {1, 2, 3})
                 enter(db, 10, s);
             enter(db, 14, 4);
             storeSettings(db, 10, {0, QVariant(), QVariant(), 1, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 3});
             // Slot 0 names a player who left the class, slot 1 is empty, slot 2 holds Zander.
             db.exec(QStringLiteral("INSERT INTO Gesetzt VALUES (10,0,4,0),(10,1,-1,-1),(10,2,1,0)"));
         },
         {"abel, Tom", "Öztürk, Ali", "Zander, Uwe"},
         {{3, 0}, {2, 0}, {1, 0}},
         {true, false, true},
         {},
         {"1. ", "2. ", "3. Zander, Uwe"}},
        {"doubles",
         11,
         Tgruppe::Doppel,
         [](Tdb_procedures& db) {
             addPlayer(db, 11, QStringLiteral("Meier"), QStringLiteral("Hans"), true);
             addPlayer(db, 12, QStringLiteral("Schulz"), QStringLiteral("Erik"), true);
             addPlayer(db, 13, QStringLiteral("Bauer"), QStringLiteral("Jan"), true);
             addPlayer(db, 14, QStringLiteral("Vogel"), QStringLiteral("Paul"));
             addPlayer(db, 15, QStringLiteral("Kurz"), QStringLiteral("Olaf"), true);
             pair(db, 11, 11, 12);
             pair(db, 11, 13, 14);
             doppel(db, 11, 15);
             storeSettings(db, 11, {0, QVariant(), QVariant(), 1, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 2});
             // Seeded as (partner, player): the pair is found whichever player comes first.
             db.exec(QStringLiteral("INSERT INTO Gesetzt VALUES (11,1,12,11)"));
         },
         {"Bauer, J. / Vogel, P", "Kurz, O. / ", "Meier, H. / Schulz, E"},
         {{13, 14}, {15, -1}, {11, 12}},
         {false, true, true},
         {"Kurz, Olaf"},
         {"1. ", "2. Schulz, E. / Meier, H"}},
        {"teams",
         13,
         Tgruppe::Team,
         [](Tdb_procedures& db) {
             addTeam(db, 13, 7, QStringLiteral("TTC Nord"), true);
             addTeam(db, 13, 8, QStringLiteral("SV Süd"));
             addTeam(db, 12, 9, QStringLiteral("Andere Klasse"));
             storeSettings(db, 13, {1, QVariant(), QVariant(), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
             db.exec(QStringLiteral("INSERT INTO Gesetzt VALUES (13,0,7,0)"));
         },
         {"SV Süd", "TTC Nord"},
         {{8, 0}, {7, 0}},
         {false, true},
         {},
         {"1. TTC Nord"}},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.data(db());
        gruppe->laden(c.kid, c.kind);
        EXPECT_EQ(texts(gruppe->entries()), c.entries);
        QList<std::array<int, 2>> ids;
        QList<bool> present;
        for (const Myitem& e : gruppe->entries()) {
            ids << std::array<int, 2>{e.id, e.partnerId};
            present << e.present;
            EXPECT_EQ(e.seedNumber, -1);
        }
        EXPECT_EQ(ids, c.entryIds);
        EXPECT_EQ(present, c.present);
        EXPECT_EQ(texts(gruppe->ohnepartner()), c.ohnepartner);
        EXPECT_EQ(gruppe->doublesVisible(), c.kind == Tgruppe::Doppel);
        EXPECT_EQ(texts(gruppe->seeds()), c.seeds);
        for (int i = 0; i < gruppe->seeds().size(); ++i)
            EXPECT_EQ(gruppe->seeds()[i].seedNumber, i + 1);
        EXPECT_EQ(gruppe->anzahlText(), QString::number(c.entries.size()));
    }
}

// Settings and seeds of each kind are stored and read back unchanged; empty seed slots come back empty.
struct RoundTripCase {
    const char* name;
    int kid;
    int kind;
    std::function<void(Tdb_procedures&)> data;
    QStringList seedEntries; // entry lines seeded into slots 0 and 2; slot 1 stays empty
    QStringList seedTexts;
    QList<std::array<int, 2>> seedIds;
};

class GruppeRoundTrip : public GruppeTest {};

TEST_P(GruppeRoundTrip, SettingsAndSeedsComeBackUnchanged) {
    const RoundTripCase cases[] = {
        {"singles",
         10,
         Tgruppe::Einzel,
         [](Tdb_procedures& db) {
             for (int s = 1; s <= 6; ++s) {
                 addPlayer(db, s, QStringLiteral("Spieler%1").arg(s), QStringLiteral("Vorname"));
                 enter(db, 10, s);
             }
         },
         {"Spieler4, Vorname", "Spieler2, Vorname"},
         {"1. Spieler4, Vorname", "2. ", "3. Spieler2, Vorname"},
         {{4, 0}, {0, 0}, {2, 0}}},
        {"doubles",
         11,
         Tgruppe::Doppel,
         [](Tdb_procedures& db) {
             for (int s = 11; s <= 20; ++s)
                 addPlayer(db, s, QStringLiteral("Spieler%1").arg(s), QStringLiteral("Vorname"));
             for (int s = 11; s <= 20; s += 2)
                 pair(db, 11, s, s + 1);
         },
         {"Spieler15, V. / Spieler16, V", "Spieler11, V. / Spieler12, V"},
         {"1. Spieler15, V. / Spieler16, V", "2. ", "3. Spieler11, V. / Spieler12, V"},
         {{15, 16}, {0, 0}, {11, 12}}},
        {"teams",
         13,
         Tgruppe::Team,
         [](Tdb_procedures& db) {
             for (int m = 1; m <= 5; ++m)
                 addTeam(db, 13, 20 + m, QStringLiteral("Team %1").arg(m));
         },
         {"Team 3", "Team 5"},
         {"1. Team 3", "2. ", "3. Team 5"},
         {{23, 0}, {0, 0}, {25, 0}}},
    };
    for (const RoundTripCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.data(db());
        gruppe->laden(c.kid, c.kind);
        dreiPhasen(*gruppe);
        gruppe->setBestplazierten(2, 1);
        gruppe->setBesten(3, 1);
        gruppe->setGesetzt(3);
        ASSERT_TRUE(gruppe->setzen(entryIndex(c.seedEntries[0]), 0));
        ASSERT_TRUE(gruppe->setzen(entryIndex(c.seedEntries[1]), 2));
        gruppe->systemspeichern(c.kid);

        const Row r = db().selectOne(QStringLiteral("SELECT * FROM Gruppeneinstellungen WHERE KID=:k"),
                                     {{":k", c.kid}});
        const char* columns[] = {"phase1",          "phase2",          "phase3",          "gruppenanzahl1",
                                 "gruppenanzahl2",  "gruppenanzahl3",  "teilnehmer1",     "teilnehmer2",
                                 "teilnehmer3",     "besten1",         "besten2",         "besten3",
                                 "bestplazierten1", "bestplazierten2", "bestplazierten3", "gesetzt"};
        const int expected[] = {0, 0, 0, 4, 2, 1, 4, 4, 4, 2, 2, 1, 0, 1, 0, 3};
        for (int i = 0; i < 16; ++i) {
            EXPECT_FALSE(r.isNull(QString::fromLatin1(columns[i]))) << columns[i];
            EXPECT_EQ(r.integer(QString::fromLatin1(columns[i])), expected[i]) << columns[i];
        }
        EXPECT_EQ(r.text(u"plattenbez"), QStringLiteral("Platte"));
        QList<std::array<int, 2>> stored;
        for (const Row& g : db().select(
                 QStringLiteral("SELECT * FROM Gesetzt WHERE KID=:k ORDER BY position"), {{":k", c.kid}}))
            stored << std::array<int, 2>{g.integer(u"SID"), g.integer(u"partner_SID")};
        EXPECT_EQ(stored, c.seedIds);

        Tgruppe again(db(), ui);
        again.laden(c.kid, c.kind);
        for (int n = 1; n <= 3; ++n) {
            EXPECT_EQ(counts(again, n), counts(*gruppe, n)) << "phase " << n;
            EXPECT_EQ(again.phaseVisible(n), gruppe->phaseVisible(n)) << "phase " << n;
        }
        EXPECT_EQ(again.gesetzt(), 3);
        EXPECT_EQ(texts(again.seeds()), c.seedTexts);
        QList<std::array<int, 2>> ids;
        for (const Myitem& s : again.seeds())
            ids << std::array<int, 2>{s.id, s.partnerId};
        EXPECT_EQ(ids, c.seedIds);
        EXPECT_EQ(texts(again.entries()), texts(gruppe->entries()));
    }
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_P(GruppeTest, HiddenPhasesAreStoredAsNullAndKnockOutCountsAsZero) {
    singles(8);
    gruppe->laden(10, Tgruppe::Einzel);
    dreiPhasen(*gruppe);
    gruppe->setSpielsystem(1, Tgruppe::EinfachesKO);
    gruppe->systemspeichern(10);
    Row r = db().selectOne(QStringLiteral("SELECT * FROM Gruppeneinstellungen WHERE KID=10"));
    EXPECT_EQ(r.integer(u"phase1"), 1);
    for (const char* column : {"phase2", "phase3", "gruppenanzahl2", "gruppenanzahl3", "teilnehmer2",
                               "teilnehmer3", "besten2", "besten3", "bestplazierten2", "bestplazierten3"})
        EXPECT_TRUE(r.isNull(QString::fromLatin1(column))) << column;
    for (const char* column : {"gruppenanzahl1", "teilnehmer1", "besten1", "bestplazierten1"}) {
        EXPECT_FALSE(r.isNull(QString::fromLatin1(column))) << column;
        EXPECT_EQ(r.integer(QString::fromLatin1(column)), 0) << column;
    }

    // A knock-out phase 2 read with counts stores them as 0, while phase 1 keeps its own.
    db().exec(QStringLiteral("DELETE FROM Gruppeneinstellungen WHERE KID=10"));
    storeSettings(
        db(), 10,
        {0, 2, QVariant(), 4, 3, QVariant(), 4, 4, QVariant(), 1, 2, QVariant(), 1, 1, QVariant(), 0});
    gruppe->laden(10, Tgruppe::Einzel);
    gruppe->systemspeichern(10);
    r = db().selectOne(QStringLiteral("SELECT * FROM Gruppeneinstellungen WHERE KID=10"));
    EXPECT_EQ(r.integer(u"phase2"), 2);
    EXPECT_EQ(r.integer(u"gruppenanzahl1"), 4);
    EXPECT_EQ(r.integer(u"bestplazierten1"), 1);
    for (const char* column : {"gruppenanzahl2", "teilnehmer2", "besten2", "bestplazierten2"}) {
        EXPECT_FALSE(r.isNull(QString::fromLatin1(column))) << column;
        EXPECT_EQ(r.integer(QString::fromLatin1(column)), 0) << column;
    }
    EXPECT_TRUE(r.isNull(u"phase3"));
}

TEST_P(GruppeTest, TheSeedCountStaysWithinHalfTheEntriesRoundedUp) {
    const struct {
        int entries;
        int wanted;
        int gesetzt;
    } cases[] = {{7, 5, 4}, {8, 5, 4}, {8, 4, 4}, {1, 2, 1}, {0, 1, 0}, {3, -1, 0}};
    int kid = 100;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.entries << " entries, " << c.wanted << " wanted");
        ++kid;
        addClass(db(), kid, 0, QStringLiteral("Klasse %1").arg(kid));
        for (int i = 0; i < c.entries; ++i) {
            addPlayer(db(), kid * 100 + i, QStringLiteral("N"), QStringLiteral("V"));
            enter(db(), kid, kid * 100 + i);
        }
        gruppe->laden(kid, Tgruppe::Einzel);
        gruppe->setGesetzt(c.wanted);
        EXPECT_EQ(gruppe->gesetzt(), c.gesetzt);
        EXPECT_EQ(gruppe->seeds().size(), c.gesetzt);
    }
}

TEST_P(GruppeTest, TheSeedListGrowsAndShrinksAtItsEnd) {
    singles(6);
    gruppe->laden(10, Tgruppe::Einzel);
    gruppe->setGesetzt(1);
    gruppe->setGesetzt(2);
    EXPECT_EQ(texts(gruppe->seeds()), QStringList({"1.", "2."}));
    ASSERT_TRUE(gruppe->setzen(0, 0));
    ASSERT_TRUE(gruppe->setzen(1, 1));
    gruppe->setGesetzt(3);
    EXPECT_EQ(texts(gruppe->seeds()), QStringList({"1. Spieler0000, Max", "2. Spieler0001, Max", "3."}));
    gruppe->setGesetzt(2);
    gruppe->setGesetzt(1);
    EXPECT_EQ(texts(gruppe->seeds()), QStringList({"1. Spieler0000, Max"}));
    EXPECT_EQ(gruppe->seeds()[0].id, 101);
}

TEST_P(GruppeTest, DraggingFillsSwapsAndEmptiesSeedSlots) {
    addPlayer(db(), 1, QStringLiteral("Meier"), QStringLiteral("Hans"));
    addPlayer(db(), 2, QStringLiteral("Schulz"), QStringLiteral("Erik"));
    addPlayer(db(), 3, QStringLiteral("Bauer"), QStringLiteral("Jan"));
    addPlayer(db(), 4, QStringLiteral("Vogel"), QStringLiteral("Paul"));
    addPlayer(db(), 5, QStringLiteral("Kurz"), QStringLiteral("Olaf"));
    pair(db(), 11, 1, 2);
    pair(db(), 11, 3, 4);
    doppel(db(), 11, 5);
    gruppe->laden(11, Tgruppe::Doppel);
    gruppe->setGesetzt(1);
    gruppe->setGesetzt(2);
    const int meier = entryIndex(QStringLiteral("Meier, H. / Schulz, E"));
    const int bauer = entryIndex(QStringLiteral("Bauer, J. / Vogel, P"));
    const int kurz = entryIndex(QStringLiteral("Kurz, O. / "));

    // A player without partner is no entry of the draw; a drop beside the lines goes nowhere.
    EXPECT_FALSE(gruppe->setzen(kurz, 0));
    EXPECT_FALSE(gruppe->setzen(meier, -1));
    EXPECT_FALSE(gruppe->setzen(meier, 2));
    EXPECT_EQ(texts(gruppe->seeds()), QStringList({"1.", "2."}));

    ASSERT_TRUE(gruppe->setzen(meier, 1));
    // Seeded once only, in whichever slot.
    EXPECT_FALSE(gruppe->setzen(meier, 0));
    EXPECT_EQ(texts(gruppe->seeds()), QStringList({"1.", "2. Meier, H. / Schulz, E"}));
    EXPECT_EQ(gruppe->seeds()[1].seedNumber, 2);
    EXPECT_EQ(gruppe->entries().size(), 3); // the entry stays listed

    ASSERT_TRUE(gruppe->setzen(bauer, 0));
    ASSERT_TRUE(gruppe->tauschen(0, 1));
    EXPECT_EQ(texts(gruppe->seeds()), QStringList({"1. Meier, H. / Schulz, E", "2. Bauer, J. / Vogel, P"}));
    EXPECT_EQ(gruppe->seeds()[0].seedNumber, 1);
    EXPECT_EQ(gruppe->seeds()[0].id, 1);
    EXPECT_EQ(gruppe->seeds()[0].partnerId, 2);
    EXPECT_EQ(gruppe->seeds()[1].seedNumber, 2);
    EXPECT_EQ(gruppe->seeds()[1].id, 3);

    ASSERT_TRUE(gruppe->entfernen(0));
    EXPECT_EQ(texts(gruppe->seeds()), QStringList({"1.", "2. Bauer, J. / Vogel, P"}));
    EXPECT_EQ(gruppe->seeds()[0].id, -1);
    EXPECT_EQ(gruppe->seeds()[0].partnerId, -1);
    // The emptied slot moves and renumbers like any other.
    ASSERT_TRUE(gruppe->tauschen(1, 0));
    EXPECT_EQ(texts(gruppe->seeds()), QStringList({"1. Bauer, J. / Vogel, P", "2."}));
    EXPECT_EQ(gruppe->seeds()[1].seedNumber, 2);

    // Meier / Schulz can be seeded again once his slot was emptied.
    EXPECT_TRUE(gruppe->setzen(meier, 1));
    gruppe->entfernen(1);
    gruppe->systemspeichern(11);
    EXPECT_EQ(snapshot(11).mid(1), QStringList({"G 11 0 3 4", "G 11 1 -1 -1"}));
    gruppe->laden(11, Tgruppe::Doppel);
    EXPECT_EQ(texts(gruppe->seeds()), QStringList({"1. Bauer, J. / Vogel, P", "2. "}));
    EXPECT_EQ(gruppe->seeds()[1].id, 0);
}

// The checks of "Zur Auslosung -->", each reached with every earlier check passing.
struct CheckCase {
    const char* name;
    int entries;
    QVariantList settings; // phases, groups, places, direct, best-placed (each for phases 1 to 3), seeds
    QString message;       // empty: the settings pass and are stored
};

class GruppeChecks : public GruppeTest {};

const QVariant N; // NULL: the phase does not exist

TEST_P(GruppeChecks, EachCheckRefusesWithItsMessageAndStoresNothing) {
    const QString zuViele = QStringLiteral("Es sind mehr Spieler als verfügbare\nGruppenplätze gemeldet");
    const QString zuViele2 =
        QStringLiteral("Es sind mehr Spieler als verfügbare\nGruppenplätze für Phase 2 gemeldet");
    const QString zuViele3 =
        QStringLiteral("Es sind mehr Spieler als verfügbare\nGruppenplätze für Phase 3 gemeldet");
    const QString bestplazierten = QStringLiteral("Bestplazierten muß 0 sein");
    const CheckCase cases[] = {
        {"1 more entries than group places", 9, {0, N, N, 2, N, N, 4, N, N, 0, N, N, 0, N, N, 0}, zuViele},
        {"1 entries that just fit", 8, {0, N, N, 2, N, N, 4, N, N, 0, N, N, 0, N, N, 0}, {}},
        {"1 knock-out phase 1 has no capacity", 40, {1, N, N, 0, N, N, 0, N, N, 0, N, N, 0, N, N, 0}, {}},
        {"1 wins over later checks", 9, {0, 0, N, 2, 1, N, 4, 4, N, 4, 0, N, 1, 0, N, 0}, zuViele},
        {"2 every place qualifies and best-placed too",
         8,
         {0, 0, N, 2, 2, N, 4, 4, N, 4, 0, N, 1, 0, N, 0},
         bestplazierten},
        {"3 phase 2 without qualifiers",
         8,
         {0, 0, N, 2, 1, N, 4, 4, N, 0, 0, N, 0, 0, N, 0},
         QStringLiteral("Es sind keine Spieler für Phase 2 gemeldet")},
        {"4 five qualifiers for one group of 4",
         8,
         {0, 0, N, 2, 1, N, 4, 4, N, 2, 0, N, 1, 0, N, 0},
         zuViele2},
        {"4 a knock-out phase 2 takes any number", 8, {0, 1, N, 2, 0, N, 4, 0, N, 2, 0, N, 1, 0, N, 0}, {}},
        {"5 every place of phase 2 qualifies and best-placed too",
         8,
         {0, 0, 0, 2, 2, 1, 4, 4, 4, 2, 4, 0, 1, 1, 0, 0},
         bestplazierten},
        {"6 phase 3 without qualifiers",
         8,
         {0, 0, 0, 2, 2, 1, 4, 4, 4, 2, 0, 0, 1, 0, 0, 0},
         QStringLiteral("Es sind keine Spieler für Phase 3 gemeldet")},
        {"7 five qualifiers of phase 2 for one group of 4",
         8,
         {0, 0, 0, 2, 2, 1, 4, 4, 4, 2, 2, 0, 1, 1, 0, 0},
         zuViele3},
        {"8 every place of phase 3 qualifies and best-placed too",
         8,
         {0, 0, 0, 2, 2, 2, 4, 4, 4, 2, 2, 4, 1, 1, 1, 0},
         bestplazierten},
        {"9 three phases that fit", 8, {0, 0, 0, 2, 2, 2, 4, 4, 4, 2, 2, 1, 1, 1, 1, 0}, {}},
    };
    singles(40);
    int kid = 200;
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        ++kid;
        addClass(db(), kid, 0, QString::fromLatin1(c.name));
        for (int i = 0; i < c.entries; ++i)
            enter(db(), kid, 101 + i);
        // A stored plattenbez other than "Platte" shows whether the row was written again.
        storeSettings(db(), kid, c.settings, QStringLiteral("alt"));
        gruppe->laden(kid, Tgruppe::Einzel);
        const QStringList before = snapshot(kid);
        ui.clear();

        const bool passed = gruppe->zurauslosung();

        EXPECT_EQ(passed, c.message.isEmpty());
        if (c.message.isEmpty()) {
            EXPECT_TRUE(ui.messages.isEmpty());
            EXPECT_EQ(
                db().selectOne(QStringLiteral("SELECT plattenbez FROM Gruppeneinstellungen WHERE KID=:k"),
                               {{":k", kid}})
                    .text(u"plattenbez"),
                QStringLiteral("Platte"));
        } else {
            ASSERT_EQ(ui.messages.size(), 1);
            EXPECT_EQ(ui.messages[0].text, c.message);
            EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Warning);
            EXPECT_EQ(ui.messages[0].button, Interaction::Button::Cancel);
            EXPECT_EQ(snapshot(kid), before);
        }
    }
}

// Two groups of 4 with 2 direct qualifiers and one best-placed, set through the spin edits, give phase 2
// five entries: one group of 4 cannot take them, one group of 5 can.
TEST_P(GruppeChecks, Phase2CapacityCountsDirectAndBestPlacedQualifiers) {
    singles(8);
    gruppe->laden(10, Tgruppe::Einzel);
    gruppe->setGruppenanzahl(1, 2);
    gruppe->setTeilnehmer(1, 4);
    gruppe->setBesten(1, 2);
    gruppe->setBestplazierten(1, 1);
    ASSERT_TRUE(gruppe->phaseVisible(2));
    gruppe->setGruppenanzahl(2, 1);
    gruppe->setTeilnehmer(2, 4);
    EXPECT_FALSE(gruppe->zurauslosung());
    EXPECT_EQ(ui.texts(),
              QStringList({"Es sind mehr Spieler als verfügbare\nGruppenplätze für Phase 2 gemeldet"}));
    EXPECT_TRUE(snapshot(10).isEmpty());

    ui.clear();
    gruppe->setTeilnehmer(2, 5);
    EXPECT_TRUE(gruppe->zurauslosung());
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(snapshot(10).size(), 1);
}

// A statement failing inside the save: the settings and seeds stored before stay as they were.
class GruppeFailure : public GruppeTest {
protected:
    void breakTable(const QString& table, const QString& events) {
        if (GetParam() == DbKind::File) {
            for (const QString& event : events.split(u' '))
                db().exec(QStringLiteral("CREATE TRIGGER fail_%1_%2 BEFORE %2 ON %1 BEGIN SELECT "
                                         "RAISE(ABORT, 'kaputt'); END")
                              .arg(table, event));
        } else {
            db().exec(QStringLiteral("CREATE FUNCTION fail_%1() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION "
                                     "'kaputt'; END $$ LANGUAGE plpgsql")
                          .arg(table));
            db().exec(QStringLiteral("CREATE TRIGGER fail_%1 BEFORE %2 ON %1 FOR EACH ROW EXECUTE FUNCTION "
                                     "fail_%1()")
                          .arg(table, QString(events).replace(u' ', QStringLiteral(" OR "))));
        }
    }
};

TEST_P(GruppeFailure, AFailedSaveLeavesThePreviousSettings) {
    singles(8);
    gruppe->laden(10, Tgruppe::Einzel);
    dreiPhasen(*gruppe);
    gruppe->setGesetzt(2);
    ASSERT_TRUE(gruppe->setzen(3, 1));
    gruppe->systemspeichern(10);
    const QStringList before = snapshot(10);
    ASSERT_EQ(before.size(), 3);

    gruppe->setSpielsystem(1, Tgruppe::DoppeltesKO);
    gruppe->setGesetzt(3);
    ASSERT_TRUE(gruppe->setzen(0, 2));
    // The settings row is replaced before the seeds fail.
    breakTable(QStringLiteral("Gesetzt"), QStringLiteral("INSERT"));
    EXPECT_THROW(gruppe->systemspeichern(10), DbError);
    EXPECT_EQ(snapshot(10), before);
    EXPECT_EQ(db().transactionDepth(), 0);
}

class GruppePairing : public GruppeTest {
protected:
    void SetUp() override {
        GruppeTest::SetUp();
        if (IsSkipped()) return;
        addPlayer(db(), 1, QStringLiteral("Meier"), QStringLiteral("Hans"), true, true);
        addPlayer(db(), 2, QStringLiteral("Schulz"), QStringLiteral("Eva"), true, false);
        addPlayer(db(), 3, QStringLiteral("Bauer"), QStringLiteral("Jana"), false, false);
        addPlayer(db(), 4, QStringLiteral("Vogel"), QStringLiteral("Paul"), true, true);
        addPlayer(db(), 5, QStringLiteral("Kurz"), QStringLiteral("Olaf"), true, true);
        for (int kid : {11, 12}) {
            for (int s : {1, 2, 3})
                doppel(db(), kid, s);
            pair(db(), kid, 4, 5);
        }
        // The same players in another class keep their rows.
        doppel(db(), 14, 1);
    }
};

TEST_P(GruppePairing, DraggingAPlayerOntoAnotherStoresThePairBothWays) {
    const struct {
        int kid;
        bool mixed;
    } classes[] = {{11, false}, {12, true}};
    for (const auto& c : classes) {
        SCOPED_TRACE(c.kid);
        gruppe->laden(c.kid, Tgruppe::Doppel, c.mixed);
        ASSERT_EQ(texts(gruppe->ohnepartner()), QStringList({"Bauer, Jana", "Meier, Hans", "Schulz, Eva"}));
        ASSERT_EQ(texts(gruppe->entries()),
                  QStringList({"Bauer, J. / ", "Meier, H. / ", "Schulz, E. / ", "Vogel, P. / Kurz, O"}));

        // Schulz dragged onto Meier.
        ASSERT_TRUE(gruppe->paaren(ohneIndex(QStringLiteral("Schulz, Eva")),
                                   entryIndex(QStringLiteral("Meier, H. / "))));

        EXPECT_TRUE(ui.messages.isEmpty());
        const QList<QPair<int, QVariant>> expected{{1, 2}, {2, 1}, {3, QVariant()}, {4, 5}, {5, 4}};
        EXPECT_EQ(partnerRows(c.kid), expected);
        EXPECT_EQ(texts(gruppe->ohnepartner()), QStringList({"Bauer, Jana"}));
        EXPECT_EQ(texts(gruppe->entries()),
                  QStringList({"Bauer, J. / ", "Meier, Hans / Schulz, Eva", "Vogel, P. / Kurz, O"}));
        const Myitem& paar = gruppe->entries()[1];
        EXPECT_EQ(paar.id, 1);
        EXPECT_EQ(paar.partnerId, 2);
        EXPECT_TRUE(paar.present);
        EXPECT_EQ(gruppe->anzahlText(), QStringLiteral("3"));

        // Read again, the pair is one entry with the stored text.
        gruppe->laden(c.kid, Tgruppe::Doppel, c.mixed);
        EXPECT_EQ(texts(gruppe->entries()),
                  QStringList({"Bauer, J. / ", "Meier, H. / Schulz, E", "Vogel, P. / Kurz, O"}));
    }
    EXPECT_EQ(partnerRows(14), (QList<QPair<int, QVariant>>{{1, QVariant()}}));
}

TEST_P(GruppePairing, RefusedPairingsChangeNothing) {
    const struct {
        const char* name;
        int kid;
        bool mixed;
        const char* dragged;
        const char* target;
        QStringList messages;
    } cases[] = {
        {"two women in a mixed class",
         12,
         true,
         "Bauer, Jana",
         "Schulz, E. / ",
         {"Beide Spieler haben das gleiche Geschlecht"}},
        {"onto himself", 11, false, "Meier, Hans", "Meier, H. / ", {}},
        {"onto a complete pair", 11, false, "Meier, Hans", "Vogel, P. / Kurz, O", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.clear();
        gruppe->laden(c.kid, Tgruppe::Doppel, c.mixed);
        const QStringList entriesBefore = texts(gruppe->entries());
        const auto rowsBefore = partnerRows(c.kid);
        EXPECT_FALSE(
            gruppe->paaren(ohneIndex(QString::fromUtf8(c.dragged)), entryIndex(QString::fromUtf8(c.target))));
        EXPECT_EQ(ui.texts(), c.messages);
        for (const auto& m : ui.messages) {
            EXPECT_EQ(m.icon, Interaction::Icon::Warning);
            EXPECT_EQ(m.button, Interaction::Button::Cancel);
        }
        EXPECT_EQ(texts(gruppe->entries()), entriesBefore);
        EXPECT_EQ(texts(gruppe->ohnepartner()), QStringList({"Bauer, Jana", "Meier, Hans", "Schulz, Eva"}));
        EXPECT_EQ(partnerRows(c.kid), rowsBefore);
    }
}

TEST_P(GruppeFailure, AFailedPairingStoresNeitherRowAndKeepsTheLists) {
    addPlayer(db(), 1, QStringLiteral("Meier"), QStringLiteral("Hans"));
    addPlayer(db(), 2, QStringLiteral("Schulz"), QStringLiteral("Eva"));
    doppel(db(), 11, 1);
    doppel(db(), 11, 2);
    gruppe->laden(11, Tgruppe::Doppel);
    // The first update may pass; the second fails.
    if (GetParam() == DbKind::File)
        db().exec(QStringLiteral("CREATE TRIGGER fail_second BEFORE UPDATE ON Doppelpartner WHEN NEW.SID=1 "
                                 "BEGIN SELECT RAISE(ABORT, 'kaputt'); END"));
    else {
        db().exec(
            QStringLiteral("CREATE FUNCTION fail_second() RETURNS trigger AS $$ BEGIN IF NEW.SID=1 THEN "
                           "RAISE EXCEPTION 'kaputt'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql"));
        db().exec(QStringLiteral("CREATE TRIGGER fail_second BEFORE UPDATE ON Doppelpartner FOR EACH ROW "
                                 "EXECUTE FUNCTION fail_second()"));
    }
    EXPECT_THROW(
        gruppe->paaren(ohneIndex(QStringLiteral("Meier, Hans")), entryIndex(QStringLiteral("Schulz, E. / "))),
        DbError);
    EXPECT_EQ(partnerRows(11), (QList<QPair<int, QVariant>>{{1, QVariant()}, {2, QVariant()}}));
    EXPECT_EQ(texts(gruppe->ohnepartner()), QStringList({"Meier, Hans", "Schulz, Eva"}));
    EXPECT_EQ(texts(gruppe->entries()), QStringList({"Meier, H. / ", "Schulz, E. / "}));
}

// A class of 1,000 entries is read with a fixed number of statements, not one per entry.
TEST_P(GruppeTest, ReadingALargeClassTakesAFixedNumberOfStatements) {
    {
        Transaction t(db());
        for (int i = 0; i < 1000; ++i) {
            addPlayer(db(), 1000 + i, QStringLiteral("N%1").arg(i), QStringLiteral("V"));
            enter(db(), 10, 1000 + i);
            if (i % 2 == 0) pair(db(), 11, 1000 + i, 1001 + i);
        }
        t.commit();
    }
    storeSettings(db(), 10, {0, N, N, 100, N, N, 10, N, N, 0, N, N, 0, N, N, 300});
    const struct {
        int kid;
        int kind;
        int entries;
    } cases[] = {{10, Tgruppe::Einzel, 1000}, {11, Tgruppe::Doppel, 500}};
    for (const auto& c : cases) {
        db().resetStatementCount();
        gruppe->laden(c.kid, c.kind);
        EXPECT_EQ(gruppe->entries().size(), c.entries);
        EXPECT_LE(db().statementCount(), 4);
    }
}

} // namespace

VELMORA_INSTANTIATE_DB_TEST(GruppeTest);
VELMORA_INSTANTIATE_DB_TEST(GruppeLists);
VELMORA_INSTANTIATE_DB_TEST(GruppeRoundTrip);
VELMORA_INSTANTIATE_DB_TEST(GruppeChecks);
VELMORA_INSTANTIATE_DB_TEST(GruppeFailure);
VELMORA_INSTANTIATE_DB_TEST(GruppePairing);

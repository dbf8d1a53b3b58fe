#include "results/satznotation.h"

#include <gtest/gtest.h>

namespace {

std::string str(const QString& s) {
    return s.toStdString();
}

struct RundCase {
    const char* eingabe;
    std::optional<int> gespeichert;
    const char* angezeigt;
};

class SatzRundreise : public ::testing::TestWithParam<RundCase> {};

// Typed, stored and shown again: "-0" survives as -100, an unsigned entry comes back with its "+".
TEST_P(SatzRundreise, TypedStoredShown) {
    const RundCase& c = GetParam();
    const auto in = satznotation::lesen(QString::fromUtf8(c.eingabe));
    ASSERT_TRUE(in.gueltig);
    EXPECT_EQ(in.wert, c.gespeichert);
    EXPECT_EQ(str(satznotation::text(in.wert)), c.angezeigt);
    EXPECT_EQ(satznotation::lesen(satznotation::text(in.wert)).wert, c.gespeichert)
        << "shown text reads back";
}

INSTANTIATE_TEST_SUITE_P(Eintraege, SatzRundreise,
                         ::testing::Values(RundCase{"-0", -100, "-0"}, RundCase{"+0", 0, "+0"},
                                           RundCase{"0", 0, "+0"}, RundCase{"11", 11, "+11"},
                                           RundCase{"-9", -9, "-9"}, RundCase{"+9", 9, "+9"},
                                           RundCase{" -12 ", -12, "-12"}, RundCase{"", std::nullopt, ""}));

TEST(Satznotation, RefusesWhatIsNoSetEntry) {
    for (const char* t : {"abc", "+", "-", "1-", "123", "--1", "+-3", "1 2", "9a"})
        EXPECT_FALSE(satznotation::lesen(QString::fromUtf8(t)).gueltig) << t;
}

struct PunkteCase {
    int gespeichert;
    int erster, zweiter;
};

class SatzPunkte : public ::testing::TestWithParam<PunkteCase> {};

TEST_P(SatzPunkte, PointsOfBothPlayers) {
    const PunkteCase& c = GetParam();
    EXPECT_EQ(satznotation::punkte(c.gespeichert), (satznotation::Punkte{c.erster, c.zweiter}));
}

// 11 for the winner up to 9 for the loser, the loser's score plus two after deuce; "-0" is 0:11.
INSTANTIATE_TEST_SUITE_P(Tabelle, SatzPunkte,
                         ::testing::Values(PunkteCase{9, 11, 9}, PunkteCase{0, 11, 0}, PunkteCase{10, 12, 10},
                                           PunkteCase{15, 17, 15}, PunkteCase{-9, 9, 11},
                                           PunkteCase{-10, 10, 12}, PunkteCase{-12, 12, 14},
                                           PunkteCase{-100, 0, 11}, PunkteCase{-1, 1, 11}));

TEST(Satznotation, ResultListForOneToFiveWinningSets) {
    EXPECT_EQ(satznotation::ergebnisliste(3), (QStringList{"3:2", "3:1", "3:0", "0:3", "1:3", "2:3"}));
    EXPECT_EQ(satznotation::ergebnisliste(1), (QStringList{"1:0", "0:1"}));
    for (int g = 1; g <= 5; ++g) {
        const QStringList l = satznotation::ergebnisliste(g);
        ASSERT_EQ(l.size(), 2 * g);
        EXPECT_EQ(l.first(), QStringLiteral("%1:%2").arg(g).arg(g - 1));
        EXPECT_EQ(l.last(), QStringLiteral("%1:%2").arg(g - 1).arg(g));
        for (const QString& e : l) {
            const auto r = satznotation::endergebnis(e);
            ASSERT_TRUE(r);
            EXPECT_EQ(std::max(r->a, r->b), g) << str(e);
        }
    }
}

struct PruefCase {
    const char* name;
    const char* ergebnis;
    QStringList saetze;
    const char* meldung; // empty: accepted
};

class ErgebnisPruefen : public ::testing::TestWithParam<PruefCase> {};

TEST_P(ErgebnisPruefen, NamesTheFirstFault) {
    const PruefCase& c = GetParam();
    Saetze werte;
    werte.fill(7);
    const QString m = satznotation::pruefen(QString::fromUtf8(c.ergebnis), satznotation::ergebnisliste(3),
                                            c.saetze, &werte);
    EXPECT_EQ(str(m), c.meldung);
    if (m.isEmpty()) {
        for (int k = 0; k < 9; ++k)
            EXPECT_EQ(werte[k], satznotation::lesen(k < c.saetze.size() ? c.saetze[k] : QString()).wert) << k;
    } else {
        EXPECT_EQ(werte[0], 7) << "nothing is handed on from a refused result";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, ErgebnisPruefen,
    ::testing::Values(
        PruefCase{
            "last_set_to_loser", "3:1", {"+9", "-5", "7", "-0"}, "Satz 4 passt nicht zum Endergebnis 3:1"},
        PruefCase{"last_set_to_winner", "3:1", {"+9", "-5", "7", "+0"}, ""},
        PruefCase{"second_player_wins", "2:3", {"-9", "+5", "-0", "11", "-13"}, ""},
        PruefCase{"sets_left_empty", "3:2", {"+5", "", "-3"}, ""}, PruefCase{"no_sets_at_all", "3:0", {}, ""},
        PruefCase{"not_in_list", "4:1", {}, "Wählen Sie ein gültiges Satzergebnis"},
        PruefCase{"typed_nonsense", "3:o", {}, "Wählen Sie ein gültiges Satzergebnis"},
        PruefCase{"set_not_a_number", "3:1", {"+9", "x"}, "Satz 2: Keinen korrekten Wert eingegeben"},
        PruefCase{"decided_before_the_end",
                  "3:1",
                  {"+9", "+5", "+7", "-8"},
                  "Satz 3 passt nicht zum Endergebnis 3:1"},
        PruefCase{"set_after_the_end",
                  "3:1",
                  {"+9", "-5", "+7", "+8", "-3"},
                  "Satz 5 passt nicht zum Endergebnis 3:1"},
        PruefCase{"loser_wins_too_many", "3:1", {"-9", "-5"}, "Satz 2 passt nicht zum Endergebnis 3:1"},
        PruefCase{
            "three_nil_lost_by_first", "0:3", {"-9", "-5", "+1"}, "Satz 3 passt nicht zum Endergebnis 0:3"}),
    [](const ::testing::TestParamInfo<PruefCase>& i) { return std::string(i.param.name); });

} // namespace

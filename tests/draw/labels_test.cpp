#include "draw/labels.h"

#include <gtest/gtest.h>

using namespace labels;

namespace {

struct DecodeCase {
    const char* text;
    int parentGID;
    int parentpos;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class LabelDecoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(LabelDecoding, GivesSourceGroupAndPosition) {
    const QString text = QString::fromUtf8(GetParam().text);
    EXPECT_EQ(getparentGID(text), GetParam().parentGID);
    EXPECT_EQ(getparentpos(text), GetParam().parentpos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LabelDecoding,
    ::testing::Values(DecodeCase{"", -1, -1}, DecodeCase{"Sieger Gruppe A", 0, 0},
                      DecodeCase{"Zweiter Gruppe C", 2, 1}, DecodeCase{"Dritter Gruppe B", 1, 2},
                      DecodeCase{"4. Gruppe B", 1, 3}, DecodeCase{"12. Gruppe Z", 25, 11},
                      // Letters run on past Z for large classes: the code minus 65 stays the index.
                      DecodeCase{"Sieger Gruppe [", 26, 0}, DecodeCase{"1. Bestplatzierter 5. Platz", -3, 0},
                      DecodeCase{"2. Bestplatzierter 3. Platz", -3, 1},
                      // An empty group line as shown ("2. ") ends in a blank.
                      DecodeCase{"2. ", -2, 1}, DecodeCase{"Freilos", 50, -2},
                      // A text without a number before its first full stop has no position.
                      DecodeCase{"Meier, H. / Schulz, E", 4, -1}, DecodeCase{"Team Nord", 35, -1}));

struct LabelCase {
    int rang;
    int gid;
    const char* label;
};

class PlaceLabels : public ::testing::TestWithParam<LabelCase> {};

TEST_P(PlaceLabels, NameRankAndGroupAndDecodeBackToThem) {
    const QString label = platzlabel(GetParam().rang, GetParam().gid);
    EXPECT_EQ(label, QString::fromUtf8(GetParam().label));
    EXPECT_EQ(getparentGID(label), GetParam().gid);
    EXPECT_EQ(getparentpos(label), GetParam().rang - 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlaceLabels,
                         ::testing::Values(LabelCase{1, 0, "Sieger Gruppe A"},
                                           LabelCase{2, 3, "Zweiter Gruppe D"},
                                           LabelCase{3, 1, "Dritter Gruppe B"},
                                           LabelCase{4, 1, "4. Gruppe B"}, LabelCase{10, 7, "10. Gruppe H"}));

TEST(Qualifikanten, RankByRankThenTheBestPlaced) {
    // Two groups C and D (phase 1 had A and B) with 4 direct qualifiers and 2 best-placed fifths.
    const QStringList labels = qualifikanten(2, 2, 4, 2);
    EXPECT_EQ(labels,
              QStringList({"Sieger Gruppe C", "Sieger Gruppe D", "Zweiter Gruppe C", "Zweiter Gruppe D",
                           "Dritter Gruppe C", "Dritter Gruppe D", "4. Gruppe C", "4. Gruppe D",
                           "1. Bestplatzierter 5. Platz", "2. Bestplatzierter 5. Platz"}));
    EXPECT_EQ(getparentGID(labels[8]), -3);
    EXPECT_EQ(getparentpos(labels[8]), 0);
    EXPECT_EQ(getparentpos(labels[9]), 1);
}

TEST(Qualifikanten, NoneWithoutQualifiers) {
    EXPECT_TRUE(qualifikanten(0, 3, 0, 0).isEmpty());
    EXPECT_EQ(qualifikanten(0, 3, 0, 1), QStringList({"1. Bestplatzierter 1. Platz"}));
}

TEST(GroupLines, NumberTextAndContent) {
    const struct {
        int zeile;
        const char* text;
        const char* shown;
    } cases[] = {{1, "Sieger Gruppe A", "1. Sieger Gruppe A"},
                 {3, "", "3. "},
                 {2, "2. Bestplatzierter 3. Platz", "2. 2. Bestplatzierter 3. Platz"}};
    for (const auto& c : cases) {
        const QString shown = zeilentext(c.zeile, QString::fromUtf8(c.text));
        EXPECT_EQ(shown, QString::fromUtf8(c.shown));
        EXPECT_EQ(zeileninhalt(shown), QString::fromUtf8(c.text)) << c.shown;
    }
    EXPECT_EQ(gruppentitel(0), QStringLiteral("Gruppe A"));
    EXPECT_EQ(gruppentitel(4), QStringLiteral("Gruppe E"));
}

} // namespace

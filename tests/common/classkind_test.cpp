#include "common/classkind.h"

#include <gtest/gtest.h>

namespace {

struct CaptionCase {
    const char* label;
    const char* name;
    int kind;
    const char* caption;
};

class ClassCaption : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(ClassCaption, IsBuiltAndReadBack) {
    const CaptionCase& c = GetParam();
    const QString caption = QString::fromUtf8(c.caption);
    EXPECT_EQ(classkind::caption(QString::fromUtf8(c.name), c.kind), caption);
    EXPECT_EQ(classkind::kindOfCaption(caption), c.kind);
    EXPECT_EQ(classkind::nameOfCaption(caption), QString::fromUtf8(c.name));
}

INSTANTIATE_TEST_SUITE_P(Kinds, ClassCaption,
                         ::testing::Values(CaptionCase{"Einzel", "Herren A", 0, "Herren A (Einzel)"},
                                           CaptionCase{"Doppel", "Herren A", 1, "Herren A (Doppel)"},
                                           CaptionCase{"Mixed", "Mädchen U15", 2, "Mädchen U15 (Mixed)"},
                                           CaptionCase{"Team", "Bezirksliga", 3, "Bezirksliga (Team)"},
                                           // a name with its own parentheses keeps them
                                           CaptionCase{"NameWithParentheses", "Senioren (Ü50)", 0,
                                                       "Senioren (Ü50) (Einzel)"}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(ClassCaption, CaptionsWithoutKindGiveNone) {
    for (const char* text : {"Klassen verwalten", "", " (Einzel)", "Herren (Einzelx)", "Herren (Doppel"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(classkind::kindOfCaption(QString::fromUtf8(text)), -1);
    }
}

TEST(ClassCaption, UnknownKindHasNoWord) {
    EXPECT_EQ(classkind::suffix(4), QString());
    EXPECT_EQ(classkind::suffix(-1), QString());
    EXPECT_EQ(classkind::caption(QStringLiteral("X"), 7), QStringLiteral("X"));
}

} // namespace

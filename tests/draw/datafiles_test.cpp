#include "draw/datafiles.h"

#include <QBuffer>
#include <QSet>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using datafiles::KoPlan;
using datafiles::KoPlanReader;
using datafiles::Pairing;
using datafiles::Problem;
using datafiles::ScheduleReader;

QString shipped(const char* name) {
    return QStringLiteral(VELMORA_SOURCE_DIR "/data/Files/") + QString::fromLatin1(name);
}

std::string text(const QString& s) {
    return s.toStdString();
}

std::string show(const QVector<Pairing>& pairings) {
    QStringList out;
    for (const Pairing& p : pairings)
        out << QStringLiteral("%1-%2").arg(p.a).arg(p.b);
    return out.join(u';').toStdString();
}

std::optional<datafiles::Schedule> readSchedule(ScheduleReader& reader, const QByteArray& content,
                                                int places) {
    QBuffer buffer;
    buffer.setData(content);
    return reader.read(&buffer, places);
}

std::optional<KoPlan> readPlan(KoPlanReader& reader, const QByteArray& content, int size) {
    QBuffer buffer;
    buffer.setData(content);
    return reader.read(&buffer, size);
}

// --- The shipped files ---------------------------------------------------------------------------------

class ShippedSchedule : public ::testing::TestWithParam<int> {};

TEST_P(ShippedSchedule, EveryTwoPlacesMeetExactlyOnce) {
    const int n = GetParam();
    ScheduleReader reader;
    const auto s = reader.read(shipped("system.txt"), n);
    ASSERT_TRUE(s.has_value()) << text(reader.errorString());
    EXPECT_EQ(reader.problem(), Problem::None);
    EXPECT_EQ(s->places, n);
    QSet<QPair<int, int>> met;
    for (const Pairing& p : s->pairings) {
        const auto key = qMakePair(qMin(p.a, p.b), qMax(p.a, p.b));
        EXPECT_FALSE(met.contains(key)) << p.a << "-" << p.b << " twice";
        met << key;
    }
    EXPECT_EQ(met.size(), n * (n - 1) / 2);
    EXPECT_EQ(s->pairings.size(), met.size());
}

INSTANTIATE_TEST_SUITE_P(Places, ShippedSchedule, ::testing::Range(2, 14));

class ShippedKoPlan : public ::testing::TestWithParam<int> {};

// A double knock-out without a second final: everybody but the winner leaves after two defeats, the
// final's loser after one more, so 2S - 2 matches; the first S/2 take the draw.
TEST_P(ShippedKoPlan, HoldsTheWholeBracket) {
    const int size = GetParam();
    KoPlanReader reader;
    const auto plan = reader.read(shipped("ko_system.txt"), size);
    ASSERT_TRUE(plan.has_value()) << text(reader.errorString());
    EXPECT_EQ(plan->size, size);
    EXPECT_EQ(plan->matchCount(), 2 * size - 2);
    int firstStage = 0;
    for (const auto& line : plan->lines) {
        if (line.isFirstStage()) ++firstStage;
        // every line lies on the drawing grid its header announces
        EXPECT_TRUE(line.columnStart() >= 0 && line.columnEnd() <= plan->columns) << line.match();
        EXPECT_TRUE(line.row1() >= 0 && line.row1() <= plan->rows) << line.match();
    }
    EXPECT_EQ(firstStage, size / 2);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ShippedKoPlan, ::testing::Values(4, 8, 16, 32, 64, 128));

// --- Finding the block -----------------------------------------------------------------------------------

struct FindCase {
    const char* name;
    const char* content;
    int places;
    const char* pairings;
};

class ScheduleBlock : public ::testing::TestWithParam<FindCase> {};

TEST_P(ScheduleBlock, IsTheFirstLineThatIsTheSizeLabel) {
    const FindCase& c = GetParam();
    ScheduleReader reader;
    const auto s = readSchedule(reader, c.content, c.places);
    ASSERT_TRUE(s.has_value()) << text(reader.errorString());
    EXPECT_EQ(show(s->pairings), c.pairings);
}

#define SIX "1-6;2-5;3-4;1-5;4-6;2-3;1-4;3-5;2-6;1-3;2-4;5-6;1-2;3-6;4-5"

INSTANTIATE_TEST_SUITE_P(
    Cases, ScheduleBlock,
    ::testing::Values(
        FindCase{"SmallBeforeLarge_Small", "3:\n1-2;1-3;2-3\n13:\n1-13;2-12\n", 3, "1-2;1-3;2-3"},
        // a stray "16:" contains "6:" but is no label for 6, whatever follows it
        FindCase{"LargerLabelFirst", "16:\n1-2;1-3;2-3\n6:\n" SIX "\n", 6, SIX},
        FindCase{"FirstOfTwoBlocks", "3:\n2-3;1-3;1-2\n3:\n1-2;1-3;2-3\n", 3, "2-3;1-3;1-2"},
        FindCase{"TextAroundTheSizeIsNoLabel", "Gruppe mit 3: drei Spiele\n1-2\n3:\n2-3;1-3;1-2\n", 3,
                 "2-3;1-3;1-2"},
        // blanks around the label, items also separated by blanks, a quoted item, Windows line ends
        FindCase{"BlanksQuotesAndCrLf",
                 "\xEF\xBB\xBF"
                 " 3:\t\r\n \"1-2\" ; 3-1 2-3\t\r\n",
                 3, "1-2;3-1;2-3"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Damaged and missing blocks --------------------------------------------------------------------

struct BadSchedule {
    const char* name;
    const char* content;
    int places;
    Problem problem;
    const char* message;
};

class DamagedSchedule : public ::testing::TestWithParam<BadSchedule> {};

TEST_P(DamagedSchedule, IsRefusedWithItsMessageAndNoSchedule) {
    const BadSchedule& c = GetParam();
    ScheduleReader reader;
    ASSERT_TRUE(readSchedule(reader, "2:\n1-2\n", 2).has_value()); // a good read first: nothing carries over
    EXPECT_FALSE(readSchedule(reader, c.content, c.places).has_value());
    EXPECT_EQ(reader.problem(), c.problem);
    EXPECT_EQ(text(reader.errorString()), c.message);
}

#define DAMAGED(n) "Die Datei \"system.txt\" enthält keinen gültigen Spielplan für " #n " Teilnehmer.\n"

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedSchedule,
    ::testing::Values(BadSchedule{"NoBlock", "2:\n1-2\n3:\n1-2;1-3;2-3\n", 5, Problem::Missing,
                                  "Die Datei \"system.txt\" enthält keinen Spielplan für 5 Teilnehmer."},
                      BadSchedule{"EmptyFile", "", 2, Problem::Missing,
                                  "Die Datei \"system.txt\" enthält keinen Spielplan für 2 Teilnehmer."},
                      BadSchedule{"OnePlaceHasNoBlock", "11:\n1-2\n", 1, Problem::Missing,
                                  "Die Datei \"system.txt\" enthält keinen Spielplan für 1 Teilnehmer."},
                      BadSchedule{"StrayLargerLabel", "16:\n1-2;1-3;2-3\n", 6, Problem::Missing,
                                  "Die Datei \"system.txt\" enthält keinen Spielplan für 6 Teilnehmer."},
                      BadSchedule{"SizeOnlyInsideText", "Gruppe mit 3: drei Spiele\n1-2;1-3;2-3\n", 3,
                                  Problem::Missing,
                                  "Die Datei \"system.txt\" enthält keinen Spielplan für 3 Teilnehmer."},
                      // every two places must meet exactly once
                      BadSchedule{"CutAtAPairingBoundary", "4:\n1-2;3-4\n", 4, Problem::Damaged,
                                  DAMAGED(4) "Zeile 2: die Paarung 1-3 fehlt."},
                      BadSchedule{"LastPairingMissing", "3:\n1-2;1-3\n", 3, Problem::Damaged,
                                  DAMAGED(3) "Zeile 2: die Paarung 2-3 fehlt."},
                      BadSchedule{"RepeatedPairing", "3:\n1-2;1-3;2-3;1-2\n", 3, Problem::Damaged,
                                  DAMAGED(3) "Zeile 2: die Paarung 1-2 kommt mehrfach vor."},
                      BadSchedule{"RepeatedTheOtherWayRound", "3:\n1-2;3-2;1-3;2-3\n", 3, Problem::Damaged,
                                  DAMAGED(3) "Zeile 2: die Paarung 2-3 kommt mehrfach vor."},
                      BadSchedule{"RepeatedInsteadOfTheLast", "3:\n1-2;1-3;2-1\n", 3, Problem::Damaged,
                                  DAMAGED(3) "Zeile 2: die Paarung 1-2 kommt mehrfach vor."},
                      BadSchedule{"HeaderIsTheLastLine", "2:\n1-2\n3:", 3, Problem::Damaged,
                                  DAMAGED(3) "Zeile 4: die Zeile mit den Paarungen fehlt."},
                      BadSchedule{"EmptyScheduleLine", "3:\n\n4:\n1-2\n", 3, Problem::Damaged,
                                  DAMAGED(3) "Zeile 2: keine Paarungen."},
                      BadSchedule{"SemicolonAtTheEnd", "3:\n1-2;1-3;2-3;\n", 3, Problem::Damaged,
                                  DAMAGED(3) "Zeile 2: die Paarung \"\" ist fehlerhaft."},
                      BadSchedule{"TwoSemicolons", "3:\n1-2;;2-3\n", 3, Problem::Damaged,
                                  DAMAGED(3) "Zeile 2: die Paarung \"\" ist fehlerhaft."},
                      BadSchedule{"SecondLineMissing", "3:\n1-2;1-;2-3\n", 3, Problem::Damaged,
                                  DAMAGED(3) "Zeile 2: die Paarung \"1-\" ist fehlerhaft."},
                      BadSchedule{"NotANumber", "3:\n1-2;x-3\n", 3, Problem::Damaged,
                                  DAMAGED(3) "Zeile 2: die Paarung \"x-3\" ist fehlerhaft."},
                      BadSchedule{"NoDash", "3:\n1-2;13\n", 3, Problem::Damaged,
                                  DAMAGED(3) "Zeile 2: die Paarung \"13\" ist fehlerhaft."},
                      BadSchedule{"SplitByABlank", "3:\n1-2;1 -3\n", 3, Problem::Damaged,
                                  DAMAGED(3) "Zeile 2: die Paarung \"1\" ist fehlerhaft."},
                      BadSchedule{"NegativeLine", "3:\n1-2;1--3\n", 3, Problem::Damaged,
                                  DAMAGED(3) "Zeile 2: die Paarung \"1--3\" ist fehlerhaft."},
                      BadSchedule{"LineBeyondTheGroup", "3:\n1-2;1-4\n", 3, Problem::Damaged,
                                  DAMAGED(3) "Zeile 2: die Paarung \"1-4\" passt nicht zu 3 Plätzen."},
                      BadSchedule{"LineZero", "3:\n0-2\n", 3, Problem::Damaged,
                                  DAMAGED(3) "Zeile 2: die Paarung \"0-2\" passt nicht zu 3 Plätzen."},
                      BadSchedule{"PlayerAgainstHimself", "3:\n2-2\n", 3, Problem::Damaged,
                                  DAMAGED(3) "Zeile 2: die Paarung \"2-2\" passt nicht zu 3 Plätzen."}),
    [](const auto& info) { return std::string(info.param.name); });

// A plan for 4 slots as the program reads it: header, then match and caption lines.
const QByteArray kPlan4 = "4:\n"
                          "8,5,16\n"
                          "1,-1,-1,-3,-3,0,0,1,1,3\n"
                          "2,-1,-1,-3,-3,0,0,1,5,7\n"
                          "3,1,2,1,1,0,1,2,2,6\n"
                          "-1,1,-1,0,0,0,0,1,11,11\n"
                          "4,1,2,0,0,0,1,2,11,13\n"
                          "5,4,3,1,0,0,2,3,12,16\n"
                          "6,3,5,1,1,0,3,4,4,14\n"
                          "-1,6,-1,1,0,0,4,5,9,9\n";

// The same plan with line k (from 0: 0 is "4:", 1 the header) replaced, or cut after line k.
QByteArray plan4With(int k, const QByteArray& line) {
    QList<QByteArray> lines = kPlan4.split('\n');
    lines[k] = line;
    return lines.join('\n');
}
QByteArray plan4CutAfter(int k) {
    return kPlan4.split('\n').mid(0, k + 1).join('\n');
}

TEST(KoPlanReading, GivesEveryLineWithItsFields) {
    KoPlanReader reader;
    const auto plan = readPlan(reader, kPlan4, 4);
    ASSERT_TRUE(plan.has_value()) << text(reader.errorString());
    EXPECT_EQ(plan->columns, 5);
    EXPECT_EQ(plan->rows, 16);
    ASSERT_EQ(plan->lines.size(), 8);
    EXPECT_EQ(plan->matchCount(), 6);
    const auto& loserSide = plan->lines[5]; // "5,4,3,1,0,…": winner of 4 against the loser of 3
    EXPECT_EQ(loserSide.match(), 5);
    EXPECT_EQ(loserSide.source1(), 4);
    EXPECT_EQ(loserSide.source2(), 3);
    EXPECT_TRUE(loserSide.takesWinner1());
    EXPECT_FALSE(loserSide.takesWinner2());
    EXPECT_EQ(loserSide.columnStart(), 2);
    EXPECT_EQ(loserSide.columnEnd(), 3);
    EXPECT_EQ(loserSide.row1(), 12);
    EXPECT_EQ(loserSide.row2(), 16);
    EXPECT_TRUE(plan->lines[3].isCaption());
    EXPECT_TRUE(plan->lines[0].isFirstStage());
    EXPECT_FALSE(plan->lines[2].isFirstStage());

    // Blanks after the commas, quoted fields and more than ten fields read the same.
    const auto spaced = readPlan(reader, plan4With(4, "3, 1, \"2\", 1, 1, 0, 1, 2, 2, 6, 99"), 4);
    ASSERT_TRUE(spaced.has_value()) << text(reader.errorString());
    EXPECT_EQ(spaced->lines[2].fields.mid(0, 10), plan->lines[2].fields);
}

struct BadPlan {
    const char* name;
    QByteArray content;
    int size;
    Problem problem;
    const char* message;
};

void PrintTo(const BadPlan& c, std::ostream* os) {
    *os << c.name;
}

class DamagedKoPlan : public ::testing::TestWithParam<BadPlan> {};

TEST_P(DamagedKoPlan, IsRefusedWithItsMessageAndNoPlan) {
    const BadPlan& c = GetParam();
    KoPlanReader reader;
    EXPECT_FALSE(readPlan(reader, c.content, c.size).has_value());
    EXPECT_EQ(reader.problem(), c.problem);
    EXPECT_EQ(text(reader.errorString()), c.message);
}

#define BAD_PLAN(n) "Die Datei \"ko_system.txt\" enthält keinen gültigen Plan für " #n " Teilnehmer.\n"

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedKoPlan,
    ::testing::Values(
        BadPlan{"NoBlock", kPlan4, 16, Problem::Missing,
                "Die Datei \"ko_system.txt\" enthält keinen Plan für 16 Teilnehmer."},
        BadPlan{"NoHeader", "4:", 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 2: die Zeile mit Anzahl, Spalten und Zeilen fehlt."},
        BadPlan{"HeaderTooShort", plan4With(1, "8,5"), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 2: Anzahl, Spalten und Zeilen sind fehlerhaft."},
        BadPlan{"HeaderNotNumbers", plan4With(1, "acht,5,16"), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 2: Anzahl, Spalten und Zeilen sind fehlerhaft."},
        BadPlan{"HeaderCountsNothing", plan4With(1, "0,5,16"), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 2: Anzahl, Spalten und Zeilen sind fehlerhaft."},
        BadPlan{"FewerLinesThanTheHeaderSays", plan4CutAfter(8), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 10: der Plan endet nach 7 von 8 Zeilen."},
        BadPlan{"HeaderCountsTooMany", plan4With(1, "9,5,16"), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 11: der Plan endet nach 8 von 9 Zeilen."},
        // A count far beyond any file is refused like a small one; that no room is taken for it is
        // replayed by the fuzz seed datafiles/ko-header-counts-millions.
        BadPlan{"HeaderCountsBillions", plan4With(1, "2000000000,5,16"), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 11: der Plan endet nach 8 von 2000000000 Zeilen."},
        BadPlan{"NineFields", plan4With(4, "3,1,2,1,1,0,1,2,2"), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 5: weniger als zehn Felder."},
        BadPlan{"EmptyLine", plan4With(5, ""), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 6: weniger als zehn Felder."},
        BadPlan{"FieldNotANumber", plan4With(6, "4,1,2,0,0,0,1,2,11,x13"), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 7: das Feld \"x13\" ist keine ganze Zahl."},
        BadPlan{"EmptyField", plan4With(6, "4,1,,0,0,0,1,2,11,13"), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 7: das Feld \"\" ist keine ganze Zahl."},
        BadPlan{"CommaAtTheEnd", plan4With(6, "4,1,2,0,0,0,1,2,11,13,"), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 7: das Feld \"\" ist keine ganze Zahl."},
        BadPlan{"MatchNumberRepeated", plan4With(6, "3,1,2,0,0,0,1,2,11,13"), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 7: Spielnummer 4 erwartet."},
        BadPlan{"FirstStageTooShort", plan4With(3, "2,1,1,1,1,0,0,1,5,7"), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 4: Spiel 2 muss seine Spieler aus der Auslosung nehmen."},
        BadPlan{"DrawAfterTheFirstStage", plan4With(4, "3,-1,-1,-3,-3,0,1,2,2,6"), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 5: Spiel 3 darf seine Spieler nicht aus der Auslosung nehmen."},
        BadPlan{"SourceAfterTheMatch", plan4With(7, "5,4,6,1,0,0,2,3,12,16"), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 8: Spiel 5 nimmt einen Spieler aus einem Spiel, das nicht vor ihm steht."},
        BadPlan{"SourceItself", plan4With(7, "5,5,3,1,0,0,2,3,12,16"), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 8: Spiel 5 nimmt einen Spieler aus einem Spiel, das nicht vor ihm steht."},
        // every winner and loser moves on into one later match at most, and only one final
        BadPlan{"WinnerFeedsTwoMatches", plan4With(8, "6,3,4,1,1,0,3,4,4,14"), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 9: der Sieger von Spiel 4 spielt schon in Spiel 5 weiter."},
        BadPlan{"WinnerTakenTwiceByOneMatch", plan4With(4, "3,1,1,1,1,0,1,2,2,6"), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 5: der Sieger von Spiel 1 spielt schon in Spiel 3 weiter."},
        BadPlan{"LoserFeedsTwoMatches", plan4With(7, "5,4,1,1,0,0,2,3,12,16"), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 8: der Verlierer von Spiel 1 spielt schon in Spiel 4 weiter."},
        BadPlan{"TwoFinals", plan4With(8, "6,3,4,1,0,0,3,4,4,14"), 4, Problem::Damaged,
                BAD_PLAN(
                    4) "Zeile 8: der Sieger von Spiel 5 spielt nicht weiter, aber Spiel 6 ist das Endspiel."},
        BadPlan{"LabelInsideText", QByteArray(kPlan4).replace("4:", "Plan 4: doppeltes KO"), 4,
                Problem::Missing, "Die Datei \"ko_system.txt\" enthält keinen Plan für 4 Teilnehmer."},
        BadPlan{"StrayLargerLabel", QByteArray(kPlan4).replace("4:", "64:"), 4, Problem::Missing,
                "Die Datei \"ko_system.txt\" enthält keinen Plan für 4 Teilnehmer."},
        BadPlan{"CaptionOfNoMatch", plan4With(9, "-1,7,-1,1,0,0,4,5,9,9"), 4, Problem::Damaged,
                BAD_PLAN(4) "Zeile 10: die Beschriftung nennt Spiel 7, das es nicht gibt."},
        // the block of 4 read for 8 slots: its two first-stage matches are too few
        BadPlan{"TooFewForTheSize", QByteArray(kPlan4).replace("4:", "8:"), 8, Problem::Damaged,
                BAD_PLAN(8) "Zeile 5: Spiel 3 muss seine Spieler aus der Auslosung nehmen."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DataFileReading, AFileThatCannotBeOpenedIsNamedInTheError) {
    ScheduleReader schedules;
    EXPECT_FALSE(schedules.read(QStringLiteral("/nonexistent/fehlt.txt"), 4).has_value());
    EXPECT_EQ(schedules.problem(), Problem::Unreadable);
    EXPECT_EQ(text(schedules.errorString()), "Die Datei \"fehlt.txt\" kann nicht gelesen werden.");

    KoPlanReader plans;
    EXPECT_FALSE(plans.read(QStringLiteral("/nonexistent/ko_system.txt"), 4).has_value());
    EXPECT_EQ(plans.problem(), Problem::Unreadable);
    EXPECT_EQ(text(plans.errorString()), "Die Datei \"ko_system.txt\" kann nicht gelesen werden.");
}

struct SplitCase {
    const char* name;
    const char* line;
    char delimiter;
    std::vector<std::string> items;
};

class SplitItems : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitItems, SeparatesByDelimiterBlanksAndControlCharacters) {
    const SplitCase& c = GetParam();
    std::vector<std::string> items;
    for (const QString& item : datafiles::splitItems(QString::fromUtf8(c.line), QLatin1Char(c.delimiter)))
        items.push_back(item.toStdString());
    EXPECT_EQ(items, c.items);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitItems,
    ::testing::Values(SplitCase{"Plain", "1-2;3-4", ';', {"1-2", "3-4"}},
                      SplitCase{"BlanksAroundDelimiters", "  1-2 ;\t3-4  ", ';', {"1-2", "3-4"}},
                      SplitCase{"BlankAlone", "1 2,3", ',', {"1", "2", "3"}},
                      SplitCase{"EmptyBetween", "1,,2", ',', {"1", "", "2"}},
                      SplitCase{"EmptyAtTheEnd", "1,2,", ',', {"1", "2", ""}},
                      SplitCase{"Quoted", "\"a b\",\"say \"\"hi\"\"\",c", ',', {"a b", "say \"hi\"", "c"}},
                      SplitCase{"EmptyLine", "", ',', {}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

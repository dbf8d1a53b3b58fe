#include "draw/teamsystem.h"
#include "draw/teamsystemeingabe.h"

#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <optional>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const TeamRubber& r, std::ostream* os) {
    *os << '(' << (r.a ? std::to_string(*r.a) : "NULL") << ", " << (r.b ? std::to_string(*r.b) : "NULL")
        << ')';
}
inline void PrintTo(const TeamSystem& s, std::ostream* os) {
    *os << s.spieler << " players, " << s.reserve << " reserves:";
    for (const TeamRubber& r : s.spiele) {
        *os << ' ';
        PrintTo(r, os);
    }
}

namespace {

using teamsystem::Seite;
using Code = std::optional<int>;
const QString kUngueltig = QStringLiteral("Geben Sie einen gültigen Spieler ein");

TeamSystem makeSystem(int spieler, int reserve, std::initializer_list<std::pair<Code, Code>> rubbers) {
    TeamSystem s;
    s.spieler = spieler;
    s.reserve = reserve;
    int k = 0;
    for (const auto& [a, b] : rubbers)
        s.spiele[k++] = {a, b};
    return s;
}

// A tournament with two team classes; class 11's row must survive every write to class 10.
class TeamsystemDb : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        db().exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, system, kbezeichnung) VALUES "
                                 "(10, 1, 3, 'Herren'), (11, 1, 3, 'Damen')"));
        teamsystem::einfuegen(db(), 1, 11, other);
    }

    // The 18 rubber columns of a class as stored, NULL as nothing.
    std::vector<Code> storedCodes(int kid) {
        const Row r = db().selectOne(QStringLiteral("SELECT * FROM Teamsystem WHERE KID=:k"), {{":k", kid}});
        std::vector<Code> codes;
        for (int k = 1; k <= teamsystem::kSpiele; ++k)
            for (const char side : {'a', 'b'}) {
                const QString column = QStringLiteral("s%1%2").arg(k).arg(QLatin1Char(side));
                codes.push_back(r.isNull(column) ? Code() : Code(r.integer(column)));
            }
        return codes;
    }

    int rowCount(int kid) {
        return int(
            db().select(QStringLiteral("SELECT * FROM Teamsystem WHERE KID=:k"), {{":k", kid}}).size());
    }

    const TeamSystem other = makeSystem(2, 0, {{1, 2}, {11, 11}});
    ScriptedInteraction ui;
};

// A team system stored with the class is read back with the same codes; a rubber with one side only is
// stored as NULL on both sides and is no rubber.
struct StoreCase {
    const char* what;
    TeamSystem system;
    std::vector<Code> columns; // s1a, s1b, s2a, ... as they must be stored
    int rubbers;
};

class TeamsystemStore : public TeamsystemDb {};

TEST_P(TeamsystemStore, CodesAreStoredAndLoadedOnBothWriteStatements) {
    const Code n;
    const StoreCase cases[] = {
        {"singles positions A1..A4 against B4..B1",
         makeSystem(4, 2, {{1, 4}, {2, 3}, {3, 2}, {4, 1}}),
         {1, 4, 2, 3, 3, 2, 4, 1, n, n, n, n, n, n, n, n, n, n},
         4},
        {"doubles pairs: D2 against A2 is 12 and 2",
         makeSystem(3, 1, {{11, 12}, {12, 2}, {2, 11}}),
         {11, 12, 12, 2, 2, 11, n, n, n, n, n, n, n, n, n, n, n, n},
         3},
        {"one-sided rubbers are NULL on both sides and leave gaps",
         makeSystem(4, 0, {{1, 1}, {2, n}, {n, 3}, {11, 12}, {n, n}, {n, n}, {n, n}, {n, n}, {4, 4}}),
         {1, 1, n, n, n, n, 11, 12, n, n, n, n, n, n, n, n, 4, 4},
         3},
        {"all nine rubbers",
         makeSystem(2, 2, {{1, 2}, {2, 1}, {11, 11}, {1, 1}, {2, 2}, {12, 12}, {1, 2}, {2, 1}, {11, 12}}),
         {1, 2, 2, 1, 11, 11, 1, 1, 2, 2, 12, 12, 1, 2, 2, 1, 11, 12},
         9},
    };
    enum class Write { Insert, Update, SpeichernNew, SpeichernExisting };
    for (const Write write : {Write::Insert, Write::Update, Write::SpeichernNew, Write::SpeichernExisting}) {
        for (const StoreCase& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << " / write " << int(write));
            db().exec(QStringLiteral("DELETE FROM Teamsystem WHERE KID=10"));
            switch (write) {
            case Write::Insert:
                teamsystem::einfuegen(db(), 1, 10, c.system);
                break;
            case Write::Update:
                teamsystem::einfuegen(db(), 1, 10,
                                      makeSystem(4, 2, {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {11, 11}}));
                teamsystem::aendern(db(), 1, 10, c.system);
                break;
            case Write::SpeichernNew:
                ASSERT_TRUE(teamsystem::speichern(db(), ui, 1, 10, c.system));
                break;
            case Write::SpeichernExisting:
                teamsystem::einfuegen(db(), 1, 10, makeSystem(1, 0, {{11, 1}}));
                ASSERT_TRUE(teamsystem::speichern(db(), ui, 1, 10, c.system));
                break;
            }
            EXPECT_EQ(rowCount(10), 1);
            EXPECT_EQ(storedCodes(10), c.columns);
            const Row r = db().selectOne(QStringLiteral("SELECT * FROM Teamsystem WHERE KID=10"));
            EXPECT_EQ(r.integer(u"TID"), 1);
            EXPECT_EQ(r.integer(u"spieler"), c.system.spieler);
            EXPECT_EQ(r.integer(u"reserve"), c.system.reserve);
            EXPECT_EQ(r.columnCount(), 23);
            EXPECT_TRUE(r.at(22).isNull());

            const TeamSystem loaded = teamsystem::laden(db(), 10);
            EXPECT_EQ(loaded.spieler, c.system.spieler);
            EXPECT_EQ(loaded.reserve, c.system.reserve);
            EXPECT_EQ(loaded.rubberCount(), c.rubbers);
            for (int k = 0; k < teamsystem::kSpiele; ++k) {
                const TeamRubber& written = c.system.spiele[k];
                const TeamRubber expected = written.exists() ? written : TeamRubber{};
                EXPECT_EQ(loaded.spiele[k], expected) << "rubber " << k + 1;
            }
            EXPECT_EQ(teamsystem::laden(db(), 11), other) << "the other class's row is untouched";
        }
    }
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_P(TeamsystemStore, AClassWithoutRowLoadsANewClassesSystem) {
    EXPECT_FALSE(teamsystem::vorhanden(db(), 10));
    EXPECT_EQ(teamsystem::laden(db(), 10), TeamSystem{});
    EXPECT_EQ(TeamSystem{}.rubberCount(), 0);
}

// A code that names a position beyond the team size, or nobody, is refused with the warning and nothing is
// written: neither a new row nor a change of the stored one.
struct RefusedCase {
    const char* what;
    TeamSystem system;
};

class TeamsystemRefused : public TeamsystemDb {};

TEST_P(TeamsystemRefused, ACodeOutsideTheTeamSizeIsRefusedAndNothingWritten) {
    const Code n;
    const RefusedCase cases[] = {
        {"A4 in a team of three", makeSystem(3, 0, {{1, 1}, {4, 2}})},
        {"B3 in a team of two", makeSystem(2, 0, {{n, n}, {1, 3}})},
        {"a third doubles pair", makeSystem(4, 0, {{13, 11}})},
        {"position 0", makeSystem(4, 0, {{0, 1}})},
        {"any single in a team without players", makeSystem(0, 0, {{11, 12}, {1, 11}})},
        {"one-sided, still a wrong code", makeSystem(2, 0, {{n, 4}})},
    };
    const TeamSystem stored = makeSystem(4, 1, {{1, 2}});
    for (const bool existing : {false, true}) {
        for (const RefusedCase& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << (existing ? " / stored row" : " / no row"));
            db().exec(QStringLiteral("DELETE FROM Teamsystem WHERE KID=10"));
            if (existing) teamsystem::einfuegen(db(), 1, 10, stored);
            ui.clear();

            EXPECT_FALSE(teamsystem::speichern(db(), ui, 1, 10, c.system));

            ASSERT_EQ(ui.messages.size(), 1);
            EXPECT_EQ(ui.messages[0].text, kUngueltig);
            EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Warning);
            EXPECT_EQ(ui.messages[0].button, Interaction::Button::Cancel);
            EXPECT_EQ(rowCount(10), existing ? 1 : 0);
            if (existing) {
                EXPECT_EQ(teamsystem::laden(db(), 10), stored);
            }
        }
    }
}

VELMORA_INSTANTIATE_DB_TEST(TeamsystemStore);
VELMORA_INSTANTIATE_DB_TEST(TeamsystemRefused);

// The texts of the boxes and the codes they stand for.
struct CodeCase {
    QString text;
    int spieler;
    Seite seite;
    Code code;
};

TEST(TeamsystemCodes, ATextIsACodeOnlyWhenItIsAChoiceOfTheTeamSize) {
    const Code none;
    const CodeCase cases[] = {
        {"A1", 4, Seite::A, 1},     {"A4", 4, Seite::A, 4},    {"B4", 4, Seite::B, 4},
        {"a3", 3, Seite::A, 3},     {" D2 ", 1, Seite::B, 12}, {"D1", 0, Seite::A, 11},
        {"d2", 0, Seite::B, 12},    {"A4", 3, Seite::A, none}, {"B1", 4, Seite::A, none},
        {"A1", 4, Seite::B, none},  {"A1", 0, Seite::A, none}, {"D3", 4, Seite::A, none},
        {"A0", 4, Seite::A, none},  {"", 4, Seite::A, none},   {"A", 4, Seite::A, none},
        {"A12", 4, Seite::A, none},
    };
    for (const CodeCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << '"' << c.text.toStdString() << "\" with " << c.spieler << " players");
        EXPECT_EQ(teamsystem::codeOf(c.text, c.spieler, c.seite), c.code);
        if (c.code) {
            // Every code is written back as the text of its choice.
            EXPECT_EQ(teamsystem::codeOf(teamsystem::codeText(*c.code, c.seite), c.spieler, c.seite), c.code);
        }
    }
}

TEST(TeamsystemCodes, TheChoicesFollowTheTeamSize) {
    EXPECT_EQ(teamsystem::choices(3, Seite::A), QStringList({"A1", "A2", "A3", "D1", "D2"}));
    EXPECT_EQ(teamsystem::choices(1, Seite::B), QStringList({"B1", "D1", "D2"}));
    EXPECT_EQ(teamsystem::choices(0, Seite::A), QStringList({"D1", "D2"}));
    EXPECT_EQ(teamsystem::choices(9, Seite::B), QStringList({"B1", "B2", "B3", "B4", "D1", "D2"}));
}

// The dialog's state: the team size and the reserves are kept in their ranges, and leaving a box keeps
// a choice and refuses anything else.
struct ClampCase {
    int typed;
    int spieler;
    int reserve;
};

TEST(TeamsystemEingabe, SizesAreKeptInTheirRanges) {
    const ClampCase cases[] = {{-3, 0, 0}, {0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 2}, {4, 4, 2}, {7, 4, 2}};
    ScriptedInteraction ui;
    TeamsystemEingabe e(ui);
    for (const ClampCase& c : cases) {
        SCOPED_TRACE(c.typed);
        e.setSpieler(c.typed);
        e.setReserve(c.typed);
        EXPECT_EQ(e.spieler(), c.spieler);
        EXPECT_EQ(e.reserve(), c.reserve);
        EXPECT_EQ(e.choices(Seite::A).size(), c.spieler + 2);
    }
}

struct LeaveCase {
    QString typed;
    bool accepted;
    QString shown; // the box's text after it is left
};

TEST(TeamsystemEingabe, LeavingABoxKeepsAChoiceAndRefusesOtherText) {
    const LeaveCase cases[] = {
        {"A2", true, "A2"}, {"a3", true, "A3"}, {" d1", true, "D1"}, {"", true, ""},   {"   ", true, ""},
        {"A4", false, ""},  {"B1", false, ""},  {"D3", false, ""},   {"x", false, ""},
    };
    for (const LeaveCase& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        ScriptedInteraction ui;
        TeamsystemEingabe e(ui);
        e.setSpieler(3);
        e.setText(Seite::A, 4, c.typed);
        EXPECT_EQ(e.verlassen(Seite::A, 4), c.accepted);
        EXPECT_EQ(e.text(Seite::A, 4), c.shown);
        EXPECT_EQ(ui.texts(), c.accepted ? QStringList() : QStringList({kUngueltig}));
    }
}

TEST(TeamsystemEingabe, ACheckStopsAtTheFirstRefusedBoxAndKeepsTheOthers) {
    ScriptedInteraction ui;
    TeamsystemEingabe e(ui);
    e.setSpieler(2);
    e.setText(Seite::A, 0, QStringLiteral("a1"));
    e.setText(Seite::B, 0, QStringLiteral("B2"));
    e.setText(Seite::A, 1, QStringLiteral("D2"));
    e.setText(Seite::B, 1, QStringLiteral("B3"));
    e.setText(Seite::A, 2, QStringLiteral("A4"));

    const auto refused = e.pruefen();
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->first, Seite::B);
    EXPECT_EQ(refused->second, 1);
    EXPECT_EQ(ui.texts(), QStringList({kUngueltig}));
    EXPECT_EQ(e.text(Seite::A, 0), QStringLiteral("A1"));
    EXPECT_EQ(e.text(Seite::B, 1), QString());
    EXPECT_EQ(e.text(Seite::A, 2), QStringLiteral("A4")) << "boxes after the refused one are checked later";

    const TeamSystem s = e.system();
    EXPECT_EQ(s.spiele[0], (TeamRubber{1, 2}));
    EXPECT_EQ(s.spiele[1], (TeamRubber{12, std::nullopt}));
    EXPECT_EQ(s.rubberCount(), 1);
}

TEST(TeamsystemEingabe, ShrinkingTheTeamTurnsPositionsBeyondItIntoNoRubber) {
    ScriptedInteraction ui;
    TeamsystemEingabe e(ui);
    e.zeigen(makeSystem(4, 2, {{4, 1}, {1, 4}, {11, 3}}));
    EXPECT_EQ(e.text(Seite::A, 0), QStringLiteral("A4"));
    EXPECT_EQ(e.text(Seite::B, 0), QStringLiteral("B1"));
    EXPECT_EQ(e.text(Seite::A, 2), QStringLiteral("D1"));
    EXPECT_EQ(e.system().rubberCount(), 3);

    e.setSpieler(3);
    const TeamSystem s = e.system();
    EXPECT_FALSE(s.spiele[0].exists());
    EXPECT_FALSE(s.spiele[1].exists());
    EXPECT_EQ(s.spiele[2], (TeamRubber{11, 3}));
    EXPECT_TRUE(ui.messages.isEmpty());
}

class TeamsystemEingabeDb : public TeamsystemDb {};

TEST_P(TeamsystemEingabeDb, LoadingShowsTheStoredCodesAsTexts) {
    const Code n;
    teamsystem::einfuegen(db(), 1, 10, makeSystem(3, 1, {{1, 3}, {12, 11}, {n, n}, {2, 12}}));
    ScriptedInteraction ui;
    TeamsystemEingabe e(ui);
    e.laden(db(), 10);
    EXPECT_EQ(e.kid(), 10);
    EXPECT_EQ(e.spieler(), 3);
    EXPECT_EQ(e.reserve(), 1);
    const QStringList expectedA = {"A1", "D2", "", "A2", "", "", "", "", ""};
    const QStringList expectedB = {"B3", "D1", "", "D2", "", "", "", "", ""};
    for (int k = 0; k < teamsystem::kSpiele; ++k) {
        EXPECT_EQ(e.text(Seite::A, k), expectedA[k]) << k;
        EXPECT_EQ(e.text(Seite::B, k), expectedB[k]) << k;
    }
}

VELMORA_INSTANTIATE_DB_TEST(TeamsystemEingabeDb);

} // namespace

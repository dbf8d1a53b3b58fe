#include "entries/klassen_alter.h"
#include "entries/klassen_fixture.h"

namespace {

using Icon = Interaction::Icon;

struct SaveCase {
    const char* id;
    friend void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.id; }
    AltersklassenEingabe input;
    const char* message; // nullptr: saved
    QDate von;
    QDate bis;
};

const QDate k1990(1990, 1, 1);
const QDate k1993(1993, 12, 31);
const char* const kNoDate = "Sie haben kein gültiges Datum eingegeben (tt.mm.jjjj)";

class AgeClassSave : public EngineCases<SaveCase> {};

TEST_P(AgeClassSave, StoresValidInputAndRefusesTheRest) {
    const SaveCase& c = param();
    Altersklassenverwaltung a(state, db(), ui);

    const auto saved = a.save(c.input);

    if (c.message) {
        EXPECT_FALSE(saved.has_value());
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(ui.messages[0].icon, Icon::Warning);
        EXPECT_EQ(db().selectOne("SELECT COUNT(*) AS n FROM Altersklasse").integer(u"n"), 0);
        return;
    }
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.texts().join(u'\n').toStdString();
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(*saved, c.input.name.trimmed());
    const auto stored = a.find(*saved);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->name, c.input.name.trimmed());
    EXPECT_EQ(stored->von, c.von);
    EXPECT_EQ(stored->bis, c.bis);
    EXPECT_EQ(stored->aelter, c.input.aelter);
    EXPECT_EQ(stored->juenger, c.input.juenger);
    const Row raw = db().selectOne("SELECT * FROM Altersklasse");
    EXPECT_EQ(raw.integer(u"TID"), 1);
    EXPECT_EQ(raw.isNull(u"von"), !c.von.isValid());
    EXPECT_EQ(raw.isNull(u"bis"), !c.bis.isValid());
}

const SaveCase kSaveCases[] = {
    {"BothBounds", {"Jugend", "1.1.1990", "31.12.1993", false, false}, nullptr, k1990, k1993},
    {"LeadingZerosAndBlanks",
     {" Jugend ", " 01.01.1990", "31.12.1993 ", false, false},
     nullptr,
     k1990,
     k1993},
    {"OneDay", {"Jahrgang", "1.1.1990", "1.1.1990", false, false}, nullptr, k1990, k1990},
    {"OlderWithoutBis", {"Senioren", "1.1.1990", "", true, false}, nullptr, k1990, {}},
    {"YoungerWithoutVon", {"Schüler", "", "31.12.1993", false, true}, nullptr, {}, k1993},
    {"QuotesAndUmlauts",
     {"U18 \"Mädchen\" O'Neill", "1.1.1990", "31.12.1993", false, false},
     nullptr,
     k1990,
     k1993},
    {"ReversedBounds",
     {"Jugend", "31.12.1993", "1.1.1990", false, false},
     "Das Datum \"von\" darf nicht nach dem Datum \"bis\" liegen",
     {},
     {}},
    {"NonexistentDay", {"Jugend", "31.02.2000", "1.1.2001", false, false}, kNoDate, {}, {}},
    {"NonexistentBis", {"Jugend", "1.1.2000", "29.02.2001", false, false}, kNoDate, {}, {}},
    {"MonthThirteen", {"Jugend", "1.13.2000", "1.1.2001", false, false}, kNoDate, {}, {}},
    {"TwoDigitYear", {"Jugend", "1.1.90", "31.12.1993", false, false}, kNoDate, {}, {}},
    {"Letters", {"Jugend", "gestern", "31.12.1993", false, false}, kNoDate, {}, {}},
    {"VonMissingWithoutYounger", {"Jugend", "", "31.12.1993", false, false}, kNoDate, {}, {}},
    {"BisMissingWithoutOlder", {"Jugend", "1.1.1990", "", false, false}, kNoDate, {}, {}},
    {"TypedVonMustBeADateEvenWhenYounger",
     {"Jugend", "32.1.1990", "31.12.1993", false, true},
     kNoDate,
     {},
     {}},
    {"OhneBeschraenkung",
     {"ohne Beschränkung", "1.1.1990", "31.12.1993", false, false},
     "Die Altersklasse \"ohne Beschränkung\" kann nicht geändert werden",
     {},
     {}},
    {"OhneBeschraenkungWithBlanks",
     {" ohne Beschränkung ", "", "", true, true},
     "Die Altersklasse \"ohne Beschränkung\" kann nicht geändert werden",
     {},
     {}},
    {"EmptyName",
     {"  ", "1.1.1990", "31.12.1993", false, false},
     "Sie müssen eine Bezeichnung für die Altersklasse eingeben",
     {},
     {}},
};
VELMORA_INSTANTIATE_ENGINE_CASES(AgeClassSave, kSaveCases);

class AgeClasses : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        openTournament(db(), state);
        db().exec("INSERT INTO Turnierdaten (TID, turniername) VALUES (2, 'Anderes')");
        db().exec("INSERT INTO Altersklasse VALUES (2, 'Jugend', NULL, NULL, 0, 0)");
    }
    int count(int tid) {
        return db()
            .selectOne("SELECT COUNT(*) AS n FROM Altersklasse WHERE TID=:t", {{":t", tid}})
            .integer(u"n");
    }
    AppState state;
    ScriptedInteraction ui;
};

TEST_P(AgeClasses, SavingAnExistingNameUpdatesItInItsOwnTournamentOnly) {
    Altersklassenverwaltung a(state, db(), ui);
    ASSERT_TRUE(a.save({"Jugend", "1.1.1990", "31.12.1993", false, false}));
    ASSERT_TRUE(a.save({"Jugend", "1.1.1995", "", true, false}));

    EXPECT_EQ(count(1), 1);
    const auto j = a.find("Jugend");
    ASSERT_TRUE(j);
    EXPECT_EQ(j->von, QDate(1995, 1, 1));
    EXPECT_FALSE(j->bis.isValid());
    EXPECT_TRUE(j->aelter);
    EXPECT_FALSE(j->juenger);
    state.tid = 2;
    const auto other = a.find("Jugend");
    ASSERT_TRUE(other);
    EXPECT_FALSE(other->von.isValid());
    EXPECT_FALSE(other->aelter);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_P(AgeClasses, DeleteRemovesTheAgeClassAndItsClassesAdmitEverybody) {
    Altersklassenverwaltung a(state, db(), ui);
    ASSERT_TRUE(a.save({"Jugend", "1.1.1990", "31.12.1993", false, false}));
    Klassenverwaltung k(state, db(), ui);
    KlassenFormular f = validForm("Jungen");
    f.altersklasse = "Jugend";
    const int kid = k.save(f, 0).kid;
    ASSERT_TRUE(ageClassOfClass(db(), kid).has_value());

    EXPECT_TRUE(a.remove("Jugend"));

    EXPECT_FALSE(a.find("Jugend").has_value());
    EXPECT_EQ(count(1), 0);
    EXPECT_EQ(count(2), 1);
    EXPECT_EQ(k.load(kid).altersklasse, "Jugend");
    EXPECT_FALSE(ageClassOfClass(db(), kid).has_value());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_P(AgeClasses, OhneBeschraenkungCannotBeDeleted) {
    // Even a stored row of that name stays: the entry stands for "no restriction" and is not edited.
    db().exec("INSERT INTO Altersklasse VALUES (1, 'ohne Beschränkung', NULL, NULL, 0, 0)");
    Altersklassenverwaltung a(state, db(), ui);

    EXPECT_FALSE(a.remove("ohne Beschränkung"));

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, "Die Altersklasse \"ohne Beschränkung\" kann nicht gelöscht werden");
    EXPECT_EQ(count(1), 1);
}

VELMORA_INSTANTIATE_DB_TEST(AgeClasses);

} // namespace

#include "entries/klassen.h"
#include "entries/klassen_fixture.h"

#include <functional>

namespace {

using Outcome = Klassenverwaltung::Outcome;
using Icon = Interaction::Icon;

// Every stored row of the class tables, so a refusal can be shown to have written nothing.
QStringList snapshot(Tdb_procedures& db) {
    QStringList out;
    for (const char* table : {"Turnierklassen", "Platten1", "Teamsystem"}) {
        for (const Row& r : db.select(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(table)))) {
            QStringList values;
            for (int i = 0; i < r.columnCount(); ++i)
                values << r.at(i).toString();
            out << QLatin1String(table) + u':' + values.join(u'|');
        }
    }
    out.sort();
    return out;
}

int countRows(Tdb_procedures& db, const QString& table, const QString& where, const Params& params = {}) {
    return db.selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM %1 WHERE %2").arg(table, where), params)
        .integer(u"n");
}

// ---------------------------------------------------------------------------------------------------
// Names are unique within a kind of the tournament.

struct NameCase {
    const char* id;
    friend void PrintTo(const NameCase& c, std::ostream* os) { *os << c.id; }
    int edit; // 0: a new class; otherwise the 1-based index into the stored classes below
    const char* name;
    int system;
    Outcome outcome;
    const char* message; // nullptr: no message
    Icon icon;
};

class ClassNames : public EngineCases<NameCase> {};

TEST_P(ClassNames, AreUniqueWithinTheirKind) {
    const NameCase& c = param();
    Klassenverwaltung k(state, db(), ui);
    const QList<int> stored = {k.save(validForm("Herren A"), 0).kid,
                               k.save(validForm("Jugend", klassen::Doppel), 0).kid,
                               k.save(validForm("Herren B"), 0).kid};
    db().exec("INSERT INTO Turnierdaten (TID, turniername) VALUES (2, 'Anderes')");
    state.tid = 2;
    ASSERT_EQ(k.save(validForm("Damen"), 0).outcome, Outcome::Saved);
    state.tid = 1;
    ASSERT_TRUE(ui.messages.isEmpty());
    const QStringList before = snapshot(db());

    const int kid = c.edit == 0 ? 0 : stored[c.edit - 1];
    const auto result = k.save(validForm(QString::fromUtf8(c.name), c.system), kid);

    EXPECT_EQ(result.outcome, c.outcome);
    if (c.message) {
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(ui.messages[0].icon, c.icon);
        EXPECT_EQ(snapshot(db()), before);
    } else {
        EXPECT_TRUE(ui.messages.isEmpty()) << ui.texts().join(u'\n').toStdString();
        EXPECT_EQ(k.lookupKid(QString::fromUtf8(c.name).trimmed(), c.system), result.kid);
        if (kid != 0) {
            EXPECT_EQ(result.kid, kid);
        }
    }
}

const NameCase kNameCases[] = {
    {"NewSameNameSameKind", 0, "Herren A", klassen::Einzel, Outcome::Refused,
     "Eine Klasse mit diesem Namen existiert bereits", Icon::Warning},
    {"NewSameNameAfterTrimming", 0, "  Herren A ", klassen::Einzel, Outcome::Refused,
     "Eine Klasse mit diesem Namen existiert bereits", Icon::Warning},
    {"NewSameNameOtherKind", 0, "Herren A", klassen::Doppel, Outcome::Saved, nullptr, Icon::None},
    {"NewNameOfAnotherTournament", 0, "Damen", klassen::Einzel, Outcome::Saved, nullptr, Icon::None},
    {"NewNameDifferingInCase", 0, "herren a", klassen::Einzel, Outcome::Saved, nullptr, Icon::None},
    {"KeepOwnName", 1, "Herren A", klassen::Einzel, Outcome::Saved, nullptr, Icon::None},
    {"RenameToNameOfOtherKind", 1, "Jugend", klassen::Einzel, Outcome::Saved, nullptr, Icon::None},
    {"RenameToTakenName", 3, "Herren A", klassen::Einzel, Outcome::DuplicateName,
     "Eine Klasse mit diesem Namen existiert bereits", Icon::None},
    {"ChangeKindWhereNameIsTaken", 2, "Herren A", klassen::Einzel, Outcome::DuplicateName,
     "Eine Klasse mit diesem Namen existiert bereits", Icon::None},
    {"ChangeKindKeepingFreeName", 2, "Jugend", klassen::Mixed, Outcome::Saved, nullptr, Icon::None},
};
VELMORA_INSTANTIATE_ENGINE_CASES(ClassNames, kNameCases);

// ---------------------------------------------------------------------------------------------------
// Every refusal of the save, with its exact text; nothing is written.

struct RefusalCase {
    const char* id;
    friend void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.id; }
    std::function<void(KlassenFormular&)> change;
    const char* message;
};

class ClassRefusals : public EngineCases<RefusalCase> {};

TEST_P(ClassRefusals, ShowTheirMessageAndWriteNothing) {
    Klassenverwaltung k(state, db(), ui);
    KlassenFormular f = validForm("Herren A");
    param().change(f);

    const auto result = k.save(f, 0);

    EXPECT_EQ(result.outcome, Outcome::Refused);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QString::fromUtf8(param().message));
    EXPECT_EQ(ui.messages[0].icon, Icon::Warning);
    EXPECT_TRUE(snapshot(db()).isEmpty());
    EXPECT_EQ(state.kid, 0);
}

const RefusalCase kRefusalCases[] = {
    {"EmptyName", [](KlassenFormular& f) { f.kbezeichnung = "   "; },
     "Sie müssen einen Klassennamen eingeben"},
    {"EmptyNameComesFirst",
     [](KlassenFormular& f) {
         f.kbezeichnung.clear();
         f.beginn = "99:99";
     },
     "Sie müssen einen Klassennamen eingeben"},
    {"UnknownAgeClass", [](KlassenFormular& f) { f.altersklasse = "Senioren"; },
     "Die angegebene Altersklasse existiert nicht"},
    {"EmptyAgeClass", [](KlassenFormular& f) { f.altersklasse.clear(); },
     "Die angegebene Altersklasse existiert nicht"},
    {"TimeOutOfRange", [](KlassenFormular& f) { f.beginn = "25:00"; }, "Geben Sie eine gültige Uhrzeit ein"},
    {"TimeMidnight", [](KlassenFormular& f) { f.beginn = "00:00"; }, "Geben Sie eine gültige Uhrzeit ein"},
    {"TimeLetters", [](KlassenFormular& f) { f.beginn = "neun"; }, "Geben Sie eine gültige Uhrzeit ein"},
    {"SixSets", [](KlassenFormular& f) { f.saetze = "6"; },
     "Geben Sie bitte eine Wert für Gewinnsätze <=5 ein"},
    {"TablesNotANumber", [](KlassenFormular& f) { f.platten = "zwei"; }, "Geben Sie eine gültige Zahl ein"},
    {"NoTables", [](KlassenFormular& f) { f.platten = "0"; }, "Geben Sie eine gültige Zahl ein"},
    {"FeeLetters", [](KlassenFormular& f) { f.gebuehr = "zehn"; },
     "Geben Sie eine gültige Startgebühr ein (z. B. 12,50)"},
    {"FeeNegative", [](KlassenFormular& f) { f.gebuehr = "-5"; },
     "Geben Sie eine gültige Startgebühr ein (z. B. 12,50)"},
    {"FeeThreeDecimals", [](KlassenFormular& f) { f.gebuehr = "12,505"; },
     "Geben Sie eine gültige Startgebühr ein (z. B. 12,50)"},
    {"FeeWithCurrency", [](KlassenFormular& f) { f.gebuehr = "12 €"; },
     "Geben Sie eine gültige Startgebühr ein (z. B. 12,50)"},
};
VELMORA_INSTANTIATE_ENGINE_CASES(ClassRefusals, kRefusalCases);

// ---------------------------------------------------------------------------------------------------
// Reading typed numbers and times.

struct FeeCase {
    const char* text;
    std::optional<double> value;
};

class FeeText : public ::testing::TestWithParam<FeeCase> {};

TEST_P(FeeText, ReadsGermanAmounts) {
    const auto v = klassen::parseFee(QString::fromUtf8(GetParam().text));
    ASSERT_EQ(v.has_value(), GetParam().value.has_value());
    if (v) {
        EXPECT_DOUBLE_EQ(*v, *GetParam().value);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FeeText,
                         ::testing::Values(FeeCase{"", 0.0}, FeeCase{"12", 12.0}, FeeCase{"12,5", 12.5},
                                           FeeCase{"12,50", 12.5}, FeeCase{" 7,05 ", 7.05},
                                           FeeCase{"12.50", 12.5}, FeeCase{"1.000", std::nullopt},
                                           FeeCase{"12,", std::nullopt}, FeeCase{",5", std::nullopt},
                                           FeeCase{"1e3", std::nullopt}));

TEST(FeeFormat, ShowsADecimalCommaAndCentsOnlyWhenNeeded) {
    EXPECT_EQ(klassen::formatFee(12.5), "12,50");
    EXPECT_EQ(klassen::formatFee(7.05), "7,05");
    EXPECT_EQ(klassen::formatFee(12), "12");
    EXPECT_EQ(klassen::formatFee(1500), "1500");
    EXPECT_EQ(klassen::formatFee(0), "0");
}

struct TimeCase {
    const char* text;
    bool accepted;
    QTime time; // invalid: stored as NULL
};

class StartTime : public ::testing::TestWithParam<TimeCase> {};

TEST_P(StartTime, IsReadAsHoursAndMinutes) {
    const auto t = klassen::parseStartTime(QString::fromUtf8(GetParam().text));
    ASSERT_EQ(t.has_value(), GetParam().accepted);
    if (t) {
        EXPECT_EQ(*t, GetParam().time);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartTime,
    ::testing::Values(TimeCase{"", true, QTime()}, TimeCase{"  ", true, QTime()},
                      TimeCase{"09:30", true, QTime(9, 30)}, TimeCase{"9:05", true, QTime(9, 5)},
                      TimeCase{"14.45", true, QTime(14, 45)}, TimeCase{"23:59", true, QTime(23, 59)},
                      TimeCase{"00:00", false, {}}, TimeCase{"0:00", false, {}}, TimeCase{"24:00", false, {}},
                      TimeCase{"12:60", false, {}}, TimeCase{"9", false, {}}, TimeCase{"9:5", false, {}}));

// ---------------------------------------------------------------------------------------------------
// What is stored and read back.

class ClassStore : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        openTournament(db(), state);
    }
    AppState state;
    ScriptedInteraction ui;
};

TEST_P(ClassStore, KeepsEveryFieldExactlyAndReadsItBack) {
    db().exec("INSERT INTO Altersklasse VALUES (1, 'Jugend „Ü18“', NULL, NULL, 0, 0)");
    Klassenverwaltung k(state, db(), ui);
    KlassenFormular f;
    f.system = klassen::Mixed;
    f.kbezeichnung = QStringLiteral("  O'Brien-Pokal \"Jugend\" – Größe é  ");
    f.kbeschreibung = QStringLiteral("Zwei Zeilen:\nÄrger & Ölförderung");
    f.spielberechtigung = QStringLiteral("nur TTVN-Mitglieder");
    f.mann = false;
    f.frau = true;
    f.gebuehr = QStringLiteral("12,5");
    f.min = QStringLiteral("4");
    f.max = QStringLiteral("24");
    f.saetze = QStringLiteral("4");
    f.platten = QStringLiteral("3");
    f.tische = {QStringLiteral("Tisch 1"), QStringLiteral("Halle B"), QStringLiteral("Tisch 3")};
    f.altersklasse = QStringLiteral("Jugend „Ü18“");
    f.atag = QDate(2024, 5, 5);
    f.beginn = QStringLiteral("9:05");

    const auto result = k.save(f, 0);
    ASSERT_EQ(result.outcome, Outcome::Saved) << ui.texts().join(u'\n').toStdString();
    EXPECT_EQ(state.kid, result.kid);

    const Row r = db().selectOne("SELECT * FROM Turnierklassen WHERE KID=:k", {{":k", result.kid}});
    EXPECT_EQ(r.integer(u"TID"), 1);
    EXPECT_EQ(r.text(u"kbezeichnung"), QStringLiteral("O'Brien-Pokal \"Jugend\" – Größe é"));
    EXPECT_DOUBLE_EQ(r.number(u"gebuehr"), 12.5);
    EXPECT_EQ(r.integer(u"mann"), 0);
    EXPECT_EQ(r.integer(u"frau"), db().trueValue());
    EXPECT_EQ(r.time(u"uhrzeit"), QTime(9, 5));
    EXPECT_EQ(r.date(u"atag"), QDate(2024, 5, 5));
    EXPECT_EQ(r.text(u"farbe"), "clCream");
    EXPECT_EQ(r.integer(u"platten"), 3);

    state.kid = 0;
    const KlassenFormular back = k.load(result.kid);
    EXPECT_EQ(state.kid, result.kid);
    EXPECT_EQ(back.system, klassen::Mixed);
    EXPECT_EQ(back.kbezeichnung, QStringLiteral("O'Brien-Pokal \"Jugend\" – Größe é"));
    EXPECT_EQ(back.kbeschreibung, f.kbeschreibung);
    EXPECT_EQ(back.spielberechtigung, f.spielberechtigung);
    EXPECT_FALSE(back.mann);
    EXPECT_TRUE(back.frau);
    EXPECT_EQ(back.gebuehr, "12,50");
    EXPECT_EQ(back.min, "4");
    EXPECT_EQ(back.max, "24");
    EXPECT_EQ(back.saetze, "4");
    EXPECT_EQ(back.platten, "3");
    EXPECT_EQ(back.tische, f.tische);
    EXPECT_EQ(back.altersklasse, f.altersklasse);
    EXPECT_EQ(back.atag, QDate(2024, 5, 5));
    EXPECT_EQ(back.beginn, "09:05");
}

TEST_P(ClassStore, EmptyStartTimeIsStoredAsNullAndReadBackEmpty) {
    Klassenverwaltung k(state, db(), ui);
    KlassenFormular f = validForm("Herren");
    f.beginn = QStringLiteral(" ");
    const int kid = k.save(f, 0).kid;
    ASSERT_NE(kid, 0);
    EXPECT_TRUE(
        db().selectOne("SELECT uhrzeit FROM Turnierklassen WHERE KID=:k", {{":k", kid}}).isNull(u"uhrzeit"));
    EXPECT_EQ(k.load(kid).beginn, "");
}

TEST_P(ClassStore, UpdateRewritesTheClassAndItsTablesAndKeepsItsColour) {
    Klassenverwaltung k(state, db(), ui);
    KlassenFormular f = validForm("Herren");
    f.platten = "3";
    f.tische = {"Tisch 1", "Tisch 2", "Tisch 3"};
    const int kid = k.save(f, 0).kid;
    const int other = k.save(validForm("Damen"), 0).kid;
    db().exec("UPDATE Turnierklassen SET farbe='clRed' WHERE KID=:k", {{":k", kid}});

    f.kbezeichnung = "Herren S";
    f.system = klassen::Doppel;
    f.gebuehr = "10";
    f.beginn = "";
    f.platten = "2";
    f.tische = {"Halle A", "Halle B"};
    const auto result = k.save(f, kid);

    ASSERT_EQ(result.outcome, Outcome::Saved);
    EXPECT_EQ(result.kid, kid);
    const Row r = db().selectOne("SELECT * FROM Turnierklassen WHERE KID=:k", {{":k", kid}});
    EXPECT_EQ(r.text(u"kbezeichnung"), "Herren S");
    EXPECT_EQ(r.integer(u"system"), klassen::Doppel);
    EXPECT_DOUBLE_EQ(r.number(u"gebuehr"), 10.0);
    EXPECT_TRUE(r.isNull(u"uhrzeit"));
    EXPECT_EQ(r.text(u"farbe"), "clRed");
    EXPECT_EQ(countRows(db(), "Turnierklassen", "TID=1"), 2);
    EXPECT_EQ(k.load(kid).tische, QStringList({"Halle A", "Halle B"}));
    EXPECT_EQ(k.load(other).tische, QStringList({"Tisch 1", "Tisch 2"}));
}

TEST_P(ClassStore, TablesFollowTheirCountAndAreStoredAsEntered) {
    Klassenverwaltung k(state, db(), ui);
    KlassenFormular f = validForm("Herren");
    f.platten = "3";
    f.tische = {"Tisch 1"}; // the count decides: missing names are added
    const int grown = k.save(f, 0).kid;
    f.kbezeichnung = "Damen";
    f.platten = "4";
    f.tische = {"Tisch 1", "", "Saal „Süd“", "Tisch 1"}; // names are not checked
    const int free = k.save(f, 0).kid;

    EXPECT_EQ(k.load(grown).tische, QStringList({"Tisch 1", "Tisch 2", "Tisch 3"}));
    EXPECT_EQ(k.load(free).tische, QStringList({"Tisch 1", "", "Saal „Süd“", "Tisch 1"}));
    EXPECT_EQ(countRows(db(), "Platten1", "KID=:k AND TID=1", {{":k", free}}), 4);
}

TEST_P(ClassStore, TeamClassesCarryTheirTeamSystem) {
    Klassenverwaltung k(state, db(), ui);
    KlassenFormular f = validForm("Mannschaft", klassen::Team);
    f.teamsystem.spieler = 3;
    f.teamsystem.reserve = 1;
    f.teamsystem.spiele[0].a = 1;
    f.teamsystem.spiele[0].b = 2;
    f.teamsystem.spiele[1].a = 12;
    f.teamsystem.spiele[1].b = 11;
    f.teamsystem.spiele[2].a = 3; // only one side: no rubber
    const int kid = k.save(f, 0).kid;

    const Row r = db().selectOne("SELECT * FROM Teamsystem WHERE KID=:k", {{":k", kid}});
    EXPECT_EQ(r.integer(u"TID"), 1);
    EXPECT_EQ(r.integer(u"spieler"), 3);
    EXPECT_EQ(r.integer(u"reserve"), 1);
    EXPECT_EQ(r.integer(u"s1a"), 1);
    EXPECT_EQ(r.integer(u"s1b"), 2);
    EXPECT_EQ(r.integer(u"s2a"), 12);
    EXPECT_EQ(r.integer(u"s2b"), 11);
    EXPECT_TRUE(r.isNull(u"s3a"));
    EXPECT_TRUE(r.isNull(u"s3b"));

    TeamSystem expected = f.teamsystem;
    expected.spiele[2].a.reset();
    EXPECT_EQ(k.load(kid).teamsystem, expected);

    f.teamsystem.spieler = 4;
    ASSERT_EQ(k.save(f, kid).outcome, Outcome::Saved);
    EXPECT_EQ(countRows(db(), "Teamsystem", "KID=:k", {{":k", kid}}), 1);
    EXPECT_EQ(teamsystem::laden(db(), kid).spieler, 4);

    // A singles class that becomes a team class gets its row on that change.
    KlassenFormular single = validForm("Wird Team");
    const int changed = k.save(single, 0).kid;
    EXPECT_EQ(countRows(db(), "Teamsystem", "KID=:k", {{":k", changed}}), 0);
    single.system = klassen::Team;
    single.teamsystem.spieler = 2;
    ASSERT_EQ(k.save(single, changed).outcome, Outcome::Saved);
    EXPECT_EQ(teamsystem::laden(db(), changed).spieler, 2);
}

TEST_P(ClassStore, OverviewListsNamesPerKindInCreationOrderForTheOpenTournamentOnly) {
    db().exec("INSERT INTO Altersklasse VALUES (1, 'U18', NULL, NULL, 0, 0)");
    db().exec("INSERT INTO Altersklasse VALUES (1, 'Senioren', NULL, NULL, 0, 0)");
    db().exec("INSERT INTO Altersklasse VALUES (2, 'Fremd', NULL, NULL, 0, 0)");
    Klassenverwaltung k(state, db(), ui);
    const int b = k.save(validForm("B-Klasse"), 0).kid;
    const int d = k.save(validForm("Doppel A", klassen::Doppel), 0).kid;
    const int a = k.save(validForm("A-Klasse"), 0).kid;
    const int t = k.save(validForm("Team A", klassen::Team), 0).kid;
    // A change rewrites the row; the order stays that of creation.
    KlassenFormular renamed = validForm("B-Klasse neu");
    ASSERT_EQ(k.save(renamed, b).outcome, Outcome::Saved);
    db().exec("INSERT INTO Turnierklassen (KID, TID, system, kbezeichnung) VALUES (99, 2, 0, 'Fremd')");

    const auto lists = k.overview();
    auto names = [](const QList<Klassenverwaltung::Eintrag>& l) {
        QStringList n;
        for (const auto& e : l)
            n << e.name;
        return n;
    };
    EXPECT_EQ(names(lists[klassen::Einzel]), QStringList({"B-Klasse neu", "A-Klasse"}));
    EXPECT_EQ(lists[klassen::Einzel][0].kid, b);
    EXPECT_EQ(lists[klassen::Einzel][1].kid, a);
    EXPECT_EQ(names(lists[klassen::Doppel]), QStringList({"Doppel A"}));
    EXPECT_EQ(lists[klassen::Doppel][0].kid, d);
    EXPECT_TRUE(lists[klassen::Mixed].isEmpty());
    EXPECT_EQ(lists[klassen::Team][0].kid, t);
    EXPECT_EQ(k.ageClassNames(), QStringList({"Senioren", "U18", "ohne Beschränkung"}));
    EXPECT_EQ(k.firstDay(), QDate(2024, 5, 4));
    EXPECT_EQ(k.lookupKid("A-Klasse", klassen::Einzel), a);
    EXPECT_EQ(k.lookupKid("A-Klasse", klassen::Doppel), 0);
    EXPECT_EQ(k.lookupKid("Fremd", klassen::Einzel), 0);
}

// ---------------------------------------------------------------------------------------------------
// Deleting a class.

// Every table that holds rows of a class, with a statement that adds one row for class :k (number :n).
const QList<QPair<QString, QString>> kClassRows = {
    {"Spieler_im_Turnier", "INSERT INTO Spieler_im_Turnier VALUES (1, :k, :n)"},
    {"Schiri_im_turnier", "INSERT INTO Schiri_im_turnier VALUES (1, :n, :k)"},
    {"Platten", "INSERT INTO Platten VALUES (:k, 0, 'Tisch 1', :n)"},
    {"Import", "INSERT INTO Import VALUES ('Muster', 'Max', :k, 'TSV', :n)"},
    {"Doppelpartner", "INSERT INTO Doppelpartner VALUES (:k, :n, NULL, NULL)"},
    {"Teams", "INSERT INTO Teams (TID, KID, MID, teamname) VALUES (1, :k, :k * 100 + :n, 'Team')"},
    {"Gruppeneinstellungen", "INSERT INTO Gruppeneinstellungen (KID, phase1) VALUES (:k, :n)"},
    {"Gesetzt", "INSERT INTO Gesetzt VALUES (:k, :n, 0, 0)"},
    {"Gruppen", "INSERT INTO Gruppen (KID, GID, pos, SID) VALUES (:k, 0, :n, -1)"},
    {"Spielplan", "INSERT INTO Spielplan (KID, spielnummer, TID) VALUES (:k, :n, 1)"},
    {"Teamspiele", "INSERT INTO Teamspiele (KID, spielnummer, nummer, TID) VALUES (:k, 1, :n, 1)"},
    {"Tabellen", "INSERT INTO Tabellen (KID, GID, pos, SID) VALUES (:k, 0, :n, -1)"},
};

class ClassDelete : public ClassStore {
protected:
    // Two team classes with two rows of their own in every table that holds class rows.
    void fillTwoClasses() {
        Klassenverwaltung k(state, db(), ui);
        gone = k.save(validForm("Geht", klassen::Team), 0).kid;
        kept = k.save(validForm("Bleibt", klassen::Team), 0).kid;
        ASSERT_TRUE(gone && kept);
        for (const int kid : {gone, kept})
            for (int n = 1; n <= 2; ++n)
                for (const auto& [table, sql] : kClassRows)
                    db().exec(sql, {{":k", kid}, {":n", n}});
        db().exec("INSERT INTO Spielerdaten (TID, SID, nachname) VALUES (1, 1, 'Muster')");
        db().exec("INSERT INTO Altersklasse VALUES (1, 'U18', NULL, NULL, 0, 0)");
    }
    QStringList allClassTables() const {
        QStringList t = {"Turnierklassen", "Platten1", "Teamsystem"};
        for (const auto& entry : kClassRows)
            t << entry.first;
        return t;
    }
    int gone = 0;
    int kept = 0;
};

TEST_P(ClassDelete, RemovesEveryRowOfTheClassAndNothingElse) {
    fillTwoClasses();
    QMap<QString, int> keptBefore;
    for (const QString& table : allClassTables()) {
        ASSERT_GT(countRows(db(), table, "KID=:k", {{":k", gone}}), 0) << table.toStdString();
        keptBefore[table] = countRows(db(), table, "KID=:k", {{":k", kept}});
    }
    state.kid = gone;

    Klassenverwaltung(state, db(), ui).remove(gone);

    for (const QString& table : allClassTables()) {
        SCOPED_TRACE(table.toStdString());
        EXPECT_EQ(countRows(db(), table, "KID=:k", {{":k", gone}}), 0);
        EXPECT_EQ(countRows(db(), table, "KID=:k", {{":k", kept}}), keptBefore[table]);
    }
    EXPECT_EQ(countRows(db(), "Spielerdaten", "TID=1"), 1);
    EXPECT_EQ(countRows(db(), "Altersklasse", "TID=1"), 1);
    EXPECT_EQ(state.kid, 0);
    EXPECT_EQ(db().transactionDepth(), 0);
}

TEST_P(ClassDelete, AFailureHalfwayLeavesEveryRow) {
    fillTwoClasses();
    QMap<QString, int> before;
    const QStringList tables = allClassTables();
    for (const QString& table : tables)
        before[table] = countRows(db(), table, "KID=:k", {{":k", gone}});
    // The delete clears Turnierklassen, the settings, seeds, pairs, entries, matches and groups before it
    // reaches the standings; without that table it must fail there.
    db().exec("DROP TABLE Tabellen");

    EXPECT_THROW(Klassenverwaltung(state, db(), ui).remove(gone), DbError);

    EXPECT_EQ(db().transactionDepth(), 0);
    for (const QString& table : tables) {
        if (table == "Tabellen") continue;
        SCOPED_TRACE(table.toStdString());
        EXPECT_EQ(countRows(db(), table, "KID=:k", {{":k", gone}}), before[table]);
    }
}

VELMORA_INSTANTIATE_DB_TEST(ClassStore);
VELMORA_INSTANTIATE_DB_TEST(ClassDelete);

TEST(ClassCaption, IsTheNameAndTheKindInParentheses) {
    EXPECT_EQ(klassen::caption("Herren A", klassen::Einzel), "Herren A (Einzel)");
    EXPECT_EQ(klassen::caption("Herren A", klassen::Doppel), "Herren A (Doppel)");
    EXPECT_EQ(klassen::caption("Mix", klassen::Mixed), "Mix (Mixed)");
    EXPECT_EQ(klassen::caption("Liga", klassen::Team), "Liga (Team)");
}

} // namespace

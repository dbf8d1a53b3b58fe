#include "entries/schiri.h"

#include "store/appstate.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <functional>

namespace {

const QString kNachname = QStringLiteral("Bitte geben Sie einen Nachnamen ein");
const QString kVorname = QStringLiteral("Bitte geben Sie einen Vornamen ein");
const QString kDatum = QStringLiteral("Das Geburtsdatum wurde nicht korrekt eingegeben");
const QString kDoppelt = QStringLiteral("Ein Schiedsrichter mit diesem Namen existiert bereits");

// Tournament 1 with four classes of every kind, tournament 2 with one class and one umpire, so ids and
// lists must stay within the current tournament.
class SchiriTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        state.tid = 1;
        state.turniername = QStringLiteral("Stadtmeisterschaft");
        state.dbKind = GetParam();
        state.trueValue = db().trueValue();
        addClass(10, 1, 0, QStringLiteral("Herren A"));
        addClass(11, 1, 1, QStringLiteral("Herren A"));
        addClass(12, 1, 2, QStringLiteral("Mixed \"offen\""));
        addClass(13, 1, 3, QStringLiteral("Mannschaft"));
        addClass(20, 2, 0, QStringLiteral("Fremd"));
        addUmpire(2, 7, QStringLiteral("Anders"), QStringLiteral("Turnier"));
        verwaltung = std::make_unique<Schiriverwaltung>(state, db(), ui);
    }

    void addClass(int kid, int tid, int system, const QString& name) {
        db().exec(QStringLiteral(
                      "INSERT INTO Turnierklassen (KID, TID, system, kbezeichnung) VALUES (:k,:t,:s,:n)"),
                  {{":k", kid}, {":t", tid}, {":s", system}, {":n", name}});
    }

    void addUmpire(int tid, int id, const QString& nachname, const QString& vorname) {
        db().exec(QStringLiteral("INSERT INTO Schiri (TID, SCHIRIID, snname, svname, sverein, sangemeldet) "
                                 "VALUES (:t,:i,:n,:v,'TTC',0)"),
                  {{":t", tid}, {":i", id}, {":n", nachname}, {":v", vorname}});
    }

    void addPlayer(int tid, int sid, const QVariant& verein, const QVariant& kv, const QVariant& bv,
                   const QVariant& lv, const QVariant& land, const QVariant& klasse) {
        db().exec(QStringLiteral(
                      "INSERT INTO Spielerdaten (TID, SID, nachname, vorname, verein, kverband, bverband, "
                      "lverband, land, spklasse) VALUES (:t,:s,'N','V',:ve,:kv,:bv,:lv,:la,:kl)"),
                  {{":t", tid},
                   {":s", sid},
                   {":ve", verein},
                   {":kv", kv},
                   {":bv", bv},
                   {":lv", lv},
                   {":la", land},
                   {":kl", klasse}});
    }

    // Enters a new umpire the way the panel does and saves him.
    void saveNew(const SchiriFields& f, const QSet<int>& kids) {
        verwaltung->newUmpire();
        verwaltung->fields() = f;
        verwaltung->setSelectedClasses(kids);
        verwaltung->markChanged();
        verwaltung->save();
    }

    static SchiriFields person(const QString& nachname, const QString& vorname) {
        SchiriFields f;
        f.nachname = nachname;
        f.vorname = vorname;
        return f;
    }

    // Every umpire row and class row of the database, in a fixed order, to compare states.
    QStringList snapshot() {
        QStringList out;
        for (const Row& r : db().select(QStringLiteral("SELECT * FROM Schiri ORDER BY SCHIRIID"))) {
            QStringList cells;
            for (int i = 0; i < r.columnCount(); ++i)
                cells << r.at(i).toString();
            out << cells.join(u'|');
        }
        for (const Row& r :
             db().select(QStringLiteral("SELECT * FROM Schiri_im_turnier ORDER BY SCHIRIID, KID"))) {
            out << QStringLiteral("K %1 %2 %3")
                       .arg(r.integer(u"TID"))
                       .arg(r.integer(u"SCHIRIID"))
                       .arg(r.integer(u"KID"));
        }
        return out;
    }

    QList<int> classRows(int schiriId) {
        QList<int> kids;
        for (const Row& r :
             db().select(QStringLiteral("SELECT TID, KID FROM Schiri_im_turnier WHERE SCHIRIID=:s "
                                        "ORDER BY KID"),
                         {{":s", schiriId}})) {
            EXPECT_EQ(r.integer(u"TID"), 1);
            kids << r.integer(u"KID");
        }
        return kids;
    }

    int idOf(const QString& nachname, const QString& vorname) {
        return db()
            .selectOne(QStringLiteral("SELECT SCHIRIID FROM Schiri WHERE snname=:n AND svname=:v"),
                       {{":n", nachname}, {":v", vorname}})
            .integer(u"SCHIRIID");
    }

    AppState state;
    ScriptedInteraction ui;
    std::unique_ptr<Schiriverwaltung> verwaltung;
};

TEST_P(SchiriTest, OpeningListsTheTournamentsUmpiresAndClassesOnly) {
    addUmpire(1, 3, QStringLiteral("Zorn"), QStringLiteral("Eva"));
    addUmpire(1, 4, QStringLiteral("Abel"), QStringLiteral("Tom"));
    db().exec(QStringLiteral("UPDATE Schiri SET sangemeldet=:a, sverein='SV Nord' WHERE SCHIRIID=4"),
              {{":a", true}});
    verwaltung->open();

    ASSERT_EQ(verwaltung->entries().size(), 2);
    EXPECT_EQ(verwaltung->entries()[0].name, QStringLiteral("Zorn, Eva"));
    EXPECT_EQ(verwaltung->entries()[1].name, QStringLiteral("Abel, Tom"));
    EXPECT_EQ(verwaltung->entries()[1].schiriId, 4);
    EXPECT_EQ(verwaltung->entries()[1].verein, QStringLiteral("SV Nord"));
    EXPECT_TRUE(verwaltung->entries()[1].angemeldet);
    EXPECT_FALSE(verwaltung->entries()[0].angemeldet);

    QStringList texts;
    QList<int> kids;
    for (const SchiriClass& c : verwaltung->classes()) {
        texts << c.text;
        kids << c.kid;
    }
    EXPECT_EQ(texts, QStringList({"Herren A (Einzel)", "Herren A (Doppel)", "Mixed \"offen\" (Mixed)",
                                  "Mannschaft (Team)"}));
    EXPECT_EQ(kids, QList<int>({10, 11, 12, 13}));
    EXPECT_FALSE(verwaltung->saveEnabled());
    EXPECT_EQ(verwaltung->saveCaption(), QStringLiteral("Speichern"));
    EXPECT_EQ(verwaltung->selectedEntry(), -1);
}

TEST_P(SchiriTest, SaveWritesTheUmpireAndOneRowPerSelectedClass) {
    verwaltung->open();
    SchiriFields f = person(QStringLiteral("Groß"), QStringLiteral("Jörg"));
    f.geburtstag = QStringLiteral("5.3.1980");
    f.verein = QStringLiteral("   ");
    f.kverband = QStringLiteral(" KV Süd ");
    f.bverband = QStringLiteral("DTTB");
    f.lverband = QStringLiteral("BaTTV");
    f.land = QStringLiteral("Deutschland");
    f.spielklasse = QStringLiteral(" Kreisliga ");
    f.memo = QStringLiteral("  erste Zeile\nzweite Zeile  ");
    f.angemeldet = true;
    saveNew(f, {10, 12});

    EXPECT_TRUE(ui.messages.isEmpty());
    // Ids run across the whole database: the other tournament's umpire has 7.
    const Row r = db().selectOne(QStringLiteral("SELECT * FROM Schiri WHERE TID=1"));
    EXPECT_EQ(r.integer(u"SCHIRIID"), 8);
    EXPECT_EQ(r.text(u"snname"), QStringLiteral("Groß"));
    EXPECT_EQ(r.text(u"svname"), QStringLiteral("Jörg"));
    EXPECT_EQ(r.date(u"sgeb"), QDate(1980, 3, 5));
    EXPECT_EQ(r.text(u"sverein"), QStringLiteral("ohne Verein"));
    EXPECT_EQ(r.integer(u"sangemeldet"), db().trueValue());
    EXPECT_EQ(r.text(u"skverband"), QStringLiteral("KV Süd"));
    EXPECT_EQ(r.text(u"sbverband"), QStringLiteral("DTTB"));
    EXPECT_EQ(r.text(u"slverband"), QStringLiteral("BaTTV"));
    EXPECT_EQ(r.text(u"sland"), QStringLiteral("Deutschland"));
    EXPECT_EQ(r.text(u"smemo"), QStringLiteral("erste Zeile\nzweite Zeile"));
    EXPECT_EQ(r.text(u"sklasse"), QStringLiteral("Kreisliga"));
    EXPECT_EQ(classRows(8), QList<int>({10, 12}));

    ASSERT_EQ(verwaltung->entries().size(), 1);
    EXPECT_EQ(verwaltung->entries()[0].name, QStringLiteral("Groß, Jörg"));
    EXPECT_EQ(verwaltung->selectedEntry(), 0);
    EXPECT_EQ(verwaltung->loadedName(), QStringLiteral("Groß, Jörg"));
    EXPECT_FALSE(verwaltung->saveEnabled());
    EXPECT_EQ(verwaltung->fields().verein, QStringLiteral("ohne Verein"));
    EXPECT_TRUE(verwaltung->valueLists().vereine.contains(QStringLiteral("ohne Verein")));
    EXPECT_TRUE(verwaltung->valueLists().kverband.contains(QStringLiteral("KV Süd")));
    EXPECT_TRUE(verwaltung->valueLists().land.contains(QStringLiteral("Deutschland")));
}

TEST_P(SchiriTest, UpdateRewritesTheUmpireAndReplacesHisClasses) {
    verwaltung->open();
    SchiriFields f = person(QStringLiteral("Groß"), QStringLiteral("Jörg"));
    f.geburtstag = QStringLiteral("05.03.1980");
    saveNew(f, {10, 11});
    saveNew(person(QStringLiteral("Klein"), QStringLiteral("Ute")), {10});
    const int id = idOf(QStringLiteral("Groß"), QStringLiteral("Jörg"));
    ASSERT_EQ(classRows(id), QList<int>({10, 11}));

    verwaltung->choose(0);
    EXPECT_EQ(verwaltung->selectedClasses(), QSet<int>({10, 11}));
    EXPECT_EQ(verwaltung->saveCaption(), QStringLiteral("Änderung übernehmen"));
    verwaltung->fields().nachname = QStringLiteral("Großmann");
    verwaltung->fields().geburtstag.clear();
    verwaltung->fields().land = QStringLiteral("Österreich");
    verwaltung->setSelectedClasses({11});
    verwaltung->markChanged();
    EXPECT_EQ(verwaltung->saveCaption(), QStringLiteral("Änderung übernehmen"));
    verwaltung->save();

    EXPECT_TRUE(ui.messages.isEmpty());
    const Row r = db().selectOne(QStringLiteral("SELECT * FROM Schiri WHERE SCHIRIID=:i"), {{":i", id}});
    EXPECT_EQ(r.text(u"snname"), QStringLiteral("Großmann"));
    EXPECT_TRUE(r.isNull(u"sgeb"));
    EXPECT_EQ(r.text(u"sland"), QStringLiteral("Österreich"));
    EXPECT_EQ(classRows(id), QList<int>({11}));
    // The other umpire keeps his class.
    EXPECT_EQ(classRows(idOf(QStringLiteral("Klein"), QStringLiteral("Ute"))), QList<int>({10}));

    QStringList names;
    for (const SchiriEntry& e : verwaltung->entries())
        names << e.name;
    EXPECT_EQ(names, QStringList({"Klein, Ute", "Großmann, Jörg"}));
    EXPECT_EQ(verwaltung->entries()[verwaltung->selectedEntry()].schiriId, id);
    EXPECT_EQ(verwaltung->loadedName(), QStringLiteral("Großmann, Jörg"));
    EXPECT_FALSE(verwaltung->saveEnabled());
}

struct DeleteCase {
    const char* what;
    bool answer;
};

class SchiriDelete : public SchiriTest {};

TEST_P(SchiriDelete, DeletesTheSelectedUmpireWithHisClassesOnlyWhenConfirmed) {
    const DeleteCase cases[] = {{"answered No", false}, {"answered Yes", true}};
    verwaltung->open();
    saveNew(person(QStringLiteral("O'Neill"), QStringLiteral("Seán")), {10, 13});
    saveNew(person(QStringLiteral("Weiß"), QStringLiteral("Li")), {10});
    const int gone = idOf(QStringLiteral("O'Neill"), QStringLiteral("Seán"));
    const int kept = idOf(QStringLiteral("Weiß"), QStringLiteral("Li"));

    for (const DeleteCase& c : cases) {
        SCOPED_TRACE(c.what);
        ui.clear();
        const QStringList before = snapshot();
        verwaltung->choose(0);
        ui.answer(c.answer);
        verwaltung->remove();
        ASSERT_EQ(ui.questions,
                  QStringList({"Wollen Sie den Schiedsrichter \"O'Neill, Seán\" wirklich löschen?"}));
        if (!c.answer) {
            EXPECT_EQ(snapshot(), before);
            EXPECT_EQ(verwaltung->entries().size(), 2);
            EXPECT_EQ(verwaltung->fields().nachname, QStringLiteral("O'Neill"));
            continue;
        }
        EXPECT_TRUE(db().selectOne(QStringLiteral("SELECT * FROM Schiri WHERE SCHIRIID=:i"), {{":i", gone}})
                        .isEmpty());
        EXPECT_TRUE(classRows(gone).isEmpty());
        EXPECT_EQ(classRows(kept), QList<int>({10}));
        ASSERT_EQ(verwaltung->entries().size(), 1);
        EXPECT_EQ(verwaltung->entries()[0].schiriId, kept);
        EXPECT_EQ(verwaltung->selectedEntry(), -1);
        EXPECT_TRUE(verwaltung->selectedClasses().isEmpty());
        EXPECT_TRUE(verwaltung->fields().nachname.isEmpty());
        EXPECT_FALSE(verwaltung->saveEnabled());
        EXPECT_EQ(verwaltung->saveCaption(), QStringLiteral("Speichern"));
    }
    // The other tournament's umpire is untouched throughout.
    EXPECT_EQ(idOf(QStringLiteral("Anders"), QStringLiteral("Turnier")), 7);
}

TEST_P(SchiriDelete, DeleteAndUpdateActOnTheUmpireTheFieldsShowNotTheSearchedLine) {
    verwaltung->open();
    saveNew(person(QStringLiteral("Berg"), QStringLiteral("Ida")), {10});
    saveNew(person(QStringLiteral("Alm"), QStringLiteral("Udo")), {10});
    const int berg = idOf(QStringLiteral("Berg"), QStringLiteral("Ida"));
    const int alm = idOf(QStringLiteral("Alm"), QStringLiteral("Udo"));

    // Berg is loaded, then a search moves the selection to Alm's line without loading him.
    verwaltung->choose(0);
    ASSERT_EQ(verwaltung->loadedName(), QStringLiteral("Berg, Ida"));
    verwaltung->search(QStringLiteral("Al"));
    ASSERT_EQ(verwaltung->entries()[verwaltung->selectedEntry()].schiriId, alm);

    verwaltung->fields().memo = QStringLiteral("Hallenwart");
    verwaltung->markChanged();
    verwaltung->save();
    EXPECT_EQ(db().selectOne(QStringLiteral("SELECT smemo FROM Schiri WHERE SCHIRIID=:i"), {{":i", berg}}).text(u"smemo"),
              QStringLiteral("Hallenwart"));
    EXPECT_EQ(db().selectOne(QStringLiteral("SELECT snname FROM Schiri WHERE SCHIRIID=:i"), {{":i", alm}}).text(u"snname"),
              QStringLiteral("Alm"));

    verwaltung->search(QStringLiteral("Al"));
    ui.answer(true);
    verwaltung->remove();
    EXPECT_EQ(ui.questions, QStringList({"Wollen Sie den Schiedsrichter \"Berg, Ida\" wirklich löschen?"}));
    EXPECT_TRUE(db().selectOne(QStringLiteral("SELECT * FROM Schiri WHERE SCHIRIID=:i"), {{":i", berg}}).isEmpty());
    EXPECT_FALSE(db().selectOne(QStringLiteral("SELECT * FROM Schiri WHERE SCHIRIID=:i"), {{":i", alm}}).isEmpty());
}

TEST_P(SchiriDelete, WithoutSelectedEntryOrSurnameNothingIsAsked) {
    verwaltung->open();
    saveNew(person(QStringLiteral("Weiß"), QStringLiteral("Li")), {10});
    const QStringList before = snapshot();

    verwaltung->newUmpire(); // no entry selected
    verwaltung->fields() = person(QStringLiteral("Weiß"), QStringLiteral("Li"));
    verwaltung->remove();
    verwaltung->choose(0);
    verwaltung->fields().nachname = QStringLiteral("  ");
    verwaltung->remove();

    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_EQ(snapshot(), before);
}

// A statement failing inside each write: the database and the panel's state stay as they were.
struct FailCase {
    const char* what;
    std::function<void(ScriptedInteraction&, Schiriverwaltung&)> act;
};

class SchiriFailure : public SchiriTest {
protected:
    // Every further write to the class rows fails, as a broken connection or full disk would.
    void breakClassRows() {
        if (GetParam() == DbKind::File) {
            db().exec(QStringLiteral("CREATE TRIGGER sit_ins BEFORE INSERT ON Schiri_im_turnier "
                                     "BEGIN SELECT RAISE(ABORT, 'kaputt'); END"));
            db().exec(QStringLiteral("CREATE TRIGGER sit_del BEFORE DELETE ON Schiri_im_turnier "
                                     "BEGIN SELECT RAISE(ABORT, 'kaputt'); END"));
        } else {
            db().exec(QStringLiteral("CREATE FUNCTION sit_fail() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION "
                                     "'kaputt'; END $$ LANGUAGE plpgsql"));
            db().exec(QStringLiteral("CREATE TRIGGER sit_fail BEFORE INSERT OR DELETE ON Schiri_im_turnier "
                                     "FOR EACH ROW EXECUTE FUNCTION sit_fail()"));
        }
    }
};

TEST_P(SchiriFailure, AFailedWriteLeavesThePreviousState) {
    const FailCase cases[] = {{"insert",
                               [](ScriptedInteraction&, Schiriverwaltung& v) {
                                   v.newUmpire();
                                   v.fields() = person(QStringLiteral("Neu"), QStringLiteral("Nina"));
                                   v.setSelectedClasses({11});
                                   v.markChanged();
                               }},
                              {"update",
                               [](ScriptedInteraction&, Schiriverwaltung& v) {
                                   v.choose(0);
                                   v.fields().vorname = QStringLiteral("Anderer");
                                   v.setSelectedClasses({13});
                                   v.markChanged();
                               }},
                              {"delete", [](ScriptedInteraction& ui, Schiriverwaltung& v) {
                                   v.choose(0);
                                   ui.answer(true);
                               }}};

    verwaltung->open();
    saveNew(person(QStringLiteral("Alt"), QStringLiteral("Otto")), {10, 12});
    ASSERT_TRUE(ui.messages.isEmpty());
    breakClassRows();

    for (const FailCase& c : cases) {
        SCOPED_TRACE(c.what);
        c.act(ui, *verwaltung);
        const QStringList before = snapshot();
        const int entries = verwaltung->entries().size();
        const int selected = verwaltung->selectedEntry();
        const QString loaded = verwaltung->loadedName();
        const bool enabled = verwaltung->saveEnabled();
        const QString caption = verwaltung->saveCaption();

        if (QString::fromLatin1(c.what) == u"delete")
            EXPECT_THROW(verwaltung->remove(), DbError);
        else
            EXPECT_THROW(verwaltung->save(), DbError);

        EXPECT_EQ(db().transactionDepth(), 0);
        EXPECT_EQ(snapshot(), before);
        EXPECT_EQ(verwaltung->entries().size(), entries);
        EXPECT_EQ(verwaltung->selectedEntry(), selected);
        EXPECT_EQ(verwaltung->loadedName(), loaded);
        EXPECT_EQ(verwaltung->saveEnabled(), enabled);
        EXPECT_EQ(verwaltung->saveCaption(), caption);
    }
}

// Refusals: the exact message, and nothing written.
struct RefusalCase {
    const char* what;
    bool update; // edit the loaded "Meier, Anna" instead of entering a new umpire
    SchiriFields fields;
    QString message;
};

SchiriFields refusal(const char* nachname, const char* vorname, const char* geb = "") {
    SchiriFields f;
    f.nachname = QString::fromUtf8(nachname);
    f.vorname = QString::fromUtf8(vorname);
    f.geburtstag = QString::fromUtf8(geb);
    return f;
}

class SchiriRefusal : public SchiriTest {};

TEST_P(SchiriRefusal, RefusesWithTheExactMessageAndWritesNothing) {
    const RefusalCase cases[] = {
        {"surname empty", false, refusal("", "Anna"), kNachname},
        {"surname blank", false, refusal("   ", "Anna"), kNachname},
        {"both names empty: surname first", false, refusal("", ""), kNachname},
        {"first name blank", false, refusal("Meyer", " "), kVorname},
        {"day that does not exist", false, refusal("Meyer", "Udo", "31.02.2000"), kDatum},
        {"not a leap year", false, refusal("Meyer", "Udo", "29.02.2001"), kDatum},
        {"month 13", false, refusal("Meyer", "Udo", "01.13.1990"), kDatum},
        {"words", false, refusal("Meyer", "Udo", "gestern"), kDatum},
        {"name of an existing umpire", false, refusal("Meier", "Anna"), kDoppelt},
        {"update: surname empty", true, refusal("", "Anna"), kNachname},
        {"update: bad date", true, refusal("Meier", "Anna", "30.02.1999"), kDatum},
        {"update: name of another umpire", true, refusal("Schulz", "Bernd"), kDoppelt},
    };
    verwaltung->open();
    saveNew(person(QStringLiteral("Meier"), QStringLiteral("Anna")), {10});
    saveNew(person(QStringLiteral("Schulz"), QStringLiteral("Bernd")), {11});

    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.what);
        ui.clear();
        if (c.update) {
            verwaltung->choose(0);
            verwaltung->fields() = c.fields;
        } else {
            verwaltung->newUmpire();
            verwaltung->fields() = c.fields;
        }
        verwaltung->setSelectedClasses({12});
        verwaltung->markChanged();
        const QStringList before = snapshot();
        verwaltung->save();
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].text, c.message);
        EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
        EXPECT_EQ(snapshot(), before);
        EXPECT_EQ(verwaltung->entries().size(), 2);
        EXPECT_TRUE(verwaltung->saveEnabled()); // the edit can be corrected and saved again
    }
}

// Names are matched exactly as "surname, first name".
struct DuplicateCase {
    const char* what;
    bool update;
    const char* nachname;
    const char* vorname;
    bool accepted;
};

class SchiriDuplicate : public SchiriTest {};

TEST_P(SchiriDuplicate, NamesAreComparedExactly) {
    const DuplicateCase cases[] = {
        {"same name again", false, "Meier", "Anna", false},
        {"differs in letter case", false, "meier", "Anna", true},
        {"same surname, other first name", false, "Meier", "Anne", true},
        {"loaded umpire keeps his name", true, "Meier", "Anna", true},
        {"loaded umpire takes another's name", true, "Schulz", "Bernd", false},
        {"loaded umpire takes a free name", true, "Meier-Lang", "Anna", true},
    };
    for (const DuplicateCase& c : cases) {
        SCOPED_TRACE(c.what);
        db().exec(QStringLiteral("DELETE FROM Schiri WHERE TID=1"));
        db().exec(QStringLiteral("DELETE FROM Schiri_im_turnier"));
        verwaltung->open();
        saveNew(person(QStringLiteral("Meier"), QStringLiteral("Anna")), {});
        saveNew(person(QStringLiteral("Schulz"), QStringLiteral("Bernd")), {});
        ui.clear();
        if (c.update) {
            verwaltung->choose(0);
            verwaltung->fields().nachname = QString::fromUtf8(c.nachname);
            verwaltung->fields().vorname = QString::fromUtf8(c.vorname);
            verwaltung->fields().land = QStringLiteral("Schweiz");
            verwaltung->markChanged();
            verwaltung->save();
        } else {
            saveNew(person(QString::fromUtf8(c.nachname), QString::fromUtf8(c.vorname)), {});
        }
        const int umpires =
            db().selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM Schiri WHERE TID=1")).integer(u"n");
        const int named =
            db().selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM Schiri WHERE snname=:n AND svname=:v"),
                           {{":n", QString::fromUtf8(c.nachname)}, {":v", QString::fromUtf8(c.vorname)}})
                .integer(u"n");
        if (c.accepted) {
            EXPECT_TRUE(ui.messages.isEmpty());
            EXPECT_EQ(umpires, c.update ? 2 : 3);
            EXPECT_EQ(named, 1);
        } else {
            EXPECT_EQ(ui.texts(), QStringList({kDoppelt}));
            EXPECT_EQ(umpires, 2);
            EXPECT_EQ(named, 1);
            EXPECT_EQ(db().selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM Schiri WHERE sland='Schweiz'"))
                          .integer(u"n"),
                      0);
        }
    }
}

// The value lists offer what the tournament's players have entered: each value once, no empty values,
// alphabetical without regard to letter case and umlauts.
struct ValueListCase {
    const char* column;
    QStringList SchiriValueLists::*list;
};

class SchiriValueList : public SchiriTest {};

TEST_P(SchiriValueList, TakesDistinctNonEmptyPlayerValuesInAlphabeticalOrder) {
    const ValueListCase cases[] = {
        {"verein", &SchiriValueLists::vereine},    {"kverband", &SchiriValueLists::kverband},
        {"bverband", &SchiriValueLists::bverband}, {"lverband", &SchiriValueLists::lverband},
        {"land", &SchiriValueLists::land},         {"spklasse", &SchiriValueLists::spielklasse}};
    const QVariant values[] = {QStringLiteral("Zwickau"),
                               QStringLiteral("Öhringen"),
                               QStringLiteral("bamberg"),
                               QStringLiteral("Zwickau"),
                               QString(""),
                               QVariant(),
                               QStringLiteral("  "),
                               QStringLiteral("Aachen"),
                               QStringLiteral("D'Ort \"x\"")};
    for (const ValueListCase& c : cases) {
        SCOPED_TRACE(c.column);
        db().exec(QStringLiteral("DELETE FROM Spielerdaten"));
        int sid = 1;
        for (const QVariant& v : values) {
            QVariant cols[6] = {QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"),
                                QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-")};
            cols[&c - cases] = v;
            addPlayer(1, sid++, cols[0], cols[1], cols[2], cols[3], cols[4], cols[5]);
        }
        // Another tournament's player is not offered.
        QVariant other[6] = {"-", "-", "-", "-", "-", "-"};
        other[&c - cases] = QStringLiteral("Xanten");
        addPlayer(2, sid++, other[0], other[1], other[2], other[3], other[4], other[5]);

        verwaltung->open();
        EXPECT_EQ(verwaltung->valueLists().*c.list,
                  QStringList({"Aachen", "bamberg", "D'Ort \"x\"", "Öhringen", "Zwickau"}));
    }
}

TEST_P(SchiriValueList, ANewUmpiresValuesJoinTheListsInOrder) {
    addPlayer(1, 1, QStringLiteral("TTC Aue"), QStringLiteral("Erzgebirge"), QStringLiteral("DTTB"),
              QStringLiteral("Sachsen"), QStringLiteral("Deutschland"), QStringLiteral("Bezirksliga"));
    verwaltung->open();
    SchiriFields f = person(QStringLiteral("Neu"), QStringLiteral("Nils"));
    f.verein = QStringLiteral("ESV Zeitz");
    f.kverband = QStringLiteral("Burgenland");
    f.bverband = QStringLiteral("DTTB");
    f.lverband = QStringLiteral("Anhalt");
    f.land = QStringLiteral("Österreich");
    saveNew(f, {});
    const SchiriValueLists& v = verwaltung->valueLists();
    EXPECT_EQ(v.vereine, QStringList({"ESV Zeitz", "TTC Aue"}));
    EXPECT_EQ(v.kverband, QStringList({"Burgenland", "Erzgebirge"}));
    EXPECT_EQ(v.bverband, QStringList({"DTTB"}));
    EXPECT_EQ(v.lverband, QStringList({"Anhalt", "Sachsen"}));
    EXPECT_EQ(v.land, QStringList({"Deutschland", "Österreich"}));
}

struct SearchCase {
    const char* searchText;
    const char* expected; // the selected line afterwards, "" none
};

class SchiriSearch : public SchiriTest {};

TEST_P(SchiriSearch, SelectsTheFirstMatchingUmpireInNameOrder) {
    const SearchCase cases[] = {
        {"M", "Mahler, Xaver"},
        {"Mü", "Müller, Anna"},
        {"Müller", "Müller, Anna"},
        {"me", "Meier, Karl"},
        {"O'", "O'Hara, Liam"},
        {"Mai", ""}, // only in the other tournament
        {"Q", ""},
        {"Z", ""}, // Zander was added after the list was read
    };
    addUmpire(2, 30, QStringLiteral("Mai"), QStringLiteral("Zoe"));
    int id = 40;
    for (const auto& [n, v] : {std::pair{"Müller", "Hans"},
                               {"Müller", "Anna"},
                               {"Meier", "Karl"},
                               {"Mahler", "Xaver"},
                               {"O'Hara", "Liam"}})
        addUmpire(1, id++, QString::fromUtf8(n), QString::fromUtf8(v));
    verwaltung->open();
    addUmpire(1, 99, QStringLiteral("Zander"), QStringLiteral("Q"));

    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.searchText);
        verwaltung->setSelectedEntry(-1);
        const int index = verwaltung->search(QString::fromUtf8(c.searchText));
        EXPECT_EQ(verwaltung->searchText(), QString::fromUtf8(c.searchText));
        EXPECT_EQ(index, verwaltung->selectedEntry());
        EXPECT_EQ(index < 0 ? QString() : verwaltung->entries()[index].name, QString::fromUtf8(c.expected));
    }
}

TEST_P(SchiriSearch, ANotFoundSearchKeepsTheSelection) {
    addUmpire(1, 50, QStringLiteral("Berg"), QStringLiteral("Ida"));
    addUmpire(1, 51, QStringLiteral("Alm"), QStringLiteral("Udo"));
    verwaltung->open();
    verwaltung->choose(1);
    EXPECT_EQ(verwaltung->searchText(), QStringLiteral("Alm"));
    EXPECT_EQ(verwaltung->search(QStringLiteral("Almx")), 1);
    EXPECT_EQ(verwaltung->search(QStringLiteral("B")), 0);
}

// Names and texts with umlauts, accents, apostrophes and quotes come back exactly as typed.
class SchiriRoundTrip : public SchiriTest {};

TEST_P(SchiriRoundTrip, FieldsComeBackAsTyped) {
    const SchiriFields typed[] = {
        [] {
            SchiriFields f = person(QStringLiteral("Müller-Lüdenscheidt"), QStringLiteral("Änne"));
            f.verein = QStringLiteral("TTC „Grün-Weiß“ Öhringen");
            f.kverband = QStringLiteral("Hohenlohe");
            f.bverband = QStringLiteral("Württemberg");
            f.lverband = QStringLiteral("TTBW");
            f.land = QStringLiteral("Deutschland");
            f.spielklasse = QStringLiteral("Landesliga");
            f.memo = QStringLiteral("Zeile 1\nZeile \"2\"");
            f.geburtstag = QStringLiteral("29.02.1988");
            f.angemeldet = true;
            return f;
        }(),
        [] {
            SchiriFields f = person(QStringLiteral("D'Artagnan"), QStringLiteral("José \"Pepe\""));
            f.verein = QStringLiteral("L'Étoile");
            f.land = QStringLiteral("España");
            f.memo = QStringLiteral("ß œ ñ ç ø å – ' \"");
            return f;
        }(),
        [] {
            SchiriFields f = person(QStringLiteral("Ōsaka"), QStringLiteral("Naomi"));
            f.verein = QStringLiteral("ohne Verein");
            return f;
        }(),
    };
    verwaltung->open();
    for (const SchiriFields& f : typed)
        saveNew(f, {13});
    ASSERT_TRUE(ui.messages.isEmpty());

    Schiriverwaltung fresh(state, db(), ui);
    fresh.open();
    ASSERT_EQ(fresh.entries().size(), static_cast<qsizetype>(std::size(typed)));
    for (int i = 0; i < fresh.entries().size(); ++i) {
        const SchiriFields& f = typed[i];
        SCOPED_TRACE(f.nachname.toStdString());
        EXPECT_EQ(fresh.entries()[i].name, f.nachname + QStringLiteral(", ") + f.vorname);
        fresh.choose(i);
        const SchiriFields& got = fresh.fields();
        EXPECT_EQ(got.nachname, f.nachname);
        EXPECT_EQ(got.vorname, f.vorname);
        EXPECT_EQ(got.verein, f.verein);
        EXPECT_EQ(got.kverband, f.kverband);
        EXPECT_EQ(got.bverband, f.bverband);
        EXPECT_EQ(got.lverband, f.lverband);
        EXPECT_EQ(got.land, f.land);
        EXPECT_EQ(got.spielklasse, f.spielklasse);
        EXPECT_EQ(got.memo, f.memo);
        EXPECT_EQ(got.geburtstag, f.geburtstag);
        EXPECT_EQ(got.angemeldet, f.angemeldet);
        EXPECT_EQ(fresh.selectedClasses(), QSet<int>({13}));
        EXPECT_EQ(fresh.loadedName(), f.nachname + QStringLiteral(", ") + f.vorname);
    }
}

VELMORA_INSTANTIATE_DB_TEST(SchiriTest);
VELMORA_INSTANTIATE_DB_TEST(SchiriDelete);
VELMORA_INSTANTIATE_DB_TEST(SchiriFailure);
VELMORA_INSTANTIATE_DB_TEST(SchiriRefusal);
VELMORA_INSTANTIATE_DB_TEST(SchiriDuplicate);
VELMORA_INSTANTIATE_DB_TEST(SchiriValueList);
VELMORA_INSTANTIATE_DB_TEST(SchiriSearch);
VELMORA_INSTANTIATE_DB_TEST(SchiriRoundTrip);

// Typed birth dates: an existing day in "tt.mm.jjjj", one-digit day and month allowed.
struct DateCase {
    const char* text;
    QDate expected; // invalid: refused
};

class GermanDate : public ::testing::TestWithParam<DateCase> {};

TEST_P(GermanDate, ReadsExistingDaysOnly) {
    const DateCase& c = GetParam();
    const std::optional<QDate> d = parseGermanDate(QString::fromUtf8(c.text));
    EXPECT_EQ(d.has_value(), c.expected.isValid());
    if (d) {
        EXPECT_EQ(*d, c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GermanDate,
                         ::testing::Values(DateCase{"05.03.1980", QDate(1980, 3, 5)},
                                           DateCase{"5.3.1980", QDate(1980, 3, 5)},
                                           DateCase{" 31.12.1999 ", QDate(1999, 12, 31)},
                                           DateCase{"29.02.2000", QDate(2000, 2, 29)},
                                           DateCase{"29.02.1900", QDate()}, DateCase{"31.02.2000", QDate()},
                                           DateCase{"31.04.2010", QDate()}, DateCase{"00.01.2000", QDate()},
                                           DateCase{"1980-03-05", QDate()}, DateCase{"05/03/1980", QDate()},
                                           DateCase{"", QDate()}));

} // namespace

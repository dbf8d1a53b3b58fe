#include "store/schema.h"
#include "store/tournaments.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

using namespace tournaments;

namespace {

const QString kUpgradeQuestion = QStringLiteral(
    "Die gewählte Datenbank hat eine alte Struktur.\nSoll die Struktur jetzt angepasst werden?");
const QString kImportLine = QStringLiteral("- Import Tabelle angepasst\n");
const QString kVersionLine = QStringLiteral("- DB-Versionsbezeichnung angepasst\n");
const QString kLiveLine = QStringLiteral("- Einstellungen um Live-Ergebnisse ergänzt\n");

int version(Tdb_procedures& db) {
    return db.selectOne(QStringLiteral("SELECT version FROM Einstellungen WHERE TID=-999"))
        .integer(u"version");
}

void setVersion(Tdb_procedures& db, int v) {
    db.exec(QStringLiteral("UPDATE Einstellungen SET version=:v WHERE TID=-999"), {{":v", v}});
}

bool importHasKlassen(Tdb_procedures& db) {
    try {
        db.select(QStringLiteral("SELECT klassen FROM Import"));
        return true;
    } catch (const DbError&) {
        return false;
    }
}

bool einstellungenHasLiveordner(Tdb_procedures& db) {
    try {
        db.select(QStringLiteral("SELECT liveordner FROM Einstellungen"));
        return true;
    } catch (const DbError&) {
        return false;
    }
}

// The settings as they were before the live results folder came.
void einstellungenWithoutLiveordner(Tdb_procedures& db) {
    db.exec(QStringLiteral("ALTER TABLE Einstellungen DROP COLUMN liveordner"));
    db.clearStatementCache();
}

// The staging table as it was before the column klassen came.
void importWithoutKlassen(Tdb_procedures& db) {
    db.exec(QStringLiteral("DROP TABLE Import"));
    db.exec(QStringLiteral("CREATE TABLE Import (nachname TEXT, vorname TEXT, KID INTEGER, verein TEXT)"));
}

int count(Tdb_procedures& db, const QString& sql, const Params& params = {}) {
    return db.selectOne(sql, params).integer(u"n");
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Schema version check and upgrade

class SchemaCheckTest : public DbTest {};

TEST_P(SchemaCheckTest, CurrentVersionIsAcceptedWithoutQuestion) {
    ScriptedInteraction ui;
    EXPECT_NO_THROW(richtige_db(db(), ui));
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_TRUE(ui.messages.isEmpty());
}

struct UpgradeCase {
    const char* name;
    int version;
    bool klassenBefore;
    bool answer;
    bool accepted;
    QString message; // shown after a successful upgrade
};

TEST_P(SchemaCheckTest, OtherVersionsAreUpgradedOnlyWhenTheUserAgrees) {
    const QString done = QStringLiteral("Die Datenbank wurde aktualisiert.\n\n");
    const UpgradeCase cases[] = {
        {"version 2, agreed", 2, false, true, true, done + kImportLine + kLiveLine + kVersionLine},
        {"version 2 with the column already there", 2, true, true, true,
         done + kImportLine + kLiveLine + kVersionLine},
        {"version 3: the live results folder", 3, true, true, true, done + kLiveLine + kVersionLine},
        {"newer version: only the marker", schema::kCurrentVersion + 1, true, true, true, done + kVersionLine},
        {"version 2, refused", 2, false, false, false, {}},
        {"version 3, refused", 3, true, false, false, {}},
        {"newer version, refused", schema::kCurrentVersion + 1, true, false, false, {}},
    };
    for (const UpgradeCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestDatabase t(GetParam());
        if (!c.klassenBefore) importWithoutKlassen(t.db());
        const bool liveBefore = c.version > schema::kCurrentVersion;
        if (!liveBefore) einstellungenWithoutLiveordner(t.db());
        setVersion(t.db(), c.version);

        ScriptedInteraction ui;
        ui.answer(c.answer);
        if (c.accepted) {
            EXPECT_NO_THROW(richtige_db(t.db(), ui));
            EXPECT_TRUE(importHasKlassen(t.db()));
            EXPECT_TRUE(einstellungenHasLiveordner(t.db()));
            EXPECT_EQ(ui.texts(), QStringList{c.message});
            EXPECT_EQ(version(t.db()), schema::kCurrentVersion);
        } else {
            try {
                richtige_db(t.db(), ui);
                ADD_FAILURE() << "refused upgrade accepted";
            } catch (const DbError& e) {
                EXPECT_EQ(e.message(), QStringLiteral("Datenbank nicht im richtigen Format."));
            }
            EXPECT_EQ(importHasKlassen(t.db()), c.klassenBefore);
            EXPECT_EQ(einstellungenHasLiveordner(t.db()), liveBefore);
            EXPECT_EQ(version(t.db()), c.version);
            EXPECT_TRUE(ui.messages.isEmpty());
        }
        EXPECT_EQ(ui.questions, QStringList{kUpgradeQuestion});
    }
}

TEST_P(SchemaCheckTest, ADatabaseWithoutVersionRowGetsOneAndIsNotAskedAgain) {
    db().exec(QStringLiteral("DELETE FROM Einstellungen WHERE TID=-999"));
    ScriptedInteraction ui;
    ui.answer(true);
    richtige_db(db(), ui);
    EXPECT_EQ(version(db()), schema::kCurrentVersion);
    ScriptedInteraction again;
    EXPECT_NO_THROW(richtige_db(db(), again));
    EXPECT_TRUE(again.questions.isEmpty());
}

TEST_P(SchemaCheckTest, FailedUpgradeRollsBackWarnsAndRefuses) {
    struct Case {
        const char* name;
        void (*damage)(Tdb_procedures&);
        bool klassenBefore;
    };
    const Case cases[] = {
        {"no Import table", [](Tdb_procedures& d) { d.exec(QStringLiteral("DROP TABLE Import")); }, false},
        // The column is added first; the marker cannot be written afterwards, so the column must go again.
        {"version marker not writable",
         [](Tdb_procedures& d) {
             importWithoutKlassen(d);
             d.exec(QStringLiteral("ALTER TABLE Einstellungen RENAME TO Einstellungen_alt"));
             d.exec(QStringLiteral("CREATE VIEW Einstellungen AS SELECT DISTINCT * FROM Einstellungen_alt"));
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestDatabase t(GetParam());
        setVersion(t.db(), 2);
        c.damage(t.db());

        ScriptedInteraction ui;
        ui.answer(true);
        try {
            richtige_db(t.db(), ui);
            ADD_FAILURE() << "failed upgrade accepted";
        } catch (const DbError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Datenbank nicht im richtigen Format."));
        }
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].text,
                  QStringLiteral("Es trat ein Fehler beim Aktualisieren der Datenbank auf."));
        EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Warning);
        EXPECT_EQ(ui.messages[0].button, Interaction::Button::Cancel);
        EXPECT_EQ(t.db().transactionDepth(), 0);
        EXPECT_EQ(importHasKlassen(t.db()), c.klassenBefore);
        EXPECT_EQ(version(t.db()), 2);
    }
}

TEST_P(SchemaCheckTest, UnreadableDatabaseIsRaisedWithoutQuestion) {
    db().exec(QStringLiteral("DROP TABLE Einstellungen"));
    ScriptedInteraction ui;
    EXPECT_THROW(richtige_db(db(), ui), DbError);
    EXPECT_TRUE(ui.questions.isEmpty());
}

VELMORA_INSTANTIATE_DB_TEST(SchemaCheckTest);

TEST(SchemaCheckFile, FileThatIsNoDatabaseIsRaised) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("notizen.sqlite"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("Meldeliste Herren A\nMustermann, Max\n").repeated(100));
    f.close();

    Tdb_procedures db;
    AppState state;
    state.dbKind = DbKind::File;
    state.filePath = path;
    ScriptedInteraction ui;
    try {
        db_verbinden(db, state);
        richtige_db(db, ui);
        ADD_FAILURE() << "a text file passed the check";
    } catch (const DbError&) {
    }
    EXPECT_TRUE(ui.questions.isEmpty());
}

// ---------------------------------------------------------------------------------------------------------
// Connecting by the application state

class ConnectTest : public DbTest {};

TEST_P(ConnectTest, ConnectsToTheDatabaseTheStateNames) {
    AppState state;
    state.dbKind = GetParam();
    if (GetParam() == DbKind::File) {
        state.filePath = tdb->location();
        state.serverName = QStringLiteral("127.0.0.1:1"); // must not be used for the file kind
    } else {
        state.serverName = tdb->location();
        state.filePath = QStringLiteral("/nirgends/turnier_db.sqlite");
    }
    db().exec(QStringLiteral("INSERT INTO Turnierdaten (TID, turniername) VALUES (7, 'Kreismeisterschaft')"));

    Tdb_procedures other;
    db_verbinden(other, state, tdb->databaseName());
    EXPECT_EQ(other.kind(), GetParam());
    EXPECT_EQ(turnierliste(other), (QList<Entry>{{7, QStringLiteral("Kreismeisterschaft")}}));
}

TEST_P(ConnectTest, UnreachableDatabaseRaises) {
    AppState state;
    state.dbKind = GetParam();
    state.filePath = tdb->folder() + QStringLiteral("/fehlt.sqlite");
    state.serverName = QStringLiteral("127.0.0.1:1");
    Tdb_procedures other;
    try {
        db_verbinden(other, state);
        ADD_FAILURE() << "connected to nothing";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::Connect);
    }
    EXPECT_FALSE(other.isConnected());
}

VELMORA_INSTANTIATE_DB_TEST(ConnectTest);

// ---------------------------------------------------------------------------------------------------------
// Tournament list

class TournamentListTest : public DbTest {};

TEST_P(TournamentListTest, ListsEveryTournamentByIdWithNullNameAsEmpty) {
    EXPECT_TRUE(turnierliste(db()).isEmpty());
    db().exec(QStringLiteral("INSERT INTO Turnierdaten (TID, turniername) VALUES (3, 'Bezirksrangliste')"));
    db().exec(
        QStringLiteral("INSERT INTO Turnierdaten (TID, turniername) VALUES (1, 'Vereinsmeisterschaft')"));
    db().exec(QStringLiteral("INSERT INTO Turnierdaten (TID, turniername) VALUES (2, NULL)"));
    const QList<Entry> expected = {
        {1, QStringLiteral("Vereinsmeisterschaft")}, {2, QString()}, {3, QStringLiteral("Bezirksrangliste")}};
    EXPECT_EQ(turnierliste(db()), expected);
}

VELMORA_INSTANTIATE_DB_TEST(TournamentListTest);

// ---------------------------------------------------------------------------------------------------------
// Deleting a tournament

namespace {

enum class Owner { Tournament, Class };
struct OwnedTable {
    QString name;
    Owner owner;
};

const QList<OwnedTable> kOwnedTables = {
    {QStringLiteral("Turnierdaten"), Owner::Tournament},
    {QStringLiteral("Einstellungen"), Owner::Tournament},
    {QStringLiteral("Spielerdaten"), Owner::Tournament},
    {QStringLiteral("Altersklasse"), Owner::Tournament},
    {QStringLiteral("Spieler_im_Turnier"), Owner::Tournament},
    {QStringLiteral("Schiri"), Owner::Tournament},
    {QStringLiteral("Schiri_im_turnier"), Owner::Tournament},
    {QStringLiteral("Turnierklassen"), Owner::Class},
    {QStringLiteral("Doppelpartner"), Owner::Class},
    {QStringLiteral("Gesetzt"), Owner::Class},
    {QStringLiteral("Gruppen"), Owner::Class},
    {QStringLiteral("Gruppeneinstellungen"), Owner::Class},
    {QStringLiteral("Spielplan"), Owner::Class},
    {QStringLiteral("Tabellen"), Owner::Class},
    {QStringLiteral("Platten"), Owner::Class},
    {QStringLiteral("Platten1"), Owner::Class},
    {QStringLiteral("Teams"), Owner::Class},
    {QStringLiteral("Teamsystem"), Owner::Class},
    {QStringLiteral("Teamspiele"), Owner::Class},
};

// A tournament with two classes (base+1, base+2) and a row in every table it owns.
void fillTournament(Tdb_procedures& db, int tid, int base, const QString& name) {
    const Params t = {{":t", tid}};
    db.exec(QStringLiteral("INSERT INTO Turnierdaten (TID, turniername) VALUES (:t, :n)"),
            {{":t", tid}, {":n", name}});
    db.exec(QStringLiteral("INSERT INTO Einstellungen (TID, einstellung1, einstellung2, einstellung3, einstellung4) "
                           "VALUES (:t, :a, :b, :c, :d)"),
            {{":t", tid}, {":a", true}, {":b", true}, {":c", true}, {":d", true}});
    db.exec(QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname) VALUES (:t, :s, 'Muster')"),
            {{":t", tid}, {":s", base + 1}});
    db.exec(QStringLiteral("INSERT INTO Altersklasse (TID, name) VALUES (:t, 'U18')"), t);
    db.exec(QStringLiteral("INSERT INTO Schiri (TID, SCHIRIID, snname) VALUES (:t, :s, 'Pfeife')"),
            {{":t", tid}, {":s", base + 1}});
    for (int kid : {base + 1, base + 2}) {
        const Params k = {{":t", tid}, {":k", kid}, {":s", base + 1}};
        db.exec(
            QStringLiteral("INSERT INTO Turnierklassen (KID, TID, kbezeichnung) VALUES (:k, :t, 'Herren')"),
            k);
        db.exec(QStringLiteral("INSERT INTO Spieler_im_Turnier VALUES (:t, :k, :s)"), k);
        db.exec(QStringLiteral("INSERT INTO Schiri_im_turnier VALUES (:t, :s, :k)"), k);
        db.exec(QStringLiteral("INSERT INTO Doppelpartner (KID, SID) VALUES (:k, :s)"), k);
        db.exec(QStringLiteral("INSERT INTO Gesetzt (KID, position, SID) VALUES (:k, 0, :s)"), k);
        db.exec(QStringLiteral("INSERT INTO Gruppen (KID, GID, pos, SID) VALUES (:k, 0, 0, :s)"), k);
        db.exec(QStringLiteral("INSERT INTO Gruppeneinstellungen (KID, phase1) VALUES (:k, 0)"), k);
        db.exec(QStringLiteral("INSERT INTO Spielplan (KID, spielnummer, TID) VALUES (:k, 1, :t)"), k);
        db.exec(QStringLiteral("INSERT INTO Tabellen (KID, GID, pos, SID) VALUES (:k, 0, 0, :s)"), k);
        db.exec(QStringLiteral("INSERT INTO Platten (KID, GID, platte) VALUES (:k, 0, 'Tisch 1')"), k);
        db.exec(QStringLiteral("INSERT INTO Platten1 (KID, platte, TID) VALUES (:k, 'Tisch 1', :t)"), k);
        db.exec(QStringLiteral("INSERT INTO Teams (TID, KID, MID, teamname) VALUES (:t, :k, :k, 'TTC')"), k);
        db.exec(QStringLiteral("INSERT INTO Teamsystem (TID, KID, spieler) VALUES (:t, :k, 4)"), k);
        db.exec(
            QStringLiteral("INSERT INTO Teamspiele (KID, spielnummer, nummer, TID) VALUES (:k, 1, 1, :t)"),
            k);
        db.exec(QStringLiteral("INSERT INTO Import (nachname, KID) VALUES ('Muster', :k)"), k);
    }
}

// Rows per owned table of the tournament with classes base+1 and base+2.
QMap<QString, int> ownedRows(Tdb_procedures& db, int tid, int base) {
    QMap<QString, int> n;
    for (const OwnedTable& t : kOwnedTables) {
        if (t.owner == Owner::Tournament)
            n[t.name] = count(db, QStringLiteral("SELECT COUNT(*) AS n FROM %1 WHERE TID=:t").arg(t.name),
                              {{":t", tid}});
        else
            n[t.name] =
                count(db, QStringLiteral("SELECT COUNT(*) AS n FROM %1 WHERE KID IN (:a, :b)").arg(t.name),
                      {{":a", base + 1}, {":b", base + 2}});
    }
    return n;
}

struct Filled {
    QMap<QString, int> first, second;
    int koRows = 0;
};

Filled fillTwo(Tdb_procedures& db) {
    fillTournament(db, 1, 100, QStringLiteral("Stadtmeisterschaft"));
    fillTournament(db, 2, 200, QStringLiteral("Jugendturnier"));
    Filled f{ownedRows(db, 1, 100), ownedRows(db, 2, 200),
             count(db, QStringLiteral("SELECT COUNT(*) AS n FROM KO_System"))};
    for (const OwnedTable& t : kOwnedTables) {
        // Every table really holds rows of both, or the test would prove nothing.
        EXPECT_GT(f.first[t.name], 0) << t.name.toStdString();
        EXPECT_GT(f.second[t.name], 0) << t.name.toStdString();
    }
    return f;
}

} // namespace

class DeleteTest : public DbTest {};

TEST_P(DeleteTest, RemovesEveryRowOfTheTournamentAndKeepsTheOther) {
    const Filled before = fillTwo(db());
    deleteRows(db(), 1);

    const QMap<QString, int> first = ownedRows(db(), 1, 100);
    for (const OwnedTable& t : kOwnedTables)
        EXPECT_EQ(first[t.name], 0) << t.name.toStdString();
    EXPECT_EQ(ownedRows(db(), 2, 200), before.second);
    EXPECT_EQ(count(db(), QStringLiteral("SELECT COUNT(*) AS n FROM Import")), 0);
    EXPECT_EQ(version(db()), schema::kCurrentVersion);
    EXPECT_EQ(count(db(), QStringLiteral("SELECT COUNT(*) AS n FROM KO_System")), before.koRows);
    EXPECT_EQ(turnierliste(db()), (QList<Entry>{{2, QStringLiteral("Jugendturnier")}}));
}

TEST_P(DeleteTest, AsksAndClosesTheTournamentButKeepsItsId) {
    struct Case {
        const char* name;
        QString openName;
        QList<bool> answers;
        bool deleted;
        QStringList messages;
        QStringList questions;
    };
    const Case cases[] = {
        {"no tournament open", {}, {}, false, {QStringLiteral("Sie haben kein Turnier ausgewählt")}, {}},
        {"refused",
         QStringLiteral("Stadtmeisterschaft"),
         {false},
         false,
         {},
         {QStringLiteral("Wollen Sie das Turnier \"Stadtmeisterschaft\" wirklich löschen?")}},
        {"confirmed",
         QStringLiteral("Stadtmeisterschaft"),
         {true},
         true,
         {},
         {QStringLiteral("Wollen Sie das Turnier \"Stadtmeisterschaft\" wirklich löschen?")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestDatabase t(GetParam());
        const Filled before = fillTwo(t.db());
        AppState state;
        state.tid = 1;
        state.turniername = c.openName;
        ScriptedInteraction ui;
        ui.answers = c.answers;

        EXPECT_EQ(turnierloeschen(t.db(), state, ui), c.deleted);
        EXPECT_EQ(ui.texts(), c.messages);
        EXPECT_EQ(ui.questions, c.questions);
        EXPECT_EQ(state.tid, 1);
        EXPECT_EQ(state.turniername, c.deleted ? QString() : c.openName);
        EXPECT_EQ(count(t.db(), QStringLiteral("SELECT COUNT(*) AS n FROM Turnierdaten WHERE TID=1")),
                  c.deleted ? 0 : 1);
        EXPECT_EQ(ownedRows(t.db(), 2, 200), before.second);
    }
}

TEST_P(DeleteTest, FailureLeavesEverythingAsItWas) {
    // Each missing table makes a different statement fail: early, the staging table, the very last one.
    const QString missing[] = {QStringLiteral("Schiri_im_turnier"), QStringLiteral("Import"),
                               QStringLiteral("Teamspiele")};
    for (const QString& table : missing) {
        SCOPED_TRACE(table.toStdString());
        TestDatabase t(GetParam());
        Filled before = fillTwo(t.db());
        const int importRows = count(t.db(), QStringLiteral("SELECT COUNT(*) AS n FROM Import"));
        t.db().exec(QStringLiteral("DROP TABLE %1").arg(table));
        before.first.remove(table);
        before.second.remove(table);

        AppState state;
        state.tid = 1;
        state.turniername = QStringLiteral("Stadtmeisterschaft");
        ScriptedInteraction ui;
        ui.answer(true);
        EXPECT_THROW(turnierloeschen(t.db(), state, ui), DbError);
        EXPECT_EQ(t.db().transactionDepth(), 0);
        EXPECT_EQ(state.turniername, QStringLiteral("Stadtmeisterschaft"));

        for (const OwnedTable& o : kOwnedTables) {
            if (o.name == table) continue;
            const auto rows = [&](int tid, int base) {
                return o.owner == Owner::Tournament
                           ? count(t.db(),
                                   QStringLiteral("SELECT COUNT(*) AS n FROM %1 WHERE TID=:t").arg(o.name),
                                   {{":t", tid}})
                           : count(t.db(),
                                   QStringLiteral("SELECT COUNT(*) AS n FROM %1 WHERE KID IN (:a, :b)")
                                       .arg(o.name),
                                   {{":a", base + 1}, {":b", base + 2}});
            };
            EXPECT_EQ(rows(1, 100), before.first[o.name]) << o.name.toStdString();
            EXPECT_EQ(rows(2, 200), before.second[o.name]) << o.name.toStdString();
        }
        if (table != QStringLiteral("Import")) {
            EXPECT_EQ(count(t.db(), QStringLiteral("SELECT COUNT(*) AS n FROM Import")), importRows);
        }
    }
}

VELMORA_INSTANTIATE_DB_TEST(DeleteTest);

// ---------------------------------------------------------------------------------------------------------
// Setting up the server database

TEST(AttachTest, UnreachableServerIsReportedWithItsReason) {
    ScriptedInteraction ui;
    EXPECT_FALSE(turnierDbAnhaengen(QStringLiteral("127.0.0.1:1"), ui, QStringLiteral("vt_attach_none")));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral(
        "Die Turnier-Datenbank konnte nicht angelegt werden.\n\nDatenbank verbinden fehlgeschlagen\n")))
        << ui.messages[0].text.toStdString();
    // The driver's reason follows the German summary.
    EXPECT_GT(
        ui.messages[0].text.size(),
        QStringLiteral(
            "Die Turnier-Datenbank konnte nicht angelegt werden.\n\nDatenbank verbinden fehlgeschlagen\n")
            .size());
}

TEST(AttachTest, CreatesAnEmptyCurrentDatabaseOnceOnTheServer) {
    if (testServer().isEmpty()) GTEST_SKIP() << "no PostgreSQL test server (VELMORA_TEST_PG)";
    const QString name = QStringLiteral("vt_attach_%1").arg(QCoreApplication::applicationPid());

    ScriptedInteraction ui;
    EXPECT_TRUE(turnierDbAnhaengen(testServer(), ui, name));
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Der Befehl wurde ausgeführt.")});
    {
        Tdb_procedures db;
        db.connectServer(testServer(), name);
        ScriptedInteraction check;
        EXPECT_NO_THROW(richtige_db(db, check));
        EXPECT_TRUE(turnierliste(db).isEmpty());
    }

    // A second attach finds the database there and says so instead of claiming success.
    ui.clear();
    EXPECT_FALSE(turnierDbAnhaengen(testServer(), ui, name));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("bereits vorhanden")))
        << ui.messages[0].text.toStdString();

    Tdb_procedures admin;
    admin.connectServer(testServer(), QStringLiteral("postgres"));
    admin.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
}

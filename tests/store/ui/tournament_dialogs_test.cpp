#include "store/schema.h"
#include "store/tournaments.h"
#include "store/ui/msde_network_form.h"
#include "store/ui/turnier_erstellen.h"
#include "store/ui/turnierladen.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <unistd.h>

namespace {

const QString kWrongDatabase = QStringLiteral("Es wurde eine falsche Datenbank ausgewählt");
const QString kUpgradeQuestion = QStringLiteral(
    "Die gewählte Datenbank hat eine alte Struktur.\nSoll die Struktur jetzt angepasst werden?");
const QString kUpgraded = QStringLiteral(
    "Die Datenbank wurde aktualisiert.\n\n- Import Tabelle angepasst\n- Einstellungen um Live-Ergebnisse "
    "ergänzt\n- DB-Versionsbezeichnung angepasst\n");

struct Tournament {
    int tid;
    QString name;
};

// A tournament database file holding the given tournaments, at the given schema version.
QString makeDatabase(const QString& path, const QList<Tournament>& tournaments,
                     int version = schema::kCurrentVersion) {
    schema::createFile(path);
    Tdb_procedures db;
    db.connectFile(path);
    for (const Tournament& t : tournaments)
        db.exec(QStringLiteral("INSERT INTO Turnierdaten (TID, turniername) VALUES (:t, :n)"),
                {{":t", t.tid}, {":n", t.name}});
    db.exec(QStringLiteral("UPDATE Einstellungen SET version=:v WHERE TID=-999"), {{":v", version}});
    return path;
}

QString makeTextFile(const QString& path) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(QByteArray("Meldeliste Herren A\nMustermann, Max\n").repeated(100));
    return path;
}

// An SQLite file that belongs to some other program.
QString makeForeignDatabase(const QString& path) {
    QFile(path).open(QIODevice::WriteOnly);
    Tdb_procedures db;
    db.connectFile(path);
    db.exec(QStringLiteral("CREATE TABLE Kunden (id INTEGER, name TEXT)"));
    return path;
}

// A tournament database whose settings table is missing: the list works, the check does not.
QString makeDatabaseWithoutSettings(const QString& path) {
    makeDatabase(path, {{1, QStringLiteral("Altes Turnier")}});
    Tdb_procedures db;
    db.connectFile(path);
    db.exec(QStringLiteral("DROP TABLE Einstellungen"));
    return path;
}

QStringList listTexts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

template <class T> T* child(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

class DialogTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QString shipped() const { return path("turnier_db.sqlite"); }

    QTemporaryDir dir; // the program's directory
    AppState state;
    Tdb_procedures db;
    ScriptedInteraction ui;
};

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Creating a tournament

class CreateDialogTest : public DialogTest {
protected:
    void SetUp() override {
        dialog = std::make_unique<TTurnier_erstellen>(state, db, ui, dir.path());
        dialog->show();
    }
    void create(const QString& name, bool fileKind) {
        child<QRadioButton>(*dialog, fileKind ? "dateidatenbank" : "datenbankserver")->setChecked(true);
        child<QLineEdit>(*dialog, "turniername")->setText(name);
        child<QPushButton>(*dialog, "erstellen")->click();
    }
    std::unique_ptr<TTurnier_erstellen> dialog;
};

TEST_F(CreateDialogTest, StartsWithServerChosenAndAllFourSettingsFixed) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Neues Turnier erstellen"));
    EXPECT_TRUE(child<QRadioButton>(*dialog, "datenbankserver")->isChecked());
    for (const char* name : {"einstellung1", "einstellung2", "einstellung3", "einstellung4"}) {
        const QCheckBox* box = child<QCheckBox>(*dialog, name);
        EXPECT_TRUE(box->isChecked()) << name;
        EXPECT_FALSE(box->isEnabled()) << name;
    }
    child<QLineEdit>(*dialog, "turniername")->setText(QStringLiteral("Alt"));
    dialog->clearName();
    EXPECT_TRUE(child<QLineEdit>(*dialog, "turniername")->text().isEmpty());
}

TEST_F(CreateDialogTest, NothingHappensWithoutNameOrFile) {
    struct Case {
        const char* name;
        QString text;
        QStringList files; // answers to the save dialog
        QStringList messages;
    };
    const Case cases[] = {
        {"blank name", QStringLiteral("   "), {}, {QStringLiteral("Bitte geben Sie einen Namen ein")}},
        {"save dialog cancelled, no file known", QStringLiteral("Stadtmeisterschaft"), {QString()}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.clear();
        ui.files = c.files;
        QSignalSpy created(dialog.get(), &TTurnier_erstellen::tournamentCreated);
        create(c.text, true);
        EXPECT_EQ(ui.texts(), c.messages);
        EXPECT_TRUE(ui.files.isEmpty()) << "save dialog not shown";
        EXPECT_EQ(created.count(), 0);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_FALSE(db.isConnected());
        EXPECT_TRUE(state.turniername.isEmpty());
        EXPECT_TRUE(state.filePath.isEmpty());
        EXPECT_EQ(state.dbKind, DbKind::Server);
    }
}

TEST_F(CreateDialogTest, CreatesOnAChosenFileDatabase) {
    struct Case {
        const char* name;
        int version;
        QList<bool> answers;
        QStringList messages;
    };
    const Case cases[] = {
        {"current database", schema::kCurrentVersion, {}, {}},
        {"old database upgraded", 2, {true}, {kUpgraded}},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = makeDatabase(path("db%1.sqlite").arg(++n), {}, c.version);
        ui.clear();
        ui.answers = c.answers;
        ui.chooseFile(file);
        state = AppState();
        dialog->show();
        QSignalSpy created(dialog.get(), &TTurnier_erstellen::tournamentCreated);

        create(QStringLiteral("  Stadtmeisterschaft 2024 "), true);

        EXPECT_EQ(ui.presetPaths, QStringList{shipped()});
        EXPECT_EQ(ui.fileFilters, QStringList{QStringLiteral("Turnier-Datenbank (*.sqlite)")});
        ui.presetPaths.clear();
        ui.fileFilters.clear();
        EXPECT_EQ(ui.texts(), c.messages);
        ASSERT_EQ(created.count(), 1);
        EXPECT_EQ(created[0][0].toString(), QStringLiteral("Stadtmeisterschaft 2024"));
        EXPECT_EQ(created[0][1].value<QList<bool>>(), (QList<bool>{true, true, true, true}));
        EXPECT_EQ(state.turniername, QStringLiteral("Stadtmeisterschaft 2024"));
        EXPECT_EQ(state.dbKind, DbKind::File);
        EXPECT_EQ(state.filePath, file);
        EXPECT_EQ(state.trueValue, -1);
        EXPECT_EQ(db.location(), QFileInfo(file).absoluteFilePath());
        EXPECT_FALSE(dialog->isVisible());
    }
}

TEST_F(CreateDialogTest, CancelledSaveDialogGoesOnWithTheKnownFile) {
    const QString file = makeDatabase(path("bekannt.sqlite"), {});
    state.dbKind = DbKind::File;
    state.filePath = file;
    ui.chooseFile(QString());
    QSignalSpy created(dialog.get(), &TTurnier_erstellen::tournamentCreated);
    create(QStringLiteral("Pokal"), true);
    EXPECT_EQ(created.count(), 1);
    EXPECT_EQ(db.location(), QFileInfo(file).absoluteFilePath());
}

TEST_F(CreateDialogTest, RefusesWhatIsNoCurrentTournamentDatabase) {
    struct Case {
        const char* name;
        std::function<QString(const QString&)> make;
        QList<bool> answers;
        QStringList messages;
    };
    const Case cases[] = {
        {"text file", makeTextFile, {}, {kWrongDatabase}},
        {"database of another program", makeForeignDatabase, {}, {kWrongDatabase}},
        {"tournament database without settings", makeDatabaseWithoutSettings, {}, {kWrongDatabase}},
        {"old database, upgrade refused",
         [](const QString& p) { return makeDatabase(p, {}, 2); },
         {false},
         {kWrongDatabase}},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.clear();
        ui.answers = c.answers;
        ui.chooseFile(c.make(path("falsch%1.sqlite").arg(++n)));
        QSignalSpy created(dialog.get(), &TTurnier_erstellen::tournamentCreated);
        create(QStringLiteral("Stadtmeisterschaft"), true);
        EXPECT_EQ(ui.texts(), c.messages);
        ASSERT_FALSE(ui.messages.isEmpty());
        EXPECT_EQ(ui.messages.last().icon, Interaction::Icon::Error);
        EXPECT_EQ(ui.messages.last().button, Interaction::Button::Cancel);
        EXPECT_EQ(created.count(), 0);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_FALSE(db.isConnected());
        EXPECT_TRUE(state.turniername.isEmpty());
    }
}

TEST_F(CreateDialogTest, ReadOnlyFileShowsItsOwnMessage) {
    if (geteuid() == 0) GTEST_SKIP() << "root may write to any file";
    const QString file = makeDatabase(path("schreibgeschuetzt.sqlite"), {});
    QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadUser);
    ui.chooseFile(file);
    create(QStringLiteral("Stadtmeisterschaft"), true);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("kann nicht beschrieben werden")))
        << ui.messages[0].text.toStdString();
    EXPECT_FALSE(db.isConnected());
}

TEST_F(CreateDialogTest, UnreachableServerIsReported) {
    state.serverName = QStringLiteral("127.0.0.1:1");
    QSignalSpy created(dialog.get(), &TTurnier_erstellen::tournamentCreated);
    create(QStringLiteral("Stadtmeisterschaft"), false);
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Datenbank verbinden fehlgeschlagen")});
    EXPECT_EQ(created.count(), 0);
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(CreateDialogTest, FailureKeepsTheOpenTournamentOnItsDatabase) {
    const QString open = makeDatabase(path("offen.sqlite"), {{4, QStringLiteral("Offenes Turnier")}});
    state.dbKind = DbKind::File;
    state.filePath = open;
    state.trueValue = -1;
    state.tid = 4;
    state.turniername = QStringLiteral("Offenes Turnier");
    db.connectFile(open);

    struct Case {
        const char* name;
        bool fileKind;
        QString file;
        QString message;
    };
    const Case cases[] = {
        {"wrong file", true, makeTextFile(path("notizen.sqlite")), kWrongDatabase},
        {"unreachable server", false, {}, QStringLiteral("Datenbank verbinden fehlgeschlagen")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.clear();
        if (c.fileKind) ui.chooseFile(c.file);
        state.serverName = QStringLiteral("127.0.0.1:1");
        create(QStringLiteral("Neues Turnier"), c.fileKind);
        EXPECT_EQ(ui.texts(), QStringList{c.message});
        EXPECT_EQ(state.dbKind, DbKind::File);
        EXPECT_EQ(state.filePath, open);
        EXPECT_EQ(state.trueValue, -1);
        EXPECT_EQ(state.turniername, QStringLiteral("Offenes Turnier"));
        ASSERT_TRUE(db.isConnected());
        EXPECT_EQ(db.location(), QFileInfo(open).absoluteFilePath());
    }
}

class CreateOnEngineTest : public DbTest {};

TEST_P(CreateOnEngineTest, ConnectsToTheChosenKindAndSetsItsTrueValue) {
    AppState state;
    Tdb_procedures db;
    ScriptedInteraction ui;
    QTemporaryDir dir;
    TTurnier_erstellen dialog(state, db, ui, dir.path());
    dialog.setDatabaseName(tdb->databaseName());
    dialog.show();
    if (GetParam() == DbKind::File) {
        ui.chooseFile(tdb->location());
        child<QRadioButton>(dialog, "dateidatenbank")->setChecked(true);
    } else {
        state.serverName = tdb->location();
    }
    QSignalSpy created(&dialog, &TTurnier_erstellen::tournamentCreated);
    child<QLineEdit>(dialog, "turniername")->setText(QStringLiteral("Bezirksrangliste"));
    child<QPushButton>(dialog, "erstellen")->click();

    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(created.count(), 1);
    EXPECT_EQ(state.dbKind, GetParam());
    EXPECT_EQ(state.trueValue, GetParam() == DbKind::File ? -1 : 1);
    EXPECT_EQ(db.kind(), GetParam());
    EXPECT_TRUE(db.isConnected());
}

VELMORA_INSTANTIATE_DB_TEST(CreateOnEngineTest);

// ---------------------------------------------------------------------------------------------------------
// Loading a tournament

class LoadDialogTest : public DialogTest {
protected:
    void SetUp() override { dialog = std::make_unique<Tturnierladen>(state, db, ui, dir.path()); }
    QListWidget* list() { return child<QListWidget>(*dialog, "turnierliste"); }
    QString field() { return child<QLineEdit>(*dialog, "speicherort")->text(); }
    void click(const char* button) { child<QPushButton>(*dialog, button)->click(); }
    void browse(const QString& file) {
        ui.chooseFile(file);
        click("durchsuchen");
    }
    std::unique_ptr<Tturnierladen> dialog;
};

TEST_F(LoadDialogTest, ShowingListsTheShippedFileDatabase) {
    makeDatabase(shipped(),
                 {{2, QStringLiteral("Jugendturnier")}, {1, QStringLiteral("Stadtmeisterschaft")}});
    dialog->show();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Bestehendes Turnier laden"));
    EXPECT_EQ(listTexts(list()),
              (QStringList{QStringLiteral("Stadtmeisterschaft"), QStringLiteral("Jugendturnier")}));
    EXPECT_EQ(list()->currentRow(), 0);
    EXPECT_EQ(field(), shipped());
    EXPECT_TRUE(child<QRadioButton>(*dialog, "dateidatenbank")->isChecked());
    EXPECT_EQ(state.dbKind, DbKind::File);
    EXPECT_EQ(state.filePath, shipped());
    EXPECT_FALSE(child<QPushButton>(*dialog, "anhaengen")->isVisible());
    EXPECT_TRUE(ui.messages.isEmpty());

    // The open dialog starts in the program's directory.
    ui.chooseFile(QString());
    click("durchsuchen");
    EXPECT_EQ(ui.presetPaths, QStringList{dir.path()});
    EXPECT_EQ(ui.fileFilters, QStringList{QStringLiteral("Turnier-Datenbank (*.sqlite)")});
}

TEST_F(LoadDialogTest, ShowingWithoutShippedFileConnectsNothing) {
    dialog->show();
    EXPECT_EQ(list()->count(), 0);
    EXPECT_FALSE(db.isConnected());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(LoadDialogTest, LoadsTheSelectedTournamentByButtonOrDoubleClick) {
    makeDatabase(shipped(),
                 {{1, QStringLiteral("Stadtmeisterschaft")}, {5, QStringLiteral("Jugendturnier")}});
    const std::pair<const char*, std::function<void(Tturnierladen&, QListWidget*)>> triggers[] = {
        {"button",
         [](Tturnierladen& d, QListWidget* l) {
             l->setCurrentRow(1);
             child<QPushButton>(d, "laden")->click();
         }},
        {"double-click",
         [](Tturnierladen&, QListWidget* l) {
             // A double-click arrives after the press of its first click.
             const QPoint at = l->visualItemRect(l->item(1)).center();
             QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
             QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
         }},
    };
    for (const auto& [name, trigger] : triggers) {
        SCOPED_TRACE(name);
        state = AppState();
        dialog->show();
        ASSERT_EQ(list()->currentRow(), 0);
        QSignalSpy loaded(dialog.get(), &Tturnierladen::tournamentLoaded);
        trigger(*dialog, list());
        ASSERT_EQ(loaded.count(), 1);
        EXPECT_EQ(loaded[0][0].toInt(), 5);
        EXPECT_EQ(loaded[0][1].toString(), QStringLiteral("Jugendturnier"));
        EXPECT_EQ(state.tid, 5);
        EXPECT_EQ(state.turniername, QStringLiteral("Jugendturnier"));
        EXPECT_EQ(state.dbKind, DbKind::File);
        EXPECT_EQ(state.filePath, shipped());
        EXPECT_EQ(state.trueValue, -1);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_TRUE(ui.messages.isEmpty());
    }
}

TEST_F(LoadDialogTest, RefusedLoadsExplainWhyAndKeepTheDialogOpen) {
    makeDatabase(shipped(), {{1, QStringLiteral("Stadtmeisterschaft")}});
    struct Case {
        const char* name;
        std::function<QString(const QString&)> make; // the file chosen with "Durchsuchen"
        QList<bool> answers;
        QStringList browseMessages;
        QStringList loadMessages;
        bool connectedAfter;
    };
    const QString missing = QStringLiteral("Bitte wählen sie eine Datenbankdatei aus !");
    const Case cases[] = {
        {"no tournaments",
         [](const QString& p) { return makeDatabase(p, {}); },
         {},
         {},
         {QStringLiteral("Es ist kein Turnier vorhanden")},
         true},
        {"missing file",
         [](const QString& p) { return p; },
         {},
         {QStringLiteral("Datenbankdatei nicht vorhanden")},
         {missing},
         false},
        {"text file", makeTextFile, {}, {kWrongDatabase}, {kWrongDatabase}, false},
        {"database of another program", makeForeignDatabase, {}, {kWrongDatabase}, {kWrongDatabase}, false},
        {"tournament database without settings",
         makeDatabaseWithoutSettings,
         {},
         {},
         {kWrongDatabase},
         false},
        {"old database, upgrade refused",
         [](const QString& p) {
             return makeDatabase(p, {{1, QStringLiteral("Alt")}}, 2);
         },
         {false},
         {},
         {kWrongDatabase},
         false},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        state = AppState();
        dialog->show();
        ui.clear();
        browse(c.make(path("wahl%1.sqlite").arg(++n)));
        EXPECT_EQ(ui.texts(), c.browseMessages);

        ui.clear();
        ui.answers = c.answers;
        QSignalSpy loaded(dialog.get(), &Tturnierladen::tournamentLoaded);
        click("laden");
        EXPECT_EQ(ui.texts(), c.loadMessages);
        EXPECT_EQ(loaded.count(), 0);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(db.isConnected(), c.connectedAfter);
        EXPECT_TRUE(state.turniername.isEmpty());
        dialog->hide();
    }
}

TEST_F(LoadDialogTest, FileRemovedAfterListingIsAskedFor) {
    makeDatabase(shipped(), {{1, QStringLiteral("Stadtmeisterschaft")}});
    dialog->show();
    db.disconnect();
    ASSERT_TRUE(QFile::remove(shipped()));
    click("laden");
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Bitte wählen sie eine Datenbankdatei aus !"));
    EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(LoadDialogTest, OldDatabaseIsUpgradedOnLoadWhenAgreed) {
    makeDatabase(shipped(), {{3, QStringLiteral("Vereinsmeisterschaft")}}, 2);
    dialog->show();
    ui.answer(true);
    QSignalSpy loaded(dialog.get(), &Tturnierladen::tournamentLoaded);
    click("laden");
    EXPECT_EQ(ui.questions, QStringList{kUpgradeQuestion});
    EXPECT_EQ(ui.texts(), QStringList{kUpgraded});
    EXPECT_EQ(loaded.count(), 1);
    EXPECT_EQ(
        db.selectOne(QStringLiteral("SELECT version FROM Einstellungen WHERE TID=-999")).integer(u"version"),
        schema::kCurrentVersion);
}

TEST_F(LoadDialogTest, UnreachableServerOffersToSetUpTheDatabase) {
    makeDatabase(shipped(), {{1, QStringLiteral("Stadtmeisterschaft")}});
    dialog->show();
    state.serverName = QStringLiteral("127.0.0.1:1");
    child<QRadioButton>(*dialog, "datenbankserver")->click();
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(field(), QStringLiteral("127.0.0.1:1"));
    EXPECT_TRUE(child<QPushButton>(*dialog, "anhaengen")->isVisible());
    EXPECT_TRUE(ui.messages.isEmpty());

    click("laden");
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Datenbank nicht vorhanden")});
    EXPECT_TRUE(dialog->isVisible());

    // Setting it up on a server that cannot be reached says so.
    ui.clear();
    click("anhaengen");
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
    EXPECT_TRUE(ui.messages[0].text.startsWith(
        QStringLiteral("Die Turnier-Datenbank konnte nicht angelegt werden.")));

    // Back to the file database: the server's button goes away again.
    child<QRadioButton>(*dialog, "dateidatenbank")->click();
    EXPECT_FALSE(child<QPushButton>(*dialog, "anhaengen")->isVisible());
    EXPECT_EQ(listTexts(list()), QStringList{QStringLiteral("Stadtmeisterschaft")});
}

TEST_F(LoadDialogTest, GivingUpKeepsTheOpenTournamentOnItsDatabase) {
    const QString open = makeDatabase(path("offen.sqlite"), {{4, QStringLiteral("Offenes Turnier")}});
    makeDatabase(shipped(), {{1, QStringLiteral("Stadtmeisterschaft")}});
    state.dbKind = DbKind::File;
    state.filePath = open;
    state.trueValue = -1;
    state.tid = 4;
    state.turniername = QStringLiteral("Offenes Turnier");
    db.connectFile(open);

    dialog->show();
    EXPECT_EQ(db.location(), QFileInfo(shipped()).absoluteFilePath()); // browsing shows the shipped file
    click("zurueck");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(state.filePath, open);
    EXPECT_EQ(state.tid, 4);
    EXPECT_EQ(db.location(), QFileInfo(open).absoluteFilePath());
    EXPECT_EQ(tournaments::turnierliste(db).size(), 1);
}

class LoadOnEngineTest : public DbTest {};

TEST_P(LoadOnEngineTest, LoadsFromEitherKindWithItsTrueValue) {
    db().exec(QStringLiteral("INSERT INTO Turnierdaten (TID, turniername) VALUES (9, 'Landesrangliste')"));
    AppState state;
    Tdb_procedures db;
    ScriptedInteraction ui;
    QTemporaryDir dir;
    Tturnierladen dialog(state, db, ui, dir.path());
    dialog.setDatabaseName(tdb->databaseName());
    dialog.show();
    if (GetParam() == DbKind::File) {
        ui.chooseFile(tdb->location());
        child<QPushButton>(dialog, "durchsuchen")->click();
    } else {
        state.serverName = tdb->location();
        child<QRadioButton>(dialog, "datenbankserver")->click();
        EXPECT_FALSE(child<QPushButton>(dialog, "anhaengen")->isVisible());
    }
    EXPECT_EQ(listTexts(child<QListWidget>(dialog, "turnierliste")),
              QStringList{QStringLiteral("Landesrangliste")});

    QSignalSpy loaded(&dialog, &Tturnierladen::tournamentLoaded);
    child<QPushButton>(dialog, "laden")->click();
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(loaded.count(), 1);
    EXPECT_EQ(state.tid, 9);
    EXPECT_EQ(state.dbKind, GetParam());
    EXPECT_EQ(state.trueValue, GetParam() == DbKind::File ? -1 : 1);

    // Shown again, the dialog starts with the kind that was loaded last.
    dialog.show();
    EXPECT_EQ(child<QRadioButton>(dialog, "datenbankserver")->isChecked(), GetParam() == DbKind::Server);
}

VELMORA_INSTANTIATE_DB_TEST(LoadOnEngineTest);

// ---------------------------------------------------------------------------------------------------------
// Choosing the server

class NetworkFormTest : public LoadDialogTest {
protected:
    TMSDENetworkForm* openNetworkForm(const QString& server) {
        dialog->show();
        state.serverName = server;
        child<QRadioButton>(*dialog, "datenbankserver")->click();
        click("durchsuchen");
        TMSDENetworkForm* form = dialog->networkForm();
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(form->windowTitle(), QStringLiteral("PCs im Netzwerk"));
        return form;
    }
    void type(TMSDENetworkForm* form, const QString& text) {
        QLineEdit* edit = child<QLineEdit>(*form, "gewaehlterPC");
        edit->clear();
        QTest::keyClicks(edit, text);
    }
};

TEST_F(NetworkFormTest, TypedNamesLoseBackslashesBlanksSlashesAndQuotes) {
    TMSDENetworkForm* form = openNetworkForm(QStringLiteral("127.0.0.1:2"));
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("\\\\PC-Name"), QStringLiteral("PC-Name")},
        {QStringLiteral("'Turnier PC'"), QStringLiteral("TurnierPC")},
        {QStringLiteral("\"//server/halle\""), QStringLiteral("serverhalle")},
        {QStringLiteral("192.168.1.20:5433"), QStringLiteral("192.168.1.20:5433")},
    };
    for (const auto& [typed, expected] : cases) {
        SCOPED_TRACE(typed.toStdString());
        type(form, typed);
        EXPECT_EQ(child<QLineEdit>(*form, "gewaehlterPC")->text(), expected);
        EXPECT_EQ(TMSDENetworkForm::stripName(typed), expected);
    }
}

TEST_F(NetworkFormTest, UnreachableServerRestoresThePreviousOne) {
    TMSDENetworkForm* form = openNetworkForm(QStringLiteral("127.0.0.1:2"));
    EXPECT_EQ(child<QLineEdit>(*form, "gewaehlterPC")->text(), QStringLiteral("127.0.0.1:2"));
    ui.clear();
    type(form, QStringLiteral("127.0.0.1:1"));
    child<QPushButton>(*form, "uebernehmen")->click();

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
    EXPECT_EQ(
        ui.messages[0].text,
        QStringLiteral("Die Datenbank konnte nicht erreicht werden. Dies kann die folgenden Gründe haben:\n\n"
                       "1.) Der Server 127.0.0.1:1 konnte nicht erreicht werden.\n"
                       "2.) Auf dem Server ist die Turnier-Datenbank nicht vorhanden.\n"
                       "3.) Der Datenbank-Server ist für das Netzwerk nicht freigegeben.\n"
                       "4.) Eine Firewall blockiert den Netzwerkverkehr (Port 5432)."));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(child<QLineEdit>(*form, "gewaehlterPC")->text(), QStringLiteral("127.0.0.1:2"));
    EXPECT_EQ(state.serverName, QStringLiteral("127.0.0.1:2"));
    EXPECT_EQ(field(), QStringLiteral("127.0.0.1:2"));

    child<QPushButton>(*form, "abbrechen")->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(NetworkFormTest, ReachableServerIsTakenAndListed) {
    if (testServer().isEmpty()) GTEST_SKIP() << "no PostgreSQL test server (VELMORA_TEST_PG)";
    TestDatabase server(DbKind::Server);
    server.db().exec(
        QStringLiteral("INSERT INTO Turnierdaten (TID, turniername) VALUES (2, 'Seniorenturnier')"));
    dialog->setDatabaseName(server.databaseName());
    TMSDENetworkForm* form = openNetworkForm(QStringLiteral("127.0.0.1:2"));
    type(form, server.location());
    child<QPushButton>(*form, "uebernehmen")->click();

    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(field(), server.location());
    EXPECT_EQ(state.serverName, server.location());
    EXPECT_EQ(state.dbKind, DbKind::Server);
    EXPECT_EQ(listTexts(list()), QStringList{QStringLiteral("Seniorenturnier")});
    EXPECT_FALSE(child<QPushButton>(*dialog, "anhaengen")->isVisible());
    db.disconnect(); // before the test database is dropped
}

// A tournament's whole life through the real windows: created, edited, loaded again by a fresh program
// (as after a restart) and deleted, on each engine.
#include "app/appwindows.h"
#include "app/navigationbar.h"
#include "app/tmainform.h"
#include "common/clock.h"
#include "draw/ui/auslosungsform.h"
#include "draw/ui/gruppenpanel.h"
#include "draw/ui/teamform.h"
#include "entries/ui/klassenverwalten.h"
#include "store/schema.h"
#include "store/ui/turnier_erstellen.h"
#include "store/ui/turnierladen.h"
#include "store/ui/turnierpanel.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>

namespace {

// One run of the program: main window and its windows over a data module of its own.
struct Program {
    AppState state;
    Tdb_procedures db;
    ScriptedInteraction ui;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(9, 0))};
    std::unique_ptr<TMainform> main;
    std::unique_ptr<AppWindows> windows;

    Program(const QString& programDir, const QString& server) {
        main = std::make_unique<TMainform>(state, db, ui, clock, programDir);
        windows = std::make_unique<AppWindows>(*main, state, db, ui, clock, programDir);
        // The load dialog starts out with this computer's name; the tests' server is elsewhere.
        state.serverName = server;
    }
    ~Program() {
        windows.reset();
        main.reset();
    }
    template <class T> T* find(QWidget* in, const char* name) {
        T* w = in->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
};

class TournamentLifeTest : public ::testing::TestWithParam<DbKind> {
protected:
    void SetUp() override {
        VELMORA_SKIP_WITHOUT_SERVER(GetParam());
        QDir().mkpath(dir.filePath(QStringLiteral("Files")));
        for (const char* f : {"Files/system.txt", "Files/ko_system.txt"}) {
            QFile file(dir.filePath(QString::fromLatin1(f)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        if (GetParam() == DbKind::File) {
            dbFile = dir.filePath(QStringLiteral("turnier_db.sqlite"));
            schema::createFile(dbFile);
        } else {
            serverDb = std::make_unique<TestDatabase>(DbKind::Server);
        }
    }
    QString server() const { return serverDb ? serverDb->location() : QString(); }
    void useTestDatabase(Program& p) {
        if (serverDb) {
            p.windows->createDialog()->setDatabaseName(serverDb->databaseName());
            p.windows->loadDialog()->setDatabaseName(serverDb->databaseName());
        }
    }
    int count(Tdb_procedures& db, const QString& table) {
        return db.selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM %1").arg(table)).integer(u"n");
    }

    QTemporaryDir dir;
    QString dbFile;
    std::unique_ptr<TestDatabase> serverDb;
};

TEST_P(TournamentLifeTest, CreateEditReloadAndDelete) {
    const QString name = QStringLiteral("Stadtmeisterschaft Köln 2026");
    {
        Program p(dir.path(), server());
        useTestDatabase(p);
        emit p.main->createTournamentRequested();
        TTurnier_erstellen* dlg = p.windows->createDialog();
        ASSERT_TRUE(dlg->isVisible());
        p.find<QLineEdit>(dlg, "turniername")->setText(QStringLiteral("  ") + name + QStringLiteral(" "));
        if (GetParam() == DbKind::File) {
            p.find<QRadioButton>(dlg, "dateidatenbank")->click();
            p.ui.chooseFile(dbFile);
        }
        QTest::mouseClick(p.find<QPushButton>(dlg, "erstellen"), Qt::LeftButton);
        ASSERT_TRUE(p.ui.messages.isEmpty()) << p.ui.texts().join(u'|').toStdString();
        EXPECT_FALSE(dlg->isVisible());

        // The tournament is stored at once and open.
        EXPECT_EQ(p.state.tid, 1);
        EXPECT_EQ(p.state.turniername, name);
        EXPECT_EQ(p.main->currentPanel(), QStringLiteral("neuesTurnier"));
        EXPECT_EQ(p.main->windowTitle(), TMainform::captionPrefix() + name + QStringLiteral(" - ") +
                                             TMainform::captionSuffix());
        EXPECT_EQ(p.db.selectOne(QStringLiteral("SELECT turniername FROM Turnierdaten WHERE TID=1")).text(u"turniername"),
                  name);
        EXPECT_EQ(count(p.db, QStringLiteral("Einstellungen")), 2);
        QPushButton* save = p.find<QPushButton>(p.windows->recordPanel(), "turnier_speichern");
        EXPECT_EQ(save->text(), QStringLiteral("Änderung übernehmen"));
        EXPECT_FALSE(save->isEnabled());

        // Edit and save.
        auto* venue = p.find<QLineEdit>(p.windows->recordPanel(), "austragungsort");
        venue->setFocus();
        QTest::keyClicks(venue, QStringLiteral("Sporthalle Sued"));
        ASSERT_TRUE(save->isEnabled());
        QTest::mouseClick(save, Qt::LeftButton);
        EXPECT_FALSE(save->isEnabled());
    }
    {
        // A fresh program finds and loads it again.
        Program p(dir.path(), server());
        useTestDatabase(p);
        Tturnierladen* dlg = p.windows->loadDialog();
        if (GetParam() == DbKind::Server) {
            emit p.main->loadTournamentRequested();
            p.find<QRadioButton>(dlg, "datenbankserver")->click();
        } else {
            emit p.main->loadTournamentRequested();
        }
        auto* list = p.find<QListWidget>(dlg, "turnierliste");
        ASSERT_EQ(list->count(), 1) << p.ui.texts().join(u'|').toStdString();
        EXPECT_EQ(list->item(0)->text(), name);
        QTest::mouseClick(p.find<QPushButton>(dlg, "laden"), Qt::LeftButton);
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_EQ(p.state.tid, 1);
        EXPECT_EQ(p.find<QLineEdit>(p.windows->recordPanel(), "austragungsort")->text(), QStringLiteral("Sporthalle Sued"));
        QPushButton* save = p.find<QPushButton>(p.windows->recordPanel(), "turnier_speichern");
        EXPECT_EQ(save->text(), QStringLiteral("Änderung speichern"));
        EXPECT_FALSE(save->isEnabled());
        EXPECT_TRUE(p.main->spieleplanerAction()->isEnabled());

        // Delete it.
        p.ui.answer(true);
        emit p.main->deleteTournamentRequested();
        EXPECT_EQ(p.ui.questions, QStringList{QStringLiteral("Wollen Sie das Turnier \"%1\" wirklich löschen?").arg(name)});
        EXPECT_EQ(count(p.db, QStringLiteral("Turnierdaten")), 0);
        EXPECT_EQ(count(p.db, QStringLiteral("Einstellungen")), 1) << "only the database-wide row stays";
        EXPECT_FALSE(p.state.tournamentOpen());
        EXPECT_EQ(p.main->currentPanel(), QStringLiteral("welcome"));
        EXPECT_EQ(p.main->classBar()->itemCaptions(), QStringList{QStringLiteral("Klassen verwalten")});
        EXPECT_FALSE(p.main->spieleplanerAction()->isEnabled());
    }
}

VELMORA_INSTANTIATE_DB_TEST(TournamentLifeTest);

TEST(TournamentCreate, ANewFileNameInTheSaveDialogMakesANewDatabase) {
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("Files")));
    for (const char* f : {"Files/system.txt", "Files/ko_system.txt"}) QFile(dir.filePath(QString::fromLatin1(f))).open(QIODevice::WriteOnly);
    const QString fresh = dir.filePath(QStringLiteral("Vereinsmeisterschaft.sqlite"));
    Program p(dir.path(), QString());
    emit p.main->createTournamentRequested();
    TTurnier_erstellen* dlg = p.windows->createDialog();
    p.find<QLineEdit>(dlg, "turniername")->setText(QStringLiteral("Vereinsmeisterschaft"));
    p.find<QRadioButton>(dlg, "dateidatenbank")->click();
    p.ui.chooseFile(fresh);
    QTest::mouseClick(p.find<QPushButton>(dlg, "erstellen"), Qt::LeftButton);
    EXPECT_TRUE(p.ui.messages.isEmpty()) << p.ui.texts().join(u'|').toStdString();
    ASSERT_TRUE(QFile::exists(fresh));
    EXPECT_EQ(p.state.tid, 1);
    EXPECT_EQ(p.db.selectOne(QStringLiteral("SELECT version FROM Einstellungen WHERE TID=-999")).integer(u"version"), schema::kCurrentVersion);

    // A file that cannot be made is reported and nothing opens.
    Program q(dir.path(), QString());
    emit q.main->createTournamentRequested();
    q.find<QLineEdit>(q.windows->createDialog(), "turniername")->setText(QStringLiteral("Pokal"));
    q.find<QRadioButton>(q.windows->createDialog(), "dateidatenbank")->click();
    const QString nowhere = dir.filePath(QStringLiteral("fehlt/turnier.sqlite"));
    q.ui.chooseFile(nowhere);
    QTest::mouseClick(q.find<QPushButton>(q.windows->createDialog(), "erstellen"), Qt::LeftButton);
    EXPECT_EQ(q.ui.texts(), QStringList{QStringLiteral("Die Datei \"%1\" kann nicht angelegt werden.").arg(nowhere)});
    EXPECT_FALSE(q.state.tournamentOpen());
    EXPECT_TRUE(q.windows->createDialog()->isVisible());
}

} // namespace

namespace {

TEST(TournamentClasses, AClassSavedOnItsPanelAppearsInTheClassBarAndThePlayerPanel) {
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("Files")));
    for (const char* f : {"Files/system.txt", "Files/ko_system.txt"}) QFile(dir.filePath(QString::fromLatin1(f))).open(QIODevice::WriteOnly);
    const QString file = dir.filePath(QStringLiteral("turnier_db.sqlite"));
    Program p(dir.path(), QString());
    emit p.main->createTournamentRequested();
    p.find<QLineEdit>(p.windows->createDialog(), "turniername")->setText(QStringLiteral("Pokal"));
    p.find<QRadioButton>(p.windows->createDialog(), "dateidatenbank")->click();
    p.ui.chooseFile(file);
    QTest::mouseClick(p.find<QPushButton>(p.windows->createDialog(), "erstellen"), Qt::LeftButton);
    ASSERT_TRUE(p.state.tournamentOpen());

    auto choose = [](NavigationBar* bar, const QString& item) {
        QTest::mouseClick(bar->itemButton(bar->indexOf(item)), Qt::LeftButton);
    };
    choose(p.main->classBar(), QStringLiteral("Klassen verwalten"));
    ASSERT_EQ(p.main->currentPanel(), QStringLiteral("klassenverwalten"));
    QWidget* panel = p.main->panel(QStringLiteral("klassenverwalten"));
    p.find<QComboBox>(panel, "system")->setCurrentIndex(1);
    auto* name = p.find<QLineEdit>(panel, "kbezeichnung");
    name->setFocus();
    QTest::keyClicks(name, QStringLiteral("Herren A"));
    QTest::mouseClick(p.find<QPushButton>(panel, "klasse_speichern"), Qt::LeftButton);
    EXPECT_TRUE(p.ui.messages.isEmpty()) << p.ui.texts().join(u'|').toStdString();
    EXPECT_EQ(p.main->classBar()->itemCaptions(),
              (QStringList{QStringLiteral("Klassen verwalten"), QStringLiteral("Herren A (Doppel)")}));

    choose(p.main->playerBar(), QStringLiteral("Spieler verwalten"));
    auto* classes = p.find<QListWidget>(p.main->panel(QStringLiteral("spielerverwaltung")), "sklassen");
    ASSERT_GE(classes->count(), 1);
    EXPECT_TRUE(classes->item(0)->text().contains(QStringLiteral("Herren A")));

    // Ctrl+Enter at the check-in starts a new player on the player panel with the typed name.
    choose(p.main->playerBar(), QStringLiteral("Spieleranmeldung"));
    ASSERT_EQ(p.main->currentPanel(), QStringLiteral("Anmeldung"));
    auto* field = p.find<QLineEdit>(p.main->panel(QStringLiteral("Anmeldung")), "spieler_anmeldung");
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("Meier, Anna"));
    QTest::keyClick(field, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(p.main->currentPanel(), QStringLiteral("spielerverwaltung"));
    QWidget* players = p.main->panel(QStringLiteral("spielerverwaltung"));
    EXPECT_EQ(p.find<QLineEdit>(players, "snachname")->text(), QStringLiteral("Meier"));
    EXPECT_EQ(p.find<QLineEdit>(players, "svorname")->text(), QStringLiteral("Anna"));
}

// A file tournament opened in a fresh program, with the rows a test writes itself.
struct OpenProgram {
    QTemporaryDir dir;
    std::unique_ptr<Program> p;
    OpenProgram() {
        p = std::make_unique<Program>(dir.path(), QString());
        const QString file = dir.filePath(QStringLiteral("turnier_db.sqlite"));
        emit p->main->createTournamentRequested();
        p->find<QLineEdit>(p->windows->createDialog(), "turniername")->setText(QStringLiteral("Pokal"));
        p->find<QRadioButton>(p->windows->createDialog(), "dateidatenbank")->click();
        p->ui.chooseFile(file);
        QTest::mouseClick(p->find<QPushButton>(p->windows->createDialog(), "erstellen"), Qt::LeftButton);
    }
};

TEST(AppWindowsDraw, ZurAuslosungOpensTheDrawAndFertigStellenAddsThePlanItem) {
    OpenProgram o;
    Program& p = *o.p;
    ASSERT_TRUE(p.state.tournamentOpen());
    p.db.exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, system, kbezeichnung) VALUES (5, :t, 0, 'Jugend')"),
              {{":t", p.state.tid}});
    for (int sid = 1; sid <= 4; ++sid) {
        p.db.exec(QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname, vorname, verein, angemeldet) "
                                 "VALUES (:t,:s,:n,'Vor','TTC',:a)"),
                  {{":t", p.state.tid}, {":s", sid}, {":n", QStringLiteral("Spieler%1").arg(sid)}, {":a", true}});
        p.db.exec(QStringLiteral("INSERT INTO Spieler_im_Turnier VALUES (:t,5,:s)"), {{":t", p.state.tid}, {":s", sid}});
    }
    // One single knock-out phase.
    p.db.exec(QStringLiteral("INSERT INTO Gruppeneinstellungen (KID, phase1) VALUES (5, 1)"));
    Tauslosungsform* draw = p.windows->drawDialog();
    const QString files = QStringLiteral(VELMORA_SOURCE_DIR "/data/Files/");
    draw->setDatendateien({files + "system.txt", files + "ko_system.txt"});

    emit p.windows->groupPanel()->drawRequested(5);
    ASSERT_TRUE(draw->isVisible());
    EXPECT_EQ(draw->tag(), 1);
    QTest::mouseClick(p.find<QPushButton>(draw, "dxButton1"), Qt::LeftButton);
    QTest::mouseClick(p.find<QPushButton>(draw, "weiter"), Qt::LeftButton);
    QTest::mouseClick(p.find<QPushButton>(draw, "fertig"), Qt::LeftButton);
    EXPECT_FALSE(draw->isVisible()) << p.ui.texts().join(u'|').toStdString();
    EXPECT_EQ(p.main->plansBar()->itemCaptions(), QStringList{QStringLiteral("Jugend (Einzel)")});
    EXPECT_EQ(p.db.selectOne(QStringLiteral("SELECT COUNT(*) AS c FROM Spielplan WHERE KID=5")).integer(u"c"), 3);
    // What the draw wrote is what the operator sees next.
    EXPECT_EQ(p.main->currentPanel(), QStringLiteral("spielplanform"));
    EXPECT_EQ(p.state.kid, 5);

    // A new draw of the drawn class asks first, with "Nein" as the default; "Nein" opens nothing.
    const QString frage = QStringLiteral("Die Klasse ist bereits ausgelost. Eine neue Auslosung ersetzt den Spielplan "
                                         "und alle eingetragenen Ergebnisse.");
    p.ui.answer(false);
    emit p.windows->groupPanel()->drawRequested(5);
    EXPECT_FALSE(draw->isVisible());
    ASSERT_EQ(p.ui.questions.size(), 1);
    EXPECT_EQ(p.ui.questions.last(), frage + QStringLiteral(" Trotzdem neu auslosen?"));
    EXPECT_TRUE(p.ui.questionDefaultNo.last());
    // Once results exist, the question says how many would be lost.
    p.db.exec(QStringLiteral("UPDATE Spielplan SET beendet=:b WHERE KID=5 AND spielnummer<=2"), {{":b", true}});
    p.ui.answer(false);
    p.windows->openDraw(5, 1);
    EXPECT_EQ(p.ui.questions.last(),
              frage + QStringLiteral(" Dabei gehen 2 eingetragene Ergebnisse verloren. Trotzdem neu auslosen?"));
    EXPECT_FALSE(draw->isVisible());

    // "Ja" opens the draw; cancelled there, the plan stays as written.
    p.ui.answer(true);
    p.windows->openDraw(5, 1);
    EXPECT_TRUE(draw->isVisible());
    QTest::mouseClick(p.find<QPushButton>(draw, "cancel"), Qt::LeftButton);
    EXPECT_FALSE(draw->isVisible());
    // A redraw of a phase the class lacks opens nothing.
    p.windows->openDraw(5, 2);
    EXPECT_FALSE(draw->isVisible());
    EXPECT_EQ(p.db.selectOne(QStringLiteral("SELECT COUNT(*) AS c FROM Spielplan WHERE KID=5")).integer(u"c"), 3);
}

TEST(AppWindowsTeams, TheTeamSystemDialogEditsTheLineUpTheClassPanelSaves) {
    OpenProgram o;
    Program& p = *o.p;
    ASSERT_TRUE(p.state.tournamentOpen());
    Klassenverwalten* klassen = p.windows->classPanel();
    Tteamform* form = p.windows->teamSystemDialog();
    klassen->showPanel();
    emit klassen->teamSystemRequested();
    ASSERT_TRUE(form->isVisible());
    p.find<QSpinBox>(form, "spieler")->setValue(3);
    QTest::mouseClick(p.find<QPushButton>(form, "uebernehmen"), Qt::LeftButton);
    EXPECT_EQ(klassen->teamSystem().spieler, 3);
}

} // namespace

// After a save, the keyboard focus is where the next entry starts and never on a delete button, and the
// status bar says what was saved (no dialog to click away).
struct SaveCase {
    const char* name;
    const char* barItem;   // the navigation item that brings the panel to front (empty: the record)
    QStringList fields;    // line edits typed into, in pairs: name, text
    const char* saveButton;
    const char* focus;     // the field that has the focus afterwards
    const char* status;
};

class SaveFocus : public ::testing::TestWithParam<SaveCase> {};

TEST_P(SaveFocus, LandsOnTheNextEntryAndSaysSo) {
    const SaveCase& c = GetParam();
    OpenProgram o;
    Program& p = *o.p;
    ASSERT_TRUE(p.state.tournamentOpen());
    p.main->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(p.main.get()));
    if (*c.barItem) {
        for (NavigationBar* bar : {p.main->playerBar(), p.main->classBar()})
            if (bar->indexOf(QString::fromUtf8(c.barItem)) >= 0) bar->itemButton(bar->indexOf(QString::fromUtf8(c.barItem)))->click();
    }
    for (int i = 0; i + 1 < c.fields.size(); i += 2) {
        auto* edit = p.main->findChild<QLineEdit*>(c.fields[i]);
        ASSERT_NE(edit, nullptr) << c.fields[i].toStdString();
        ASSERT_TRUE(edit->isVisible()) << c.fields[i].toStdString();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, c.fields[i + 1]);
    }
    auto* save = p.main->findChild<QPushButton*>(QString::fromLatin1(c.saveButton));
    ASSERT_NE(save, nullptr);
    ASSERT_TRUE(save->isEnabled());
    save->setFocus();
    const auto before = p.ui.messages.size();
    QTest::mouseClick(save, Qt::LeftButton);
    for (auto i = before; i < p.ui.messages.size(); ++i) ADD_FAILURE() << p.ui.messages[i].text.toStdString();
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(focus->objectName(), QString::fromLatin1(c.focus));
    EXPECT_FALSE(focus->objectName().contains(QStringLiteral("loeschen"), Qt::CaseInsensitive));
    EXPECT_EQ(p.main->statusBar()->currentMessage(), QString::fromUtf8(c.status));
    // Enter right after the save deletes nothing and asks nothing.
    QTest::keyClick(focus, Qt::Key_Return);
    EXPECT_TRUE(p.ui.questions.isEmpty()) << p.ui.questions.join(u'|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Panels, SaveFocus,
    ::testing::Values(
        SaveCase{"Spieler", "Spieler verwalten", {"snachname", "Meier", "svorname", "Anna"}, "spielerSpeichern",
                 "snachname", "Spieler gespeichert"},
        SaveCase{"Schiedsrichter", "Schiedsrichter verwalten", {"schirinname", "Weber", "schirivname", "Tom"},
                 "schirispeichern", "schirinname", "Schiedsrichter gespeichert"},
        SaveCase{"Klasse", "Klassen verwalten", {"kbezeichnung", "Herren B"}, "klasse_speichern", "neue_klasse",
                 "Klasse gespeichert"},
        SaveCase{"Turnier", "", {"turniername", " Cup"}, "turnier_speichern", "turniername",
                 "Turnierdaten gespeichert"}),
    [](const auto& info) { return std::string(info.param.name); });

// A club name wider than its list is cut with a tooltip, never hidden behind a horizontal scroll bar.
TEST(DeskLists, ALongNameIsCutWithItsWholeTextAsTooltip) {
    OpenProgram o;
    Program& p = *o.p;
    const QString verein = QStringLiteral("SV Blau-Weiß Niederkassel-Rheidt 1921 e. V. Abteilung Tischtennis");
    p.db.exec(QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname, vorname, verein) "
                             "VALUES (:t, 1, 'Schneider', 'Lukas-Maximilian', :v)"),
              {{":t", p.state.tid}, {":v", verein}});
    p.main->resize(868, 676);
    p.main->show();
    NavigationBar* bar = p.main->playerBar();
    bar->itemButton(bar->indexOf(QStringLiteral("Spieler verwalten")))->click();
    auto* vereine = p.find<QListWidget>(p.main.get(), "vereinsliste");
    ASSERT_EQ(vereine->count(), 1);
    QTest::qWait(10);
    ASSERT_LT(vereine->viewport()->width(), vereine->fontMetrics().horizontalAdvance(verein));
    EXPECT_FALSE(vereine->horizontalScrollBar()->isVisible());
    EXPECT_EQ(vereine->item(0)->toolTip(), verein);
    EXPECT_EQ(vereine->textElideMode(), Qt::ElideRight);
}

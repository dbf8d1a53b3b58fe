#include "app/navigationbar.h"
#include "app/timpressumform.h"
#include "app/tmainform.h"
#include "common/clock.h"
#include "store/appstate.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

// A program directory with the data files the start-up looks for.
void makeProgramDir(const QTemporaryDir& dir, bool system = true, bool ko = true) {
    if (system) touch(dir.filePath(QStringLiteral("Files/system.txt")));
    if (ko) touch(dir.filePath(QStringLiteral("Files/ko_system.txt")));
}

// Tournament 1 with four classes, two of them drawn; tournament 2 with a drawn class of its own.
void seedClasses(Tdb_procedures& db) {
    struct Class {
        int kid, tid, system;
        const char* name;
    };
    for (const Class& c : {Class{10, 1, 1, "Herren A"}, Class{11, 1, 0, "Herren A"}, Class{12, 1, 2, "Damen"},
                           Class{13, 1, 3, "Jugend"}, Class{20, 2, 0, "Fremd"}})
        db.exec(
            QStringLiteral("INSERT INTO Turnierklassen (KID,TID,system,kbezeichnung) VALUES (:k,:t,:s,:n)"),
            {{":k", c.kid}, {":t", c.tid}, {":s", c.system}, {":n", QString::fromUtf8(c.name)}});
    for (auto [kid, nr] : {std::pair{10, 1}, {10, 2}, {13, 1}, {20, 1}})
        db.exec(QStringLiteral("INSERT INTO Spielplan (KID,spielnummer) VALUES (:k,:n)"),
                {{":k", kid}, {":n", nr}});
}

struct BarState {
    bool enabled;
    bool expanded;
    bool operator==(const BarState&) const = default;
};

BarState stateOf(const NavigationBar* bar) {
    return {bar->isBarEnabled(), bar->isExpanded()};
}

std::ostream& operator<<(std::ostream& os, const BarState& s) {
    return os << "{enabled " << s.enabled << ", expanded " << s.expanded << "}";
}

QList<bool> itemStates(const NavigationBar* bar) {
    QList<bool> states;
    for (int i = 0; i < bar->itemCount(); ++i)
        states << bar->isItemEnabled(i);
    return states;
}

bool clickItem(NavigationBar* bar, const QString& caption) {
    const int i = bar->indexOf(caption);
    if (i < 0) return false;
    bar->itemButton(i)->click();
    return true;
}

// The main window over a fresh database with seeded classes.
class MainformFixture {
protected:
    void start(DbKind kind) {
        tdb = std::make_unique<TestDatabase>(kind);
        makeProgramDir(programDir);
        seedClasses(tdb->db());
        form = std::make_unique<TMainform>(state, tdb->db(), ia, clock, programDir.path());
    }
    void stop() {
        form.reset();
        tdb.reset();
    }
    void load(int tid = 1, const QString& name = QStringLiteral("Stadtmeisterschaft")) {
        state.tid = tid;
        state.turniername = name;
        form->enterTournamentOpen(true);
    }

    std::unique_ptr<TestDatabase> tdb;
    QTemporaryDir programDir;
    AppState state;
    ScriptedInteraction ia;
    FixedClock clock{QDateTime(QDate(2024, 5, 11), QTime(9, 0))};
    std::unique_ptr<TMainform> form;
};

// Window behaviour; the file database is enough.
class MainformTest : public ::testing::Test, protected MainformFixture {
protected:
    void SetUp() override { start(DbKind::File); }
    void TearDown() override { stop(); }
};

// What the window reads from the database, on every engine.
class MainformDbTest : public ::testing::TestWithParam<DbKind>, protected MainformFixture {
protected:
    void SetUp() override {
        VELMORA_SKIP_WITHOUT_SERVER(GetParam());
        start(GetParam());
    }
    void TearDown() override { stop(); }
};
VELMORA_INSTANTIATE_DB_TEST(MainformDbTest);

// ---- start-up

struct StartupCase {
    const char* name;
    bool system, ko;
    QStringList messages;
};

class StartupFiles : public ::testing::TestWithParam<StartupCase> {};

TEST_P(StartupFiles, MissingDataFilesAreReportedInOrder) {
    const StartupCase& c = GetParam();
    QTemporaryDir dir;
    makeProgramDir(dir, c.system, c.ko);
    AppState state;
    Tdb_procedures db;
    ScriptedInteraction ia;
    Clock clock;
    TMainform form(state, db, ia, clock, dir.path());

    EXPECT_EQ(ia.texts(), c.messages);
    for (const auto& m : ia.messages) {
        EXPECT_EQ(m.icon, Interaction::Icon::Error);
        EXPECT_EQ(m.button, Interaction::Button::Cancel);
    }
    EXPECT_EQ(form.startupOk(), c.messages.isEmpty());
}

const QString systemMissing = QStringLiteral("Die Datei \"system.txt\" konnte nicht gefunden werden");
const QString koMissing = QStringLiteral("Die Datei \"ko_system.txt\" konnte nicht gefunden werden");

INSTANTIATE_TEST_SUITE_P(Files, StartupFiles,
                         ::testing::Values(StartupCase{"Both", true, true, {}},
                                           StartupCase{"NoSystem", false, true, {systemMissing}},
                                           StartupCase{"NoKoSystem", true, false, {koMissing}},
                                           StartupCase{"None", false, false, {systemMissing, koMissing}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainformTest, StartsWithOnlyTheTournamentBarUsable) {
    EXPECT_TRUE(form->startupOk());
    EXPECT_TRUE(ia.messages.isEmpty());
    EXPECT_EQ(form->objectName(), QStringLiteral("TMainform"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Velmora 1.02 - Turnierverwaltung"));
    EXPECT_EQ(form->currentPanel(), QStringLiteral("welcome"));
    EXPECT_EQ(form->size(), QSize(868, 676));
    EXPECT_EQ(form->minimumSize(), QSize(800, 600));
    auto* nav = form->findChild<QWidget*>(QStringLiteral("Navigation"));
    ASSERT_NE(nav, nullptr);
    EXPECT_EQ(nav->width(), 185);

    EXPECT_EQ(stateOf(form->tournamentBar()), (BarState{true, true}));
    EXPECT_EQ(itemStates(form->tournamentBar()), (QList<bool>{true, true, false, false}));
    for (const NavigationBar* bar :
         {form->playerBar(), form->classBar(), form->plansBar(), form->exportBar()}) {
        SCOPED_TRACE(bar->caption().toStdString());
        EXPECT_EQ(stateOf(bar), (BarState{false, false}));
    }
    EXPECT_EQ(form->classBar()->itemCaptions(), QStringList{"Klassen verwalten"});
    EXPECT_FALSE(form->spieleplanerAction()->isEnabled());
    EXPECT_FALSE(form->timer()->isActive());
    EXPECT_EQ(form->timer()->interval(), 60000);
    // No animation file in this program directory: none is offered, and the start is normal.
    EXPECT_FALSE(form->animationAvailable());
    EXPECT_TRUE(form->animation()->isHidden());
}

TEST_F(MainformTest, BarsHaveTheirCaptionsAndItems) {
    struct Case {
        NavigationBar* bar;
        const char* objectName;
        const char* caption;
        QStringList items;
    };
    const Case cases[] = {
        {form->tournamentBar(),
         "Turnierbutton",
         "Turnierdaten",
         {"Turnier erstellen", "Turnier laden", "Turnier löschen", "Turnier bearbeiten"}},
        {form->playerBar(),
         "Spielerbutton",
         "Spielerdaten",
         {"Spieler verwalten", "Teamverwaltung", "Spieleranmeldung", "Spieler importieren",
          "Schiedsrichter verwalten"}},
        {form->classBar(), "Klassenbutton", "Turnierklassen", {"Klassen verwalten"}},
        {form->plansBar(), "spielplanbutton", "Spielpläne", {}},
        {form->exportBar(), "exportbutton", "Export", {"Excel-Export", "PDF-Export", "HTML-Export"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.objectName);
        EXPECT_EQ(c.bar->objectName(), QString::fromUtf8(c.objectName));
        EXPECT_EQ(c.bar->caption(), QString::fromUtf8(c.caption));
        EXPECT_EQ(c.bar->header()->text(), QString::fromUtf8(c.caption));
        EXPECT_EQ(c.bar->itemCaptions(), c.items);
    }
}

TEST_F(MainformTest, MenuHasItsItems) {
    QStringList seen;
    for (QAction* menu : form->menuBar()->actions()) {
        seen << menu->text();
        for (QAction* a : menu->menu()->actions())
            if (!a->isSeparator()) seen << QStringLiteral("  ") + a->text();
    }
    EXPECT_EQ(seen, (QStringList{"Datei", "  Druckersetup", "  Beenden", "Extras", "  Spieleplaner", "  Live-Ergebnisse …",
                                 "Information", "  Handbuch", "  Impressum", "  Velmora im Internet"}));
}

TEST_F(MainformTest, PanelsLieInTheStackWithTheirTitles) {
    const std::pair<const char*, const char*> titles[] = {
        {"neuesTurnier", "Turniername"},
        {"klassenverwalten", "Turnierklassen verwalten"},
        {"Gruppen", "Gruppeneinteilung für "},
        {"spielerverwaltung", "Spielerverwaltung"},
        {"Anmeldung", "Spieleranmeldung"},
        {"import", "Importieren von Spielern"},
        {"schiripanel", "Schiedsrichterverwaltung"},
        {"spielplanform", "Spielplan für"},
    };
    auto* stack = form->findChild<QStackedWidget*>();
    ASSERT_NE(stack, nullptr);
    EXPECT_EQ(stack->count(), 9);
    EXPECT_NE(form->panel("welcome")->findChild<QLabel*>("welcomebild"), nullptr);
    for (auto [name, title] : titles) {
        SCOPED_TRACE(name);
        ASSERT_NE(form->panel(name), nullptr);
        EXPECT_EQ(form->panel(name)->parentWidget(), stack);
        EXPECT_EQ(form->panelTitle(name), QString::fromUtf8(title));
    }
}

// ---- navigation states

struct Expected {
    QList<bool> tournamentItems;
    BarState players, classes, plans, exports;
    bool scheduler;
    const char* panel;
};

TEST_F(MainformTest, NavigationStatesSetBarsAsSpecified) {
    struct Case {
        const char* name;
        std::function<void()> step;
        Expected expected;
    };
    const Case cases[] = {
        {"after create",
         [&] {
             state.turniername = QStringLiteral("Neu");
             form->enterTournamentOpen(false);
         },
         {{true, true, true, true},
          {true, true},
          {true, true},
          {true, false},
          {true, false},
          true,
          "neuesTurnier"}},
        {"after load",
         [&] { load(); },
         {{true, true, true, true},
          {true, false},
          {true, true},
          {true, false},
          {true, false},
          true,
          "neuesTurnier"}},
        {"after delete",
         [&] {
             state.turniername.clear();
             form->leaveToNoTournament();
         },
         {{true, true, false, false},
          {false, false},
          {false, false},
          {false, false},
          {false, false},
          false,
          "welcome"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.step();
        const Expected& e = c.expected;
        EXPECT_EQ(itemStates(form->tournamentBar()), e.tournamentItems);
        EXPECT_TRUE(form->tournamentBar()->isBarEnabled());
        EXPECT_EQ(stateOf(form->playerBar()), e.players);
        EXPECT_EQ(stateOf(form->classBar()), e.classes);
        EXPECT_EQ(stateOf(form->plansBar()), e.plans);
        EXPECT_EQ(stateOf(form->exportBar()), e.exports);
        EXPECT_TRUE(form->playerBar()->isItemEnabled(0));
        EXPECT_EQ(form->spieleplanerAction()->isEnabled(), e.scheduler);
        EXPECT_EQ(form->currentPanel(), QString::fromUtf8(e.panel));
    }
}

TEST_F(MainformTest, CreateStartsWithEmptyClassAndPlansBars) {
    load(); // a tournament with classes was open before
    state.tid = 3;
    state.turniername = QStringLiteral("Neu");
    form->enterTournamentOpen(false);
    EXPECT_EQ(form->classBar()->itemCaptions(), QStringList{"Klassen verwalten"});
    EXPECT_TRUE(form->plansBar()->itemCaptions().isEmpty());
    EXPECT_EQ(form->panelTitle("neuesTurnier"), QStringLiteral("Neu"));
}

TEST_P(MainformDbTest, LoadFillsClassBarAndPlansBarFromTheDatabase) {
    load();
    EXPECT_EQ(form->classBar()->itemCaptions(),
              (QStringList{"Klassen verwalten", "Herren A (Doppel)", "Herren A (Einzel)", "Damen (Mixed)",
                           "Jugend (Team)"}));
    QStringList plans = form->plansBar()->itemCaptions();
    plans.sort();
    EXPECT_EQ(plans, (QStringList{"Herren A (Doppel)", "Jugend (Team)"}));

    // Loading another tournament replaces both lists.
    load(2, QStringLiteral("Anderes"));
    EXPECT_EQ(form->classBar()->itemCaptions(), (QStringList{"Klassen verwalten", "Fremd (Einzel)"}));
    EXPECT_EQ(form->plansBar()->itemCaptions(), QStringList{"Fremd (Einzel)"});
}

TEST_P(MainformDbTest, DeleteLeavesOnlyKlassenVerwalten) {
    load();
    state.turniername.clear();
    form->leaveToNoTournament();
    EXPECT_EQ(form->classBar()->itemCaptions(), QStringList{"Klassen verwalten"});
    EXPECT_TRUE(form->plansBar()->itemCaptions().isEmpty());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Velmora 1.02 - Turnierverwaltung"));
}

TEST_F(MainformTest, CaptionNamesTheOpenTournament) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "Velmora 1.02 - Turnierverwaltung"},
        {"Stadtmeisterschaft 2024", "Velmora 1.02 - Stadtmeisterschaft 2024 - Turnierverwaltung"},
        {"Bälle & Schläger", "Velmora 1.02 - Bälle & Schläger - Turnierverwaltung"},
    };
    for (auto [name, caption] : cases) {
        SCOPED_TRACE(name);
        state.turniername = QString::fromUtf8(name);
        form->updateCaption();
        EXPECT_EQ(form->windowTitle(), QString::fromUtf8(caption));
    }
    load(1, QStringLiteral("Geladen"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Velmora 1.02 - Geladen - Turnierverwaltung"));
}

// ---- items

TEST_P(MainformDbTest, ClassItemOpensGroupsForThatClassAndKind) {
    load();
    QSignalSpy opened(form.get(), &TMainform::classOpened);
    struct Case {
        const char* caption;
        int kid, kind;
    };
    for (const Case& c : {Case{"Herren A (Doppel)", 10, 1}, Case{"Herren A (Einzel)", 11, 0},
                          Case{"Damen (Mixed)", 12, 2}, Case{"Jugend (Team)", 13, 3}}) {
        SCOPED_TRACE(c.caption);
        const QString caption = QString::fromUtf8(c.caption);
        form->showPanel("welcome");
        opened.clear();
        ASSERT_TRUE(clickItem(form->classBar(), caption));
        EXPECT_EQ(state.kid, c.kid);
        EXPECT_EQ(state.lastClassCaption, caption);
        EXPECT_EQ(form->currentPanel(), QStringLiteral("Gruppen"));
        EXPECT_EQ(form->panelTitle("Gruppen"), QStringLiteral("Gruppeneinteilung für ") + caption);
        ASSERT_EQ(opened.count(), 1);
        EXPECT_EQ(opened[0][0].toInt(), c.kid);
        EXPECT_EQ(opened[0][1].toInt(), c.kind);
        EXPECT_EQ(opened[0][2].toString(), caption);
    }
    EXPECT_TRUE(ia.messages.isEmpty());
}

TEST_F(MainformTest, DatabaseErrorOfAnItemIsShownNotThrown) {
    load();
    tdb->db().disconnect();
    QSignalSpy opened(form.get(), &TMainform::classOpened);
    ASSERT_TRUE(clickItem(form->classBar(), "Damen (Mixed)"));
    ASSERT_TRUE(clickItem(form->plansBar(), "Jugend (Team)"));
    ASSERT_EQ(ia.messages.size(), 2);
    for (const auto& m : ia.messages) {
        EXPECT_EQ(m.icon, Interaction::Icon::Error);
        EXPECT_FALSE(m.text.isEmpty());
    }
    EXPECT_EQ(opened.count(), 0);
    EXPECT_EQ(form->currentPanel(), QStringLiteral("neuesTurnier"));
}

TEST_F(MainformTest, KlassenVerwaltenEndsOnTheClassesPanel) {
    load();
    clickItem(form->classBar(), "Herren A (Doppel)");
    ASSERT_TRUE(clickItem(form->classBar(), "Klassen verwalten"));
    EXPECT_EQ(form->currentPanel(), QStringLiteral("klassenverwalten"));
    EXPECT_EQ(state.lastClassCaption, QStringLiteral("Herren A (Doppel)"));
}

TEST_P(MainformDbTest, PlanItemOpensThePlanOfThatClass) {
    load();
    QSignalSpy opened(form.get(), &TMainform::planOpened);
    ASSERT_TRUE(clickItem(form->plansBar(), "Jugend (Team)"));
    EXPECT_EQ(form->currentPanel(), QStringLiteral("spielplanform"));
    EXPECT_EQ(form->panelTitle("spielplanform"), QStringLiteral("Spielplan für Jugend (Team)"));
    EXPECT_EQ(state.kid, 13);
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(opened[0][0].toInt(), 13);
}

TEST_F(MainformTest, ItemsShowTheirPanelOrAskForTheirDialog) {
    load();
    struct Case {
        NavigationBar* bar;
        const char* item;
        const char* panel;  // expected in front afterwards
        const char* signal; // expected emitted, or null
    };
    const Case cases[] = {
        {form->tournamentBar(), "Turnier erstellen", "welcome", SIGNAL(createTournamentRequested())},
        {form->tournamentBar(), "Turnier laden", "welcome", SIGNAL(loadTournamentRequested())},
        {form->tournamentBar(), "Turnier löschen", "welcome", SIGNAL(deleteTournamentRequested())},
        {form->tournamentBar(), "Turnier bearbeiten", "neuesTurnier", SIGNAL(editTournamentRequested())},
        {form->playerBar(), "Spieler verwalten", "spielerverwaltung", nullptr},
        {form->playerBar(), "Teamverwaltung", "welcome", SIGNAL(teamManagementRequested())},
        {form->playerBar(), "Spieleranmeldung", "Anmeldung", nullptr},
        {form->playerBar(), "Spieler importieren", "import", nullptr},
        {form->playerBar(), "Schiedsrichter verwalten", "schiripanel", nullptr},
        {form->exportBar(), "PDF-Export", "welcome", SIGNAL(exportRequested(QString))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        form->showPanel("welcome");
        QSignalSpy chosen(form.get(), &TMainform::navigationItemChosen);
        std::unique_ptr<QSignalSpy> spy;
        if (c.signal) spy = std::make_unique<QSignalSpy>(form.get(), c.signal);
        ASSERT_TRUE(clickItem(c.bar, QString::fromUtf8(c.item)));
        EXPECT_EQ(form->currentPanel(), QString::fromUtf8(c.panel));
        if (spy) {
            EXPECT_EQ(spy->count(), 1);
        }
        ASSERT_EQ(chosen.count(), 1);
        EXPECT_EQ(chosen[0][0].toString(), c.bar->caption());
        EXPECT_EQ(chosen[0][1].toString(), QString::fromUtf8(c.item));
    }
    EXPECT_TRUE(ia.messages.isEmpty());
}

TEST_F(MainformTest, ItemsOfTournamentPlayerAndClassBarsStopTheTimer) {
    load();
    struct Case {
        NavigationBar* bar;
        const char* item;
        bool stops;
    };
    const Case cases[] = {
        {form->tournamentBar(), "Turnier bearbeiten", true}, {form->playerBar(), "Spieler verwalten", true},
        {form->classBar(), "Klassen verwalten", true},       {form->classBar(), "Damen (Mixed)", true},
        {form->plansBar(), "Jugend (Team)", false},          {form->exportBar(), "HTML-Export", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        form->timer()->start();
        ASSERT_TRUE(clickItem(c.bar, QString::fromUtf8(c.item)));
        EXPECT_EQ(form->timer()->isActive(), !c.stops);
    }
    form->timer()->stop();
}

TEST_F(MainformTest, ActionsNeedingATournamentRefuseWithoutOne) {
    struct Case {
        const char* name;
        std::function<void()> act;
        Interaction::Icon icon;
        const char* message;
        const char* signal;
    };
    const Case cases[] = {
        {"Spieleplaner", [&] { form->spieleplanerClick(); }, Interaction::Icon::Error,
         "Wählen Sie zuerst ein Turnier aus", SIGNAL(schedulerRequested())},
        {"Turnier bearbeiten",
         [&] {
             // Only reachable by a stale item; the check must hold on its own.
             form->tournamentBar()->setItemEnabled(3, true);
             clickItem(form->tournamentBar(), "Turnier bearbeiten");
         },
         Interaction::Icon::None, "Sie müssen erst ein Turnier erstellen oder laden",
         SIGNAL(editTournamentRequested())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ia.clear();
        QSignalSpy spy(form.get(), c.signal);
        c.act();
        ASSERT_EQ(ia.messages.size(), 1);
        EXPECT_EQ(ia.messages[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(ia.messages[0].icon, c.icon);
        EXPECT_EQ(spy.count(), 0);
        EXPECT_EQ(form->currentPanel(), QStringLiteral("welcome"));
    }
}

TEST_F(MainformTest, SpieleplanerOpensWithATournament) {
    load();
    QSignalSpy spy(form.get(), &TMainform::schedulerRequested);
    form->spieleplanerAction()->trigger();
    EXPECT_EQ(spy.count(), 1);
    EXPECT_TRUE(ia.messages.isEmpty());
}

TEST_F(MainformTest, ManualOpensOrIsReportedMissing) {
    QList<QUrl> opened;
    form->setUrlOpener([&](const QUrl& url) {
        opened << url;
        return true;
    });
    form->handbuchClick();
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(ia.messages.size(), 1);
    EXPECT_EQ(ia.messages[0].text, QStringLiteral("Das Handbuch wurde leider nicht gefunden.\n"
                                                  "Sie können es unter https://velmora.example.org/handbuch "
                                                  "herunterladen."));

    ia.clear();
    touch(programDir.filePath("Handbuch.pdf"));
    form->handbuchClick();
    EXPECT_TRUE(ia.messages.isEmpty());
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(programDir.filePath("Handbuch.pdf"))});

    form->findChild<QAction*>("internet")->trigger();
    EXPECT_EQ(opened.last(), QUrl(QStringLiteral("https://velmora.example.org")));
}

TEST_F(MainformTest, ClassItemHelpersKeepKlassenVerwaltenFirst) {
    load();
    form->addClassItem("Neu (Einzel)");
    form->addClassItem("Neu (Einzel)"); // already there
    form->renameClassItem("Damen (Mixed)", "Frauen (Mixed)");
    form->removeClassItem("Herren A (Einzel)");
    form->removeClassItem("Klassen verwalten");
    EXPECT_EQ(form->classBar()->itemCaptions(),
              (QStringList{"Klassen verwalten", "Herren A (Doppel)", "Frauen (Mixed)", "Jugend (Team)",
                           "Neu (Einzel)"}));

    form->addPlanItem("Jugend (Team)"); // already there
    form->addPlanItem("Damen (Mixed)");
    form->removePlanItem("Herren A (Doppel)");
    QStringList plans = form->plansBar()->itemCaptions();
    plans.sort();
    EXPECT_EQ(plans, (QStringList{"Damen (Mixed)", "Jugend (Team)"}));
}

TEST_F(MainformTest, RealPanelReplacesItsPlaceholder) {
    auto* welcome = new QWidget;
    auto* players = new QWidget;
    auto* stack = form->findChild<QStackedWidget*>();
    const int index = stack->indexOf(form->panel("spielerverwaltung"));
    form->setPanel("welcome", welcome); // the panel in front stays in front
    form->setPanel("spielerverwaltung", players);
    EXPECT_EQ(stack->currentWidget(), welcome);
    EXPECT_EQ(form->panel("spielerverwaltung"), players);
    EXPECT_EQ(players->objectName(), QStringLiteral("spielerverwaltung"));
    EXPECT_EQ(stack->indexOf(players), index);
    EXPECT_EQ(stack->count(), 9);
    load();
    clickItem(form->playerBar(), "Spieler verwalten");
    EXPECT_EQ(stack->currentWidget(), players);
}

TEST_F(MainformTest, SecondaryWindowBlocksTheMainWindowUntilClosed) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QSignalSpy chosen(form->tournamentBar(), &NavigationBar::itemChosen);
    QAbstractButton* laden = form->tournamentBar()->itemButton(1);
    // A click as the window system delivers it, so that modality applies.
    auto clickLaden = [&] {
        QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {},
                          laden->mapTo(form.get(), laden->rect().center()));
    };

    auto* dialog = new QDialog;
    form->showDialog(dialog);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    EXPECT_EQ(dialog->parentWidget(), form.get());
    EXPECT_EQ(QGuiApplication::modalWindow(), dialog->windowHandle());
    clickLaden();
    EXPECT_EQ(chosen.count(), 0);

    dialog->close();
    EXPECT_EQ(QGuiApplication::modalWindow(), nullptr);
    clickLaden();
    EXPECT_EQ(chosen.count(), 1);
}

TEST_F(MainformTest, ImpressumNamesProgramMakerAndLicences) {
    form->findChild<QAction*>("impressum")->trigger();
    TImpressumForm* about = form->impressumForm();
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), QStringLiteral("Impressum"));
    const QString text = about->findChild<QLabel*>("impressumtext")->text();
    for (const char* part : {"Velmora 1.02", "Velmora-Entwicklerteam", "Qt", "LGPL-3.0", "SQLite",
                             "Public Domain", "PostgreSQL-Lizenz", "libxlsxwriter", "BSD-2-Clause", "libzip",
                             "BSD-3-Clause", "Liberation", "OFL-1.1"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
    about->close();
}

TEST_F(MainformTest, MouseWheelMovesTheBarBoxFiveUnitsPerNotch) {
    load();
    for (NavigationBar* bar :
         {form->tournamentBar(), form->playerBar(), form->classBar(), form->plansBar(), form->exportBar()})
        bar->setExpanded(true);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    auto* box = form->findChild<QScrollArea*>("navigationsleisten");
    ASSERT_NE(box, nullptr);
    QScrollBar* bar = box->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 20) << "the bars must overflow the box for this test";

    auto wheel = [&](int delta) {
        const QPointF at(10, 10);
        QWheelEvent e(at, box->viewport()->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(box->viewport(), &e);
    };
    wheel(-240); // two notches down
    EXPECT_EQ(bar->value(), 10);
    wheel(-60); // half notches add up
    wheel(-60);
    EXPECT_EQ(bar->value(), 15);
    wheel(120);
    EXPECT_EQ(bar->value(), 10);
}

TEST_F(MainformTest, TabOrderFollowsTheNavigationColumn) {
    load(); // class items are added long after the window was built
    QStringList expected;
    for (const NavigationBar* bar :
         {form->tournamentBar(), form->playerBar(), form->classBar(), form->plansBar(), form->exportBar()})
        expected << bar->caption() << bar->itemCaptions();

    QWidget* nav = form->findChild<QWidget*>("Navigation");
    QStringList chain;
    QWidget* start = form->tournamentBar()->header();
    QWidget* w = start;
    do {
        if (auto* b = qobject_cast<QAbstractButton*>(w);
            b && nav->isAncestorOf(b) && (b->focusPolicy() & Qt::TabFocus))
            chain << b->accessibleName();
        w = w->nextInFocusChain();
    } while (w != start);
    EXPECT_EQ(chain, expected);
}

} // namespace

#include "draw/ui/gruppenpanel.h"

#include "app/tmainform.h"
#include "common/clock.h"
#include "draw/gruppe_fixture.h"
#include "draw/ui/gruppenliste.h"
#include "store/appstate.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace gruppedaten;

namespace {

class GruppenPanelTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        state.tid = 1;
        state.turniername = QStringLiteral("Vereinsmeisterschaft");
        state.dbKind = GetParam();
        state.trueValue = db().trueValue();
        addClass(db(), 10, 0, QStringLiteral("Herren"));
        addClass(db(), 11, 1, QStringLiteral("Herren"));
        addClass(db(), 12, 2, QStringLiteral("Gemischt"));
        addClass(db(), 13, 3, QStringLiteral("Vereine"));
        addPlayer(db(), 1, QStringLiteral("Meier"), QStringLiteral("Hans"), true, true);
        addPlayer(db(), 2, QStringLiteral("Schulz"), QStringLiteral("Eva"), false, false);
        addPlayer(db(), 3, QStringLiteral("Bauer"), QStringLiteral("Jana"), true, false);
        addPlayer(db(), 4, QStringLiteral("Vogel"), QStringLiteral("Paul"), true, true);
        addPlayer(db(), 5, QStringLiteral("Kurz"), QStringLiteral("Olaf"), true, true);
        for (int s = 1; s <= 5; ++s)
            enter(db(), 10, s);
        for (int kid : {11, 12}) {
            for (int s : {1, 2, 3})
                doppel(db(), kid, s);
            pair(db(), kid, 4, 5);
        }
        addTeam(db(), 13, 7, QStringLiteral("TTC Nord"), true);
        panel = std::make_unique<GruppenPanel>(state, db(), ui, clock);
        panel->resize(900, 600);
        panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
    }
    void TearDown() override {
        panel.reset();
        DbTest::TearDown();
    }

    template <typename W> W* child(const QString& name) {
        W* w = panel->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QSpinBox* spin(const QString& name) { return child<QSpinBox>(name); }
    GruppenListe* list(const QString& name) { return child<GruppenListe>(name); }
    bool shown(const QString& name) { return !child<QWidget>(name)->isHidden(); }

    void showListsPage() {
        child<QTabWidget>(QStringLiteral("seiten"))->setCurrentIndex(1);
        QApplication::processEvents();
    }

    static QStringList texts(const QListWidget* l) {
        QStringList t;
        for (int i = 0; i < l->count(); ++i)
            t << l->item(i)->text();
        return t;
    }

    // A line of one list dropped onto another, as the mouse would: enter, move, drop. A target row of -1
    // drops below the last line.
    void drop(GruppenListe* source, int sourceRow, GruppenListe* target, int targetRow) {
        std::unique_ptr<QMimeData> data(source->zeileMimeData(sourceRow));
        const QPoint at = targetRow >= 0 ? target->visualItemRect(target->item(targetRow)).center()
                                         : QPoint(10, target->viewport()->height() - 3);
        QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target->viewport(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDragMoveEvent move(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target->viewport(), &move);
        QDropEvent dropped(QPointF(at), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target->viewport(), &dropped);
        EXPECT_EQ(dropped.dropAction(), Qt::CopyAction); // the source never removes its line
    }

    AppState state;
    ScriptedInteraction ui;
    FixedClock clock{QDateTime(QDate(2024, 5, 4), QTime(9, 0))};
    std::unique_ptr<GruppenPanel> panel;
};

TEST_P(GruppenPanelTest, OpeningAClassShowsItsKind) {
    const struct {
        int kid;
        int kind;
        const char* caption;
        const char* gesetzt;
        const char* gemeldet;
        bool doppel;
        QStringList entries;
    } cases[] = {
        {10,
         0,
         "Herren (Einzel)",
         "Gesetzte Spieler",
         "Gemeldete Spieler",
         false,
         {"Bauer, Jana", "Kurz, Olaf", "Meier, Hans", "Schulz, Eva", "Vogel, Paul"}},
        {11,
         1,
         "Herren (Doppel)",
         "Gesetzte Doppel",
         "Gemeldete Doppel",
         true,
         {"Bauer, J. / ", "Meier, H. / ", "Schulz, E. / ", "Vogel, P. / Kurz, O"}},
        {12,
         2,
         "Gemischt (Mixed)",
         "Gesetzte Doppel",
         "Gemeldete Doppel",
         true,
         {"Bauer, J. / ", "Meier, H. / ", "Schulz, E. / ", "Vogel, P. / Kurz, O"}},
        {13, 3, "Vereine (Team)", "Gesetzte Mannschaften", "Gemeldete Mannschaften", false, {"TTC Nord"}},
    };
    EXPECT_EQ(panel->objectName(), QStringLiteral("Gruppen"));
    EXPECT_FALSE(child<QPushButton>(QStringLiteral("zurauslosung"))->isEnabled());
    EXPECT_FALSE(child<QPushButton>(QStringLiteral("spielsystem_create"))->isEnabled());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        showListsPage();
        panel->openClass(c.kid, c.kind, QString::fromUtf8(c.caption));
        EXPECT_EQ(state.kid, c.kid);
        EXPECT_EQ(child<QLabel>(QStringLiteral("Gruppentitel"))->text(),
                  QStringLiteral("Gruppeneinteilung für ") + QString::fromUtf8(c.caption));
        EXPECT_EQ(child<QTabWidget>(QStringLiteral("seiten"))->currentIndex(), 0);
        EXPECT_EQ(child<QLabel>(QStringLiteral("gesetztecaption"))->text(), QString::fromUtf8(c.gesetzt));
        EXPECT_EQ(child<QLabel>(QStringLiteral("gemeldetecaption"))->text(), QString::fromUtf8(c.gemeldet));
        EXPECT_EQ(shown(QStringLiteral("doppelpanel")), c.doppel);
        EXPECT_EQ(texts(list(QStringLiteral("gemeldete_spieler"))), c.entries);
        EXPECT_EQ(child<QLabel>(QStringLiteral("anzahl"))->text(), QString::number(c.entries.size()));
        EXPECT_TRUE(child<QPushButton>(QStringLiteral("zurauslosung"))->isEnabled());
        EXPECT_TRUE(child<QPushButton>(QStringLiteral("spielsystem_create"))->isEnabled());
        EXPECT_TRUE(shown(QStringLiteral("phase1panel")));
        EXPECT_FALSE(shown(QStringLiteral("phase2panel")));
        EXPECT_FALSE(shown(QStringLiteral("phase3panel")));
        EXPECT_TRUE(child<QRadioButton>(QStringLiteral("spielsystem1_0"))->isChecked());
    }
    // Present entries stand out from absent ones.
    panel->openClass(10, 0, QStringLiteral("Herren (Einzel)"));
    const QListWidget* entries = list(QStringLiteral("gemeldete_spieler"));
    EXPECT_NE(entries->item(2)->foreground().color(),
              entries->item(3)->foreground().color()); // Meier, Schulz
    EXPECT_EQ(entries->item(2)->foreground().color(), entries->item(0)->foreground().color()); // Meier, Bauer
    EXPECT_EQ(entries->item(3)->foreground().color(), QColor(Qt::black));
}

TEST_P(GruppenPanelTest, OnlyTheDirectQualifiersCanBeTyped) {
    for (int n = 1; n <= 3; ++n) {
        const QString besten = n == 2 ? QStringLiteral("besten2") : QStringLiteral("beste%1").arg(n);
        const std::pair<QString, bool> spins[] = {{QStringLiteral("gruppenanzahl%1").arg(n), false},
                                                  {QStringLiteral("teilnehmer%1").arg(n), false},
                                                  {besten, true},
                                                  {QStringLiteral("bestplazierte%1").arg(n), false}};
        for (const auto& [name, typed] : spins) {
            const QLineEdit* edit = spin(name)->findChild<QLineEdit*>();
            ASSERT_NE(edit, nullptr) << name.toStdString();
            EXPECT_EQ(edit->isReadOnly(), !typed) << name.toStdString();
        }
    }
    EXPECT_TRUE(spin(QStringLiteral("gesetztespieleredit"))->findChild<QLineEdit*>()->isReadOnly());
}

TEST_P(GruppenPanelTest, TheControlsFollowTheSettingsRules) {
    panel->openClass(10, 0, QStringLiteral("Herren (Einzel)"));
    for (int i = 0; i < 15; ++i)
        spin(QStringLiteral("teilnehmer1"))->stepUp();
    EXPECT_EQ(spin(QStringLiteral("teilnehmer1"))->value(), 13);

    spin(QStringLiteral("teilnehmer1"))->setValue(4);
    QSpinBox* beste1 = spin(QStringLiteral("beste1"));
    beste1->clear();
    QTest::keyClicks(beste1, QStringLiteral("7"));
    EXPECT_EQ(beste1->value(), 4);
    EXPECT_TRUE(shown(QStringLiteral("phase2panel")));
    spin(QStringLiteral("teilnehmer1"))->setValue(2);
    EXPECT_EQ(beste1->value(), 2);

    spin(QStringLiteral("gruppenanzahl2"))->setValue(1);
    spin(QStringLiteral("bestplazierte2"))->stepUp();
    EXPECT_TRUE(shown(QStringLiteral("phase3panel")));
    spin(QStringLiteral("bestplazierte2"))->stepUp();
    EXPECT_EQ(spin(QStringLiteral("bestplazierte2"))->value(), 1);

    child<QRadioButton>(QStringLiteral("spielsystem2_1"))->click();
    EXPECT_FALSE(shown(QStringLiteral("phase3panel")));
    EXPECT_FALSE(shown(QStringLiteral("gruppeneinstellung2")));
    EXPECT_EQ(spin(QStringLiteral("bestplazierte2"))->value(), 0);
    EXPECT_EQ(spin(QStringLiteral("gruppenanzahl2"))->value(), 0);

    child<QRadioButton>(QStringLiteral("spielsystem1_2"))->click();
    EXPECT_FALSE(shown(QStringLiteral("phase2panel")));
    EXPECT_FALSE(shown(QStringLiteral("gruppeneinstellung1")));
    EXPECT_EQ(beste1->value(), 0);
    EXPECT_EQ(spin(QStringLiteral("teilnehmer1"))->value(), 0);
    EXPECT_TRUE(child<QRadioButton>(QStringLiteral("spielsystem2_0"))->isChecked());

    // With 5 entries at most 3 seed slots.
    QSpinBox* gesetzt = spin(QStringLiteral("gesetztespieleredit"));
    for (int i = 0; i < 5; ++i)
        gesetzt->stepUp();
    EXPECT_EQ(gesetzt->value(), 3);
    EXPECT_EQ(texts(list(QStringLiteral("gesetztespielerliste"))), QStringList({"1.", "2.", "3."}));
    gesetzt->stepDown();
    EXPECT_EQ(list(QStringLiteral("gesetztespielerliste"))->count(), 2);
}

TEST_P(GruppenPanelTest, SeedsAreSetSwappedAndEmptiedByDragging) {
    panel->openClass(10, 0, QStringLiteral("Herren (Einzel)"));
    showListsPage();
    spin(QStringLiteral("gesetztespieleredit"))->stepUp();
    spin(QStringLiteral("gesetztespieleredit"))->stepUp();
    GruppenListe* entries = list(QStringLiteral("gemeldete_spieler"));
    GruppenListe* seeds = list(QStringLiteral("gesetztespielerliste"));

    drop(entries, 2, seeds, 1);  // Meier
    drop(entries, 0, seeds, 0);  // Bauer
    drop(entries, 2, seeds, 0);  // Meier again: already seeded
    drop(entries, 4, seeds, -1); // beside the lines
    EXPECT_EQ(texts(seeds), QStringList({"1. Bauer, Jana", "2. Meier, Hans"}));
    EXPECT_EQ(entries->count(), 5);

    drop(seeds, 1, seeds, 0);
    EXPECT_EQ(texts(seeds), QStringList({"1. Meier, Hans", "2. Bauer, Jana"}));

    drop(seeds, 1, entries, -1);
    EXPECT_EQ(texts(seeds), QStringList({"1. Meier, Hans", "2."}));

    QTest::mouseClick(child<QPushButton>(QStringLiteral("spielsystem_create")), Qt::LeftButton);
    EXPECT_TRUE(ui.messages.isEmpty());
    QStringList stored;
    for (const Row& r : db().select(QStringLiteral("SELECT * FROM Gesetzt WHERE KID=10 ORDER BY position")))
        stored << QStringLiteral("%1 %2 %3")
                      .arg(r.integer(u"position"))
                      .arg(r.integer(u"SID"))
                      .arg(r.integer(u"partner_SID"));
    EXPECT_EQ(stored, QStringList({"0 1 0", "1 -1 -1"}));
    EXPECT_EQ(db().selectOne(QStringLiteral("SELECT gesetzt FROM Gruppeneinstellungen WHERE KID=10"))
                  .integer(u"gesetzt"),
              2);

    // Clicking a line of one list clears the choice in the other.
    QTest::mouseClick(entries->viewport(), Qt::LeftButton, {},
                      entries->visualItemRect(entries->item(1)).center());
    ASSERT_EQ(entries->selectedItems().size(), 1);
    QTest::mouseClick(seeds->viewport(), Qt::LeftButton, {}, seeds->visualItemRect(seeds->item(0)).center());
    EXPECT_TRUE(entries->selectedItems().isEmpty());
    EXPECT_EQ(seeds->selectedItems().size(), 1);
    QTest::mouseClick(entries->viewport(), Qt::LeftButton, {},
                      entries->visualItemRect(entries->item(1)).center());
    EXPECT_TRUE(seeds->selectedItems().isEmpty());
}

TEST_P(GruppenPanelTest, PlayersWithoutPartnerArePairedByDragging) {
    panel->openClass(12, 2, QStringLiteral("Gemischt (Mixed)"));
    showListsPage();
    GruppenListe* entries = list(QStringLiteral("gemeldete_spieler"));
    GruppenListe* ohne = list(QStringLiteral("ohnepartner"));
    ASSERT_EQ(texts(ohne), QStringList({"Bauer, Jana", "Meier, Hans", "Schulz, Eva"}));

    // Bauer onto Schulz: two women.
    drop(ohne, 0, entries, 2);
    EXPECT_EQ(ui.texts(), QStringList({"Beide Spieler haben das gleiche Geschlecht"}));
    EXPECT_EQ(texts(ohne), QStringList({"Bauer, Jana", "Meier, Hans", "Schulz, Eva"}));

    // Schulz onto Meier.
    ui.clear();
    drop(ohne, 2, entries, 1);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(texts(ohne), QStringList({"Bauer, Jana"}));
    EXPECT_EQ(texts(entries),
              QStringList({"Bauer, J. / ", "Meier, Hans / Schulz, Eva", "Vogel, P. / Kurz, O"}));
    EXPECT_EQ(child<QLabel>(QStringLiteral("anzahl"))->text(), QStringLiteral("3"));
    const Rows rows = db().select(QStringLiteral(
        "SELECT SID, partner_SID FROM Doppelpartner WHERE KID=12 AND SID IN (1,2) ORDER BY SID"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].integer(u"partner_SID"), 2);
    EXPECT_EQ(rows[1].integer(u"partner_SID"), 1);
}

TEST_P(GruppenPanelTest, ZurAuslosungChecksStoresAndAsksForTheDraw) {
    panel->openClass(10, 0, QStringLiteral("Herren (Einzel)"));
    QSignalSpy draw(panel.get(), &GruppenPanel::drawRequested);
    QPushButton* button = child<QPushButton>(QStringLiteral("zurauslosung"));
    EXPECT_EQ(button->text(), QStringLiteral("Zur Auslosung -->"));
    spin(QStringLiteral("gruppenanzahl1"))->setValue(1);
    spin(QStringLiteral("teilnehmer1"))->setValue(4);

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(ui.texts(), QStringList({"Es sind mehr Spieler als verfügbare\nGruppenplätze gemeldet"}));
    EXPECT_EQ(draw.count(), 0);
    EXPECT_TRUE(db().select(QStringLiteral("SELECT * FROM Gruppeneinstellungen")).isEmpty());

    ui.clear();
    spin(QStringLiteral("teilnehmer1"))->setValue(5);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(ui.messages.isEmpty());
    ASSERT_EQ(draw.count(), 1);
    EXPECT_EQ(draw[0][0].toInt(), 10);
    const Row r = db().selectOne(QStringLiteral("SELECT * FROM Gruppeneinstellungen WHERE KID=10"));
    EXPECT_EQ(r.integer(u"gruppenanzahl1"), 1);
    EXPECT_EQ(r.integer(u"teilnehmer1"), 5);
}

TEST_P(GruppenPanelTest, ADatabaseErrorIsShownAndTheStoredSettingsStay) {
    panel->openClass(10, 0, QStringLiteral("Herren (Einzel)"));
    spin(QStringLiteral("teilnehmer1"))->setValue(5);
    spin(QStringLiteral("gruppenanzahl1"))->setValue(1);
    QTest::mouseClick(child<QPushButton>(QStringLiteral("spielsystem_create")), Qt::LeftButton);
    ASSERT_TRUE(ui.messages.isEmpty());

    db().exec(QStringLiteral("DROP TABLE Gesetzt"));
    spin(QStringLiteral("teilnehmer1"))->setValue(6);
    QTest::mouseClick(child<QPushButton>(QStringLiteral("spielsystem_create")), Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
    EXPECT_FALSE(ui.messages[0].text.isEmpty());
    EXPECT_EQ(db().selectOne(QStringLiteral("SELECT teilnehmer1 FROM Gruppeneinstellungen WHERE KID=10"))
                  .integer(u"teilnehmer1"),
              5);

    // Reading fails too: reported, and nothing can be stored over the class.
    ui.clear();
    panel->openClass(10, 0, QStringLiteral("Herren (Einzel)"));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
    EXPECT_FALSE(child<QPushButton>(QStringLiteral("spielsystem_create"))->isEnabled());
    EXPECT_FALSE(child<QPushButton>(QStringLiteral("zurauslosung"))->isEnabled());
}

// The panel in the main window's stack, tied to the class bar as the program ties it.
TEST_P(GruppenPanelTest, TheMainWindowOpensItsClassesOnThePanel) {
    QTemporaryDir programDir;
    for (const char* file : {"Files/system.txt", "Files/ko_system.txt"}) {
        QDir().mkpath(programDir.filePath(QStringLiteral("Files")));
        QFile f(programDir.filePath(QString::fromLatin1(file)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    TMainform main(state, db(), ui, clock, programDir.path());
    auto* gruppen = new GruppenPanel(state, db(), ui, clock);
    main.setPanel(QStringLiteral("Gruppen"), gruppen);
    QObject::connect(&main, &TMainform::classOpened, gruppen, &GruppenPanel::openClass);

    main.openClassItem(QStringLiteral("Gemischt (Mixed)"));

    EXPECT_EQ(main.currentPanel(), QStringLiteral("Gruppen"));
    EXPECT_EQ(main.panel(QStringLiteral("Gruppen")), gruppen);
    EXPECT_EQ(main.panelTitle(QStringLiteral("Gruppen")),
              QStringLiteral("Gruppeneinteilung für Gemischt (Mixed)"));
    EXPECT_EQ(gruppen->gruppe().kid(), 12);
    EXPECT_TRUE(gruppen->gruppe().mixed());
    EXPECT_EQ(gruppen->gruppe().ohnepartner().size(), 3);
    EXPECT_TRUE(ui.messages.isEmpty());
}

} // namespace

VELMORA_INSTANTIATE_DB_TEST(GruppenPanelTest);

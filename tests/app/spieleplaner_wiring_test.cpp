// The menu item "Spieleplaner" of the main window opens the scheduler on the open tournament; a planned
// cell's popup sets its umpire and opens the match dialog with the planned values, and the plans of the
// open class show what was planned.
#include "planprogram.h"

#include "app/appwindows.h"
#include "app/spielsteuerung.h"
#include "app/tmainform.h"
#include "common/clock.h"
#include "play/ui/tplanung.h"
#include "results/ui/tergebnisdialog.h"
#include "store/appstate.h"
#include "store/db_procedures.h"
#include "store/ui/turnier_erstellen.h"
#include "support/scripted_interaction.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(SpieleplanerWiring, TheMenuItemOpensTheSchedulerOnTheOpenTournament) {
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("Files")));
    for (const char* f : {"Files/system.txt", "Files/ko_system.txt"})
        QFile(dir.filePath(QString::fromLatin1(f))).open(QIODevice::WriteOnly);
    AppState state;
    Tdb_procedures db;
    ScriptedInteraction ui;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(9, 0))};
    TMainform main(state, db, ui, clock, dir.path());
    AppWindows windows(main, state, db, ui, clock, dir.path());

    emit main.createTournamentRequested();
    windows.createDialog()
        ->findChild<QLineEdit*>(QStringLiteral("turniername"))
        ->setText(QStringLiteral("Pokal"));
    windows.createDialog()->findChild<QRadioButton*>(QStringLiteral("dateidatenbank"))->click();
    ui.chooseFile(dir.filePath(QStringLiteral("turnier_db.sqlite")));
    QTest::mouseClick(windows.createDialog()->findChild<QPushButton*>(QStringLiteral("erstellen")),
                      Qt::LeftButton);
    ASSERT_TRUE(state.tournamentOpen()) << ui.texts().join(u'|').toStdString();
    db.exec(QStringLiteral("UPDATE Turnierdaten SET tvon=:v, tbis=:v WHERE TID=:t"),
            {{":v", QDate(2026, 12, 12)}, {":t", state.tid}});
    db.exec(
        QStringLiteral("INSERT INTO Turnierklassen (KID,TID,system,kbezeichnung) VALUES (4,:t,0,'Herren')"),
        {{":t", state.tid}});
    db.exec(QStringLiteral("INSERT INTO Platten1 VALUES (4,'Tisch 1',:t)"), {{":t", state.tid}});

    ui.clear();
    main.spieleplanerAction()->trigger();
    auto* planung = main.findChild<Tplanung*>(QStringLiteral("Tplanung"));
    ASSERT_NE(planung, nullptr);
    EXPECT_TRUE(planung->isVisible());
    EXPECT_TRUE(planung->isWindow());
    EXPECT_EQ(planung->windowTitle(), "Spieleplaner");
    EXPECT_EQ(planung->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->currentText(), "Herren (Einzel)");
    EXPECT_EQ(planung->findChild<QTableWidget*>(QStringLiteral("StringGrid1"))->columnCount(), 2);
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.texts().join(u'|').toStdString();

    QTest::mouseClick(planung->findChild<QPushButton*>(QStringLiteral("beenden")), Qt::LeftButton);
    EXPECT_FALSE(planung->isVisible());
}

// A group of four in class 71 on table "T1", drawn, its plans open; the tournament lasts two days and
// "Roth, Ida" umpires the class.
class SpieleplanerFenster : public PlanProgram {
protected:
    static constexpr int kKid = 71;
    const QDate tag1{2026, 12, 12};

    void SetUp() override {
        PlanProgram::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        const QVariant n;
        klasse(kKid, 0, {0, n, n}, {1, n, n, 4, n, n, 1, n, n, 0, n, n}, 4);
        db.exec(QStringLiteral("UPDATE Turnierdaten SET tvon=:v, tbis=:b WHERE TID=:t"),
                {{":v", tag1}, {":b", tag1.addDays(1)}, {":t", state.tid}});
        db.exec(QStringLiteral("INSERT INTO Schiri (TID, SCHIRIID, snname, svname, sangemeldet) VALUES "
                               "(:t, 901, 'Roth', 'Ida', :a)"),
                {{":t", state.tid}, {":a", true}});
        db.exec(QStringLiteral("INSERT INTO Schiri_im_turnier VALUES (:t, 901, :k)"),
                {{":t", state.tid}, {":k", kKid}});
        auslosen(kKid);
        oeffnen(kKid);
        ui.clear();
        main->spieleplanerAction()->trigger();
        planung = main->findChild<Tplanung*>(QStringLiteral("Tplanung"));
        ASSERT_NE(planung, nullptr);
        ASSERT_TRUE(planung->isVisible());
    }
    SpielplanRow spiel(int snr) { return *matchrecord::readMatch(db, kKid, snr); }
    // The popup of a cell, and one of its actions triggered as a click would.
    void waehlen(int spalte, int zeile, const QString& text) {
        std::unique_ptr<QMenu> menu(planung->popupMenu(spalte, zeile));
        ASSERT_NE(menu, nullptr);
        QList<QAction*> actions = menu->actions();
        for (QMenu* sub : menu->findChildren<QMenu*>())
            actions << sub->actions();
        for (QAction* a : actions)
            if (a->text() == text) {
                ASSERT_TRUE(a->isEnabled()) << str(text);
                a->trigger();
                return;
            }
        ADD_FAILURE() << "no " << str(text) << " in the popup";
    }
    template <class W> W* imDialog(TergebnisDialog* d, const char* name) {
        W* w = d->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    Tplanung* planung = nullptr;
};

TEST_P(SpieleplanerFenster, APlannedCellOpensTheMatchDialogWithItsPlan) {
    auto* liste = planung->findChild<QListWidget*>(QStringLiteral("ListBox1"));
    ASSERT_EQ(liste->count(), 6) << "the group's six matches";
    auto* gitter = planung->findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
    EXPECT_EQ(gitter->rowAt(0), 74) << "the grid opens at 12:30";
    planung->listeAufZelle(0, 1, 87); // match 1 onto T1 at 14:30
    ASSERT_EQ(spiel(1).geplante_zeit.time(), QTime(14, 30)) << str(ui.texts().join(u'|'));

    // The umpire menu of the lower cell writes the umpire of the match both cells show.
    waehlen(1, 88, QStringLiteral("Roth, Ida"));
    EXPECT_EQ(spiel(1).schiri.value_or(QString()), QStringLiteral("Roth, Ida"));
    EXPECT_EQ(gitter->item(87, 1)->toolTip(), QStringLiteral("Schiedsrichter: Roth, Ida"));

    waehlen(1, 87, QStringLiteral("Spiel bearbeiten"));
    TergebnisDialog* d = windows->spielsteuerung()->planungsDialog();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->seiten()->tabText(d->seiten()->currentIndex()), QStringLiteral("Spielplanung"));
    EXPECT_EQ(d->okButton()->text(), QStringLiteral("Übernehmen"));
    EXPECT_EQ(imDialog<QDateEdit>(d, "starttag")->date(), tag1);
    EXPECT_EQ(imDialog<QLineEdit>(d, "startzeit")->text(), QStringLiteral("14:30"));
    EXPECT_EQ(d->plattenBox()->currentText(), QStringLiteral("T1"));
    EXPECT_EQ(imDialog<QLabel>(d, "geplanter_tisch")->text(), QStringLiteral("T1"));
    EXPECT_EQ(d->schiriBox()->currentText(), QStringLiteral("Roth, Ida"));
    EXPECT_EQ(imDialog<QLabel>(d, "spieler1")->text(), QStringLiteral("Spieler 1: ") + spiel(1).spieler1);

    // Another time stored by the dialog moves the match in the grid at once.
    imDialog<QLineEdit>(d, "startzeit")->setText(QStringLiteral("15:00"));
    QTest::mouseClick(d->okButton(), Qt::LeftButton);
    EXPECT_FALSE(d->isVisible()) << str(ui.texts().join(u'|'));
    EXPECT_EQ(spiel(1).geplante_zeit.time(), QTime(15, 0));
    EXPECT_EQ(spiel(1).geplanter_tag, tag1);
    EXPECT_EQ(planung->planung()->zelle(1, 87).spiel, nullptr);
    ASSERT_NE(gitter->item(89, 1), nullptr);
    EXPECT_EQ(gitter->item(89, 1)->text(), spiel(1).spieler1);
    EXPECT_EQ(liste->count(), 5);
    EXPECT_EQ(gitter->rowAt(0), 74) << "reading the grid again keeps it where it was";

    // Closed, the scheduler leaves the plan in the hint of the match's cells on the plan page.
    QTest::mouseClick(planung->findChild<QPushButton*>(QStringLiteral("beenden")), Qt::LeftButton);
    for (const char* name : {"status1", "statusx1"}) {
        PlanStatusItem* cell = panel()->scene(1)->statusCell(QString::fromLatin1(name));
        ASSERT_NE(cell, nullptr) << name;
        EXPECT_EQ(cell->toolTip(),
                  QStringLiteral("Geplant: 12.12.2026 15:00\nTisch: T1\nSchiedsrichter: Roth, Ida"))
            << name;
    }
    EXPECT_TRUE(ui.messages.isEmpty()) << str(ui.texts().join(u'|'));
}

// A refused umpire writes nothing and says why; a called match keeps the umpire of its call.
TEST_P(SpieleplanerFenster, TheUmpireMenuRefusesACalledMatch) {
    planung->listeAufZelle(0, 1, 60);
    matchrecord::call(db, kKid, 1, QDateTime(tag1, QTime(9, 0)), QStringLiteral("T1"), QString(), false);
    waehlen(1, 60, QStringLiteral("Roth, Ida"));
    EXPECT_FALSE(spiel(1).schiri.has_value());
    EXPECT_EQ(ui.texts(), QStringList{Planung::schiriAufgerufenText()});
}

VELMORA_INSTANTIATE_DB_TEST(SpieleplanerFenster);

} // namespace

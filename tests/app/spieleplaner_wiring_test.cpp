// The menu item "Spieleplaner" of the main window opens the scheduler on the open tournament.
#include "app/appwindows.h"
#include "app/tmainform.h"
#include "common/clock.h"
#include "play/ui/tplanung.h"
#include "store/appstate.h"
#include "store/db_procedures.h"
#include "store/ui/turnier_erstellen.h"
#include "support/scripted_interaction.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
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

} // namespace

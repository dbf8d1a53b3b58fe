// The entry form and the import through the real windows: generated from the tournament record panel,
// filled by the club, read back on the import panel and imported.
#include "app/appwindows.h"
#include "app/navigationbar.h"
#include "app/tmainform.h"
#include "common/clock.h"
#include "entries/import_fixture.h"
#include "entries/ui/importpanel.h"
#include "entries/ui/timport_form.h"
#include "store/ui/turnier_erstellen.h"
#include "store/ui/turnierpanel.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

TEST(ImportWiring, EntryFormFromTheRecordPanelComesBackThroughTheImportPanel) {
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
    db.exec(QStringLiteral("INSERT INTO Turnierklassen (KID,TID,system,kbezeichnung,mann,frau) VALUES "
                           "(4,1,1,'Herren Doppel',-1,0)"));

    const QString form = dir.filePath(QStringLiteral("meldung.docx"));
    ui.clear();
    ui.chooseFile(form);
    QTest::mouseClick(windows.recordPanel()->findChild<QPushButton*>(QStringLiteral("anmeldeformular")),
                      Qt::LeftButton);
    ASSERT_EQ(ui.texts(), QStringList{"Anmeldeformular wurde erfolgreich generiert"});

    // The club fills it in.
    const importdatei::ZipPaket zip(importdatei::lesen(form), form);
    const QByteArray filled = ausfuellen(zip.member(QStringLiteral("word/document.xml")),
                                         {{QStringLiteral("verein"), QStringLiteral("TSV Ödheim")},
                                          {QStringLiteral("nname1"), QStringLiteral("Kühn")},
                                          {QStringLiteral("vname1"), QStringLiteral("Lars")}},
                                         {QStringLiteral("klasse1_1")});
    QFile out(dir.filePath(QStringLiteral("zurueck.docx")));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(entryform::paket(filled));
    out.close();

    NavigationBar* bar = main.playerBar();
    QTest::mouseClick(bar->itemButton(bar->indexOf(QStringLiteral("Spieler importieren"))), Qt::LeftButton);
    ASSERT_EQ(main.currentPanel(), QStringLiteral("import"));
    ImportPanel* panel = windows.importPanel();
    ui.clear();
    ui.chooseFile(out.fileName());
    QTest::mouseClick(panel->findChild<QPushButton*>(QStringLiteral("datenquelle")), Qt::LeftButton);
    ASSERT_TRUE(panel->quelleDialog()->isVisible()) << ui.texts().join(u'|').toStdString();
    QTest::mouseClick(panel->quelleDialog()->findChild<QPushButton*>(QStringLiteral("importieren")),
                      Qt::LeftButton);
    QTest::mouseClick(panel->findChild<QPushButton*>(QStringLiteral("hinzufuegen")), Qt::LeftButton);
    QTest::mouseClick(panel->findChild<QPushButton*>(QStringLiteral("importieren")), Qt::LeftButton);
    EXPECT_EQ(ui.texts(), QStringList{"Der Import wurde abgeschlossen."});
    const Row r = db.selectOne(QStringLiteral("SELECT SID,verein FROM Spielerdaten WHERE nachname='Kühn'"));
    EXPECT_EQ(r.text(u"verein"), "TSV Ödheim");
    EXPECT_EQ(
        db.selectOne(QStringLiteral("SELECT COUNT(*) AS c FROM Doppelpartner WHERE KID=4 AND SID=:s AND "
                                    "partner_SID IS NULL"),
                     {{":s", r.integer(u"SID")}})
            .integer(u"c"),
        1);
}

} // namespace

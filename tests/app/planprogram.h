#pragma once

// The real main window over a tournament of its own, with the shipped data files beside it: a class of
// any kind drawn and opened from the plans bar, as the operator does it.
#include "app/appwindows.h"
#include "app/navigationbar.h"
#include "app/tmainform.h"
#include "common/clock.h"
#include "common/random.h"
#include "draw/auslosung.h"
#include "draw/ui/auslosungsform.h"
#include "play/ui/planscene.h"
#include "play/ui/platzfeld.h"
#include "play/ui/spielplanliste_form.h"
#include "play/matchrecord.h"
#include "play/ui/spielplanpanel.h"
#include "store/ui/turnier_erstellen.h"
#include "support/pdfwords.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>


namespace {


std::string str(const QString& s) {
    return s.toStdString();
}

QString sourceFile(const char* name) {
    return QStringLiteral(VELMORA_SOURCE_DIR "/data/Files/") + QString::fromLatin1(name);
}

// The program over a tournament of its own, with the shipped data files beside it.
class PlanProgram : public ::testing::TestWithParam<DbKind> {
protected:
    void SetUp() override {
        VELMORA_SKIP_WITHOUT_SERVER(GetParam());
        QDir().mkpath(dir.filePath(QStringLiteral("Files")));
        for (const char* f : {"system.txt", "ko_system.txt"})
            ASSERT_TRUE(QFile::copy(sourceFile(f), dir.filePath(QStringLiteral("Files/") + QString::fromLatin1(f))));
        if (GetParam() == DbKind::Server) serverDb = std::make_unique<TestDatabase>(DbKind::Server);
        main = std::make_unique<TMainform>(state, db, ui, clock, dir.path());
        windows = std::make_unique<AppWindows>(*main, state, db, ui, clock, dir.path());
        // The dialogs start out with this computer's name; the tests' server is elsewhere.
        if (serverDb) state.serverName = serverDb->location();
        main->show();
        TTurnier_erstellen* create = windows->createDialog();
        emit main->createTournamentRequested();
        create->findChild<QLineEdit*>(QStringLiteral("turniername"))->setText(QStringLiteral("Pokal"));
        if (serverDb) {
            create->setDatabaseName(serverDb->databaseName());
        } else {
            create->findChild<QRadioButton*>(QStringLiteral("dateidatenbank"))->click();
            ui.chooseFile(dir.filePath(QStringLiteral("turnier_db.sqlite")));
        }
        QTest::mouseClick(create->findChild<QPushButton*>(QStringLiteral("erstellen")), Qt::LeftButton);
        ASSERT_TRUE(state.tournamentOpen()) << str(ui.texts().join(u'|'));
        windows->drawDialog()->setDatendateien({sourceFile("system.txt"), sourceFile("ko_system.txt")});
    }
    void TearDown() override {
        windows.reset();
        main.reset();
        serverDb.reset();
    }

    // Class kid of the given kind with `entries` present entries and its phase settings.
    void klasse(int kid, int kind, const QVariantList& phasen, const QVariantList& zahlen, int entries = 8) {
        db.exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, system, kbezeichnung, platten, saetze) "
                               "VALUES (:k,:t,:s,:n,2,3)"),
                {{":k", kid}, {":t", state.tid}, {":s", kind}, {":n", QStringLiteral("Klasse %1").arg(kid)}});
        db.exec(QStringLiteral("INSERT INTO Platten1 VALUES (:k,'T1',1)"), {{":k", kid}});
        for (int i = 1; i <= 2 * entries; ++i)
            db.exec(QStringLiteral("INSERT INTO Spielerdaten (TID, SID, nachname, vorname, verein, angemeldet, "
                                   "mann, frau) VALUES (:t,:s,:n,'Vor',:c,:a,:m,:f)"),
                    {{":t", state.tid},
                     {":s", kid * 100 + i},
                     {":n", name(kid, i)},
                     {":c", i % 3 ? "TTC" : "TSV"},
                     {":a", true},
                     {":m", i % 2 == 1},
                     {":f", i % 2 == 0}});
        auto melden = [&](int sid) {
            db.exec(QStringLiteral("INSERT INTO Spieler_im_Turnier VALUES (:t,:k,:s)"),
                    {{":t", state.tid}, {":k", kid}, {":s", sid}});
        };
        for (int e = 0; e < entries; ++e) {
            const int a = kid * 100 + 2 * e + 1, b = a + 1;
            melden(a);
            if (kind == 3) {
                melden(b);
                db.exec(QStringLiteral("INSERT INTO Teams (TID, KID, MID, teamname, s1, angemeldet, verein) VALUES "
                                       "(:t,:k,:m,:n,:s1,:a,'TTC')"),
                        {{":t", state.tid}, {":k", kid}, {":m", kid * 100 + 50 + e}, {":n", QStringLiteral("Team %1").arg(e + 1)},
                         {":s1", a}, {":a", true}});
            } else if (kind != 0) {
                melden(b);
                for (const auto& [s, p] : {std::pair{a, b}, std::pair{b, a}})
                    db.exec(QStringLiteral("INSERT INTO Doppelpartner VALUES (:k,:s,:p,NULL)"),
                            {{":k", kid}, {":s", s}, {":p", p}});
            }
        }
        if (kind == 3)
            db.exec(QStringLiteral("INSERT INTO Teamsystem (TID, KID, spieler, reserve, s1a, s1b, s2a, s2b) "
                                   "VALUES (:t, :k, 2, 0, 1, 2, 11, 11)"),
                    {{":t", state.tid}, {":k", kid}});
        Params p{{":d1", kid}};
        for (int i = 0; i < 3; ++i)
            p.append({QStringLiteral(":d%1").arg(i + 2), phasen[i]});
        for (int i = 0; i < 12; ++i)
            p.append({QStringLiteral(":d%1").arg(i + 5), zahlen[i]});
        p.append({QStringLiteral(":d17"), 0});
        p.append({QStringLiteral(":d18"), QStringLiteral("Platte")});
        db.exec(QStringLiteral("INSERT INTO Gruppeneinstellungen VALUES (:d1,:d2,:d3,:d4,:d5,:d6,:d7,:d8,:d9,"
                               ":d10,:d11,:d12,:d13,:d14,:d15,:d16,:d17,:d18)"),
                p);
    }
    virtual QString name(int kid, int i) { return QStringLiteral("K%1S%2").arg(kid).arg(i); }

    // The draw of every phase and its completion, as the draw dialog does it.
    void auslosen(int kid) {
        Random random(7);
        Auslosung a(db, ui, clock, random);
        a.neu(kid);
        for (int p = 1; p <= 3; ++p)
            if (a.vorhanden(p)) {
                ASSERT_TRUE(a.losen(p)) << "phase " << p;
            }
        ASSERT_TRUE(a.fertigstellen(state.tid, {sourceFile("system.txt"), sourceFile("ko_system.txt")}).geschrieben)
            << str(ui.texts().join(u'|'));
    }
    QString caption(int kid) {
        const Row r = db.selectOne(QStringLiteral("SELECT kbezeichnung,system FROM Turnierklassen WHERE KID=:k"),
                                   {{":k", kid}});
        static const char* const kinds[] = {"Einzel", "Doppel", "Mixed", "Team"};
        return r.text(u"kbezeichnung") + QStringLiteral(" (") + QLatin1String(kinds[r.integer(u"system")]) +
               QStringLiteral(")");
    }
    // Chooses the class in the plans bar, as the operator does.
    void oeffnen(int kid) {
        main->fillPlansBar();
        NavigationBar* bar = main->plansBar();
        bar->setExpanded(true);
        const int index = bar->indexOf(caption(kid));
        ASSERT_GE(index, 0) << str(bar->itemCaptions().join(u'|'));
        QTest::mouseClick(bar->itemButton(index), Qt::LeftButton);
        ASSERT_EQ(main->currentPanel(), QStringLiteral("spielplanform"));
    }
    SpielplanPanel* panel() { return windows->planPanel(); }
    QVector<SpielplanRow> matches(int kid, int phase) {
        QVector<SpielplanRow> out;
        for (const Row& r : db.select(QStringLiteral("SELECT * FROM Spielplan WHERE KID=:k AND phase=:p ORDER BY "
                                                     "spielnummer"),
                                      {{":k", kid}, {":p", phase}}))
            out << matchrecord::matchFromRow(r);
        return out;
    }
    void toolKlicken(int page, PlanToolAction action, int tag = -1) {
        for (PlanToolItem* t : panel()->scene(page)->tools())
            if (t->action() == action && t->tag() == tag) {
                PlanView* view = panel()->view(page);
                panel()->pages()->setCurrentIndex(page - 1);
                view->ensureVisible(t);
                const QPoint at = view->mapFromScene(t->sceneBoundingRect().center());
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
                QCoreApplication::processEvents();
                return;
            }
        ADD_FAILURE() << "no tool on page " << page;
    }
    void alleBeenden(int kid, int phase) {
        db.exec(QStringLiteral("UPDATE Spielplan SET beendet=:t WHERE KID=:k AND phase=:p"),
                {{":t", true}, {":k", kid}, {":p", phase}});
    }

    QTemporaryDir dir;
    AppState state;
    Tdb_procedures db;
    ScriptedInteraction ui;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(9, 0))};
    std::unique_ptr<TestDatabase> serverDb;
    std::unique_ptr<TMainform> main;
    std::unique_ptr<AppWindows> windows;
};

} // namespace

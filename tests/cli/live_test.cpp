#include "cli_fixture.h"

#include "common/interaction.h"
#include "output/liveexport.h"
#include "play/matchrecord.h"
#include "results/ergebnisverarbeitung.h"
#include "support/scripted_interaction.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <atomic>
#include <csignal>
#include <thread>

namespace {

QString lesen(const QString& pfad) {
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

int ergebnisZellen(const QString& seite) {
    return int(seite.count(QStringLiteral("<td>3:1</td>")));
}

} // namespace

class LiveTest : public CliTest {
protected:
    QString ordner() const { return tdb->folder() + QStringLiteral("/live"); }
    QString planseite() const { return ordner() + QStringLiteral("/sp_Herren A0.html"); }
    liveexport::Hintergrund::Verbindung verbindung() const {
        liveexport::Hintergrund::Verbindung v;
        v.kind = GetParam();
        if (v.kind == DbKind::File)
            v.datei = tdb->location();
        else {
            v.server = tdb->location();
            v.datenbank = tdb->databaseName();
        }
        return v;
    }
    int kid() { return db().selectOne(QStringLiteral("SELECT KID FROM Turnierklassen")).integer(u"KID"); }
    ErgebnisEingabe dreiEins(int snr) {
        ErgebnisEingabe e;
        e.kid = kid();
        e.snr = snr;
        e.ergebnis = QStringLiteral("3:1");
        e.saetze = QStringList{"5", "-7", "9", "3", "", "", "", "", ""};
        e.jetzt = QDateTime(QDate(2027, 3, 14), QTime(10, 0));
        return e;
    }
};

TEST_P(LiveTest, TheLiveFolderFollowsAResultConfirmedAtTheDesk) {
    kleineKlasse();
    alle({{"draw", "Herren A", "--seed", "3"}, {"live", ordner()}});
    const QString vorher = lesen(planseite());
    ASSERT_FALSE(vorher.isEmpty());
    EXPECT_TRUE(vorher.contains(QStringLiteral("<meta http-equiv=\"refresh\" content=\"30\">")));
    EXPECT_FALSE(lesen(ordner() + QStringLiteral("/index.html")).contains(QStringLiteral("refresh")))
        << "the frameset keeps the reader where he is";
    EXPECT_EQ(ergebnisZellen(vorher), 0);

    // The desk's step: result processing on the desk's connection, the pages written off its thread.
    liveexport::Hintergrund live;
    ScriptedInteraction ui;
    Ergebnisverarbeitung ev(db(), ui, [](tabelle::Vergleich&) {});
    ASSERT_TRUE(ev.db_beendet(dreiEins(1)).geschrieben);
    live.geaendert(verbindung(), kid());
    live.warten();
    EXPECT_TRUE(live.letzterFehler().isEmpty()) << live.letzterFehler().toStdString();
    const QString nachher = lesen(planseite());
    EXPECT_EQ(ergebnisZellen(nachher), 1);
    EXPECT_TRUE(nachher.contains(QStringLiteral("<td>-7</td>")));

    // An undo is followed too.
    ASSERT_TRUE(ev.db_zuruecksetzen(kid(), 1).geschrieben);
    live.geaendert(verbindung(), kid());
    live.warten();
    EXPECT_EQ(ergebnisZellen(lesen(planseite())), 0);

    // Switched off, nothing is written any more.
    alle({{"live", "--off"}});
    ASSERT_TRUE(ev.db_beendet(dreiEins(1)).geschrieben);
    live.geaendert(verbindung(), kid());
    live.warten();
    EXPECT_EQ(ergebnisZellen(lesen(planseite())), 0);
}

TEST_P(LiveTest, AReaderPollingDuring200ResultsNeverSeesAPartialPage) {
    // Three groups of 13: 234 group matches, every one playable from the start.
    alle({{"tournament", "create", "Liga"}, {"class", "add", "Herren A", "--phase1", "gruppen:3:13:0"}});
    QList<QStringList> spieler;
    for (int i = 1; i <= 39; ++i)
        spieler << QStringList{
            "player",      "add",     QStringLiteral("S%1").arg(i, 2, 10, QLatin1Char('0')),
            "Vor",         "--class", "Herren A",
            "--checked-in"};
    alle(spieler);
    alle({{"draw", "Herren A", "--seed", "9"}, {"live", ordner()}});

    std::atomic<bool> fertig{false};
    std::atomic<int> gelesen{0}, halbe{0};
    std::thread leser([&] {
        while (!fertig) {
            const QString s = lesen(planseite());
            if (!s.startsWith(QStringLiteral("<!DOCTYPE html>")) ||
                !s.endsWith(QStringLiteral("</html>\r\n")))
                ++halbe;
            ++gelesen;
        }
    });

    liveexport::Hintergrund live;
    ScriptedInteraction ui;
    Ergebnisverarbeitung ev(db(), ui, [](tabelle::Vergleich&) {});
    int n = 0;
    for (const SpielplanRow& m : matchrecord::matchesOfClass(db(), kid())) {
        if (n == 200) break;
        ASSERT_TRUE(ev.db_beendet(dreiEins(m.spielnummer)).geschrieben) << m.spielnummer;
        live.geaendert(verbindung(), kid());
        ++n;
    }
    live.warten();
    fertig = true;
    leser.join();
    EXPECT_EQ(halbe, 0) << "of " << gelesen << " reads";
    EXPECT_GT(gelesen, 50);
    EXPECT_EQ(ergebnisZellen(lesen(planseite())), 200);
    EXPECT_TRUE(live.letzterFehler().isEmpty());
}

TEST_P(LiveTest, WatchingAServerDatabaseWritesTheClassAnotherDeskChanged) {
    kleineKlasse();
    alle({{"draw", "Herren A", "--seed", "3"}});
    const QString site = tdb->folder() + QStringLiteral("/halle");
    Lauf beobachter;
    std::thread t([&] {
        beobachter = cli({"export", "html", site, "--watch", "--interval", "1", "--rounds", "30"});
    });
    // The other desk writes once the watcher has exported the site and taken the state it compares with.
    const QString start = site + QStringLiteral("/index.html");
    for (int i = 0; i < 300 && !QFile::exists(start); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const Lauf r = cli({"result", "Herren A", "2", "5", "-7", "9", "3"});
    for (int i = 0; i < 300 && ergebnisZellen(lesen(site + QStringLiteral("/sp_Herren A0.html"))) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (QFile::exists(start)) std::raise(SIGINT); // the watcher ends as on Ctrl+C
    t.join();
    ASSERT_EQ(r.status, 0) << r.text();
    ASSERT_EQ(beobachter.status, 0) << beobachter.text();
    EXPECT_TRUE(beobachter.out.contains(QStringLiteral("neu geschrieben: Klasse"))) << beobachter.text();
    const QString seite = lesen(site + QStringLiteral("/sp_Herren A0.html"));
    EXPECT_EQ(ergebnisZellen(seite), 1);
    EXPECT_TRUE(seite.contains(QStringLiteral("http-equiv=\"refresh\"")));
}

VELMORA_INSTANTIATE_DB_TEST(LiveTest);

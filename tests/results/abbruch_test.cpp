// Results and undos in a child process on a file database, killed with SIGKILL at random moments: what
// was confirmed before the kill is there, nothing is half written, and the class plays on to the same end.
#include "spielklasse.h"
#include "support/testdb.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSqlQuery>
#include <QThread>
#include <cstdio>
#include <random>

namespace {

using namespace spielklasse;

constexpr char kUmgebung[] = "VELMORA_ABBRUCH_DB";

// Four groups of four, the first two of each into a knock-out of eight: 24 group matches, then 7.
void klasseAnlegen(Tdb_procedures& db) {
    const char* ko[] = {"Sieger Gruppe A", "Zweiter Gruppe B", "Sieger Gruppe C", "Zweiter Gruppe D",
                        "Sieger Gruppe B", "Zweiter Gruppe A", "Sieger Gruppe D", "Zweiter Gruppe C"};
    const int herkunft[][2] = {{0, 0}, {1, 1}, {2, 0}, {3, 1}, {1, 0}, {0, 1}, {3, 0}, {2, 1}};
    QVector<PlanSlot> felder;
    for (int i = 0; i < 8; ++i)
        felder << label(QString::fromUtf8(ko[i]), herkunft[i][0], herkunft[i][1]);
    DrawPlan plan;
    plan.phases = {gruppen(4, 4), bracket(PhasePlan::EinfachesKO, felder, 4), PhasePlan{}};
    anlegen(db, {Phase{0, 4, 4, 2, 0}, Phase{1}, Phase{}}, plan);
}

void melden(const char* was, int snr) {
    std::printf("ABBRUCH %s %d\n", was, snr);
    std::fflush(stdout);
}

// The child: plays the class in match order, every third result withdrawn and entered again, and
// reports each operation once its transaction is committed. Only runs when started by the test below.
TEST(ErgebnisAbbruch, Kind) {
    const QString pfad = qEnvironmentVariable(kUmgebung);
    if (pfad.isEmpty()) GTEST_SKIP() << "runs only as the child of KilledAtRandomMomentsLosesNothing";
    Tdb_procedures db;
    db.connectFile(pfad);
    ScriptedInteraction still;
    Ergebnisverarbeitung ev(db, still, [](tabelle::Vergleich&) {});
    int n = 0;
    while (const auto m = naechstes(db)) {
        ASSERT_TRUE(ev.db_beendet(staerkereGewinnt(*m)).geschrieben);
        melden("beendet", m->spielnummer);
        if (++n % 3 == 0) {
            ASSERT_TRUE(ev.db_zuruecksetzen(kKid, m->spielnummer).geschrieben);
            melden("zurueck", m->spielnummer);
            ASSERT_TRUE(ev.db_beendet(staerkereGewinnt(spiel(db, m->spielnummer))).geschrieben);
            melden("beendet", m->spielnummer);
        }
    }
}

struct Zustand {
    QVector<SpielplanRow> spiele;
    QVector<QVector<TabellenRow>> tabellen;
};

Zustand zustand(Tdb_procedures& db) {
    Zustand z;
    for (SpielplanRow m : spiele(db)) {
        m.spielende = {}; // the time of the finish is the only thing a replay does differently
        z.spiele << m;
    }
    for (int g = 0; g < 4; ++g)
        z.tabellen << tabellen::gruppeLesen(db, kKid, g);
    return z;
}

// Nothing half written: every finished match has passed its winner and loser on, and each group's
// standings count exactly its finished matches.
void stimmig(Tdb_procedures& db) {
    const auto alle = spiele(db);
    for (const SpielplanRow& m : alle) {
        if (!m.beendet) continue;
        for (const SpielplanRow& x : alle) {
            EXPECT_NE(x.spieler1, QStringLiteral("Sieger Spiel %1").arg(m.spielnummer)) << x.spielnummer;
            EXPECT_NE(x.spieler2, QStringLiteral("Sieger Spiel %1").arg(m.spielnummer)) << x.spielnummer;
        }
    }
    for (int g = 0; g < 4; ++g) {
        int fertig = 0;
        for (const SpielplanRow& m : alle)
            fertig += m.gruppe == g && m.beendet;
        int gezaehlt = 0, gewonnen = 0;
        for (const TabellenRow& r : tabellen::gruppeLesen(db, kKid, g)) {
            gezaehlt += r.spielanzahl;
            gewonnen += r.spielegewonnen;
        }
        EXPECT_EQ(gezaehlt, 2 * fertig) << "group " << g;
        EXPECT_EQ(gewonnen, fertig) << "group " << g;
    }
}

TEST(ErgebnisAbbruch, KilledAtRandomMomentsLosesNothing) {
    if (!qEnvironmentVariableIsEmpty(kUmgebung)) GTEST_SKIP() << "the child does not start children";

    Zustand ziel;
    {
        TestDatabase ref(DbKind::File);
        klasseAnlegen(ref.db());
        ScriptedInteraction still;
        Ergebnisverarbeitung ev(ref.db(), still, [](tabelle::Vergleich&) {});
        ASSERT_EQ(allesSpielen(ref.db(), ev), 31);
        ziel = zustand(ref.db());
    }

    std::random_device quelle;
    const unsigned seed = quelle();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 zufall(seed);
    // Operations the child reports: 31 results and 10 withdrawals, each withdrawn one entered again.
    std::uniform_int_distribution<int> nachMeldungen(1, 45);
    std::uniform_int_distribution<int> warteMikros(0, 4000);

    for (int runde = 0; runde < 6; ++runde) {
        SCOPED_TRACE("round " + std::to_string(runde));
        TestDatabase t(DbKind::File);
        klasseAnlegen(t.db());
        const QString pfad = t.location();
        t.db().disconnect();

        QProcess kind;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kUmgebung), pfad);
        kind.setProcessEnvironment(env);
        kind.setProcessChannelMode(QProcess::SeparateChannels);
        kind.start(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--gtest_filter=ErgebnisAbbruch.Kind")});
        ASSERT_TRUE(kind.waitForStarted());

        const int bis = nachMeldungen(zufall);
        QStringList bestaetigt;
        QByteArray rest;
        const auto lesen = [&] {
            rest += kind.readAllStandardOutput();
            int nl;
            while ((nl = rest.indexOf('\n')) >= 0) {
                const QString zeile = QString::fromUtf8(rest.left(nl));
                rest.remove(0, nl + 1);
                if (zeile.startsWith(QStringLiteral("ABBRUCH "))) bestaetigt << zeile.mid(8);
            }
        };
        while (bestaetigt.size() < bis && kind.state() == QProcess::Running) {
            kind.waitForReadyRead(5000);
            lesen();
        }
        // Somewhere inside the next operation, or between two.
        QThread::usleep(warteMikros(zufall));
        kind.kill();
        kind.waitForFinished(10000);
        lesen();
        SCOPED_TRACE("killed after " + std::to_string(bestaetigt.size()) + " confirmed operations");

        t.db().connectFile(pfad);
        EXPECT_EQ(t.db().selectOne(QStringLiteral("PRAGMA integrity_check")).at(0).toString(),
                  QStringLiteral("ok"));

        // The last confirmed operation of each match decides what must be there. The operation after the
        // last confirmed one may have been committed before the kill cut its report off: when that was the
        // withdrawal of the match just finished, that match may be open again.
        QHash<int, QString> zuletzt;
        int letztes = 0;
        for (const QString& b : bestaetigt) {
            const QStringList teile = b.split(u' ');
            letztes = teile.value(1).toInt();
            zuletzt[letztes] = teile.value(0);
        }
        for (auto it = zuletzt.cbegin(); it != zuletzt.cend(); ++it)
            if (it.value() == QStringLiteral("beendet") && it.key() != letztes) {
                EXPECT_TRUE(spiel(t.db(), it.key()).beendet)
                    << "confirmed result of match " << it.key() << " lost";
            }
        stimmig(t.db());

        ScriptedInteraction still;
        Ergebnisverarbeitung ev(t.db(), still, [](tabelle::Vergleich&) {});
        allesSpielen(t.db(), ev);
        const Zustand ende = zustand(t.db());
        ASSERT_EQ(ende.spiele.size(), ziel.spiele.size());
        for (int i = 0; i < ende.spiele.size(); ++i)
            EXPECT_TRUE(ende.spiele[i] == ziel.spiele[i]) << "match " << ziel.spiele[i].spielnummer;
        EXPECT_EQ(ende.tabellen, ziel.tabellen);
    }
}

} // namespace

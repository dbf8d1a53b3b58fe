// Two desks on one PostgreSQL server, each a process of its own: both enter the results of their own
// class and register players at the same time, for a bounded time. No id is taken twice, no confirmed
// result or player is lost, neither desk is left hanging, and each sees the other's results when it
// opens the other's plans again.
#include "entries/spieler.h"
#include "play/plandaten.h"
#include "spielklasse.h"
#include "store/appstate.h"
#include "support/gegenplatz.h"
#include "support/kindprozess.h"
#include "support/testdb.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSet>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

namespace {

using namespace spielklasse;

constexpr char kServer[] = "VELMORA_PLATZ_SERVER";
constexpr int kKlassen[2] = {kKid, kKid + 1};
constexpr int kSekunden = 4;

const QString kKoSystem = QStringLiteral(VELMORA_SOURCE_DIR "/data/Files/ko_system.txt");

// What a desk confirms, after the commit returned: "PLATZ <text>".
void melden(const QString& text) {
    kindMelden("PLATZ", text);
}

// Four groups of four into a knock-out of eight, for class kid; its entries are real players of the
// tournament, so a loser can be enrolled as umpire.
void klasseMitSpielern(Tdb_procedures& db, int kid, int firstSid) {
    anlegen(db, kVierGruppenInsKO, vierGruppenInsKO(firstSid), 0, 3, kid);
    db.exec(QStringLiteral("UPDATE Turnierklassen SET mann=:m WHERE KID=:k"), {{":m", true}, {":k", kid}});
    for (int sid = firstSid; sid < firstSid + 16; ++sid) {
        SpielerDatensatz s;
        const QStringList teile = name(sid).split(u' ');
        s.nachname = teile.value(0);
        s.vorname = teile.value(1);
        s.mann = true;
        insertSpieler(db, kTid, sid, s);
        insertKlassenmeldung(db, kTid, kid, sid);
    }
}

// One desk: until its time is up, the next result of its class (every other loser enrolled as umpire)
// and a new player entered in its class, turn about. Every refusal or database message is reported, so
// the parent sees what the operator would have seen. Then it waits for the parent and opens the plans
// of the other desk's class.
TEST(ZweiPlaetze, Platz) {
    const QString server = qEnvironmentVariable(kServer);
    if (server.isEmpty()) GTEST_SKIP() << "runs only as a desk of TwoDesksLoseNothing";
    const int nr = qEnvironmentVariableIntValue("VELMORA_PLATZ_NR");
    const int kid = kKlassen[nr - 1];
    Tdb_procedures db;
    db.connectServer(server, qEnvironmentVariable("VELMORA_PLATZ_DB"));
    ScriptedInteraction ui;
    Ergebnisverarbeitung ev(db, ui, [](tabelle::Vergleich&) {});
    AppState state;
    state.tid = kTid;
    state.turniername = QStringLiteral("Stadtmeisterschaft");
    state.dbKind = DbKind::Server;
    state.trueValue = db.trueValue();
    Spielerverwaltung anmeldung(state, db, ui);
    anmeldung.open();
    int klasse = -1;
    for (int i = 0; i < anmeldung.klassen().size(); ++i)
        if (anmeldung.klassen()[i].kid == kid) klasse = i;
    ASSERT_GE(klasse, 0);

    const auto meldungen = [&] {
        for (const QString& t : ui.texts())
            if (t != Ergebnisverarbeitung::kGruppeBeendet && t != Ergebnisverarbeitung::kPhaseBeendet)
                melden(QStringLiteral("meldung ") + QString(t).replace(u'\n', u' '));
        ui.clear();
    };
    melden(QStringLiteral("bereit"));
    QElapsedTimer uhr;
    uhr.start();
    for (int n = 0; !uhr.hasExpired(kSekunden * 1000); ++n) {
        try {
            if (const auto m = naechstes(db, kid)) {
                ErgebnisEingabe e = staerkereGewinnt(*m);
                e.schiripool = n % 2 == 0;
                const Beendet b = ev.db_beendet(e);
                if (b.geschrieben) melden(QStringLiteral("ergebnis %1 %2").arg(b.snr).arg(b.siegerSID));
                for (const auto& [schiri, name] : b.neueSchiris)
                    melden(QStringLiteral("schiri %1").arg(schiri));
            }
        } catch (const DbError& e) {
            melden(QStringLiteral("meldung ") + e.message());
        }
        meldungen();
        try {
            anmeldung.newPlayer();
            anmeldung.felder().nachname = QStringLiteral("Platz%1").arg(nr);
            anmeldung.felder().vorname = QStringLiteral("Spieler %1").arg(n);
            anmeldung.setMann(true);
            anmeldung.markChanged();
            anmeldung.setClassSelected(klasse, true);
            if (anmeldung.save().done) melden(QStringLiteral("spieler %1").arg(anmeldung.lastSid()));
        } catch (const DbError& e) {
            melden(QStringLiteral("meldung ") + e.message());
        }
        meldungen();
    }
    melden(QStringLiteral("fertig"));
    std::string weiter;
    std::getline(std::cin, weiter);
    const int andere = kKlassen[2 - nr];
    for (const SpielplanRow& m : planDatenLaden(db, andere, kKoSystem).matches)
        if (m.beendet) melden(QStringLiteral("sieht %1 %2").arg(m.spielnummer).arg(m.siegerSID));
    melden(QStringLiteral("ende"));
}

TEST(ZweiPlaetze, TwoDesksLoseNothing) {
    if (!qEnvironmentVariableIsEmpty(kServer)) GTEST_SKIP() << "a desk does not start desks";
    VELMORA_SKIP_WITHOUT_SERVER(DbKind::Server);
    TestDatabase t(DbKind::Server);
    klasseMitSpielern(t.db(), kKlassen[0], 101);
    klasseMitSpielern(t.db(), kKlassen[1], 201);

    std::unique_ptr<Kindprozess> plaetze[2];
    for (int i = 0; i < 2; ++i) {
        plaetze[i] = std::make_unique<Kindprozess>(
            QStringLiteral("PLATZ"), QStringLiteral("ZweiPlaetze.Platz"),
            QHash<QString, QString>{{QString::fromLatin1(kServer), t.location()},
                                    {QStringLiteral("VELMORA_PLATZ_DB"), t.databaseName()},
                                    {QStringLiteral("VELMORA_PLATZ_NR"), QString::number(i + 1)}});
        ASSERT_TRUE(plaetze[i]->gestartet());
    }
    // A desk stuck in a lock would never report back: each gets its working time and a generous margin.
    for (const QString& zeile : {QStringLiteral("fertig"), QStringLiteral("ende")}) {
        for (auto& pl : plaetze)
            EXPECT_TRUE(pl->wartenAuf(zeile, (kSekunden + 60) * 1000))
                << "a desk did not get to \"" << zeile.toStdString()
                << "\": " << pl->zeilen().join(u'|').toStdString() << pl->fehlerausgabe().toStdString();
        for (auto& pl : plaetze)
            pl->schreiben("\n");
    }
    for (auto& pl : plaetze)
        EXPECT_EQ(pl->ende(), 0) << pl->fehlerausgabe().toStdString();

    QSet<int> sids, schiris;
    int ergebnisse = 0, spieler = 0;
    for (int i = 0; i < 2; ++i) {
        const Kindprozess& pl = *plaetze[i];
        const int kid = kKlassen[i];
        EXPECT_TRUE(pl.von(QStringLiteral("meldung")).isEmpty())
            << "desk " << i + 1
            << " was told: " << pl.von(QStringLiteral("meldung")).join(u'|').toStdString();
        // Every confirmed result is stored, and it is what the other desk saw in the plans.
        const QStringList erg = pl.von(QStringLiteral("ergebnis"));
        ergebnisse += int(erg.size());
        QStringList gespeichert;
        for (const SpielplanRow& m : spiele(t.db(), kid))
            if (m.beendet) gespeichert << QStringLiteral("%1 %2").arg(m.spielnummer).arg(m.siegerSID);
        QStringList bestaetigt;
        for (const QString& e : erg) {
            const int snr = e.section(u' ', 0, 0).toInt();
            bestaetigt.removeIf([&](const QString& b) { return b.section(u' ', 0, 0).toInt() == snr; });
            bestaetigt << e;
        }
        std::sort(bestaetigt.begin(), bestaetigt.end());
        std::sort(gespeichert.begin(), gespeichert.end());
        EXPECT_EQ(gespeichert, bestaetigt) << "class " << kid;
        QStringList gesehen = plaetze[1 - i]->von(QStringLiteral("sieht"));
        std::sort(gesehen.begin(), gesehen.end());
        EXPECT_EQ(gesehen, bestaetigt) << "desk " << 2 - i << " in the plans of class " << kid;

        for (const QString& s : pl.von(QStringLiteral("spieler"))) {
            ++spieler;
            EXPECT_FALSE(sids.contains(s.toInt())) << "player id " << s.toStdString() << " taken twice";
            sids << s.toInt();
            EXPECT_EQ(
                t.db()
                    .selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM Spieler_im_Turnier WHERE SID=:s "
                                              "AND KID=:k"),
                               {{":s", s.toInt()}, {":k", kid}})
                    .integer(u"n"),
                1)
                << "player " << s.toStdString();
        }
        for (const QString& s : pl.von(QStringLiteral("schiri"))) {
            EXPECT_FALSE(schiris.contains(s.toInt())) << "umpire id " << s.toStdString() << " taken twice";
            schiris << s.toInt();
        }
    }
    // Nothing stored that no desk confirmed.
    EXPECT_EQ(
        t.db()
            .selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM Spielerdaten WHERE nachname LIKE 'Platz%'"))
            .integer(u"n"),
        spieler);
    EXPECT_EQ(t.db().selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM Schiri")).integer(u"n"),
              schiris.size());
    EXPECT_GT(spieler, 0);
    EXPECT_GT(ergebnisse, 0);
    std::printf("two desks in %d s: %d results, %d players, %lld umpires written\n", kSekunden, ergebnisse,
                spieler, static_cast<long long>(schiris.size()));
}

// A result whose desk loses a deadlock to another desk runs again as a whole: written once, counted once
// in the standings, and the operator is not bothered.
TEST(ZweiPlaetze, AResultThatLosesADeadlockRunsAgain) {
    VELMORA_SKIP_WITHOUT_SERVER(DbKind::Server);
    TestDatabase t(DbKind::Server);
    klasseMitSpielern(t.db(), kKid, 101);
    const SpielplanRow m = *naechstes(t.db());
    // The other desk holds the standings of the match's group, which the result writes after the match
    // row; then it wants the match row.
    Gegenplatz anderer(
        t, QStringLiteral("UPDATE Tabellen SET bez=bez WHERE KID=%1 AND GID=%2").arg(kKid).arg(m.gruppe),
        QStringLiteral("UPDATE Spielplan SET in_planung=0 WHERE KID=%1 AND spielnummer=%2")
            .arg(kKid)
            .arg(m.spielnummer));
    anderer.gesperrt();
    ScriptedInteraction ui;
    Ergebnisverarbeitung ev(t.db(), ui, [](tabelle::Vergleich&) {});
    const Beendet b = ev.db_beendet(staerkereGewinnt(m));
    EXPECT_EQ(anderer.ende().toStdString(), "");
    EXPECT_TRUE(b.geschrieben);
    EXPECT_TRUE(ui.texts().isEmpty()) << ui.texts().join(u'|').toStdString();
    EXPECT_EQ(spiel(t.db(), m.spielnummer).siegerSID, std::min(m.SID1, m.SID2));
    int spiele = 0, siege = 0;
    for (const TabellenRow& r : tabellen::gruppeLesen(t.db(), kKid, m.gruppe)) {
        spiele += r.spielanzahl;
        siege += r.spielegewonnen;
    }
    EXPECT_EQ(spiele, 2);
    EXPECT_EQ(siege, 1);
}

} // namespace

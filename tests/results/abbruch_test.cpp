// A class run in a child process on a file database, killed with SIGKILL at random moments: what was
// confirmed before the kill is there, nothing is half written, and the class plays on to the same end.
// Set VELMORA_ABBRUCH_SEED to replay the kill moments of a failed run.
#include "spielklasse.h"
#include "support/kindprozess.h"
#include "support/testdb.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QThread>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>

namespace {

using namespace spielklasse;

constexpr char kUmgebung[] = "VELMORA_ABBRUCH_DB";

DrawPlan klassenplan() {
    return vierGruppenInsKO();
}
const std::array<Phase, 3>& kPhasen = kVierGruppenInsKO;

void klasseAnlegen(Tdb_procedures& db) {
    anlegen(db, kPhasen, klassenplan());
}

// A desk on the file database at pfad that answers no question.
struct Platz {
    explicit Platz(const QString& pfad) { db.connectFile(pfad); }
    Tdb_procedures db;
    ScriptedInteraction still;
    Ergebnisverarbeitung ev{db, still, [](tabelle::Vergleich&) {}};
};

// The child confirms each step on stdout, only after its commit returned.
void melden(const QString& text) {
    kindMelden("ABBRUCH", text);
}
void melden(const char* was, int snr) {
    melden(QStringLiteral("%1 %2").arg(QString::fromLatin1(was)).arg(snr));
}

std::unique_ptr<Kindprozess> kind(const char* test, const QString& pfad) {
    return std::make_unique<Kindprozess>(QStringLiteral("ABBRUCH"),
                                         QStringLiteral("ErgebnisAbbruch.") + QString::fromLatin1(test),
                                         QHash<QString, QString>{{QString::fromLatin1(kUmgebung), pfad}});
}

// The seed of the kill moments: VELMORA_ABBRUCH_SEED replays a run, otherwise a new one; printed, so a
// failure can be replayed.
unsigned abbruchSeed() {
    bool ok = false;
    unsigned seed = qEnvironmentVariable("VELMORA_ABBRUCH_SEED").toUInt(&ok);
    if (!ok) seed = std::random_device{}();
    std::printf("kill moments: VELMORA_ABBRUCH_SEED=%u\n", seed);
    std::fflush(stdout);
    return seed;
}

// The child: plays the class in match order, every third result withdrawn and entered again, and
// reports each operation once its transaction is committed. Only runs when started by the test below.
TEST(ErgebnisAbbruch, Kind) {
    const QString pfad = qEnvironmentVariable(kUmgebung);
    if (pfad.isEmpty()) GTEST_SKIP() << "runs only as the child of KilledAtRandomMomentsLosesNothing";
    Platz platz(pfad);
    Tdb_procedures& db = platz.db;
    Ergebnisverarbeitung& ev = platz.ev;
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

    const unsigned seed = abbruchSeed();
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

        const auto k = kind("Kind", pfad);
        ASSERT_TRUE(k->gestartet());
        k->warten(nachMeldungen(zufall));
        // Somewhere inside the next operation, or between two.
        QThread::usleep(warteMikros(zufall));
        k->toeten();
        const QStringList& bestaetigt = k->zeilen();
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

// --- The whole day -----------------------------------------------------------------------------------

bool operator==(const Zustand& a, const Zustand& b) {
    return a.spiele == b.spiele && a.tabellen == b.tabellen;
}

// The match numbers and groups in which two states differ, for the failure message.
std::string unterschiede(const Zustand& a, const Zustand& b) {
    QStringList out;
    if (a.spiele.size() != b.spiele.size())
        out << QStringLiteral("%1 matches against %2").arg(a.spiele.size()).arg(b.spiele.size());
    for (int i = 0; i < std::min(a.spiele.size(), b.spiele.size()); ++i)
        if (!(a.spiele[i] == b.spiele[i])) out << QStringLiteral("match %1").arg(a.spiele[i].spielnummer);
    for (int g = 0; g < std::min(a.tabellen.size(), b.tabellen.size()); ++g)
        if (a.tabellen[g] != b.tabellen[g]) out << QStringLiteral("standings of group %1").arg(g);
    return out.join(QStringLiteral(", ")).toStdString();
}

// One step of the day.
struct Schritt {
    enum Art { Auslosung, Ergebnis, Falsch, Korrektur, FalschKorrigiert, Zurueck, Begonnen };
    Art art = Auslosung;
    int snr = 0;

    QString text() const {
        static const char* namen[] = {"auslosung",        "ergebnis", "falsch",  "korrektur",
                                      "falschkorrigiert", "zurueck",  "begonnen"};
        return QStringLiteral("%1 %2").arg(QString::fromLatin1(namen[art])).arg(snr);
    }
};

// Runs one step through the draw completion and result processing; false when it wrote nothing.
bool ausfuehren(Tdb_procedures& db, Ergebnisverarbeitung& ev, const Schritt& s) {
    switch (s.art) {
    case Schritt::Auslosung:
        planSchreiben(db, kPhasen, klassenplan());
        return !spiele(db).isEmpty();
    case Schritt::Ergebnis:
        return ev.db_beendet(staerkereGewinnt(spiel(db, s.snr))).geschrieben;
    case Schritt::Falsch:
        return ev.db_beendet(schwaechereGewinnt(spiel(db, s.snr))).geschrieben;
    case Schritt::Korrektur:
        return ev.korrigieren(staerkereGewinnt(spiel(db, s.snr))).geschrieben;
    case Schritt::FalschKorrigiert:
        return ev.korrigieren(schwaechereGewinnt(spiel(db, s.snr))).geschrieben;
    case Schritt::Zurueck:
        return ev.db_zuruecksetzen(kKid, s.snr).geschrieben;
    case Schritt::Begonnen:
        return ev.db_zuruecksetzen(kKid, s.snr, true).geschrieben;
    }
    return false;
}

// The day at the desk: the draw completed, then match after match in number order. Every seventh is
// entered wrongly and corrected, every fifth withdrawn (every tenth back to started) and entered again;
// once the first knock-out match is played, the match of group A between its two best is corrected
// against them and back, which empties the knock-out matches built on the group and plays them again.
// Each step follows from the database alone, so every run of the day takes the same steps.
class Tag {
public:
    std::optional<Schritt> weiter(Tdb_procedures& db) {
        if (!geplant_) {
            geplant_ = true;
            return Schritt{Schritt::Auslosung, 0};
        }
        if (offen_.isEmpty()) planen(db);
        if (offen_.isEmpty()) return std::nullopt;
        return offen_.takeFirst();
    }

private:
    void planen(Tdb_procedures& db) {
        const auto m = naechstes(db);
        if (!m) return;
        const int snr = m->spielnummer;
        ++n_;
        if (n_ % 7 == 3)
            offen_ << Schritt{Schritt::Falsch, snr} << Schritt{Schritt::Korrektur, snr};
        else
            offen_ << Schritt{Schritt::Ergebnis, snr};
        if (n_ % 5 == 4)
            offen_ << Schritt{n_ % 10 == 9 ? Schritt::Begonnen : Schritt::Zurueck, snr}
                   << Schritt{Schritt::Ergebnis, snr};
        if (m->gruppe < 0 && !spaet_) {
            spaet_ = true;
            for (const SpielplanRow& g : spiele(db))
                if (g.gruppe == 0 && std::min(g.SID1, g.SID2) == 101 && std::max(g.SID1, g.SID2) == 102)
                    offen_ << Schritt{Schritt::FalschKorrigiert, g.spielnummer}
                           << Schritt{Schritt::Korrektur, g.spielnummer};
        }
    }

    bool geplant_ = false;
    bool spaet_ = false;
    int n_ = 0;
    QVector<Schritt> offen_;
};

// The child of the day: reports that it is connected, then each step once it is committed.
TEST(ErgebnisAbbruch, TagKind) {
    const QString pfad = qEnvironmentVariable(kUmgebung);
    if (pfad.isEmpty()) GTEST_SKIP() << "runs only as the child of WholeDayKilledAtFiftyMoments";
    Platz platz(pfad);
    Tdb_procedures& db = platz.db;
    Ergebnisverarbeitung& ev = platz.ev;
    melden(QStringLiteral("bereit"));
    Tag tag;
    while (const auto s = tag.weiter(db)) {
        ASSERT_TRUE(ausfuehren(db, ev, *s)) << s->text().toStdString();
        melden(s->text());
    }
}

TEST(ErgebnisAbbruch, WholeDayKilledAtFiftyMoments) {
    if (!qEnvironmentVariableIsEmpty(kUmgebung)) GTEST_SKIP() << "the child does not start children";

    // Every round starts from a copy of the same file: the class and its phases entered, not drawn.
    TestDatabase vorlage(DbKind::File);
    einstellungenAnlegen(vorlage.db(), kPhasen);
    vorlage.db().disconnect();

    // The uninterrupted day, with the state after each step: after a kill the database must stand
    // exactly where the confirmed steps left it, or one step further.
    QVector<Schritt> schritte;
    QVector<Zustand> nach;
    qint64 mikrosJeSchritt = 0;
    {
        TestDatabase ref(DbKind::File);
        einstellungenAnlegen(ref.db(), kPhasen);
        ScriptedInteraction still;
        Ergebnisverarbeitung ev(ref.db(), still, [](tabelle::Vergleich&) {});
        nach << zustand(ref.db());
        Tag tag;
        QElapsedTimer uhr;
        uhr.start();
        while (const auto s = tag.weiter(ref.db())) {
            ASSERT_TRUE(ausfuehren(ref.db(), ev, *s)) << s->text().toStdString();
            schritte << *s;
            nach << zustand(ref.db());
        }
        mikrosJeSchritt = uhr.nsecsElapsed() / 1000 / schritte.size();
        ASSERT_EQ(nach.last().spiele.size(), 31);
        for (const SpielplanRow& m : nach.last().spiele)
            ASSERT_TRUE(m.beendet) << m.spielnummer;
    }

    const unsigned seed = abbruchSeed();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 zufall(seed);
    std::uniform_int_distribution<int> nachSchritten(0, int(schritte.size()) - 1);
    // Up to two steps' time after the last report, spread evenly over the orders of magnitude: a step's
    // time is mostly its commit waiting for the disk, and most kills should fall before that, among the
    // statements of the step.
    std::uniform_real_distribution<double> warteLog(std::log(20.0), std::log(2.0 * double(mikrosJeSchritt)));

    int weiter = 0, ganz = 0;
    constexpr int kRunden = 50;
    for (int runde = 0; runde < kRunden; ++runde) {
        SCOPED_TRACE("round " + std::to_string(runde));
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("turnier_db.sqlite"));
        ASSERT_TRUE(QFile::copy(vorlage.location(), pfad));

        const auto k = kind("TagKind", pfad);
        ASSERT_TRUE(k->gestartet());
        k->warten(1 + nachSchritten(zufall));
        QThread::usleep(static_cast<unsigned long>(std::exp(warteLog(zufall))));
        k->toeten();
        ASSERT_FALSE(k->zeilen().isEmpty()) << "the child never connected";
        const QStringList gemeldet = k->zeilen().mid(1);
        const int c = int(gemeldet.size());
        SCOPED_TRACE("killed after " + std::to_string(c) + " confirmed steps");
        for (int k = 0; k < c; ++k)
            ASSERT_EQ(gemeldet[k], schritte[k].text()) << "the child took another step " << k;

        Platz platz(pfad);
        Tdb_procedures& db = platz.db;
        EXPECT_EQ(db.selectOne(QStringLiteral("PRAGMA integrity_check")).at(0).toString(),
                  QStringLiteral("ok"));
        const Zustand jetzt = zustand(db);
        int stand = -1;
        if (jetzt == nach[c])
            stand = c;
        else if (c + 1 < nach.size() && jetzt == nach[c + 1])
            stand = c + 1;
        ASSERT_GE(stand, 0) << "neither the confirmed state nor one step further: "
                            << unterschiede(jetzt, nach[c]);
        stimmig(db);
        weiter += stand > c;
        ganz += stand == int(schritte.size());

        // The replay only has to reach the same end, not survive a power cut: no waiting for the disk.
        db.exec(QStringLiteral("PRAGMA synchronous=OFF"));
        for (int k = stand; k < schritte.size(); ++k)
            ASSERT_TRUE(ausfuehren(db, platz.ev, schritte[k]))
                << "replaying " << schritte[k].text().toStdString();
        const Zustand ende = zustand(db);
        EXPECT_TRUE(ende == nach.last()) << unterschiede(ende, nach.last());
    }
    std::printf("%d kills survived over a day of %d steps (%lld us each): %d found the step after the "
                "last report committed, %d came after the whole day\n",
                kRunden, int(schritte.size()), static_cast<long long>(mikrosJeSchritt), weiter, ganz);
}

} // namespace

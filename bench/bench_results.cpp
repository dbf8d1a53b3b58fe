// Result processing at tournament size on the file database (synchronous=FULL): every result of a class
// entered in match order, each one transaction with its commit, and the undo of a first-round match in a
// finished bracket. Reports per result the median and the worst time and the statements run.
#include "support/benchplaene.h"
#include "draw/fertigstellen.h"
#include "draw/gruppenauslosung.h"
#include "play/matchrecord.h"
#include "results/ergebnisverarbeitung.h"
#include "store/db_procedures.h"
#include "store/schema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <vector>

namespace {

using benchplaene::Silent;
using benchplaene::sourceFiles;

PlanSlot entry(int sid) {
    return {sid, QStringLiteral("Spieler%1, Vorname").arg(sid)};
}

constexpr int kKid = 1;

void settings(Tdb_procedures& db, int p1, int g1, int t1, int b1, int p2) {
    db.exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, system, kbezeichnung, saetze) VALUES "
                           "(1, 1, 0, 'Herren', 3)"));
    db.exec(
        QStringLiteral("INSERT INTO Gruppeneinstellungen (KID, phase1, phase2, gruppenanzahl1, teilnehmer1, "
                       "besten1, bestplazierten1, gesetzt) VALUES (1, :p1, :p2, :g1, :t1, :b1, 0, 0)"),
        {{":p1", p1}, {":p2", p2 < 0 ? QVariant() : QVariant(p2)}, {":g1", g1}, {":t1", t1}, {":b1", b1}});
}

// 16 groups of 8, then a single knock-out of the 32 first and second placed.
void groupsThenKnockOut(Tdb_procedures& db, Interaction& i) {
    settings(db, 0, 16, 8, 2, 1);
    DrawPlan d;
    d.kid = kKid;
    d.tid = 1;
    Gruppenauslosung a;
    a.kid = kKid;
    a.infos.phase = {0, 1, -1};
    a.infos.gruppenanzahl = {16, -1, -1};
    a.infos.teilnehmer = {8, -1, -1};
    a.infos.besten = {2, -1, -1};
    a.infos.bestplazierten = {0, -1, -1};
    a.tische.tische = {QStringLiteral("1"), QStringLiteral("2")};
    PhasePlan& groups = d.phases[0];
    groups.system = PhasePlan::Gruppenphase;
    int sid = 1;
    for (int g = 0; g < 16; ++g) {
        QVector<PlanSlot> lines;
        Gruppenliste liste;
        liste.gid = g;
        for (int l = 0; l < 8; ++l) {
            lines << entry(sid);
            Myitem item;
            item.id = sid;
            item.text = lines.last().text;
            liste.zeilen << item;
            ++sid;
        }
        groups.groups << lines;
        a.gruppen[0] << liste;
    }
    PhasePlan& ko = d.phases[1];
    ko.system = PhasePlan::EinfachesKO;
    ko.firstGid = 16;
    for (int k = 0; k < 32; ++k) {
        const int g = k % 16;
        const QString letter(QChar(u'A' + g));
        ko.bracket << PlanSlot{
            -1, (k < 16 ? QStringLiteral("Sieger Gruppe ") : QStringLiteral("Zweiter Gruppe ")) + letter, g,
            k < 16 ? 0 : 1};
    }
    Fertigstellen(db, i, sourceFiles()).fertigstellen(d, [&] { gruppenspeichern(db, a); });
}

void doubleKnockOut128(Tdb_procedures& db, Interaction& i) {
    settings(db, 2, -1, -1, -1, -1);
    DrawPlan d;
    d.kid = kKid;
    d.tid = 1;
    d.phases[0].system = PhasePlan::DoppeltesKO;
    for (int k = 0; k < 128; ++k)
        d.phases[0].bracket << entry(k + 1);
    Fertigstellen(db, i, sourceFiles()).fertigstellen(d);
}

// The stronger entry (smaller id) wins 3:1.
ErgebnisEingabe result(const SpielplanRow& m) {
    ErgebnisEingabe e;
    e.kid = kKid;
    e.snr = m.spielnummer;
    const bool first = m.SID1 < m.SID2;
    e.ergebnis = first ? QStringLiteral("3:1") : QStringLiteral("1:3");
    e.saetze = first ? QStringList{"+5", "-7", "+9", "+3"} : QStringList{"-5", "+7", "-9", "-3"};
    e.platte = QStringLiteral("1");
    e.jetzt = QDateTime::currentDateTime();
    return e;
}

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Wall time (with the commit's wait for the disk) and the CPU time of this thread, per operation.
struct Times {
    std::vector<double> ms;
    std::vector<double> cpu;
    qint64 statements = 0;
    QElapsedTimer timer;
    double cpuStart = 0;
    void start() {
        cpuStart = threadCpuMs();
        timer.start();
    }
    void stop() {
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(threadCpuMs() - cpuStart);
    }
    static double median(std::vector<double> s) {
        if (s.empty()) return 0;
        std::nth_element(s.begin(), s.begin() + s.size() / 2, s.end());
        return s[s.size() / 2];
    }
    double cpuMedian() const { return median(cpu); }
    double cpuWorst() const { return cpu.empty() ? 0 : *std::max_element(cpu.begin(), cpu.end()); }
    double median() const { return median(ms); }
    double worst() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};

// Enters the next result in match order until none is left; the lookup of the next match is not timed.
Times playAll(Tdb_procedures& db, Ergebnisverarbeitung& ev) {
    Times t;
    QVector<SpielplanRow> all = matchrecord::matchesOfClass(db, kKid);
    for (;;) {
        std::optional<SpielplanRow> next;
        for (const SpielplanRow& m : all)
            if (hasBothSides(m) && !m.beendet) {
                next = m;
                break;
            }
        if (!next) break;
        const ErgebnisEingabe e = result(*next);
        db.resetStatementCount();
        t.start();
        const Beendet b = ev.db_beendet(e);
        t.stop();
        t.statements += db.statementCount();
        if (!b.geschrieben) break;
        all = matchrecord::matchesOfClass(db, kKid);
    }
    return t;
}

void run(benchmark::State& state, void (*build)(Tdb_procedures&, Interaction&)) {
    for (auto _ : state) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("b.sqlite"));
        schema::createFile(path);
        Tdb_procedures db;
        db.connectFile(path);
        Silent silent;
        build(db, silent);
        const int matches =
            db.selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM Spielplan WHERE KID=1")).integer(u"n");
        if (matches == 0) {
            state.SkipWithError(("no plan: " + silent.texts.join(u' ')).toStdString().c_str());
            return;
        }
        silent.texts.clear();
        Ergebnisverarbeitung ev(db, silent, {});
        Times results = playAll(db, ev);

        // Undo of first-round matches in the finished bracket, each played again afterwards (not timed).
        Times undo;
        const QVector<SpielplanRow> all = matchrecord::matchesOfClass(db, kKid);
        int done = 0;
        for (const SpielplanRow& m : all) {
            if (!m.beendet || m.parentspiel1 != -1 || m.parentspiel2 != -1 || m.gruppe >= 0) continue;
            db.resetStatementCount();
            undo.start();
            ev.db_zuruecksetzen(kKid, m.spielnummer);
            undo.stop();
            undo.statements += db.statementCount();
            playAll(db, ev);
            if (++done == 8) break;
        }
        // The group phase has no first-round knock-out match: withdraw group matches of the finished groups.
        if (done == 0)
            for (const SpielplanRow& m : all) {
                if (!m.beendet || m.gruppe < 0 || m.spielnummer % 50 != 0) continue;
                db.resetStatementCount();
                undo.start();
                ev.db_zuruecksetzen(kKid, m.spielnummer);
                undo.stop();
                undo.statements += db.statementCount();
                playAll(db, ev);
            }

        state.counters["results"] = double(results.ms.size());
        state.counters["median_ms"] = results.median();
        state.counters["cpu_median_ms"] = results.cpuMedian();
        state.counters["cpu_worst_ms"] = results.cpuWorst();
        state.counters["worst_ms"] = results.worst();
        state.counters["statements_per_result"] =
            results.ms.empty() ? 0 : double(results.statements) / results.ms.size();
        state.counters["undos"] = double(undo.ms.size());
        state.counters["undo_median_ms"] = undo.median();
        state.counters["undo_cpu_median_ms"] = undo.cpuMedian();
        state.counters["undo_cpu_worst_ms"] = undo.cpuWorst();
        state.counters["undo_worst_ms"] = undo.worst();
        state.counters["statements_per_undo"] =
            undo.ms.empty() ? 0 : double(undo.statements) / undo.ms.size();
        // "Gruppe beendet" and "Phase beendet" are expected; anything else is a refusal.
        // The same disk's price of one commit: one UPDATE in its own transaction.
        Times commit;
        for (int k = 0; k < 50; ++k) {
            commit.start();
            Transaction t(db);
            db.exec(QStringLiteral("UPDATE Spielplan SET schiri=:s WHERE KID=1 AND spielnummer=1"),
                    {{":s", QString::number(k)}});
            t.commit();
            commit.stop();
        }
        state.counters["commit_median_ms"] = commit.median();
        state.counters["refusals"] =
            double(silent.texts.size() - silent.texts.count(Ergebnisverarbeitung::kGruppeBeendet) -
                   silent.texts.count(Ergebnisverarbeitung::kPhaseBeendet));
    }
}

void BM_ResultsDoubleKnockOut128(benchmark::State& state) {
    run(state, doubleKnockOut128);
}
BENCHMARK(BM_ResultsDoubleKnockOut128)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ResultsGroupsThenKnockOut(benchmark::State& state) {
    run(state, groupsThenKnockOut);
}
BENCHMARK(BM_ResultsGroupsThenKnockOut)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

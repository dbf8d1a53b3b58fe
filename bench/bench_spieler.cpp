// The player panel at tournament size: 1,000 players in 40 classes on the file database.
#include "common/quietinteraction.h"
#include "entries/spieler.h"
#include "entries/startnummer.h"
#include "store/appstate.h"
#include "store/db_procedures.h"
#include "store/schema.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kPlayers = 1000;
constexpr int kClasses = 40;

// Answers every question with yes and prints nothing.
class SilentInteraction : public QuietInteraction {
public:
    SilentInteraction() : QuietInteraction(true) {}
};

// One tournament database with the classes and players, shared by the benchmarks of one run.
struct Tournament {
    QTemporaryDir dir;
    Tdb_procedures db;
    AppState state;
    SilentInteraction ui;

    Tournament() {
        const QString path = dir.filePath(QStringLiteral("bench.sqlite"));
        schema::createFile(path);
        db.connectFile(path);
        state.tid = 1;
        state.turniername = QStringLiteral("Bezirksmeisterschaft");
        state.dbKind = DbKind::File;
        state.trueValue = db.trueValue();
        Transaction t(db);
        for (int k = 1; k <= kClasses; ++k)
            db.exec(
                QStringLiteral("INSERT INTO Turnierklassen (KID,TID,system,kbezeichnung,mann,frau,gebuehr,"
                               "altersklasseID) VALUES (:k,1,:s,:n,:m,:f,:g,'ohne Beschränkung')"),
                {{":k", k},
                 {":s", k % 4},
                 {":n", QStringLiteral("Klasse %1").arg(k)},
                 {":m", true},
                 {":f", true},
                 {":g", 5.0}});
        for (int i = 1; i <= kPlayers; ++i) {
            db.exec(QStringLiteral(
                        "INSERT INTO Spielerdaten VALUES (1,:s,:n,:v,:c,:g,:nr,'Kreis','Bezirk','Land',"
                        "'Deutschland',15,:b,:a,:m,:f,'Kreisliga')"),
                    {{":s", i},
                     {":n", QStringLiteral("Müller%1").arg(i)},
                     {":v", QStringLiteral("Jürgen")},
                     {":c", QStringLiteral("TTC %1").arg(i % 60)},
                     {":g", QDate(1990, 1, 1).addDays(i)},
                     // Every tenth number is left free, so the next free number is found early.
                     {":nr", i % 10 == 0 ? QVariant() : QVariant(i)},
                     {":b", false},
                     {":a", i % 3 == 0},
                     {":m", i % 2 == 0},
                     {":f", i % 2 == 1}});
            for (int e = 0; e < 3; ++e) {
                const int kid = 1 + (i + e * 13) % kClasses;
                db.exec(QStringLiteral("INSERT INTO Spieler_im_Turnier VALUES (1,:k,:s)"),
                        {{":k", kid}, {":s", i}});
                if (kid % 4 != 0)
                    db.exec(QStringLiteral("INSERT INTO Doppelpartner VALUES (:k,:s,NULL,NULL)"),
                            {{":k", kid}, {":s", i}});
            }
        }
        t.commit();
    }
};

Tournament& tournament() {
    static Tournament t;
    return t;
}

void BM_OpenPlayerPanel(benchmark::State& state) {
    Tournament& t = tournament();
    Spielerverwaltung panel(t.state, t.db, t.ui);
    t.db.resetStatementCount();
    for (auto _ : state) {
        panel.open();
        benchmark::DoNotOptimize(panel.spielerliste().size());
    }
    state.counters["statements"] =
        benchmark::Counter(double(t.db.statementCount()), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_OpenPlayerPanel)->Unit(benchmark::kMillisecond);

void BM_LoadPlayer(benchmark::State& state) {
    Tournament& t = tournament();
    Spielerverwaltung panel(t.state, t.db, t.ui);
    panel.open();
    int sid = 0;
    t.db.resetStatementCount();
    for (auto _ : state) {
        sid = sid % kPlayers + 1;
        panel.choosePlayer(sid);
        benchmark::DoNotOptimize(panel.partnerLines().size());
    }
    state.counters["statements"] =
        benchmark::Counter(double(t.db.statementCount()), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_LoadPlayer)->Unit(benchmark::kMicrosecond);

void BM_SaveNewPlayer(benchmark::State& state) {
    Tournament& t = tournament();
    Spielerverwaltung panel(t.state, t.db, t.ui);
    panel.open();
    // Google Benchmark runs this function several times over the same database: names stay unique.
    static int n = 0;
    t.db.resetStatementCount();
    for (auto _ : state) {
        panel.newPlayer();
        panel.felder().nachname = QStringLiteral("Neu%1").arg(++n);
        panel.felder().vorname = QStringLiteral("Zoë");
        panel.felder().verein = QStringLiteral("TTC Groß-Gerau");
        panel.felder().geb = QStringLiteral("01.02.2003");
        panel.markChanged();
        for (int k : {0, 5, 17})
            panel.setClassSelected(k, true);
        panel.proposeStartNumber();
        if (!panel.save().done) {
            state.SkipWithError(t.ui.last().toStdString().c_str());
            break;
        }
    }
    state.counters["statements"] =
        benchmark::Counter(double(t.db.statementCount()), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SaveNewPlayer)->Unit(benchmark::kMillisecond);

void BM_SaveChangedPlayer(benchmark::State& state) {
    Tournament& t = tournament();
    Spielerverwaltung panel(t.state, t.db, t.ui);
    panel.open();
    panel.choosePlayer(500);
    bool paid = false;
    t.db.resetStatementCount();
    for (auto _ : state) {
        paid = !paid;
        panel.felder().bezahlt = paid;
        panel.markChanged();
        if (!panel.save().done) {
            state.SkipWithError(t.ui.last().toStdString().c_str());
            break;
        }
    }
    state.counters["statements"] =
        benchmark::Counter(double(t.db.statementCount()), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SaveChangedPlayer)->Unit(benchmark::kMillisecond);

void BM_NextFreeStartNumber(benchmark::State& state) {
    Tournament& t = tournament();
    for (auto _ : state)
        benchmark::DoNotOptimize(nextFreeStartNumber(t.db, 1));
}
BENCHMARK(BM_NextFreeStartNumber)->Unit(benchmark::kMicrosecond);

} // namespace

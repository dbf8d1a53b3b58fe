// The data module at tournament size: inserting and reading 1,000 players on the file database.
#include "store/schema.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void fillPlayers(Tdb_procedures& db, int tid, int count) {
    Transaction t(db);
    int sid = db.nextId(QStringLiteral("Spielerdaten"), QStringLiteral("SID"));
    for (int i = 0; i < count; ++i, ++sid)
        db.exec(QStringLiteral("INSERT INTO Spielerdaten VALUES (:t,:s,:n,:v,:c,:g,:nr,'','','','',0,:b,:a,:m,:f,'')"),
                {{":t", tid}, {":s", sid}, {":n", QStringLiteral("Müller%1").arg(i)}, {":v", QStringLiteral("Anna")},
                 {":c", QStringLiteral("TTC %1").arg(i % 40)}, {":g", QDate(1990, 1, 1)}, {":nr", i + 1},
                 {":b", false}, {":a", true}, {":m", false}, {":f", true}});
    t.commit();
}

void BM_InsertThousandPlayers(benchmark::State& state) {
    qint64 statements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("b.sqlite"));
        schema::createFile(path);
        Tdb_procedures db;
        db.connectFile(path);
        db.resetStatementCount();
        state.ResumeTiming();
        fillPlayers(db, 1, 1000);
        statements += db.statementCount();
    }
    state.counters["statements"] = benchmark::Counter(double(statements), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_InsertThousandPlayers)->Unit(benchmark::kMillisecond);

void BM_ReadThousandPlayers(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("b.sqlite"));
    schema::createFile(path);
    Tdb_procedures db;
    db.connectFile(path);
    fillPlayers(db, 1, 1000);
    db.resetStatementCount();
    for (auto _ : state) {
        const Rows rows = db.select(QStringLiteral("SELECT * FROM Spielerdaten WHERE TID=:t ORDER BY nachname"), {{":t", 1}});
        benchmark::DoNotOptimize(rows.size());
    }
    state.counters["statements"] =
        benchmark::Counter(double(db.statementCount()), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ReadThousandPlayers)->Unit(benchmark::kMillisecond);

} // namespace

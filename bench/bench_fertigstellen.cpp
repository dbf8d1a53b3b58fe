// Draw completion at tournament size on the file database: the whole plan of a class written, its byes
// settled, in one transaction. The group store of the dialog is not part of it.
#include "draw/fertigstellen.h"
#include "store/db_procedures.h"
#include "store/schema.h"
#include "support/benchplaene.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace benchplaene;

void complete(benchmark::State& state, const DrawPlan& plan) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("b.sqlite"));
    schema::createFile(path);
    Tdb_procedures db;
    db.connectFile(path);
    Silent silent;
    Fertigstellen f(db, silent, sourceFiles());
    qint64 statements = 0;
    int matches = 0;
    for (auto _ : state) {
        db.resetStatementCount();
        f.fertigstellen(plan);
        statements = db.statementCount();
    }
    matches = db.selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM Spielplan WHERE KID=1")).integer(u"n");
    state.counters["statements"] = double(statements);
    state.counters["matches"] = matches;
    state.counters["refusals"] = silent.texts.size();
}

void BM_GroupsThenKnockOut(benchmark::State& state) {
    complete(state, groupsThenKnockOut());
}
BENCHMARK(BM_GroupsThenKnockOut)->Unit(benchmark::kMillisecond);

void BM_DoubleKnockOut128(benchmark::State& state) {
    complete(state, doubleKnockOut128());
}
BENCHMARK(BM_DoubleKnockOut128)->Unit(benchmark::kMillisecond);

// The same bracket with 65 entries: 63 byes to settle.
void BM_DoubleKnockOut128WithByes(benchmark::State& state) {
    DrawPlan plan = doubleKnockOut128();
    for (int i = 0; i < 128; ++i)
        if (i % 2 == 1 && i > 1) plan.phases[0].bracket[i] = PlanSlot{};
    complete(state, plan);
}
BENCHMARK(BM_DoubleKnockOut128WithByes)->Unit(benchmark::kMillisecond);

} // namespace

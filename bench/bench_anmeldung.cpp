// The check-in at tournament size: 1,000 players and 100 teams on the file database.
#include "entries/anmeldung.h"
#include "store/appstate.h"
#include "store/db_procedures.h"
#include "store/schema.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const QStringList kSurnames = {
    QStringLiteral("Müller"),   QStringLiteral("Schmidt"), QStringLiteral("Schneider"),
    QStringLiteral("Fischer"),  QStringLiteral("Weber"),   QStringLiteral("Meyer"),
    QStringLiteral("Wagner"),   QStringLiteral("Becker"),  QStringLiteral("Schulz"),
    QStringLiteral("Hoffmann"), QStringLiteral("Öztürk"),  QStringLiteral("adler")};

// A tournament database with 1,000 players and 100 teams in tournament 1.
struct Tournament {
    Tournament() {
        path = dir.filePath(QStringLiteral("b.sqlite"));
        schema::createFile(path);
        db.connectFile(path);
        state.tid = 1;
        state.turniername = QStringLiteral("Bench");
        state.dbKind = DbKind::File;
        state.trueValue = db.trueValue();
        Transaction t(db);
        for (int i = 0; i < 1000; ++i)
            db.exec(QStringLiteral(
                        "INSERT INTO Spielerdaten VALUES (1,:s,:n,:v,:c,NULL,:nr,'','','','',0,0,:a,-1,0,"
                        "'')"),
                    {{":s", i + 1},
                     {":n", kSurnames[i % kSurnames.size()] + QString::number(i / kSurnames.size())},
                     {":v", QStringLiteral("Vorname%1").arg(i)},
                     {":c", QStringLiteral("TTC %1").arg(i % 40)},
                     {":nr", i + 1},
                     {":a", i % 3 == 0}});
        for (int m = 0; m < 100; ++m)
            db.exec(QStringLiteral(
                        "INSERT INTO Teams VALUES (1,1,:m,:n,:s1,:s2,:s3,:s4,NULL,NULL,0,0,0,0,0,'TTC')"),
                    {{":m", m + 1},
                     {":n", QStringLiteral("Team %1").arg(m)},
                     {":s1", 4 * m + 1},
                     {":s2", 4 * m + 2},
                     {":s3", 4 * m + 3},
                     {":s4", 4 * m + 4}});
        t.commit();
    }
    QTemporaryDir dir;
    QString path;
    Tdb_procedures db;
    AppState state;
};

// Statements per iteration, counted from the first one of the loop.
void statementsPerIteration(benchmark::State& st, const Tdb_procedures& db) {
    st.counters["statements"] = benchmark::Counter(double(db.statementCount()), benchmark::Counter::kAvgIterations);
}

// Opening the panel: both lists read and ordered.
void BM_AnmeldungOpen(benchmark::State& st) {
    Tournament t;
    Anmeldung a(t.state, t.db);
    t.db.resetStatementCount();
    for (auto _ : st) {
        a.open();
        benchmark::DoNotOptimize(a.players().size());
    }
    statementsPerIteration(st, t.db);
}
BENCHMARK(BM_AnmeldungOpen)->Unit(benchmark::kMillisecond);

// Sorting by club: the list read again and ordered by club and name.
void BM_AnmeldungSortByClub(benchmark::State& st) {
    Tournament t;
    Anmeldung a(t.state, t.db);
    a.open();
    t.db.resetStatementCount();
    for (auto _ : st) {
        a.sortPlayers(Anmeldung::Sortierung::Verein);
        benchmark::DoNotOptimize(a.players().size());
    }
    statementsPerIteration(st, t.db);
}
BENCHMARK(BM_AnmeldungSortByClub)->Unit(benchmark::kMillisecond);

// One key stroke of the search; the texts run from one letter to a whole name and to no match.
void BM_AnmeldungSearchKey(benchmark::State& st) {
    Tournament t;
    Anmeldung a(t.state, t.db);
    a.open();
    const QStringList typed = {QStringLiteral("H"), QStringLiteral("Hoff"), QStringLiteral("Hoffmann8"),
                               QStringLiteral("ö"), QStringLiteral("zz")};
    int i = 0;
    t.db.resetStatementCount();
    for (auto _ : st) {
        benchmark::DoNotOptimize(a.searchPlayer(typed[i++ % typed.size()]));
    }
    statementsPerIteration(st, t.db);
}
BENCHMARK(BM_AnmeldungSearchKey)->Unit(benchmark::kMicrosecond);

// ENTER on a found player: the mark written to the database (file database, synchronous=FULL).
void BM_AnmeldungToggle(benchmark::State& st) {
    Tournament t;
    Anmeldung a(t.state, t.db);
    a.open();
    a.searchPlayer(QStringLiteral("Weber4"));
    t.db.resetStatementCount();
    for (auto _ : st) {
        benchmark::DoNotOptimize(a.togglePlayer());
    }
    statementsPerIteration(st, t.db);
}
BENCHMARK(BM_AnmeldungToggle)->Unit(benchmark::kMillisecond);

// ENTER on a team and "Übernehmen" for its four players.
void BM_AnmeldungTeamToggle(benchmark::State& st) {
    Tournament t;
    Anmeldung a(t.state, t.db);
    a.open();
    a.searchTeam(QStringLiteral("Team 5"));
    t.db.resetStatementCount();
    for (auto _ : st) {
        const std::optional<TeamMeldung> m = a.toggleTeam();
        QList<int> sids;
        for (const TeamPosition& p : m->positionen)
            sids << p.sid;
        a.teamSpielerMelden(sids, m->angemeldet);
    }
    statementsPerIteration(st, t.db);
}
BENCHMARK(BM_AnmeldungTeamToggle)->Unit(benchmark::kMillisecond);

} // namespace

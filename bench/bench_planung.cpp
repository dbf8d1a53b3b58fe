// The scheduler's grid on a full tournament (bench/support/benchplanung.h). Opening reads every planned
// match and fills the first day; a day change only fills the grid again; a drop that pushes another match
// out writes both in one transaction.
#include "support/benchplanung.h"

#include <benchmark/benchmark.h>

namespace {

using benchplanung::Turnier;

void BM_Planung_Oeffnen(benchmark::State& state) {
    Turnier t;
    qint64 statements = 0;
    int spiele = 0;
    for (auto _ : state) {
        t.db.resetStatementCount();
        Planung p(t.db, t.ui, 1);
        p.laden();
        spiele = int(p.spieleDesTages().size());
        statements = t.db.statementCount();
    }
    state.counters["statements"] = double(statements);
    state.counters["day_matches"] = spiele;
}
BENCHMARK(BM_Planung_Oeffnen)->Unit(benchmark::kMillisecond);

void BM_Planung_Tagwechsel(benchmark::State& state) {
    Turnier t;
    Planung p(t.db, t.ui, 1);
    p.laden();
    bool vor = true;
    int spiele = 0;
    t.db.resetStatementCount();
    for (auto _ : state) {
        if (!(vor ? p.naechsterTag() : p.vorherigerTag())) {
            vor = !vor;
            continue;
        }
        spiele = int(p.spieleDesTages().size());
    }
    state.counters["statements"] = double(t.db.statementCount());
    state.counters["day_matches"] = spiele;
}
BENCHMARK(BM_Planung_Tagwechsel)->Unit(benchmark::kMillisecond);

// The match at rows 1/2 of table 1 dropped onto row 4, the lower half of the match at 3/4, which is
// unplanned: two writes in one transaction. Between the timed drops both go back to where they were.
void BM_Planung_VerschiebenMitVerdraengen(benchmark::State& state) {
    Turnier t;
    Planung p(t.db, t.ui, 1);
    p.laden();
    const int spiele = int(p.spieleDesTages().size());
    qint64 statements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const PlanSpiel unten = *p.zelle(1, 3).spiel;
        t.db.resetStatementCount();
        state.ResumeTiming();
        p.verschieben(1, 1, 1, 4);
        state.PauseTiming();
        statements = t.db.statementCount();
        p.verschieben(1, 4, 1, 1);
        p.einplanen(unten, 1, 3);
        state.ResumeTiming();
    }
    state.counters["statements"] = double(statements);
    state.counters["day_matches"] = spiele;
}
BENCHMARK(BM_Planung_VerschiebenMitVerdraengen)->Unit(benchmark::kMillisecond);

} // namespace

// The scheduler window's side of the grid on the same tournament as bench_planung: opening the window
// (its Planung read and the first day's 20 × 143 cells filled as items), and a day change through the
// arrows, which fills every cell of the grid again.
#include "play/ui/tplanung.h"
#include "store/appstate.h"
#include "support/benchplanung.h"

#include <QTableWidget>
#include <QToolButton>
#include <benchmark/benchmark.h>

namespace {

using benchplanung::Turnier;

int belegteZellen(const QTableWidget& gitter) {
    int n = 0;
    for (int c = 1; c < gitter.columnCount(); ++c)
        for (int r = 0; r < gitter.rowCount(); ++r)
            n += gitter.item(r, c) != nullptr;
    return n;
}

void BM_Planung_scene_Oeffnen(benchmark::State& state) {
    Turnier t;
    AppState app;
    app.tid = 1;
    Tplanung fenster(app, t.db, t.ui);
    qint64 statements = 0;
    for (auto _ : state) {
        t.db.resetStatementCount();
        fenster.oeffnen();
        statements = t.db.statementCount();
    }
    state.counters["statements"] = double(statements);
    state.counters["cells"] = belegteZellen(*fenster.findChild<QTableWidget*>(QStringLiteral("StringGrid1")));
    state.counters["messages"] = t.ui.texts.size();
}
BENCHMARK(BM_Planung_scene_Oeffnen)->Unit(benchmark::kMillisecond);

void BM_Planung_scene_Tagwechsel(benchmark::State& state) {
    Turnier t;
    AppState app;
    app.tid = 1;
    Tplanung fenster(app, t.db, t.ui);
    fenster.oeffnen();
    auto* vor = fenster.findChild<QToolButton*>(QStringLiteral("Image2"));
    auto* zurueck = fenster.findChild<QToolButton*>(QStringLiteral("Image1"));
    bool vorwaerts = true;
    t.db.resetStatementCount();
    for (auto _ : state) {
        const QDate vorher = fenster.planung()->tag();
        (vorwaerts ? vor : zurueck)->click();
        if (fenster.planung()->tag() == vorher) {
            vorwaerts = !vorwaerts;
            (vorwaerts ? vor : zurueck)->click();
        }
    }
    state.counters["statements"] = double(t.db.statementCount());
    state.counters["cells"] = belegteZellen(*fenster.findChild<QTableWidget*>(QStringLiteral("StringGrid1")));
}
BENCHMARK(BM_Planung_scene_Tagwechsel)->Unit(benchmark::kMillisecond);

} // namespace

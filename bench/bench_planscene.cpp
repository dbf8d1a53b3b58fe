// Putting computed plan layouts on the graphics scene of a plan page: the page of 16 groups of 8, the
// knock-out of 32 after it, and a 128-entry double knock-out. The layouts are computed once beforehand
// from plans written into a file database; only the filling of the scene is measured.
#include "common/interaction.h"
#include "draw/fertigstellen.h"
#include "play/plandaten.h"
#include "play/ui/planscene.h"
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

// Longer names than the other plan benchmarks: the scene elides what does not fit its box.
const QString kSzenenname = QStringLiteral("Spielername%1, Vorname");


// A class written into a fresh file database, with its settings, groups and standings rows.
struct Klasse {
    QTemporaryDir dir;
    Tdb_procedures db;
    PlanDaten daten;

    explicit Klasse(const DrawPlan& plan, const QVariantList& settings) {
        const QString path = dir.filePath(QStringLiteral("b.sqlite"));
        schema::createFile(path);
        db.connectFile(path);
        db.exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, system, kbezeichnung, saetze) "
                               "VALUES (1,1,0,'Herren',3)"));
        Params p;
        for (int i = 0; i < settings.size(); ++i)
            p.append({QStringLiteral(":d%1").arg(i + 1), settings[i]});
        db.exec(QStringLiteral("INSERT INTO Gruppeneinstellungen VALUES (:d1,:d2,:d3,:d4,:d5,:d6,:d7,:d8,:d9,"
                               ":d10,:d11,:d12,:d13,:d14,:d15,:d16,:d17,:d18)"),
                p);
        const PhasePlan& groups = plan.phases[0];
        db.begin();
        for (int g = 0; g < groups.groups.size(); ++g)
            for (int pos = 0; pos < groups.groups[g].size(); ++pos) {
                const PlanSlot& s = groups.groups[g][pos];
                const Params row{{":g", g}, {":p", pos}, {":s", s.id}, {":b", s.text}};
                db.exec(QStringLiteral("INSERT INTO Gruppen (KID, GID, pos, SID, bez, phase) VALUES (1,:g,:p,:s,:b,1)"),
                        row);
                db.exec(QStringLiteral("INSERT INTO Tabellen (KID, GID, pos, SID, bez, spielanzahl, spielegewonnen, "
                                       "spieleverloren, saetzegewonnen, saetzeverloren, punktegewonnen, "
                                       "punkteverloren, phase) VALUES (1,:g,:p,:s,:b,0,0,0,0,0,0,0,1)"),
                        row);
            }
        db.commit();
        Silent silent;
        Fertigstellen(db, silent, sourceFiles()).fertigstellen(plan);
        daten = planDatenLaden(db, 1, sourceFiles().koSystem);
    }
};

void fill(benchmark::State& state, const PlanLayout& layout) {
    PlanScene scene;
    for (auto _ : state) {
        scene.setPlan(layout);
        // What the event loop does after a page is filled: the scene polishes its new items.
        QCoreApplication::processEvents();
    }
    state.counters["texts"] = layout.texts.size();
    state.counters["lines"] = layout.lines.size();
    state.counters["cells"] = layout.cells.size();
    state.counters["items"] = double(scene.items().size());
}

const QVariant n;

void BM_SceneGroups16x8(benchmark::State& state) {
    static Klasse k(groupsThenKnockOut(1, kSzenenname), {1, 0, 1, n, 16, n, n, 8, n, n, 2, n, n, 0, n, n, 0, "Platte"});
    fill(state, phasenplan(k.daten, 1, 2));
}
BENCHMARK(BM_SceneGroups16x8)->Unit(benchmark::kMillisecond);

void BM_SceneKnockOut32(benchmark::State& state) {
    static Klasse k(groupsThenKnockOut(1, kSzenenname), {1, 0, 1, n, 16, n, n, 8, n, n, 2, n, n, 0, n, n, 0, "Platte"});
    fill(state, phasenplan(k.daten, 2, static_cast<int>(state.range(0))));
}
BENCHMARK(BM_SceneKnockOut32)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_SceneDoubleKnockOut128(benchmark::State& state) {
    static Klasse k(doubleKnockOut128(1, kSzenenname), {1, 2, n, n, n, n, n, n, n, n, n, n, n, n, n, n, 0, "Platte"});
    fill(state, phasenplan(k.daten, 1, static_cast<int>(state.range(0))));
}
BENCHMARK(BM_SceneDoubleKnockOut128)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

} // namespace

// Opening the plans of a class on the file database: its settings and rows read (one statement per
// table), then every page computed as a layout. Two tournament-sized classes: 16 groups of 8 followed by
// a knock-out of 32, and a double knock-out of 128.
#include "common/interaction.h"
#include "draw/fertigstellen.h"
#include "output/plandruck.h"
#include "play/plandaten.h"
#include "store/db_procedures.h"
#include "store/schema.h"
#include "support/benchplaene.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace benchplaene;
using plandruck::Blatt;

constexpr int kKid = 1;

// A database holding one drawn class: its settings, its group lines and standings rows, and its plan.
class Klasse {
public:
    explicit Klasse(const DrawPlan& plan) {
        path_ = dir_.filePath(QStringLiteral("b.sqlite"));
        schema::createFile(path_);
        db.connectFile(path_);
        db.exec(QStringLiteral("INSERT INTO Turnierklassen (KID, TID, system, kbezeichnung, saetze, platten) "
                               "VALUES (:k,1,0,'Herren',3,8)"),
                {{":k", kKid}});
        Params s{{":k", kKid}};
        for (int n = 1; n <= 3; ++n) {
            const PhasePlan& p = plan.phase(n);
            const bool groups = p.system == PhasePlan::Gruppenphase;
            s.append({QStringLiteral(":p%1").arg(n), p.exists() ? QVariant(p.system) : QVariant()});
            s.append({QStringLiteral(":g%1").arg(n), groups ? QVariant(int(p.groups.size())) : QVariant()});
            s.append({QStringLiteral(":t%1").arg(n),
                      groups ? QVariant(int(p.groups.first().size())) : QVariant()});
        }
        db.exec(
            QStringLiteral("INSERT INTO Gruppeneinstellungen VALUES (:k,:p1,:p2,:p3,:g1,:g2,:g3,:t1,:t2,:t3,"
                           "2,NULL,NULL,0,NULL,NULL,0,'Platte')"),
            s);
        Silent silent;
        Fertigstellen f(db, silent, sourceFiles());
        f.fertigstellen(plan, [&] {
            for (int n = 1; n <= 3; ++n) {
                const PhasePlan& p = plan.phase(n);
                if (p.system != PhasePlan::Gruppenphase) continue;
                for (int g = 0; g < p.groups.size(); ++g)
                    for (int q = 0; q < p.groups[g].size(); ++q) {
                        const Params row{{":k", kKid},
                                         {":g", p.firstGid + g},
                                         {":p", q},
                                         {":s", p.groups[g][q].id},
                                         {":b", p.groups[g][q].text},
                                         {":ph", n}};
                        db.exec(QStringLiteral("INSERT INTO Gruppen VALUES (:k,:g,:p,:s,:b,-1,-1,0,0,:ph)"),
                                row);
                        db.exec(
                            QStringLiteral("INSERT INTO Tabellen VALUES (:k,:g,:p,:s,:b,0,0,0,0,0,0,0,0,0,0,"
                                           "-1,-1,:ph)"),
                            row);
                    }
            }
        });
    }

    Tdb_procedures db;

private:
    QTemporaryDir dir_;
    QString path_;
};

// Every page of the class: the phases at the zoom they open with, the placement page and the match list.
int everyLayout(const PlanDaten& d) {
    int items = 0;
    for (int phase = 1; phase <= 3; ++phase) {
        const PlanLayout l = phasenplan(d, phase, 2);
        items += int(l.texts.size() + l.cells.size());
    }
    items += int(platzierungsspiele(d).liste.size());
    items += int(spielplanliste(d, -1, 900).texts.size());
    return items;
}

void open(benchmark::State& state, const DrawPlan& plan, bool load, bool draw) {
    Klasse k(plan);
    const QString koSystem = sourceFiles().koSystem;
    PlanDaten d = planDatenLaden(k.db, kKid, koSystem);
    qint64 statements = 0;
    int items = 0;
    for (auto _ : state) {
        k.db.resetStatementCount();
        if (load) d = planDatenLaden(k.db, kKid, koSystem);
        if (draw) items = everyLayout(d);
        benchmark::DoNotOptimize(items);
        statements = k.db.statementCount();
    }
    state.counters["statements"] = double(statements);
    state.counters["matches"] = double(d.matches.size());
    state.counters["items"] = items;
}

void BM_GroupsThenKnockOut_Load(benchmark::State& state) {
    open(state, groupsThenKnockOut(kKid), true, false);
}
void BM_GroupsThenKnockOut_Layouts(benchmark::State& state) {
    open(state, groupsThenKnockOut(kKid), false, true);
}
void BM_GroupsThenKnockOut_Open(benchmark::State& state) {
    open(state, groupsThenKnockOut(kKid), true, true);
}
void BM_DoubleKnockOut128_Load(benchmark::State& state) {
    open(state, doubleKnockOut128(kKid), true, false);
}
void BM_DoubleKnockOut128_Layouts(benchmark::State& state) {
    open(state, doubleKnockOut128(kKid), false, true);
}
void BM_DoubleKnockOut128_Open(benchmark::State& state) {
    open(state, doubleKnockOut128(kKid), true, true);
}
BENCHMARK(BM_GroupsThenKnockOut_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GroupsThenKnockOut_Layouts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GroupsThenKnockOut_Open)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DoubleKnockOut128_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DoubleKnockOut128_Layouts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DoubleKnockOut128_Open)->Unit(benchmark::kMillisecond);

// Every zoom level of the 128 bracket: what pressing "1", "2" and "3" costs together.
void BM_DoubleKnockOut128_Zooms(benchmark::State& state) {
    Klasse k(doubleKnockOut128(kKid));
    const PlanDaten d = planDatenLaden(k.db, kKid, sourceFiles().koSystem);
    for (auto _ : state)
        for (int zoom = 1; zoom <= 3; ++zoom)
            benchmark::DoNotOptimize(doppeltes_koplanerstellen(d, 1, zoom));
}
BENCHMARK(BM_DoubleKnockOut128_Zooms)->Unit(benchmark::kMillisecond);

// "Phase ausdrucken" of the 128 bracket into a PDF file at print size range(0): the captions of the five
// sizes, the sheet, its pages and the file, from the plans as the open plan area holds them.
class PdfWahl : public Silent {
public:
    explicit PdfWahl(int groesse, QString path) : path_(std::move(path)) {
        wahl_.groesse = groesse;
        wahl_.ziel = DruckWahl::Ziel::Pdf;
    }
    std::optional<DruckWahl> druckwahl(const Groessentexte& groessen) override {
        captions = groessen(wahl_.format).size();
        return wahl_;
    }
    QString saveFile(const QString&, const QString&, const QString&, bool) override { return path_; }
    int captions = 0;

private:
    DruckWahl wahl_;
    QString path_;
};

void BM_DoubleKnockOut128_PrintPdf(benchmark::State& state) {
    Klasse k(doubleKnockOut128(kKid));
    const PlanDaten d = planDatenLaden(k.db, kKid, sourceFiles().koSystem);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.pdf"));
    PdfWahl ui(int(state.range(0)), path);
    bool printed = false;
    for (auto _ : state) {
        printed = plandruck::drucken(ui, d, 1, QStringLiteral("Stadtmeisterschaft"),
                                     QStringLiteral("Spielplan für Herren (Einzel)"), dir.path());
        benchmark::DoNotOptimize(printed);
    }
    if (!printed || !ui.texts.isEmpty()) state.SkipWithError("the plan was not printed");
    const Blatt bogen =
        plandruck::koBogen(phasenplan(d, 1, plandruck::kDruckZoom), d.matches, int(state.range(0)),
                           QStringLiteral("Stadtmeisterschaft"), QString());
    state.counters["pages"] = double(
        plandruck::kacheln(bogen, plandruck::schneiden(bogen, plandruck::a4(QPageLayout::Portrait))).size());
    state.counters["kB"] = double(QFileInfo(path).size()) / 1024.0;
}
BENCHMARK(BM_DoubleKnockOut128_PrintPdf)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);

} // namespace

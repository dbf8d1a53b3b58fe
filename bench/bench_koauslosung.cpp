// The knock-out draws at full bracket size: 256 entrants (no byes) and 200 entrants (56 byes) in a
// bracket of 256, with a quarter of them seeded and 40 clubs; the later phases with 256 qualifier labels.
// Each iteration copies the freshly built page and draws it once.
#include "common/random.h"
#include "draw/koauslosung.h"
#include "store/schema.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

KoLosdaten losdaten(int size, const QStringList& vereine = {}) {
    static const QVector<int> table = [] {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("b.sqlite"));
        schema::createFile(path);
        Tdb_procedures db;
        db.connectFile(path);
        return kosetzplaetze(db, 256);
    }();
    KoLosdaten d;
    d.setzplaetze = size == 256 ? table : QVector<int>();
    d.vereine = vereine;
    return d;
}

QString club(int i) {
    return QStringLiteral("TTC %1").arg(i % 40);
}

KoPhase1 page1(int entrants) {
    const int seeds = entrants / 4;
    QVector<Myitem> gesetzt, ungesetzt;
    for (int i = 1; i <= entrants; ++i) {
        Myitem m;
        m.id = i;
        m.present = true;
        m.club = club(i);
        if (i <= seeds) {
            m.seedNumber = i;
            m.text = QStringLiteral("Spieler %1, Vorname (%1)").arg(i);
            gesetzt << m;
        } else {
            m.text = QStringLiteral("Spieler %1, Vorname").arg(i);
            ungesetzt << m;
        }
    }
    return kophase1(ungesetzt, gesetzt);
}

QStringList clubs() {
    QStringList out;
    for (int i = 0; i < 40; ++i)
        out << club(i);
    return out;
}

void BM_Kolosenfest(benchmark::State& state) {
    const KoPhase1 prepared = page1(int(state.range(0)));
    const KoLosdaten d = losdaten(256);
    Random random(1);
    for (auto _ : state) {
        KoPhase1 page = prepared;
        kolosenfest(page, 1, d, random);
        benchmark::DoNotOptimize(page.koslots.data());
    }
}
BENCHMARK(BM_Kolosenfest)->Arg(256)->Arg(200)->Unit(benchmark::kMicrosecond);

void BM_Kolosenfestverein(benchmark::State& state) {
    const KoPhase1 prepared = page1(int(state.range(0)));
    const KoLosdaten d = losdaten(256, clubs());
    Random random(1);
    for (auto _ : state) {
        KoPhase1 page = prepared;
        kolosenfestverein(page, 1, d, random);
        benchmark::DoNotOptimize(page.koslots.data());
    }
}
BENCHMARK(BM_Kolosenfestverein)->Arg(256)->Arg(200)->Unit(benchmark::kMicrosecond);

// Groups of 2 qualifiers each: half the labels are winners.
void BM_Kolosenfest2(benchmark::State& state) {
    const int labels = int(state.range(0));
    KoTeilnehmerliste list;
    for (int r = 0; r < 2; ++r)
        for (int g = 0; g < labels / 2; ++g)
            list.append({(r == 0 ? QStringLiteral("Sieger Gruppe ") : QStringLiteral("Zweiter Gruppe ")) +
                             QChar(u'A' + g),
                         0,
                         {}});
    const KoPhase prepared = kophaseladen(list);
    const KoLosdaten d = losdaten(256);
    Random random(1);
    for (auto _ : state) {
        KoPhase page = prepared;
        kolosenfest2(page, 1, d, random);
        benchmark::DoNotOptimize(page.koslots.data());
    }
}
BENCHMARK(BM_Kolosenfest2)->Arg(256)->Arg(200)->Unit(benchmark::kMicrosecond);

} // namespace

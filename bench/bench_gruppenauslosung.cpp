// The group draws at 256 entries: 64 groups of 4, 16 seeds, 240 unseeded entries of 30 clubs; and the
// draw of a second phase from the 128 qualifiers (two per group) into 32 groups of 4.
#include "common/random.h"
#include "draw/gruppenauslosung.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

constexpr int kGroups = 64;
constexpr int kPlaces = 4;
constexpr int kSeeds = 16;
constexpr int kEntries = kGroups * kPlaces - kSeeds;
constexpr int kClubs = 30;

gruppeninfos settings() {
    gruppeninfos infos;
    infos.phase = {0, 0, -1};
    infos.gruppenanzahl = {kGroups, kGroups / 2, -1};
    infos.teilnehmer = {kPlaces, kPlaces, -1};
    infos.besten = {2, 0, -1};
    infos.bestplazierten = {0, 0, -1};
    return infos;
}

QVector<Myitem> entries(int from, int count) {
    QVector<Myitem> result;
    for (int i = 0; i < count; ++i) {
        Myitem m;
        m.id = from + i;
        m.present = true;
        m.text = QStringLiteral("Spieler %1").arg(from + i);
        m.club = QStringLiteral("Verein %1").arg((from + i) % kClubs);
        result << m;
    }
    return result;
}

QStringList clubs() {
    QStringList result;
    for (int i = 0; i < kClubs; ++i)
        result << QStringLiteral("Verein %1").arg(i);
    return result;
}

void BM_Gruppenlosenfest(benchmark::State& state) {
    const gruppeninfos infos = settings();
    const QVector<Myitem> seeds = entries(1, kSeeds);
    const QVector<Myitem> unseeded = entries(1000, kEntries);
    Random random(1);
    for (auto _ : state) {
        QVector<Gruppenliste> gruppen = gruppenanlegen(infos, 1);
        QVector<Myitem> s = seeds;
        QVector<Myitem> u = unseeded;
        gruppenlosenfest(gruppen, s, u, 1, random);
        benchmark::DoNotOptimize(gruppen.data());
    }
}
BENCHMARK(BM_Gruppenlosenfest)->Unit(benchmark::kMicrosecond);

void BM_Gruppenlosenvereinfest(benchmark::State& state) {
    const gruppeninfos infos = settings();
    const QVector<Myitem> seeds = entries(1, kSeeds);
    const QVector<Myitem> unseeded = entries(1000, kEntries);
    const QStringList vereine = clubs();
    Random random(1);
    for (auto _ : state) {
        QVector<Gruppenliste> gruppen = gruppenanlegen(infos, 1);
        QVector<Myitem> s = seeds;
        QVector<Myitem> u = unseeded;
        gruppenlosenvereinfest(gruppen, s, u, vereine, 1, random);
        benchmark::DoNotOptimize(gruppen.data());
    }
}
BENCHMARK(BM_Gruppenlosenvereinfest)->Unit(benchmark::kMicrosecond);

void BM_Gruppenlosenfest2(benchmark::State& state) {
    const gruppeninfos infos = settings();
    const QVector<Myitem> labels = qualifikantenlabels(infos, 2);
    Random random(1);
    for (auto _ : state) {
        QVector<Gruppenliste> gruppen = gruppenanlegen(infos, 2);
        QVector<Myitem> l = labels;
        gruppenlosenfest2(gruppen, l, 0, random);
        benchmark::DoNotOptimize(gruppen.data());
    }
}
BENCHMARK(BM_Gruppenlosenfest2)->Unit(benchmark::kMicrosecond);

} // namespace

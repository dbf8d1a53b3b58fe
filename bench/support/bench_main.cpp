// The one main of every benchmark: the data module needs a Qt application object for its drivers, and
// the benchmarks of graphics scenes need the widgets' one (drawn offscreen unless a platform is named).
#include <benchmark/benchmark.h>
#ifdef VELMORA_BENCH_WIDGETS
#include <QApplication>
using BenchApplication = QApplication;
#else
#include <QCoreApplication>
using BenchApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
#ifdef VELMORA_BENCH_WIDGETS
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    BenchApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

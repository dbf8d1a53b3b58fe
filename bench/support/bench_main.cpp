// The one main of every benchmark: the data module needs a Qt application object for its drivers, the PDF
// exports need fonts, which only a GUI application has, and the benchmarks of graphics scenes need the
// widgets' one (all drawn offscreen unless a platform is named).
#include <benchmark/benchmark.h>
#ifdef VELMORA_BENCH_WIDGETS
#include <QApplication>
using BenchApplication = QApplication;
#else
#include <QGuiApplication>
using BenchApplication = QGuiApplication;
#endif

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    BenchApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

// The one main of every benchmark: the data module needs a Qt application object for its drivers, and the
// PDF exports need fonts, which only a GUI application has (drawn offscreen when no display is set).
#include <QGuiApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

#include "app/Application.h"
#include "app/Main.h"

#include <QApplication>

#include <benchmark/benchmark.h>

// Creating the window, FormCreate included: what a teacher waits for at start.
static void BM_StartUp(benchmark::State &state) {
    for (auto _ : state) {
        TForm1 form;
        benchmark::DoNotOptimize(&form);
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
    // A real X server where there is one (scripts/bench.sh starts Xvfb): the
    // spin's timing means most there. Without one, the offscreen platform.
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // No printer of the machine: the paper is A4 and no scheduler is asked.
    qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
    QApplication app(argc, argv);
    initApplication(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

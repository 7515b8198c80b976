// Loading the bundled example data set: twenty files opened, checked and
// unpacked field by field.

#include "data/datasetloader.h"

#include <benchmark/benchmark.h>

static void BM_LoadDataSet(benchmark::State &state)
{
    const QString dir = QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/Hauptstrasse-Schulweg");
    InstallationData d;
    for (auto _ : state) {
        QStringList report = loadDataSet(d, dir, ResetRules{true, 0});
        benchmark::DoNotOptimize(report);
        benchmark::DoNotOptimize(d);
    }
}
BENCHMARK(BM_LoadDataSet)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

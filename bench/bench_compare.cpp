// Comparing a run with its plan: a run of 1200 seconds and 24 groups against
// a 1200 s cycle should take under 20 ms; one second more of a live run
// (update and result) far less. The busy case changes every group's state
// every second, which no controller does; it shows the cost when the runs of
// equal states are one second long.

#include "render/runcomparison.h"
#include "render/signalstate.h"
#include "render/targetstate.h"

#include <benchmark/benchmark.h>

namespace {
constexpr int kCycle = 1200;

InstallationData plan()
{
    InstallationData d;
    d.Header.GroupCount = kGroupCount;
    d.Header.ProgramReleased[0] = 1;
    SignalProgram &p = d.Programs[0];
    p.CycleTime = kCycle;
    for (int g = 0; g < kGroupCount; ++g) {
        p.GreenFrom1[g] = 20 + 37 * g;
        p.GreenTo1[g] = 200 + 41 * g;
        p.GreenFrom2[g] = 700 + 13 * g;
        p.GreenTo2[g] = 900 + 11 * g;
        p.RedYellowTime[g] = 2;
        p.YellowTime[g] = 3;
        p.FlashFrom1[g] = 1100;
        p.FlashTo1[g] = 1110 + g;
    }
    return d;
}

std::vector<ChartRow> run(const InstallationData &d, bool busy)
{
    std::vector<ChartRow> rows(kCycle);
    for (int i = 0; i < kCycle; ++i) {
        rows[size_t(i)].ProgramNumber = 1;
        for (int g = 0; g < kGroupCount; ++g)
            rows[size_t(i)].State[g] = busy ? (i + g) % 10 : TargetState(d.Programs[0], g, (317 + i) % kCycle);
        if (!busy && i % 97 == 0)
            rows[size_t(i)].State[i % kGroupCount] = Dark;  // a deviation now and then
    }
    return rows;
}

void BM_CompareWholeRun(benchmark::State &state)
{
    const InstallationData d = plan();
    const std::vector<ChartRow> rows = run(d, state.range(0) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(CompareRun(d, kGroupCount, rows));
}
BENCHMARK(BM_CompareWholeRun)->Arg(0)->ArgName("busy")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareWholeRun)->Arg(1)->ArgName("busy")->Unit(benchmark::kMillisecond);

void BM_LiveSecondAtTheEndOfALongRun(benchmark::State &state)
{
    const InstallationData d = plan();
    std::vector<ChartRow> rows = run(d, false);
    const ChartRow next = rows.back();
    RunComparer live(d);
    live.Update(rows, kGroupCount);
    for (auto _ : state) {
        rows.push_back(next);
        live.Update(rows, kGroupCount);
        benchmark::DoNotOptimize(live.Result(rows));
    }
}
BENCHMARK(BM_LiveSecondAtTheEndOfALongRun)->Unit(benchmark::kMicrosecond);
}  // namespace

BENCHMARK_MAIN();

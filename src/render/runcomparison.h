#pragma once
// Target against actual: which cycle second a recorded run stood at, and
// where it did something else than the programmed plan.
//
// The run is split into stretches of one program each. A stretch whose
// program has a plan is aligned on the cycle offset at which the most of its
// cells (seconds × groups) show the planned state; the cells that still
// differ are its deviations.

#include "data/installationdata.h"
#include "render/chartrow.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

constexpr int kMaxComparedCycle = 1200;

// Why a stretch has no plan to compare with.
enum class NoTargetReason { None, ProgramOutOfRange, NotReleased, NoCycleTime, CycleTooLong, NoGroups };
QString NoTargetReasonText(NoTargetReason reason);

// Seconds From..To (run seconds, inclusive) of one group with the same planned
// and recorded state.
struct DeviationInterval {
    int Group = 0;  // 0-based
    int From = 0, To = 0;
    int32_t Target = 0, Actual = 0;
    bool operator==(const DeviationInterval &o) const
    {
        return Group == o.Group && From == o.From && To == o.To && Target == o.Target && Actual == o.Actual;
    }
};

struct StretchComparison {
    int Program = 0;
    int FirstSecond = 0, LastSecond = 0;  // run seconds, inclusive
    NoTargetReason Reason = NoTargetReason::None;
    int CycleTime = 0;
    int Offset = 0;  // cycle second ("Tx") at the stretch's first second
    int64_t CellsCompared = 0, EqualCells = 0;
    std::vector<int> DeviationSeconds;           // per compared group
    std::vector<DeviationInterval> Deviations;   // by From, then Group

    bool Compared() const { return Reason == NoTargetReason::None; }
    double EqualPercent() const { return CellsCompared ? 100.0 * double(EqualCells) / double(CellsCompared) : 0.0; }
    // The planned cycle second of a run second inside the stretch.
    int TargetSecond(int runSecond) const;
};

struct RunComparison {
    int ComparedGroups = 0;      // groups 0 … ComparedGroups - 1
    int RunGroups = 0, InstallationGroups = 0;
    std::vector<StretchComparison> Stretches;

    const StretchComparison *StretchAt(int runSecond) const;
    bool HasDeviations() const;
    bool AnyCompared() const;
};

// "99,7 %": the equal-cell share with one decimal.
QString EqualShareText(const StretchComparison &stretch);
// What the preview shows for the run second under its cursor: the share of
// its stretch and the planned cycle second ("Tx"), or why there is no plan.
QString CursorComparisonText(const RunComparison &comparison, int runSecond);
// Why none of the run's stretches could be compared, in one line.
QString NothingComparedText(const RunComparison &comparison);

// Codes 3 and 6 are drawn alike and so count as the same state.
bool SameDrawnState(int32_t a, int32_t b);

// Compares a run as it grows. Update takes the rows seen so far and the run's
// group rows (the same rows, grown at the end; fewer rows or another group
// count start it afresh, as a new printout does); a new row costs groups ×
// cycle steps, a long stretch of unchanged states costs the same as one row.
class RunComparer {
public:
    explicit RunComparer(const InstallationData &data);
    ~RunComparer();
    RunComparer(const RunComparer &) = delete;
    RunComparer &operator=(const RunComparer &) = delete;

    void Update(const std::vector<ChartRow> &rows, int runGroups);
    RunComparison Result(const std::vector<ChartRow> &rows) const;

private:
    struct Plan;
    struct Stretch;
    void restart(int runGroups);
    const Plan *planOf(int program);
    void addRows(Stretch &stretch, const std::vector<ChartRow> &rows, int from, int to);
    void compareAt(const Stretch &stretch, const std::vector<ChartRow> &rows, StretchComparison &out) const;

    const InstallationData &data_;
    int groups_ = -1;  // groups compared; -1 before the first update
    std::vector<std::unique_ptr<Plan>> plans_;  // per program 1..6, built when first needed
    std::vector<Stretch> stretches_;
    int seen_ = 0;  // rows taken in so far
    RunComparison shape_;
};

// The whole comparison of a finished run.
RunComparison CompareRun(const InstallationData &data, int runGroups, const std::vector<ChartRow> &rows);

#include "render/runcomparison.h"

#include "render/signalstate.h"
#include "render/targetstate.h"

#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <array>

namespace {
constexpr int kStateClasses = kHighestSignalState + 1;

// The drawn look of a code: 6 is drawn as 3; a code no state has, -1.
int drawnClass(int32_t state)
{
    if (state < 0 || state > kHighestSignalState)
        return -1;
    return state == RedExtraYellow ? RedYellow : state;
}
}  // namespace

QString NoTargetReasonText(NoTargetReason reason)
{
    switch (reason) {
    case NoTargetReason::None:
        break;
    case NoTargetReason::ProgramOutOfRange:
        return QStringLiteral("Programmnummer außerhalb 1–6");
    case NoTargetReason::NotReleased:
        return QStringLiteral("Programm nicht freigegeben");
    case NoTargetReason::NoCycleTime:
        return QStringLiteral("Umlaufzeit 0");
    case NoTargetReason::CycleTooLong:
        return QStringLiteral("Umlaufzeit über %1 s").arg(kMaxComparedCycle);
    case NoTargetReason::NoGroups:
        return QStringLiteral("keine Gruppe zu vergleichen");
    }
    return QString();
}

QString EqualShareText(const StretchComparison &stretch)
{
    return QLocale(QLocale::German).toString(stretch.EqualPercent(), 'f', 1) + QStringLiteral(" %");
}

QString CursorComparisonText(const RunComparison &comparison, int runSecond)
{
    const StretchComparison *s = comparison.StretchAt(runSecond);
    if (!s)
        return QString();
    if (!s->Compared())
        return QStringLiteral("ohne Sollplan (%1)").arg(NoTargetReasonText(s->Reason));
    return QStringLiteral("Soll/Ist %1, Tx %2").arg(EqualShareText(*s)).arg(s->TargetSecond(runSecond));
}

QString NothingComparedText(const RunComparison &comparison)
{
    QStringList reasons;
    for (const StretchComparison &s : comparison.Stretches) {
        const QString reason = QStringLiteral("Programm %1: %2").arg(s.Program).arg(NoTargetReasonText(s.Reason));
        if (!reasons.contains(reason))
            reasons << reason;
    }
    return QStringLiteral("kein Abschnitt des Ist-Ablaufs hat einen Sollplan (%1)")
        .arg(reasons.isEmpty() ? QStringLiteral("keine Sekunden") : reasons.join(QStringLiteral("; ")));
}

bool SameDrawnState(int32_t a, int32_t b)
{
    return a == b || (drawnClass(a) >= 0 && drawnClass(a) == drawnClass(b));
}

int StretchComparison::TargetSecond(int runSecond) const
{
    return CycleTime > 0 ? (Offset + runSecond - FirstSecond) % CycleTime : 0;
}

const StretchComparison *RunComparison::StretchAt(int runSecond) const
{
    for (const StretchComparison &s : Stretches)
        if (runSecond >= s.FirstSecond && runSecond <= s.LastSecond)
            return &s;
    return nullptr;
}

bool RunComparison::HasDeviations() const
{
    return std::any_of(Stretches.begin(), Stretches.end(),
                       [](const StretchComparison &s) { return !s.Deviations.empty(); });
}

bool RunComparison::AnyCompared() const
{
    return std::any_of(Stretches.begin(), Stretches.end(), [](const StretchComparison &s) { return s.Compared(); });
}

// One program's plan: its states per group and second, and for each drawn
// look a group shows, how many of the first x seconds of two cycles show it.
// With these counts a run of equal states is matched against every offset in
// one pass over the cycle.
struct RunComparer::Plan {
    int cycle = 0;
    std::vector<std::vector<int8_t>> target;                                    // [group][second]
    std::vector<std::array<std::vector<int32_t>, kStateClasses>> secondsUpTo;   // [group][look][x], x ≤ 2 cycles
};

struct RunComparer::Stretch {
    int program = 0;
    int first = 0, end = 0;  // rows first … end - 1
    NoTargetReason reason = NoTargetReason::None;
    const Plan *plan = nullptr;
    std::vector<int64_t> equalAtOffset;  // [offset]
};

RunComparer::RunComparer(const InstallationData &data) : data_(data) {}

void RunComparer::restart(int runGroups)
{
    shape_ = RunComparison();
    shape_.RunGroups = runGroups;
    shape_.InstallationGroups = int(std::min<uint32_t>(data_.Header.GroupCount, kGroupCount));
    groups_ = shape_.ComparedGroups = std::min(shape_.RunGroups, shape_.InstallationGroups);
    plans_.clear();  // built for the old group count
    plans_.resize(kProgramCount);
    stretches_.clear();
    seen_ = 0;
}

RunComparer::~RunComparer() = default;

const RunComparer::Plan *RunComparer::planOf(int program)
{
    std::unique_ptr<Plan> &plan = plans_[size_t(program - 1)];
    if (plan)
        return plan.get();
    plan = std::make_unique<Plan>();
    const SignalProgram &p = data_.Programs[size_t(program - 1)];
    const int cycle = plan->cycle = int(p.CycleTime);
    plan->target.resize(size_t(groups_));
    plan->secondsUpTo.resize(size_t(groups_));
    for (int g = 0; g < groups_; ++g) {
        std::vector<int8_t> &states = plan->target[size_t(g)];
        states.resize(size_t(cycle));
        for (int t = 0; t < cycle; ++t)
            states[size_t(t)] = int8_t(TargetState(p, g, t));
        auto &upTo = plan->secondsUpTo[size_t(g)];
        for (int look = 0; look < kStateClasses; ++look) {
            std::vector<int32_t> counts(size_t(2 * cycle + 1));
            for (int x = 0; x < 2 * cycle; ++x)
                counts[size_t(x + 1)] = counts[size_t(x)] + (drawnClass(states[size_t(x % cycle)]) == look);
            if (counts.back() > 0)  // looks the plan never shows match nothing
                upTo[size_t(look)] = std::move(counts);
        }
    }
    return plan.get();
}

void RunComparer::Update(const std::vector<ChartRow> &rows, int runGroups)
{
    const int count = int(rows.size());
    runGroups = std::clamp(runGroups, 0, kGroupCount);
    if (count < seen_ || runGroups != shape_.RunGroups || groups_ < 0)
        restart(runGroups);
    for (int i = seen_; i < count;) {
        const int program = rows[size_t(i)].ProgramNumber;
        int j = i + 1;
        while (j < count && rows[size_t(j)].ProgramNumber == program)
            ++j;
        if (stretches_.empty() || stretches_.back().program != program) {
            Stretch s;
            s.program = program;
            s.first = s.end = i;
            const bool known = program >= 1 && program <= kProgramCount;
            const uint32_t cycle = known ? data_.Programs[size_t(program - 1)].CycleTime : 0;
            s.reason = !known                                           ? NoTargetReason::ProgramOutOfRange
                       : !data_.Header.ProgramReleased[size_t(program - 1)] ? NoTargetReason::NotReleased
                       : cycle == 0                                     ? NoTargetReason::NoCycleTime
                       : cycle > uint32_t(kMaxComparedCycle)            ? NoTargetReason::CycleTooLong
                       : groups_ == 0                                   ? NoTargetReason::NoGroups
                                                                        : NoTargetReason::None;
            if (s.reason == NoTargetReason::None) {
                s.plan = planOf(program);
                s.equalAtOffset.assign(size_t(s.plan->cycle), 0);
            }
            stretches_.push_back(std::move(s));
        }
        Stretch &stretch = stretches_.back();
        if (stretch.plan)
            addRows(stretch, rows, i, j);
        stretch.end = j;
        i = j;
    }
    seen_ = count;
}

// Adds rows from … to - 1 of the stretch to its count of equal cells per
// offset, one run of equal looks of a group at a time.
void RunComparer::addRows(Stretch &stretch, const std::vector<ChartRow> &rows, int from, int to)
{
    const int cycle = stretch.plan->cycle;
    int64_t *equal = stretch.equalAtOffset.data();
    for (int g = 0; g < groups_; ++g) {
        for (int i = from; i < to;) {
            const int look = drawnClass(rows[size_t(i)].State[g]);
            int j = i + 1;
            while (j < to && drawnClass(rows[size_t(j)].State[g]) == look)
                ++j;
            if (look >= 0 && !stretch.plan->secondsUpTo[size_t(g)][size_t(look)].empty()) {
                // Row i stands at cycle second (o + i - first) mod cycle; the
                // run's whole cycles match every offset equally often.
                const int32_t *p = stretch.plan->secondsUpTo[size_t(g)][size_t(look)].data();
                const int length = j - i, start = (i - stretch.first) % cycle, rest = length % cycle;
                const int64_t whole = int64_t(length / cycle) * p[cycle];
                for (int o = 0; o < cycle - start; ++o)
                    equal[o] += whole + p[o + start + rest] - p[o + start];
                for (int o = cycle - start; o < cycle; ++o)
                    equal[o] += whole + p[o + start - cycle + rest] - p[o + start - cycle];
            }
            i = j;
        }
    }
}

void RunComparer::compareAt(const Stretch &stretch, const std::vector<ChartRow> &rows, StretchComparison &out) const
{
    const int cycle = stretch.plan->cycle;
    out.DeviationSeconds.assign(size_t(groups_), 0);
    for (int g = 0; g < groups_; ++g) {
        const std::vector<int8_t> &target = stretch.plan->target[size_t(g)];
        DeviationInterval *open = nullptr;
        for (int i = stretch.first; i < stretch.end; ++i) {
            const int32_t planned = target[size_t((out.Offset + i - stretch.first) % cycle)];
            const int32_t actual = rows[size_t(i)].State[g];
            if (SameDrawnState(planned, actual)) {
                open = nullptr;
                continue;
            }
            ++out.DeviationSeconds[size_t(g)];
            if (open && open->Target == planned && open->Actual == actual) {
                open->To = i;
            } else {
                out.Deviations.push_back({g, i, i, planned, actual});
                open = &out.Deviations.back();
            }
        }
    }
    std::stable_sort(out.Deviations.begin(), out.Deviations.end(),
                     [](const DeviationInterval &a, const DeviationInterval &b) { return a.From < b.From; });
}

RunComparison RunComparer::Result(const std::vector<ChartRow> &rows) const
{
    RunComparison result = shape_;
    for (const Stretch &stretch : stretches_) {
        StretchComparison s;
        s.Program = stretch.program;
        s.FirstSecond = stretch.first;
        s.LastSecond = stretch.end - 1;
        s.Reason = stretch.reason;
        if (stretch.plan) {
            s.CycleTime = stretch.plan->cycle;
            const auto best = std::max_element(stretch.equalAtOffset.begin(), stretch.equalAtOffset.end());
            s.Offset = int(best - stretch.equalAtOffset.begin());  // the first of equal maxima
            s.EqualCells = *best;
            s.CellsCompared = int64_t(stretch.end - stretch.first) * groups_;
            compareAt(stretch, rows, s);
        }
        result.Stretches.push_back(std::move(s));
    }
    return result;
}

RunComparison CompareRun(const InstallationData &data, int runGroups, const std::vector<ChartRow> &rows)
{
    RunComparer comparer(data);
    comparer.Update(rows, runGroups);
    return comparer.Result(rows);
}

#pragma once
// What a chart shows: a private snapshot of the installation's programming
// (target charts) or a captured run (actual runs), the per-second rows of the
// charts that are held as rows, and the texts of its pages. The renderer and
// the print run read only this, so data loaded while a chart is open do not
// change it.

#include "data/installationdata.h"
#include "render/displaymode.h"
#include "render/chartrow.h"
#include "render/runcomparison.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

// No chart covers more than the twelve chart pages the print selection
// holds. Longer programs are refused rather than allocated or paged past
// that bound.
constexpr int kMaxChartSeconds = 1200;
extern const QString kChartTooLongMessage;

struct ChartData {
    ::DisplayMode DisplayMode = ::DisplayMode::TargetPlan;
    bool TargetChartActive = true;
    int ProgramNumber = 1;      // 1..6
    int ShownGroups = 12;       // group rows of a chart page
    int ActiveGroupCount = 0;   // shown rows whose group exists
    QString ChartTitle;         // footer title; an actual run's source text
    QString WindowCaption;      // caption of the preview window
    QString DataName;           // data-set name; an actual run's program name

    // Target charts: the installation header and the chart's program as they
    // were when the chart was opened. Actual runs: the captured header record
    // (its FixedTimeMode byte is the header mode byte) and program record.
    InstallationHeader HeaderSnapshot{};
    SignalProgram ProgramSnapshot{};
    uint32_t InstallationType = 0;
    std::array<GroupName, kGroupCount> GroupNames{};

    // Switch programs (modes 6..8): the expanded steps. Actual runs: the
    // captured seconds. Empty for target plans.
    std::vector<ChartRow> Rows;

    // Actual runs only (filled by the capture or an actual-run file).
    int HeaderGroupCount = 0;
    int StartProgram = 0;
    QString ControllerTypeText;  // 10 characters
    QString BannerText;          // 13 characters, the last 4 are the software version
    QString PrintDateText;       // 14 characters
    // The run against the loaded plan, when asked for: bands under the
    // deviating seconds and the alignment on the overview page.
    std::optional<RunComparison> Comparison;

    // Seconds the chart covers: the cycle time of a target plan, else the rows.
    int ChartLength() const;
    bool GroupExists(int groupIndex) const;
    // The header mode byte of an actual run: its header carried the program's parameters.
    bool HeaderModeSet() const { return HeaderSnapshot.FixedTimeMode != 0; }
};

// Seconds of the three steps of program index p (0..5); 64-bit, since the
// durations come unchecked from the data files.
int64_t SwitchRowCount(const SwitchStepTable &steps, int programIndex);

// One row per second of the three steps of program index p, in order: a group
// in SetA is Red, else in SetB Yellow, else in SetC Green, else Dark. The
// caller bounds the length with SwitchRowCount first.
std::vector<ChartRow> ExpandSwitchSteps(const SwitchStepTable &steps, int programIndex);

int CountActiveGroups(const InstallationHeader &header, int shownGroups);

// Opens a target chart of programNumber (1..6) of the given kind. Fails, with
// the reason in *error and `chart` untouched, for a program number outside
// 1..6 and for a chart longer than kMaxChartSeconds. The chart shows the
// group rows of the installation's controller family.
bool OpenTargetChart(ChartData &chart, const InstallationData &data, int programNumber,
                     DisplayMode kind, const QString &dataSetName, QString *error);

#pragma once
// What render and print share: the chart their options name, its pages and
// the colour rule of paper.

#include "app/commands.h"
#include "render/chartdata.h"

#include <QList>
#include <optional>

// The chart of a data set's program or a saved run; a run with compareDir
// carries its deviations from that data set's plans. On refusal *error holds
// one line saying why.
bool LoadCommandChart(const ChartOptions &source, const std::optional<QString> &compareDir, ChartData &chart,
                      QString *error);

// The pages of --pages LIST, or every page of the chart without it.
bool CommandPages(const ChartData &chart, const std::optional<QString> &list, QList<int> &pages, QString *error);

// Paper is coloured as --colour / --bw say, else as the colour-print setting.
bool PaperInColour(const std::optional<bool> &colour, const CommandEnvironment &env);

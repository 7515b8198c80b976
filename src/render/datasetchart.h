#pragma once
// Opening a target chart straight from a data-set folder, with the refusals
// of the main window's print menu: only released programs of a fixed-time
// installation have charts.

#include "render/chartdata.h"

#include <QString>
#include <QStringList>

// The data set of dir as the main window loads it right after start-up: a
// new installation of type 0 with 24 groups, then the folder's data files.
// Returns the load report.
QStringList loadDataSetAsAtStartup(InstallationData &data, const QString &dir);

// Why dir cannot be loaded as a data set: it is no folder, or it holds none of
// the data files. Empty when it can. The commands refuse with this line.
QString DataSetFolderRefusal(const QString &dir);

// Loads the data set of dir into data and compares run with its plans. On
// refusal (no data set, no stretch of the run with a plan) *error holds one
// line saying why.
bool CompareRunWithDataSet(const QString &dir, const ChartData &run, InstallationData &data,
                           RunComparison &comparison, QString *error);

// "Programm N ist nicht freigegeben" when program N (1 … 6) of data is not
// released; empty otherwise.
QString NotReleasedRefusal(const InstallationData &data, int programNumber);

// "soll", "ein", "aus-gezielt", "aus-stoerung".
bool ChartKindFromName(const QString &name, DisplayMode &kind);

// Loads the data set of dir as "Daten laden" does and opens the chart of
// programNumber. On refusal *error holds one line saying why.
bool OpenDataSetChart(const QString &dir, const QString &dataSetName, int programNumber,
                      DisplayMode kind, ChartData &chart, QString *error);

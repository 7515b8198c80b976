#pragma once
// Loading a data set: the twenty data files of one directory into the
// installation data, with a report line per file.

#include "data/datafiles.h"
#include "data/defaults.h"
#include "data/installationdata.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// dir + "/" + fileName; the "/" only when dir does not already end with one.
QString dataFilePath(const QString &dir, const QString &fileName);

// The entry of a folder listing that is the data file `name`: the exact name,
// else the first that differs from it only in case (a data set copied from
// Windows may have "all.dat" or "All.Dat"), else `name` itself.
QString dataFileName(const QStringList &entries, const QString &name);

// Unpacks the bytes of one data file into its part of `d`. False, with `d`
// unchanged, when the bytes are not exactly the file's size.
bool unpackDataFile(InstallationData &d, DataFile file, const QByteArray &bytes);

// A folder that holds none of the data files is no data set: loading it would
// only give defaults under the folder's name. Returns the refusal that says
// so, or an empty string when at least one file is there, even of the wrong size.
QString noDataSetRefusal(const QString &dir);

// Reads every data file of `dir` in reading order. A file that is missing,
// cannot be opened or has the wrong size leaves its part at the defaults and
// the load goes on. Returns the report: "Lese Daten aus: " + dir, an underline
// of "-" as long as that line, an empty line, then one line per file.
QStringList loadDataSet(InstallationData &d, const QString &dir, const ResetRules &rules);

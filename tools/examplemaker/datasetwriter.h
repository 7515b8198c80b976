#pragma once
// Writing a complete data set: the twenty files in the layout the reader
// expects.

#include "data/datafiles.h"
#include "data/installationdata.h"

#include <QByteArray>
#include <QString>

// The bytes of one data file, exactly its size.
QByteArray packDataFile(const InstallationData &d, DataFile file);

// Writes all twenty files into dir (created when missing); each file is
// written whole or not at all. On failure sets error and returns false.
bool writeDataSet(const InstallationData &d, const QString &dir, QString &error);

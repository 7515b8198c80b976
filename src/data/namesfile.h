#pragma once
// The group names file NAMEN.DAT read and written on its own: 24 names of
// 10 Windows-1252 characters, 240 bytes.

#include "data/installationdata.h"

#include <QString>

// On success the names are the file's 240 bytes; a missing file or one of
// any other size blanks all names. No report.
bool readNamesFile(InstallationData &d, const QString &path);

// Writes the 240 bytes whole or not at all: on any failure the previous file
// stays as it was, the result is false and *error (when given) says why.
bool writeNamesFile(const InstallationData &d, const QString &path, QString *error = nullptr);

#pragma once
// The texts the main window and `signovat info` show for the loaded data.

#include "data/installationdata.h"

#include <QString>
#include <cstdint>

// A value without a text of its own leaves the label as it was (unchanged).
QString installationTypeText(uint32_t type, const QString &unchanged);
QString operatingModeText(const InstallationHeader &h);
QString emergencyProgramText(uint32_t program, const QString &unchanged);

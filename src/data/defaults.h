#pragma once
// The defaults ("Standardwerte") of the installation data: one reset per
// data file, and the reset of the whole data set.

#include "data/datafiles.h"
#include "data/installationdata.h"

#include <cstdint>
#include <optional>

struct ResetRules {
    bool startupDone;                  // the first start-up reset has completed
    uint32_t defaultInstallationType;  // settings key ANLAGE_NR, used until then
};

// Puts the part of `d` that `file` holds back to its defaults and touches
// nothing else. Until start-up is done, the header reset also takes the
// installation type from the rules and the group count from that type.
void resetDataFile(InstallationData &d, DataFile file, const ResetRules &rules);

// All 24 group names to blanks.
void resetGroupNames(InstallationData &d);

// Every data file's part to its defaults, then the group names to blanks
// unless the user chose to keep them (clearGroupNames false), then
// KonfValue 2. The installation type changes only by the start-up rule of
// the header reset.
void resetToDefaults(InstallationData &d, const ResetRules &rules, bool clearGroupNames);

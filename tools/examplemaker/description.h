#pragma once
// A data set described as readable text, section by section:
//
//   [Header]              fields of ALL.DAT      e.g. GroupCount = 8
//   [Konf]                fields of KONF.DAT     e.g. InstallationType = 0
//   [GroupNames]          1 = K1 West … 24 = …
//   [Program N]           fields of program N (1 … 6) of PROG.DAT
//   [SwitchOn N.S]        step S (1 … 3) of program N in EIN.DAT,
//   [SwitchOffTargeted N.S], [SwitchOffFault N.S]   the same in AUS1.DAT, AUS2.DAT
//
// Keys are the model's field names. A per-group field takes up to 24 numbers
// separated by blanks, group 1 first; groups not given keep their defaults.
// A text may be put in double quotes to keep leading blanks. Lines starting
// with '#' or ';' are comments. Everything not described keeps the defaults
// of a new data set.

#include "data/installationdata.h"

#include <QString>

// On failure returns false and sets error to "line N: what is wrong".
bool readDescription(const QString &text, InstallationData &d, QString &error);

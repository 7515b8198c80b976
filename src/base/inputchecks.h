#pragma once
// What the windows ask of the user before they go on: a number within its
// range, and whether data may be deleted.

#include "base/prompt.h"

#include <QString>

// Returns the value of text when it is a decimal number within [minimum,
// maximum]; otherwise tells the user why and returns -1.
int CheckNumberInput(Prompt &prompt, const QString &text, int minimum, int maximum);

// "Daten löschen ?" with Yes / No.
PromptAnswer ConfirmDeleteData(Prompt &prompt);

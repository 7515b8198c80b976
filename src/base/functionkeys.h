#pragma once
// The shared function-key handling of the secondary windows: F1 help, F12
// main window to the front, F10 consumed. The main window is found by its
// object name "TFormSteuer"; the help is looked for from the application's
// "startupDir" and "programDir" properties.

class QKeyEvent;
class QWidget;

// Returns true when the key was handled (and must not go further).
bool handleFunctionKey(QKeyEvent *event);

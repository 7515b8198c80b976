#pragma once
// The shared function-key handling of the secondary windows: F1 help, F12
// main window to the front, F10 consumed. The main window is found by its
// object name "TFormSteuer"; the help folder is the application's
// "startupDir" property.

class QKeyEvent;
class QWidget;

// Returns true when the key was handled (and must not go further).
bool handleFunctionKey(QKeyEvent *event);

#pragma once
// The file dialogs of actual-run files (*.DRI): "Druck Ist Daten laden" and
// "Druck Ist Daten speichern".

#include <QString>

class Prompt;
class QWidget;

// The chosen file, or "" when the user cancelled.
QString askActualRunFileToOpen(QWidget *parent, const QString &folder);

// Proposes `name` (".DRI" is added) in `folder`. Asks before replacing a
// file and before creating a new one; "No" goes back to the dialog. The
// chosen file, or "" when the user cancelled.
QString askActualRunFileToSave(QWidget *parent, Prompt &prompt, const QString &folder, const QString &name);

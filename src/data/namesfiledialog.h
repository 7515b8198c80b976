#pragma once
// The file dialogs for a group names file: "Gruppenbezeichnung (NAMEN.DAT)".

#include <QString>

class QWidget;

// The chosen file, or "" when the user cancelled.
QString askNamesFileToOpen(QWidget *parent, const QString &folder);
// Offers "NAMEN.DAT" in folder and asks before overwriting.
QString askNamesFileToSave(QWidget *parent, const QString &folder);

#pragma once
// TFormGetSimDir, "Pfad wählen": the working folder of the simulation program.

#include "dialogs/settingsfolderpicker.h"

class TFormGetSimDir : public SettingsFolderPicker {
    Q_OBJECT
public:
    TFormGetSimDir(Prompt &prompt, AppSettings &settings, QWidget *parent = nullptr);

protected:
    QString &setting() override;
    QString labelFor() const override;
};

#pragma once
// TFormGetStandDir, "Datenpfad wählen": the standard data folder or the
// actual-run write folder, with a button that creates a sub-folder.

#include "dialogs/settingsfolderpicker.h"

class TFormOrdner;

class TFormGetStandDir : public SettingsFolderPicker {
    Q_OBJECT
public:
    enum StandDirMode { WriteFolder = 0, StandardFolder = 1 };

    TFormGetStandDir(Prompt &prompt, AppSettings &settings, QWidget *parent = nullptr);

    void setStandDirMode(StandDirMode mode) { mode_ = mode; }
    StandDirMode standDirMode() const { return mode_; }
    TFormOrdner *newFolderDialog() const { return ordner_; }

protected:
    QString &setting() override;
    QString labelFor() const override;

private:
    StandDirMode mode_ = StandardFolder;
    TFormOrdner *ordner_;
};

#pragma once
// The pickers the settings dialog opens for one of its folders: folder tree,
// drive list and a read-only field showing the tree's folder. "OK" stores the
// folder straight into the settings.

#include "dialogs/folderpicker.h"

struct AppSettings;
class QLabel;
class QLineEdit;
class QVBoxLayout;

class SettingsFolderPicker : public FolderPicker {
    Q_OBJECT
public:
    QString shownFolder() const;
    QString labelText() const;

signals:
    // "OK" stored a folder in the settings.
    void folderChosen(const QString &folder);

protected:
    SettingsFolderPicker(Prompt &prompt, AppSettings &settings, const QString &objectName,
                         const QString &caption, QWidget *parent);

    // The setting this picker shows first and changes on "OK", and the label
    // above its field.
    virtual QString &setting() = 0;
    virtual QString labelFor() const = 0;

    void prepare() override;
    void okClicked() override;
    void treeFolderChanged(const QString &folder) override;
    void hideEvent(QHideEvent *event) override;

    AppSettings &settings_;
    // Where a subclass adds its own buttons, below the drive list.
    QVBoxLayout *extraButtons_;

private:
    QLabel *label_;
    QLineEdit *field_;
    QString savedWorkingFolder_;
};

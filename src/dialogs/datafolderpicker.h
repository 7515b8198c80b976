#pragma once
// TFormGetDir, "Daten laden": chooses the folder an installation's data set
// is loaded from, listing the folder's *.DAT files.

#include "dialogs/folderpicker.h"

class QFileSystemModel;
class QLabel;
class QListView;

class TFormGetDir : public FolderPicker {
    Q_OBJECT
public:
    TFormGetDir(Prompt &prompt, QWidget *parent = nullptr);

    void setPickerFolder(const QString &folder) { pickerFolder_ = folder; }
    QString pickerFolder() const { return pickerFolder_; }

    // The folder label and the file list, for tests.
    QString shownFolder() const;
    QListView *fileList() const { return files_; }

protected:
    void prepare() override;
    void okClicked() override;
    void treeFolderChanged(const QString &folder) override;

private:
    QString pickerFolder_;
    QListView *files_;
    QFileSystemModel *fileModel_;
    QLabel *folderLabel_;
};

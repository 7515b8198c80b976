#pragma once
// TFormGetDir, "Daten laden": chooses the folder an installation's data set
// is loaded from, listing the folder's *.DAT files.

#include <QDialog>

class Prompt;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QListView;
class QTreeView;

class TFormGetDir : public QDialog {
    Q_OBJECT
public:
    TFormGetDir(Prompt &prompt, QWidget *parent = nullptr);

    void setPickerFolder(const QString &folder) { pickerFolder_ = folder; }
    QString pickerFolder() const { return pickerFolder_; }
    bool pickerOk() const { return pickerOk_; }

    // The folder the tree shows.
    QString treeFolder() const;
    void setTreeFolder(const QString &folder);
    // Chooses a volume in the drive list, as the user would.
    void chooseDrive(const QString &root);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void prepare();
    void okClicked();

    Prompt &prompt_;
    QString pickerFolder_;
    QString pickerDrive_;
    bool pickerOk_ = true;

    QComboBox *drives_;
    QTreeView *tree_;
    QListView *files_;
    QFileSystemModel *dirModel_;
    QFileSystemModel *fileModel_;
    QLabel *folderLabel_;
};

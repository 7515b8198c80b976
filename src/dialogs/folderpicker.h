#pragma once
// What the folder pickers share: the drive list (mounted volumes), the folder
// tree and the "OK" / "Abbruch" buttons, with the preparation on showing and
// the drive checks.

#include <QDialog>

class Prompt;
class QComboBox;
class QFileSystemModel;
class QPushButton;
class QTreeView;

class FolderPicker : public QDialog {
    Q_OBJECT
public:
    // False after the folder given at preparation could not be shown; "OK"
    // then prepares the dialog again instead of closing it.
    bool pickerOk() const { return pickerOk_; }

    // The folder the tree shows.
    QString treeFolder() const;
    void setTreeFolder(const QString &folder);
    // Chooses a volume in the drive list, as the user would.
    void chooseDrive(const QString &root);

protected:
    FolderPicker(Prompt &prompt, const QString &objectName, const QString &caption, QWidget *parent);

    // Prepares the dialog anew (on showing and after a refused "OK").
    virtual void prepare() = 0;
    // "OK" was pressed.
    virtual void okClicked() = 0;
    // The tree moved to folder; the folder display follows it.
    virtual void treeFolderChanged(const QString &folder) = 0;

    // Shows folder (or its nearest existing parent) in the tree and remembers
    // its drive; tells the user when that drive is not ready.
    void showFolderFirst(const QString &folder);

    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    Prompt &prompt_;
    QComboBox *drives_;
    QTreeView *tree_;
    QPushButton *ok_;
    QPushButton *cancel_;

private:
    void selectDriveOf(const QString &folder);

    QFileSystemModel *dirModel_;
    QString pickerDrive_;
    bool pickerOk_ = true;
    bool followCurrent_ = false;
};

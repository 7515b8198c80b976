#pragma once
// TFormOrdner, "Neuer Ordner": creates a sub-folder of the folder the
// standard-folder picker's tree shows.

#include <QDialog>

class FolderPicker;
class Prompt;
class QLabel;
class QLineEdit;

class TFormOrdner : public QDialog {
    Q_OBJECT
public:
    TFormOrdner(Prompt &prompt, FolderPicker &picker, QWidget *parent = nullptr);

    QLineEdit *nameField() const { return name_; }
    QString currentFolder() const { return currentFolder_; }
    void okClicked();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    Prompt &prompt_;
    FolderPicker &picker_;
    QString currentFolder_;
    QLabel *folderLabel_;
    QLineEdit *name_;
};

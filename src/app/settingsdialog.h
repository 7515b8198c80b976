#pragma once
// TFormStand, "Programmeinstellungen": ports, folders, colour printing and the
// actual-run options. The decisions are SettingsDialogModel's; this window
// shows them and forwards the user's actions.

#include "app/settingsdialogmodel.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TFormGetSimDir;
class TFormGetStandDir;

class TFormStand : public QDialog {
    Q_OBJECT
public:
    // settingsFile holds the device map the "Schnittstellen zuordnen" dialog edits.
    TFormStand(AppContext &ctx, Prompt &prompt, MainController &mainWindow, const QString &settingsFile,
               QWidget *parent = nullptr);

    const SettingsDialogModel &model() const { return model_; }
    TFormGetStandDir *standardFolderPicker() const { return standPicker_; }
    TFormGetSimDir *simulatorFolderPicker() const { return simPicker_; }

    void ButtonOkClick();
    void ButtonAbbruchClick();
    // Esc is "Abbruch".
    void reject() override;

signals:
    // The main window's view changed (commands, ports, folders): show it anew.
    void mainViewChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLeft();
    void buildRight();
    void showView();
    void showPortLists();
    void checkBoxClicked();
    void durationExit();
    void stepDuration(int step);
    void pickStandardFolder(int mode);
    void pickSimulatorFolder();
    void folderChosen();
    void showDevices();

    AppContext &ctx_;
    Prompt &prompt_;
    MainController &main_;
    QString settingsFile_;
    SettingsDialogModel model_;

    QLineEdit *editStandard_, *editSchreiben_, *editSim_;
    QPushButton *changeStandard_, *changeSchreiben_, *changeSim_;
    QCheckBox *checkDIEnde_, *checkDISpeichern_, *checkVorhanden_;
    QLabel *labelNach_, *labelMinuten_;
    QLineEdit *memoIstDauer_;
    QWidget *upDownIstDauer_;
    QPushButton *buttonTauschen_;
    QRadioButton *radioFarbe_, *radioSW_;
    QComboBox *comboPrint_, *comboSteu_;
    QPushButton *buttonOk_, *buttonAbbruch_;

    TFormGetStandDir *standPicker_;
    TFormGetSimDir *simPicker_;
};

#pragma once
// ComDevicesDialog, "Schnittstellen zuordnen": which device each of COM 1 …
// COM 8 opens, with each device's state (ready, missing, in use, no
// permission). Stored in the [Ports] section of the settings file.

#include "serial/comportmap.h"

#include <QDialog>
#include <QList>
#include <array>

class Prompt;
class QComboBox;
class QLabel;

class ComDevicesDialog : public QDialog {
    Q_OBJECT
public:
    // heldCom: the COM numbers this program has open now; they are not probed.
    ComDevicesDialog(Prompt &prompt, const QString &settingsFile, const QList<int> &heldCom,
                     QWidget *parent = nullptr);

    QComboBox *deviceField(int comNumber) const { return devices_[comNumber - 1]; }
    QString stateText(int comNumber) const;

    // Probes every device again.
    void checkClicked();
    // Stores the map and closes.
    void okClicked();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void probe(int comNumber);

    Prompt &prompt_;
    QString settingsFile_;
    ComPortMap map_;
    QList<int> held_;
    std::array<QComboBox *, ComPortMap::kLastCom> devices_{};
    std::array<QLabel *, ComPortMap::kLastCom> states_{};
};

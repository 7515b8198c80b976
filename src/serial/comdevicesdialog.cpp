#include "serial/comdevicesdialog.h"

#include "base/functionkeys.h"
#include "base/prompt.h"
#include "serial/deviceprobe.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString kHeldText = QStringLiteral("von diesem Programm geöffnet");
}

ComDevicesDialog::ComDevicesDialog(Prompt &prompt, const QString &settingsFile, const QList<int> &heldCom,
                                   QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      prompt_(prompt), settingsFile_(settingsFile), map_(ComPortMap::fromSettings(settingsFile)),
      held_(heldCom)
{
    setObjectName(QStringLiteral("ComDevicesDialog"));
    setWindowTitle(QStringLiteral("Schnittstellen zuordnen"));
    setModal(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Schnittstelle"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Gerät"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Zustand"), this), 0, 2);
    const QStringList candidates = serialDeviceCandidates();
    for (int com = ComPortMap::kFirstCom; com <= ComPortMap::kLastCom; ++com) {
        auto *device = new QComboBox(this);
        device->setObjectName(QStringLiteral("ComboBoxCOM%1").arg(com));
        device->setEditable(true);
        device->setInsertPolicy(QComboBox::NoInsert);
        device->setMinimumWidth(260);
        device->addItems(candidates);
        device->setCurrentText(map_.devicePath(com));
        auto *state = new QLabel(this);
        state->setObjectName(QStringLiteral("LabelCOM%1").arg(com));
        state->setWordWrap(true);
        state->setMinimumWidth(300);
        grid->addWidget(new QLabel(QStringLiteral("COM %1").arg(com), this), com, 0);
        grid->addWidget(device, com, 1);
        grid->addWidget(state, com, 2);
        devices_[com - 1] = device;
        states_[com - 1] = state;
        // Probed when a device is chosen or typed in full, not on every key.
        connect(device, &QComboBox::activated, this, [this, com] { probe(com); });
        connect(device->lineEdit(), &QLineEdit::editingFinished, this, [this, com] { probe(com); });
    }

    auto *hint = new QLabel(QStringLiteral("Ohne Berechtigung: den Benutzer in die genannte Gruppe aufnehmen "
                                           "(z.B. „adduser BENUTZER dialout“)\nund neu anmelden."),
                            this);
    hint->setObjectName(QStringLiteral("LabelHinweis"));
    grid->addWidget(hint, ComPortMap::kLastCom + 1, 0, 1, 3);

    auto *pruefen = new QPushButton(QStringLiteral("Prüfen"), this);
    pruefen->setObjectName(QStringLiteral("ButtonPruefen"));
    pruefen->setAutoDefault(false);
    auto *abbruch = new QPushButton(QStringLiteral("Abbruch"), this);
    abbruch->setAutoDefault(false);
    auto *ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setAutoDefault(false);
    connect(pruefen, &QPushButton::clicked, this, &ComDevicesDialog::checkClicked);
    connect(abbruch, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, &ComDevicesDialog::okClicked);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(pruefen);
    buttons->addStretch();
    buttons->addWidget(abbruch);
    buttons->addWidget(ok);
    grid->addLayout(buttons, ComPortMap::kLastCom + 2, 0, 1, 3);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    checkClicked();
}

QString ComDevicesDialog::stateText(int comNumber) const
{
    return states_[comNumber - 1]->text();
}

void ComDevicesDialog::probe(int comNumber)
{
    const QString path = devices_[comNumber - 1]->currentText().trimmed();
    // The program's own open port would look busy; it is, but with good reason.
    const bool held = held_.contains(comNumber) && path == map_.devicePath(comNumber);
    states_[comNumber - 1]->setText(held ? kHeldText : probeDevice(path).text);
}

void ComDevicesDialog::checkClicked()
{
    for (int com = ComPortMap::kFirstCom; com <= ComPortMap::kLastCom; ++com)
        probe(com);
}

void ComDevicesDialog::okClicked()
{
    const ComPortMap before = map_;
    bool changed = false;
    for (int com = ComPortMap::kFirstCom; com <= ComPortMap::kLastCom; ++com) {
        map_.setDevicePath(com, devices_[com - 1]->currentText());
        changed = changed || map_.devicePath(com) != before.devicePath(com);
    }
    if (!changed) {
        accept();
        return;
    }
    if (!map_.save(settingsFile_)) {
        prompt_.tell(QStringLiteral("Die Zuordnung der Schnittstellen konnte nicht\ngespeichert werden !"),
                     QStringLiteral("Fehler"), PromptIcon::Error);
        return;
    }
    prompt_.tell(QStringLiteral("Die Zuordnung der Schnittstellen wird beim\nSchließen der Programmeinstellungen übernommen !"),
                 QStringLiteral("Info"), PromptIcon::Information);
    accept();
}

void ComDevicesDialog::keyPressEvent(QKeyEvent *event)
{
    if (!handleFunctionKey(event))
        QDialog::keyPressEvent(event);
}

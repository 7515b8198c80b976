#include "app/settingsdialog.h"

#include "base/functionkeys.h"
#include "app/maincontroller.h"
#include "dialogs/simfolderpicker.h"
#include "dialogs/standardfolderpicker.h"
#include "serial/comdevicesdialog.h"
#include "serial/comportmap.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

namespace {
constexpr int kWidth = 632;
constexpr int kHeight = 330;

QGroupBox *group(const QString &title, QWidget *parent, int x, int y, int w, int h)
{
    auto *g = new QGroupBox(title, parent);
    g->setGeometry(x, y, w, h);
    return g;
}

QLineEdit *folderField(const QString &name, QWidget *parent, int x, int y)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    e->setGeometry(x, y, 300, 22);
    return e;
}

QPushButton *changeButton(const QString &name, QWidget *parent, int x, int y)
{
    auto *b = new QPushButton(QStringLiteral("Ändern"), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setGeometry(x, y, 72, 26);
    return b;
}
}  // namespace

TFormStand::TFormStand(AppContext &ctx, Prompt &prompt, MainController &mainWindow,
                       const QString &settingsFile, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      ctx_(ctx), prompt_(prompt), main_(mainWindow), settingsFile_(settingsFile),
      model_(ctx, prompt, mainWindow)
{
    setObjectName(QStringLiteral("TFormStand"));
    setWindowTitle(QStringLiteral("Programmeinstellungen"));
    setFixedSize(kWidth, kHeight);
    buildLeft();
    buildRight();

    standPicker_ = new TFormGetStandDir(prompt, ctx.settings, this);
    simPicker_ = new TFormGetSimDir(prompt, ctx.settings, this);
    connect(standPicker_, &SettingsFolderPicker::folderChosen, this, &TFormStand::folderChosen);
    connect(simPicker_, &SettingsFolderPicker::folderChosen, this, &TFormStand::folderChosen);
}

void TFormStand::buildLeft()
{
    QGroupBox *standard = group(QStringLiteral("Standarddatenpfad"), this, 8, 4, 400, 56);
    editStandard_ = folderField(QStringLiteral("EditStandard"), standard, 12, 24);
    changeStandard_ = changeButton(QStringLiteral("ButtonChangeStandard"), standard, 318, 22);

    QGroupBox *ist = group(QStringLiteral("Druck Ist Einstellungen"), this, 8, 64, 400, 138);
    auto *schreiben = new QLabel(QStringLiteral("Schreibverzeichnis:"), ist);
    schreiben->setGeometry(12, 20, 200, 18);
    editSchreiben_ = folderField(QStringLiteral("EditSchreiben"), ist, 12, 38);
    changeSchreiben_ = changeButton(QStringLiteral("ButtonChangeSchreiben"), ist, 318, 36);
    checkDIEnde_ = new QCheckBox(QStringLiteral("Druck Ist aus KVX Steuerung automatisch Beenden"), ist);
    checkDIEnde_->setObjectName(QStringLiteral("CheckBoxDIEnde"));
    checkDIEnde_->setGeometry(12, 66, 380, 20);
    labelNach_ = new QLabel(QStringLiteral("nach"), ist);
    labelNach_->setGeometry(30, 90, 30, 20);
    memoIstDauer_ = new QLineEdit(ist);
    memoIstDauer_->setObjectName(QStringLiteral("MemoIstDauer"));
    memoIstDauer_->setMaxLength(2);
    memoIstDauer_->setAlignment(Qt::AlignCenter);
    memoIstDauer_->setGeometry(62, 89, 30, 22);
    memoIstDauer_->installEventFilter(this);

    // The up-down control takes no focus and no arrow keys: leaving the
    // duration field for it is no leaving at all.
    upDownIstDauer_ = new QWidget(ist);
    upDownIstDauer_->setObjectName(QStringLiteral("UpDownIstDauer"));
    upDownIstDauer_->setGeometry(92, 89, 16, 22);
    auto arrow = [this](Qt::ArrowType type, const QString &name, int y, int step) {
        auto *b = new QToolButton(upDownIstDauer_);
        b->setObjectName(name);
        b->setArrowType(type);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        b->setGeometry(0, y, 16, 11);
        connect(b, &QToolButton::clicked, this, [this, step] { stepDuration(step); });
    };
    arrow(Qt::UpArrow, QStringLiteral("UpDownUp"), 0, +1);
    arrow(Qt::DownArrow, QStringLiteral("UpDownDown"), 11, -1);
    labelMinuten_ = new QLabel(QStringLiteral("Minute(n)"), ist);
    labelMinuten_->setGeometry(114, 90, 80, 20);
    checkDISpeichern_ = new QCheckBox(QStringLiteral("Automatische Abfrage Druck Ist Speichern"), ist);
    checkDISpeichern_->setObjectName(QStringLiteral("CheckBoxDISpeichern"));
    checkDISpeichern_->setGeometry(12, 114, 380, 20);

    QGroupBox *sim = group(QStringLiteral("Arbeitsverzeichnis Velkinor"), this, 8, 206, 400, 56);
    editSim_ = folderField(QStringLiteral("EditSim"), sim, 12, 24);
    changeSim_ = changeButton(QStringLiteral("ButtonChangeArbeitsPfadSim"), sim, 318, 22);

    QGroupBox *steuer = group(QStringLiteral("Steuerschnittstelle"), this, 8, 266, 400, 56);
    checkVorhanden_ = new QCheckBox(QStringLiteral("Steuer - Schnittstelle aktiv "), steuer);
    checkVorhanden_->setObjectName(QStringLiteral("CheckBoxVorhanden"));
    checkVorhanden_->setGeometry(12, 24, 200, 22);
    buttonTauschen_ = new QPushButton(QStringLiteral("Schnittstellen tauschen"), steuer);
    buttonTauschen_->setObjectName(QStringLiteral("ButtonTauschen"));
    buttonTauschen_->setAutoDefault(false);
    buttonTauschen_->setGeometry(220, 22, 170, 26);

    for (QLineEdit *field : {editStandard_, editSchreiben_, editSim_})
        field->installEventFilter(this);
    connect(changeStandard_, &QPushButton::clicked, this,
            [this] { pickStandardFolder(TFormGetStandDir::StandardFolder); });
    connect(changeSchreiben_, &QPushButton::clicked, this,
            [this] { pickStandardFolder(TFormGetStandDir::WriteFolder); });
    connect(changeSim_, &QPushButton::clicked, this, &TFormStand::pickSimulatorFolder);
    for (QCheckBox *box : {checkVorhanden_, checkDIEnde_, checkDISpeichern_})
        connect(box, &QCheckBox::clicked, this, &TFormStand::checkBoxClicked);
    connect(buttonTauschen_, &QPushButton::clicked, this, [this] {
        model_.ButtonTauschenClick();
        showPortLists();
    });
}

void TFormStand::buildRight()
{
    QGroupBox *output = group(QStringLiteral("Druckerausgabe"), this, 416, 4, 208, 64);
    radioFarbe_ = new QRadioButton(QStringLiteral("Ausdruck in Farbe"), output);
    radioFarbe_->setObjectName(QStringLiteral("RadioButtonFarbe"));
    radioFarbe_->setGeometry(12, 20, 180, 20);
    radioSW_ = new QRadioButton(QStringLiteral("Ausdruck in S/W"), output);
    radioSW_->setObjectName(QStringLiteral("RadioButtonSW"));
    radioSW_->setGeometry(12, 40, 180, 20);

    QGroupBox *print = group(QStringLiteral("Drucker - Schnittstelle wählen"), this, 416, 72, 208, 56);
    comboPrint_ = new QComboBox(print);
    comboPrint_->setObjectName(QStringLiteral("ComboBoxCOMPrint"));
    comboPrint_->setGeometry(12, 24, 184, 24);
    QGroupBox *steu = group(QStringLiteral("Steuer - Schnittstelle wählen"), this, 416, 132, 208, 56);
    comboSteu_ = new QComboBox(steu);
    comboSteu_->setObjectName(QStringLiteral("ComboBoxCOMSteu"));
    comboSteu_->setGeometry(12, 24, 184, 24);
    connect(comboPrint_, &QComboBox::activated, this, [this](int index) {
        model_.ComboBoxCOMChange(SettingsDialogModel::Side::Printer, comboPrint_->itemText(index));
        showPortLists();
    });
    connect(comboSteu_, &QComboBox::activated, this, [this](int index) {
        model_.ComboBoxCOMChange(SettingsDialogModel::Side::Controller, comboSteu_->itemText(index));
        showPortLists();
    });

    // Which device each COM number opens: an addition of this platform.
    auto *devices = new QPushButton(QStringLiteral("Schnittstellen zuordnen ..."), this);
    devices->setObjectName(QStringLiteral("ButtonGeraete"));
    devices->setAutoDefault(false);
    devices->setGeometry(416, 196, 208, 26);
    connect(devices, &QPushButton::clicked, this, &TFormStand::showDevices);

    buttonAbbruch_ = new QPushButton(QStringLiteral("Abbruch"), this);
    buttonAbbruch_->setObjectName(QStringLiteral("ButtonAbbruch"));
    buttonAbbruch_->setAutoDefault(false);
    buttonAbbruch_->setGeometry(448, 294, 84, 28);
    buttonOk_ = new QPushButton(QStringLiteral("Ok"), this);
    buttonOk_->setObjectName(QStringLiteral("ButtonOk"));
    buttonOk_->setAutoDefault(false);
    buttonOk_->setGeometry(540, 294, 84, 28);
    connect(buttonAbbruch_, &QPushButton::clicked, this, &TFormStand::ButtonAbbruchClick);
    connect(buttonOk_, &QPushButton::clicked, this, &TFormStand::ButtonOkClick);
}

void TFormStand::showView()
{
    const SettingsDialogView &v = model_.view();
    radioFarbe_->setChecked(v.colour);
    radioSW_->setChecked(!v.colour);
    checkDISpeichern_->setChecked(v.askSave);
    memoIstDauer_->setText(v.durationText);
    editStandard_->setText(v.standardFolder);
    editSchreiben_->setText(v.writeFolder);
    editSim_->setText(v.simulatorFolder);
    showPortLists();
}

void TFormStand::showPortLists()
{
    const SettingsDialogView &v = model_.view();
    comboPrint_->clear();
    comboPrint_->addItems(v.printerItems);
    comboPrint_->setCurrentIndex(v.printerCurrent);
    comboSteu_->clear();
    comboSteu_->addItems(v.controllerItems);
    comboSteu_->setCurrentIndex(v.controllerCurrent);
    checkVorhanden_->setChecked(v.controllerActive);
    comboSteu_->setEnabled(v.controllerActive);
    buttonTauschen_->setVisible(v.controllerActive);
    checkDIEnde_->setChecked(v.autoEndChecked);
    checkDIEnde_->setEnabled(v.autoEndEnabled);
    for (QWidget *w : {static_cast<QWidget *>(labelNach_), static_cast<QWidget *>(memoIstDauer_),
                       upDownIstDauer_, static_cast<QWidget *>(labelMinuten_)})
        w->setVisible(v.durationVisible);
}

void TFormStand::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    model_.FormShow(QDir::currentPath());
    emit mainViewChanged();
    showView();
    changeStandard_->setFocus();
}

void TFormStand::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    model_.FormHide();
    emit mainViewChanged();
}

void TFormStand::checkBoxClicked()
{
    model_.CheckBoxVorhandenClick(checkVorhanden_->isChecked(), checkDIEnde_->isChecked());
    showPortLists();
}

void TFormStand::durationExit()
{
    // Back in the field already: "Ok" checked it and returned the focus.
    if (!isVisible() || memoIstDauer_->hasFocus())
        return;
    if (!model_.MemoIstDauerExit(memoIstDauer_->text())) {
        memoIstDauer_->setFocus();
        memoIstDauer_->selectAll();
    }
}

void TFormStand::stepDuration(int step)
{
    model_.UpDownIstDauerClick(step);
    memoIstDauer_->setText(model_.view().durationText);
}

void TFormStand::pickStandardFolder(int mode)
{
    standPicker_->setStandDirMode(TFormGetStandDir::StandDirMode(mode));
    standPicker_->exec();
}

void TFormStand::pickSimulatorFolder()
{
    simPicker_->exec();
}

void TFormStand::folderChosen()
{
    model_.foldersChanged();
    editStandard_->setText(model_.view().standardFolder);
    editSchreiben_->setText(model_.view().writeFolder);
    editSim_->setText(model_.view().simulatorFolder);
    main_.Refresh();
    emit mainViewChanged();
}

void TFormStand::showDevices()
{
    // The ports this program holds open are busy because of it, not of another program.
    const auto assignment = [this] {
        const ComPortMap map = ComPortMap::fromSettings(settingsFile_);
        QStringList paths;
        for (int com = ComPortMap::kFirstCom; com <= ComPortMap::kLastCom; ++com)
            paths << map.devicePath(com);
        return paths;
    };
    const QStringList before = assignment();
    ComDevicesDialog devices(prompt_, settingsFile_, heldComNumbers(ctx_), this);
    devices.exec();
    if (assignment() != before)
        model_.devicesChanged();
}

void TFormStand::ButtonOkClick()
{
    const SettingsDialogInput input{radioFarbe_->isChecked(),    checkDIEnde_->isChecked(),
                                    checkDISpeichern_->isChecked(), memoIstDauer_->text(),
                                    comboPrint_->currentText(),   comboSteu_->currentText()};
    if (!model_.ButtonOkClick(input)) {
        memoIstDauer_->setFocus();
        memoIstDauer_->selectAll();
        return;
    }
    close();
    model_.tellWhenStandardFolderChanged();
}

void TFormStand::ButtonAbbruchClick()
{
    model_.ButtonAbbruchClick();
    close();
}

void TFormStand::reject()
{
    ButtonAbbruchClick();
}

void TFormStand::closeEvent(QCloseEvent *event)
{
    const bool mayClose = model_.FormCloseQuery(standPicker_->isVisible());
    emit mainViewChanged();
    if (mayClose)
        event->accept();
    else
        event->ignore();
}

void TFormStand::keyPressEvent(QKeyEvent *event)
{
    if (!handleFunctionKey(event))
        QDialog::keyPressEvent(event);
}

bool TFormStand::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == memoIstDauer_) {
        if (event->type() == QEvent::FocusIn) {
            // Entering selects the text; after a mouse click only once the click is done.
            QTimer::singleShot(0, memoIstDauer_, &QLineEdit::selectAll);
        } else if (event->type() == QEvent::FocusOut) {
            // Only a move to another control of this dialog is leaving the
            // field; a message box or another window taking over is not.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                QTimer::singleShot(0, this, &TFormStand::durationExit);
        }
    } else if (event->type() == QEvent::MouseButtonPress) {
        // A click on a read-only folder field goes to its "Ändern" button.
        if (watched == editStandard_)
            changeStandard_->setFocus();
        else if (watched == editSchreiben_)
            changeSchreiben_->setFocus();
        else if (watched == editSim_)
            changeSim_->setFocus();
    }
    return QDialog::eventFilter(watched, event);
}

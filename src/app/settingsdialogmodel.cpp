#include "app/settingsdialogmodel.h"

#include "app/maincontroller.h"
#include "base/inputchecks.h"
#include "base/utilities.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kNone = QStringLiteral("Keine");

QString portText(int index)
{
    return QStringLiteral("COM %1").arg(index + 1);
}

void ensureFolder(QString &folder, const QString &fallback)
{
    if (QFileInfo(folder).isDir())
        return;
    folder = fallback;
    QDir().mkpath(folder);
}
}  // namespace

SettingsDialogModel::SettingsDialogModel(AppContext &ctx, Prompt &prompt, MainController &mainWindow)
    : ctx_(ctx), prompt_(prompt), main_(mainWindow)
{
}

int SettingsDialogModel::portIndexOfText(const QString &text)
{
    for (int i = 0; i < kPorts; ++i)
        if (text == portText(i))
            return i;
    return -1;
}

void SettingsDialogModel::enterPort(int index, PortUse use)
{
    // A settings file may hold any number; only COM 1 … COM 8 have a place.
    if (index >= 0 && index < kPorts)
        table_[index] = use;
}

int SettingsDialogModel::portWith(PortUse use) const
{
    for (int i = 0; i < kPorts; ++i)
        if (table_[i] == use)
            return i;
    return -1;
}

void SettingsDialogModel::FormShow(const QString &workingFolder)
{
    AppSettings &s = ctx_.settings;
    ensureFolder(s.StandardDataDir, defaultDataFolder(workingFolder));
    ensureFolder(s.SimulatorWorkDir, defaultDataFolder(workingFolder));
    ensureFolder(s.ActualRunDir, defaultActualRunFolder(workingFolder));
    shownStandardFolder_ = s.StandardDataDir;
    cancelled_ = false;
    devicesChanged_ = false;
    main_.UpdateCommandState();

    view_.colour = s.PrintInColour != 0;
    table_.fill(PortUse::Free);
    enterPort(s.PrinterPortIndex, PortUse::Printer);
    enterPort(s.ControllerPortIndex, PortUse::Controller);
    fillLists();
    view_.controllerActive = s.ControllerPortIndex >= 0;
    view_.autoEndChecked = view_.controllerActive && s.AutoEndCapture != 0;
    updateDependentControls();
    view_.askSave = s.AskSaveCapture != 0;
    view_.upDownPosition = qBound(kMinMinutes, s.CaptureMinutes, kMaxMinutes);
    view_.durationText = QString::number(view_.upDownPosition);
    foldersChanged();
}

void SettingsDialogModel::foldersChanged()
{
    view_.standardFolder = ctx_.settings.StandardDataDir;
    view_.writeFolder = ctx_.settings.ActualRunDir;
    view_.simulatorFolder = ctx_.settings.SimulatorWorkDir;
}

void SettingsDialogModel::fillLists()
{
    view_.printerItems.clear();
    view_.controllerItems.clear();
    for (int i = 0; i < kPorts; ++i) {
        if (table_[i] != PortUse::Controller)
            view_.printerItems << portText(i);
        if (table_[i] != PortUse::Printer)
            view_.controllerItems << portText(i);
    }
    view_.printerItems << kNone;
    view_.controllerItems << kNone;
    const int printer = portWith(PortUse::Printer);
    const int controller = portWith(PortUse::Controller);
    view_.printerCurrent = view_.printerItems.indexOf(printer >= 0 ? portText(printer) : kNone);
    view_.controllerCurrent = view_.controllerItems.indexOf(controller >= 0 ? portText(controller) : kNone);
}

void SettingsDialogModel::updateDependentControls()
{
    view_.autoEndEnabled = view_.controllerActive;
    if (!view_.controllerActive)
        view_.autoEndChecked = false;
    view_.durationVisible = view_.autoEndChecked && view_.autoEndEnabled;
}

void SettingsDialogModel::CheckBoxVorhandenClick(bool controllerActive, bool autoEnd)
{
    view_.controllerActive = controllerActive;
    view_.autoEndChecked = autoEnd;
    if (!controllerActive) {
        for (PortUse &entry : table_)
            if (entry == PortUse::Controller)
                entry = PortUse::Free;
    } else if (portWith(PortUse::Controller) < 0) {
        enterPort(portWith(PortUse::Free), PortUse::Controller);
    }
    updateDependentControls();
    fillLists();
}

void SettingsDialogModel::ComboBoxCOMChange(Side side, const QString &text)
{
    const PortUse value = side == Side::Printer ? PortUse::Printer : PortUse::Controller;
    for (PortUse &entry : table_)
        if (entry == value)
            entry = PortUse::Free;
    enterPort(portIndexOfText(text), value);
    fillLists();
}

void SettingsDialogModel::ButtonTauschenClick()
{
    for (PortUse &entry : table_) {
        if (entry == PortUse::Printer)
            entry = PortUse::Controller;
        else if (entry == PortUse::Controller)
            entry = PortUse::Printer;
    }
    fillLists();
}

bool SettingsDialogModel::MemoIstDauerExit(const QString &text)
{
    const int minutes = CheckNumberInput(prompt_, text, kMinMinutes, kMaxMinutes);
    if (minutes < 0)
        return false;
    view_.upDownPosition = minutes;
    view_.durationText = text;
    return true;
}

void SettingsDialogModel::UpDownIstDauerClick(int step)
{
    const int span = kMaxMinutes - kMinMinutes + 1;
    view_.upDownPosition = (view_.upDownPosition - kMinMinutes + step % span + span) % span + kMinMinutes;
    view_.durationText = QString::number(view_.upDownPosition);
}

bool SettingsDialogModel::ButtonOkClick(const SettingsDialogInput &input)
{
    // A duration that is no number of minutes is not stored.
    if (!MemoIstDauerExit(input.durationText))
        return false;
    cancelled_ = false;
    AppSettings &s = ctx_.settings;
    s.PrintInColour = input.colour ? 1 : 0;
    s.AutoEndCapture = input.autoEnd ? 1 : 0;
    s.AskSaveCapture = input.askSave ? 1 : 0;
    s.CaptureMinutes = view_.upDownPosition;
    s.PrinterPortIndex = portIndexOfText(input.printerText);
    s.ControllerPortIndex = portIndexOfText(input.controllerText);
    view_.colour = input.colour;
    view_.autoEndChecked = input.autoEnd;
    view_.askSave = input.askSave;
    return true;
}

void SettingsDialogModel::tellWhenStandardFolderChanged()
{
    if (ctx_.settings.StandardDataDir != shownStandardFolder_)
        prompt_.tell(QStringLiteral("Die Programmeinstellungen werden\nbeim nächsten Start übernommen !"),
                     QStringLiteral("Info"), PromptIcon::Information);
}

bool SettingsDialogModel::FormCloseQuery(bool standardPickerOpen)
{
    // "Abbruch" leaves the ports as they are, unless a new device assignment
    // was confirmed in "Schnittstellen zuordnen": that one applies on any close.
    if (cancelled_ && !devicesChanged_)
        return true;
    main_.ReopenPorts();
    if (cancelled_)
        return true;
    // A failing controller port was told by the main window; only a missing
    // printing port makes the dialog stay open with this refusal.
    if (!printerPortUsable(ctx_)) {
        prompt_.tell(QStringLiteral("Es muß mindestens eine Schnittstelle\nzum Drucken eingestellt werden !\n"
                                    "Bitte eine Schnittstelle auswählen !"),
                     QStringLiteral("Fehler"), PromptIcon::Error);
        return false;
    }
    return !standardPickerOpen;
}

void SettingsDialogModel::FormHide()
{
    main_.UpdateCommandState();
}

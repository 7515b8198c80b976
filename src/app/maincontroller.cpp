#include "app/maincontroller.h"

#include "base/appsettings.h"
#include "base/utilities.h"
#include "data/datasetloader.h"
#include "data/defaults.h"
#include "data/installationtexts.h"
#include "data/textfield.h"
#include "link/linkframe.h"
#include "serial/serialline.h"
#include "serial/serialport.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kZugriffsfehler = QStringLiteral("Zugriffsfehler");
const QString kPrinterPortMissing = QStringLiteral(
    "Die gewählte Schnittstelle zum Empfang der Drucker Daten ist nicht vorhanden oder\n"
    "von einer anderen Anwendung belegt. Bitte eine andere Schnittstelle auswählen");
const QString kControllerPortMissing = QStringLiteral(
    "Die gewählte Schnittstelle zum Anschluss der Steuerung ist nicht vorhanden oder\n"
    "von einer anderen Anwendung belegt. Bitte eine andere Schnittstelle auswählen");
const QString kOnlyFixedTime = QStringLiteral(
    "Es kann nur ein Sollausdruck von Programmen\n"
    "mit der Betriebsart Festzeit und Festzeit mit VA\n"
    "gemacht werden.\n"
    "Die geladenen Daten werden gelöscht !");
const QString kDashes = QStringLiteral("-----------");

void configure(SerialPort &port, int portIndex, int baud, int stopBits)
{
    port.selectCom(portIndex + 1);
    configureLine(port, baud, stopBits);
}
}  // namespace

MainController::MainController(AppContext &ctx, SettingsStore &registry, Prompt &prompt,
                               MainWindowHost &host, SerialPort &controllerPort,
                               SerialPort &printerPort)
    : ctx_(ctx), registry_(registry), prompt_(prompt), host_(host),
      controllerPort_(controllerPort), printerPort_(printerPort), portsFamily_(ctx.ControllerFamily)
{
}

void MainController::createMainWindow()
{
    // An empty folder value would leave the program half set up and falls
    // back to the default folder; either that or a folder that cannot be
    // created now is said once.
    const QString notice = ensureWorkingFolders(ctx_.settings, ctx_.StartupDir);
    if (!notice.isEmpty())
        prompt_.tell(notice, kZugriffsfehler, PromptIcon::Warning);
    ctx_.CurrentDataDir = ctx_.settings.StandardDataDir;
    ctx_.LastDataDir = ctx_.settings.StandardDataDir;
    ctx_.settings.GroupNamesDir = ctx_.settings.StandardDataDir;
}

void MainController::initTick(const QDateTime &now)
{
    view_.statusPanels[0] = now.toString(QStringLiteral("dd.MM.yyyy"));
    view_.statusPanels[1] = now.toString(QStringLiteral("HH:mm:ss"));
    if (!ctx_.StartupDone) {
        resetToDefaults(ctx_.data, {false, uint32_t(ctx_.settings.DefaultInstallationType)}, true);
        Refresh();
        ctx_.StartupDone = true;
    }
}

void MainController::Refresh()
{
    RefreshDisplay();
    saveSettings();
    // A port message then covers a window that already shows the stored
    // settings (at start-up, the first one shown at all).
    UpdateCommandState();
    UpdatePortPanels();
    openPorts();
    UpdateCommandState();
    UpdatePortPanels();
}

void MainController::RefreshDisplay()
{
    const InstallationHeader &h = ctx_.data.Header;
    const uint32_t type = ctx_.data.Konf.InstallationType;

    view_.LabelAnlage = installationTypeText(type, view_.LabelAnlage);
    view_.LabelBetrArt = operatingModeText(h);
    view_.LabelGrpZahl = QString::number(h.GroupCount);
    view_.LabelStandort1 = fieldText(h.LocationLine1);
    view_.LabelStandort2 = fieldText(h.LocationLine2);
    view_.LabelAuftrag = fieldText(h.Customer);
    ctx_.ControllerFamily = ControllerFamilyOf(ctx_.data);

    view_.MDSollVisible = h.FixedTimeMode != 0;
    for (int n = 0; n < kProgramCount; ++n) {
        view_.programMenuVisible[n] = h.ProgramReleased[n] != 0;
        view_.PFrei[n] = h.ProgramReleased[n] != 0;
    }
    view_.MHilfeVisible = !findHelpFile(ctx_.StartupDir, ctx_.ProgramDir).isEmpty();
    view_.AktDatei = ShortenPath(ctx_.CurrentDataDir,
                                 [this](const QString &t) { return host_.textWidth(t); });
    if (ctx_.DataIsNew) {
        view_.caption = QStringLiteral("Signovat - Neu");
    } else {
        ctx_.InstallationName = InstallationNameOf(ctx_.CurrentDataDir);
        view_.caption = QStringLiteral("Signovat - ") + ctx_.InstallationName;
    }
    view_.LabelNotProg = emergencyProgramText(h.EmergencyProgram, view_.LabelNotProg);
}

void MainController::saveSettings()
{
    SaveSettings(registry_, ctx_.settings);
}

void MainController::openPorts()
{
    if (ctx_.ControllerFamily != portsFamily_) {
        portsFamily_ = ctx_.ControllerFamily;
        controllerPort_.close();
        printerPort_.close();
        ctx_.ports.ControllerPortReopen = true;
        ctx_.ports.PrinterPortReopen = true;
    }
    PortFlags &p = ctx_.ports;
    openPort(printerPort_, ctx_.settings.PrinterPortIndex, p.PrinterPortReopen, p.PrinterPortFailed,
             1200, 1, kPrinterPortMissing, printerReport_);
    openPort(controllerPort_, ctx_.settings.ControllerPortIndex, p.ControllerPortReopen,
             p.ControllerPortFailed, kControllerLineBaud, kControllerLineStopBits, kControllerPortMissing,
             controllerReport_);
}

void MainController::openPort(SerialPort &port, int index, bool &reopen, bool &failed, int baud,
                              int stopBits, const QString &missingMessage, PortReport &report)
{
    if (index < 0) {
        reopen = false;
        failed = true;
        report = {};
    }
    if (!reopen)
        return;
    reopen = false;
    port.close();
    configure(port, index, baud, stopBits);
    failed = false;
    if (port.open()) {
        report = {};
        return;
    }
    report.problem = port.problem();
    // Every refresh and every close of the settings reopens the ports: an
    // adapter that stays unplugged is told once, not at each of them.
    if (report.shown != report.problem) {
        report.shown = report.problem;
        prompt_.tell(withPortHelp(missingMessage, report.problem), kZugriffsfehler);
    }
    failed = true;
}

void MainController::ReopenPorts()
{
    controllerPort_.close();
    printerPort_.close();
    ctx_.ports.ControllerPortReopen = true;
    ctx_.ports.PrinterPortReopen = true;
    Refresh();
}

void MainController::UpdateCommandState()
{
    const bool busy = host_.groupNamesEditorVisible() || host_.settingsDialogVisible()
                      || host_.previewWindowExists();
    const bool printerUsable = printerPortUsable(ctx_);
    view_.notBusy = !busy;
    view_.MDIstKVXEnabled = !busy && printerUsable;
    view_.MDIstQSWEnabled = !busy && printerUsable;
    view_.MDAusSEnabled = ctx_.ControllerFamily == ControllerFamily::Kvx;
    view_.kvx40Selected = ctx_.settings.ProtocolVariant == ProtocolVariant::Kvx40;
    // Focusing the selected radio button runs its enter handler, which
    // stores that button's own value.
    if (!view_.kvx40Selected)
        ctx_.settings.ProtocolVariant = ProtocolVariant::Plain;
    view_.versionItem = ctx_.settings.ChecksumSeed;
}

void MainController::UpdatePortPanels()
{
    const AppSettings &s = ctx_.settings;
    view_.statusPanels[2] = QStringLiteral("Drucker: ")
                            + (ctx_.ports.PrinterPortFailed ? kDashes
                                                            : QStringLiteral("COM %1").arg(s.PrinterPortIndex + 1));
    view_.statusPanels[3] = QStringLiteral("Steuerung: ")
                            + (ctx_.ports.ControllerPortFailed
                                   ? kDashes
                                   : QStringLiteral("COM %1").arg(s.ControllerPortIndex + 1));
    UpdateTypeControls();
}

void MainController::UpdateTypeControls()
{
    view_.versionVisible = view_.kvx40Selected;
    view_.typeControlsEnabled = !ctx_.ports.ControllerPortFailed;
    // The radio buttons pick which capture commands apply; all of them need
    // the printing port, as "QSW 2000 / 2200" does.
    const bool printerUsable = printerPortUsable(ctx_);
    view_.MDIstKVXEnabled = view_.notBusy && printerUsable && !view_.kvx40Selected;
    view_.MDIstKVX40Enabled = view_.notBusy && printerUsable && view_.kvx40Selected;
    view_.captureToolTip = printerUsable
                               ? QString()
                               : QStringLiteral("Keine nutzbare Schnittstelle zum Drucken.\n")
                                     + portProblemHelp(printerReport_.problem);
}

void MainController::RadioButtonKVX40Enter()
{
    ctx_.settings.ProtocolVariant = ProtocolVariant::Kvx40;
    view_.kvx40Selected = true;
    UpdateTypeControls();
}

void MainController::RadioButtonKVXEnter()
{
    ctx_.settings.ProtocolVariant = ProtocolVariant::Plain;
    view_.kvx40Selected = false;
    UpdateTypeControls();
}

void MainController::ComboBoxVersionChange(int item)
{
    ctx_.settings.ChecksumSeed = item;
    view_.versionItem = item;
}

void MainController::FormClose()
{
    SaveInterfaceSelection(registry_, ctx_.settings);
}

void MainController::ResetForActualRun(bool askGroupNames)
{
    if (!ctx_.DataIsNew)
        ctx_.PlanToCompare = ctx_.data;
    ResetToNewProgram(askGroupNames);
}

void MainController::ResetToNewProgram(bool askGroupNames)
{
    const bool clearGroupNames = !askGroupNames
                                 || prompt_.ask(QStringLiteral("Gruppenbezeichnungen löschen ?"),
                                                QStringLiteral("Bitte angeben"), PromptIcon::Question,
                                                PromptButtons::YesNo)
                                        == PromptAnswer::Yes;
    ctx_.InstallationName.clear();
    resetToDefaults(ctx_.data, {ctx_.StartupDone, uint32_t(ctx_.settings.DefaultInstallationType)},
                    clearGroupNames);
    ctx_.DataIsNew = true;
    ctx_.data.Konf.InstallationType = TypeKvx;
    ctx_.data.Header.GroupCount = kGroupCount;
    ctx_.CurrentDataDir = ctx_.settings.StandardDataDir;
    ctx_.LastDataDir = ctx_.settings.StandardDataDir;
    Refresh();
}

void MainController::NeuesProgrammClick()
{
    if (prompt_.ask(QStringLiteral("Alle Daten werden auf\nStandardwerte gesetzt."),
                    QStringLiteral("Bitte bestätigen"), PromptIcon::Question,
                    PromptButtons::OkCancel)
        == PromptAnswer::Ok) {
        ctx_.PlanToCompare.reset();
        ResetToNewProgram(false);
    }
}

QStringList MainController::loadDataFolder(const QString &folder)
{
    ctx_.LastDataDir = folder;
    ctx_.CurrentDataDir = folder;
    return loadDataSet(ctx_.data, ctx_.CurrentDataDir,
                       {ctx_.StartupDone, uint32_t(ctx_.settings.DefaultInstallationType)});
}

void MainController::DatenLadenClick()
{
    const QString savedWorkDir = QDir::currentPath();
    const QString startDir = QFileInfo(ctx_.LastDataDir).isDir() ? ctx_.LastDataDir
                                                                 : ctx_.settings.StandardDataDir;
    QString chosen = startDir;
    const bool ok = host_.pickDataFolder(startDir, &chosen);
    rememberPickedFolder(chosen);
    QDir::setCurrent(savedWorkDir);

    if (ok) {
        loadChosenFolder(chosen);
    } else {
        ctx_.CurrentDataDir = chosen;
        rejectUnlessFixedTime();
    }
}

void MainController::OpenDataFolder(const QString &folder)
{
    rememberPickedFolder(folder);
    loadChosenFolder(folder);
}

void MainController::rememberPickedFolder(const QString &folder)
{
    ctx_.LastDataDir = folder;
    registry_.WriteString(kSectionStrings, QStringLiteral("Verzeichnis"), folder);
    registry_.sync();
}

void MainController::loadChosenFolder(const QString &folder)
{
    // Refused before the reset: a folder without data must not cost the data
    // already loaded, nor pass for a new installation named after it.
    const QString refusal = noDataSetRefusal(folder);
    if (!refusal.isEmpty()) {
        prompt_.tell(refusal, QStringLiteral("Fehler"), PromptIcon::Error);
        return;
    }
    ResetToNewProgram(false);
    const QStringList report = loadDataFolder(folder);
    if (host_.showLoadReport(report))
        ctx_.DataIsNew = false;
    Refresh();
    rejectUnlessFixedTime();
    if (!ctx_.DataIsNew)  // loaded and kept
        recentFolders_.add(folder);
}

void MainController::rejectUnlessFixedTime()
{
    if (ctx_.data.Header.FixedTimeMode)
        return;
    prompt_.tell(kOnlyFixedTime, QStringLiteral("Fehler"), PromptIcon::Error);
    ResetToNewProgram(false);
    Refresh();
}

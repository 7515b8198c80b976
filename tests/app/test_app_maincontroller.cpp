// The main window's decisions (start-up, ports, labels, menus, loading, IO tick) and "Programmeinstellungen".

#include "app/controllerpolling.h"
#include "app/maincontroller.h"
#include "app/settingsdialogmodel.h"
#include "base/appsettings.h"
#include "data/textfield.h"
#include "link/controllerlink.h"
#include "link/steppedanswertimer.h"
#include "qtprinters.h"
#include "scriptedprompt.h"
#include "serial/fakeserialport.h"
#include "tempdir.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

const QString kPrinterMissing = QStringLiteral(
    "Die gewählte Schnittstelle zum Empfang der Drucker Daten ist nicht vorhanden oder\n"
    "von einer anderen Anwendung belegt. Bitte eine andere Schnittstelle auswählen");
const QString kControllerMissing = QStringLiteral(
    "Die gewählte Schnittstelle zum Anschluss der Steuerung ist nicht vorhanden oder\n"
    "von einer anderen Anwendung belegt. Bitte eine andere Schnittstelle auswählen");
const QString kInUse = QStringLiteral("Das Gerät ist von einem anderen Programm belegt.");

// A port message: the first lines as they always were, then the COM number, the device and what to do.
static QString told(const QString &first, int com, const QString &cause, const QString &device = "/dev/ttyFAKE")
{
    return QString("%1\n\nCOM %2 = %3\n%4\nÄndern: Programmeinstellungen → Schnittstellen zuordnen")
        .arg(first).arg(com).arg(device, cause);
}

struct FakeHost : MainWindowHost {
    bool editorVisible = false, settingsVisible = false, previewExists = false, pickOk = true;
    QString pickFolder;
    QStringList report;

    bool groupNamesEditorVisible() const override { return editorVisible; }
    bool settingsDialogVisible() const override { return settingsVisible; }
    bool previewWindowExists() const override { return previewExists; }
    int textWidth(const QString &text) const override { return int(text.size()) * 6; }
    bool pickDataFolder(const QString &, QString *chosen) override { *chosen = pickFolder; return pickOk; }
    bool showLoadReport(const QStringList &lines) override { report = lines; return true; }
};

struct MainControllerTest : ::testing::Test {
    QTemporaryDir tmp;
    AppContext ctx;
    std::unique_ptr<SettingsStore> registry;
    ScriptedPrompt prompt;
    FakeHost host;
    FakeSerialPort controllerPort, printerPort;
    std::unique_ptr<MainController> mc;

    // Starts on the given ports, with storedType as the stored default installation type.
    void start(int controllerIndex = -1, int printerIndex = 0, int storedType = 0)
    {
        ctx.StartupDir = tmp.path();
        registry = std::make_unique<SettingsStore>(tmp.filePath("store.ini"));
        registry->WriteInteger("SecInt", "VERSION", 210);
        registry->WriteInteger("SecInt", "ANLAGE_NR", storedType);
        ctx.settings = LoadSettings(*registry, nullptr, ctx.StartupDir);
        ctx.settings.ControllerPortIndex = controllerIndex;
        ctx.settings.PrinterPortIndex = printerIndex;
        mc = std::make_unique<MainController>(ctx, *registry, prompt, host, controllerPort, printerPort);
        mc->createMainWindow();
        mc->initTick(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
    }
    QString stored(const QString &key) const { return registry->ReadString(key.section('/', 0, 0), key.section('/', 1), {}); }
    const MainView &v() const { return mc->view(); }
    QStringList labels() const { return {v().caption, v().LabelAnlage, v().LabelBetrArt, v().LabelGrpZahl, v().LabelNotProg}; }
    QStringList panels() const { return {v().statusPanels.begin(), v().statusPanels.end() - 1}; }
    static QList<int> line(const FakeSerialPort &p)
    {
        return {p.isOpen(), p.comNumber(), p.baudRate, p.parity == SerialPort::Parity::Even, p.stopBits};
    }
    // A data folder whose ALL.DAT holds 8 groups, programs 1 and 2 and emergency program 8.
    QString dataFolder(const QString &name, uint8_t fixedTime)
    {
        QByteArray all(123, ' ');
        putLe32(all, 0, 8);
        all.replace(5, 20, "Hauptstr. / Schulweg");
        all.replace(103, 16, QByteArray(1, char(fixedTime)) + QByteArray(9, '\0') + QByteArray("\1\1\0\0\0\0", 6));
        putLe32(all, 119, 8);
        QDir().mkpath(tmp.filePath(name));
        EXPECT_TRUE(writeBytes(tmp.filePath(name + "/ALL.DAT"), all));
        return tmp.filePath(name);
    }
};

TEST_F(MainControllerTest, FirstTickTakesTheStoredTypeOpensBothPortsAndFillsTheView)
{
    start(2, 1, 2);
    EXPECT_EQ(labels(), (QStringList{"Signovat - Neu", "QSW 2000 / 2200 Kabel", "Festzeit mit VA", "12", "Programm 1"}));
    EXPECT_EQ(panels(), (QStringList{"04.03.2026", "05:06:07", "Drucker: COM 2", "Steuerung: COM 3"}));
    EXPECT_EQ(line(printerPort) + line(controllerPort), (QList<int>{true, 2, 1200, true, 1, true, 3, 9600, true, 2}));
    EXPECT_TRUE(prompt.asked.empty() && v().typeControlsEnabled);
    EXPECT_EQ(stored("SecStrings/GRP_VERZ"), ctx.settings.StandardDataDir);  // the first refresh wrote the set

    // Later ticks only move the clock.
    ctx.data.Header.GroupCount = 3;
    mc->initTick(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 8)));
    EXPECT_EQ(v().statusPanels[1] + " " + v().LabelGrpZahl, "05:06:08 12");
    EXPECT_EQ(ctx.data.Header.GroupCount, 3u);
}

TEST_F(MainControllerTest, PortsThatCannotBeOpenedAreReportedOnceAndMarkedFailed)
{
    printerPort.failOpen = controllerPort.failOpen = true;
    start(0, 1);
    EXPECT_EQ(prompt.texts(), (QStringList{told(kPrinterMissing, 2, kInUse), told(kControllerMissing, 1, kInUse)}));
    EXPECT_EQ(prompt.asked[1].caption, "Zugriffsfehler");
    EXPECT_EQ(panels().mid(2), (QStringList{"Drucker: -----------", "Steuerung: -----------"}));
    EXPECT_FALSE(v().MDIstQSWEnabled || v().MDIstKVX40Enabled || v().typeControlsEnabled);

    // The same error again is not told again; another cause is.
    mc->ReopenPorts();
    controllerPort.failFault = PortFault::Missing;
    mc->ReopenPorts();
    EXPECT_EQ(prompt.texts().mid(2), QStringList{told(kControllerMissing, 1, "Das Gerät ist nicht vorhanden. "
                                                                              "Ist der Adapter eingesteckt?")});

    // Not tried again until a reopen is asked for; a success in between tells a failure anew.
    printerPort.failOpen = false;
    mc->Refresh();
    EXPECT_EQ(panels()[2], "Drucker: -----------");
    ctx.ports.PrinterPortReopen = true;
    mc->Refresh();
    EXPECT_EQ(panels()[2], "Drucker: COM 2");
    printerPort.failOpen = true;
    ctx.ports.PrinterPortReopen = true;
    mc->Refresh();
    EXPECT_EQ(prompt.texts().mid(3), QStringList{told(kPrinterMissing, 2, kInUse)});
}

TEST_F(MainControllerTest, APortMessageNamesTheComNumberTheDeviceTheCauseAndWhereToChangeIt)
{
    start(-1, 2);
    const struct {
        PortFault fault;
        QString device, hint;
    } causes[] = {
        {PortFault::Missing, "/dev/serial/by-id/usb-FTDI-if00", "Das Gerät ist nicht vorhanden. Ist der Adapter eingesteckt?"},
        {PortFault::NoPermission, "/dev/ttyUSB0", "Keine Berechtigung: das Gerät gehört der Gruppe uucp.\n"
                                                  "Benutzer zur Gruppe uucp hinzufügen und neu anmelden."},
        {PortFault::InUse, "/dev/ttyS2", kInUse},
        {PortFault::NotSerial, "/home/technik/notiz.txt", "/home/technik/notiz.txt ist keine serielle Schnittstelle."},
    };
    printerPort.failOpen = true;
    printerPort.group = "uucp";
    for (const auto &c : causes) {
        prompt.asked.clear();
        printerPort.failFault = c.fault;
        printerPort.device = c.device;
        ctx.ports.PrinterPortReopen = true;
        mc->Refresh();
        EXPECT_EQ(prompt.texts(), QStringList{told(kPrinterMissing, 3, c.hint, c.device)});
    }
}

TEST_F(MainControllerTest, ChangingControllerFamilyReopensBothPorts)
{
    start(1, 0);
    EXPECT_TRUE(v().MDAusSEnabled);
    controllerPort.failOpen = true;  // shows that a reopen was tried
    ctx.data.Konf.InstallationType = TypeKvx40;
    mc->Refresh();
    EXPECT_FALSE(v().MDAusSEnabled);
    EXPECT_EQ(prompt.texts(), QStringList{told(kControllerMissing, 2, kInUse)});
    ctx.data.Konf.InstallationType = 0xFFFFFFFFu;  // a negative type belongs with type 0
    mc->Refresh();
    EXPECT_TRUE(v().MDAusSEnabled);
}

TEST_F(MainControllerTest, MenusFollowReleasedProgramsAndOperatingMode)
{
    start();
    EXPECT_EQ(std::pair(panels()[3], v().typeControlsEnabled), std::pair(QString("Steuerung: -----------"), false));
    ctx.data.Header.ProgramReleased = {1, 0, 1, 0, 0, 1};
    ctx.data.Header.EmergencyProgram = 7;
    mc->RefreshDisplay();
    EXPECT_TRUE(v().MDSollVisible && v().PFrei == v().programMenuVisible);
    EXPECT_EQ(v().programMenuVisible, (std::array<bool, 6>{true, false, true, false, false, true}));
    EXPECT_EQ(v().LabelNotProg, "Dunkel");

    ctx.data.Header.FixedTimeMode = 0;
    ctx.data.Header.EmergencyProgram = 9;  // no text of its own: the label stays
    mc->RefreshDisplay();
    EXPECT_FALSE(v().MDSollVisible);
    EXPECT_EQ(labels().mid(2), (QStringList{"VA Betrieb", "24", "Dunkel"}));
}

TEST_F(MainControllerTest, AnyOtherWindowMakesTheMainWindowBusy)
{
    start();
    for (bool *shown : {&host.editorVisible, &host.settingsVisible, &host.previewExists}) {
        *shown = true;
        mc->UpdateCommandState();
        EXPECT_FALSE(v().notBusy || v().MDIstQSWEnabled);
        *shown = false;
    }
    mc->UpdateCommandState();
    EXPECT_TRUE(v().notBusy && v().MDIstQSWEnabled);
}

TEST_F(MainControllerTest, InterfaceSelectionFollowsProtocolVariantAndIsSavedOnClose)
{
    start();
    EXPECT_TRUE(v().kvx40Selected && v().MDIstKVX40Enabled && !v().MDIstKVXEnabled);
    ctx.settings.ProtocolVariant = ProtocolVariant::Plain;
    mc->Refresh();
    EXPECT_TRUE(!v().kvx40Selected && !v().versionVisible && !v().MDIstKVX40Enabled && v().MDIstKVXEnabled);
    mc->RadioButtonKVX40Enter();
    mc->ComboBoxVersionChange(1);
    mc->FormClose();
    EXPECT_EQ(stored("SecInt/ANLAGENTYP") + stored("SecInt/KVX40_VERS"), "31");
}

TEST_F(MainControllerTest, LoadingAFolderShowsTheInstallationAndRejectsDataThatAreNotFixedTime)
{
    start();
    host.pickFolder = dataFolder("Kreuzung", 1);
    mc->DatenLadenClick();
    EXPECT_EQ(labels() << v().LabelStandort1 << ctx.InstallationName,
              (QStringList{"Signovat - Kreuzung", "KVX ...", "Festzeit mit VA", "8", "Blinken", "Hauptstr. / Schulweg",
                           "Kreuzung"}));
    EXPECT_EQ((QStringList{v().AktDatei, stored("SecStrings/Verzeichnis")}), (QStringList{host.pickFolder, host.pickFolder}));
    EXPECT_EQ(host.report.first(), "Lese Daten aus: " + host.pickFolder);
    EXPECT_TRUE(prompt.asked.empty());
    mc->ResetForActualRun(false);  // an "Ist" command: the loaded data stay the plan to compare with
    mc->ResetForActualRun(false);
    EXPECT_EQ(std::pair(ctx.PlanToCompare->Header.GroupCount, ctx.data.Header.GroupCount), std::pair(8u, 24u));

    mc->OpenDataFolder(dataFolder("VA", 0));  // from "Zuletzt verwendet": refused, so not listed
    ASSERT_EQ(prompt.texts(), QStringList{"Es kann nur ein Sollausdruck von Programmen\nmit der Betriebsart Festzeit "
                                          "und Festzeit mit VA\ngemacht werden.\nDie geladenen Daten werden gelöscht !"});
    EXPECT_EQ(std::pair(prompt.asked[0].caption, prompt.asked[0].icon), std::pair(QString("Fehler"), PromptIcon::Error));
    EXPECT_EQ(labels().mid(0, 4), (QStringList{"Signovat - Neu", "KVX ...", "Festzeit mit VA", "24"}));
    EXPECT_EQ(std::pair(mc->recentFolders().entries(), stored("SecStrings/Verzeichnis")),
              std::pair(QStringList{host.pickFolder}, dataFolder("VA", 0)));
}

TEST_F(MainControllerTest, AFolderWithoutDataFilesIsRefusedAndTheLoadedDataStay)
{
    start();
    host.pickFolder = dataFolder("Kreuzung", 1);
    mc->DatenLadenClick();
    const QStringList shown = labels() << v().AktDatei << ctx.InstallationName << ctx.CurrentDataDir;
    host.report.clear();
    QDir().mkpath(host.pickFolder = tmp.filePath("leer"));
    mc->DatenLadenClick();
    ASSERT_EQ(prompt.texts(), QStringList{"Im Verzeichnis " + host.pickFolder + " wurden keine Anlagendaten gefunden."});
    EXPECT_EQ(std::pair(prompt.asked[0].caption, prompt.asked[0].icon), std::pair(QString("Fehler"), PromptIcon::Error));
    mc->RefreshDisplay();
    EXPECT_EQ(labels() << v().AktDatei << ctx.InstallationName << ctx.CurrentDataDir, shown);
    EXPECT_TRUE(host.report.isEmpty() && ctx.LastDataDir == host.pickFolder);  // remembered as after a cancelled pick
}

TEST_F(MainControllerTest, CancelledPickerKeepsTheDataButRemembersTheFolder)
{
    start(-1, 0, 2);
    host.pickOk = false;
    host.pickFolder = tmp.filePath("anderswo");
    mc->DatenLadenClick();
    EXPECT_EQ((QStringList{ctx.LastDataDir, ctx.CurrentDataDir}), (QStringList{host.pickFolder, host.pickFolder}));
    EXPECT_TRUE(ctx.data.Header.GroupCount == 12 && host.report.isEmpty());
}

TEST_F(MainControllerTest, ResettingToANewProgramAsksFirst)
{
    start(-1, 0, 2);
    textToField(QStringLiteral("Nord"), ctx.data.GroupNames[0]);
    ctx.PlanToCompare = ctx.data;
    prompt.answers = {PromptAnswer::Cancel, PromptAnswer::No};
    mc->NeuesProgrammClick();
    EXPECT_EQ(ctx.data.Header.GroupCount, 12u);
    mc->ResetToNewProgram(true);  // a new run: No keeps the group names
    EXPECT_EQ(std::tuple(GroupNameText(ctx.data, 0), ctx.data.Konf.InstallationType, ctx.data.Header.GroupCount),
              std::tuple(QString("Nord"), 0u, 24u));
    mc->NeuesProgrammClick();  // Ok: the names go without a question, and the plan to compare with
    EXPECT_EQ(std::pair(GroupNameText(ctx.data, 0), ctx.PlanToCompare.has_value()), std::pair(QString(""), false));
    const QString newProgram = "Alle Daten werden auf\nStandardwerte gesetzt.";
    ASSERT_EQ(prompt.texts(), (QStringList{newProgram, "Gruppenbezeichnungen löschen ?", newProgram}));
    EXPECT_EQ(std::tuple(prompt.asked[0].caption, prompt.asked[1].caption, prompt.asked[0].buttons, prompt.asked[1].buttons),
              std::tuple(QString("Bitte bestätigen"), QString("Bitte angeben"), PromptButtons::OkCancel, PromptButtons::YesNo));
}

// The IO tick: an unanswered print command is reported once, and only when the capture asked for the output.
struct PollingTest : MainControllerTest {
    SteppedAnswerTimer timer;
    ControllerLink link{controllerPort, timer};
    ControllerPolling polling{ctx, link, controllerPort, printerPort};

    void SetUp() override
    {
        controllerPort.open();
        printerPort.open();
        ctx.ControllerFamily = ControllerFamily::Kvx;
        ctx.StartRequest.waitForData();
    }
    // Ticks every 10 ms for two seconds, long past the command's end; the messages the ticks returned.
    std::vector<Message> runOut()
    {
        std::vector<Message> told;
        for (int t = 0; t < 200; ++t, timer.advance(10))
            if (std::optional<Message> m = polling.IOTimer())
                told.push_back(*m);
        return told;
    }
};

TEST_F(PollingTest, AnUnansweredStartRequestIsReportedOnceAStopRequestNot)
{
    ctx.StartRequest.startRequested();
    link.RequestPrint(2, 0, 0);
    const std::vector<Message> told = runOut();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].text,
              "Keine Verbindung zur Steuerung !\nDruckbefehl nicht ausgeführt.\nBitte Anlagentyp, Verbindung,\n"
              "ggf. die Versionseinstellung und\ndie Baudrateneinstellung prüfen !");
    EXPECT_EQ(std::pair(told[0].caption, told[0].icon), std::pair(QString("Fehler"), PromptIcon::Error));
    EXPECT_FALSE(ctx.StartRequest.startRequestPending() || ctx.StartRequest.waitingForData());

    ctx.StartRequest.waitForData();
    link.RequestPrint(3, 0, 0);
    EXPECT_TRUE(runOut().empty() && !ctx.StartRequest.waitingForData());
}

TEST_F(PollingTest, LinkFollowsTheCurrentSettingsAndFallsBackToThePrinterPort)
{
    ctx.settings.ProtocolVariant = ProtocolVariant::Plain;
    ctx.settings.ChecksumSeed = 1;
    ctx.ControllerFamily = ControllerFamily::Other;
    ctx.ports.ControllerPortFailed = true;
    link.RequestPrint(2, 0, 0);
    polling.IOTimer();
    EXPECT_EQ(std::tuple(link.protocolVariant(), int(link.checksumSeed()), link.controllerFamily()),
              std::tuple(ProtocolVariant::Plain, 1, ControllerFamily::Other));
    EXPECT_TRUE(controllerPort.written.isEmpty() && printerPort.written.contains(char(127)));  // a plain frame: class 127
}

// "Programmeinstellungen" on the controller started without a controller port.
struct SettingsDialogTest : MainControllerTest {
    std::unique_ptr<SettingsDialogModel> model;

    void SetUp() override
    {
        start();
        model = std::make_unique<SettingsDialogModel>(ctx, prompt, *mc);
    }
    void show(int printer, int controller)
    {
        ctx.settings.PrinterPortIndex = printer;
        ctx.settings.ControllerPortIndex = controller;
        model->FormShow(tmp.path());
    }
    const SettingsDialogView &d() const { return model->view(); }
    QString choices() const
    {
        return d().printerItems.value(d().printerCurrent) + "/" + d().controllerItems.value(d().controllerCurrent);
    }
    // Ok with the shown ports and the given duration, then the close query; whether the dialog may close.
    bool okAndClose(const QString &duration = "20")
    {
        const QStringList ports = choices().split('/');
        EXPECT_TRUE(model->ButtonOkClick({false, d().autoEndChecked, false, duration, ports[0], ports[1]}));
        return model->FormCloseQuery(false);
    }
    static QStringList portsBut(int taken)
    {
        QStringList out;
        for (int n = 1; n <= 8; ++n)
            out << QString("COM %1").arg(n);
        out.removeOne(QString("COM %1").arg(taken));
        return out << "Keine";
    }
};

TEST_F(SettingsDialogTest, APortTakenByOneSideIsNotOfferedToTheOther)
{
    show(1, 0);
    EXPECT_EQ(std::pair(d().printerItems, d().controllerItems), std::pair(portsBut(1), portsBut(2)));
    EXPECT_EQ(choices(), "COM 2/COM 1");
    model->ComboBoxCOMChange(SettingsDialogModel::Side::Printer, "COM 4");
    EXPECT_EQ(d().controllerItems, portsBut(4));
    model->ButtonTauschenClick();
    EXPECT_EQ(std::pair(choices(), d().printerItems), std::pair(QString("COM 1/COM 4"), portsBut(4)));
    model->ComboBoxCOMChange(SettingsDialogModel::Side::Printer, "Keine");
    EXPECT_EQ(std::pair(choices(), d().controllerItems), std::pair(QString("Keine/COM 4"), portsBut(0)));

    // Numbers no list can show are not entered anywhere.
    show(12, -7);
    EXPECT_EQ(std::pair(choices(), d().printerItems), std::pair(QString("Keine/Keine"), portsBut(0)));
    EXPECT_EQ(std::pair(SettingsDialogModel::portIndexOfText("COM 8"), SettingsDialogModel::portIndexOfText("COM 9")),
              std::pair(7, -1));
}

TEST_F(SettingsDialogTest, TheControllerCheckBoxTakesTheLowestFreePortAndGivesItBack)
{
    ctx.settings.AutoEndCapture = 1;
    show(0, -1);
    EXPECT_FALSE(d().controllerActive || d().autoEndChecked || d().autoEndEnabled || d().durationVisible);
    model->CheckBoxVorhandenClick(true, false);
    EXPECT_EQ(choices(), "COM 1/COM 2");
    EXPECT_TRUE(d().autoEndEnabled && !d().durationVisible);
    model->CheckBoxVorhandenClick(true, true);
    EXPECT_TRUE(d().durationVisible && choices() == "COM 1/COM 2");
    model->CheckBoxVorhandenClick(false, true);
    EXPECT_EQ(choices(), "COM 1/Keine");
    EXPECT_FALSE(d().autoEndChecked || d().autoEndEnabled || d().durationVisible);
    show(-1, -1);
    model->CheckBoxVorhandenClick(true, false);
    EXPECT_EQ(choices(), "Keine/COM 1");
}

TEST_F(SettingsDialogTest, TheDurationIsOneToTwentyMinutesAndTheUpDownControlWraps)
{
    show(0, 1);
    for (const char *bad : {"0", "21", ""})
        EXPECT_FALSE(model->MemoIstDauerExit(bad)) << bad;
    EXPECT_EQ(prompt.texts(), (QStringList{"Eingabe muß 1 bis 20 sein", "Eingabe muß 1 bis 20 sein", "Eingabe fehlt."}));
    EXPECT_TRUE(model->MemoIstDauerExit("07") && d().upDownPosition == 7);
    EXPECT_TRUE(model->MemoIstDauerExit("20"));
    model->UpDownIstDauerClick(+1);
    EXPECT_EQ(d().durationText, "1");
    model->UpDownIstDauerClick(-1);
    EXPECT_EQ(d().durationText, "20");
}

TEST_F(SettingsDialogTest, OkStoresTheValuesAndTheNextStartReadsThem)
{
    show(0, -1);
    model->CheckBoxVorhandenClick(true, true);
    EXPECT_FALSE(model->ButtonOkClick({false, true, false, "x", "COM 1", "COM 2"}));  // stores nothing
    EXPECT_EQ(ctx.settings.ControllerPortIndex, -1);
    EXPECT_TRUE(okAndClose("5"));
    EXPECT_EQ(line(controllerPort).mid(0, 2), (QList<int>{true, 2}));
    const AppSettings s = LoadSettings(SettingsStore(tmp.filePath("store.ini")), nullptr, tmp.path());
    EXPECT_EQ((QList<int>{s.ControllerPortIndex, s.CaptureMinutes, s.PrintInColour, s.AskSaveCapture, s.AutoEndCapture}),
              (QList<int>{1, 5, 0, 0, 1}));
}

TEST_F(SettingsDialogTest, ClosingWithoutAUsablePrintingPortIsRefused)
{
    show(0, -1);
    model->ComboBoxCOMChange(SettingsDialogModel::Side::Printer, "Keine");
    EXPECT_FALSE(okAndClose());
    ASSERT_EQ(prompt.texts(), QStringList{"Es muß mindestens eine Schnittstelle\nzum Drucken eingestellt werden !\n"
                                          "Bitte eine Schnittstelle auswählen !"});
    EXPECT_EQ(std::pair(prompt.asked[0].caption, prompt.asked[0].icon), std::pair(QString("Fehler"), PromptIcon::Error));

    // A port that cannot be opened: told by the main window, then refused.
    printerPort.failOpen = true;
    model->ComboBoxCOMChange(SettingsDialogModel::Side::Printer, "COM 3");
    EXPECT_FALSE(okAndClose());
    EXPECT_EQ(prompt.texts().mid(1), (QStringList{told(kPrinterMissing, 3, kInUse), prompt.asked[0].text}));

    // With the printing port usable, a failing controller port is told but does not keep the dialog open.
    printerPort.failOpen = false;
    controllerPort.failOpen = true;
    model->CheckBoxVorhandenClick(true, false);
    EXPECT_TRUE(okAndClose());
    EXPECT_EQ(prompt.texts().mid(3), QStringList{told(kControllerMissing, 1, kInUse)});
    controllerPort.failOpen = false;
    prompt.asked.clear();
    EXPECT_FALSE(model->FormCloseQuery(true));  // the standard-folder picker is open
    EXPECT_TRUE(model->FormCloseQuery(false) && prompt.asked.empty());
    EXPECT_EQ(printerPort.comNumber(), 3);
}

TEST_F(SettingsDialogTest, AbbruchClosesWhateverThePortsAndChangesAndTellsNothing)
{
    show(0, -1);
    printerPort.failOpen = true;
    model->ComboBoxCOMChange(SettingsDialogModel::Side::Printer, "COM 5");
    model->ButtonAbbruchClick();
    EXPECT_TRUE(model->FormCloseQuery(false) && ctx.settings.PrinterPortIndex == 0);
    EXPECT_TRUE(prompt.asked.empty() && printerPort.isOpen());

    // A device assignment confirmed in "Schnittstellen zuordnen" applies on any close.
    model->devicesChanged();
    EXPECT_TRUE(model->FormCloseQuery(false));
    EXPECT_EQ(prompt.texts(), QStringList{told(kPrinterMissing, 1, kInUse)});
}

TEST_F(SettingsDialogTest, FoldersFallBackBelowTheWorkingFolderAndANewStandardOneNeedsARestart)
{
    ctx.settings.StandardDataDir = tmp.filePath("weg/Daten");
    ctx.settings.SimulatorWorkDir = "";
    ctx.settings.ActualRunDir = tmp.filePath("weg/Ist");
    const QString work = tmp.filePath("arbeit");
    model->FormShow(work);
    EXPECT_EQ((QStringList{ctx.settings.StandardDataDir, ctx.settings.SimulatorWorkDir, d().writeFolder}),
              (QStringList{work + "/Namenlos", work + "/Namenlos", work + "/IstDruck"}));
    EXPECT_TRUE(QFileInfo(work + "/IstDruck").isDir());

    model->tellWhenStandardFolderChanged();  // unchanged: nothing to tell
    ctx.settings.StandardDataDir = tmp.filePath("Anders");  // as the folder picker does
    model->tellWhenStandardFolderChanged();
    EXPECT_EQ(prompt.texts(), QStringList{"Die Programmeinstellungen werden\nbeim nächsten Start übernommen !"});
    EXPECT_EQ(prompt.asked[0].caption, "Info");
}

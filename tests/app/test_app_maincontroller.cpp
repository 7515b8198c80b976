// The main window's decisions: start-up, ports, labels, caption, menus and the
// data-loading road, with in-memory ports and scripted message boxes.

#include "base/appsettings.h"
#include "app/maincontroller.h"
#include "data/textfield.h"
#include "scriptedprompt.h"
#include "serial/deviceserialport.h"
#include "serial/fakeserialport.h"
#include "tempdir.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kPrinterMissing = QStringLiteral(
    "Die gewählte Schnittstelle zum Empfang der Drucker Daten ist nicht vorhanden oder\n"
    "von einer anderen Anwendung belegt. Bitte eine andere Schnittstelle auswählen");
const QString kControllerMissing = QStringLiteral(
    "Die gewählte Schnittstelle zum Anschluss der Steuerung ist nicht vorhanden oder\n"
    "von einer anderen Anwendung belegt. Bitte eine andere Schnittstelle auswählen");

struct FakeHost : MainWindowHost {
    bool editorVisible = false, settingsVisible = false, previewExists = false;
    bool pickOk = true;
    QString pickFolder;
    bool reportOk = true;
    QStringList report;

    bool groupNamesEditorVisible() const override { return editorVisible; }
    bool settingsDialogVisible() const override { return settingsVisible; }
    bool previewWindowExists() const override { return previewExists; }
    int textWidth(const QString &text) const override { return int(text.size()) * 6; }
    bool pickDataFolder(const QString &, QString *chosen) override
    {
        *chosen = pickFolder;
        return pickOk;
    }
    bool showLoadReport(const QStringList &lines) override
    {
        report = lines;
        return reportOk;
    }
};

// ALL.DAT with the given group count, operating mode and released programs.
QByteArray headerFile(uint32_t groups, uint8_t fixedTime, const QByteArray &released)
{
    QByteArray b(123, ' ');
    putLe32(b, 0, groups);
    b[103] = char(fixedTime);
    putLe32(b, 104, 0);
    putLe32(b, 108, 0);
    b[112] = 0;
    for (int i = 0; i < 6; ++i)
        b[113 + i] = released.at(i);
    putLe32(b, 119, 8);
    const QByteArray where = "Hauptstr. / Schulweg";
    for (int i = 0; i < where.size(); ++i)
        b[5 + i] = where[i];
    return b;
}

struct MainControllerTest : ::testing::Test {
    QTemporaryDir tmp;
    AppContext ctx;
    std::unique_ptr<SettingsStore> registry;
    ScriptedPrompt prompt;
    FakeHost host;
    FakeSerialPort controllerPort, printerPort;
    std::unique_ptr<MainController> mc;

    void start(int controllerIndex = -1, int printerIndex = 0, int defaultType = 0)
    {
        ctx.StartupDir = tmp.path();
        registry = std::make_unique<SettingsStore>(tmp.filePath("store.ini"));
        ctx.settings = LoadSettings(*registry, nullptr, ctx.StartupDir);
        ctx.settings.ControllerPortIndex = controllerIndex;
        ctx.settings.PrinterPortIndex = printerIndex;
        ctx.settings.DefaultInstallationType = defaultType;
        mc = std::make_unique<MainController>(ctx, *registry, prompt, host, controllerPort, printerPort);
        mc->createMainWindow();
        mc->initTick(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
    }

    QString dataFolder(const QString &name, const QByteArray &all)
    {
        const QString dir = tmp.filePath(name);
        QDir().mkpath(dir);
        EXPECT_TRUE(writeBytes(dir + "/ALL.DAT", all));
        return dir;
    }
};

TEST_F(MainControllerTest, FirstTickCreatesDefaultsOpensPortsAndFillsStatus)
{
    start(-1, 1, 2);
    const MainView &v = mc->view();
    EXPECT_TRUE(ctx.StartupDone);
    EXPECT_EQ(ctx.data.Konf.InstallationType, 2u);
    EXPECT_EQ(v.LabelGrpZahl, "12");
    EXPECT_EQ(v.LabelAnlage, "QSW 2000 / 2200 Kabel");
    EXPECT_EQ(v.LabelBetrArt, "Festzeit mit VA");
    EXPECT_EQ(v.LabelNotProg, "Programm 1");
    EXPECT_EQ(v.caption, "Signovat - Neu");
    EXPECT_EQ(v.statusPanels[0], "04.03.2026");
    EXPECT_EQ(v.statusPanels[1], "05:06:07");
    EXPECT_EQ(v.statusPanels[2], "Drucker: COM 2");
    EXPECT_EQ(v.statusPanels[3], "Steuerung: -----------");
    EXPECT_TRUE(prompt.asked.empty());

    // The printer-stream port: COM 2 at 1200 baud, even parity, one stop bit.
    EXPECT_TRUE(printerPort.isOpen());
    EXPECT_EQ(printerPort.comNumber(), 2);
    EXPECT_EQ(printerPort.baudRate, 1200);
    EXPECT_EQ(printerPort.parity, SerialPort::Parity::Even);
    EXPECT_EQ(printerPort.stopBits, 1);
    EXPECT_FALSE(controllerPort.isOpen());
    EXPECT_FALSE(v.typeControlsEnabled);

    // The first refresh wrote the whole set.
    QSettings raw(tmp.filePath("store.ini"), QSettings::IniFormat);
    EXPECT_EQ(raw.value("SecInt/VERSION").toString(), "210");
    EXPECT_EQ(raw.value("SecStrings/GRP_VERZ").toString(), ctx.settings.StandardDataDir);

    // Later ticks only move the clock.
    ctx.data.Header.GroupCount = 3;
    mc->initTick(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 8)));
    EXPECT_EQ(mc->view().statusPanels[1], "05:06:08");
    EXPECT_EQ(mc->view().LabelGrpZahl, "12");
}

TEST_F(MainControllerTest, PortsThatCannotBeOpenedAreReportedAndMarkedFailed)
{
    printerPort.failOpen = true;
    controllerPort.failOpen = true;
    start(0, 1);
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[0].text, kPrinterMissing);
    EXPECT_EQ(prompt.asked[0].caption, "Zugriffsfehler");
    EXPECT_EQ(prompt.asked[1].text, kControllerMissing);
    EXPECT_EQ(prompt.asked[1].caption, "Zugriffsfehler");
    EXPECT_TRUE(ctx.ports.PrinterPortFailed);
    EXPECT_TRUE(ctx.ports.ControllerPortFailed);
    EXPECT_EQ(mc->view().statusPanels[2], "Drucker: -----------");
    EXPECT_EQ(mc->view().statusPanels[3], "Steuerung: -----------");
    EXPECT_FALSE(mc->view().MDIstQSWEnabled);
    EXPECT_FALSE(mc->view().typeControlsEnabled);

    // Not tried again until a reopen is asked for.
    mc->Refresh();
    EXPECT_EQ(prompt.asked.size(), 2u);

    printerPort.failOpen = false;
    ctx.ports.PrinterPortReopen = true;
    mc->Refresh();
    EXPECT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(mc->view().statusPanels[2], "Drucker: COM 2");
    EXPECT_TRUE(mc->view().MDIstQSWEnabled);
}

TEST_F(MainControllerTest, ControllerPortOnNineSixHundredEvenTwoStopBits)
{
    start(2, 0);
    EXPECT_TRUE(controllerPort.isOpen());
    EXPECT_EQ(controllerPort.comNumber(), 3);
    EXPECT_EQ(controllerPort.baudRate, 9600);
    EXPECT_EQ(controllerPort.parity, SerialPort::Parity::Even);
    EXPECT_EQ(controllerPort.stopBits, 2);
    EXPECT_EQ(mc->view().statusPanels[3], "Steuerung: COM 3");
    EXPECT_TRUE(mc->view().typeControlsEnabled);
}

TEST_F(MainControllerTest, OutOfRangePortIndexFailsCleanlyOnARealPort)
{
    ctx.StartupDir = tmp.path();
    registry = std::make_unique<SettingsStore>(tmp.filePath("store.ini"));
    ctx.settings = LoadSettings(*registry, nullptr, ctx.StartupDir);
    ctx.settings.PrinterPortIndex = 42;
    DeviceSerialPort printer;
    mc = std::make_unique<MainController>(ctx, *registry, prompt, host, controllerPort, printer);
    mc->createMainWindow();
    mc->initTick(QDateTime::currentDateTime());
    ASSERT_EQ(prompt.texts(), QStringList{kPrinterMissing});
    EXPECT_TRUE(ctx.ports.PrinterPortFailed);
    EXPECT_EQ(mc->view().statusPanels[2], "Drucker: -----------");
}

TEST_F(MainControllerTest, ChangingControllerFamilyReopensBothPorts)
{
    start(1, 0);
    EXPECT_EQ(ctx.ControllerFamily, ControllerFamily::Kvx);
    EXPECT_TRUE(mc->view().MDAusSEnabled);
    controllerPort.failOpen = true;  // shows that a reopen was tried
    ctx.data.Konf.InstallationType = TypeKvx40;
    mc->Refresh();
    EXPECT_EQ(ctx.ControllerFamily, ControllerFamily::Other);
    EXPECT_FALSE(mc->view().MDAusSEnabled);
    EXPECT_EQ(prompt.texts(), QStringList{kControllerMissing});

    // A negative type (all bits set in KONF.DAT) belongs with type 0.
    ctx.data.Konf.InstallationType = 0xFFFFFFFFu;
    mc->Refresh();
    EXPECT_EQ(ctx.ControllerFamily, ControllerFamily::Kvx);
    EXPECT_TRUE(mc->view().MDAusSEnabled);
}

TEST_F(MainControllerTest, CaptionNamesTheDataFolderWhenShorterThanThirty)
{
    start();
    ctx.DataIsNew = false;
    ctx.CurrentDataDir = "/daten/" + QString(29, 'k');
    mc->RefreshDisplay();
    EXPECT_EQ(mc->view().caption, "Signovat - " + QString(29, 'k'));
    ctx.CurrentDataDir = "/daten/" + QString(30, 'k');
    mc->RefreshDisplay();
    EXPECT_EQ(mc->view().caption, "Signovat - ");
    EXPECT_EQ(ctx.InstallationName, "");
}

TEST_F(MainControllerTest, MenusFollowReleasedProgramsAndOperatingMode)
{
    start();
    ctx.data.Header.ProgramReleased = {1, 0, 1, 0, 0, 1};
    ctx.data.Header.EmergencyProgram = 7;
    mc->RefreshDisplay();
    const MainView &v = mc->view();
    EXPECT_TRUE(v.MDSollVisible);
    EXPECT_EQ(v.programMenuVisible, (std::array<bool, 6>{true, false, true, false, false, true}));
    EXPECT_EQ(v.PFrei, v.programMenuVisible);
    EXPECT_EQ(v.LabelNotProg, "Dunkel");

    ctx.data.Header.FixedTimeMode = 0;
    ctx.data.Header.EmergencyProgram = 9;  // no text of its own: the label stays
    mc->RefreshDisplay();
    EXPECT_FALSE(mc->view().MDSollVisible);
    EXPECT_EQ(mc->view().LabelBetrArt, "VA Betrieb");
    EXPECT_EQ(mc->view().LabelNotProg, "Dunkel");
}

TEST_F(MainControllerTest, OtherWindowsMakeTheMainWindowBusy)
{
    start();
    EXPECT_TRUE(mc->view().notBusy);
    host.previewExists = true;
    mc->UpdateCommandState();
    EXPECT_FALSE(mc->view().notBusy);
    EXPECT_FALSE(mc->view().MDIstQSWEnabled);
}

TEST_F(MainControllerTest, InterfaceSelectionFollowsProtocolVariant)
{
    start();
    EXPECT_TRUE(mc->view().kvx40Selected);
    EXPECT_TRUE(mc->view().MDIstKVX40Enabled);
    EXPECT_FALSE(mc->view().MDIstKVXEnabled);

    ctx.settings.ProtocolVariant = ProtocolVariant::Plain;
    mc->Refresh();
    EXPECT_FALSE(mc->view().kvx40Selected);
    EXPECT_FALSE(mc->view().versionVisible);
    EXPECT_TRUE(mc->view().MDIstKVXEnabled);
    EXPECT_FALSE(mc->view().MDIstKVX40Enabled);

    mc->RadioButtonKVX40Enter();
    mc->ComboBoxVersionChange(1);
    EXPECT_EQ(ctx.settings.ProtocolVariant, ProtocolVariant::Kvx40);
    mc->FormClose();
    QSettings raw(tmp.filePath("store.ini"), QSettings::IniFormat);
    EXPECT_EQ(raw.value("SecInt/ANLAGENTYP").toString(), "3");
    EXPECT_EQ(raw.value("SecInt/KVX40_VERS").toString(), "1");
}

TEST_F(MainControllerTest, LoadingAFolderShowsTheInstallation)
{
    start();
    host.pickFolder = dataFolder("Kreuzung", headerFile(8, 1, QByteArray("\1\1\0\0\0\0", 6)));
    mc->DatenLadenClick();
    const MainView &v = mc->view();
    EXPECT_FALSE(ctx.DataIsNew);
    EXPECT_EQ(v.caption, "Signovat - Kreuzung");
    EXPECT_EQ(v.LabelGrpZahl, "8");
    EXPECT_EQ(v.LabelStandort1, "Hauptstr. / Schulweg");
    EXPECT_EQ(v.LabelNotProg, "Blinken");
    EXPECT_EQ(v.AktDatei, host.pickFolder);
    EXPECT_EQ(host.report.first(), "Lese Daten aus: " + host.pickFolder);
    EXPECT_TRUE(host.report.contains("ALL.DAT gelesen"));
    EXPECT_TRUE(prompt.asked.empty());
    QSettings raw(tmp.filePath("store.ini"), QSettings::IniFormat);
    EXPECT_EQ(raw.value("SecStrings/Verzeichnis").toString(), host.pickFolder);
}

TEST_F(MainControllerTest, DataThatIsNotFixedTimeAreRejected)
{
    start();
    host.pickFolder = dataFolder("VA", headerFile(8, 0, QByteArray("\1\0\0\0\0\0", 6)));
    mc->DatenLadenClick();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text,
              "Es kann nur ein Sollausdruck von Programmen\nmit der Betriebsart Festzeit und Festzeit mit VA\n"
              "gemacht werden.\nDie geladenen Daten werden gelöscht !");
    EXPECT_EQ(prompt.asked[0].caption, "Fehler");
    EXPECT_EQ(prompt.asked[0].icon, PromptIcon::Error);
    EXPECT_EQ(mc->view().caption, "Signovat - Neu");
    EXPECT_EQ(ctx.data.Header.GroupCount, 24u);
    EXPECT_EQ(ctx.data.Header.FixedTimeMode, 1);
}

TEST_F(MainControllerTest, CancelledPickerKeepsTheDataButRemembersTheFolder)
{
    start(-1, 0, 2);
    host.pickOk = false;
    host.pickFolder = tmp.filePath("anderswo");
    mc->DatenLadenClick();
    EXPECT_EQ(ctx.LastDataDir, host.pickFolder);
    EXPECT_EQ(ctx.CurrentDataDir, host.pickFolder);
    EXPECT_EQ(ctx.data.Header.GroupCount, 12u);
    EXPECT_TRUE(host.report.isEmpty());
}

TEST_F(MainControllerTest, NewProgramAsksAndResetsToTypeZero)
{
    start(-1, 0, 2);
    textToField(QStringLiteral("Nord"), ctx.data.GroupNames[0]);
    prompt.answers = {PromptAnswer::Cancel};
    mc->NeuesProgrammClick();
    EXPECT_EQ(ctx.data.Header.GroupCount, 12u);

    mc->NeuesProgrammClick();
    EXPECT_EQ(prompt.asked[1].text, "Alle Daten werden auf\nStandardwerte gesetzt.");
    EXPECT_EQ(prompt.asked[1].caption, "Bitte bestätigen");
    EXPECT_EQ(prompt.asked[1].buttons, PromptButtons::OkCancel);
    EXPECT_EQ(ctx.data.Konf.InstallationType, 0u);
    EXPECT_EQ(ctx.data.Header.GroupCount, 24u);
    EXPECT_EQ(ctx.data.Konf.KonfValue, 2u);
    EXPECT_EQ(GroupNameText(ctx.data, 0), "");
    EXPECT_EQ(mc->view().LabelAnlage, "KVX ...");
}

TEST_F(MainControllerTest, ANewRunAsksWhetherToClearTheGroupNames)
{
    start();
    textToField(QStringLiteral("Nord"), ctx.data.GroupNames[0]);
    prompt.answers = {PromptAnswer::No};
    mc->ResetToNewProgram(true);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "Gruppenbezeichnungen löschen ?");
    EXPECT_EQ(prompt.asked[0].caption, "Bitte angeben");
    EXPECT_EQ(prompt.asked[0].icon, PromptIcon::Question);
    EXPECT_EQ(prompt.asked[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(GroupNameText(ctx.data, 0), "Nord");
    EXPECT_EQ(ctx.data.Header.GroupCount, 24u);
    mc->ResetToNewProgram(true);  // Yes
    EXPECT_EQ(GroupNameText(ctx.data, 0), "");
}

}  // namespace

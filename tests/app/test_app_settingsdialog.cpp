// "Programmeinstellungen" without its window: the port table behind the two
// lists, the controller check box, the swap, the duration check, "Ok" and
// the close query that re-opens the ports.

#include "base/appsettings.h"
#include "app/maincontroller.h"
#include "app/settingsdialogmodel.h"
#include "qtprinters.h"
#include "scriptedprompt.h"
#include "serial/fakeserialport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Side = SettingsDialogModel::Side;

const QString kNoPrintingPort = QStringLiteral(
    "Es muß mindestens eine Schnittstelle\nzum Drucken eingestellt werden !\nBitte eine Schnittstelle auswählen !");

struct Host : MainWindowHost {
    bool settingsVisible = true;
    bool groupNamesEditorVisible() const override { return false; }
    bool settingsDialogVisible() const override { return settingsVisible; }
    bool previewWindowExists() const override { return false; }
    int textWidth(const QString &text) const override { return int(text.size()) * 6; }
    bool pickDataFolder(const QString &, QString *) override { return false; }
    bool showLoadReport(const QStringList &) override { return true; }
};

QStringList ports(std::initializer_list<int> numbers)
{
    QStringList out;
    for (int n : numbers)
        out << QStringLiteral("COM %1").arg(n);
    return out << QStringLiteral("Keine");
}

struct SettingsDialogTest : ::testing::Test {
    QTemporaryDir tmp;
    AppContext ctx;
    std::unique_ptr<SettingsStore> registry;
    ScriptedPrompt prompt;
    Host host;
    FakeSerialPort controllerPort, printerPort;
    std::unique_ptr<MainController> main;
    std::unique_ptr<SettingsDialogModel> model;

    void SetUp() override
    {
        ctx.StartupDir = tmp.path();
        registry = std::make_unique<SettingsStore>(tmp.filePath("store.ini"));
        ctx.settings = LoadSettings(*registry, nullptr, ctx.StartupDir);
        main = std::make_unique<MainController>(ctx, *registry, prompt, host, controllerPort, printerPort);
        main->createMainWindow();
        main->initTick(QDateTime::currentDateTime());
        model = std::make_unique<SettingsDialogModel>(ctx, prompt, *main);
    }
    void show(int printer, int controller)
    {
        ctx.settings.PrinterPortIndex = printer;
        ctx.settings.ControllerPortIndex = controller;
        model->FormShow(tmp.path());
    }
    const SettingsDialogView &v() const { return model->view(); }
    QString printerChoice() const { return v().printerItems.value(v().printerCurrent); }
    QString controllerChoice() const { return v().controllerItems.value(v().controllerCurrent); }
    SettingsDialogInput input(const QString &duration = "20") const
    {
        return {v().colour, v().autoEndChecked, v().askSave, duration, printerChoice(), controllerChoice()};
    }
};

TEST_F(SettingsDialogTest, APortTakenByOneSideIsNotOfferedToTheOther)
{
    show(1, 0);
    EXPECT_EQ(v().printerItems, ports({2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(v().controllerItems, ports({1, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(printerChoice(), "COM 2");
    EXPECT_EQ(controllerChoice(), "COM 1");
    EXPECT_TRUE(v().controllerActive);

    model->ComboBoxCOMChange(Side::Printer, "COM 4");
    EXPECT_EQ(v().controllerItems, ports({1, 2, 3, 5, 6, 7, 8}));
    EXPECT_EQ(printerChoice(), "COM 4");
    model->ComboBoxCOMChange(Side::Printer, "Keine");
    EXPECT_EQ(v().controllerItems, ports({1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(printerChoice(), "Keine");

    // Numbers no list can show are not entered anywhere.
    show(12, -7);
    EXPECT_EQ(v().printerItems, ports({1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(printerChoice(), "Keine");
    EXPECT_FALSE(v().controllerActive);
    EXPECT_EQ(SettingsDialogModel::portIndexOfText("COM 8"), 7);
    EXPECT_EQ(SettingsDialogModel::portIndexOfText("COM 9"), -1);
}

TEST_F(SettingsDialogTest, TheControllerCheckBoxTakesTheLowestFreePortAndGivesItBack)
{
    ctx.settings.AutoEndCapture = 1;
    show(0, -1);
    EXPECT_FALSE(v().controllerActive);
    EXPECT_FALSE(v().autoEndChecked);
    EXPECT_FALSE(v().autoEndEnabled);
    EXPECT_FALSE(v().durationVisible);

    model->CheckBoxVorhandenClick(true, false);
    EXPECT_EQ(controllerChoice(), "COM 2");
    EXPECT_EQ(v().printerItems, ports({1, 3, 4, 5, 6, 7, 8}));
    EXPECT_TRUE(v().autoEndEnabled);
    EXPECT_FALSE(v().durationVisible);
    model->CheckBoxVorhandenClick(true, true);
    EXPECT_TRUE(v().durationVisible);
    EXPECT_EQ(controllerChoice(), "COM 2");

    model->CheckBoxVorhandenClick(false, true);
    EXPECT_EQ(controllerChoice(), "Keine");
    EXPECT_FALSE(v().autoEndChecked);
    EXPECT_FALSE(v().autoEndEnabled);
    EXPECT_FALSE(v().durationVisible);

    show(-1, -1);
    model->CheckBoxVorhandenClick(true, false);
    EXPECT_EQ(controllerChoice(), "COM 1");
}

TEST_F(SettingsDialogTest, SwappingExchangesThePorts)
{
    show(2, 0);
    model->ButtonTauschenClick();
    EXPECT_EQ(printerChoice(), "COM 1");
    EXPECT_EQ(controllerChoice(), "COM 3");
    EXPECT_EQ(v().printerItems, ports({1, 2, 4, 5, 6, 7, 8}));
}

TEST_F(SettingsDialogTest, TheDurationMustBeOneToTwentyMinutes)
{
    show(0, 1);
    for (const char *bad : {"0", "21", "1a", " 5", "-1"}) {
        prompt.asked.clear();
        EXPECT_FALSE(model->MemoIstDauerExit(bad)) << bad;
        ASSERT_EQ(prompt.asked.size(), 1u) << bad;
        EXPECT_EQ(prompt.asked[0].text, "Eingabe muß 1 bis 20 sein");
        EXPECT_EQ(prompt.asked[0].caption, "Üngültiger Wert");
    }
    prompt.asked.clear();
    EXPECT_FALSE(model->MemoIstDauerExit(""));
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "Eingabe fehlt.");
    EXPECT_EQ(prompt.asked[0].caption, "Fehler");

    EXPECT_TRUE(model->MemoIstDauerExit("07"));
    EXPECT_EQ(v().upDownPosition, 7);
    // The up-down control wraps around.
    EXPECT_TRUE(model->MemoIstDauerExit("20"));
    model->UpDownIstDauerClick(+1);
    EXPECT_EQ(v().durationText, "1");
    model->UpDownIstDauerClick(-1);
    EXPECT_EQ(v().durationText, "20");
}

TEST_F(SettingsDialogTest, OkStoresTheValuesAndTheyAreWrittenAtTheRefresh)
{
    show(0, -1);
    model->CheckBoxVorhandenClick(true, true);
    SettingsDialogInput in = input("5");
    in.colour = false;
    in.askSave = false;
    // A duration that is no number stores nothing.
    EXPECT_FALSE(model->ButtonOkClick(input("x")));
    EXPECT_EQ(ctx.settings.ControllerPortIndex, -1);

    ASSERT_TRUE(model->ButtonOkClick(in));
    EXPECT_TRUE(model->FormCloseQuery(false));
    EXPECT_EQ(ctx.settings.PrintInColour, 0);
    EXPECT_EQ(ctx.settings.AutoEndCapture, 1);
    EXPECT_EQ(ctx.settings.AskSaveCapture, 0);
    EXPECT_EQ(ctx.settings.CaptureMinutes, 5);
    EXPECT_EQ(ctx.settings.ControllerPortIndex, 1);
    EXPECT_EQ(controllerPort.comNumber(), 2);
    EXPECT_TRUE(controllerPort.isOpen());

    // The next start reads them back.
    const AppSettings again = LoadSettings(SettingsStore(tmp.filePath("store.ini")), nullptr, tmp.path());
    EXPECT_EQ(again.ControllerPortIndex, 1);
    EXPECT_EQ(again.CaptureMinutes, 5);
    EXPECT_EQ(again.PrintInColour, 0);
    EXPECT_EQ(again.AskSaveCapture, 0);
    EXPECT_EQ(again.AutoEndCapture, 1);
}

TEST_F(SettingsDialogTest, ClosingWithoutAUsablePrintingPortIsRefused)
{
    show(0, -1);
    model->ComboBoxCOMChange(Side::Printer, "Keine");
    ASSERT_TRUE(model->ButtonOkClick(input()));
    EXPECT_FALSE(model->FormCloseQuery(false));
    ASSERT_EQ(prompt.texts(), QStringList{kNoPrintingPort});
    EXPECT_EQ(prompt.asked[0].caption, "Fehler");
    EXPECT_EQ(prompt.asked[0].icon, PromptIcon::Error);
    EXPECT_TRUE(ctx.ports.PrinterPortFailed);

    // A port that cannot be opened: told by the main window, then refused.
    prompt.asked.clear();
    printerPort.failOpen = true;
    model->ComboBoxCOMChange(Side::Printer, "COM 3");
    ASSERT_TRUE(model->ButtonOkClick(input()));
    EXPECT_FALSE(model->FormCloseQuery(false));
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[0].caption, "Zugriffsfehler");
    EXPECT_EQ(prompt.asked[1].text, kNoPrintingPort);

    // A controller port that fails refuses as well; the standard-folder picker still open too.
    printerPort.failOpen = false;
    controllerPort.failOpen = true;
    model->CheckBoxVorhandenClick(true, false);
    ASSERT_TRUE(model->ButtonOkClick(input()));
    EXPECT_FALSE(model->FormCloseQuery(false));
    controllerPort.failOpen = false;
    EXPECT_FALSE(model->FormCloseQuery(true));
    prompt.asked.clear();
    EXPECT_TRUE(model->FormCloseQuery(false));
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_EQ(printerPort.comNumber(), 3);
    EXPECT_TRUE(printerPort.isOpen());
}

TEST_F(SettingsDialogTest, AbbruchClosesWhateverThePortsAndStoresNothing)
{
    show(0, -1);
    printerPort.failOpen = true;
    model->ComboBoxCOMChange(Side::Printer, "COM 5");
    model->ButtonAbbruchClick();
    EXPECT_TRUE(model->FormCloseQuery(false));
    EXPECT_EQ(ctx.settings.PrinterPortIndex, 0);
    // The ports were set up again all the same, and the failure told.
    EXPECT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].caption, "Zugriffsfehler");
}

TEST_F(SettingsDialogTest, ANewStandardFolderIsTakenAtTheNextStart)
{
    show(0, -1);
    model->tellWhenStandardFolderChanged();
    EXPECT_TRUE(prompt.asked.empty());
    ctx.settings.StandardDataDir = tmp.filePath("Anders");  // as the folder picker does
    model->tellWhenStandardFolderChanged();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "Die Programmeinstellungen werden\nbeim nächsten Start übernommen !");
    EXPECT_EQ(prompt.asked[0].caption, "Info");
}

TEST_F(SettingsDialogTest, MissingFoldersFallBackBelowTheWorkingFolder)
{
    ctx.settings.StandardDataDir = tmp.filePath("weg/Daten");
    ctx.settings.SimulatorWorkDir = "";
    ctx.settings.ActualRunDir = tmp.filePath("weg/Ist");
    const QString work = tmp.filePath("arbeit");
    model->FormShow(work);
    EXPECT_EQ(ctx.settings.StandardDataDir, work + "/Namenlos");
    EXPECT_EQ(ctx.settings.SimulatorWorkDir, work + "/Namenlos");
    EXPECT_EQ(ctx.settings.ActualRunDir, work + "/IstDruck");
    EXPECT_TRUE(QFileInfo(work + "/IstDruck").isDir());
    EXPECT_EQ(v().writeFolder, work + "/IstDruck");
}

}  // namespace

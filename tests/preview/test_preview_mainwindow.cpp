// The main window's "Drucken" commands open charts, captures and saved runs, blocked until left.

#include "mainwindowrig.h"
#include "modaldialogs.h"
#include "preview/previewwindow.h"
#include "qtprinters.h"
#include "tempdir.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {
const QString kExample = QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/Hauptstrasse-Schulweg");

struct PreviewCommandsTest : ::testing::Test, MainWindowRig {
    void SetUp() override
    {
        ctx.settings.ControllerPortIndex = 1;
        ctx.settings.ActualRunDir = tmp.filePath("IstDruck");
        ASSERT_TRUE(startWindow());
        ASSERT_TRUE(printerPort.isOpen() && controllerPort.isOpen());
    }
    // Escape confirms the load report as OK does: the data are not new.
    void loadExample()
    {
        whenModal([](QWidget *report) { QTest::keyClick(report, Qt::Key_Escape); });
        w->controller().loadChosenFolder(kExample);
        w->applyView();
        ASSERT_FALSE(ctx.DataIsNew);
    }
    bool commandsOffered() const
    {
        return w->findChild<QMenu *>("MDrucken")->menuAction()->isEnabled()
               && w->findChild<QMenu *>("MDatei")->menuAction()->isEnabled()
               && w->action("MProgEinstell")->isEnabled();
    }
    void leavePreview()
    {
        QTest::mouseClick(w->previewWindow()->findChild<QPushButton *>("DruckNicht"), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w->previewWindow(); }));
    }
};

TEST_F(PreviewCommandsTest, EveryChartKindOpensThePreviewWhichBlocksTheCommands)
{
    loadExample();
    const std::tuple<const char *, DisplayMode, int> commands[] = {{"MDSoll2", DisplayMode::TargetPlan, 2},
                                                                   {"MDEin1", DisplayMode::SwitchOn, 1},
                                                                   {"MDAusG1", DisplayMode::SwitchOffTargeted, 1},
                                                                   {"MDAusS2", DisplayMode::SwitchOffFault, 2}};
    for (const auto &[command, kind, program] : commands) {
        SCOPED_TRACE(command);
        w->action(command)->trigger();
        TFGrafik *preview = w->previewWindow();
        ASSERT_TRUE(preview && preview->isVisible());
        EXPECT_EQ(std::make_pair(preview->chart().DisplayMode, preview->chart().ProgramNumber), std::make_pair(kind, program));
        EXPECT_TRUE(preview->windowTitle().endsWith(" - Hauptstrasse-Schulweg"));
        EXPECT_EQ(preview->chart().ShownGroups, 24);  // the KVX family
        EXPECT_FALSE(commandsOffered());
        leavePreview();
        EXPECT_TRUE(commandsOffered());
    }
    EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(PreviewCommandsTest, ARefusedChartLeavesNoPreview)
{
    ctx.data.Header.FixedTimeMode = 1;
    ctx.data.Programs[0].CycleTime = 1201;
    w->action("MDSoll1")->trigger();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(QStringList({prompt.asked[0].text, prompt.asked[0].caption}),
              QStringList({"Das Programm ist länger als 1200 Sekunden\nund kann nicht dargestellt werden !", "Fehler"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w->previewWindow(); }));
    EXPECT_TRUE(commandsOffered());
}

TEST_F(PreviewCommandsTest, EachCommandOpensThePreviewInItsMode)
{
    const std::tuple<const char *, const char *, DisplayMode> commands[] = {
        {"MDIstKVX", "RadioButtonKVX", DisplayMode::RunKvx},
        {"MDIstKVX40_1200", "RadioButtonKVX40", DisplayMode::RunKvx40At1200},
        {"MDIstKVX40_9600", "RadioButtonKVX40", DisplayMode::RunKvx40At9600},
        {"MDIstKVX40_19200", "RadioButtonKVX40", DisplayMode::RunKvx40At19200},
        {"MDIstQSW", "RadioButtonKVX40", DisplayMode::RunQsw},
        {"MDIstSimu", "RadioButtonKVX40", DisplayMode::RunSimulation}};
    for (const auto &[action, interface, mode] : commands) {
        SCOPED_TRACE(action);
        QTest::mouseClick(w->findChild<QRadioButton *>(interface), Qt::LeftButton);
        printerPort.close();
        prompt.asked.clear();
        w->action(action)->trigger();
        EXPECT_EQ(prompt.asked.size(), 1u);  // whether to clear the names of the data started afresh
        ASSERT_TRUE(w->previewWindow() && w->previewWindow()->isVisible());
        EXPECT_EQ(w->previewWindow()->capture().mode(), mode);
        EXPECT_EQ(printerPort.isOpen(), mode != DisplayMode::RunSimulation);
        EXPECT_FALSE(commandsOffered());
        if (mode == DisplayMode::RunKvx) {  // the start request goes out through the main window's link
            controllerPort.takeWritten();
            while (!ctx.StartRequest.startRequestPending() && w->previewWindow()->capture().running())
                w->previewWindow()->ScanDataTimer();
            const QByteArray request = StuffFrame(
                BuildPrintCommandFrame({2, 0, 0}, ProtocolVariant::Plain, uint8_t(ctx.settings.ChecksumSeed)));
            EXPECT_TRUE(QTest::qWaitFor([&] { return controllerPort.written == request; }));
        }
        leavePreview();
        EXPECT_FALSE(printerPort.isOpen());
        EXPECT_TRUE(commandsOffered());
    }
}

// A port that cannot be opened stops the command; a pulled adapter that is back is opened afresh.
TEST_F(PreviewCommandsTest, ThePrinterPortIsOpenedAfreshOrTheCommandStops)
{
    printerPort.vanished = true;
    w->action("MDIstQSW")->trigger();
    ASSERT_TRUE(w->previewWindow());
    EXPECT_TRUE(printerPort.isOpen() && !printerPort.lost());
    leavePreview();

    printerPort.failOpen = true;
    prompt.asked.clear();
    w->action("MDIstQSW")->trigger();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(QStringList({prompt.asked[0].text, prompt.asked[0].caption}), QStringList({printerPort.failOpenText, "Signovat"}));
    EXPECT_EQ(prompt.asked[0].icon, PromptIcon::Error);
    EXPECT_TRUE(!w->previewWindow() && commandsOffered());
}

TEST_F(PreviewCommandsTest, ASavedRunIsShownFromTheActualRunFolder)
{
    const QString path = QDir(ctx.settings.ActualRunDir).filePath("Lauf.DRI");
    ASSERT_TRUE(QFile::copy(SIGNOVAT_SOURCE_DIR "/examples/transcripts/Hauptstrasse-Schulweg-KVX900.DRI", path));
    chooseInFileDialog(QString());  // cancelled: nothing happens
    w->action("MDIstDatei")->trigger();
    EXPECT_FALSE(w->previewWindow());

    QString openedIn;
    chooseInFileDialog(path, &openedIn);
    w->action("MDIstDatei")->trigger();
    EXPECT_EQ(openedIn, ctx.settings.ActualRunDir);
    ASSERT_TRUE(w->previewWindow());
    EXPECT_EQ(w->previewWindow()->chart().DisplayMode, DisplayMode::RunFromFile);
    EXPECT_TRUE(ctx.DataIsNew);
    leavePreview();
    EXPECT_TRUE(prompt.asked.empty());  // the names are the file's, nobody is asked

    ASSERT_TRUE(writeBytes(path, QByteArray(100, 'x')));
    chooseInFileDialog(path);
    w->action("MDIstDatei")->trigger();
    ASSERT_EQ(prompt.asked.size(), 1u);  // the file is refused
    EXPECT_EQ(prompt.asked[0].caption, "Fehler");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w->previewWindow(); }));
    EXPECT_TRUE(commandsOffered());
}

// "signovat FILE.DRI" and "--data DIR --preview N": the run or the plan once the window is up; a refusal is told
// and leaves the main window alone.
TEST(StartupRequest, OpensTheRunOrThePlanOfTheCommandLine)
{
    MainWindowRig rig;
    const QString damaged = rig.tmp.filePath("kaputt.dri");
    ASSERT_TRUE(writeBytes(damaged, QByteArray(100, 'x')));
    const struct { StartupRequest request; std::optional<std::pair<DisplayMode, int>> chart; const char *refusal; } cases[] = {
        {{QString(), 0, SIGNOVAT_SOURCE_DIR "/examples/transcripts/Hauptstrasse-Schulweg-KVX900.DRI"},
         std::pair(DisplayMode::RunFromFile, 1), ""},
        {{kExample, 2, QString()}, std::pair(DisplayMode::TargetPlan, 2), ""},
        {{kExample, 3, QString()}, std::nullopt, "Programm 3 ist nicht freigegeben"},
        {{QString(), 0, damaged}, std::nullopt, "kaputt.dri"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.refusal);
        rig.prompt.asked.clear();
        rig.w = std::make_unique<TFormSteuer>(rig.ctx, *rig.registry, rig.prompt, rig.controllerPort, rig.printerPort,
                                              rig.link);
        rig.w->setStartupRequest(c.request);
        if (!c.request.dataFolder.isEmpty())
            whenModal([](QWidget *report) { QTest::keyClick(report, Qt::Key_Escape); });
        rig.w->show();
        TFGrafik *preview = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (preview = rig.w->previewWindow()) || !rig.prompt.asked.empty(); }));
        if (c.chart) {
            EXPECT_EQ(std::pair(preview->chart().DisplayMode, preview->chart().ProgramNumber), *c.chart);
            EXPECT_TRUE(rig.prompt.asked.empty());
        } else {
            ASSERT_EQ(rig.prompt.asked.size(), 1u);
            EXPECT_TRUE(rig.prompt.asked[0].text.contains(QString::fromUtf8(c.refusal)));
            EXPECT_TRUE(QTest::qWaitFor([&] { return !rig.w->previewWindow(); }));
            EXPECT_TRUE(rig.w->isVisible());
        }
    }
}

}  // namespace

// The chart commands of the main window: each opens the preview on the
// example installation, the commands stay blocked while it exists, and
// leaving it offers them again.

#include "mainwindowrig.h"
#include "modaldialogs.h"
#include "preview/previewwindow.h"
#include "qtprinters.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
const QString kExample = QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/Hauptstrasse-Schulweg");

struct ChartCommandsTest : ::testing::Test, MainWindowRig {

    void SetUp() override { ASSERT_TRUE(startWindow()); }

    void loadExample()
    {
        whenModal([](QWidget *report) { static_cast<QDialog *>(report)->accept(); });
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
};

TEST_F(ChartCommandsTest, EscapeConfirmsTheLoadReportAsOkDoes)
{
    whenModal([](QWidget *report) { QTest::keyClick(report, Qt::Key_Escape); });
    w->controller().loadChosenFolder(kExample);
    w->applyView();
    EXPECT_FALSE(ctx.DataIsNew);
    EXPECT_EQ(w->windowTitle(), "Signovat - Hauptstrasse-Schulweg");
}

TEST_F(ChartCommandsTest, EveryChartKindOpensThePreviewWhichBlocksTheCommands)
{
    loadExample();
    const std::pair<const char *, const char *> commands[] = {
        {"MDSoll2", "Drucker Vorschau Programm - Hauptstrasse-Schulweg"},
        {"MDEin1", "Drucker Vorschau Einschaltprogramm - Hauptstrasse-Schulweg"},
        {"MDAusG1", "Drucker Vorschau Ausschaltprogramm / Gezielt - Hauptstrasse-Schulweg"},
        {"MDAusS2", "Drucker Vorschau Ausschaltprogramm / Störung - Hauptstrasse-Schulweg"}};
    for (const auto &[command, caption] : commands) {
        w->action(command)->trigger();
        TFGrafik *preview = w->previewWindow();
        ASSERT_TRUE(preview) << command;
        EXPECT_TRUE(preview->isVisible());
        EXPECT_EQ(preview->windowTitle(), QString::fromUtf8(caption));
        EXPECT_FALSE(commandsOffered()) << command;
        EXPECT_EQ(preview->chart().ShownGroups, 24);  // the KVX family

        QTest::mouseClick(preview->findChild<QPushButton *>("DruckNicht"), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w->previewWindow(); }));
        EXPECT_TRUE(commandsOffered()) << command;
    }
    EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(ChartCommandsTest, ARefusedChartLeavesNoPreview)
{
    ctx.data.Header.FixedTimeMode = 1;
    ctx.data.Programs[0].CycleTime = 1201;
    w->action("MDSoll1")->trigger();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "Das Programm ist länger als 1200 Sekunden\nund kann nicht dargestellt werden !");
    EXPECT_EQ(prompt.asked[0].caption, "Fehler");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w->previewWindow(); }));
    EXPECT_TRUE(commandsOffered());
}

}  // namespace

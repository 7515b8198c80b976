// The "Drucken" / "Ist" commands of the main window: each controller command
// opens the printer-stream port, starts from new data and receives in the
// preview; the simulation opens no port; "Aus Datei laden" shows a saved run.

#include "mainwindowrig.h"
#include "data/textfield.h"
#include "modaldialogs.h"
#include "preview/previewwindow.h"
#include "qtprinters.h"
#include "tempdir.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
const QString kExampleRun = QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/transcripts/Hauptstrasse-Schulweg-KVX900.DRI");

struct IstCommandsTest : ::testing::Test, MainWindowRig {

    void SetUp() override
    {
        ctx.settings.ControllerPortIndex = 1;
        ctx.settings.ActualRunDir = tmp.filePath("IstDruck");
        ASSERT_TRUE(startWindow());
        ASSERT_TRUE(printerPort.isOpen() && controllerPort.isOpen());
    }
    bool commandsOffered() const { return w->findChild<QMenu *>("MDrucken")->menuAction()->isEnabled(); }
    void leavePreview()
    {
        QTest::mouseClick(w->previewWindow()->findChild<QPushButton *>("DruckNicht"), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w->previewWindow(); }));
    }
};

TEST_F(IstCommandsTest, ControllerCommandsOpenThePortAndStartReceiving)
{
    struct Command {
        const char *action, *interface;
        int baud, stopBits;
        const char *source;
    };
    const Command commands[] = {
        {"MDIstKVX", "RadioButtonKVX", 1200, 2, "(Ist-Druck, KVX)"},
        {"MDIstKVX40_1200", "RadioButtonKVX40", 1200, 2, "(Ist-Druck, KVX)"},
        {"MDIstKVX40_9600", "RadioButtonKVX40", 9600, 2, "(Ist-Druck, KVX)"},
        {"MDIstKVX40_19200", "RadioButtonKVX40", 19200, 2, "(Ist-Druck, KVX)"},
        {"MDIstQSW", "RadioButtonKVX40", 1200, 1, "(Ist-Druck, QSW)"},
    };
    for (const Command &c : commands) {
        QTest::mouseClick(w->findChild<QRadioButton *>(c.interface), Qt::LeftButton);
        printerPort.close();
        prompt.asked.clear();
        w->action(c.action)->trigger();
        ASSERT_EQ(prompt.asked.size(), 1u) << c.action;
        EXPECT_EQ(prompt.asked[0].text, "Gruppenbezeichnungen löschen ?");
        EXPECT_EQ(prompt.asked[0].caption, "Bitte angeben");
        TFGrafik *preview = w->previewWindow();
        ASSERT_TRUE(preview) << c.action;
        EXPECT_TRUE(preview->isVisible());
        EXPECT_EQ(preview->windowTitle(), "Drucker Vorschau grafisch Ist-Druck Steuerung - Erwarte Daten");
        EXPECT_EQ(preview->chart().ChartTitle, c.source);
        EXPECT_TRUE(printerPort.isOpen());
        EXPECT_EQ(printerPort.baudRate, c.baud) << c.action;
        EXPECT_EQ(printerPort.stopBits, c.stopBits) << c.action;
        EXPECT_FALSE(commandsOffered());
        leavePreview();
        EXPECT_FALSE(printerPort.isOpen());
        EXPECT_TRUE(commandsOffered());
    }
}

TEST_F(IstCommandsTest, ASilentKvxControllerGetsTheStartRequestOverTheLink)
{
    QTest::mouseClick(w->findChild<QRadioButton *>("RadioButtonKVX"), Qt::LeftButton);
    w->action("MDIstKVX")->trigger();
    ASSERT_TRUE(w->previewWindow());
    EXPECT_EQ(controllerPort.baudRate, 9600);
    controllerPort.takeWritten();
    for (int tick = 0; tick < 16; ++tick)
        w->previewWindow()->ScanDataTimer();
    EXPECT_TRUE(ctx.StartRequest.startRequestPending());
    // The main window's IO timer sends it.
    const QByteArray request =
        StuffFrame(BuildPrintCommandFrame({2, 0, 0}, ProtocolVariant::Plain, uint8_t(ctx.settings.ChecksumSeed)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return controllerPort.written == request; }));
}

TEST_F(IstCommandsTest, APrinterPortThatCannotBeOpenedStopsTheCommand)
{
    printerPort.close();
    printerPort.failOpen = true;
    w->action("MDIstQSW")->trigger();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, printerPort.failOpenText);
    EXPECT_EQ(prompt.asked[0].caption, "Signovat");
    EXPECT_EQ(prompt.asked[0].icon, PromptIcon::Error);
    EXPECT_FALSE(w->previewWindow());
    EXPECT_TRUE(commandsOffered());
}

TEST_F(IstCommandsTest, APortWhoseAdapterWasPulledIsOpenedAfresh)
{
    // The adapter went while the port stood open, and is back: the command
    // opens the port again instead of receiving from the dead one.
    printerPort.vanished = true;
    ASSERT_TRUE(printerPort.lost());
    w->action("MDIstQSW")->trigger();
    ASSERT_TRUE(w->previewWindow());
    EXPECT_TRUE(printerPort.isOpen());
    EXPECT_FALSE(printerPort.lost());
    w->previewWindow()->ScanDataTimer();
    QCoreApplication::processEvents();  // where a message of the tick would show
    EXPECT_EQ(prompt.texts(), QStringList({"Gruppenbezeichnungen löschen ?"}));
    leavePreview();
}

TEST_F(IstCommandsTest, TheSimulationOpensNoPort)
{
    printerPort.close();
    w->action("MDIstSimu")->trigger();
    EXPECT_EQ(prompt.texts(), QStringList({"Gruppenbezeichnungen löschen ?"}));
    ASSERT_TRUE(w->previewWindow());
    EXPECT_EQ(w->previewWindow()->windowTitle(), "Drucker Vorschau grafisch Ist-Druck Simulation - Erwarte Daten");
    EXPECT_FALSE(printerPort.isOpen());
    leavePreview();
}

TEST_F(IstCommandsTest, ASavedRunIsShownFromTheActualRunFolder)
{
    const QString path = QDir(ctx.settings.ActualRunDir).filePath("Hauptstrasse-Schulweg-KVX900.DRI");
    ASSERT_TRUE(QFile::copy(kExampleRun, path));
    chooseInFileDialog(QString());  // cancelled: nothing happens
    w->action("MDIstDatei")->trigger();
    EXPECT_FALSE(w->previewWindow());

    QString openedIn;
    chooseInFileDialog(path, &openedIn);
    w->action("MDIstDatei")->trigger();
    EXPECT_EQ(openedIn, ctx.settings.ActualRunDir);
    EXPECT_TRUE(prompt.asked.empty());  // the names are the file's, nobody is asked
    ASSERT_TRUE(w->previewWindow());
    EXPECT_EQ(w->previewWindow()->windowTitle(),
              "Drucker Vorschau Ist-Druck aus Datei Hauptstrasse-Schulweg-KVX900.DRI - SCHULW01");
    EXPECT_EQ(w->previewWindow()->findChild<QLabel *>("LabelSeite")->text(), "1 von 4");
    EXPECT_NE(fieldText(ctx.data.GroupNames[0]), "");
    EXPECT_TRUE(ctx.DataIsNew);
    leavePreview();
    EXPECT_TRUE(prompt.asked.empty());

    const QString broken = QDir(ctx.settings.ActualRunDir).filePath("kurz.DRI");
    ASSERT_TRUE(writeBytes(broken, QByteArray(100, 'x')));
    chooseInFileDialog(broken);
    w->action("MDIstDatei")->trigger();
    EXPECT_EQ(prompt.texts(), QStringList({"Die Datei kurz.DRI ist keine Ist-Druck-Datei !\n"
                                           "Eine Ist-Druck-Datei kann nicht 100 Bytes groß sein."}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w->previewWindow(); }));
    EXPECT_TRUE(commandsOffered());
}

}  // namespace

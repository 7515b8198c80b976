// The IO tick: a print command without an answer is reported once, and only
// when the capture asked for the printer output.

#include "app/controllerpolling.h"
#include "link/controllerlink.h"
#include "link/steppedanswertimer.h"
#include "scriptedprompt.h"
#include "serial/fakeserialport.h"

#include <gtest/gtest.h>

namespace {

struct PollingTest : ::testing::Test {
    AppContext ctx;
    ScriptedPrompt prompt;
    FakeSerialPort controllerPort, printerPort;
    SteppedAnswerTimer timer;
    ControllerLink link{controllerPort, timer};
    ControllerPolling polling{ctx, prompt, link, controllerPort, printerPort};

    void SetUp() override
    {
        controllerPort.open();
        printerPort.open();
        ctx.ControllerFamily = 2;
    }

    // Ticks every 10 ms until the command ends, at most two seconds.
    void runOut()
    {
        for (int t = 0; t < 200; ++t) {
            polling.IOTimer();
            timer.advance(10);
        }
    }
};

TEST_F(PollingTest, UnansweredStartRequestIsReportedOnce)
{
    ctx.PrintCommandIssued = true;
    ctx.WaitingForData = true;
    link.RequestPrint(2, 0, 0);
    runOut();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text,
              "Keine Verbindung zur Steuerung !\nDruckbefehl nicht ausgeführt.\nBitte Anlagentyp, Verbindung,\n"
              "ggf. die Versionseinstellung und\ndie Baudrateneinstellung prüfen !");
    EXPECT_EQ(prompt.asked[0].caption, "Fehler");
    EXPECT_EQ(prompt.asked[0].icon, PromptIcon::Error);
    EXPECT_FALSE(ctx.PrintCommandIssued);
    EXPECT_FALSE(ctx.WaitingForData);
    // The frame went out once and was repeated three times.
    EXPECT_EQ(controllerPort.written.count(char(0x10)), 4);
}

TEST_F(PollingTest, UnansweredStopRequestIsSilent)
{
    ctx.WaitingForData = true;
    link.RequestPrint(3, 0, 0);
    runOut();
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_FALSE(ctx.WaitingForData);
}

TEST_F(PollingTest, LinkFollowsTheCurrentSettingsAndFallsBackToThePrinterPort)
{
    ctx.settings.ProtocolVariant = 0;
    ctx.settings.ChecksumSeed = 1;
    ctx.ControllerFamily = 1;
    ctx.ports.ControllerPortFailed = true;
    link.RequestPrint(2, 0, 0);
    polling.IOTimer();
    EXPECT_EQ(link.protocolVariant(), 0);
    EXPECT_EQ(link.checksumSeed(), 1);
    EXPECT_EQ(link.controllerFamily(), 1);
    EXPECT_TRUE(controllerPort.written.isEmpty());
    // Plain frame: class 127.
    ASSERT_FALSE(printerPort.written.isEmpty());
    EXPECT_TRUE(printerPort.written.contains(char(127)));
}

}  // namespace

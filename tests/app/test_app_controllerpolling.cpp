// The IO tick: a print command without an answer is reported once, and only
// when the capture asked for the printer output.

#include "app/controllerpolling.h"
#include "link/controllerlink.h"
#include "link/steppedanswertimer.h"
#include "serial/fakeserialport.h"

#include <gtest/gtest.h>

namespace {

struct PollingTest : ::testing::Test {
    AppContext ctx;
    FakeSerialPort controllerPort, printerPort;
    SteppedAnswerTimer timer;
    ControllerLink link{controllerPort, timer};
    ControllerPolling polling{ctx, link, controllerPort, printerPort};

    void SetUp() override
    {
        controllerPort.open();
        printerPort.open();
        ctx.ControllerFamily = ControllerFamily::Kvx;
    }

    // Ticks every 10 ms until the command ends, at most two seconds; the
    // messages the ticks returned.
    std::vector<Message> runOut()
    {
        std::vector<Message> told;
        for (int t = 0; t < 200; ++t) {
            if (std::optional<Message> m = polling.IOTimer())
                told.push_back(*m);
            timer.advance(10);
        }
        return told;
    }
};

TEST_F(PollingTest, UnansweredStartRequestIsReportedOnce)
{
    ctx.StartRequest.startRequested();
    ctx.StartRequest.waitForData();
    link.RequestPrint(2, 0, 0);
    const std::vector<Message> told = runOut();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].text,
              "Keine Verbindung zur Steuerung !\nDruckbefehl nicht ausgeführt.\nBitte Anlagentyp, Verbindung,\n"
              "ggf. die Versionseinstellung und\ndie Baudrateneinstellung prüfen !");
    EXPECT_EQ(told[0].caption, "Fehler");
    EXPECT_EQ(told[0].icon, PromptIcon::Error);
    EXPECT_FALSE(ctx.StartRequest.startRequestPending());
    EXPECT_FALSE(ctx.StartRequest.waitingForData());
    // The frame went out once and was repeated three times.
    EXPECT_EQ(controllerPort.written.count(char(0x10)), 4);
}

TEST_F(PollingTest, UnansweredStopRequestIsSilent)
{
    ctx.StartRequest.waitForData();
    link.RequestPrint(3, 0, 0);
    EXPECT_TRUE(runOut().empty());
    EXPECT_FALSE(ctx.StartRequest.waitingForData());
}

TEST_F(PollingTest, LinkFollowsTheCurrentSettingsAndFallsBackToThePrinterPort)
{
    ctx.settings.ProtocolVariant = ProtocolVariant::Plain;
    ctx.settings.ChecksumSeed = 1;
    ctx.ControllerFamily = ControllerFamily::Other;
    ctx.ports.ControllerPortFailed = true;
    link.RequestPrint(2, 0, 0);
    polling.IOTimer();
    EXPECT_EQ(link.protocolVariant(), ProtocolVariant::Plain);
    EXPECT_EQ(link.checksumSeed(), 1);
    EXPECT_EQ(link.controllerFamily(), ControllerFamily::Other);
    EXPECT_TRUE(controllerPort.written.isEmpty());
    // Plain frame: class 127.
    ASSERT_FALSE(printerPort.written.isEmpty());
    EXPECT_TRUE(printerPort.written.contains(char(127)));
}

}  // namespace

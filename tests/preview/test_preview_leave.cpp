// "Beenden" after a received run: the stop request, the group names
// question, the save dialog, and a save that fails.

#include "actual/actualrunfile.h"
#include "preview/captureleave.h"
#include "actual/capturerig.h"
#include "data/textfield.h"
#include "qtprinters.h"
#include "actual/streamlines.h"
#include "scriptedprompt.h"
#include "tempdir.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Host : public CaptureLeaveHost {
public:
    AppContext *ctx = nullptr;
    QStringList calls;
    QStringList paths;  // answers of the save dialog, in order; then cancel

    void editGroupNames() override
    {
        calls << QStringLiteral("edit");
        TextToField10(QStringLiteral("K1 West"), ctx->data.GroupNames[0]);
    }
    void redrawShownPage() override { calls << QStringLiteral("redraw"); }
    QString chooseSaveFile(const QString &startDir, const QString &proposedName) override
    {
        calls << QStringLiteral("save %1 %2").arg(startDir, proposedName);
        return paths.isEmpty() ? QString() : paths.takeFirst();
    }
};

struct LeaveRig : CaptureRig {
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    Host host;
    explicit LeaveRig(int controllerPortIndex = 1) : CaptureRig(controllerPortIndex)
    {
        host.ctx = &ctx;
        ctx.settings.ActualRunDir = dir.path();
        ctx.settings.AskSaveCapture = 1;
    }
    void receiveRun(int seconds)
    {
        capture.Start(DisplayMode::RunKvx);
        for (const QByteArray &line : transcriptLines(kKvxTranscript)) {
            if (capture.RowCount() == seconds)
                break;
            this->line(line);
        }
    }
};

TEST(LeaveCapture, AsksForTheNamesThenSavesTheRun)
{
    LeaveRig rig;
    rig.receiveRun(30);
    const QString path = rig.dir.filePath(QStringLiteral("DrIst1.DRI"));
    rig.host.paths << path;
    EXPECT_TRUE(LeaveActualRun(rig.capture, rig.ctx, rig.prompt, rig.host));

    EXPECT_EQ(rig.printCommandSent(), 3);  // the controller stops printing
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "Gruppenbezeichnungen editieren ?");
    EXPECT_EQ(rig.prompt.asked[0].caption, "Bitte angeben");
    EXPECT_EQ(rig.prompt.asked[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(rig.host.calls, QStringList({"edit", "redraw", "save " + rig.dir.path() + " DrIst1"}));
    EXPECT_EQ(fieldText(rig.capture.chart().GroupNames[0]), "K1 West");  // the redraw shows the new name
    EXPECT_FALSE(rig.capture.running());

    ActualRun saved;
    QString error;
    ASSERT_TRUE(ReadActualRunFile(path, saved, &error));
    EXPECT_EQ(saved.Rows.size(), 30u);
    EXPECT_EQ(fieldText(saved.GroupNames[0]), "K1 West");
    EXPECT_EQ(QFileInfo(path).size(), 3341 + 30 * 124);
}

TEST(LeaveCapture, FailedSaveIsReportedAndTheDialogComesAgain)
{
    LeaveRig rig;
    rig.receiveRun(3);
    rig.prompt.answers.push_back(PromptAnswer::No);
    const QString good = rig.dir.filePath(QStringLiteral("zweiter.DRI"));
    rig.host.paths << rig.dir.filePath(QStringLiteral("fehlt/erster.DRI")) << good;
    EXPECT_TRUE(LeaveActualRun(rig.capture, rig.ctx, rig.prompt, rig.host));
    ASSERT_EQ(rig.prompt.asked.size(), 2u);
    EXPECT_TRUE(rig.prompt.asked[1].text.startsWith(QStringLiteral("Die Datei erster.DRI kann nicht angelegt werden:")));
    EXPECT_TRUE(rig.prompt.asked[1].text.endsWith(QStringLiteral("\nBitte eine andere Datei wählen !")));
    EXPECT_EQ(rig.prompt.asked[1].caption, "Fehler");
    EXPECT_EQ(rig.prompt.asked[1].icon, PromptIcon::Error);
    EXPECT_EQ(rig.host.calls.size(), 2);  // no editing on "No"
    EXPECT_EQ(QFileInfo(good).size(), 3341 + 3 * 124);

    // A cancelled dialog saves nothing.
    LeaveRig cancelled;
    cancelled.receiveRun(3);
    EXPECT_FALSE(LeaveActualRun(cancelled.capture, cancelled.ctx, cancelled.prompt, cancelled.host));
    EXPECT_TRUE(QDir(cancelled.dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(LeaveCapture, NothingToSaveLeavesAtOnce)
{
    // The setting is off.
    LeaveRig off;
    off.ctx.settings.AskSaveCapture = 0;
    off.receiveRun(3);
    EXPECT_FALSE(LeaveActualRun(off.capture, off.ctx, off.prompt, off.host));
    EXPECT_TRUE(off.prompt.asked.empty());
    EXPECT_TRUE(off.host.calls.isEmpty());
    EXPECT_EQ(off.printCommandSent(), 3);

    // No second received.
    LeaveRig empty;
    empty.receiveRun(0);
    EXPECT_FALSE(LeaveActualRun(empty.capture, empty.ctx, empty.prompt, empty.host));
    EXPECT_TRUE(empty.prompt.asked.empty());

    // A QSW run has no link to stop.
    LeaveRig qsw(-1);
    qsw.capture.Start(DisplayMode::RunQsw);
    EXPECT_FALSE(LeaveActualRun(qsw.capture, qsw.ctx, qsw.prompt, qsw.host));
    EXPECT_EQ(qsw.printCommandSent(), -1);
}

}  // namespace

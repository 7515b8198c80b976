// "Beenden" after a received run, without a window: stop, names question, saving.

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

// A received run and the window side of leaving, which records what it is asked.
struct LeaveRig : CaptureRig, CaptureLeaveHost {
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    QStringList calls;
    QStringList paths;  // answers of the save dialog, in order; then cancel

    explicit LeaveRig(int seconds, DisplayMode mode = DisplayMode::RunKvx)
    {
        ctx.settings.ActualRunDir = dir.path();
        ctx.settings.AskSaveCapture = 1;
        capture.Start(mode);
        for (const QByteArray &line : transcriptLines(kKvxTranscript))
            if (capture.RowCount() < seconds)
                this->line(line);
    }
    bool leave() { return LeaveActualRun(capture, ctx, prompt, *this); }
    void editGroupNames() override
    {
        calls << QStringLiteral("edit");
        TextToField10(QStringLiteral("K1 West"), ctx.data.GroupNames[0]);
    }
    void redrawShownPage() override { calls << QStringLiteral("redraw"); }
    QString chooseSaveFile(const QString &startDir, const QString &proposedName) override
    {
        calls << QStringLiteral("save %1 %2").arg(startDir, proposedName);
        return paths.isEmpty() ? QString() : paths.takeFirst();
    }
};

TEST(LeaveCapture, AsksForTheNamesThenSavesTheRun)
{
    LeaveRig rig(30);
    const QString path = rig.dir.filePath(QStringLiteral("DrIst1.DRI"));
    rig.paths << path;
    EXPECT_TRUE(rig.leave());
    EXPECT_EQ(rig.printCommandSent(), 3);  // the controller stops printing
    ASSERT_EQ(rig.prompt.texts(), QStringList({"Gruppenbezeichnungen editieren ?"}));
    EXPECT_TRUE(rig.prompt.asked[0].caption == "Bitte angeben" && rig.prompt.asked[0].buttons == PromptButtons::YesNo);
    EXPECT_EQ(rig.calls, QStringList({"edit", "redraw", "save " + rig.dir.path() + " DrIst1"}));
    EXPECT_EQ(fieldText(rig.capture.chart().GroupNames[0]), "K1 West");  // the redraw shows the new name
    const QByteArray saved = readBytes(path);
    EXPECT_EQ(saved.size(), 3341 + 30 * 124);
    EXPECT_EQ(saved.mid(124, 10), "K1 West   ");
}

TEST(LeaveCapture, FailedSaveIsReportedAndTheDialogComesAgainUntilCancelled)
{
    LeaveRig rig(3);
    rig.prompt.answers = {PromptAnswer::No, PromptAnswer::No};
    const QString good = rig.dir.filePath(QStringLiteral("zweiter.DRI"));
    rig.paths << rig.dir.filePath(QStringLiteral("fehlt/erster.DRI")) << good;
    EXPECT_TRUE(rig.leave());
    ASSERT_EQ(rig.prompt.asked.size(), 2u);
    EXPECT_TRUE(rig.prompt.asked[1].text.startsWith(QStringLiteral("Die Datei erster.DRI kann nicht angelegt werden:")));
    EXPECT_TRUE(rig.prompt.asked[1].text.endsWith(QStringLiteral("\nBitte eine andere Datei wählen !")));
    EXPECT_TRUE(rig.prompt.asked[1].caption == "Fehler" && rig.prompt.asked[1].icon == PromptIcon::Error);
    EXPECT_EQ(rig.calls.size(), 2);  // no editing on "No"
    EXPECT_EQ(QFileInfo(good).size(), 3341 + 3 * 124);
    EXPECT_FALSE(rig.leave());  // cancelled: nothing saved
    EXPECT_EQ(QDir(rig.dir.path()).entryList(QDir::Files), QStringList({"zweiter.DRI"}));
}

// Setting off or no second: nobody is asked; a KVX controller is still stopped, a QSW one has no link.
TEST(LeaveCapture, NothingToSaveLeavesAtOnce)
{
    for (const int seconds : {3, 0, -1}) {
        LeaveRig rig(seconds, seconds >= 0 ? DisplayMode::RunKvx : DisplayMode::RunQsw);
        rig.ctx.settings.AskSaveCapture = seconds > 0 ? 0 : 1;
        EXPECT_FALSE(rig.leave()) << seconds;
        EXPECT_TRUE(rig.prompt.asked.empty() && rig.calls.isEmpty()) << seconds;
        EXPECT_EQ(rig.printCommandSent(), seconds >= 0 ? 3 : -1) << seconds;
    }
}

}  // namespace

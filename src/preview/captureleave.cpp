#include "preview/captureleave.h"

#include "actual/actualrunfile.h"

const QString kEditGroupNamesQuestion = QStringLiteral("Gruppenbezeichnungen editieren ?");

namespace {
const QString kProposedName = QStringLiteral("DrIst1");
}  // namespace

bool LeaveActualRun(ActualRunCapture &capture, AppContext &ctx, Prompt &prompt, CaptureLeaveHost &host)
{
    capture.Finish();
    if (!ctx.settings.AskSaveCapture || capture.RowCount() == 0 || !IsLiveMode(capture.mode()))
        return false;

    if (prompt.ask(kEditGroupNamesQuestion, QStringLiteral("Bitte angeben"), PromptIcon::Question,
                   PromptButtons::YesNo)
        == PromptAnswer::Yes) {
        host.editGroupNames();
        capture.RefreshGroupNames();
        host.redrawShownPage();
    }

    for (;;) {
        const QString path = host.chooseSaveFile(ctx.settings.ActualRunDir, kProposedName);
        if (path.isEmpty())
            return false;
        ActualRun run = capture.run();
        run.GroupNames = ctx.data.GroupNames;
        QString error;
        if (WriteActualRunFile(path, run, &error))
            return true;
        prompt.tell(error + QStringLiteral("\nBitte eine andere Datei wählen !"), QStringLiteral("Fehler"),
                    PromptIcon::Error);
    }
}

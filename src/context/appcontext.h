#pragma once
// The program-wide state: created once in main and handed to every window
// and command that needs it.

#include "actual/actualrun.h"
#include "actual/actualruncapture.h"
#include "actual/actualrunfile.h"
#include "base/appsettings.h"
#include "data/installationdata.h"
#include "data/installationtype.h"
#include "link/startrequesthandshake.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

struct PortFlags {
    bool ControllerPortFailed = false;
    bool PrinterPortFailed = false;
    bool ControllerPortReopen = true;
    bool PrinterPortReopen = true;
};

struct AppContext {
    AppSettings settings;
    InstallationData data;
    PortFlags ports;

    QString StartupDir;
    // The folder of the program file: the installed or built manual lies beside it.
    QString ProgramDir;
    QString CurrentDataDir;
    QString LastDataDir;
    QString InstallationName;
    bool DataIsNew = true;
    bool StartupDone = false;
    ::ControllerFamily ControllerFamily = ::ControllerFamily::NotSet;  // until the first display refresh

    // Between a KVX capture and the main window's link polling.
    StartRequestHandshake StartRequest;

    // The run of the last capture or loaded file. Its header data outlast the
    // preview window: a printout's header sets only the fields it prints, the
    // others keep what the previous printout (or file) left.
    ActualRun CaptureRun;

    // The installation loaded when an actual run was last opened ("Ist"
    // starts from new data): the plan the preview compares the run with.
    std::optional<InstallationData> PlanToCompare;

    CaptureContext captureContext()
    {
        return {settings, data, ControllerFamily, CaptureRun, StartRequest};
    }
};

// "Aus Datei laden": the file's run becomes the program's run and its group
// names the installation's; a refused file leaves both as they were.
inline bool LoadRunFromFile(AppContext &ctx, const QString &path, ChartData &chart, QString *error)
{
    if (!LoadActualRunChart(path, chart, ctx.CaptureRun, error))
        return false;
    ctx.data.GroupNames = ctx.CaptureRun.GroupNames;
    return true;
}

// The printer-stream port is chosen and was opened.
inline bool printerPortUsable(const AppContext &ctx)
{
    return ctx.settings.PrinterPortIndex >= 0 && !ctx.ports.PrinterPortFailed;
}

// The COM numbers this program holds open now, so that nobody probes them.
inline QList<int> heldComNumbers(const AppContext &ctx)
{
    QList<int> held;
    if (printerPortUsable(ctx))
        held << ctx.settings.PrinterPortIndex + 1;
    if (ctx.settings.ControllerPortIndex >= 0 && !ctx.ports.ControllerPortFailed)
        held << ctx.settings.ControllerPortIndex + 1;
    return held;
}

#pragma once
// The headless commands of the signovat binary. Each command gets the
// arguments after its name, prints one clear line on stderr for bad input and
// returns the process exit code.

#include "app/commandoptions.h"

#include <QString>
#include <QStringList>

class PrintSpooler;

struct CommandEnvironment {
    QString settingsFile;             // the per-user settings store in force
    PrintSpooler *spooler = nullptr;  // the system's print spooler
};

using CommandFunction = int (*)(const QStringList &args, const CommandEnvironment &env);

struct CommandEntry {
    const char *name;
    const char *usage;    // one line, shown by --help
    CommandFunction run;
};

// Every command the binary knows, in --help order.
const CommandEntry *findCommand(const QString &name);
QString commandUsage();

// Says why a command cannot go on, as "signovat COMMAND: reason" on stderr;
// returns 1, the exit status.
int refuseCommand(const char *command, const QString &reason);

// Parses args into a command's options and runs it on them; options that do
// not parse are refused.
template <class Options, class Run>
int parseThenRun(const char *command, const QStringList &args,
                 bool (*parse)(const QStringList &, Options &, QString *), Run run)
{
    Options options;
    QString error;
    if (!parse(args, options, &error))
        return refuseCommand(command, error);
    return run(options);
}

// The commands (one file each): the options parsed, then the command run on them.
int runInfoCommand(const QStringList &args, const CommandEnvironment &env);
int runSendPrintCommand(const QStringList &args, const CommandEnvironment &env);
int runStatesCommand(const QStringList &args, const CommandEnvironment &env);
int runRenderCommand(const QStringList &args, const CommandEnvironment &env);
int runCaptureCommand(const QStringList &args, const CommandEnvironment &env);
int runCompareCommand(const QStringList &args, const CommandEnvironment &env);
int runPrintCommand(const QStringList &args, const CommandEnvironment &env);
int runPrintersCommand(const QStringList &args, const CommandEnvironment &env);

int runInfo(const InfoOptions &options);
int runSendPrint(const SendPrintOptions &options, const CommandEnvironment &env);
int runStates(const ChartOptions &options);
int runRender(const RenderOptions &options, const CommandEnvironment &env);
int runCapture(const CaptureOptions &options, const CommandEnvironment &env);
int runCompare(const CompareOptions &options);
int runPrint(const PrintOptions &options, const CommandEnvironment &env);

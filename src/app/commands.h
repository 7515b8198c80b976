#pragma once
// The headless commands of the signovat binary. Each command gets the
// arguments after its name, prints one clear line on stderr for bad input and
// returns the process exit code.

#include <QString>
#include <QStringList>

struct CommandEnvironment {
    QString settingsFile;  // the per-user settings store in force
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

// The commands (one file each).
int runInfoCommand(const QStringList &args, const CommandEnvironment &env);
int runSendPrintCommand(const QStringList &args, const CommandEnvironment &env);
int runStatesCommand(const QStringList &args, const CommandEnvironment &env);
int runRenderCommand(const QStringList &args, const CommandEnvironment &env);
int runCaptureCommand(const QStringList &args, const CommandEnvironment &env);

#pragma once
// Small helpers shared by every window: the path helpers, the function keys
// of the secondary windows and the help document.

#include <QString>
#include <QStringList>
#include <functional>

// The name shown in the main window caption: the last component of the data
// folder when it has fewer than 30 characters, else empty.
QString InstallationNameOf(const QString &dataDir);

// A path that fits 270 pixels: unchanged when narrower, else its volume
// (the first folder below the root) + "/... /" + its last component, cut to
// 265 pixels and ended with "..." when still too wide. A path of one folder
// has nothing to leave out and is only cut.
QString ShortenPath(const QString &path, const std::function<int(const QString &)> &textWidth);

// What a secondary window does with a function key.
enum class FunctionKeyAction { PassOn, OpenHelp, RaiseMainWindow, Consume };
FunctionKeyAction HandleFunctionKeys(int qtKey);

// Where the help document is looked for, first found wins: a site's own
// "Ovex210.pdf" in the start directory, then the manual installed with the
// program (bin/../share/signovat), then the manual of the build tree the
// program was built in (src/app/../../docs/handbuch). Without a program
// folder only the start directory is looked in.
QStringList helpFileCandidates(const QString &startupDir, const QString &programDir);
// The first candidate that exists; empty when there is none.
QString findHelpFile(const QString &startupDir, const QString &programDir);
// Opens the help document found with the desktop's PDF viewer; nothing when there is none.
void OpenHelp(const QString &startupDir, const QString &programDir);

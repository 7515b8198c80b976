#pragma once
// Small helpers shared by every window: the path helpers, the function keys
// of the secondary windows and the help document.

#include <QString>
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

// The help document next to the program's start directory.
QString helpFilePath(const QString &startupDir);
// Opens the help document with the desktop's PDF viewer; nothing when it is missing.
void OpenHelp(const QString &startupDir);

#pragma once
// The program's version as the build sets it (CMake's project version).

#include <QString>

// "2.10.N", N the patch number.
QString programVersion();
// What "signovat --version" prints: name and version, then the Qt library
// the program runs on (which may be newer than the one it was built with).
QString versionText();

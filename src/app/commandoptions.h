#pragma once
// The options of the headless commands, each command's parsed into a plain
// struct without touching a file, a port or the settings. A refusal leaves
// one line in *error; the command prints it after "signovat <command>: ".

#include "base/appsettings.h"
#include "data/installationtype.h"
#include "render/displaymode.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

class DeviceSerialPort;

// --port COMn|DEVICE: "COM3" (any case, blanks after COM allowed) is a COM
// number the port map resolves, anything else a device path.
struct PortSelection {
    int comNumber = -1;
    QString devicePath;
    bool isEmpty() const { return comNumber < 0 && devicePath.isEmpty(); }
};
PortSelection portSelectionOf(const QString &text);
void selectPort(DeviceSerialPort &port, const PortSelection &selection);
// Why the port did not open, in one line: its error, then the cause and what to do.
QString portOpenFailure(const DeviceSerialPort &port);

// --version 6.00 … 6.30 and --family 1|2 of the controller link.
struct LinkOptions {
    std::optional<uint8_t> checksumSeed;
    std::optional<ControllerFamily> family;
};

struct InfoOptions {
    QString dataDir;
};

// --data DIR --program N [--chart KIND] | --run FILE.DRI
struct ChartOptions {
    bool fromRun = false;
    QString runFile;
    QString dataDir;
    int program = 0;
    DisplayMode kind = DisplayMode::TargetPlan;
};

struct RenderOptions {
    ChartOptions chart;
    QString out;
    enum class Format { Pdf, Png, Svg } format = Format::Pdf;  // PNG, SVG: one file per page
    std::optional<bool> colour;    // --colour / --bw
    int width = 0;                 // of the PNGs or SVGs
    std::optional<QString> pages;  // all pages without
    std::optional<QString> compareDir;  // a run's deviations from this data set's plans
};

// print [--printer NAME] [--copies N] [--pages LIST] [--bw|--colour] and a chart
struct PrintOptions {
    ChartOptions chart;
    std::optional<QString> printer;  // else the default queue
    int copies = 1;
    std::optional<QString> pages;
    std::optional<bool> colour;
};

struct SendPrintOptions {
    uint8_t printCode = 2;  // 2 start, 3 stop
    PortSelection port;
    ProtocolVariant variant = ProtocolVariant::Kvx40;
    LinkOptions link;
};

struct CaptureOptions {
    DisplayMode mode = DisplayMode::RunSimulation;
    QString out;
    std::optional<QString> simDir;
    std::optional<PortSelection> printerPort;     // else the settings' port
    std::optional<PortSelection> controllerPort;  // else the settings' port
    int minutes = 0;                              // 0: until the printout ends
    LinkOptions link;
    std::optional<QString> namesFile;
};

// --data DIR --run FILE.DRI [--csv]
struct CompareOptions {
    QString dataDir;
    QString runFile;
    bool csv = false;
};

bool parseInfoOptions(const QStringList &args, InfoOptions &out, QString *error);
bool parseStatesOptions(const QStringList &args, ChartOptions &out, QString *error);
bool parseRenderOptions(const QStringList &args, RenderOptions &out, QString *error);
bool parsePrintOptions(const QStringList &args, PrintOptions &out, QString *error);
bool parseSendPrintOptions(const QStringList &args, SendPrintOptions &out, QString *error);
bool parseCaptureOptions(const QStringList &args, CaptureOptions &out, QString *error);
bool parseCompareOptions(const QStringList &args, CompareOptions &out, QString *error);

// The main window's start: "signovat FILE.DRI" opens that run, as a file
// manager calls the program; any case of the extension.
bool isRunFileArgument(const QString &arg);
// --preview N: program N (1 … 6) of the --data DIR, which it needs.
bool parsePreviewProgram(const QString &value, bool withDataDir, int *program, QString *error);

// --pages "1,3-4" of a chart of pageCount pages -> {1, 3, 4}, ascending, each
// page once.
bool parsePageList(const QString &list, int pageCount, QList<int> &pages, QString *error);

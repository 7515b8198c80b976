#pragma once
// One actual run as the capture collects it and the actual-run file holds
// it: the header data parsed from the controller's printout, the group names,
// and one ChartRow per received second.

#include "data/installationdata.h"
#include "render/chartdata.h"
#include "render/chartrow.h"

#include <QString>
#include <array>
#include <vector>

// A run holds at most 1200 seconds: the twelve chart pages the preview and
// the print selection have room for.
constexpr int kMaxRunRows = 1200;

// The controller modes: the printer stream comes in on a serial port.
bool IsControllerMode(DisplayMode mode);
// The KVX modes: the controller link starts and stops the printout.
bool IsKvxMode(DisplayMode mode);
// Every mode that receives a run (controllers and the simulation program).
bool IsLiveMode(DisplayMode mode);

// Line settings of the printer-stream port (8 data bits, even parity).
struct StreamPortSettings {
    int baudRate = 1200;
    int stopBits = 2;
};
StreamPortSettings StreamPortSettingsFor(DisplayMode mode);
// Baud rate of the controller link while a KVX run is received.
int ControllerLinkBaudFor(DisplayMode mode);

// The source named on the printed pages: "(Ist-Druck, KVX)", "(Ist-Druck,
// QSW)" or "(Ist-Druck, Sim. Programm)"; a file names itself.
QString SourceTextFor(DisplayMode mode);
QString FileSourceText(const QString &fileName);

template <std::size_t N> using FixedText = std::array<char, N>;

// Fixed-width fields are blank-padded Windows-1252, without terminator.
template <std::size_t N> FixedText<N> BlankText()
{
    FixedText<N> text;
    text.fill(' ');
    return text;
}

struct ActualRun {
    // CaptureHeaderRecord in the installation header layout; its
    // FixedTimeMode byte (offset 100) is the header mode byte: 1 when the
    // printout carried the maker banner (header ends at " Gruppe"), 0 when it
    // carried the legend line (header ends at " V.>Max").
    InstallationHeader HeaderRecord{};
    // CaptureProgramRecord in the signal program layout: the parameter and
    // group flag lines of the header.
    SignalProgram ProgramRecord{};
    std::array<GroupName, kGroupCount> GroupNames = blankNames();
    FixedText<8> ProgramName = BlankText<8>();
    FixedText<10> ControllerTypeText = BlankText<10>();
    FixedText<13> BannerText = BlankText<13>();  // the last 4 are the software version
    FixedText<14> PrintDateText = BlankText<14>();
    int32_t StartProgram = 0;      // program of the first second
    int32_t ShownGroups = 0;       // group rows drawn
    int32_t HeaderGroupCount = 0;  // group count of the header
    std::vector<ChartRow> Rows;    // at most kMaxRunRows

    static std::array<GroupName, kGroupCount> blankNames()
    {
        std::array<GroupName, kGroupCount> names;
        for (GroupName &name : names)
            name.fill(' ');
        return names;
    }
};

// The program name without its padding; empty when it is all blanks.
QString ProgramNameText(const ActualRun &run);

// Copies the header data of a run (everything but the rows) into an
// actual-run chart.
void SetChartHeader(ChartData &chart, const ActualRun &run);
// The part of it that data lines change: the shown groups and the program
// of the first second.
void SetChartRunProgress(ChartData &chart, const ActualRun &run);

// The chart of a whole run: every page of it as the renderer draws it.
// streamGroupCount is the group count of the last data line (for a file:
// its ShownGroups).
ChartData ActualRunChart(const ActualRun &run, DisplayMode mode, const QString &sourceText,
                         int streamGroupCount);

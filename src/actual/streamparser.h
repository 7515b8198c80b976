#pragma once
// The lines of a controller's printout: the header lines that fill a run's
// header data, and the data lines, one per second, with the state of every
// group. Columns are 1-based as the printout counts them.

#include "actual/actualrun.h"
#include "render/signalstate.h"

#include <QByteArray>

// The state a two-character state text stands for ("R ", "Gr", "RG", "Ge",
// "B ", "RD", "RB", "GD", "GB"); anything else is dark.
SignalState StateOf(char first, char second);

class StreamParser {
public:
    // The parser fills run's header fields, ShownGroups, HeaderGroupCount and
    // StartProgram; it never touches the rows.
    explicit StreamParser(ActualRun &run) : run_(run) {}

    // The simulation program prints a file path in the program name line.
    void setSimulation(bool on) { simulation_ = on; }

    // Whether the line was taken as a header line.
    bool ParseHeaderLine(const QByteArray &line);
    // Whether the line is a data line; if so, its states are current.
    bool ParseDataLine(const QByteArray &line);

    // The line that ends the header: " Gruppe" when the header mode byte is
    // set, " V.>Max" when it is clear.
    bool EndsHeader(const QByteArray &line) const;

    // The last header line was the separator that opens a printout: the
    // received-data window starts afresh with it.
    bool OpensPrintout() const { return opensPrintout_; }

    // Forgets the run's progress (a new printout): the next data line is its
    // first second again.
    void Restart();

    // The second of the last data line as a row: its states and detector
    // marks for the groups it carried, its program number.
    ChartRow CurrentRow() const;
    int CurrentProgram() const { return currentProgram_; }
    int StreamGroupCount() const { return streamGroupCount_; }
    bool HeaderSeen() const { return headerSeen_; }

private:
    void setModeByte(uint8_t value) { run_.HeaderRecord.FixedTimeMode = value; }
    void takeProgramName(const QByteArray &line);

    ActualRun &run_;
    bool simulation_ = false;
    bool opensPrintout_ = false;
    bool headerSeen_ = false;
    bool firstDataLineSeen_ = false;
    int currentProgram_ = 0;
    int streamGroupCount_ = 0;
    PerGroup<SignalState> currentStates_{};
    PerGroup<uint8_t> detectorMarks_{};
};

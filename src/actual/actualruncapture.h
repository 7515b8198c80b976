#pragma once
// The capture of an actual run: the printer stream of a controller (or the
// files of the simulation program) turned, tick by tick, into the run's
// header data and one row per second, with the start and stop requests to a
// KVX controller and the messages of the capture.
//
// The preview window owns the capture timer (100 ms) and forwards each tick
// to ScanDataTimer(); it shows what the returned CaptureUpdate and the
// accessors say, the tick's message included. Nothing here draws or shows:
// chart() is the chart the window draws with the renderer.
//
// The run itself is the program's (CaptureContext::run): each capture
// starts with the header data the last printout or loaded file left, field
// by field, as a controller's partial header expects.

#include "actual/actualrun.h"
#include "actual/linereceiver.h"
#include "actual/simulationfiles.h"
#include "actual/streamparser.h"
#include "base/appsettings.h"
#include "base/message.h"
#include "data/installationtype.h"
#include "link/startrequesthandshake.h"
#include "render/chartdata.h"

#include <QDateTime>
#include <QStringList>
#include <functional>
#include <optional>

class ControllerLink;
class SerialPort;

extern const QString kNoDataMessage;          // KVX controller silent for about five seconds
extern const QString kPrintoutActiveMessage;  // a data line before any header
extern const QString kPortLostMessage;        // the printer-stream port went away

// The ports a controller capture uses. The printer-stream port is opened by
// the caller; the link is used in the KVX modes when a controller port is
// configured (its port is switched to the mode's baud rate).
struct CapturePorts {
    SerialPort *printer = nullptr;
    SerialPort *controller = nullptr;
    ControllerLink *link = nullptr;
};

// What a capture uses of the program-wide state.
struct CaptureContext {
    const AppSettings &settings;        // simulation folder, controller port, automatic end
    const InstallationData &data;       // the group names
    const ControllerFamily &family;     // the rows a controller's run starts with
    ActualRun &run;                     // continues the header data of the last run
    StartRequestHandshake &startRequest;
};

// What one tick changed, for the window to show.
struct CaptureUpdate {
    bool receiving = false;     // characters wait at the port: "Empfang:" lamp green, else white
    bool linesChanged = false;  // receivedLines() changed
    bool chartStarted = false;  // first second of a run: show chart page 2 from second 0,
                                // clear the page selection, show the cursor line
    bool rowAdded = false;      // redraw the shown chart page, labels and paging buttons
    int pageTurnTo = -1;        // >= 0: the shown page is full, the view follows to the
                                // page starting at this second ("Dr." unticked)
    bool cleared = false;       // the run was cleared (a new printout): back to the overview
                                // page, paging, measuring point and page selection reset
    std::optional<Message> message;  // to show once the tick is over
    bool closeWindow = false;   // the capture gave up: close after the message
    bool portLost = false;      // the port went away; the rows so far are kept
    bool printoutEnded = false; // with endAtNewPrintout: the next printout began
};

// Where the view goes when a row is added: the start of the next page when
// the shown page has just been filled (rowCount rows before the new one),
// else pageStartSecond unchanged. A user who paged elsewhere stays there.
int FollowedPageStart(int rowCount, int pageStartSecond);

class ActualRunCapture {
public:
    // Ticks without a line after which a KVX controller is asked to print,
    // and after which the capture gives up.
    static constexpr int kStartRequestTicks = 15;
    static constexpr int kGiveUpTicks = 51;
    // Lines shorter than this, in the data phase, are the blank lines that
    // end a printout; longer ones that are no data line start a new one,
    // unless control characters show them to be noise.
    static constexpr int kShortestPrintoutLine = 12;
    static constexpr int kMaxHeaderLines = 200;  // of the simulation's header file

    explicit ActualRunCapture(CaptureContext ctx, CapturePorts ports = {});

    // Starts a capture in one of the live modes (DisplayMode::RunKvx, DisplayMode::RunQsw,
    // DisplayMode::RunSimulation, RunKvx40At…): sets the ports up, clears the rows.
    void Start(DisplayMode mode);
    // One tick of the capture timer. pageStartSecond is the first second of
    // the chart page the window shows.
    CaptureUpdate ScanDataTimer(int pageStartSecond);
    // Ends the capture: no more ticks; a KVX controller is asked to stop printing.
    void Finish();

    // For a headless capture: a new printout (or a new header file) ends the
    // capture with the rows it has instead of clearing them.
    void setEndAtNewPrintout(bool on) { endAtNewPrintout_ = on; }
    // The clock the simulation's start stamp is taken from.
    void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }

    // The installation's group names were edited: the chart shows the new ones.
    void RefreshGroupNames();

    DisplayMode mode() const { return mode_; }
    bool running() const { return running_; }
    bool dataPhase() const { return dataPhase_; }
    bool chartReady() const { return chartReady_; }
    bool portLost() const { return portLost_; }
    bool printoutEnded() const { return printoutEnded_; }
    int RowCount() const { return int(run_.Rows.size()); }
    // Data lines that came after the run was full and were not kept.
    int DroppedSeconds() const { return droppedSeconds_; }
    int PageCount() const;
    int CurrentProgram() const { return parser_.CurrentProgram(); }
    bool printButtonsEnabled() const { return printButtons_; }
    const QString &caption() const { return caption_; }
    // The received-data window: the last ten lines.
    const QStringList &receivedLines() const { return receivedLines_; }

    const ActualRun &run() const { return run_; }
    const ChartData &chart() const { return chart_; }

private:
    CaptureUpdate controllerTick(int pageStartSecond);
    CaptureUpdate simulationTick(int pageStartSecond);
    void dataLine(const QByteArray &line, int pageStartSecond, CaptureUpdate &u);
    void headerPhaseLine(const QByteArray &line, CaptureUpdate &u);
    void setUpChart(CaptureUpdate &u);
    void addRow(int pageStartSecond, CaptureUpdate &u);
    void clearRun();
    void restart();
    void showReceived(const QByteArray &line, bool startAfresh);
    void syncChartHeader();
    bool linkInUse() const;
    bool printerPortGone() const;

    CaptureContext ctx_;
    CapturePorts ports_;
    std::function<QDateTime()> clock_ = [] { return QDateTime::currentDateTime(); };

    ActualRun &run_;
    ChartData chart_;
    StreamParser parser_;
    LineReceiver receiver_;
    SimulationFiles simFiles_{QString()};

    DisplayMode mode_ = DisplayMode::RunFromFile;
    bool running_ = false;
    bool dataPhase_ = false;
    bool chartReady_ = false;
    bool printButtons_ = false;
    bool endAtNewPrintout_ = false;
    bool printoutEnded_ = false;
    bool portLost_ = false;
    bool portWasOpen_ = false;
    int noDataTicks_ = 0;
    int droppedSeconds_ = 0;
    uint32_t simStartStamp_ = 0;
    uint32_t simHeaderStamp_ = 0;
    QString caption_;
    QStringList receivedLines_;
};

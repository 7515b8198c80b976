#include "actual/actualruncapture.h"

#include "data/textfield.h"
#include "link/controllerlink.h"
#include "render/pagecomposer.h"
#include "serial/serialport.h"

#include <algorithm>

const QString kNoDataMessage = QStringLiteral(
    "Es werden keine Daten zum Drucken empfangen !\nBitte Verbindung und Baudrateneinstellung prüfen !");
const QString kPrintoutActiveMessage =
    QStringLiteral("Es ist noch ein Druckvorgang aktiv!\nDieser muss zuerst beendet werden.\n");
const QString kPortLostMessage = QStringLiteral(
    "Die Verbindung zur Druckerschnittstelle ist unterbrochen !\n"
    "Der Empfang ist beendet, die bisher empfangenen Daten bleiben erhalten.");

namespace {

// Control characters (other than tab and form feed) never appear in a
// printout: a line with them was disturbed on the line.
bool IsDisturbedLine(const QByteArray &line)
{
    return std::any_of(line.begin(), line.end(), [](char c) {
        const auto u = uint8_t(c);
        return (u < 0x20 && c != '\t' && c != '\f') || u == 0x7f;
    });
}

const QString kFehler = QStringLiteral("Fehler");
const QString kZugriffsfehler = QStringLiteral("Zugriffsfehler");
const Message kPrintoutActive{kPrintoutActiveMessage, kFehler, PromptIcon::Error};

const QString kCaptionWaitingController =
    QStringLiteral("Drucker Vorschau grafisch Ist-Druck Steuerung - Erwarte Daten");
const QString kCaptionWaitingSimulation =
    QStringLiteral("Drucker Vorschau grafisch Ist-Druck Simulation - Erwarte Daten");
const QString kCaptionHeader = QStringLiteral("Drucker Vorschau grafisch Ist Druck Steuerung - Empfange Kopf-Daten");
const QString kCaptionData = QStringLiteral("Drucker Vorschau grafisch Ist Druck Steuerung - Empfange Daten");
const QString kCaptionRestart = QStringLiteral("Drucker Vorschau grafisch Ist Druck Steuerung - Erwarte Daten");
const QString kCaptionSimulation = QStringLiteral("Drucker Vorschau Ist-Druck Simulation");

constexpr int kReceivedLinesShown = 10;
constexpr uint8_t kPrintStart = 2;
constexpr uint8_t kPrintStop = 3;

QString withProgramName(const QString &caption, const QString &name)
{
    return name.isEmpty() ? caption : caption + QStringLiteral(" - ") + name;
}
}  // namespace

int FollowedPageStart(int rowCount, int pageStartSecond)
{
    if (rowCount < 1 || rowCount >= kMaxRunRows)
        return pageStartSecond;
    const bool pageEnd = (pageStartSecond % 100 == 0 && rowCount % 100 == 0)
                         || (pageStartSecond % 100 == 50 && rowCount % 100 == 50);
    return pageEnd && rowCount - pageStartSecond == 100 ? pageStartSecond + 100 : pageStartSecond;
}

ActualRunCapture::ActualRunCapture(CaptureContext ctx, CapturePorts ports)
    : ctx_(ctx), ports_(ports), run_(ctx.run), parser_(run_)
{
}

void ActualRunCapture::Start(DisplayMode mode)
{
    mode_ = mode;
    running_ = IsLiveMode(mode);
    dataPhase_ = false;
    chartReady_ = false;
    printButtons_ = false;
    printoutEnded_ = false;
    portLost_ = false;
    droppedSeconds_ = 0;
    receivedLines_.clear();
    run_.ProgramName = BlankText<8>();
    // What the parser counts belongs to this capture, not to the header data.
    run_.StartProgram = 0;
    run_.HeaderGroupCount = 0;
    run_.ShownGroups = ShownGroupsOf(ctx_.family);
    run_.GroupNames = ctx_.data.GroupNames;
    parser_.setSimulation(mode == DisplayMode::RunSimulation);
    parser_.Restart();
    clearRun();
    chart_ = ActualRunChart(run_, mode, SourceTextFor(mode), 0);

    if (mode == DisplayMode::RunSimulation) {
        simFiles_ = SimulationFiles(ctx_.settings.SimulatorWorkDir);
        simFiles_.DeleteAll();
        caption_ = kCaptionWaitingSimulation;
        simStartStamp_ = PackedStamp(clock_());
        simHeaderStamp_ = 0;
        return;
    }
    if (!IsControllerMode(mode) || !ports_.printer)
        return;
    caption_ = kCaptionWaitingController;
    receiver_.clear();
    SerialPort &port = *ports_.printer;
    const StreamPortSettings settings = StreamPortSettingsFor(mode);
    port.setBaudRate(settings.baudRate);
    port.setStopBits(settings.stopBits);
    port.flushInput();
    portWasOpen_ = port.isOpen();
    if (linkInUse()) {
        if (ports_.controller) {
            ports_.controller->setBaudRate(ControllerLinkBaudFor(mode));
            ports_.controller->flushOutput();
        }
        ctx_.startRequest.waitForData();
        noDataTicks_ = 0;
    }
}

bool ActualRunCapture::linkInUse() const
{
    return IsKvxMode(mode_) && ports_.link && ctx_.settings.ControllerPortIndex >= 0;
}

bool ActualRunCapture::printerPortGone() const
{
    return portWasOpen_ && (!ports_.printer->isOpen() || ports_.printer->lost());
}

void ActualRunCapture::Finish()
{
    running_ = false;
    // Nobody waits any more: a later capture of a controller without link
    // must not time out on this one's account.
    ctx_.startRequest.stopWaiting();
    if (linkInUse())
        ports_.link->RequestPrint(kPrintStop, 0, 0);
}

void ActualRunCapture::RefreshGroupNames()
{
    run_.GroupNames = ctx_.data.GroupNames;
    chart_.GroupNames = run_.GroupNames;
}

int ActualRunCapture::PageCount() const
{
    return chartReady_ ? ::PageCount(std::max(RowCount(), 1)) : 1;
}

CaptureUpdate ActualRunCapture::ScanDataTimer(int pageStartSecond)
{
    if (!running_)
        return {};
    if (run_.GroupNames != ctx_.data.GroupNames)
        RefreshGroupNames();
    return mode_ == DisplayMode::RunSimulation ? simulationTick(pageStartSecond) : controllerTick(pageStartSecond);
}

CaptureUpdate ActualRunCapture::controllerTick(int pageStartSecond)
{
    CaptureUpdate u;
    if (!ports_.printer)
        return u;
    SerialPort &port = *ports_.printer;
    if (printerPortGone()) {
        running_ = false;
        portLost_ = true;
        u.portLost = true;
        u.message = Message{kPortLostMessage, kZugriffsfehler, PromptIcon::Error};
        return u;
    }
    u.receiving = port.bytesWaiting() > 0;
    const std::optional<QByteArray> line = receiver_.nextLine(port);
    if (!line) {
        if (!ctx_.startRequest.waitingForData())
            return u;
        if (noDataTicks_ == kStartRequestTicks && linkInUse()) {
            ports_.link->RequestPrint(kPrintStart, 0, 0);
            ctx_.startRequest.startRequested();
        }
        if (++noDataTicks_ < kGiveUpTicks)
            return u;
        ctx_.startRequest.stopWaiting();
        running_ = false;
        u.closeWindow = true;
        u.message = Message{kNoDataMessage, kFehler, PromptIcon::Error};
        return u;
    }

    ctx_.startRequest.stopWaiting();
    showReceived(*line, false);
    u.linesChanged = true;
    if (dataPhase_)
        dataLine(*line, pageStartSecond, u);
    else
        headerPhaseLine(*line, u);
    return u;
}

void ActualRunCapture::dataLine(const QByteArray &line, int pageStartSecond, CaptureUpdate &u)
{
    printButtons_ = true;
    if (parser_.ParseDataLine(line)) {
        if (!chartReady_)
            setUpChart(u);
        addRow(pageStartSecond, u);
        caption_ = withProgramName(kCaptionData, ProgramNameText(run_));
        if (linkInUse() && ctx_.settings.AutoEndCapture && ctx_.settings.CaptureMinutes * 60 <= RowCount())
            ports_.link->RequestPrint(kPrintStop, 0, 0);
        return;
    }
    if (line.size() < kShortestPrintoutLine)
        return;  // the blank lines that end a printout
    if (IsDisturbedLine(line))
        return;  // noise, not the next printout: the run is kept
    if (endAtNewPrintout_) {
        running_ = false;
        printoutEnded_ = true;
        u.printoutEnded = true;
        return;
    }
    restart();
    u.cleared = true;
}

void ActualRunCapture::headerPhaseLine(const QByteArray &line, CaptureUpdate &u)
{
    if (line.startsWith(" P")) {
        // The controller was already printing a run whose header was missed.
        running_ = false;
        u.closeWindow = true;
        u.message = kPrintoutActive;
        return;
    }
    if (parser_.ParseHeaderLine(line))
        caption_ = kCaptionHeader;
    if (parser_.OpensPrintout())
        showReceived(line, true);
    dataPhase_ = parser_.EndsHeader(line);
    syncChartHeader();
}

void ActualRunCapture::showReceived(const QByteArray &line, bool startAfresh)
{
    if (startAfresh)
        receivedLines_.clear();
    while (receivedLines_.size() >= kReceivedLinesShown)
        receivedLines_.removeFirst();
    receivedLines_ << fromCp1252(line.constData(), line.size());
}

void ActualRunCapture::setUpChart(CaptureUpdate &u)
{
    clearRun();
    chartReady_ = true;
    u.chartStarted = true;
}

void ActualRunCapture::addRow(int pageStartSecond, CaptureUpdate &u)
{
    const int before = RowCount();
    const int follow = FollowedPageStart(before, pageStartSecond);
    if (follow != pageStartSecond)
        u.pageTurnTo = follow;
    SetChartRunProgress(chart_, run_);
    chart_.ActiveGroupCount = parser_.StreamGroupCount();
    if (before >= kMaxRunRows) {
        ++droppedSeconds_;
        return;
    }
    const ChartRow row = parser_.CurrentRow();
    run_.Rows.push_back(row);
    chart_.Rows.push_back(row);
    u.rowAdded = true;
}

void ActualRunCapture::clearRun()
{
    run_.Rows.clear();
    run_.Rows.reserve(kMaxRunRows);
    chart_.Rows.clear();
    chart_.Rows.reserve(kMaxRunRows);
}

void ActualRunCapture::restart()
{
    parser_.Restart();
    dataPhase_ = false;
    chartReady_ = false;
    printButtons_ = false;
    clearRun();
    syncChartHeader();
    caption_ = kCaptionRestart;
}

void ActualRunCapture::syncChartHeader()
{
    SetChartHeader(chart_, run_);
    chart_.ActiveGroupCount = parser_.StreamGroupCount();
}

CaptureUpdate ActualRunCapture::simulationTick(int pageStartSecond)
{
    CaptureUpdate u;
    uint32_t stamp = 0;
    const int chosen = simFiles_.ChooseNext(simStartStamp_, simHeaderStamp_, &stamp);
    if (chosen < 0)
        return u;

    if (chosen == SimulationFiles::kHeaderFile) {
        simHeaderStamp_ = stamp;
        dataPhase_ = true;
        if (endAtNewPrintout_ && RowCount() > 0) {
            // The header of the next run stays for whoever captures it.
            running_ = false;
            printoutEnded_ = true;
            u.printoutEnded = true;
            return u;
        }
        // A new header starts a new run.
        parser_.Restart();
        for (const QByteArray &line : simFiles_.ReadLines(chosen, kMaxHeaderLines))
            parser_.ParseHeaderLine(line);
        simFiles_.Delete(chosen);
        chartReady_ = false;
        clearRun();
        syncChartHeader();
        u.cleared = true;
        caption_ = withProgramName(kCaptionSimulation, ProgramNameText(run_));
        printButtons_ = true;
        return u;
    }

    if (dataPhase_) {
        const QList<QByteArray> lines = simFiles_.ReadLines(chosen, 1);
        simFiles_.Delete(chosen);
        // A file without a data line adds no second: it would repeat the
        // previous one as if it had been received.
        if (lines.isEmpty() || !parser_.ParseDataLine(lines.first()))
            return u;
        if (!chartReady_)
            setUpChart(u);
        addRow(pageStartSecond, u);
        return u;
    }

    // A data file before any header: the simulation was already running.
    u.message = kPrintoutActive;
    simFiles_.DeleteAll();
    return u;
}

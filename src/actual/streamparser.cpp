#include "actual/streamparser.h"

#include <algorithm>
#include <optional>

namespace {

bool begins(const QByteArray &line, const char *text)
{
    return line.startsWith(text);
}

bool contains(const QByteArray &line, const char *text)
{
    return line.contains(text);
}

// N characters from the 1-based column; blanks where the line is shorter.
template <std::size_t N> FixedText<N> columns(const QByteArray &line, int column)
{
    FixedText<N> text = BlankText<N>();
    for (std::size_t i = 0; i < N; ++i) {
        const qsizetype at = column - 1 + qsizetype(i);
        if (at < line.size())
            text[i] = line[at];
    }
    return text;
}

// A number field holds digits, with blanks around them. Anything else is no
// number, and the value it would set stays as it was.
template <std::size_t N> std::optional<int> numberIn(const FixedText<N> &field)
{
    const QByteArray text = QByteArray(field.data(), qsizetype(N)).trimmed();
    if (text.isEmpty())
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Lines that belong to the printout's legends and tables but carry nothing
// the run keeps.
const char *const kIgnoredLines[] = {"        Sync. ", "        Zwangs", "        alle  ",
                                     " B.o.An", " W.Sig.", " Gruppe"};

struct ParameterLabel {
    const char *label;
    uint32_t SignalProgram::*field;
};

// In the order they are tested: "        Anf. Zeit 1" must not take the
// "        Anf.  Verz. 1" line and so on.
const ParameterLabel kParameterLabels[] = {
    {"        Umlaufzeit", &SignalProgram::CycleTime},
    {"        Anf. Zeit 1", &SignalProgram::DemandTime1},
    {"        Anf. Zeit 2", &SignalProgram::DemandTime2},
    {"        Weiter Zeit 1", &SignalProgram::ContinueTime1},
    {"        Weiter Zeit 2", &SignalProgram::ContinueTime2},
    {"        GSP", &SignalProgram::GroupStartPoint},
    {"        EZP", &SignalProgram::SwitchOnPoint},
    {"        AZP", &SignalProgram::SwitchOffPoint},
    {"        Anf.  Verz. 1", &SignalProgram::DemandDelay1},
    {"        Anf.  Verz. 2", &SignalProgram::DemandDelay2},
};

struct FlagLabel {
    const char *label;
    PerGroup<uint8_t> SignalProgram::*flags;
};

const FlagLabel kFlagLabels[] = {
    {" St.Bli", &SignalProgram::FaultFlash},
    {" Rotueb", &SignalProgram::RedMonitoring},
    {" Dauer.", &SignalProgram::PermanentDemand},
    {" Verl. ", &SignalProgram::Extend},
    {" V.>Max", &SignalProgram::ExtendBeyondMax},
};

constexpr int kShortestHeaderLine = 12;

}  // namespace

SignalState StateOf(char first, char second)
{
    struct StateText {
        char first, second;
        SignalState state;
    };
    static constexpr StateText kStates[] = {
        {'R', ' ', Red},         {'G', 'r', Green},          {'R', 'G', RedYellow},
        {'G', 'e', Yellow},      {'B', ' ', Flashing},       {'R', 'D', RedExtraYellow},
        {'R', 'B', RedFlashing}, {'G', 'D', GreenYellow},    {'G', 'B', GreenFlashing},
    };
    for (const StateText &s : kStates)
        if (s.first == first && s.second == second)
            return s.state;
    return Dark;
}

bool StreamParser::ParseHeaderLine(const QByteArray &line)
{
    opensPrintout_ = false;
    if (line.size() < kShortestHeaderLine)
        return false;

    if (begins(line, "        ------")) {
        opensPrintout_ = !headerSeen_;
        headerSeen_ = false;
        return false;
    }
    if (begins(line, "        Benutz")) {
        if (contains(line, "- Dunkel   R Rot"))
            setModeByte(0);
        return false;
    }
    for (const char *ignored : kIgnoredLines)
        if (begins(line, ignored))
            return false;

    if (contains(line, "I       Torvemark GmbH")) {
        run_.BannerText = columns<13>(line, 64);
        headerSeen_ = true;
        setModeByte(1);
        return true;
    }
    if (contains(line, "    KVX") || contains(line, "    QSW")) {
        run_.ControllerTypeText = columns<10>(line, 16);
        run_.PrintDateText = columns<14>(line, 64);
        headerSeen_ = true;
        return true;
    }
    if (contains(line, "    Sim")) {
        run_.ControllerTypeText = columns<10>(line, 17);
        run_.PrintDateText = columns<14>(line, 64);
        headerSeen_ = true;
        return true;
    }
    if (begins(line, "        Stando")) {
        run_.HeaderRecord.LocationLine1 = columns<kTextFieldLength>(line, 25);
        return true;
    }
    if (begins(line, "                      :")) {
        run_.HeaderRecord.LocationLine2 = columns<kTextFieldLength>(line, 25);
        return true;
    }
    if (begins(line, "        Auftraggeber  :")) {
        run_.HeaderRecord.Customer = columns<kTextFieldLength>(line, 25);
        return true;
    }
    if (begins(line, "        Programmname  :")) {
        takeProgramName(line);
        if (contains(line, "- Dunkel           R Rot"))
            setModeByte(0);
        return true;
    }
    if (begins(line, "        Gruppe")) {
        if (const std::optional<int> count = numberIn(columns<2>(line, 25))) {
            run_.ShownGroups = std::min(*count, kGroupCount);
            run_.HeaderGroupCount = run_.ShownGroups;
        }
        return true;
    }
    for (const ParameterLabel &p : kParameterLabels) {
        if (begins(line, p.label)) {
            if (const std::optional<int> value = numberIn(columns<3>(line, 25)))
                run_.ProgramRecord.*p.field = uint32_t(*value);
            return true;
        }
    }
    for (const FlagLabel &f : kFlagLabels) {
        if (begins(line, f.label)) {
            PerGroup<uint8_t> &flags = run_.ProgramRecord.*f.flags;
            flags.fill(0);
            const int groups = std::clamp(int(run_.ShownGroups), 0, kGroupCount);
            for (int i = 0; i < groups; ++i) {
                const qsizetype at = 8 + 3 * i;
                flags[i] = at < line.size() && line[at] == 'x' ? 1 : 0;
            }
            return true;
        }
    }
    return false;
}

void StreamParser::takeProgramName(const QByteArray &line)
{
    if (!simulation_) {
        run_.ProgramName = columns<8>(line, 25);
        return;
    }
    // The simulation program prints the path of its program file: the name
    // is the file name after the last backslash.
    const FixedText<100> path = columns<100>(line, 25);
    run_.ProgramName = BlankText<8>();
    for (int at = 99; at >= 2; --at) {
        if (path[at] != '\\')
            continue;
        for (int i = 0; i < 8 && at + 1 + i < 100; ++i)
            run_.ProgramName[i] = path[at + 1 + i];
        return;
    }
}

bool StreamParser::EndsHeader(const QByteArray &line) const
{
    return run_.HeaderRecord.FixedTimeMode != 0 ? begins(line, " Gruppe") : begins(line, " V.>Max");
}

bool StreamParser::ParseDataLine(const QByteArray &line)
{
    if (!begins(line, " P"))
        return false;
    // Seven columns before the first group, three per group; a line of more
    // than 24 groups keeps the first 24.
    streamGroupCount_ = std::clamp(int(line.size() - 7) / 3, 0, kGroupCount);
    run_.ShownGroups = streamGroupCount_;
    // A program column that holds no digit leaves the program as it was.
    if (line.size() > 2 && line[2] >= '0' && line[2] <= '9')
        currentProgram_ = line[2] - '0';
    if (!firstDataLineSeen_) {
        firstDataLineSeen_ = true;
        run_.StartProgram = currentProgram_;
    }
    for (int i = 0; i < streamGroupCount_; ++i) {
        currentStates_[i] = StateOf(line[8 + 3 * i], line[9 + 3 * i]);
        detectorMarks_[i] = line[7 + 3 * i] == '*' ? 1 : 0;
    }
    return true;
}

void StreamParser::Restart()
{
    headerSeen_ = false;
    firstDataLineSeen_ = false;
    currentProgram_ = 0;
    run_.StartProgram = 0;
}

ChartRow StreamParser::CurrentRow() const
{
    ChartRow row;
    for (int i = 0; i < streamGroupCount_; ++i) {
        row.State[i] = currentStates_[i];
        row.DetectorActive[i] = detectorMarks_[i];
    }
    row.ProgramNumber = currentProgram_;
    return row;
}

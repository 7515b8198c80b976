#pragma once
// The programming of one installation as held in memory. Plain fixed-size
// records; the data file set fills them field by field, so the memory layout
// (with its padding) never has to match the file layout.

#include <array>
#include <cstdint>

constexpr int kGroupCount = 24;   // every per-group array holds 24 groups
constexpr int kProgramCount = 6;
constexpr int kStepsPerProgram = 3;
constexpr int kStepRecords = kProgramCount * kStepsPerProgram;  // 18
constexpr int kTextFieldLength = 32;
constexpr int kGroupNameLength = 10;

template <typename T> using PerGroup = std::array<T, kGroupCount>;
using GroupMatrix8 = std::array<std::array<uint8_t, kGroupCount>, kGroupCount>;
using GroupMatrix32 = std::array<std::array<int32_t, kGroupCount>, kGroupCount>;
using TextField32 = std::array<char, kTextFieldLength>;  // Windows-1252, blank padded
using GroupName = std::array<char, kGroupNameLength>;

struct InstallationHeader {
    uint32_t GroupCount = 0;
    TextField32 LocationLine1{};
    TextField32 LocationLine2{};
    TextField32 Customer{};
    uint8_t FixedTimeMode = 0;
    uint32_t HeaderOption = 0;
    uint32_t RadioLink = 0;
    uint8_t TwoGreenPhases = 0;
    std::array<uint8_t, kProgramCount> ProgramReleased{};
    uint32_t EmergencyProgram = 0;
};

struct SignalProgram {
    uint32_t ProgramNumber = 0;
    uint32_t CycleTime = 0;
    uint32_t DemandTime1 = 0, DemandTime2 = 0;
    uint32_t ContinueTime1 = 0, ContinueTime2 = 0;
    uint32_t SwitchOnPoint = 0;
    uint32_t SwitchOffPoint = 0;
    uint32_t GroupStartPoint = 0;
    uint8_t Option1 = 0, Option2 = 0, Option3 = 0;
    uint32_t Value1 = 0, Value2 = 0, Value3 = 0;
    uint32_t DemandDelay1 = 0, DemandDelay2 = 0;

    PerGroup<int32_t> GreenFrom1{}, GreenFrom2{}, GreenTo1{}, GreenTo2{};
    PerGroup<int32_t> GroupValue1{}, GroupValue2{}, GroupValue3{};
    PerGroup<int32_t> RedYellowTime{}, YellowTime{};
    PerGroup<int32_t> FlashFrom1{}, FlashFrom2{}, FlashTo1{}, FlashTo2{};
    PerGroup<int32_t> YellowFrom1{}, YellowFrom2{}, YellowTo1{}, YellowTo2{};
    PerGroup<int32_t> WaitPoint{};
    PerGroup<uint8_t> FaultFlash{}, RedMonitoring{}, PermanentDemand{}, ExtendBeyondMax{}, GroupOption{};
    PerGroup<int32_t> ExtensionPoint1{}, ExtensionPoint2{};
    PerGroup<int32_t> ExtensionTime1{}, ExtensionTime2{};
    PerGroup<int32_t> GapTime1{}, GapTime2{};
    PerGroup<int32_t> PairValueA1{}, PairValueA2{}, PairValueB1{}, PairValueB2{};
    PerGroup<uint8_t> Extend{}, GroupDigit{};
};

// One step of a switch-on or switch-off program: a group in SetA is drawn red,
// else in SetB yellow, else in SetC green, else dark.
struct SwitchStep {
    uint32_t Duration = 0;
    PerGroup<uint8_t> SetA{}, SetB{}, SetC{};
};

// Step s (0..2) of program p (0..5) is record 3 * p + s.
using SwitchStepTable = std::array<SwitchStep, kStepRecords>;

struct MitRecord {
    GroupMatrix8 MitMatrix{};
    PerGroup<int32_t> MitValues{};
};

struct SuperRecord {
    std::array<int32_t, 4> SuperA{}, SuperB{}, SuperC{}, SuperD{};
    std::array<std::array<uint8_t, 4>, kGroupCount> SuperGroups{};
};

struct PwTable {
    std::array<std::array<uint8_t, 6>, kGroupCount> PwFlags1{}, PwFlags2{};
    std::array<int32_t, 6> PwValues1{}, PwValues2{}, PwValues3{}, PwValues4{};
};

struct KonfWords {
    uint32_t InstallationType = 0;
    uint32_t KonfValue = 0;
};

// The tables this program only carries: read, held and reset, never interpreted.
struct CarriedTables {
    std::array<std::array<std::array<uint16_t, 8>, 7>, 10> SchTable{};
    std::array<GroupMatrix8, kProgramCount> ZwiFlags{};
    std::array<GroupMatrix32, kProgramCount> ZwiTimes{};
    PerGroup<int32_t> KopfValues{};
    std::array<GroupMatrix8, kProgramCount> ParaMatrix{};
    std::array<GroupMatrix8, kProgramCount> ParSperrMatrix{};
    std::array<GroupMatrix8, kProgramCount> AnfMatrix{};
    std::array<MitRecord, kProgramCount> MitTable{};
    std::array<GroupMatrix32, kProgramCount> VersatzTimes{};
    std::array<std::array<int32_t, 6>, 5> GspTable{};
    std::array<uint8_t, 6> GspFlags{};
    std::array<std::array<uint8_t, 6>, kGroupCount> MelderTable{};
    std::array<SuperRecord, kProgramCount> SuperRecords{};
    PwTable Pw{};
    std::array<std::array<int32_t, 6>, kGroupCount> GrMinTable{};
};

// Installation type codes as shown in the main window ("Anlage:").
enum InstallationTypeCode : uint32_t {
    TypeKvx = 0,
    TypeQswRadio = 1,
    TypeQswCable = 2,
    TypeKvx40 = 3,
    TypeKvx10Master = 4,
    TypeKvx10MasterSlave = 5,
};

struct InstallationData {
    InstallationHeader Header{};
    std::array<SignalProgram, kProgramCount> Programs{};
    SwitchStepTable SwitchOnSteps{};
    SwitchStepTable SwitchOffTargetedSteps{};
    SwitchStepTable SwitchOffFaultSteps{};
    CarriedTables Carried{};
    std::array<GroupName, kGroupCount> GroupNames{};
    KonfWords Konf{};
};

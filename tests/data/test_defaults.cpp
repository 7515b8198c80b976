#include "data/defaults.h"
#include "data/textfield.h"

#include <gtest/gtest.h>

namespace {

InstallationData loadedLooking()
{
    InstallationData d;
    d.Header.GroupCount = 12;
    d.Header.FixedTimeMode = 0;
    d.Header.ProgramReleased = {1, 1, 1, 0, 0, 0};
    d.Header.EmergencyProgram = 8;
    d.Konf = {TypeQswCable, 9};
    for (SignalProgram &p : d.Programs) {
        p.ProgramNumber = 0;
        p.CycleTime = 70;
        p.GreenFrom1.fill(3);
        p.RedMonitoring.fill(0);
    }
    d.SwitchOffFaultSteps[4].Duration = 6;
    d.Carried.ZwiTimes[5][23][23] = 4;
    d.Carried.GrMinTable[3][2] = 0;
    TextToField10("K1 West", d.GroupNames[0]);
    return d;
}

TEST(Defaults, StartupResetTakesTypeAndGroupCountFromSettings)
{
    const std::pair<uint32_t, uint32_t> expected[] = {{0, 24}, {1, 4}, {2, 12}, {4, 0}};
    for (const auto &[type, groups] : expected) {
        InstallationData d;  // zeros, as at program start
        d.Konf.InstallationType = 3;
        resetToDefaults(d, ResetRules{false, type}, true);
        EXPECT_EQ(d.Konf.InstallationType, type);
        EXPECT_EQ(d.Header.GroupCount, groups) << "type " << type;
    }
}

TEST(Defaults, ResetAfterStartupKeepsTypeAndGroupCount)
{
    InstallationData d = loadedLooking();
    resetToDefaults(d, ResetRules{true, TypeKvx}, true);
    EXPECT_EQ(d.Header.GroupCount, 12u);
    EXPECT_EQ(d.Konf.InstallationType, uint32_t(TypeQswCable));
    EXPECT_EQ(d.Konf.KonfValue, 2u);
}

TEST(Defaults, EveryPartGetsItsStandardValues)
{
    InstallationData d = loadedLooking();
    resetToDefaults(d, ResetRules{true, 0}, true);

    const InstallationHeader &h = d.Header;
    EXPECT_EQ(fieldText(h.LocationLine1), "");
    EXPECT_EQ(h.Customer[31], ' ');
    EXPECT_EQ(h.FixedTimeMode, 1);
    EXPECT_EQ(h.ProgramReleased, (std::array<uint8_t, 6>{1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(h.EmergencyProgram, 1u);

    for (int p = 0; p < kProgramCount; ++p) {
        const SignalProgram &prog = d.Programs[p];
        EXPECT_EQ(prog.ProgramNumber, uint32_t(p + 1));
        EXPECT_EQ(prog.CycleTime, 0u);
        EXPECT_EQ(prog.Option1, 1);
        EXPECT_EQ(prog.Option2, 0);
        EXPECT_EQ(prog.Option3, 1);
        EXPECT_EQ(prog.Value1, 5u);
        EXPECT_EQ(prog.GreenFrom1[7], 0);
        EXPECT_EQ(prog.RedMonitoring[23], 1);
        EXPECT_EQ(prog.PermanentDemand[0], 1);
        EXPECT_EQ(prog.GroupOption[11], 1);
        EXPECT_EQ(prog.FaultFlash[0], 0);
    }
    EXPECT_EQ(d.SwitchOffFaultSteps[4].Duration, 0u);
    EXPECT_EQ(d.Carried.ZwiTimes[5][23][23], 0);
    EXPECT_EQ(d.Carried.MitTable[5].MitValues[23], 1);
    EXPECT_EQ(d.Carried.GspFlags[0], 1);
    EXPECT_EQ(d.Carried.MelderTable[23][5], 1);
    EXPECT_EQ(d.Carried.GrMinTable[3][2], 5);
    EXPECT_EQ(GroupNameText(d, 0), "");
}

TEST(Defaults, GroupNamesAreKeptWhenTheUserChoseSo)
{
    InstallationData kept = loadedLooking();
    resetToDefaults(kept, ResetRules{true, 0}, false);
    EXPECT_EQ(GroupNameText(kept, 0), "K1 West");
    EXPECT_EQ(kept.Programs[0].CycleTime, 0u);
    EXPECT_EQ(kept.Konf.KonfValue, 2u);
}

TEST(Defaults, SingleFileResetTouchesOnlyItsPart)
{
    InstallationData d = loadedLooking();
    resetDataFile(d, DataFile::Prog, ResetRules{false, TypeQswRadio});
    EXPECT_EQ(d.Programs[2].ProgramNumber, 3u);
    EXPECT_EQ(d.Header.GroupCount, 12u);
    EXPECT_EQ(d.Konf.InstallationType, uint32_t(TypeQswCable));
    EXPECT_EQ(d.SwitchOffFaultSteps[4].Duration, 6u);

    resetDataFile(d, DataFile::Konf, ResetRules{true, 0});
    EXPECT_EQ(d.Konf.InstallationType, 0u);
    EXPECT_EQ(d.Konf.KonfValue, 0u);
    EXPECT_EQ(GroupNameText(d, 0), "K1 West");
}

}  // namespace

#pragma once
// The field order of every data file, written down once. A walker visits the
// fields of a file in file order and hands each one, with its model name, to
// an Io object:
//   io.field(name, x)  for uint8_t, char, uint16_t, uint32_t, int32_t and
//                      std::array of those (elements in order, last index
//                      fastest), and
//   io.text(name, t)   for a 33-byte text field (one skipped byte, 32 chars).
// The file reader unpacks with it; tools that write or describe data sets
// use the same walk, so the layouts cannot drift apart.

#include "data/datafiles.h"
#include "data/installationdata.h"

template <class Io> void walkHeader(Io &io, InstallationHeader &h)
{
    io.field("GroupCount", h.GroupCount);
    io.text("LocationLine1", h.LocationLine1);
    io.text("LocationLine2", h.LocationLine2);
    io.text("Customer", h.Customer);
    io.field("FixedTimeMode", h.FixedTimeMode);
    io.field("HeaderOption", h.HeaderOption);
    io.field("RadioLink", h.RadioLink);
    io.field("TwoGreenPhases", h.TwoGreenPhases);
    io.field("ProgramReleased", h.ProgramReleased);
    io.field("EmergencyProgram", h.EmergencyProgram);
}

template <class Io> void walkProgram(Io &io, SignalProgram &p)
{
    io.field("ProgramNumber", p.ProgramNumber);
    io.field("CycleTime", p.CycleTime);
    io.field("DemandTime1", p.DemandTime1);
    io.field("DemandTime2", p.DemandTime2);
    io.field("ContinueTime1", p.ContinueTime1);
    io.field("ContinueTime2", p.ContinueTime2);
    io.field("SwitchOnPoint", p.SwitchOnPoint);
    io.field("SwitchOffPoint", p.SwitchOffPoint);
    io.field("GroupStartPoint", p.GroupStartPoint);
    io.field("Option1", p.Option1);
    io.field("Option2", p.Option2);
    io.field("Option3", p.Option3);
    io.field("Value1", p.Value1);
    io.field("Value2", p.Value2);
    io.field("Value3", p.Value3);
    io.field("DemandDelay1", p.DemandDelay1);
    io.field("DemandDelay2", p.DemandDelay2);
    io.field("GreenFrom1", p.GreenFrom1);
    io.field("GreenFrom2", p.GreenFrom2);
    io.field("GreenTo1", p.GreenTo1);
    io.field("GreenTo2", p.GreenTo2);
    io.field("GroupValue1", p.GroupValue1);
    io.field("GroupValue2", p.GroupValue2);
    io.field("GroupValue3", p.GroupValue3);
    io.field("RedYellowTime", p.RedYellowTime);
    io.field("YellowTime", p.YellowTime);
    io.field("FlashFrom1", p.FlashFrom1);
    io.field("FlashFrom2", p.FlashFrom2);
    io.field("FlashTo1", p.FlashTo1);
    io.field("FlashTo2", p.FlashTo2);
    io.field("YellowFrom1", p.YellowFrom1);
    io.field("YellowFrom2", p.YellowFrom2);
    io.field("YellowTo1", p.YellowTo1);
    io.field("YellowTo2", p.YellowTo2);
    io.field("WaitPoint", p.WaitPoint);
    io.field("FaultFlash", p.FaultFlash);
    io.field("RedMonitoring", p.RedMonitoring);
    io.field("PermanentDemand", p.PermanentDemand);
    io.field("ExtendBeyondMax", p.ExtendBeyondMax);
    io.field("GroupOption", p.GroupOption);
    io.field("ExtensionPoint1", p.ExtensionPoint1);
    io.field("ExtensionPoint2", p.ExtensionPoint2);
    io.field("ExtensionTime1", p.ExtensionTime1);
    io.field("ExtensionTime2", p.ExtensionTime2);
    io.field("GapTime1", p.GapTime1);
    io.field("GapTime2", p.GapTime2);
    io.field("PairValueA1", p.PairValueA1);
    io.field("PairValueA2", p.PairValueA2);
    io.field("PairValueB1", p.PairValueB1);
    io.field("PairValueB2", p.PairValueB2);
    io.field("Extend", p.Extend);
    io.field("GroupDigit", p.GroupDigit);
}

template <class Io> void walkSwitchStep(Io &io, SwitchStep &s)
{
    io.field("Duration", s.Duration);
    io.field("SetA", s.SetA);
    io.field("SetB", s.SetB);
    io.field("SetC", s.SetC);
}

template <class Io> void walkKonf(Io &io, KonfWords &k)
{
    io.field("InstallationType", k.InstallationType);
    io.field("KonfValue", k.KonfValue);
}

template <class Io> void walkDataFile(Io &io, InstallationData &d, DataFile file)
{
    CarriedTables &c = d.Carried;
    switch (file) {
    case DataFile::All:
        walkHeader(io, d.Header);
        break;
    case DataFile::Aus1:
        for (SwitchStep &s : d.SwitchOffTargetedSteps)
            walkSwitchStep(io, s);
        break;
    case DataFile::Aus2:
        for (SwitchStep &s : d.SwitchOffFaultSteps)
            walkSwitchStep(io, s);
        break;
    case DataFile::Ein:
        for (SwitchStep &s : d.SwitchOnSteps)
            walkSwitchStep(io, s);
        break;
    case DataFile::Prog:
        for (SignalProgram &p : d.Programs)
            walkProgram(io, p);
        break;
    case DataFile::Sch:
        io.field("SchTable", c.SchTable);
        break;
    case DataFile::Zwi:
        for (int p = 0; p < kProgramCount; ++p) {
            io.field("ZwiFlags", c.ZwiFlags[p]);
            io.field("ZwiTimes", c.ZwiTimes[p]);
        }
        break;
    case DataFile::Kopf:
        io.field("KopfValues", c.KopfValues);
        break;
    case DataFile::Para:
        io.field("ParaMatrix", c.ParaMatrix);
        break;
    case DataFile::ParSperr:
        io.field("ParSperrMatrix", c.ParSperrMatrix);
        break;
    case DataFile::Anf:
        io.field("AnfMatrix", c.AnfMatrix);
        break;
    case DataFile::Mit:
        for (MitRecord &m : c.MitTable) {
            io.field("MitMatrix", m.MitMatrix);
            io.field("MitValues", m.MitValues);
        }
        break;
    case DataFile::Versatz:
        io.field("VersatzTimes", c.VersatzTimes);
        break;
    case DataFile::Gsp:
        io.field("GspTable", c.GspTable);
        io.field("GspFlags", c.GspFlags);
        break;
    case DataFile::Melder:
        io.field("MelderTable", c.MelderTable);
        break;
    case DataFile::Super:
        for (SuperRecord &s : c.SuperRecords) {
            io.field("SuperA", s.SuperA);
            io.field("SuperB", s.SuperB);
            io.field("SuperC", s.SuperC);
            io.field("SuperD", s.SuperD);
            io.field("SuperGroups", s.SuperGroups);
        }
        break;
    case DataFile::Pw:
        io.field("PwFlags1", c.Pw.PwFlags1);
        io.field("PwFlags2", c.Pw.PwFlags2);
        io.field("PwValues1", c.Pw.PwValues1);
        io.field("PwValues2", c.Pw.PwValues2);
        io.field("PwValues3", c.Pw.PwValues3);
        io.field("PwValues4", c.Pw.PwValues4);
        break;
    case DataFile::GrMin:
        io.field("GrMinTable", c.GrMinTable);
        break;
    case DataFile::Konf:
        walkKonf(io, d.Konf);
        break;
    case DataFile::Namen:
        io.field("GroupNames", d.GroupNames);
        break;
    }
}

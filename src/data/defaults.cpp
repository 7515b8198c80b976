#include "data/defaults.h"

#include "data/installationtype.h"

namespace {

void resetHeader(InstallationData &d, const ResetRules &rules)
{
    InstallationHeader &h = d.Header;
    h.LocationLine1.fill(' ');
    h.LocationLine2.fill(' ');
    h.Customer.fill(' ');
    h.FixedTimeMode = 1;
    h.HeaderOption = 0;
    h.RadioLink = 0;
    h.TwoGreenPhases = 0;
    h.ProgramReleased = {1, 0, 0, 0, 0, 0};
    h.EmergencyProgram = 1;
    if (!rules.startupDone) {
        d.Konf.InstallationType = rules.defaultInstallationType;
        if (const auto count = GroupCountOfType(rules.defaultInstallationType))
            h.GroupCount = *count;
    }
}

void resetProgram(SignalProgram &p, int index)
{
    p = SignalProgram{};
    p.ProgramNumber = uint32_t(index + 1);
    p.Option1 = 1;
    p.Option3 = 1;
    p.Value1 = 5;
    p.RedMonitoring.fill(1);
    p.PermanentDemand.fill(1);
    p.GroupOption.fill(1);
}

void resetSteps(SwitchStepTable &steps)
{
    steps.fill(SwitchStep{});
}

template <class Table> void fillZero(Table &t)
{
    t = Table{};
}

}  // namespace

void resetGroupNames(InstallationData &d)
{
    for (GroupName &name : d.GroupNames)
        name.fill(' ');
}

void resetDataFile(InstallationData &d, DataFile file, const ResetRules &rules)
{
    CarriedTables &c = d.Carried;
    switch (file) {
    case DataFile::All:
        resetHeader(d, rules);
        break;
    case DataFile::Prog:
        for (int p = 0; p < kProgramCount; ++p)
            resetProgram(d.Programs[p], p);
        break;
    case DataFile::Ein:
        resetSteps(d.SwitchOnSteps);
        break;
    case DataFile::Aus1:
        resetSteps(d.SwitchOffTargetedSteps);
        break;
    case DataFile::Aus2:
        resetSteps(d.SwitchOffFaultSteps);
        break;
    case DataFile::Sch:
        fillZero(c.SchTable);
        break;
    case DataFile::Zwi:
        fillZero(c.ZwiFlags);
        fillZero(c.ZwiTimes);
        break;
    case DataFile::Kopf:
        fillZero(c.KopfValues);
        break;
    case DataFile::Para:
        fillZero(c.ParaMatrix);
        break;
    case DataFile::ParSperr:
        fillZero(c.ParSperrMatrix);
        break;
    case DataFile::Anf:
        fillZero(c.AnfMatrix);
        break;
    case DataFile::Mit:
        for (MitRecord &m : c.MitTable) {
            fillZero(m.MitMatrix);
            m.MitValues.fill(1);
        }
        break;
    case DataFile::Versatz:
        fillZero(c.VersatzTimes);
        break;
    case DataFile::Gsp:
        fillZero(c.GspTable);
        c.GspFlags.fill(1);
        break;
    case DataFile::Melder:
        for (auto &row : c.MelderTable)
            row.fill(1);
        break;
    case DataFile::Super:
        fillZero(c.SuperRecords);
        break;
    case DataFile::Pw:
        fillZero(c.Pw);
        break;
    case DataFile::GrMin:
        for (auto &row : c.GrMinTable)
            row.fill(5);
        break;
    case DataFile::Konf:
        d.Konf = KonfWords{};
        break;
    case DataFile::Namen:
        resetGroupNames(d);
        break;
    }
}

void resetToDefaults(InstallationData &d, const ResetRules &rules, bool clearGroupNames)
{
    static constexpr DataFile kResetOrder[] = {
        DataFile::All, DataFile::Prog, DataFile::Ein, DataFile::Aus1, DataFile::Aus2,
        DataFile::Sch, DataFile::Zwi, DataFile::Kopf, DataFile::Para, DataFile::ParSperr,
        DataFile::Anf, DataFile::Mit, DataFile::Versatz, DataFile::Gsp, DataFile::Melder,
        DataFile::Super, DataFile::Pw, DataFile::GrMin,
    };
    for (DataFile file : kResetOrder)
        resetDataFile(d, file, rules);

    if (clearGroupNames)
        resetGroupNames(d);

    d.Konf.KonfValue = 2;
}

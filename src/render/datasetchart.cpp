#include "render/datasetchart.h"

#include "data/datasetloader.h"
#include "data/defaults.h"

#include <QFileInfo>

namespace {
QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified();
}
}  // namespace

bool ChartKindFromName(const QString &name, DisplayMode &kind)
{
    static const struct {
        const char *name;
        DisplayMode kind;
    } kNames[] = {
        {"soll", DisplayMode::TargetPlan},
        {"ein", DisplayMode::SwitchOn},
        {"aus-gezielt", DisplayMode::SwitchOffTargeted},
        {"aus-stoerung", DisplayMode::SwitchOffFault},
    };
    for (const auto &entry : kNames) {
        if (name == QLatin1String(entry.name)) {
            kind = entry.kind;
            return true;
        }
    }
    return false;
}

QStringList loadDataSetAsAtStartup(InstallationData &data, const QString &dir)
{
    // A new program of type 0 with 24 groups, as the main window has after start-up.
    const ResetRules rules{true, TypeKvx};
    resetToDefaults(data, rules, true);
    data.Konf.InstallationType = TypeKvx;
    data.Header.GroupCount = kGroupCount;
    return loadDataSet(data, dir, rules);
}

QString DataSetFolderRefusal(const QString &dir)
{
    if (!QFileInfo(dir).isDir())
        return QStringLiteral("Verzeichnis \"%1\" nicht gefunden").arg(dir);
    return noDataSetRefusal(dir);
}

bool CompareRunWithDataSet(const QString &dir, const ChartData &run, InstallationData &data,
                           RunComparison &comparison, QString *error)
{
    *error = DataSetFolderRefusal(dir);
    if (!error->isEmpty())
        return false;
    loadDataSetAsAtStartup(data, dir);
    comparison = CompareRun(data, run.ShownGroups, run.Rows);
    if (!comparison.AnyCompared()) {
        *error = NothingComparedText(comparison);
        return false;
    }
    return true;
}

QString NotReleasedRefusal(const InstallationData &data, int programNumber)
{
    const bool known = programNumber >= 1 && programNumber <= kProgramCount;
    if (known && !data.Header.ProgramReleased[programNumber - 1])
        return QStringLiteral("Programm %1 ist nicht freigegeben").arg(programNumber);
    return QString();
}

bool OpenDataSetChart(const QString &dir, const QString &dataSetName, int programNumber,
                      DisplayMode kind, ChartData &chart, QString *error)
{
    *error = DataSetFolderRefusal(dir);
    if (!error->isEmpty())
        return false;

    InstallationData data;
    loadDataSetAsAtStartup(data, dir);

    if (!data.Header.FixedTimeMode) {
        *error = oneLine(QStringLiteral(
            "Es kann nur ein Sollausdruck von Programmen\nmit der Betriebsart Festzeit und "
            "Festzeit mit VA\ngemacht werden."));
        return false;
    }
    *error = NotReleasedRefusal(data, programNumber);
    if (!error->isEmpty())
        return false;
    QString refusal;
    if (!OpenTargetChart(chart, data, programNumber, kind, dataSetName, &refusal)) {
        *error = oneLine(refusal);
        return false;
    }
    return true;
}

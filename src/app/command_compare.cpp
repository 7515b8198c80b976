// signovat compare --data DIR --run FILE.DRI [--csv]: what a recorded run did
// against what the data set's programs plan. Exits as diff does: 0 as
// planned, 1 deviations found, 2 bad input.

#include "actual/actualrunfile.h"
#include "app/commands.h"
#include "base/utilities.h"
#include "data/textfield.h"
#include "render/datasetchart.h"
#include "render/runcomparison.h"
#include "render/signalstate.h"

#include <QFileInfo>
#include <cstdio>

namespace {
constexpr int kExitAsPlanned = 0, kExitDeviations = 1, kExitBadInput = 2;
constexpr int kIntervalsShown = 3;  // per group; the count says how many more

int refuse(const QString &reason)
{
    refuseCommand("compare", reason);
    return kExitBadInput;
}

QString seconds(int from, int to)
{
    return from == to ? QString::number(from) : QStringLiteral("%1–%2").arg(from).arg(to);
}

QString groupLine(const InstallationData &data, const StretchComparison &s, int g)
{
    QString line = QStringLiteral("  Gruppe %1").arg(g + 1);
    const QString name = GroupNameText(data, g);
    if (!name.isEmpty())
        line += QLatin1Char(' ') + name;
    line += QStringLiteral(": %1 s abweichend").arg(s.DeviationSeconds[size_t(g)]);
    QStringList intervals;
    for (const DeviationInterval &d : s.Deviations)
        if (d.Group == g)
            intervals << QStringLiteral("%1 Soll %2, Ist %3")
                             .arg(seconds(d.From, d.To), SignalStateName(d.Target), SignalStateName(d.Actual));
    line += QStringLiteral(", ") + intervals.mid(0, kIntervalsShown).join(QStringLiteral("; "));
    if (intervals.size() > kIntervalsShown)
        line += QStringLiteral("; … %1 weitere").arg(intervals.size() - kIntervalsShown);
    return line;
}

QString report(const InstallationData &data, const CompareOptions &options, const RunComparison &c)
{
    QStringList lines{QStringLiteral("Ist-Ablauf %1 gegen die Daten %2")
                          .arg(QFileInfo(options.runFile).fileName(), InstallationNameOf(options.dataDir))};
    if (c.RunGroups > c.InstallationGroups)
        lines << QStringLiteral("Der Ist-Ablauf hat %1 Gruppen, die Daten %2: verglichen werden die Gruppen 1–%2.")
                     .arg(c.RunGroups)
                     .arg(c.InstallationGroups);
    int64_t cells = 0, equal = 0;
    for (const StretchComparison &s : c.Stretches) {
        const QString head = QStringLiteral("Programm %1, Sekunden %2 (%3 s)")
                                 .arg(s.Program)
                                 .arg(seconds(s.FirstSecond, s.LastSecond))
                                 .arg(s.LastSecond - s.FirstSecond + 1);
        lines << QString();
        if (!s.Compared()) {
            lines << head + QStringLiteral(": ohne Sollplan (%1)").arg(NoTargetReasonText(s.Reason));
            continue;
        }
        cells += s.CellsCompared;
        equal += s.EqualCells;
        lines << head << QStringLiteral("  Versatz (Tx bei Beginn): %1 s").arg(s.Offset)
              << QStringLiteral("  Übereinstimmung: %1 (%2 von %3 Zellen)")
                     .arg(EqualShareText(s))
                     .arg(s.EqualCells)
                     .arg(s.CellsCompared);
        for (int g = 0; g < c.ComparedGroups; ++g)
            if (s.DeviationSeconds[size_t(g)] > 0)
                lines << groupLine(data, s, g);
        if (s.Deviations.empty())
            lines << QStringLiteral("  Keine Abweichungen.");
    }
    if (2 * equal < cells)
        lines << QString() << QStringLiteral("Der Ist-Ablauf passt nicht zu den geladenen Daten ?");
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString csv(const RunComparison &c)
{
    QString out = QStringLiteral("program,offset,group,from,to,target,actual\n");
    for (const StretchComparison &s : c.Stretches)
        for (const DeviationInterval &d : s.Deviations)
            out += QStringLiteral("%1,%2,%3,%4,%5,%6,%7\n")
                       .arg(s.Program)
                       .arg(s.Offset)
                       .arg(d.Group + 1)
                       .arg(d.From)
                       .arg(d.To)
                       .arg(d.Target)
                       .arg(d.Actual);
    return out;
}

}  // namespace

int runCompareCommand(const QStringList &args, const CommandEnvironment &)
{
    CompareOptions options;
    QString error;
    if (!parseCompareOptions(args, options, &error))
        return refuse(error);
    return runCompare(options);
}

int runCompare(const CompareOptions &options)
{
    ChartData run;
    ActualRun header;
    QString error;
    if (!LoadActualRunChart(options.runFile, run, header, &error))
        return refuse(error.replace(QLatin1Char('\n'), QLatin1Char(' ')));
    InstallationData data;
    RunComparison comparison;
    if (!CompareRunWithDataSet(options.dataDir, run, data, comparison, &error))
        return refuse(error);
    const QString out = options.csv ? csv(comparison) : report(data, options, comparison);
    std::fputs(out.toUtf8().constData(), stdout);
    return comparison.HasDeviations() ? kExitDeviations : kExitAsPlanned;
}

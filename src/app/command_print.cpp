// signovat print [--printer NAME] [--copies N] [--pages LIST] [--bw|--colour]
// (--data DIR --program N [--chart KIND] | --run FILE.DRI): the chart printed
// by the preview's print run through the system's spooler, one job per copy.

#include "app/commandchart.h"
#include "app/commands.h"
#include "preview/printspooler.h"

#include <QDateTime>
#include <QStringList>
#include <algorithm>
#include <cstdio>

namespace {
// The queue named, or the default one; empty with *error saying why when there is none.
QString chooseQueue(const QList<PrintQueue> &queues, const std::optional<QString> &wanted, QString *error)
{
    QStringList names;
    for (const PrintQueue &q : queues)
        names << q.name;
    const QString offered = names.isEmpty() ? QStringLiteral("es ist kein Drucker eingerichtet")
                                            : QStringLiteral("vorhanden: ") + names.join(QStringLiteral(", "));
    if (wanted) {
        if (!names.contains(*wanted))
            *error = QStringLiteral("Drucker \"%1\" nicht gefunden (%2)").arg(*wanted, offered);
        return names.contains(*wanted) ? *wanted : QString();
    }
    const auto isDefault = std::find_if(queues.begin(), queues.end(), [](const PrintQueue &q) { return q.isDefault; });
    if (isDefault == queues.end()) {
        *error = QStringLiteral("kein Standarddrucker, --printer NAME angeben (%1)").arg(offered);
        return QString();
    }
    return isDefault->name;
}
}  // namespace

int runPrintCommand(const QStringList &args, const CommandEnvironment &env)
{
    return parseThenRun("print", args, parsePrintOptions, [&](const PrintOptions &o) { return runPrint(o, env); });
}

int runPrint(const PrintOptions &options, const CommandEnvironment &env)
{
    ChartData chart;
    QList<int> pages;
    QList<PrintQueue> queues;
    QString error;
    if (!LoadCommandChart(options.chart, std::nullopt, chart, &error) ||
        !CommandPages(chart, options.pages, pages, &error) || !env.spooler->queues(queues, &error))
        return refuseCommand("print", error);
    const QString queue = chooseQueue(queues, options.printer, &error);
    if (queue.isEmpty())
        return refuseCommand("print", error);

    PageFlags flags{};
    for (int page : pages)
        flags[size_t(page - 1)] = 1;
    const bool colour = PaperInColour(options.colour, env);
    const QDateTime printTime = QDateTime::currentDateTime();
    // Every copy is a print job of its own, as the preview prints them.
    for (int copy = 1; copy <= options.copies; ++copy) {
        int jobId = 0;
        const PrintResult result = env.spooler->print(
            queue, [&](QPagedPaintDevice &device) { return PrintRun(chart, flags, device, colour, printTime); }, &jobId,
            &error);
        if (result != PrintResult::Printed)
            return refuseCommand("print", QStringLiteral("Drucker \"%1\" hat den Auftrag nicht angenommen: %2")
                                              .arg(queue, error.isEmpty() ? QStringLiteral("Seiten nicht gezeichnet") : error));
        std::printf("Auftrag %s-%d an %s gesendet\n", qPrintable(queue), jobId, qPrintable(queue));
    }
    return 0;
}

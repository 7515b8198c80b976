// signovat render --data DIR --program N [--chart KIND] | --run FILE.DRI
// --out FILE [--pages LIST] [--bw|--colour] [--width PX]: a chart or a saved
// actual run as the printed PDF or as preview PNGs.

#include "actual/actualrunfile.h"
#include "base/appsettings.h"
#include "app/commands.h"
#include "base/utilities.h"
#include "preview/chartpdf.h"
#include "render/chartexport.h"
#include "render/datasetchart.h"
#include "render/pagecomposer.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <algorithm>
#include <cstdio>

namespace {
// Preview widths from the narrowest that still has a bar height to a large
// screen; wider images would only cost memory.
constexpr int kMinPreviewWidth = 60;
constexpr int kMaxPreviewWidth = 8000;

int refuse(const QString &reason)
{
    std::fprintf(stderr, "signovat render: %s\n", reason.toUtf8().constData());
    return 1;
}

// "1,3-4" -> {1, 3, 4}, ascending, each page once. False, with *error, for
// anything that is not a page of the chart.
bool parsePages(const QString &list, int pageCount, QList<int> &pages, QString *error)
{
    for (const QString &item : list.split(QLatin1Char(','))) {
        const QStringList bounds = item.trimmed().split(QLatin1Char('-'));
        bool okFirst = false, okLast = true;
        const int first = bounds.value(0).toInt(&okFirst);
        const int last = bounds.size() == 2 ? bounds[1].toInt(&okLast) : first;
        if (bounds.size() > 2 || !okFirst || !okLast || last < first) {
            *error = QStringLiteral("ungültige Seitenangabe \"%1\"").arg(item);
            return false;
        }
        if (first < 1 || last > pageCount) {
            *error = QStringLiteral("Seite %1 gibt es nicht (das Diagramm hat %2 Seiten)")
                         .arg(first < 1 ? first : last)
                         .arg(pageCount);
            return false;
        }
        for (int p = first; p <= last; ++p)
            pages << p;
    }
    std::sort(pages.begin(), pages.end());
    pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
    return true;
}
}  // namespace

int runRenderCommand(const QStringList &args, const CommandEnvironment &env)
{
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("data"), QStringLiteral("Datenverzeichnis"), QStringLiteral("DIR")});
    parser.addOption({QStringLiteral("program"), QStringLiteral("Programm 1 … 6"), QStringLiteral("N")});
    parser.addOption({QStringLiteral("chart"), QStringLiteral("soll|ein|aus-gezielt|aus-stoerung"),
                      QStringLiteral("KIND"), QStringLiteral("soll")});
    parser.addOption({QStringLiteral("run"), QStringLiteral("Ist-Druck-Datei"), QStringLiteral("FILE.DRI")});
    parser.addOption({QStringLiteral("out"), QStringLiteral("FILE.pdf oder FILE.png"), QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("pages"), QStringLiteral("z. B. 1,3-4"), QStringLiteral("LIST")});
    parser.addOption({QStringLiteral("width"), QStringLiteral("Bildbreite"), QStringLiteral("PX"),
                      QString::number(kPreviewImageWidth)});
    parser.addOption({QStringLiteral("bw"), QStringLiteral("schwarz-weiß")});
    parser.addOption({QStringLiteral("colour"), QStringLiteral("farbig")});
    if (!parser.parse(QStringList{QStringLiteral("signovat render")} + args))
        return refuse(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("unerwartetes Argument \"%1\"").arg(parser.positionalArguments().first()));
    const bool fromRun = parser.isSet(QStringLiteral("run"));
    int program = 0;
    DisplayMode kind = DisplayMode::TargetPlan;
    if (fromRun) {
        if (parser.isSet(QStringLiteral("data")) || parser.isSet(QStringLiteral("program"))
            || parser.isSet(QStringLiteral("chart")))
            return refuse(QStringLiteral("--run schließt --data, --program und --chart aus"));
    } else {
        if (!parser.isSet(QStringLiteral("data")))
            return refuse(QStringLiteral("--data DIR oder --run FILE.DRI fehlt"));
        bool numeric = false;
        program = parser.value(QStringLiteral("program")).toInt(&numeric);
        if (!numeric)
            return refuse(QStringLiteral("--program N fehlt oder ist keine Zahl"));
        if (!ChartKindFromName(parser.value(QStringLiteral("chart")), kind))
            return refuse(QStringLiteral("unbekannte Art \"%1\" (soll, ein, aus-gezielt, aus-stoerung)")
                              .arg(parser.value(QStringLiteral("chart"))));
    }
    const QString out = parser.value(QStringLiteral("out"));
    const bool pdf = out.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    const bool png = out.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
    if (!pdf && !png)
        return refuse(QStringLiteral("--out FILE.pdf oder FILE.png fehlt"));
    if (parser.isSet(QStringLiteral("bw")) && parser.isSet(QStringLiteral("colour")))
        return refuse(QStringLiteral("--bw und --colour schließen sich aus"));
    bool numeric = false;
    const int width = parser.value(QStringLiteral("width")).toInt(&numeric);
    if (!numeric || width < kMinPreviewWidth || width > kMaxPreviewWidth)
        return refuse(QStringLiteral("--width muss zwischen %1 und %2 liegen")
                          .arg(kMinPreviewWidth)
                          .arg(kMaxPreviewWidth));

    ChartData chart;
    QString error;
    if (fromRun) {
        ActualRun run;
        if (!LoadActualRunChart(parser.value(QStringLiteral("run")), chart, run, &error))
            return refuse(error.replace(QLatin1Char('\n'), QLatin1Char(' ')));
    } else {
        const QString dir = QDir::cleanPath(parser.value(QStringLiteral("data")));
        if (!OpenDataSetChart(dir, InstallationNameOf(dir), program, kind, chart, &error))
            return refuse(error);
    }

    const int pageCount = PageCount(chart.ChartLength());
    QList<int> pages;
    if (!parser.isSet(QStringLiteral("pages"))) {
        for (int p = 1; p <= pageCount; ++p)
            pages << p;
    } else if (!parsePages(parser.value(QStringLiteral("pages")), pageCount, pages, &error)) {
        return refuse(error);
    }

    bool ok;
    if (pdf) {
        // Paper follows the colour-print setting unless the command says otherwise.
        bool colour = parser.isSet(QStringLiteral("colour"));
        if (!colour && !parser.isSet(QStringLiteral("bw"))) {
            SettingsStore store(env.settingsFile);
            colour = LoadSettings(store, nullptr, QDir::currentPath()).PrintInColour != 0;
        }
        ok = WriteChartPdf(chart, pages, colour, QDateTime::currentDateTime(), out, &error);
    } else {
        // The preview is always coloured; --bw shows what paper without colour looks like.
        const bool colour = !parser.isSet(QStringLiteral("bw"));
        ok = WriteChartPngs(chart, pages, colour, width, out.chopped(4), &error);
    }
    return ok ? 0 : refuse(error);
}

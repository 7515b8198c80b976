#include "preview/chartpdf.h"

#include "preview/printrun.h"
#include "render/chartexport.h"
#include "render/pagecomposer.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>

bool WriteChartPdf(const ChartData &chart, const QList<int> &pages, bool colour,
                   const QDateTime &printTime, const QString &path, QString *error)
{
    PageFlags flags{};
    for (int page : pages)
        if (page >= 1 && page <= kPageSlots)
            flags[size_t(page - 1)] = 1;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = CannotWriteMessage(path, file.errorString());
        return false;
    }
    PrintResult result;
    {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfResolution);
        writer.setTitle(ChartTitleWithName(chart));
        writer.setCreator(QStringLiteral("Signovat %1").arg(QCoreApplication::applicationVersion()).trimmed());
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(0, 0, 0, 0)));
        result = PrintRun(chart, flags, writer, colour, printTime);
    }
    if (result != PrintResult::Printed) {
        file.cancelWriting();
        *error = CannotWriteMessage(path, result == PrintResult::NothingToPrint
                                              ? QStringLiteral("keine Seite des Diagramms gewählt")
                                              : QStringLiteral("PDF"));
        return false;
    }
    if (!file.commit()) {
        *error = CannotWriteMessage(path, file.errorString());
        return false;
    }
    return true;
}

// The print run onto PDF files: which pages are printed, in which order,
// with which footers, and what a device failure or an empty selection does.

#include "render/guiapp.h"

#include "pdfpages.h"
#include "preview/chartpdf.h"
#include "preview/printrun.h"
#include "previewcharts.h"
#include "qtprinters.h"

#include <QFile>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QDateTime kWhen(QDate(2026, 3, 2), QTime(14, 30));

PrintResult printTo(const QString &path, const PageFlags &flags)
{
    QPdfWriter writer(path);
    return PrintRun(previewChart(250), flags, writer, false, kWhen);
}

// The numbers of a printed page's text, e.g. its time-axis labels.
QStringList numbers(const QString &text)
{
    return text.split(QRegularExpression(QStringLiteral("\\s+"))).filter(QRegularExpression(QStringLiteral("^\\d+$")));
}

TEST(PrintRun, FlaggedPagesInOrderNumberedOverTheWholeChart)
{
    QTemporaryDir dir;
    const QString all = dir.filePath(QStringLiteral("alle.pdf"));
    ASSERT_EQ(printTo(all, PageFlags{1, 1, 1, 1}), PrintResult::Printed);
    ASSERT_EQ(pdfPageCount(all), 4);
    for (int page = 1; page <= 4; ++page)
        EXPECT_TRUE(pdfFooter(all, page).startsWith(
            QStringLiteral("Seite %1 von 4 Seiten (Sollplan), Beispiel").arg(page)));
    EXPECT_TRUE(pdfText(all, 1).contains(QStringLiteral("Druckdatum: 02.03.26 14:30")));
    EXPECT_TRUE(numbers(pdfText(all, 4)).contains(QStringLiteral("300")));

    // Page 3 alone still counts as page 3 and starts at second 100.
    const QString third = dir.filePath(QStringLiteral("auswahl.pdf"));
    ASSERT_EQ(printTo(third, PageFlags{0, 0, 1}), PrintResult::Printed);
    ASSERT_EQ(pdfPageCount(third), 1);
    EXPECT_TRUE(pdfFooter(third, 1).startsWith(QStringLiteral("Seite 3 von 4 Seiten (Sollplan), Beispiel (P1)")));
    const QStringList axis = numbers(pdfText(third, 1));
    EXPECT_TRUE(axis.contains(QStringLiteral("100")) && axis.contains(QStringLiteral("200")));
    EXPECT_FALSE(axis.contains(QStringLiteral("90")));
}

TEST(PrintRun, NoDocumentWithoutFlagsAndFailuresReported)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("leer.pdf"));
    EXPECT_EQ(printTo(path, PageFlags{}), PrintResult::NothingToPrint);
    EXPECT_EQ(printTo(path, PageFlags{0, 0, 0, 0, 1}), PrintResult::NothingToPrint);  // not a page of the chart
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(printTo(dir.filePath(QStringLiteral("kein/ordner/plan.pdf")), PageFlags{1}),
              PrintResult::DeviceFailed);
}

TEST(PrintRun, PdfFilesAreThePrintRunsOutput)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.pdf"));
    QString error;
    ASSERT_TRUE(WriteChartPdf(previewChart(250), {4, 2, 4}, true, kWhen, path, &error)) << qPrintable(error);
    ASSERT_EQ(pdfPageCount(path), 2);
    EXPECT_TRUE(pdfFooter(path, 1).startsWith(QStringLiteral("Seite 2 von 4")));
    EXPECT_TRUE(pdfFooter(path, 2).startsWith(QStringLiteral("Seite 4 von 4")));

    const QString none = dir.filePath(QStringLiteral("none.pdf"));
    EXPECT_FALSE(WriteChartPdf(previewChart(250), {7}, true, kWhen, none, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("keine Seite")));
    EXPECT_FALSE(QFile::exists(none));
}

TEST(PrintRun, DocumentNamesSuitAFile)
{
    EXPECT_EQ(PrintDocumentName(previewChart(90)), "Beispiel - Sollplan - Programm 1");
    EXPECT_EQ(PrintDocumentName(previewChart(90, DisplayMode::SwitchOffFault, QString())),
              "Ausschaltprogramm - Störung - Programm 1");
}

}  // namespace

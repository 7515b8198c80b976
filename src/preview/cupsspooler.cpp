#include "preview/cupsspooler.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <cups/cups.h>

namespace {
constexpr int kConnectTimeoutMs = 5000;
}  // namespace

bool CupsSpooler::queues(QList<PrintQueue> &out, QString *error)
{
    // The dialog's list is just as empty without a queue as without a
    // scheduler; only asking the scheduler tells the two apart.
    http_t *http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                kConnectTimeoutMs, nullptr);
    if (!http) {
        *error = QStringLiteral("kein Drucksystem erreichbar (CUPS unter %1)").arg(QString::fromLocal8Bit(cupsServer()));
        return false;
    }
    httpClose(http);
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    out.clear();
    for (const QString &name : QPrinterInfo::availablePrinterNames())
        out << PrintQueue{name, name == defaultName};
    return true;
}

PrintResult CupsSpooler::print(const QString &queue, const PrintJob &job, int *jobId, QString *error)
{
    // Drawn for the queue's paper and resolution, but into a file that is
    // then handed over here: Qt's own hand-over does not tell a refused job.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("job.pdf"));
    QPrinter printer(QPrinterInfo::printerInfo(queue), QPrinter::HighResolution);
    const QPageLayout paper = printer.pageLayout();  // with the least margins the printer reaches
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageLayout(paper);
    printer.setOutputFileName(file);
    printer.setDocName(kPrintJobTitle);
    const PrintResult drawn = job(printer);
    if (drawn != PrintResult::Printed)
        return drawn;
    *jobId = cupsPrintFile(queue.toLocal8Bit().constData(), file.toLocal8Bit().constData(),
                           kPrintJobTitle.toUtf8().constData(), 0, nullptr);
    if (*jobId == 0) {
        *error = QString::fromUtf8(cupsLastErrorString());
        return PrintResult::DeviceFailed;
    }
    return PrintResult::Printed;
}

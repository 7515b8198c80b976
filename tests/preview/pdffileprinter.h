#pragma once
// A printer whose jobs become PDF files and whose set-up dialog answers as told.

#include "preview/printerdialog.h"

#include <QDir>
#include <QFile>
#include <QPdfWriter>
#include <QStringList>
#include <functional>

class PdfFilePrinter : public PrinterDialog {
public:
    explicit PdfFilePrinter(const QString &dir) : dir_(dir) {}

    bool accept = true;      // the set-up dialog ends with OK
    bool refuse = false;     // the printer refuses every job
    QString file;            // reported as the output file
    int setUps = 0;
    QString documentName;    // proposed by the last set-up
    QStringList jobs;        // the PDF file of every printed job
    std::function<void()> whileOpen;  // runs while the set-up dialog is open

    bool setUp(QWidget *, const QString &name) override
    {
        ++setUps;
        documentName = name;
        if (whileOpen)
            whileOpen();
        return accept;
    }

    PrintResult print(const PrintJob &job) override
    {
        // A folder that does not exist makes the device refuse the document.
        const QString folder = refuse ? dir_ + QStringLiteral("/missing") : dir_;
        const QString path = folder + QStringLiteral("/job%1.pdf").arg(++attempts_);
        QPdfWriter writer(path);
        const PrintResult result = job(writer);
        if (QFile::exists(path))
            jobs << path;
        return result;
    }

    QString outputFile() const override { return file; }

private:
    QString dir_;
    int attempts_ = 0;
};

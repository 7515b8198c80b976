#pragma once
// The manual as an A4 PDF: a title page, the table of contents with the page
// of every chapter and section, then the text; every page after the title
// carries the manual's name and "Seite N von M".

#include <QString>
#include <QStringList>

struct ManualInfo {
    QString title;      // "Signovat – Handbuch"
    QString subtitle;
    QString version;    // "2.10.N"
    QString titleImage; // shown on the title page; may be empty
};

bool writeManualPdf(const QStringList &chapterFiles, const ManualInfo &info, const QString &outFile,
                    QString *error);

#pragma once
// Reading printed PDF files back: the text of one page or of all, the page count.

#include <QProcess>
#include <QString>

inline QString pdfText(const QString &path, int page = 0)
{
    QStringList args = {QStringLiteral("-layout"), path, QStringLiteral("-")};
    if (page > 0)
        args = QStringList{QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page)} + args;
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args);
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// pdftotext ends every page with a form feed.
inline int pdfPageCount(const QString &path)
{
    return int(pdfText(path).count(QLatin1Char('\f')));
}

#pragma once
// Reading printed PDF files back: page count and the text of one page.

#include <QProcess>
#include <QRegularExpression>
#include <QString>

inline int pdfPageCount(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    p.waitForFinished();
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                           .match(QString::fromUtf8(p.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

inline QString pdfText(const QString &path, int page)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                          QString::number(page), QStringLiteral("-layout"), path,
                                          QStringLiteral("-")});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The footer of a printed page: "Seite n von m Seiten ...".
inline QString pdfFooter(const QString &path, int page)
{
    const auto match = QRegularExpression(QStringLiteral("Seite \\d+ von \\d+ Seiten[^\\n]*"))
                           .match(pdfText(path, page));
    return match.hasMatch() ? match.captured(0).trimmed() : QString();
}

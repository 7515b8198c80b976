#include "base/utilities.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

QString InstallationNameOf(const QString &dataDir)
{
    const QString last = dataDir.mid(dataDir.lastIndexOf(QLatin1Char('/')) + 1);
    return last.size() < 30 ? last : QString();
}

QString ShortenPath(const QString &path, const std::function<int(const QString &)> &textWidth)
{
    if (textWidth(path) < 270)
        return path;
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString shortened = path;
    if (parts.size() > 1) {
        const QString volume = path.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
        shortened = volume + parts.first() + QStringLiteral("/... /") + parts.last();
        if (textWidth(shortened) < 270)
            return shortened;
    }
    while (!shortened.isEmpty() && textWidth(shortened) > 265)
        shortened.chop(1);
    return shortened + QStringLiteral("...");
}

FunctionKeyAction HandleFunctionKeys(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_F1:
        return FunctionKeyAction::OpenHelp;
    case Qt::Key_F12:
        return FunctionKeyAction::RaiseMainWindow;
    case Qt::Key_F10:
        return FunctionKeyAction::Consume;
    default:
        return FunctionKeyAction::PassOn;
    }
}

QStringList helpFileCandidates(const QString &startupDir, const QString &programDir)
{
    QStringList candidates{QDir(startupDir).filePath(QStringLiteral("Ovex210.pdf"))};
    if (!programDir.isEmpty()) {
        const QDir program(programDir);
        candidates << QDir::cleanPath(program.filePath(QStringLiteral("../share/signovat/Signovat-Handbuch.pdf")))
                   << QDir::cleanPath(program.filePath(QStringLiteral("../../docs/handbuch/Signovat-Handbuch.pdf")));
    }
    return candidates;
}

QString findHelpFile(const QString &startupDir, const QString &programDir)
{
    for (const QString &candidate : helpFileCandidates(startupDir, programDir))
        if (QFileInfo(candidate).isFile())
            return candidate;
    return {};
}

void OpenHelp(const QString &startupDir, const QString &programDir)
{
    const QString help = findHelpFile(startupDir, programDir);
    if (!help.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(help));
}

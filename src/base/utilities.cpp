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

QString helpFilePath(const QString &startupDir)
{
    return QDir(startupDir).filePath(QStringLiteral("Ovex210.pdf"));
}

void OpenHelp(const QString &startupDir)
{
    const QString help = helpFilePath(startupDir);
    if (QFileInfo(help).isFile())
        QDesktopServices::openUrl(QUrl::fromLocalFile(help));
}

#include "dialogs/newfolder.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kRefusedCharacters = QStringLiteral("<>|*?\\/");
}

std::optional<Message> folderNameRefusal(const QString &name)
{
    for (QChar c : kRefusedCharacters) {
        if (name.contains(c))
            return Message{QStringLiteral("Der Name '") + name
                               + QStringLiteral("' ist kein zulässiger\nOrdnername, weil er nicht verwendbare "
                                                "Zeichen enthält.\nBitte überprüfen Sie die Eingabe und "
                                                "verwenden Sie nicht\ndie folgenden Zeichen: <>|*?/\\"),
                           QStringLiteral("Eingabefehler"), PromptIcon::Warning};
    }
    return std::nullopt;
}

QString newFolderPath(const QString &folder, const QString &name)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

NewFolderResult createNewFolder(const QString &folder, const QString &name)
{
    const QString path = newFolderPath(folder, name);
    if (!QFileInfo(path).isDir())
        QDir().mkpath(path);
    if (QFileInfo(path).isDir())
        return {path, std::nullopt};
    return {path, Message{QStringLiteral("Fehler:\nVerzeichnis konnte nicht angelegt werden !"), path,
                          PromptIcon::Error}};
}

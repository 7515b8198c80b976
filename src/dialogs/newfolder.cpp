#include "dialogs/newfolder.h"

#include "base/prompt.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kRefusedCharacters = QStringLiteral("<>|*?\\/");
}

bool isAcceptableFolderName(const QString &name)
{
    for (QChar c : kRefusedCharacters)
        if (name.contains(c))
            return false;
    return true;
}

QString newFolderPath(const QString &folder, const QString &name)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

NewFolderResult createNewFolder(Prompt &prompt, const QString &folder, const QString &name)
{
    if (!isAcceptableFolderName(name)) {
        const QString text =
            QStringLiteral("Der Name '") + name
            + QStringLiteral("' ist kein zulässiger\nOrdnername, weil er nicht verwendbare Zeichen enthält.\n"
                             "Bitte überprüfen Sie die Eingabe und verwenden Sie nicht\n"
                             "die folgenden Zeichen: <>|*?/\\");
        const PromptAnswer answer =
            prompt.ask(text, QStringLiteral("Eingabefehler"), PromptIcon::Warning, PromptButtons::OkCancel);
        return {answer == PromptAnswer::Ok ? NewFolderResult::EditName : NewFolderResult::Close, QString()};
    }

    const QString path = newFolderPath(folder, name);
    if (!QFileInfo(path).isDir())
        QDir().mkpath(path);
    if (QFileInfo(path).isDir())
        return {NewFolderResult::ShowNew, path};
    prompt.tell(QStringLiteral("Fehler:\nVerzeichnis konnte nicht angelegt werden !"), path, PromptIcon::Error);
    return {NewFolderResult::Close, path};
}

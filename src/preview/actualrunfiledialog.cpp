#include "preview/actualrunfiledialog.h"

#include "base/prompt.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {
const QString kOpenTitle = QStringLiteral("Druck Ist Daten laden");
const QString kSaveTitle = QStringLiteral("Druck Ist Daten speichern");

QString ask(QWidget *parent, const QString &title, const QString &folder, const QString &name,
            QFileDialog::AcceptMode mode)
{
    const bool save = mode == QFileDialog::AcceptSave;
    QFileDialog dialog(parent, title, folder, QStringLiteral("DruckIst(*.DRI)"));
    dialog.setObjectName(save ? QStringLiteral("SaveDialogIstDatei") : QStringLiteral("OpenDialogIstDatei"));
    // The same dialog on every desktop, and one the tests can drive. Both
    // questions of the save dialog are asked afterwards, through the prompt.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("DRI"));
    if (!name.isEmpty())
        dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}
}  // namespace

QString askActualRunFileToOpen(QWidget *parent, const QString &folder)
{
    return ask(parent, kOpenTitle, folder, QString(), QFileDialog::AcceptOpen);
}

QString askActualRunFileToSave(QWidget *parent, Prompt &prompt, const QString &folder, const QString &name)
{
    QString startFolder = folder;
    QString proposed = name;
    for (;;) {
        const QString path = ask(parent, kSaveTitle, startFolder, proposed, QFileDialog::AcceptSave);
        if (path.isEmpty())
            return path;
        const QFileInfo file(path);
        const bool exists = file.exists();
        const QString question =
            exists ? QStringLiteral("%1 ist bereits vorhanden.\nMöchten Sie sie ersetzen?").arg(file.fileName())
                   : QStringLiteral("%1\nDiese Datei ist nicht vorhanden.\nMöchten Sie sie erstellen?")
                         .arg(QDir::toNativeSeparators(path));
        if (prompt.ask(question, kSaveTitle, exists ? PromptIcon::Warning : PromptIcon::Question,
                       PromptButtons::YesNo)
            == PromptAnswer::Yes)
            return path;
        // Back to the dialog, where the user left it.
        startFolder = file.absolutePath();
        proposed = file.fileName();
    }
}

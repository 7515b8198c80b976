#include "data/namesfiledialog.h"

#include <QFileDialog>

namespace {

QString ask(QWidget *parent, const QString &folder, QFileDialog::AcceptMode mode)
{
    const bool save = mode == QFileDialog::AcceptSave;
    QFileDialog dialog(parent, save ? QStringLiteral("Speichern unter") : QStringLiteral("Öffnen"), folder,
                       QStringLiteral("Gruppenbezeichnung (NAMEN.DAT)"));
    dialog.setObjectName(save ? QStringLiteral("SaveDialogBez") : QStringLiteral("OpenDialogBez"));
    // The same dialog on every desktop, and one the tests can drive.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("DAT"));
    if (save)
        dialog.selectFile(QStringLiteral("NAMEN.DAT"));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

}  // namespace

QString askNamesFileToOpen(QWidget *parent, const QString &folder)
{
    return ask(parent, folder, QFileDialog::AcceptOpen);
}

QString askNamesFileToSave(QWidget *parent, const QString &folder)
{
    return ask(parent, folder, QFileDialog::AcceptSave);
}

#include "dialogs/standardfolderpicker.h"

#include "base/appsettings.h"
#include "dialogs/newfolderdialog.h"

#include <QComboBox>
#include <QPushButton>
#include <QVBoxLayout>

TFormGetStandDir::TFormGetStandDir(Prompt &prompt, AppSettings &settings, QWidget *parent)
    : SettingsFolderPicker(prompt, settings, QStringLiteral("TFormGetStandDir"),
                           QStringLiteral("Datenpfad wählen"), parent)
{
    ordner_ = new TFormOrdner(prompt, *this, this);
    auto *newFolder = new QPushButton(QStringLiteral("Neuen Ordner erstellen"), this);
    newFolder->setObjectName(QStringLiteral("ButtonNeuerOrdner"));
    connect(newFolder, &QPushButton::clicked, ordner_, &QDialog::exec);
    extraButtons_->addWidget(newFolder, 0, Qt::AlignLeft);
    setTabOrder(drives_, newFolder);
    setTabOrder(newFolder, ok_);
}

QString &TFormGetStandDir::setting()
{
    return mode_ == StandardFolder ? settings_.StandardDataDir : settings_.ActualRunDir;
}

QString TFormGetStandDir::labelFor() const
{
    return mode_ == StandardFolder ? QStringLiteral("gewähltes Standardverzeichnis:")
                                   : QStringLiteral("gewähltes Schreib- Verzeichnis Ist - Druck:");
}

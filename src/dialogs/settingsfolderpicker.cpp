#include "dialogs/settingsfolderpicker.h"

#include "base/appsettings.h"
#include "base/prompt.h"
#include "dialogs/volumes.h"

#include <QComboBox>
#include <QDir>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

SettingsFolderPicker::SettingsFolderPicker(Prompt &prompt, AppSettings &settings, const QString &objectName,
                                           const QString &caption, QWidget *parent)
    : FolderPicker(prompt, objectName, caption, parent), settings_(settings)
{
    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("LabelDir"));
    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("EditDir"));
    field_->setReadOnly(true);
    // Room for 32 characters; a longer path is shown whole, scrolled.
    field_->setMinimumWidth(QFontMetrics(field_->font()).averageCharWidth() * 32 + 12);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(field_);
    layout->addWidget(tree_, 1);
    layout->addWidget(drives_);
    extraButtons_ = new QVBoxLayout;
    layout->addLayout(extraButtons_);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    resize(380, 400);
    // Tab follows the window from top to bottom: the field and tree come after
    // the base picker's controls in creation order.
    setTabOrder(field_, tree_);
    setTabOrder(tree_, drives_);
    setTabOrder(drives_, ok_);
    setTabOrder(ok_, cancel_);
}

QString SettingsFolderPicker::shownFolder() const
{
    return field_->text();
}

QString SettingsFolderPicker::labelText() const
{
    return label_->text();
}

void SettingsFolderPicker::prepare()
{
    label_->setText(labelFor());
    savedWorkingFolder_ = QDir::currentPath();
    showFolderFirst(setting());
}

void SettingsFolderPicker::treeFolderChanged(const QString &folder)
{
    field_->setText(folder);
}

void SettingsFolderPicker::okClicked()
{
    if (!pickerOk()) {
        prepare();
        return;
    }
    const QString folder = treeFolder();
    // A stored folder that cannot be listed would greet every later opening
    // as a drive that is not ready, and could then not be changed here.
    if (!volumeReady(folder)) {
        prompt_.tell(kDriveChosenNotReady, QStringLiteral("Zugriffsfehler"));
        return;
    }
    setting() = folder;
    accept();
    emit folderChosen(folder);
}

void SettingsFolderPicker::hideEvent(QHideEvent *event)
{
    if (!savedWorkingFolder_.isEmpty())
        QDir::setCurrent(savedWorkingFolder_);
    FolderPicker::hideEvent(event);
}

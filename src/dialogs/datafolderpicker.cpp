#include "dialogs/datafolderpicker.h"

#include <QComboBox>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTreeView>

TFormGetDir::TFormGetDir(Prompt &prompt, QWidget *parent)
    : FolderPicker(prompt, QStringLiteral("TFormGetDir"), QStringLiteral("Daten laden"), parent)
{
    fileModel_ = new QFileSystemModel(this);
    fileModel_->setFilter(QDir::Files);
    fileModel_->setNameFilters({QStringLiteral("*.DAT")});
    fileModel_->setNameFilterDisables(false);
    files_ = new QListView(this);
    files_->setObjectName(QStringLiteral("FileListBox"));
    files_->setModel(fileModel_);
    files_->setFocusPolicy(Qt::NoFocus);

    folderLabel_ = new QLabel(this);
    folderLabel_->setObjectName(QStringLiteral("DirLabel"));
    folderLabel_->setWordWrap(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Eingestelltes Verzeichnis:"), this), 0, 0);
    grid->addWidget(folderLabel_, 1, 0);
    grid->addWidget(tree_, 2, 0);
    grid->addWidget(drives_, 3, 0);
    grid->addWidget(new QLabel(QStringLiteral("Dateien: (*.DAT)"), this), 0, 1);
    grid->addWidget(files_, 1, 1, 3, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    grid->addLayout(buttons, 4, 0, 1, 2);
    resize(560, 380);
}

QString TFormGetDir::shownFolder() const
{
    return folderLabel_->text();
}

void TFormGetDir::treeFolderChanged(const QString &folder)
{
    folderLabel_->setText(folder);
    files_->setRootIndex(fileModel_->setRootPath(folder));
}

void TFormGetDir::prepare()
{
    folderLabel_->show();
    showFolderFirst(pickerFolder_);
}

void TFormGetDir::okClicked()
{
    pickerFolder_ = treeFolder();
    if (pickerOk())
        accept();
    else
        prepare();
}

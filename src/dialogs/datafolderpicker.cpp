#include "dialogs/datafolderpicker.h"

#include "app/functionkeys.h"
#include "app/prompt.h"
#include "dialogs/volumes.h"

#include <QComboBox>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTreeView>

TFormGetDir::TFormGetDir(Prompt &prompt, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), prompt_(prompt)
{
    setObjectName(QStringLiteral("TFormGetDir"));
    setWindowTitle(QStringLiteral("Daten laden"));

    dirModel_ = new QFileSystemModel(this);
    dirModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    dirModel_->setRootPath(QStringLiteral("/"));
    tree_ = new QTreeView(this);
    tree_->setObjectName(QStringLiteral("DirectoryListBox"));
    tree_->setModel(dirModel_);
    for (int c = 1; c < dirModel_->columnCount(); ++c)
        tree_->hideColumn(c);
    tree_->header()->hide();

    fileModel_ = new QFileSystemModel(this);
    fileModel_->setFilter(QDir::Files);
    fileModel_->setNameFilters({QStringLiteral("*.DAT"), QStringLiteral("*.dat")});
    fileModel_->setNameFilterDisables(false);
    files_ = new QListView(this);
    files_->setObjectName(QStringLiteral("FileListBox"));
    files_->setModel(fileModel_);
    files_->setFocusPolicy(Qt::NoFocus);

    drives_ = new QComboBox(this);
    drives_->setObjectName(QStringLiteral("DriveComboBox"));
    drives_->addItems(browsableVolumes());

    folderLabel_ = new QLabel(this);
    folderLabel_->setObjectName(QStringLiteral("DirLabel"));
    folderLabel_->setWordWrap(true);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Abbruch"), this);
    connect(ok, &QPushButton::clicked, this, &TFormGetDir::okClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                const QString path = dirModel_->filePath(current);
                folderLabel_->setText(path);
                files_->setRootIndex(fileModel_->setRootPath(path));
            });
    connect(drives_, &QComboBox::activated, this,
            [this](int index) { chooseDrive(drives_->itemText(index)); });

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Eingestelltes Verzeichnis:"), this), 0, 0);
    grid->addWidget(folderLabel_, 1, 0);
    grid->addWidget(tree_, 2, 0);
    grid->addWidget(drives_, 3, 0);
    grid->addWidget(new QLabel(QStringLiteral("Dateien: (*.DAT)"), this), 0, 1);
    grid->addWidget(files_, 1, 1, 3, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 4, 0, 1, 2);
    resize(560, 380);
}

QString TFormGetDir::treeFolder() const
{
    return dirModel_->filePath(tree_->currentIndex());
}

void TFormGetDir::setTreeFolder(const QString &folder)
{
    const QModelIndex index = dirModel_->index(folder);
    tree_->setCurrentIndex(index);
    tree_->scrollTo(index);
    tree_->expand(index);
    folderLabel_->setText(folder);
    files_->setRootIndex(fileModel_->setRootPath(folder));
    const int d = drives_->findText(volumeOf(folder));
    if (d >= 0)
        drives_->setCurrentIndex(d);
}

void TFormGetDir::chooseDrive(const QString &root)
{
    if (volumeReady(root)) {
        setTreeFolder(root);
        pickerDrive_ = root;
        return;
    }
    drives_->setCurrentIndex(drives_->findText(pickerDrive_));
    prompt_.tell(kDriveChosenNotReady, QStringLiteral("Zugriffsfehler"));
}

void TFormGetDir::prepare()
{
    const QString folder = nearestExistingFolder(pickerFolder_);
    setTreeFolder(folder);
    pickerDrive_ = volumeOf(folder);
    pickerOk_ = true;
    drives_->setFocus();
    if (!volumeReady(folder)) {
        prompt_.tell(kDriveSetNotReady, QStringLiteral("Zugriffsfehler"));
        pickerOk_ = false;
    }
}

void TFormGetDir::okClicked()
{
    pickerFolder_ = treeFolder();
    if (pickerOk_)
        accept();
    else
        prepare();
}

void TFormGetDir::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    prepare();
}

void TFormGetDir::keyPressEvent(QKeyEvent *event)
{
    if (!handleFunctionKey(event))
        QDialog::keyPressEvent(event);
}

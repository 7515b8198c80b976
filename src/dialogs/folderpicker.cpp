#include "dialogs/folderpicker.h"

#include "base/functionkeys.h"
#include "base/prompt.h"
#include "dialogs/volumes.h"

#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

namespace {
// Expand arrows only on folders that hold folders: the plain model offers one
// on every folder until it has been opened.
class FolderTreeModel : public QFileSystemModel {
public:
    using QFileSystemModel::QFileSystemModel;
    bool hasChildren(const QModelIndex &parent) const override
    {
        if (!parent.isValid() || !isDir(parent))
            return QFileSystemModel::hasChildren(parent);
        return QDirIterator(filePath(parent), filter()).hasNext();
    }
};
}  // namespace

FolderPicker::FolderPicker(Prompt &prompt, const QString &objectName, const QString &caption,
                           QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), prompt_(prompt)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setModal(true);

    dirModel_ = new FolderTreeModel(this);
    dirModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    dirModel_->setRootPath(QStringLiteral("/"));
    tree_ = new QTreeView(this);
    tree_->setObjectName(QStringLiteral("DirectoryListBox"));
    tree_->setModel(dirModel_);
    for (int c = 1; c < dirModel_->columnCount(); ++c)
        tree_->hideColumn(c);
    tree_->header()->hide();

    drives_ = new QComboBox(this);
    drives_->setObjectName(QStringLiteral("DriveComboBox"));
    drives_->addItems(browsableVolumes());

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("ButtonOk"));
    cancel_ = new QPushButton(QStringLiteral("Abbruch"), this);
    cancel_->setObjectName(QStringLiteral("ButtonAbbruch"));
    connect(ok_, &QPushButton::clicked, this, [this] { okClicked(); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                const QString folder = dirModel_->filePath(current);
                selectDriveOf(folder);
                treeFolderChanged(folder);
            });
    connect(drives_, &QComboBox::activated, this,
            [this](int index) { chooseDrive(drives_->itemText(index)); });
    // The model reads and sorts folders in the background: the chosen
    // folder is kept in view while they come in, until the user takes over.
    auto follow = [this] {
        if (followCurrent_)
            QTimer::singleShot(0, tree_, [this] { tree_->scrollTo(tree_->currentIndex()); });
    };
    connect(dirModel_, &QFileSystemModel::rowsInserted, this, follow);
    connect(dirModel_, &QFileSystemModel::layoutChanged, this, follow);
    tree_->installEventFilter(this);
    tree_->viewport()->installEventFilter(this);
}

bool FolderPicker::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        followCurrent_ = false;
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

QString FolderPicker::treeFolder() const
{
    return dirModel_->filePath(tree_->currentIndex());
}

void FolderPicker::setTreeFolder(const QString &folder)
{
    const QString clean = QDir::cleanPath(folder);
    const QModelIndex index = dirModel_->index(clean);
    followCurrent_ = true;
    tree_->setCurrentIndex(index);
    tree_->scrollTo(index);
    tree_->expand(index);
    // The selection signal does not come when the tree was there already.
    selectDriveOf(clean);
    treeFolderChanged(clean);
}

void FolderPicker::selectDriveOf(const QString &folder)
{
    const int d = drives_->findText(volumeOf(folder));
    if (d >= 0)
        drives_->setCurrentIndex(d);
}

void FolderPicker::chooseDrive(const QString &root)
{
    if (volumeReady(root)) {
        setTreeFolder(root);
        pickerDrive_ = root;
        return;
    }
    const int previous = drives_->findText(pickerDrive_);
    if (previous >= 0)
        drives_->setCurrentIndex(previous);
    prompt_.tell(kDriveChosenNotReady, QStringLiteral("Zugriffsfehler"));
}

void FolderPicker::showFolderFirst(const QString &folder)
{
    ok_->setDefault(true);
    const QString shown = nearestExistingFolder(folder);
    setTreeFolder(shown);
    pickerDrive_ = volumeOf(shown);
    pickerOk_ = true;
    drives_->setFocus();
    if (!volumeReady(shown)) {
        prompt_.tell(kDriveSetNotReady, QStringLiteral("Zugriffsfehler"));
        pickerOk_ = false;
    }
}

void FolderPicker::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    prepare();
}

void FolderPicker::keyPressEvent(QKeyEvent *event)
{
    if (!handleFunctionKey(event))
        QDialog::keyPressEvent(event);
}

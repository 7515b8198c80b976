#include "dialogs/volumes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <dirent.h>

const QString kDriveChosenNotReady = QStringLiteral(
    "Das gewählte Laufwerk ist nicht bereit\nBitte den Fehler beheben (z.B. Diskette einlegen)\nund wiederholen !");
const QString kDriveSetNotReady = QStringLiteral(
    "Das eingestellte Laufwerk ist nicht bereit\nBitte den Fehler beheben (z.B. Diskette einlegen)\nund wiederholen !");

bool isDataMountPoint(const QString &root)
{
    const auto below = [&root](const char *folder) {
        const QLatin1String f(folder);
        return root == f || root.startsWith(f + QLatin1Char('/'));
    };
    if (below("/run/media"))
        return root != QLatin1String("/run/media");
    return !below("/proc") && !below("/sys") && !below("/dev") && !below("/run");
}

QStringList browsableVolumes()
{
    QStringList roots;
    for (const QStorageInfo &v : QStorageInfo::mountedVolumes()) {
        const QString root = v.rootPath();
        if (!isDataMountPoint(root))
            continue;
        // A file mounted on its own (a container's /etc/hosts, say) is no drive.
        if (!roots.contains(root) && QFileInfo(root).isDir())
            roots << root;
    }
    roots.sort();
    return roots;
}

QString volumeOf(const QString &path)
{
    const QStorageInfo info(nearestExistingFolder(path));
    return info.isValid() ? info.rootPath() : QStringLiteral("/");
}

bool volumeReady(const QString &path)
{
    // Listing it is the only sure test: the permission bits say nothing about
    // a privileged user, a stale network mount or a medium that is gone.
    if (!QFileInfo(path).isDir())
        return false;
    DIR *dir = ::opendir(QFile::encodeName(path).constData());
    if (!dir)
        return false;
    ::closedir(dir);
    return true;
}

QString nearestExistingFolder(const QString &path)
{
    QString p = QDir::cleanPath(QDir(path).absolutePath());
    while (!QFileInfo(p).isDir()) {
        const QString parent = QFileInfo(p).path();
        if (parent == p)
            return QStringLiteral("/");
        p = parent;
    }
    return p;
}

#pragma once
// Drives on this platform are mounted volumes; one that cannot be read is
// "not ready".

#include <QString>
#include <QStringList>

// Root paths of the mounted volumes a user may browse, root first.
QStringList browsableVolumes();
// Whether a mount point is a place for data: not a kernel or runtime file
// system, but removable media mounted below /run/media are.
bool isDataMountPoint(const QString &root);
// The volume that holds path (its mount point).
QString volumeOf(const QString &path);
// True when the volume's root (or the given folder) is a folder that can be
// listed.
bool volumeReady(const QString &path);
// The folder itself when it exists, else its nearest existing parent.
QString nearestExistingFolder(const QString &path);

extern const QString kDriveChosenNotReady;   // changing the drive
extern const QString kDriveSetNotReady;      // preparing the picker

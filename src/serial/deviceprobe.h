#pragma once
// Whether the device behind a COM number can be used right now, and if not
// why: missing, in use by another program, no permission (naming the group
// the user must belong to) or no serial port at all.

#include <QString>
#include <QStringList>

struct DeviceProbe {
    bool usable = false;
    QString text;  // "bereit", or the reason the device cannot be opened
};

// Opens the device exclusively, as the ports of this program do, and closes
// it again at once.
DeviceProbe probeDevice(const QString &devicePath);

// Devices worth offering for a COM number below devRoot: the stable
// serial/by-id names, USB and ACM adapters, then the first four serial lines.
QStringList serialDeviceCandidates(const QString &devRoot = QStringLiteral("/dev"));

#include "serial/deviceprobe.h"

#include "serial/deviceserialport.h"

#include <QDir>
#include <QFileInfo>

DeviceProbe probeDevice(const QString &devicePath)
{
    if (devicePath.trimmed().isEmpty())
        return {false, QStringLiteral("kein Gerät angegeben")};
    // A name that does not exist needs no attempt; a dangling by-id link is
    // an adapter that was unplugged.
    if (!QFileInfo::exists(devicePath))
        return {false, QStringLiteral("nicht vorhanden")};
    DeviceSerialPort port;
    port.selectDevice(devicePath);
    if (!port.open())
        return {false, port.errorText()};
    port.close();
    return {true, QStringLiteral("bereit")};
}

QStringList serialDeviceCandidates(const QString &devRoot)
{
    QStringList found;
    const QDir byId(devRoot + QStringLiteral("/serial/by-id"));
    for (const QString &name : byId.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name))
        found << byId.filePath(name);
    const QDir dev(devRoot);
    const QStringList adapters = dev.entryList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
                                               QDir::System | QDir::Files, QDir::Name);
    for (const QString &name : adapters)
        found << dev.filePath(name);
    for (int n = 0; n < 4; ++n) {
        const QString line = dev.filePath(QStringLiteral("ttyS%1").arg(n));
        if (QFileInfo::exists(line))
            found << line;
    }
    return found;
}

#include "serial/comportmap.h"

#include <QSettings>

ComPortMap::ComPortMap()
{
    for (int com = kFirstCom; com <= kLastCom; ++com)
        paths_[com - 1] = defaultDevicePath(com);
}

ComPortMap ComPortMap::fromSettings(const QString &settingsFile)
{
    ComPortMap map;
    if (settingsFile.isEmpty())
        return map;
    QSettings settings(settingsFile, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Ports"));
    for (int com = kFirstCom; com <= kLastCom; ++com) {
        const QString path = settings.value(QStringLiteral("COM%1").arg(com)).toString().trimmed();
        if (!path.isEmpty())
            map.paths_[com - 1] = path;
    }
    return map;
}

QString ComPortMap::defaultDevicePath(int comNumber)
{
    if (comNumber < kFirstCom || comNumber > kLastCom)
        return {};
    if (comNumber <= 4)
        return QStringLiteral("/dev/ttyS%1").arg(comNumber - 1);
    return QStringLiteral("/dev/ttyUSB%1").arg(comNumber - 5);
}

QString ComPortMap::devicePath(int comNumber) const
{
    if (comNumber < kFirstCom || comNumber > kLastCom)
        return {};
    return paths_[comNumber - 1];
}

void ComPortMap::setDevicePath(int comNumber, const QString &path)
{
    if (comNumber < kFirstCom || comNumber > kLastCom)
        return;
    const QString trimmed = path.trimmed();
    paths_[comNumber - 1] = trimmed.isEmpty() ? defaultDevicePath(comNumber) : trimmed;
}

bool ComPortMap::save(const QString &settingsFile) const
{
    QSettings settings(settingsFile, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Ports"));
    for (int com = kFirstCom; com <= kLastCom; ++com) {
        const QString key = QStringLiteral("COM%1").arg(com);
        if (paths_[com - 1] == defaultDevicePath(com))
            settings.remove(key);
        else
            settings.setValue(key, paths_[com - 1]);
    }
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

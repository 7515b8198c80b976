#pragma once
// Which device each of the numbers COM 1 … COM 8 opens.
//
// The map is read from the settings file (INI), section [Ports], keys COM1 …
// COM8, each a device path, for example
//     [Ports]
//     COM1=/dev/ttyS0
//     COM5=/dev/ttyUSB0
//     COM7=/dev/pts/4
// A key that is missing or empty keeps its default: COM1 … COM4 are
// /dev/ttyS0 … /dev/ttyS3, COM5 … COM8 are /dev/ttyUSB0 … /dev/ttyUSB3.

#include <QString>
#include <array>

class ComPortMap {
public:
    static constexpr int kFirstCom = 1;
    static constexpr int kLastCom = 8;

    // The defaults only.
    ComPortMap();
    // The defaults overridden by the [Ports] section of settingsFile; an empty
    // or missing file gives the defaults.
    static ComPortMap fromSettings(const QString &settingsFile);

    static QString defaultDevicePath(int comNumber);

    // Empty for a number outside 1 … 8: such a port has no device.
    QString devicePath(int comNumber) const;
    // An empty path gives the number its default device back; a number
    // outside 1 … 8 is ignored.
    void setDevicePath(int comNumber, const QString &path);

    // Writes the [Ports] section of settingsFile, leaving the rest of the
    // file alone; a number with its default device gets no key. False when
    // the file could not be written.
    bool save(const QString &settingsFile) const;

private:
    std::array<QString, kLastCom> paths_;
};

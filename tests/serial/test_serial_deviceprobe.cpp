// Which device a COM number opens, kept in the settings file, and what the
// probe says about a device: ready, missing, in use, no permission (with the
// device's group), no serial port.

#include "asnobody.h"
#include "ptypair.h"
#include "qtprinters.h"
#include "serial/comportmap.h"
#include "serial/deviceprobe.h"
#include "serial/deviceserialport.h"
#include "tempdir.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString groupOf(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    const group *g = ::getgrgid(st.st_gid);
    return g ? QString::fromLocal8Bit(g->gr_name) : QString();
}

TEST(ComPortMap, SavedMapIsReadBackAndTheRestOfTheFileStays)
{
    QTemporaryDir tmp;
    const QString file = tmp.filePath("signovat.ini");
    {
        QSettings s(file, QSettings::IniFormat);
        s.setValue("SecInt/COM_NR_2", "3");
        s.setValue("Ports/COM2", "/dev/alt");
    }
    ComPortMap map = ComPortMap::fromSettings(file);
    map.setDevicePath(5, " /dev/serial/by-id/usb-FTDI_Kabel-if00-port0 ");
    map.setDevicePath(2, "");  // back to the default
    map.setDevicePath(9, "/dev/nirgends");
    ASSERT_TRUE(map.save(file));

    const ComPortMap again = ComPortMap::fromSettings(file);
    EXPECT_EQ(again.devicePath(5), "/dev/serial/by-id/usb-FTDI_Kabel-if00-port0");
    EXPECT_EQ(again.devicePath(2), "/dev/ttyS1");
    EXPECT_EQ(again.devicePath(9), "");
    QSettings s(file, QSettings::IniFormat);
    EXPECT_EQ(s.value("SecInt/COM_NR_2").toString(), "3");
    s.beginGroup("Ports");
    EXPECT_EQ(s.childKeys(), QStringList{"COM5"});

    // A settings file that cannot be written.
    writeBytes(tmp.filePath("datei"), "x");
    EXPECT_FALSE(map.save(tmp.filePath("datei/signovat.ini")));
}

TEST(DeviceProbe, TellsWhyADeviceCannotBeOpened)
{
    QTemporaryDir tmp;
    EXPECT_EQ(probeDevice("").text, "kein Gerät angegeben");
    const DeviceProbe missing = probeDevice(tmp.filePath("ttyUSB7"));
    EXPECT_FALSE(missing.usable);
    EXPECT_EQ(missing.text, "nicht vorhanden");

    writeBytes(tmp.filePath("datei"), "unverändert");
    const DeviceProbe file = probeDevice(tmp.filePath("datei"));
    EXPECT_FALSE(file.usable);
    EXPECT_TRUE(file.text.contains("keine serielle Schnittstelle")) << file.text.toStdString();
    EXPECT_EQ(readBytes(tmp.filePath("datei")), "unverändert");

    PtyPair pty;
    ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
    const DeviceProbe ready = probeDevice(pty.first());
    EXPECT_TRUE(ready.usable) << ready.text.toStdString();
    EXPECT_EQ(ready.text, "bereit");

    DeviceSerialPort holder;
    holder.selectDevice(pty.first());
    ASSERT_TRUE(holder.open());
    const DeviceProbe busy = probeDevice(pty.first());
    EXPECT_FALSE(busy.usable);
    EXPECT_TRUE(busy.text.contains("belegt")) << busy.text.toStdString();
    holder.close();
}

TEST(DeviceProbe, NamesTheGroupAUserWithoutPermissionMustJoin)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as a user outside the device's group";
    PtyPair pty;
    ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
    DeviceProbe denied;
    {
        FileAccessAsNobody nobody;
        denied = probeDevice(pty.second());
    }
    EXPECT_FALSE(denied.usable);
    EXPECT_TRUE(denied.text.contains("Berechtigung")) << denied.text.toStdString();
    EXPECT_TRUE(denied.text.contains(QStringLiteral("„%1“").arg(groupOf(pty.second()))))
        << denied.text.toStdString();
}

TEST(DeviceProbe, OffersStableNamesAdaptersAndTheFirstSerialLines)
{
    QTemporaryDir dev;
    QDir().mkpath(dev.filePath("serial/by-id"));
    for (const char *name : {"ttyUSB1", "ttyUSB0", "ttyACM0", "ttyS0", "ttyS3", "ttyS7", "tty1", "null"})
        writeBytes(dev.filePath(name), "");
    QFile::link(dev.filePath("ttyUSB0"), dev.filePath("serial/by-id/usb-Prolific-if00-port0"));
    EXPECT_EQ(serialDeviceCandidates(dev.path()),
              (QStringList{dev.filePath("serial/by-id/usb-Prolific-if00-port0"), dev.filePath("ttyACM0"),
                           dev.filePath("ttyUSB0"), dev.filePath("ttyUSB1"), dev.filePath("ttyS0"),
                           dev.filePath("ttyS3")}));
}

}  // namespace

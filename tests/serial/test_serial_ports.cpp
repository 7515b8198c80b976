// The COM number map and the termios port on pseudo-terminals.

#include "serial/comportmap.h"
#include "serial/deviceserialport.h"
#include "serial/ptypair.h"
#include "tempdir.h"

#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <termios.h>
#include <unistd.h>

// Polls like the program's timers do, until n bytes came or time is up.
static QByteArray readAtLeast(SerialPort &port, int n)
{
    QByteArray got;
    QElapsedTimer clock;
    clock.start();
    while (got.size() < n && clock.elapsed() < 5000) {
        if (const int waiting = port.bytesWaiting())
            got += port.read(waiting);
        else
            QThread::msleep(1);
    }
    return got;
}

static void configureLink(DeviceSerialPort &port, const QString &device)
{
    port.selectDevice(device);
    port.setBaudRate(9600);
    port.setParity(SerialPort::Parity::Even);
    port.setDataBits(8);
    port.setStopBits(2);
}

static termios deviceSettings(const QString &device)
{
    termios tio {};
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(::tcgetattr(fd, &tio), 0);
    ::close(fd);
    return tio;
}

// A pseudo-terminal whose master side this test holds: closing it is
// pulling the adapter out.
struct Pty {
    int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    QString device = master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0
                         ? QString::fromLocal8Bit(::ptsname(master)) : QString();
    ~Pty() { unplug(); }
    void unplug()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
};

TEST(ComPortMap, DefaultsStoredDevicesAndNumbersOutOfRange)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("settings.ini");
    ASSERT_TRUE(writeBytes(ini, "[SecInt]\nCOM_NR=2\n[Ports]\nCOM2=/dev/pts/7\nCOM3=\nCOM8=/dev/ttyACM0\nCOM43=/dev/ttyS9\n"));
    ComPortMap map = ComPortMap::fromSettings(ini);
    const struct {
        int com;
        const char *device;
    } cases[] = {{1, "/dev/ttyS0"}, {2, "/dev/pts/7"}, {3, "/dev/ttyS2"} /* empty keeps the default */,
                 {4, "/dev/ttyS3"}, {5, "/dev/ttyUSB0"}, {8, "/dev/ttyACM0"}, {0, ""}, {-1, ""}, {9, ""}, {43, ""}};
    for (const auto &c : cases)
        EXPECT_EQ(map.devicePath(c.com), c.device) << c.com;
    EXPECT_EQ(ComPortMap().devicePath(8), "/dev/ttyUSB3");
    EXPECT_EQ(ComPortMap::fromSettings(dir.filePath("missing.ini")).devicePath(5), "/dev/ttyUSB0");

    // Saved, only the changed numbers are written, and the rest of the file
    // stays; a port takes a changed number at its next selection.
    DeviceSerialPort port(ini);
    port.selectCom(5);
    map.setDevicePath(5, " /dev/serial/by-id/usb-FTDI_Kabel-if00-port0 ");
    map.setDevicePath(2, "");  // back to the default
    map.setDevicePath(9, "/dev/nirgends");
    ASSERT_TRUE(map.save(ini));
    EXPECT_EQ(port.devicePath(), "/dev/ttyUSB0");
    port.selectCom(5);
    EXPECT_EQ(port.devicePath(), "/dev/serial/by-id/usb-FTDI_Kabel-if00-port0");
    EXPECT_EQ(ComPortMap::fromSettings(ini).devicePath(2), "/dev/ttyS1");
    QSettings s(ini, QSettings::IniFormat);
    EXPECT_EQ(s.value("SecInt/COM_NR").toString(), "2");
    s.beginGroup("Ports");
    EXPECT_EQ(s.childKeys(), (QStringList{"COM43", "COM5", "COM8"}));
    EXPECT_FALSE(map.save(ini + "/signovat.ini"));  // a settings file that cannot be written
}

TEST(DeviceSerialPort, OpenFailsCleanlyWithAReason)
{
    DeviceSerialPort unmapped, missing;
    unmapped.selectCom(43);
    EXPECT_FALSE(unmapped.open() || unmapped.isOpen());
    EXPECT_EQ(unmapped.errorText(), "COM 43 ist keinem Gerät zugeordnet");
    missing.selectDevice("/dev/signovat-no-such-port");
    EXPECT_FALSE(missing.open());
    EXPECT_EQ(missing.errorText(), "Schnittstelle /dev/signovat-no-such-port ist nicht vorhanden");
}

TEST(DeviceSerialPort, CarriesEveryByteOnTheLineSettingsAndDropsStaleInput)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
    DeviceSerialPort a, b;
    configureLink(a, pty.first());
    configureLink(b, pty.second());
    ASSERT_TRUE(a.open()) << a.errorText().toStdString();
    ASSERT_TRUE(b.open()) << b.errorText().toStdString();
    termios tio = deviceSettings(pty.first());
    EXPECT_EQ(std::make_tuple(::cfgetospeed(&tio), tio.c_cflag & (CSIZE | CSTOPB), tio.c_cc[VMIN]),
              std::make_tuple(speed_t(B9600), tcflag_t(CS8 | CSTOPB), cc_t(0)));
    EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO));  // raw bytes, no line editing

    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    ASSERT_TRUE(b.write(all));
    EXPECT_EQ(readAtLeast(a, all.size()), all);  // no byte is translated or eaten

    // The capture switches the open printer port to 1200 baud, 1 stop bit;
    // a pty keeps no parity, which is no failure.
    a.setBaudRate(1200);
    a.setStopBits(1);
    a.setParity(SerialPort::Parity::None);
    a.setParity(SerialPort::Parity::Even);
    tio = deviceSettings(pty.first());
    EXPECT_TRUE(::cfgetospeed(&tio) == speed_t(B1200) && !(tio.c_cflag & CSTOPB));

    // Input waiting when the link arms for an answer is dropped.
    ASSERT_TRUE(a.write("stale"));
    QElapsedTimer clock;
    for (clock.start(); b.bytesWaiting() < 5 && clock.elapsed() < 5000;)
        QThread::msleep(1);
    ASSERT_EQ(b.bytesWaiting(), 5);
    b.flushInput();
    EXPECT_TRUE(b.bytesWaiting() == 0 && b.read(10).isEmpty());

    b.close();
    b.setBaudRate(1234);
    EXPECT_FALSE(b.open());
    EXPECT_EQ(b.errorText(), "Baudrate 1234 wird nicht unterstützt");
}

TEST(DeviceSerialPort, APulledAdapterIsLostUntilThePortIsOpenedAgain)
{
    auto adapter = std::make_unique<Pty>();
    ASSERT_FALSE(adapter->device.isEmpty());
    DeviceSerialPort port;
    configureLink(port, adapter->device);
    ASSERT_TRUE(port.open()) << port.errorText().toStdString();
    ASSERT_EQ(::write(adapter->master, "vorher\n", 7), 7);
    EXPECT_EQ(readAtLeast(port, 7), "vorher\n");
    EXPECT_FALSE(port.lost());

    adapter->unplug();
    EXPECT_TRUE(port.isOpen() && port.lost() && port.bytesWaiting() == 0);

    // Plugged in again: usually under the same name. The open port stays
    // lost; opening it again reaches the new device.
    adapter = std::make_unique<Pty>();
    EXPECT_TRUE(port.lost());
    port.close();
    configureLink(port, adapter->device);
    ASSERT_TRUE(port.open()) << port.errorText().toStdString();
    EXPECT_FALSE(port.lost());
    ASSERT_EQ(::write(adapter->master, "nachher\n", 8), 8);
    EXPECT_EQ(readAtLeast(port, 8), "nachher\n");
}

// The COM number map, the termios port on pty pairs, and the in-memory port.

#include "serial/comportmap.h"
#include "serial/deviceserialport.h"
#include "serial/fakeserialport.h"
#include "serial/ptypair.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <termios.h>
#include <unistd.h>

namespace {

// Polls like the program's timers do, until n bytes came or time is up.
QByteArray readAtLeast(SerialPort &port, int n, int timeoutMs = 5000)
{
    QByteArray got;
    QElapsedTimer clock;
    clock.start();
    while (got.size() < n && clock.elapsed() < timeoutMs) {
        const int waiting = port.bytesWaiting();
        if (waiting > 0)
            got += port.read(waiting);
        else
            QThread::msleep(1);
    }
    return got;
}

void configureLink(DeviceSerialPort &port, const QString &device)
{
    port.selectDevice(device);
    port.setBaudRate(9600);
    port.setParity(SerialPort::Parity::Even);
    port.setDataBits(8);
    port.setStopBits(2);
}

termios deviceSettings(const QString &device)
{
    termios tio {};
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    EXPECT_GE(fd, 0);
    if (fd >= 0) {
        EXPECT_EQ(::tcgetattr(fd, &tio), 0);
        ::close(fd);
    }
    return tio;
}

}  // namespace

TEST(ComPortMap, DefaultsSettingsAndNumbersOutOfRange)
{
    const ComPortMap defaults;
    EXPECT_EQ(defaults.devicePath(1), "/dev/ttyS0");
    EXPECT_EQ(defaults.devicePath(4), "/dev/ttyS3");
    EXPECT_EQ(defaults.devicePath(5), "/dev/ttyUSB0");
    EXPECT_EQ(defaults.devicePath(8), "/dev/ttyUSB3");
    for (int bad : {0, -1, 9, 43})
        EXPECT_TRUE(defaults.devicePath(bad).isEmpty()) << bad;

    QTemporaryDir dir;
    const QString ini = dir.filePath("settings.ini");
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[SecInt]\nCOM_NR=2\n[Ports]\nCOM2=/dev/pts/7\nCOM3=\nCOM8=/dev/ttyACM0\nCOM43=/dev/ttyS9\n");
    f.close();
    const ComPortMap map = ComPortMap::fromSettings(ini);
    EXPECT_EQ(map.devicePath(2), "/dev/pts/7");
    EXPECT_EQ(map.devicePath(3), "/dev/ttyS2");  // empty value keeps the default
    EXPECT_EQ(map.devicePath(8), "/dev/ttyACM0");
    EXPECT_EQ(map.devicePath(1), "/dev/ttyS0");
    EXPECT_TRUE(map.devicePath(43).isEmpty());

    EXPECT_EQ(ComPortMap::fromSettings(dir.filePath("missing.ini")).devicePath(5), "/dev/ttyUSB0");
}

TEST(DeviceSerialPort, ChangedAssignmentAppliesAtTheNextSelection)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("settings.ini");
    ComPortMap map;
    map.setDevicePath(3, "/dev/erste");
    ASSERT_TRUE(map.save(file));
    DeviceSerialPort port(file);
    port.selectCom(3);
    EXPECT_EQ(port.devicePath(), "/dev/erste");

    map.setDevicePath(3, "/dev/zweite");
    ASSERT_TRUE(map.save(file));
    EXPECT_EQ(port.devicePath(), "/dev/erste");
    port.selectCom(3);
    EXPECT_EQ(port.devicePath(), "/dev/zweite");
}

TEST(DeviceSerialPort, OpenFailsCleanlyWithAReason)
{
    DeviceSerialPort unmapped;
    unmapped.selectCom(43);
    EXPECT_TRUE(unmapped.devicePath().isEmpty());
    EXPECT_FALSE(unmapped.open());
    EXPECT_FALSE(unmapped.isOpen());
    EXPECT_EQ(unmapped.errorText(), "COM 43 ist keinem Gerät zugeordnet");

    DeviceSerialPort missing;
    missing.selectDevice("/dev/signovat-no-such-port");
    EXPECT_FALSE(missing.open());
    EXPECT_TRUE(missing.errorText().contains("/dev/signovat-no-such-port"));
    EXPECT_TRUE(missing.errorText().contains("nicht vorhanden"));

    DeviceSerialPort notATty;
    notATty.selectDevice("/dev/null");
    EXPECT_FALSE(notATty.open());
    EXPECT_TRUE(notATty.errorText().contains("keine serielle Schnittstelle"));

    // A closed port neither sends nor receives.
    EXPECT_FALSE(missing.write("x"));
    EXPECT_EQ(missing.bytesWaiting(), 0);
    EXPECT_TRUE(missing.read(10).isEmpty());
}

TEST(DeviceSerialPort, CarriesBytesBothWaysWithoutAnEventLoop)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
    DeviceSerialPort a, b;
    configureLink(a, pty.first());
    configureLink(b, pty.second());
    ASSERT_TRUE(a.open()) << a.errorText().toStdString();
    ASSERT_TRUE(b.open()) << b.errorText().toStdString();

    const QByteArray frame = QByteArray::fromHex("02100c02020e690202000000007a16");
    ASSERT_TRUE(a.write(frame));
    EXPECT_EQ(readAtLeast(b, frame.size()), frame);

    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    ASSERT_TRUE(b.write(all));
    EXPECT_EQ(readAtLeast(a, all.size()), all);  // raw: no byte is translated or eaten

    // Input waiting when the link arms for an answer is dropped.
    ASSERT_TRUE(a.write("stale"));
    QElapsedTimer clock;
    clock.start();
    while (b.bytesWaiting() < 5 && clock.elapsed() < 5000)
        QThread::msleep(1);
    ASSERT_EQ(b.bytesWaiting(), 5);
    b.flushInput();
    EXPECT_EQ(b.bytesWaiting(), 0);
    EXPECT_TRUE(b.read(10).isEmpty());
}

// A pseudo-terminal whose master side this test holds: closing it is
// pulling the adapter out.
struct Pty {
    int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    QString device;
    Pty()
    {
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            device = QString::fromLocal8Bit(::ptsname(master));
    }
    ~Pty() { unplug(); }
    void unplug()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
};

TEST(DeviceSerialPort, APulledAdapterIsLostUntilThePortIsOpenedAgain)
{
    auto adapter = std::make_unique<Pty>();
    ASSERT_FALSE(adapter->device.isEmpty());
    DeviceSerialPort port;
    configureLink(port, adapter->device);
    ASSERT_TRUE(port.open()) << port.errorText().toStdString();
    EXPECT_FALSE(port.lost());
    ASSERT_EQ(::write(adapter->master, "vorher\n", 7), 7);
    EXPECT_EQ(readAtLeast(port, 7), "vorher\n");
    EXPECT_FALSE(port.lost());

    adapter->unplug();
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(port.lost());
    EXPECT_EQ(port.bytesWaiting(), 0);

    // Plugged in again: usually under the same name. The open port stays
    // lost; opening it again reaches the new device.
    adapter = std::make_unique<Pty>();
    ASSERT_FALSE(adapter->device.isEmpty());
    EXPECT_TRUE(port.lost());
    port.close();
    configureLink(port, adapter->device);
    ASSERT_TRUE(port.open()) << port.errorText().toStdString();
    EXPECT_FALSE(port.lost());
    ASSERT_EQ(::write(adapter->master, "nachher\n", 8), 8);
    EXPECT_EQ(readAtLeast(port, 8), "nachher\n");
}

TEST(DeviceSerialPort, OpenIsExclusive)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
    DeviceSerialPort first, second;
    configureLink(first, pty.first());
    configureLink(second, pty.first());
    ASSERT_TRUE(first.open());
    EXPECT_FALSE(second.open());
    EXPECT_TRUE(second.errorText().contains("belegt")) << second.errorText().toStdString();

    first.close();
    EXPECT_TRUE(second.open()) << second.errorText().toStdString();
    second.close();
    EXPECT_TRUE(first.open()) << first.errorText().toStdString();
}

TEST(DeviceSerialPort, LineSettingsReachTheDeviceBeforeAndAfterOpening)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
    DeviceSerialPort port;
    configureLink(port, pty.first());
    ASSERT_TRUE(port.open()) << port.errorText().toStdString();

    termios tio = deviceSettings(pty.first());
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B9600));
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_TRUE(tio.c_cflag & CSTOPB);
    EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO));  // raw bytes, no line editing
    EXPECT_EQ(tio.c_cc[VMIN], 0);

    // The capture switches the open printer port to 1200 baud, 1 stop bit;
    // a pty keeps no parity, which is no failure.
    port.setBaudRate(1200);
    port.setStopBits(1);
    port.setParity(SerialPort::Parity::None);
    port.setParity(SerialPort::Parity::Even);
    tio = deviceSettings(pty.first());
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B1200));
    EXPECT_FALSE(tio.c_cflag & CSTOPB);
    EXPECT_TRUE(port.isOpen());

    DeviceSerialPort other;
    configureLink(other, pty.second());
    ASSERT_TRUE(other.open());
    ASSERT_TRUE(port.write("ok"));
    EXPECT_EQ(readAtLeast(other, 2), "ok");

    DeviceSerialPort oddRate;
    configureLink(oddRate, pty.second());
    other.close();
    oddRate.setBaudRate(1234);
    EXPECT_FALSE(oddRate.open());
    EXPECT_TRUE(oddRate.errorText().contains("1234"));
    EXPECT_FALSE(oddRate.isOpen());
}

TEST(FakeSerialPort, RecordsWritesAndHandsOutInjectedBytes)
{
    FakeSerialPort port;
    port.inject("early");
    EXPECT_EQ(port.bytesWaiting(), 0);  // nothing is seen on a closed port
    EXPECT_FALSE(port.write("x"));

    ASSERT_TRUE(port.open());
    EXPECT_EQ(port.read(3), "ear");
    EXPECT_EQ(port.read(10), "ly");
    EXPECT_TRUE(port.write("ab"));
    EXPECT_TRUE(port.write("c"));
    EXPECT_EQ(port.takeWritten(), "abc");
    EXPECT_TRUE(port.written.isEmpty());

    port.inject("junk");
    port.flushInput();
    EXPECT_EQ(port.bytesWaiting(), 0);
    EXPECT_EQ(port.inputFlushes, 1);

    port.close();
    port.failOpen = true;
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.errorText().isEmpty());
}

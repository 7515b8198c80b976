#include "serial/deviceserialport.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A write that the driver cannot take within this time has failed: the line
// is stuck (flow control, a pty nobody reads).
constexpr int kWriteTimeoutMs = 2000;

speed_t speedOf(int baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
    }
}

tcflag_t charSizeOf(int bits)
{
    switch (bits) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    default: return CS8;
    }
}

QString ownerGroupOf(const QByteArray &path)
{
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return {};
    const group *g = ::getgrgid(st.st_gid);
    return g ? QString::fromLocal8Bit(g->gr_name) : QString();
}

QString openFailureText(const QString &path, int error)
{
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return QStringLiteral("Schnittstelle %1 ist nicht vorhanden").arg(path);
    case EBUSY:
    case EWOULDBLOCK:
        return QStringLiteral("Schnittstelle %1 ist von einer anderen Anwendung belegt").arg(path);
    case EACCES:
    case EPERM: {
        const QString group = ownerGroupOf(path.toLocal8Bit());
        const QString which = group.isEmpty() ? QStringLiteral("der Gruppe, der das Gerät gehört (meist „dialout“)")
                                              : QStringLiteral("der Gruppe „%1“, der das Gerät gehört").arg(group);
        return QStringLiteral("Keine Berechtigung für Schnittstelle %1: der Benutzer muss Mitglied %2 sein")
            .arg(path, which);
    }
    case ENOTTY:
        return QStringLiteral("%1 ist keine serielle Schnittstelle").arg(path);
    default:
        return QStringLiteral("Schnittstelle %1 kann nicht geöffnet werden: %2")
            .arg(path, QString::fromLocal8Bit(std::strerror(error)));
    }
}

PortFault faultOf(int error)
{
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return PortFault::Missing;
    case EBUSY:
    case EWOULDBLOCK:
        return PortFault::InUse;
    case EACCES:
    case EPERM:
        return PortFault::NoPermission;
    case ENOTTY:
    case EISDIR:
        return PortFault::NotSerial;
    default:
        return PortFault::Other;
    }
}

}  // namespace

DeviceSerialPort::DeviceSerialPort(ComPortMap map) : map_(std::move(map)) {}

DeviceSerialPort::DeviceSerialPort(const QString &settingsFile)
    : map_(ComPortMap::fromSettings(settingsFile)), settingsFile_(settingsFile)
{
}

DeviceSerialPort::~DeviceSerialPort()
{
    close();
}

void DeviceSerialPort::selectCom(int comNumber)
{
    comNumber_ = comNumber;
    if (!settingsFile_.isEmpty())
        map_ = ComPortMap::fromSettings(settingsFile_);
    devicePath_ = map_.devicePath(comNumber);
}

int DeviceSerialPort::comNumber() const
{
    return comNumber_;
}

void DeviceSerialPort::selectDevice(const QString &devicePath)
{
    comNumber_ = 0;
    devicePath_ = devicePath;
}

QString DeviceSerialPort::devicePath() const
{
    return devicePath_;
}

// The setters on an open port apply at once. A pty keeps no parity and some
// drivers refuse a change while open; the port still works, so a refusal is
// only remembered in errorText().
void DeviceSerialPort::setBaudRate(int baud)
{
    baud_ = baud;
    if (isOpen())
        applyLineSettings();
}

void DeviceSerialPort::setParity(Parity parity)
{
    parity_ = parity;
    if (isOpen())
        applyLineSettings();
}

void DeviceSerialPort::setDataBits(int bits)
{
    dataBits_ = bits;
    if (isOpen())
        applyLineSettings();
}

void DeviceSerialPort::setStopBits(int bits)
{
    stopBits_ = bits;
    if (isOpen())
        applyLineSettings();
}

bool DeviceSerialPort::applyLineSettings()
{
    const speed_t speed = speedOf(baud_);
    if (speed == B0) {
        errorText_ = QStringLiteral("Baudrate %1 wird nicht unterstützt").arg(baud_);
        return false;
    }
    if (dataBits_ < 5 || dataBits_ > 8 || (stopBits_ != 1 && stopBits_ != 2)) {
        errorText_ = QStringLiteral("Ungültige Einstellung: %1 Datenbits, %2 Stoppbits").arg(dataBits_).arg(stopBits_);
        return false;
    }
    termios tio {};
    if (::tcgetattr(fd_, &tio) != 0) {
        errorText_ = openFailureText(devicePath_, errno);
        return false;
    }
    ::cfmakeraw(&tio);
    tio.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY | INPCK);
    tio.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= charSizeOf(dataBits_) | CLOCAL | CREAD;
    if (parity_ != Parity::None)
        tio.c_cflag |= PARENB | (parity_ == Parity::Odd ? PARODD : 0);
    if (stopBits_ == 2)
        tio.c_cflag |= CSTOPB;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) {
        const int error = errno;
        // A pty has no parity: the C library reports the ignored parity bit
        // as EINVAL although everything else was taken. That is no failure.
        termios now {};
        const tcflag_t kept = CSIZE | CSTOPB;
        if (error == EINVAL && ::tcgetattr(fd_, &now) == 0 && ::cfgetospeed(&now) == speed
            && (now.c_cflag & kept) == (tio.c_cflag & kept))
            return true;
        errorText_ = QStringLiteral("Schnittstelle %1: Einstellungen nicht übernommen: %2")
                         .arg(devicePath_, QString::fromLocal8Bit(std::strerror(error)));
        return false;
    }
    return true;
}

bool DeviceSerialPort::open()
{
    close();
    errorText_.clear();
    problem_ = {comNumber_, devicePath_, PortFault::None, {}, {}};
    if (devicePath_.isEmpty()) {
        problem_.fault = PortFault::Unassigned;
        errorText_ = comNumber_ > 0 ? QStringLiteral("COM %1 ist keinem Gerät zugeordnet").arg(comNumber_)
                                    : QStringLiteral("Keine Schnittstelle gewählt");
        return false;
    }
    const QByteArray path = devicePath_.toLocal8Bit();
    fd_ = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        fail(errno);
        return false;
    }
    // flock finds another opener that locks (this program, many terminal
    // programs); TIOCEXCL turns away later plain openers.
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd_, TIOCEXCL) != 0) {
        const int error = errno == ENOTTY ? ENOTTY : EBUSY;
        ::close(fd_);
        fd_ = -1;
        fail(error);
        return false;
    }
    if (!applyLineSettings()) {
        problem_.fault = PortFault::Other;
        problem_.detail = errorText_;
        ::ioctl(fd_, TIOCNXCL);
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    ::tcflush(fd_, TCIOFLUSH);
    return true;
}

void DeviceSerialPort::fail(int error)
{
    errorText_ = openFailureText(devicePath_, error);
    problem_.fault = faultOf(error);
    problem_.detail = errorText_;
    if (problem_.fault == PortFault::NoPermission)
        problem_.group = ownerGroupOf(devicePath_.toLocal8Bit());
}

PortProblem DeviceSerialPort::problem() const
{
    return problem_;
}

void DeviceSerialPort::close()
{
    if (fd_ < 0)
        return;
    // The exclusive flag outlives this descriptor while another one (a pty's
    // owner, say) stays open; clear it so the next open here works.
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

bool DeviceSerialPort::isOpen() const
{
    return fd_ >= 0;
}

QString DeviceSerialPort::errorText() const
{
    return errorText_;
}

bool DeviceSerialPort::write(const QByteArray &bytes)
{
    if (!isOpen())
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            errorText_ = QStringLiteral("Schreibfehler auf %1: %2")
                             .arg(devicePath_, QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        pollfd p {fd_, POLLOUT, 0};
        if (::poll(&p, 1, kWriteTimeoutMs) <= 0) {
            errorText_ = QStringLiteral("Schreibfehler auf %1: Zeitüberschreitung").arg(devicePath_);
            return false;
        }
    }
    return true;
}

bool DeviceSerialPort::lost() const
{
    if (!isOpen())
        return false;
    if (!QFileInfo::exists(devicePath_))
        return true;
    // A device that went and came back under the same name (an adapter
    // plugged in again) is a new device: this descriptor stays hung up.
    pollfd p {fd_, POLLIN, 0};
    return ::poll(&p, 1, 0) == 1 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

int DeviceSerialPort::bytesWaiting()
{
    if (!isOpen())
        return 0;
    int n = 0;
    if (::ioctl(fd_, FIONREAD, &n) != 0)
        return 0;
    return n;
}

QByteArray DeviceSerialPort::read(int maxBytes)
{
    if (!isOpen() || maxBytes <= 0)
        return {};
    QByteArray out(maxBytes, Qt::Uninitialized);
    ssize_t n;
    do {
        n = ::read(fd_, out.data(), size_t(maxBytes));
    } while (n < 0 && errno == EINTR);
    // EAGAIN: nothing there; EIO: the far end of a pty has gone.
    out.resize(n > 0 ? n : 0);
    return out;
}

void DeviceSerialPort::flushInput()
{
    if (isOpen())
        ::tcflush(fd_, TCIFLUSH);
}

void DeviceSerialPort::flushOutput()
{
    if (isOpen())
        ::tcflush(fd_, TCOFLUSH);
}

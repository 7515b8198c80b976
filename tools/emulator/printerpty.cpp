#include "printerpty.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

PrinterPty::~PrinterPty()
{
    Close();
}

bool PrinterPty::Create(QString *error)
{
    // Non-blocking: a printout nobody reads is dropped, not a hung emulator.
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        Close();
        return false;
    }
    path_ = QString::fromLocal8Bit(::ptsname(master_));
    slave_ = ::open(::ptsname(master_), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio {};
    if (slave_ < 0 || ::tcgetattr(slave_, &tio) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        Close();
        return false;
    }
    // Raw before anything is written: the line discipline would otherwise
    // turn the printout's carriage returns into line feeds.
    ::cfmakeraw(&tio);
    ::tcsetattr(slave_, TCSANOW, &tio);
    return true;
}

bool PrinterPty::Write(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (master_ >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return master_ >= 0;
}

void PrinterPty::Close()
{
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
    slave_ = master_ = -1;
}

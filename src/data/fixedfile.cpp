#include "data/fixedfile.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FixedFileResult readFixedFile(const QString &path, qsizetype expectedSize, QByteArray &bytes)
{
    if (!QFileInfo(path).isFile())
        return FixedFileResult::NotOpened;

    // The entry may have been swapped for a pipe since the check: a
    // non-blocking open cannot hang on it, and fstat looks at what was opened.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return FixedFileResult::NotOpened;
    struct stat st;
    QFile file;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return FixedFileResult::NotOpened;
    }

    if (st.st_size != expectedSize)
        return FixedFileResult::WrongSize;

    // The file may change while it is read; only exactly expectedSize bytes
    // followed by the end of the file count.
    QByteArray buffer(expectedSize, Qt::Uninitialized);
    char extra;
    if (file.read(buffer.data(), expectedSize) != expectedSize || file.read(&extra, 1) != 0)
        return FixedFileResult::WrongSize;
    bytes = buffer;
    return FixedFileResult::Read;
}

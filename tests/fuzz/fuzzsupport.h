#pragma once
// Fuzz harness helpers: a check that crashes on a broken promise, and scratch files.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

// A private folder for the run, in /dev/shm where there is one: every input is written.
inline const QString &scratchDir()
{
    static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm/signovat-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/signovat-fuzz-XXXXXX"));
    static const QString path = dir.path();
    FUZZ_CHECK(dir.isValid());
    return path;
}

// Removes whatever `path` is: file, link, pipe or empty folder.
inline void removeScratchEntry(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    if (::unlink(native.constData()) != 0)
        ::rmdir(native.constData());
}

// Replaces whatever `path` is by a regular file holding the bytes.
inline void writeScratchFile(const QString &path, const char *data, size_t size)
{
    removeScratchEntry(path);
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    FUZZ_CHECK(fd >= 0);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        FUZZ_CHECK(n > 0);
        done += size_t(n);
    }
    ::close(fd);
}

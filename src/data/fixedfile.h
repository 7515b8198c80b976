#pragma once
// Reading a file that must have one exact size.

#include <QByteArray>
#include <QString>

enum class FixedFileResult {
    Read,        // bytes holds exactly the expected number of bytes
    NotOpened,   // missing, unreadable, or not a regular file (directory, pipe, device)
    WrongSize,   // a regular file of another size; nothing was read
};

// Never allocates more than expectedSize, whatever size the file claims, and
// never opens anything but a regular file: opening a FIFO would block.
FixedFileResult readFixedFile(const QString &path, qsizetype expectedSize, QByteArray &bytes);

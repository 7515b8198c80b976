#include "actual/simulationfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The simulation program's header file is some sixty lines; a file far
// beyond that is not one of its files and is read only this far.
constexpr qint64 kMaxFileBytes = 64 * 1024;

// A data file counts when it is older than this offset from the start
// (in packed units: a day and a half).
constexpr int64_t kStampWindow = 90000;
}  // namespace

uint32_t PackedStamp(const QDateTime &time)
{
    const QDateTime local = time.toLocalTime();
    const QDate d = local.date();
    const QTime t = local.time();
    return uint32_t(d.year() - 1980) << 25 | uint32_t(d.month()) << 21 | uint32_t(d.day()) << 16
           | uint32_t(t.hour()) << 11 | uint32_t(t.minute()) << 5 | uint32_t(t.second() / 2);
}

QString SimulationFiles::path(int number) const
{
    return QDir(folder_).filePath(QStringLiteral("D%1.ist").arg(number));
}

void SimulationFiles::DeleteAll() const
{
    for (int n = kHeaderFile; n <= kLastFile; ++n)
        Delete(n);
}

bool SimulationFiles::Delete(int number) const
{
    return QFile::remove(path(number));
}

bool SimulationFiles::stampOf(int number, uint32_t *stamp) const
{
    const QFileInfo info(path(number));
    if (!info.exists())
        return false;
    *stamp = PackedStamp(info.lastModified());
    return true;
}

int SimulationFiles::ChooseNext(uint32_t startStamp, uint32_t headerStamp, uint32_t *stamp) const
{
    uint32_t s = 0;
    if (stampOf(kHeaderFile, &s) && s > startStamp) {
        *stamp = s;
        return kHeaderFile;
    }
    int chosen = -1;
    int64_t limit = int64_t(startStamp) + kStampWindow;
    for (int n = kHeaderFile + 1; n <= kLastFile; ++n) {
        if (!stampOf(n, &s) || int64_t(s) >= limit || s <= startStamp || s <= headerStamp)
            continue;
        chosen = n;
        limit = s;
        *stamp = s;
    }
    return chosen;
}

QList<QByteArray> SimulationFiles::ReadLines(int number, int maxLines) const
{
    // Not blocking on a pipe put in a file's place: the open does not wait,
    // and only a plain file is read.
    const int fd = ::open(QFile::encodeName(path(number)).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat st;
    QFile file;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {};
    }
    const QByteArray text = file.read(kMaxFileBytes);
    QList<QByteArray> raw = text.split('\n');
    if (text.isEmpty() || text.endsWith('\n'))
        raw.removeLast();  // nothing follows the last line feed
    QList<QByteArray> lines;
    for (QByteArray line : raw) {
        if (lines.size() >= maxLines)
            break;
        // The text of a line ends at a carriage return or a NUL.
        for (const char end : {'\r', '\0'}) {
            const qsizetype at = line.indexOf(end);
            if (at >= 0)
                line.truncate(at);
        }
        lines << line.left(kLineCapacity);
    }
    return lines;
}

#include "data/wholefilesave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QLatin1String kMarker(".signovat-save-");
constexpr int kRandomLetters = 6;

QString temporaryName(const QString &targetName)
{
    QString name = QLatin1Char('.') + targetName + kMarker;
    for (int i = 0; i < kRandomLetters; ++i) {
        const int r = int(QRandomGenerator::global()->bounded(52));
        name += QLatin1Char(char(r < 26 ? 'A' + r : 'a' + r - 26));
    }
    return name;
}

// Temporary files of earlier saves of the same target that were cut off.
void removeUnfinishedSaves(const QDir &dir, const QString &targetName)
{
    const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(QLatin1Char('.') + targetName + kMarker)
        + QStringLiteral("[A-Za-z]{%1}").arg(kRandomLetters)));
    const QStringList candidates = dir.entryList(
        {QLatin1Char('.') + targetName + kMarker + QLatin1Char('*')}, QDir::Files | QDir::Hidden);
    for (const QString &name : candidates)
        if (pattern.match(name).hasMatch())
            QFile::remove(dir.filePath(name));
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The save's temporary file in the target's folder. Unnamed (O_TMPFILE)
// where the file system has them, else named from the start; removed again
// unless release()d after it took the target's place.
class TemporaryFile {
public:
    TemporaryFile(const QDir &dir, const QString &targetName) : dir_(dir), targetName_(targetName) {}
    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!path_.isEmpty())
            ::unlink(QFile::encodeName(path_).constData());
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    int fd() const { return fd_; }
    int error() const { return error_; }
    QString path() const { return path_; }

    bool create(mode_t mode)
    {
        fd_ = ::open(QFile::encodeName(dir_.absolutePath()).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (fd_ >= 0 && QFileInfo::exists(QStringLiteral("/proc/self/fd")))
            return true;
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        } else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            return failed(errno);  // the folder is missing or not writable
        }
        return giveName([this, mode](const QByteArray &name) {
            fd_ = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            return fd_ >= 0;
        });
    }

    // All the bytes, on the disk.
    bool writeAll(const QByteArray &bytes)
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.constData() + done, size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return failed(n < 0 ? errno : ENOSPC);
            done += n;
        }
        return ::fdatasync(fd_) == 0 || failed(errno);
    }

    // The finished file gets its name in the folder, ready to be renamed.
    bool name()
    {
        if (path_.isEmpty()) {
            const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_);
            if (!giveName([&self](const QByteArray &name) {
                    return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0;
                }))
                return false;
        }
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 || failed(errno);
    }

    void release() { path_.clear(); }

private:
    bool failed(int error)
    {
        error_ = error;
        return false;
    }

    // Another save may have drawn the same letters: a few tries.
    bool giveName(const std::function<bool(const QByteArray &)> &take)
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            const QString candidate = dir_.filePath(temporaryName(targetName_));
            if (take(QFile::encodeName(candidate))) {
                path_ = candidate;
                return true;
            }
            if (errno != EEXIST)
                break;
        }
        return failed(errno);
    }

    QDir dir_;
    QString targetName_;
    int fd_ = -1;
    int error_ = 0;
    QString path_;
};

// The rename is on the disk too, not only the file's bytes.
void syncFolder(const QDir &dir)
{
    const int fd = ::open(QFile::encodeName(dir.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

bool saveWholeFile(const QString &path, const QByteArray &bytes, SaveFailure *failure)
{
    const auto fail = [failure](SaveFailure::Stage stage, const QString &reason) {
        if (failure)
            *failure = {stage, reason};
        return false;
    };
    // Saving over a link saves into the file it points to, as an editor would.
    const QFileInfo given(path);
    const QString target = given.isSymLink() && given.exists() ? given.canonicalFilePath() : path;
    const QFileInfo info(target);
    if (info.isDir())
        return fail(SaveFailure::Create, QStringLiteral("Unter diesem Namen ist ein Ordner vorhanden."));
    const QDir dir = info.absoluteDir();
    removeUnfinishedSaves(dir, info.fileName());

    // A new file gets the usual permissions (after the umask); a replaced one keeps its own.
    const QByteArray targetNative = QFile::encodeName(info.absoluteFilePath());
    struct stat existing {};
    const bool replacing = ::stat(targetNative.constData(), &existing) == 0;
    const mode_t mode = replacing ? (existing.st_mode & 07777) : 0666;

    // Where the file system allows, the bytes go to a file without a name
    // until they are on the disk: a save killed before that leaves nothing.
    TemporaryFile temp(dir, info.fileName());
    if (!temp.create(mode))
        return fail(SaveFailure::Create, systemReason(temp.error()));
    if (replacing)
        ::fchmod(temp.fd(), mode);
    if (!temp.writeAll(bytes))
        return fail(SaveFailure::Write, systemReason(temp.error()));
    if (!temp.name())
        return fail(SaveFailure::Replace, systemReason(temp.error()));
    if (std::rename(QFile::encodeName(temp.path()).constData(), targetNative.constData()) != 0)
        return fail(SaveFailure::Replace, systemReason(errno));
    temp.release();
    syncFolder(dir);
    return true;
}

QString SaveFailureMessage(const QString &fileName, const SaveFailure &failure)
{
    switch (failure.stage) {
    case SaveFailure::Create:
        return QStringLiteral("Die Datei %1 kann nicht angelegt werden:\n%2").arg(fileName, failure.reason);
    case SaveFailure::Write:
        return QStringLiteral("Die Datei %1 konnte nicht vollständig geschrieben werden:\n%2").arg(fileName, failure.reason);
    case SaveFailure::Replace:
        break;
    }
    return QStringLiteral("Die Datei %1 konnte nicht gespeichert werden:\n%2").arg(fileName, failure.reason);
}

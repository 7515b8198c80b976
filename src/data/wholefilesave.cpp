#include "data/wholefilesave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cstdio>
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

}  // namespace

bool saveWholeFile(const QString &path, const QByteArray &bytes)
{
    // Saving over a link saves into the file it points to, as an editor would.
    const QFileInfo given(path);
    const QString target = given.isSymLink() && given.exists() ? given.canonicalFilePath() : path;
    const QFileInfo info(target);
    if (info.isDir())
        return false;
    const QDir dir = info.absoluteDir();
    removeUnfinishedSaves(dir, info.fileName());

    // A new file gets the usual permissions (after the umask); a replaced one keeps its own.
    const QFileDevice::Permissions permissions = info.exists()
        ? info.permissions()
        : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
              | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    QFile temp;
    bool opened = false;
    for (int attempt = 0; attempt < 3 && !opened; ++attempt) {  // another save may have drawn the same letters
        temp.setFileName(dir.filePath(temporaryName(info.fileName())));
        opened = temp.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered, permissions);
    }
    if (!opened)
        return false;

    const bool written = temp.write(bytes) == bytes.size() && ::fdatasync(temp.handle()) == 0;
    temp.close();
    if (!written || temp.error() != QFileDevice::NoError
        || std::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(info.absoluteFilePath()).constData()) != 0) {
        temp.remove();
        return false;
    }
    return true;
}

#include "data/datasetloader.h"

#include "data/bytereader.h"
#include "data/datalayout.h"
#include "data/fixedfile.h"

#include <QDir>

QString dataFilePath(const QString &dir, const QString &fileName)
{
    return dir.endsWith(QLatin1Char('/')) ? dir + fileName : dir + QLatin1Char('/') + fileName;
}

bool unpackDataFile(InstallationData &d, DataFile file, const QByteArray &bytes)
{
    if (bytes.size() != dataFileInfo(file).size)
        return false;
    ByteReader reader(bytes.constData(), bytes.size());
    walkDataFile(reader, d, file);
    return reader.complete();
}

QString dataFileName(const QStringList &entries, const QString &name)
{
    if (entries.contains(name))
        return name;
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return name;
}

namespace {
QStringList folderEntries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

FixedFileResult readDataFile(const QString &dir, const QStringList &entries, const DataFileInfo &info,
                             QByteArray &bytes)
{
    return readFixedFile(dataFilePath(dir, dataFileName(entries, QString::fromLatin1(info.name))), info.size, bytes);
}
}  // namespace

QString noDataSetRefusal(const QString &dir)
{
    // "Found" as the load report means it: a file of the wrong size is there.
    const QStringList entries = folderEntries(dir);
    for (const DataFileInfo &info : kDataFiles) {
        QByteArray bytes;
        if (readDataFile(dir, entries, info, bytes) != FixedFileResult::NotOpened)
            return QString();
    }
    return QStringLiteral("Im Verzeichnis %1 wurden keine Anlagendaten gefunden.").arg(dir);
}

QStringList loadDataSet(InstallationData &d, const QString &dir, const ResetRules &rules)
{
    const QString title = QStringLiteral("Lese Daten aus: ") + dir;
    QStringList report{title, QString(title.size(), QLatin1Char('-')), QString()};

    const QStringList entries = folderEntries(dir);
    for (const DataFileInfo &info : kDataFiles) {
        const QString name = QString::fromLatin1(info.name);
        QByteArray bytes;
        const FixedFileResult result = readDataFile(dir, entries, info, bytes);
        if (result == FixedFileResult::Read && unpackDataFile(d, info.file, bytes)) {
            report << name + QStringLiteral(" gelesen");
            continue;
        }
        resetDataFile(d, info.file, rules);
        report << name
                + (result == FixedFileResult::NotOpened
                       ? QStringLiteral(" nicht gefunden. Standardwerte geladen !")
                       : QStringLiteral(" hat falsche Größe. Standardwerte geladen !"));
    }
    return report;
}

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

QStringList loadDataSet(InstallationData &d, const QString &dir, const ResetRules &rules)
{
    const QString title = QStringLiteral("Lese Daten aus: ") + dir;
    QStringList report{title, QString(title.size(), QLatin1Char('-')), QString()};

    const QStringList entries =
        QDir(dir).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const DataFileInfo &info : kDataFiles) {
        const QString name = QString::fromLatin1(info.name);
        QByteArray bytes;
        const FixedFileResult result =
            readFixedFile(dataFilePath(dir, dataFileName(entries, name)), info.size, bytes);
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

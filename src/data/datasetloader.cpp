#include "data/datasetloader.h"

#include "data/bytereader.h"
#include "data/datalayout.h"
#include "data/fixedfile.h"

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

QStringList loadDataSet(InstallationData &d, const QString &dir, const ResetRules &rules)
{
    const QString title = QStringLiteral("Lese Daten aus: ") + dir;
    QStringList report{title, QString(title.size(), QLatin1Char('-')), QString()};

    for (const DataFileInfo &info : kDataFiles) {
        const QString name = QString::fromLatin1(info.name);
        QByteArray bytes;
        const FixedFileResult result = readFixedFile(dataFilePath(dir, name), info.size, bytes);
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

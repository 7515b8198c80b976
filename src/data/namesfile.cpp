#include "data/namesfile.h"

#include "data/datasetloader.h"
#include "data/defaults.h"
#include "data/fixedfile.h"
#include "data/wholefilesave.h"

#include <QFileInfo>

bool readNamesFile(InstallationData &d, const QString &path)
{
    const int size = dataFileInfo(DataFile::Namen).size;
    QByteArray bytes;
    if (readFixedFile(path, size, bytes) == FixedFileResult::Read
        && unpackDataFile(d, DataFile::Namen, bytes))
        return true;
    resetGroupNames(d);
    return false;
}

bool writeNamesFile(const InstallationData &d, const QString &path, QString *error)
{
    QByteArray bytes;
    for (const GroupName &name : d.GroupNames)
        bytes.append(name.data(), kGroupNameLength);

    SaveFailure failure;
    if (saveWholeFile(path, bytes, &failure))
        return true;
    if (error)
        *error = SaveFailureMessage(QFileInfo(path).fileName(), failure);
    return false;
}

#include "data/namesfile.h"

#include "data/datasetloader.h"
#include "data/defaults.h"
#include "data/fixedfile.h"

#include <QSaveFile>

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

bool writeNamesFile(const InstallationData &d, const QString &path)
{
    QByteArray bytes;
    for (const GroupName &name : d.GroupNames)
        bytes.append(name.data(), kGroupNameLength);

    // Unbuffered, so that the write reports what reached the file: a failure
    // found only while committing a buffer does not always stop the commit.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

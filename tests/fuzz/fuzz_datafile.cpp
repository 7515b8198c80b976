// Any bytes as one file of the data set: the first byte picks the file, the
// rest is its content. A file of its exact size is unpacked field by field
// (packing the result again gives the same bytes); any other size leaves the
// data untouched.

#include "data/datafiles.h"
#include "data/datasetloader.h"
#include "datasetwriter.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const DataFileInfo &info = kDataFiles[data[0] % kDataFiles.size()];
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    InstallationData d;
    const QByteArray before = packDataFile(d, info.file);
    const bool unpacked = unpackDataFile(d, info.file, bytes);
    FUZZ_CHECK(unpacked == (bytes.size() == info.size));
    if (!unpacked) {
        FUZZ_CHECK(packDataFile(d, info.file) == before);
        return 0;
    }
    QByteArray expected = bytes;
    if (info.file == DataFile::All) {
        // The bytes before the three texts are skipped on reading; the
        // writer puts the field width there.
        for (int offset : {4, 37, 70})
            expected[offset] = char(kTextFieldLength);
    }
    FUZZ_CHECK(packDataFile(d, info.file) == expected);
    return 0;
}

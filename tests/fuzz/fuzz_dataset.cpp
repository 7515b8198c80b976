// A whole data folder made from the input and loaded like "Daten laden" does.
//
// The input is one record per data file, in reading order:
//   kind (1 byte), length (2 bytes, little-endian), content (length bytes)
// where kind modulo 8 makes the folder entry: 0 a file with the content,
// 1 nothing, 2 a folder, 3 a named pipe, 4 a link to /dev/zero, 5 a link to
// nothing, 6 a link to itself, 7 a link to a file with the content. Files
// the input does not reach are missing; a cut-off content is used as it is.
//
// Every file gets its report line; a file of its exact size is loaded as it
// is, everything else leaves its part at the defaults.

#include "data/datasetloader.h"
#include "data/defaults.h"
#include "datasetwriter.h"
#include "fuzzsupport.h"

#include <sys/stat.h>

namespace {

enum Kind { File, Missing, Folder, Pipe, DevZero, Dangling, Loop, LinkToFile, KindCount };

const ResetRules kRules{true, 0};

void makeEntry(const QString &path, Kind kind, const QByteArray &content)
{
    const QByteArray native = QFile::encodeName(path);
    const QByteArray target = QFile::encodeName(path + QStringLiteral(".target"));
    if (kind == File || kind == LinkToFile)
        writeScratchFile(kind == File ? path : QFile::decodeName(target), content.constData(), size_t(content.size()));
    const int result = kind == Folder                          ? ::mkdir(native.constData(), 0700)
                       : kind == Pipe                          ? ::mkfifo(native.constData(), 0600)
                       : kind == DevZero                       ? ::symlink("/dev/zero", native.constData())
                       : kind == Dangling || kind == LinkToFile ? ::symlink(target.constData(), native.constData())
                       : kind == Loop                          ? ::symlink(native.constData(), native.constData())
                                                               : 0;
    FUZZ_CHECK(result == 0);
}

// The packed defaults of every file, to compare a part left at its defaults with.
const std::array<QByteArray, kDataFiles.size()> &packedDefaults()
{
    static const auto packed = [] {
        std::array<QByteArray, kDataFiles.size()> p;
        for (std::size_t i = 0; i < kDataFiles.size(); ++i) {
            InstallationData defaults;
            resetDataFile(defaults, kDataFiles[i].file, kRules);
            p[i] = packDataFile(defaults, kDataFiles[i].file);
        }
        return p;
    }();
    return packed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString dir = scratchDir() + QStringLiteral("/set");
    static const bool created = QDir().mkpath(dir);
    FUZZ_CHECK(created);

    // The folder as the previous input left it: an entry that is to be the
    // same again stays as it is, which spares most of the file writing, and
    // its part of the data, checked with that input, is not checked again.
    static std::array<Kind, kDataFiles.size()> previousKinds{};
    static std::array<QByteArray, kDataFiles.size()> previousContents;
    static bool folderKnown = false;

    std::array<Kind, kDataFiles.size()> kinds;
    std::array<QByteArray, kDataFiles.size()> contents;
    std::array<bool, kDataFiles.size()> changed;
    size_t pos = 0;
    for (std::size_t i = 0; i < kDataFiles.size(); ++i) {
        kinds[i] = Missing;
        if (pos + 3 <= size) {
            kinds[i] = Kind(data[pos] % KindCount);
            const size_t length = std::min<size_t>(data[pos + 1] | (data[pos + 2] << 8), size - pos - 3);
            contents[i] = QByteArray(reinterpret_cast<const char *>(data + pos + 3), qsizetype(length));
            pos += 3 + length;
        }
        changed[i] = !folderKnown || kinds[i] != previousKinds[i] || contents[i] != previousContents[i];
        if (!changed[i])
            continue;
        const QString path = dataFilePath(dir, QString::fromLatin1(kDataFiles[i].name));
        removeScratchEntry(path);
        removeScratchEntry(path + QStringLiteral(".target"));
        makeEntry(path, kinds[i], contents[i]);
    }
    previousKinds = kinds;
    previousContents = contents;
    folderKnown = true;

    InstallationData d;
    const QStringList report = loadDataSet(d, dir, kRules);
    FUZZ_CHECK(report.size() == 3 + int(kDataFiles.size()));
    FUZZ_CHECK(report[0] == QStringLiteral("Lese Daten aus: ") + dir);

    for (std::size_t i = 0; i < kDataFiles.size(); ++i) {
        const DataFileInfo &info = kDataFiles[i];
        const QString name = QString::fromLatin1(info.name);
        const bool isFile = kinds[i] == File || kinds[i] == LinkToFile;
        const bool fits = isFile && contents[i].size() == info.size;
        const QString &line = report[3 + int(i)];
        if (fits) {
            FUZZ_CHECK(line == name + QStringLiteral(" gelesen"));
            if (!changed[i])
                continue;
            QByteArray expected = contents[i];
            if (info.file == DataFile::All)
                for (int offset : {4, 37, 70})  // skipped on reading, see fuzz_datafile.cpp
                    expected[offset] = char(kTextFieldLength);
            FUZZ_CHECK(packDataFile(d, info.file) == expected);
            continue;
        }
        FUZZ_CHECK(line == name + (isFile ? QStringLiteral(" hat falsche Größe. Standardwerte geladen !")
                                          : QStringLiteral(" nicht gefunden. Standardwerte geladen !")));
        if (changed[i])
            FUZZ_CHECK(packDataFile(d, info.file) == packedDefaults()[i]);
    }
    return 0;
}

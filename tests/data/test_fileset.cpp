// Loading the twenty data files: field offsets, the load report, defaults and resets.

#include "data/bytereader.h"
#include "data/datalayout.h"
#include "data/datasetloader.h"
#include "data/defaults.h"
#include "data/textfield.h"
#include "tempdir.h"

#include <QDir>
#include <QMap>
#include <QtEndian>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const ResetRules kAfterStartup{true, 0};

// Pseudo-random bytes, so that a field read from a wrong place shows.
QByteArray patternBytes(int size, uint32_t seed)
{
    QByteArray bytes(size, '\0');
    uint32_t x = seed * 2654435761u + 1;
    for (char &b : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = char(x & 0xff);
    }
    return bytes;
}

QMap<QString, QByteArray> writePatternSet(const QString &dir)
{
    QMap<QString, QByteArray> files;
    uint32_t seed = 1;
    for (const DataFileInfo &info : kDataFiles) {
        const QString name = QString::fromLatin1(info.name);
        files[name] = patternBytes(info.size, seed++);
        writeBytes(QDir(dir).filePath(name), files[name]);
    }
    return files;
}

// Where the first record of every field starts in its file; a text field's
// characters follow one byte that is not part of the text.
const QMap<QString, int> kFieldOffsets = {
    {"GroupCount", 0}, {"LocationLine1", 5}, {"LocationLine2", 38}, {"Customer", 71}, {"FixedTimeMode", 103},
    {"HeaderOption", 104}, {"RadioLink", 108}, {"TwoGreenPhases", 112}, {"ProgramReleased", 113},
    {"EmergencyProgram", 119}, {"ProgramNumber", 0}, {"CycleTime", 4}, {"DemandTime1", 8}, {"DemandTime2", 12},
    {"ContinueTime1", 16}, {"ContinueTime2", 20}, {"SwitchOnPoint", 24}, {"SwitchOffPoint", 28},
    {"GroupStartPoint", 32}, {"Option1", 36}, {"Option2", 37}, {"Option3", 38}, {"Value1", 39}, {"Value2", 43},
    {"Value3", 47}, {"DemandDelay1", 51}, {"DemandDelay2", 55}, {"GreenFrom1", 59}, {"GreenFrom2", 155},
    {"GreenTo1", 251}, {"GreenTo2", 347}, {"GroupValue1", 443}, {"GroupValue2", 539}, {"GroupValue3", 635},
    {"RedYellowTime", 731}, {"YellowTime", 827}, {"FlashFrom1", 923}, {"FlashFrom2", 1019}, {"FlashTo1", 1115},
    {"FlashTo2", 1211}, {"YellowFrom1", 1307}, {"YellowFrom2", 1403}, {"YellowTo1", 1499}, {"YellowTo2", 1595},
    {"WaitPoint", 1691}, {"FaultFlash", 1787}, {"RedMonitoring", 1811}, {"PermanentDemand", 1835},
    {"ExtendBeyondMax", 1859}, {"GroupOption", 1883}, {"ExtensionPoint1", 1907}, {"ExtensionPoint2", 2003},
    {"ExtensionTime1", 2099}, {"ExtensionTime2", 2195}, {"GapTime1", 2291}, {"GapTime2", 2387}, {"PairValueA1", 2483},
    {"PairValueA2", 2579}, {"PairValueB1", 2675}, {"PairValueB2", 2771}, {"Extend", 2867}, {"GroupDigit", 2891},
    {"Duration", 0}, {"SetA", 4}, {"SetB", 28}, {"SetC", 52}, {"SchTable", 0}, {"ZwiFlags", 0}, {"ZwiTimes", 576},
    {"KopfValues", 0}, {"ParaMatrix", 0}, {"ParSperrMatrix", 0}, {"AnfMatrix", 0}, {"MitMatrix", 0},
    {"MitValues", 576}, {"VersatzTimes", 0}, {"GspTable", 0}, {"GspFlags", 120}, {"MelderTable", 0}, {"SuperA", 0},
    {"SuperB", 16}, {"SuperC", 32}, {"SuperD", 48}, {"SuperGroups", 64}, {"PwFlags1", 0}, {"PwFlags2", 144},
    {"PwValues1", 288}, {"PwValues2", 312}, {"PwValues3", 336}, {"PwValues4", 360}, {"GrMinTable", 0},
    {"InstallationType", 0}, {"KonfValue", 4}, {"GroupNames", 0},
};

// Compares the first record of every field, as loaded, with the file's bytes
// at the field's offset (the model holds them little-endian, as the files do).
struct FirstRecords {
    const QByteArray &file;
    QStringList &seen;
    template <class T> void field(const char *name, T &v)
    {
        if (seen.contains(QLatin1String(name)))
            return;
        seen << QLatin1String(name);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(&v), sizeof v),
                  file.mid(kFieldOffsets.value(QLatin1String(name), -1), sizeof v))
            << name;
    }
    void text(const char *name, TextField32 &t) { field(name, t); }
};

// Every field of one file's part of the model as bytes, and of all parts.
struct Flattener {
    QByteArray out;
    template <class T> void field(const char *, T &v) { out.append(reinterpret_cast<const char *>(&v), sizeof v); }
    void text(const char *name, TextField32 &t) { field(name, t); }
};

QByteArray part(InstallationData d, DataFile file)
{
    Flattener f;
    walkDataFile(f, d, file);
    return f.out;
}

QByteArray flatten(const InstallationData &d)
{
    QByteArray all;
    for (const DataFileInfo &info : kDataFiles)
        all += part(d, info.file);
    return all;
}

// Every file's part set to bytes no default has.
InstallationData loadedLooking()
{
    InstallationData d;
    for (const DataFileInfo &info : kDataFiles)
        EXPECT_TRUE(unpackDataFile(d, info.file, QByteArray(info.size, 'Z')));
    return d;
}

QStringList reportLines(const char *suffix)
{
    QStringList lines;
    for (const char *name : {"ALL.DAT", "AUS1.DAT", "AUS2.DAT", "EIN.DAT", "PROG.DAT", "SCH.DAT", "ZWI.DAT",
                             "KOPF.DAT", "PARA.DAT", "PARSPERR.DAT", "ANF.DAT", "MIT.DAT", "VERSATZ.DAT", "GSP.DAT",
                             "MELDER.DAT", "SUPER.DAT", "PW.DAT", "GRMINTAB.DAT", "KONF.DAT", "NAMEN.DAT"})
        lines << QLatin1String(name) + QString::fromUtf8(suffix);
    return lines;
}

}  // namespace

TEST(DataSetLoad, EveryFieldAtItsOffset)
{
    QTemporaryDir dir;
    const QMap<QString, QByteArray> files = writePatternSet(dir.path());
    InstallationData d;
    // Before start-up is done: the group count and type still come from the files.
    const QStringList report = loadDataSet(d, dir.path(), ResetRules{false, TypeKvx});
    EXPECT_EQ(report.mid(3), reportLines(" gelesen"));
    QStringList seen;
    for (const DataFileInfo &info : kDataFiles) {
        FirstRecords check{files[QLatin1String(info.name)], seen};
        walkDataFile(check, d, info.file);
    }
    EXPECT_EQ(seen.size(), kFieldOffsets.size());
}

TEST(DataSetLoad, ReportInReadingOrderUnderItsHeading)
{
    QTemporaryDir dir;
    const QString withSlash = dir.path() + "/";
    const ResetRules atStartup{false, 2};
    InstallationData d, expected;
    resetToDefaults(d, atStartup, true);
    QStringList report = loadDataSet(d, withSlash, atStartup);
    EXPECT_EQ(report.mid(0, 3), QStringList({"Lese Daten aus: " + withSlash, QString(report[0].size(), '-'), ""}));
    EXPECT_EQ(report.mid(3), reportLines(" nicht gefunden. Standardwerte geladen !"));
    // Every part at its defaults, the group count that of type 2.
    resetToDefaults(expected, atStartup, true);
    expected.Konf = KonfWords{};
    EXPECT_EQ(flatten(d), flatten(expected));
    EXPECT_EQ(d.Header.GroupCount, 12u);

    // The first of several entries that differ only in case; the exact name first.
    const QMap<QString, QByteArray> files = writePatternSet(dir.path());
    ASSERT_TRUE(QFile::rename(dir.filePath("ALL.DAT"), dir.filePath("all.dat")));
    ASSERT_TRUE(QFile::rename(dir.filePath("NAMEN.DAT"), dir.filePath("Namen.Dat")));
    writeBytes(dir.filePath("prog.dat"), patternBytes(17491, 99));
    report = loadDataSet(d, dir.path(), kAfterStartup);
    EXPECT_EQ(report.mid(3), reportLines(" gelesen"));
    EXPECT_EQ(d.Header.GroupCount, qFromLittleEndian<uint32_t>(files["ALL.DAT"].constData()));
    EXPECT_EQ(d.GroupNames[0][0], files["NAMEN.DAT"][0]);
    EXPECT_EQ(dataFileName({"all.dat", "ALL.DAT"}, "ALL.DAT"), "ALL.DAT");
    EXPECT_EQ(dataFileName({"All.Dat", "all.dat"}, "ALL.DAT"), "All.Dat");
}

TEST(DataSetLoad, OnlyAFolderWithoutAnyDataFileIsRefused)
{
    QTemporaryDir dir;  // a folder named ALL.DAT is no file; an empty namen.dat is one, of the wrong size
    QDir(dir.path()).mkdir("ALL.DAT");
    EXPECT_FALSE(noDataSetRefusal(dir.path()).isEmpty());
    writeBytes(dir.filePath("namen.dat"), QByteArray());
    EXPECT_TRUE(noDataSetRefusal(dir.path()).isEmpty());
}

TEST(DataSetLoad, AFileOfTheWrongSizeGivesDefaultsForItsPartOnly)
{
    QTemporaryDir dir;
    writePatternSet(dir.path());
    InstallationData loaded, d;
    loadDataSet(loaded, dir.path(), kAfterStartup);
    writeBytes(dir.filePath("PROG.DAT"), patternBytes(17491, 99));
    writeBytes(dir.filePath("KONF.DAT"), QByteArray());
    QStringList expectedReport = reportLines(" gelesen");
    expectedReport[4] = "PROG.DAT hat falsche Größe. Standardwerte geladen !";
    expectedReport[18] = "KONF.DAT hat falsche Größe. Standardwerte geladen !";
    EXPECT_EQ(loadDataSet(d, dir.path(), kAfterStartup).mid(3), expectedReport);
    resetDataFile(loaded, DataFile::Prog, kAfterStartup);
    resetDataFile(loaded, DataFile::Konf, kAfterStartup);
    EXPECT_EQ(flatten(d), flatten(loaded));
}

TEST(DataSetLoad, ByteReaderStopsAtTheEndOfTheBuffer)
{
    const char bytes[] = {1, 2, 3};
    ByteReader reader(bytes, 3);
    uint16_t first = 0;
    uint32_t second = 0xffffffff;
    reader.field("", first);
    EXPECT_FALSE(reader.complete());
    reader.field("", second);
    EXPECT_EQ(std::make_tuple(first, second, reader.complete()), std::make_tuple(uint16_t(0x0201), 0u, false));
}

// The default values themselves are pinned by the bundled example, which the
// sample-data maker builds on the defaults.
TEST(Defaults, StartupResetTakesTypeAndGroupCountFromSettings)
{
    const std::pair<uint32_t, uint32_t> expected[] = {{0, 24}, {1, 4}, {2, 12}, {4, 0}};
    for (const auto &[type, groups] : expected) {
        InstallationData d;  // zeros, as at program start
        d.Konf.InstallationType = 3;
        resetToDefaults(d, ResetRules{false, type}, true);
        EXPECT_EQ(std::make_pair(d.Konf.InstallationType, d.Header.GroupCount), std::make_pair(type, groups));
    }
}

TEST(Defaults, ResetAfterStartupKeepsTypeGroupCountAndChosenNames)
{
    InstallationData d = loadedLooking();
    TextToField10("K1 West", d.GroupNames[0]);
    resetToDefaults(d, ResetRules{true, TypeKvx}, false);
    EXPECT_EQ(std::make_tuple(d.Header.GroupCount, d.Konf.InstallationType, d.Konf.KonfValue, d.Programs[0].CycleTime),
              std::make_tuple(0x5A5A5A5Au, 0x5A5A5A5Au, 2u, 0u));
    EXPECT_EQ(GroupNameText(d, 0), "K1 West");
    // The example describes its header; here are the header's defaults.
    const InstallationHeader &h = d.Header;
    for (const TextField32 *text : {&h.LocationLine1, &h.LocationLine2, &h.Customer})
        EXPECT_EQ(QByteArray(text->data(), 32), QByteArray(32, ' '));
    EXPECT_EQ(h.FixedTimeMode, 1);
    EXPECT_EQ(h.ProgramReleased, (std::array<uint8_t, 6>{1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(h.EmergencyProgram, 1u);
    resetToDefaults(d, ResetRules{true, TypeKvx}, true);
    EXPECT_EQ(GroupNameText(d, 0), "");
}

TEST(Defaults, AFileResetChangesItsPartOnly)
{
    for (const DataFileInfo &reset : kDataFiles) {
        const InstallationData before = loadedLooking();
        InstallationData d = before;
        resetDataFile(d, reset.file, ResetRules{true, 0});
        for (const DataFileInfo &other : kDataFiles)
            EXPECT_EQ(part(d, other.file) == part(before, other.file), other.file != reset.file)
                << reset.name << " reset, " << other.name << " compared";
    }
}

#include "data/bytereader.h"
#include "data/datalayout.h"
#include "data/datasetloader.h"
#include "data/defaults.h"
#include "patternset.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const ResetRules kAfterStartup{true, 0};

const char *const kReadingOrder[] = {"ALL.DAT", "AUS1.DAT", "AUS2.DAT", "EIN.DAT", "PROG.DAT",
    "SCH.DAT", "ZWI.DAT", "KOPF.DAT", "PARA.DAT", "PARSPERR.DAT", "ANF.DAT", "MIT.DAT",
    "VERSATZ.DAT", "GSP.DAT", "MELDER.DAT", "SUPER.DAT", "PW.DAT", "GRMINTAB.DAT", "KONF.DAT",
    "NAMEN.DAT"};

QString notFound(const char *name)
{
    return QString::fromLatin1(name) + " nicht gefunden. Standardwerte geladen !";
}

QString wrongSize(const char *name)
{
    return QString::fromLatin1(name) + " hat falsche Größe. Standardwerte geladen !";
}

// Every field of the model as bytes, to compare two data sets as a whole.
struct Flattener {
    QByteArray out;
    template <class T> void field(const char *, T &v) { out.append(reinterpret_cast<const char *>(&v), sizeof v); }
    template <class T, std::size_t N> void field(const char *name, std::array<T, N> &a)
    {
        for (T &e : a)
            field(name, e);
    }
    void text(const char *name, TextField32 &t) { field(name, t); }
};

QByteArray flatten(InstallationData d)
{
    Flattener f;
    for (const DataFileInfo &info : kDataFiles)
        walkDataFile(f, d, info.file);
    return f.out;
}

class PatternSet : public ::testing::Test {
protected:
    void SetUp() override
    {
        files = writePatternSet(dir.path());
        report = loadDataSet(d, dir.path(), kAfterStartup);
    }
    QTemporaryDir dir;
    QMap<QString, QByteArray> files;
    InstallationData d;
    QStringList report;
};

TEST_F(PatternSet, ReportsEveryFileReadInReadingOrder)
{
    ASSERT_EQ(report.size(), 23);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(report[3 + i], QString::fromLatin1(kReadingOrder[i]) + " gelesen");
}

TEST_F(PatternSet, HeaderAtItsOffsets)
{
    const QByteArray &b = files["ALL.DAT"];
    const InstallationHeader &h = d.Header;
    EXPECT_EQ(h.GroupCount, le32At(b, 0));
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(uint8_t(h.LocationLine1[i]), byteAt(b, 5 + i));
        EXPECT_EQ(uint8_t(h.LocationLine2[i]), byteAt(b, 38 + i));
        EXPECT_EQ(uint8_t(h.Customer[i]), byteAt(b, 71 + i));
    }
    EXPECT_EQ(h.FixedTimeMode, byteAt(b, 103));
    EXPECT_EQ(h.HeaderOption, le32At(b, 104));
    EXPECT_EQ(h.RadioLink, le32At(b, 108));
    EXPECT_EQ(h.TwoGreenPhases, byteAt(b, 112));
    for (int p = 0; p < 6; ++p)
        EXPECT_EQ(h.ProgramReleased[p], byteAt(b, 113 + p));
    EXPECT_EQ(h.EmergencyProgram, le32At(b, 119));
}

TEST_F(PatternSet, ProgramsAtTheirOffsets)
{
    const QByteArray &b = files["PROG.DAT"];
    struct Word { int offset; uint32_t SignalProgram::*m; };
    const Word words[] = {{0, &SignalProgram::ProgramNumber}, {4, &SignalProgram::CycleTime},
        {8, &SignalProgram::DemandTime1}, {12, &SignalProgram::DemandTime2},
        {16, &SignalProgram::ContinueTime1}, {20, &SignalProgram::ContinueTime2},
        {24, &SignalProgram::SwitchOnPoint}, {28, &SignalProgram::SwitchOffPoint},
        {32, &SignalProgram::GroupStartPoint}, {39, &SignalProgram::Value1},
        {43, &SignalProgram::Value2}, {47, &SignalProgram::Value3},
        {51, &SignalProgram::DemandDelay1}, {55, &SignalProgram::DemandDelay2}};
    struct Byte { int offset; uint8_t SignalProgram::*m; };
    const Byte bytes[] = {{36, &SignalProgram::Option1}, {37, &SignalProgram::Option2},
                          {38, &SignalProgram::Option3}};
    struct Ints { int offset; PerGroup<int32_t> SignalProgram::*m; };
    const Ints ints[] = {{59, &SignalProgram::GreenFrom1}, {155, &SignalProgram::GreenFrom2},
        {251, &SignalProgram::GreenTo1}, {347, &SignalProgram::GreenTo2},
        {443, &SignalProgram::GroupValue1}, {539, &SignalProgram::GroupValue2},
        {635, &SignalProgram::GroupValue3}, {731, &SignalProgram::RedYellowTime},
        {827, &SignalProgram::YellowTime}, {923, &SignalProgram::FlashFrom1},
        {1019, &SignalProgram::FlashFrom2}, {1115, &SignalProgram::FlashTo1},
        {1211, &SignalProgram::FlashTo2}, {1307, &SignalProgram::YellowFrom1},
        {1403, &SignalProgram::YellowFrom2}, {1499, &SignalProgram::YellowTo1},
        {1595, &SignalProgram::YellowTo2}, {1691, &SignalProgram::WaitPoint},
        {1907, &SignalProgram::ExtensionPoint1}, {2003, &SignalProgram::ExtensionPoint2},
        {2099, &SignalProgram::ExtensionTime1}, {2195, &SignalProgram::ExtensionTime2},
        {2291, &SignalProgram::GapTime1}, {2387, &SignalProgram::GapTime2},
        {2483, &SignalProgram::PairValueA1}, {2579, &SignalProgram::PairValueA2},
        {2675, &SignalProgram::PairValueB1}, {2771, &SignalProgram::PairValueB2}};
    struct Flags { int offset; PerGroup<uint8_t> SignalProgram::*m; };
    const Flags flags[] = {{1787, &SignalProgram::FaultFlash}, {1811, &SignalProgram::RedMonitoring},
        {1835, &SignalProgram::PermanentDemand}, {1859, &SignalProgram::ExtendBeyondMax},
        {1883, &SignalProgram::GroupOption}, {2867, &SignalProgram::Extend},
        {2891, &SignalProgram::GroupDigit}};

    for (int p = 0; p < 6; ++p) {
        const SignalProgram &prog = d.Programs[p];
        const int base = p * 2915;
        for (const Word &w : words)
            EXPECT_EQ(prog.*w.m, le32At(b, base + w.offset)) << "program " << p << " offset " << w.offset;
        for (const Byte &x : bytes)
            EXPECT_EQ(prog.*x.m, byteAt(b, base + x.offset)) << "program " << p << " offset " << x.offset;
        for (int g = 0; g < 24; ++g) {
            for (const Ints &a : ints)
                EXPECT_EQ((prog.*a.m)[g], leI32At(b, base + a.offset + 4 * g)) << "program " << p << " offset " << a.offset;
            for (const Flags &f : flags)
                EXPECT_EQ((prog.*f.m)[g], byteAt(b, base + f.offset + g)) << "program " << p << " offset " << f.offset;
        }
    }
}

TEST_F(PatternSet, SwitchStepsAtTheirOffsets)
{
    const std::pair<const char *, const SwitchStepTable *> tables[] = {
        {"EIN.DAT", &d.SwitchOnSteps}, {"AUS1.DAT", &d.SwitchOffTargetedSteps},
        {"AUS2.DAT", &d.SwitchOffFaultSteps}};
    for (const auto &[name, table] : tables) {
        const QByteArray &b = files[name];
        for (int k = 0; k < 18; ++k) {
            const SwitchStep &s = (*table)[k];
            EXPECT_EQ(s.Duration, le32At(b, 76 * k)) << name << " record " << k;
            for (int g = 0; g < 24; ++g) {
                EXPECT_EQ(s.SetA[g], byteAt(b, 76 * k + 4 + g));
                EXPECT_EQ(s.SetB[g], byteAt(b, 76 * k + 28 + g));
                EXPECT_EQ(s.SetC[g], byteAt(b, 76 * k + 52 + g));
            }
        }
    }
}

TEST_F(PatternSet, MatricesAtTheirOffsets)
{
    const CarriedTables &c = d.Carried;
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 7; ++j)
            for (int k = 0; k < 8; ++k)
                EXPECT_EQ(c.SchTable[i][j][k], le16At(files["SCH.DAT"], 2 * ((i * 7 + j) * 8 + k)));

    for (int p = 0; p < 6; ++p) {
        for (int g = 0; g < 24; ++g) {
            for (int h = 0; h < 24; ++h) {
                const int cell = g * 24 + h;
                EXPECT_EQ(c.ZwiFlags[p][g][h], byteAt(files["ZWI.DAT"], p * 2880 + cell));
                EXPECT_EQ(c.ZwiTimes[p][g][h], leI32At(files["ZWI.DAT"], p * 2880 + 576 + 4 * cell));
                EXPECT_EQ(c.ParaMatrix[p][g][h], byteAt(files["PARA.DAT"], p * 576 + cell));
                EXPECT_EQ(c.ParSperrMatrix[p][g][h], byteAt(files["PARSPERR.DAT"], p * 576 + cell));
                EXPECT_EQ(c.AnfMatrix[p][g][h], byteAt(files["ANF.DAT"], p * 576 + cell));
                EXPECT_EQ(c.MitTable[p].MitMatrix[g][h], byteAt(files["MIT.DAT"], p * 672 + cell));
                EXPECT_EQ(c.VersatzTimes[p][g][h], leI32At(files["VERSATZ.DAT"], 4 * (p * 576 + cell)));
            }
            EXPECT_EQ(c.MitTable[p].MitValues[g], leI32At(files["MIT.DAT"], p * 672 + 576 + 4 * g));
        }
    }
}

TEST_F(PatternSet, SmallTablesAtTheirOffsets)
{
    const CarriedTables &c = d.Carried;
    for (int g = 0; g < 24; ++g) {
        EXPECT_EQ(c.KopfValues[g], leI32At(files["KOPF.DAT"], 4 * g));
        for (int j = 0; j < 6; ++j) {
            EXPECT_EQ(c.MelderTable[g][j], byteAt(files["MELDER.DAT"], g * 6 + j));
            EXPECT_EQ(c.Pw.PwFlags1[g][j], byteAt(files["PW.DAT"], g * 6 + j));
            EXPECT_EQ(c.Pw.PwFlags2[g][j], byteAt(files["PW.DAT"], 144 + g * 6 + j));
            EXPECT_EQ(c.GrMinTable[g][j], leI32At(files["GRMINTAB.DAT"], 4 * (g * 6 + j)));
        }
    }
    for (int j = 0; j < 6; ++j) {
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(c.GspTable[i][j], leI32At(files["GSP.DAT"], 4 * (i * 6 + j)));
        EXPECT_EQ(c.GspFlags[j], byteAt(files["GSP.DAT"], 120 + j));
        EXPECT_EQ(c.Pw.PwValues1[j], leI32At(files["PW.DAT"], 288 + 4 * j));
        EXPECT_EQ(c.Pw.PwValues2[j], leI32At(files["PW.DAT"], 312 + 4 * j));
        EXPECT_EQ(c.Pw.PwValues3[j], leI32At(files["PW.DAT"], 336 + 4 * j));
        EXPECT_EQ(c.Pw.PwValues4[j], leI32At(files["PW.DAT"], 360 + 4 * j));
    }
    for (int p = 0; p < 6; ++p) {
        const SuperRecord &s = c.SuperRecords[p];
        const QByteArray &b = files["SUPER.DAT"];
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(s.SuperA[i], leI32At(b, p * 160 + 4 * i));
            EXPECT_EQ(s.SuperB[i], leI32At(b, p * 160 + 16 + 4 * i));
            EXPECT_EQ(s.SuperC[i], leI32At(b, p * 160 + 32 + 4 * i));
            EXPECT_EQ(s.SuperD[i], leI32At(b, p * 160 + 48 + 4 * i));
        }
        for (int g = 0; g < 24; ++g)
            for (int j = 0; j < 4; ++j)
                EXPECT_EQ(s.SuperGroups[g][j], byteAt(b, p * 160 + 64 + g * 4 + j));
    }
    for (int g = 0; g < 24; ++g)
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(uint8_t(d.GroupNames[g][i]), byteAt(files["NAMEN.DAT"], g * 10 + i));
    EXPECT_EQ(d.Konf.InstallationType, le32At(files["KONF.DAT"], 0));
    EXPECT_EQ(d.Konf.KonfValue, le32At(files["KONF.DAT"], 4));
}

TEST(DataSetLoad, WrongSizeGivesDefaultsForThatFileOnly)
{
    QTemporaryDir dir;
    auto files = writePatternSet(dir.path());
    writeBytes(dir.filePath("PROG.DAT"), patternBytes(17491, 99));
    writeBytes(dir.filePath("KONF.DAT"), QByteArray());

    InstallationData d;
    const QStringList report = loadDataSet(d, dir.path(), kAfterStartup);
    EXPECT_EQ(report[7], wrongSize("PROG.DAT"));
    EXPECT_EQ(report[21], wrongSize("KONF.DAT"));
    EXPECT_EQ(report.filter("Standardwerte").size(), 2);

    for (int p = 0; p < 6; ++p) {
        EXPECT_EQ(d.Programs[p].ProgramNumber, uint32_t(p + 1));
        EXPECT_EQ(d.Programs[p].CycleTime, 0u);
        EXPECT_EQ(d.Programs[p].Value1, 5u);
        EXPECT_EQ(d.Programs[p].RedMonitoring[23], 1);
        EXPECT_EQ(d.Programs[p].GreenFrom1[0], 0);
    }
    EXPECT_EQ(d.Konf.InstallationType, 0u);
    EXPECT_EQ(d.Konf.KonfValue, 0u);
    EXPECT_EQ(d.Header.GroupCount, le32At(files["ALL.DAT"], 0));
    EXPECT_EQ(d.SwitchOnSteps[17].Duration, le32At(files["EIN.DAT"], 17 * 76));
}

TEST(DataSetLoad, FileNamesAreFoundInAnyCaseTheExactNameFirst)
{
    QTemporaryDir dir;
    auto files = writePatternSet(dir.path());
    ASSERT_TRUE(QFile::rename(dir.filePath("ALL.DAT"), dir.filePath("all.dat")));
    ASSERT_TRUE(QFile::rename(dir.filePath("NAMEN.DAT"), dir.filePath("Namen.Dat")));
    writeBytes(dir.filePath("prog.dat"), patternBytes(17491, 99));  // PROG.DAT is there too

    InstallationData d;
    const QStringList report = loadDataSet(d, dir.path(), kAfterStartup);
    EXPECT_EQ(report.filter(" gelesen").size(), 20);
    EXPECT_EQ(report[3], "ALL.DAT gelesen");
    EXPECT_EQ(d.Header.GroupCount, le32At(files["ALL.DAT"], 0));
    EXPECT_EQ(d.GroupNames[0][0], files["NAMEN.DAT"][0]);

    EXPECT_EQ(dataFileName({"ALL.DAT", "all.dat"}, "ALL.DAT"), "ALL.DAT");
    EXPECT_EQ(dataFileName({"All.Dat", "all.dat"}, "ALL.DAT"), "All.Dat");
    EXPECT_EQ(dataFileName({"ALL.DATEN"}, "ALL.DAT"), "ALL.DAT");
}

TEST(DataSetLoad, EmptyDirectoryGivesDefaultsAndTwentyNotFoundLines)
{
    QTemporaryDir dir;
    const ResetRules atStartup{false, 2};
    InstallationData d;
    resetToDefaults(d, atStartup, true);
    const QStringList report = loadDataSet(d, dir.path(), atStartup);

    ASSERT_EQ(report.size(), 23);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(report[3 + i], notFound(kReadingOrder[i]));
    EXPECT_EQ(d.Konf.InstallationType, 0u);
    EXPECT_EQ(d.Konf.KonfValue, 0u);
    EXPECT_EQ(d.Header.GroupCount, 12u);

    InstallationData expected;
    resetToDefaults(expected, atStartup, true);
    expected.Konf = KonfWords{};
    EXPECT_EQ(flatten(d), flatten(expected));
}

TEST(DataSetLoad, ReportHeaderAndPathJoining)
{
    QTemporaryDir dir;
    writePatternSet(dir.path());
    const QString withSlash = dir.path() + "/";
    InstallationData d;
    const QStringList report = loadDataSet(d, withSlash, kAfterStartup);
    EXPECT_EQ(report[0], "Lese Daten aus: " + withSlash);
    EXPECT_EQ(report[1], QString(report[0].size(), '-'));
    EXPECT_EQ(report[2], "");
    EXPECT_EQ(report.filter(" gelesen").size(), 20);

    EXPECT_EQ(dataFilePath("/daten/Kreuzung", "ALL.DAT"), "/daten/Kreuzung/ALL.DAT");
    EXPECT_EQ(dataFilePath("/daten/Kreuzung/", "ALL.DAT"), "/daten/Kreuzung/ALL.DAT");
}

TEST(DataSetLoad, GroupCountComesFromAllDatWhateverKonfDatSays)
{
    QTemporaryDir dir;
    auto files = writePatternSet(dir.path());
    QByteArray all = files["ALL.DAT"], konf = files["KONF.DAT"];
    putLe32(all, 0, 17);
    putLe32(konf, 0, TypeQswRadio);
    writeBytes(dir.filePath("ALL.DAT"), all);
    writeBytes(dir.filePath("KONF.DAT"), konf);

    InstallationData d;
    loadDataSet(d, dir.path(), ResetRules{false, TypeKvx});
    EXPECT_EQ(d.Header.GroupCount, 17u);
    EXPECT_EQ(d.Konf.InstallationType, uint32_t(TypeQswRadio));
}

TEST(DataSetLoad, EntriesThatAreNoRegularFileAreNotFound)
{
    QTemporaryDir dir;
    writePatternSet(dir.path());
    QFile::remove(dir.filePath("PROG.DAT"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("PROG.DAT"));
    QFile::remove(dir.filePath("KOPF.DAT"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("KOPF.DAT")).constData(), 0644), 0);
    QFile::remove(dir.filePath("SCH.DAT"));
    ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("SCH.DAT")));
    QFile::remove(dir.filePath("GSP.DAT"));
    ASSERT_TRUE(QFile::link(dir.filePath("missing"), dir.filePath("GSP.DAT")));
    // A link to a regular file of the right size is that file.
    QFile::rename(dir.filePath("PW.DAT"), dir.filePath("pw-original"));
    ASSERT_TRUE(QFile::link(dir.filePath("pw-original"), dir.filePath("PW.DAT")));

    InstallationData d;
    const QStringList report = loadDataSet(d, dir.path(), kAfterStartup);
    EXPECT_TRUE(report.contains(notFound("PROG.DAT")));
    EXPECT_TRUE(report.contains(notFound("KOPF.DAT")));
    EXPECT_TRUE(report.contains(notFound("SCH.DAT")));
    EXPECT_TRUE(report.contains(notFound("GSP.DAT")));
    EXPECT_TRUE(report.contains("PW.DAT gelesen"));
    EXPECT_EQ(report.filter(" gelesen").size(), 16);
    EXPECT_EQ(d.Programs[2].ProgramNumber, 3u);
    EXPECT_EQ(d.Carried.GspFlags[5], 1);
}

TEST(DataSetLoad, UnreadableFileIsNotFound)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads files whatever their permissions";
    QTemporaryDir dir;
    writePatternSet(dir.path());
    ASSERT_EQ(::chmod(QFile::encodeName(dir.filePath("MIT.DAT")).constData(), 0), 0);
    InstallationData d;
    const QStringList report = loadDataSet(d, dir.path(), kAfterStartup);
    EXPECT_EQ(report[14], notFound("MIT.DAT"));
    EXPECT_EQ(d.Carried.MitTable[0].MitValues[0], 1);
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
    EXPECT_EQ(first, 0x0201);
    EXPECT_EQ(second, 0u);
    EXPECT_FALSE(reader.complete());

    InstallationData d;
    d.Konf = {7, 8};
    EXPECT_FALSE(unpackDataFile(d, DataFile::Konf, QByteArray(4, '\1')));
    EXPECT_EQ(d.Konf.InstallationType, 7u);
    EXPECT_TRUE(unpackDataFile(d, DataFile::Konf, QByteArray(8, '\1')));
    EXPECT_EQ(d.Konf.KonfValue, 0x01010101u);
}

}  // namespace

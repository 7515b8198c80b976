// The actual-run file: its layout byte by byte, reading it back, refusing
// files of the wrong size, and saving whole or not at all.

#include "actual/actualrunfile.h"
#include "actual/memoryrecords.h"
#include "data/textfield.h"
#include "qtprinters.h"
#include "render/pagecomposer.h"
#include "scriptedprompt.h"
#include "tempdir.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

int32_t le32(const QByteArray &b, int offset)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= uint32_t(uint8_t(b[offset + i])) << (8 * i);
    return int32_t(v);
}

template <std::size_t N> void setText(std::array<char, N> &field, const char *text)
{
    field.fill(' ');
    for (std::size_t i = 0; i < N && text[i]; ++i)
        field[i] = text[i];
}

// A run with a value in every field the file carries.
ActualRun sampleRun(int rows)
{
    ActualRun run;
    run.HeaderRecord.GroupCount = 0x11223344;
    setText(run.HeaderRecord.LocationLine1, "Hauptstrasse / Schulweg");
    setText(run.HeaderRecord.LocationLine2, "Musterstadt");
    setText(run.HeaderRecord.Customer, "Stadt Musterstadt");
    run.HeaderRecord.FixedTimeMode = 1;
    run.HeaderRecord.EmergencyProgram = 8;
    for (int g = 0; g < kGroupCount; ++g)
        setText(run.GroupNames[g], QByteArray("Gruppe ").append(QByteArray::number(g + 1)).constData());
    setText(run.ProgramName, "SCHULW01");
    setText(run.ControllerTypeText, "KVX 900");
    setText(run.BannerText, "Software 6.30");
    setText(run.PrintDateText, "14.03.24 09:15");
    run.StartProgram = 2;
    run.ShownGroups = 8;
    run.HeaderGroupCount = 7;
    run.ProgramRecord.ProgramNumber = 9;
    run.ProgramRecord.CycleTime = 70;
    run.ProgramRecord.DemandTime1 = 44;
    run.ProgramRecord.DemandTime2 = 45;
    run.ProgramRecord.ContinueTime1 = 46;
    run.ProgramRecord.ContinueTime2 = 47;
    run.ProgramRecord.SwitchOnPoint = 3;
    run.ProgramRecord.SwitchOffPoint = 30;
    run.ProgramRecord.GroupStartPoint = 5;
    run.ProgramRecord.DemandDelay1 = 2;
    run.ProgramRecord.DemandDelay2 = 4;
    run.ProgramRecord.FaultFlash[3] = 1;
    run.ProgramRecord.RedMonitoring[0] = 1;
    run.ProgramRecord.PermanentDemand[4] = 1;
    run.ProgramRecord.ExtendBeyondMax[5] = 1;
    run.ProgramRecord.Extend[6] = 1;
    run.ProgramRecord.GroupDigit[23] = 0x5A;
    for (int s = 0; s < rows; ++s) {
        ChartRow row;
        row.State[0] = s % 10;
        row.State[23] = 9;
        row.DetectorActive[1] = uint8_t(s % 2);
        row.ProgramNumber = s < 140 ? 1 : 2;
        run.Rows.push_back(row);
    }
    return run;
}

TEST(ActualRunFile, LayoutByteByByte)
{
    const ActualRun run = sampleRun(250);
    const QByteArray b = EncodeActualRunFile(run);
    ASSERT_EQ(b.size(), 34341);  // 3341 + 250 × 124

    // Header record in its memory layout.
    EXPECT_EQ(le32(b, 0), 0x11223344);
    EXPECT_EQ(b.mid(4, 32), QByteArray("Hauptstrasse / Schulweg").leftJustified(32, ' '));
    EXPECT_EQ(b.mid(36, 32), QByteArray("Musterstadt").leftJustified(32, ' '));
    EXPECT_EQ(b.mid(68, 32), QByteArray("Stadt Musterstadt").leftJustified(32, ' '));
    EXPECT_EQ(b[100], 1);
    EXPECT_EQ(b.mid(101, 3), QByteArray(3, '\0'));  // padding
    EXPECT_EQ(le32(b, 120), 8);
    // Group names, then the texts.
    EXPECT_EQ(b.mid(124, 10), "Gruppe 1  ");
    EXPECT_EQ(b.mid(124 + 230, 10), "Gruppe 24 ");
    EXPECT_EQ(b.mid(364, 8), "SCHULW01");
    EXPECT_EQ(b.mid(372, 10), "KVX 900   ");
    EXPECT_EQ(b.mid(382, 13), "Software 6.30");
    EXPECT_EQ(b.mid(395, 14), "14.03.24 09:15");
    EXPECT_EQ(le32(b, 409), 2);
    EXPECT_EQ(le32(b, 413), 8);
    EXPECT_EQ(le32(b, 417), 7);
    // Program record at 421, its fields at their memory offsets.
    const int p = 421;
    EXPECT_EQ(le32(b, p + 0), 9);
    const std::pair<int, int> words[] = {{4, 70}, {8, 44}, {12, 45}, {16, 46}, {20, 47},
                                         {24, 3}, {28, 30}, {32, 5}, {52, 2}, {56, 4}};
    for (const auto &[offset, value] : words)
        EXPECT_EQ(le32(b, p + offset), value) << "offset " << offset;
    EXPECT_EQ(b[p + 1788 + 3], 1);  // FaultFlash
    EXPECT_EQ(b[p + 1812 + 0], 1);  // RedMonitoring
    EXPECT_EQ(b[p + 1836 + 4], 1);  // PermanentDemand
    EXPECT_EQ(b[p + 1860 + 5], 1);  // ExtendBeyondMax
    EXPECT_EQ(b[p + 2868 + 6], 1);  // Extend
    EXPECT_EQ(b[p + 2915], 0x5A);   // the last byte of the record
    // RowCount and the rows.
    EXPECT_EQ(le32(b, 3337), 250);
    const int row7 = 3341 + 7 * 124;
    EXPECT_EQ(le32(b, row7), 7);
    EXPECT_EQ(le32(b, row7 + 92), 9);
    EXPECT_EQ(b[row7 + 96 + 1], 1);
    EXPECT_EQ(le32(b, row7 + 120), 1);
    EXPECT_EQ(le32(b, 3341 + 249 * 124 + 120), 2);
}

TEST(ActualRunFile, RecordsRoundTripThroughTheirMemoryForm)
{
    const ActualRun run = sampleRun(0);
    const QByteArray header = EncodeHeaderRecord(run.HeaderRecord);
    const QByteArray program = EncodeProgramRecord(run.ProgramRecord);
    ASSERT_EQ(header.size(), kHeaderRecordBytes);
    ASSERT_EQ(program.size(), kProgramRecordBytes);
    EXPECT_EQ(EncodeHeaderRecord(DecodeHeaderRecord(header.constData())), header);
    EXPECT_EQ(EncodeProgramRecord(DecodeProgramRecord(program.constData())), program);
}

TEST(ActualRunFile, SavedRunLoadsAsAChartWithItsNames)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DrIst1.DRI"));
    QString error;
    ASSERT_TRUE(WriteActualRunFile(path, sampleRun(250), &error)) << error.toStdString();
    EXPECT_EQ(QFileInfo(path).size(), 34341);

    // Loading gives the file's run and its chart.
    ChartData chart;
    ActualRun loaded;
    ASSERT_TRUE(LoadActualRunChart(path, chart, loaded, &error));
    EXPECT_EQ(EncodeActualRunFile(loaded), EncodeActualRunFile(sampleRun(250)));
    EXPECT_EQ(fieldText(chart.GroupNames[7]), "Gruppe 8");
    EXPECT_EQ(PageCount(chart.ChartLength()), 4);  // overview and three chart pages
    EXPECT_EQ(chart.DisplayMode, DisplayMode::RunFromFile);
    EXPECT_FALSE(chart.TargetChartActive);
    EXPECT_EQ(chart.ChartTitle, "(Ist-Druck, Datei DrIst1.DRI)");
    EXPECT_EQ(chart.WindowCaption, "Drucker Vorschau Ist-Druck aus Datei DrIst1.DRI - SCHULW01");
    EXPECT_EQ(chart.DataName, "SCHULW01");
    EXPECT_EQ(chart.ShownGroups, 8);
    EXPECT_EQ(chart.ActiveGroupCount, 8);
    EXPECT_EQ(chart.HeaderGroupCount, 7);
    EXPECT_EQ(chart.StartProgram, 2);
    EXPECT_EQ(chart.BannerText, "Software 6.30");
    EXPECT_EQ(chart.Rows[9].State[0], 9);
    EXPECT_EQ(chart.Rows[249].ProgramNumber, 2);
    EXPECT_EQ(chart.ProgramSnapshot.ExtendBeyondMax[5], 1);

    // No program name: the caption ends with the file name.
    ActualRun empty = sampleRun(0);
    empty.ProgramName.fill(' ');
    ASSERT_TRUE(WriteActualRunFile(dir.filePath(QStringLiteral("leer.DRI")), empty, &error));
    EXPECT_EQ(QFileInfo(dir.filePath(QStringLiteral("leer.DRI"))).size(), 3341);
    ActualRun names;
    ASSERT_TRUE(LoadActualRunChart(dir.filePath(QStringLiteral("leer.DRI")), chart, names, &error));
    EXPECT_EQ(chart.WindowCaption, "Drucker Vorschau Ist-Druck aus Datei leer.DRI");
    EXPECT_EQ(PageCount(chart.ChartLength()), 1);  // the overview page only
}

TEST(ActualRunFile, WrongSizesAreRefusedWithoutReadingBeyondTheFile)
{
    QTemporaryDir dir;
    const QByteArray good = EncodeActualRunFile(sampleRun(3));
    const auto refused = [&](const QByteArray &bytes, const char *why) {
        const QString path = dir.filePath(QStringLiteral("kaputt.DRI"));
        EXPECT_TRUE(writeBytes(path, bytes));
        ActualRun run = sampleRun(1);
        QString error;
        EXPECT_FALSE(ReadActualRunFile(path, run, &error)) << why;
        EXPECT_EQ(run.Rows.size(), 1u) << why;  // untouched
        EXPECT_TRUE(error.startsWith(QStringLiteral("Die Datei kaputt.DRI "))) << error.toStdString();
        return error;
    };
    QByteArray truncated = good;
    truncated.chop(1);
    EXPECT_EQ(refused(truncated, "one byte short"),
              "Die Datei kaputt.DRI ist beschädigt !\nSie gibt 3 Sekunden an, enthält aber 2.");
    EXPECT_EQ(refused(good.left(3340), "shorter than the fixed part"),
              "Die Datei kaputt.DRI ist keine Ist-Druck-Datei !\n"
              "Eine Ist-Druck-Datei kann nicht 3340 Bytes groß sein.");
    refused(QByteArray(), "empty");
    QByteArray moreRows = good;
    putLe32(moreRows, 3337, 4);
    EXPECT_EQ(refused(moreRows, "count larger than the rows"),
              "Die Datei kaputt.DRI ist beschädigt !\nSie gibt 4 Sekunden an, enthält aber 3.");
    QByteArray negative = good.left(3341);
    putLe32(negative, 3337, uint32_t(-1));
    refused(negative, "negative count");
    QByteArray tooMany = EncodeActualRunFile(sampleRun(0)) + QByteArray(124 * 1201, '\0');
    putLe32(tooMany, 3337, 1201);
    refused(tooMany, "more than 1200 rows");

    // Bytes after the counted rows (a transfer that padded the file) are no part of the run.
    for (const QByteArray &padded : {good + QByteArray(1, '\x1a'), good + QByteArray(124 * 2, '\0')}) {
        const QString path = dir.filePath(QStringLiteral("gepolstert.DRI"));
        ASSERT_TRUE(writeBytes(path, padded));
        ActualRun run;
        QString error;
        ASSERT_TRUE(ReadActualRunFile(path, run, &error)) << error.toStdString();
        EXPECT_EQ(run.Rows.size(), 3u);
        EXPECT_EQ(EncodeActualRunFile(run), good);
    }

    // Refused with the reason; what the caller had stays.
    ChartData chart;
    chart.WindowCaption = QStringLiteral("vorher");
    ActualRun kept;
    QString error;
    EXPECT_FALSE(LoadActualRunChart(dir.filePath(QStringLiteral("kaputt.DRI")), chart, kept, &error));
    EXPECT_EQ(error, "Die Datei kaputt.DRI ist keine Ist-Druck-Datei !\n"
                     "Eine Ist-Druck-Datei kann nicht 152265 Bytes groß sein.");
    EXPECT_EQ(chart.WindowCaption, "vorher");
    EXPECT_TRUE(kept.Rows.empty());

    // A folder, a pipe, a missing file: nothing to read, and nothing blocks.
    ActualRun run;
    EXPECT_FALSE(ReadActualRunFile(dir.path(), run, &error));
    const QString fifo = dir.filePath(QStringLiteral("pipe.DRI"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(ReadActualRunFile(fifo, run, &error));
    EXPECT_EQ(error, "Die Datei pipe.DRI kann nicht gelesen werden !");
    EXPECT_FALSE(ReadActualRunFile(dir.filePath(QStringLiteral("fehlt.DRI")), run, &error));
}

TEST(ActualRunFile, FailedSaveKeepsThePreviousFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("alt.DRI"));
    ASSERT_TRUE(writeBytes(path, "alter Inhalt"));
    QString error;
    // The target is a folder: nothing is replaced.
    const QString folder = dir.filePath(QStringLiteral("ordner.DRI"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ordner.DRI")));
    EXPECT_FALSE(WriteActualRunFile(folder, sampleRun(2), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(WriteActualRunFile(dir.filePath(QStringLiteral("fehlt/neu.DRI")), sampleRun(2), &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Die Datei neu.DRI kann nicht angelegt werden:")));
    EXPECT_EQ(readBytes(path), "alter Inhalt");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"alt.DRI"}));

    // Rows beyond the capacity are never written.
    ActualRun big = sampleRun(1200);
    big.Rows.resize(1300);
    EXPECT_EQ(EncodeActualRunFile(big).size(), 3341 + 124 * 1200);
}

}  // namespace

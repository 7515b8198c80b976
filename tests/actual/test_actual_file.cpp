// The actual-run file: its layout byte by byte, reading it back, refusing
// files of the wrong size, and saving whole or not at all.

#include "actual/actualrunfile.h"
#include "actual/memoryrecords.h"
#include "data/textfield.h"
#include "qtprinters.h"
#include "render/pagecomposer.h"
#include "tempdir.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    const QByteArray b = EncodeActualRunFile(sampleRun(250));
    ASSERT_EQ(b.size(), 34341);  // 3341 + 250 × 124
    // The header record in its memory layout, the names and texts, the
    // program record at 421, the row count and the rows.
    const std::pair<int, QByteArray> texts[] = {
        {4, QByteArray("Hauptstrasse / Schulweg").leftJustified(32)}, {36, QByteArray("Musterstadt").leftJustified(32)},
        {68, QByteArray("Stadt Musterstadt").leftJustified(32)}, {101, QByteArray(3, '\0')},  // padding
        {124, "Gruppe 1  "}, {124 + 230, "Gruppe 24 "}, {364, "SCHULW01"}, {372, "KVX 900   "},
        {382, "Software 6.30"}, {395, "14.03.24 09:15"}};
    for (const auto &[offset, text] : texts)
        EXPECT_EQ(b.mid(offset, text.size()), text) << "offset " << offset;
    const int p = 421, row7 = 3341 + 7 * 124;
    const std::pair<int, int> words[] = {{0, 0x11223344}, {120, 8}, {409, 2}, {413, 8}, {417, 7}, {p, 9},
                                         {p + 4, 70}, {p + 8, 44}, {p + 12, 45}, {p + 16, 46}, {p + 20, 47},
                                         {p + 24, 3}, {p + 28, 30}, {p + 32, 5}, {p + 52, 2}, {p + 56, 4},
                                         {3337, 250}, {row7, 7}, {row7 + 92, 9}, {row7 + 120, 1},
                                         {3341 + 249 * 124 + 120, 2}};
    for (const auto &[offset, value] : words)
        EXPECT_EQ(le32(b, offset), value) << "offset " << offset;
    // One byte each: the header mode, the group flags, the record's last byte, a detector.
    const std::pair<int, int> bytes[] = {{100, 1},        {p + 1788 + 3, 1}, {p + 1812 + 0, 1}, {p + 1836 + 4, 1},
                                         {p + 1860 + 5, 1}, {p + 2868 + 6, 1}, {p + 2915, 0x5A}, {row7 + 96 + 1, 1}};
    for (const auto &[offset, value] : bytes)
        EXPECT_EQ(uint8_t(b[offset]), value) << "offset " << offset;

    // Rows beyond the capacity are never written.
    ActualRun big = sampleRun(1200);
    big.Rows.resize(1300);
    EXPECT_EQ(EncodeActualRunFile(big).size(), 3341 + 124 * 1200);
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
    EXPECT_EQ(chart.DisplayMode, DisplayMode::RunFromFile);
    EXPECT_FALSE(chart.TargetChartActive);
    EXPECT_EQ(QStringList({fieldText(chart.GroupNames[7]), chart.ChartTitle, chart.WindowCaption, chart.DataName,
                           chart.BannerText}),
              QStringList({"Gruppe 8", "(Ist-Druck, Datei DrIst1.DRI)",
                           "Drucker Vorschau Ist-Druck aus Datei DrIst1.DRI - SCHULW01", "SCHULW01", "Software 6.30"}));
    EXPECT_EQ(QList<int>({PageCount(chart.ChartLength()), chart.ShownGroups, chart.ActiveGroupCount,
                          chart.HeaderGroupCount, chart.StartProgram, chart.Rows[9].State[0],
                          chart.Rows[249].ProgramNumber, chart.ProgramSnapshot.ExtendBeyondMax[5]}),
              QList<int>({4, 8, 8, 7, 2, 9, 2, 1}));

    // No program name: the caption ends with the file name; no rows: the overview page only.
    ActualRun empty = sampleRun(0);
    empty.ProgramName.fill(' ');
    ASSERT_TRUE(WriteActualRunFile(dir.filePath(QStringLiteral("leer.DRI")), empty, &error));
    ASSERT_TRUE(LoadActualRunChart(dir.filePath(QStringLiteral("leer.DRI")), chart, loaded, &error));
    EXPECT_EQ(chart.WindowCaption, "Drucker Vorschau Ist-Druck aus Datei leer.DRI");
    EXPECT_EQ(PageCount(chart.ChartLength()), 1);
}

// A refused file is reported with its reason, and what the caller had stays.
TEST(ActualRunFile, WrongSizesAreRefusedWithoutReadingBeyondTheFile)
{
    QTemporaryDir dir;
    const QByteArray good = EncodeActualRunFile(sampleRun(3));
    const auto counted = [](QByteArray bytes, int rows) {
        putLe32(bytes, 3337, uint32_t(rows));
        return bytes;
    };
    const std::pair<QByteArray, const char *> cases[] = {
        {good.left(good.size() - 1), "ist beschädigt !\nSie gibt 3 Sekunden an, enthält aber 2."},
        {good.left(3340), "ist keine Ist-Druck-Datei !\nEine Ist-Druck-Datei kann nicht 3340 Bytes groß sein."},
        {QByteArray(), nullptr},
        {counted(good, 4), "ist beschädigt !\nSie gibt 4 Sekunden an, enthält aber 3."},
        {counted(good.left(3341), -1), nullptr},
        {counted(EncodeActualRunFile(sampleRun(0)) + QByteArray(124 * 1201, '\0'), 1201),
         "ist keine Ist-Druck-Datei !\nEine Ist-Druck-Datei kann nicht 152265 Bytes groß sein."},
    };
    const QString path = dir.filePath(QStringLiteral("kaputt.DRI"));
    for (const auto &[bytes, why] : cases) {
        ASSERT_TRUE(writeBytes(path, bytes));
        ActualRun run = sampleRun(1);
        QString error;
        EXPECT_FALSE(ReadActualRunFile(path, run, &error)) << bytes.size();
        EXPECT_EQ(run.Rows.size(), 1u);
        ChartData chart;
        chart.WindowCaption = QStringLiteral("vorher");
        EXPECT_FALSE(LoadActualRunChart(path, chart, run, &error));
        EXPECT_EQ(chart.WindowCaption, "vorher");
        EXPECT_TRUE(error.startsWith(QStringLiteral("Die Datei kaputt.DRI "))) << error.toStdString();
        if (why) {
            EXPECT_EQ(error.mid(21), QString::fromUtf8(why));
        }
    }

    // Bytes after the counted rows (a transfer that padded the file) are no part of the run.
    for (const QByteArray &padded : {good + QByteArray(1, '\x1a'), good + QByteArray(124 * 2, '\0')}) {
        ASSERT_TRUE(writeBytes(path, padded));
        ActualRun run;
        QString error;
        ASSERT_TRUE(ReadActualRunFile(path, run, &error)) << error.toStdString();
        EXPECT_EQ(EncodeActualRunFile(run), good);
    }
    // A folder or a missing file: nothing to read.
    ActualRun run;
    QString error;
    EXPECT_FALSE(ReadActualRunFile(dir.path(), run, &error));
    EXPECT_FALSE(ReadActualRunFile(dir.filePath(QStringLiteral("fehlt.DRI")), run, &error));
}

}  // namespace

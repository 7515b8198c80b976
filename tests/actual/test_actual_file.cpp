// The actual-run file: its layout, reading it back as a run and a chart, refusals without blocking.

#include "actual/actualrunfile.h"
#include "data/textfield.h"
#include "qtprinters.h"
#include "render/pagecomposer.h"
#include "childprocess.h"
#include "tempdir.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

const QString kBundled = QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/transcripts/Hauptstrasse-Schulweg-KVX900.DRI");

ActualRun bundledRun()
{
    ActualRun run;
    QString error;
    EXPECT_TRUE(ReadActualRunFile(kBundled, run, &error)) << error.toStdString();
    return run;
}

// The bundled run pins the transcript's fields; here those it leaves at zero get a value.
TEST(ActualRunFile, LayoutOfTheFieldsTheBundledRunLeavesEmpty)
{
    ActualRun run = bundledRun();
    run.HeaderRecord.GroupCount = 0x11223344;
    run.HeaderRecord.EmergencyProgram = 8;
    SignalProgram &p = run.ProgramRecord;
    std::tie(p.ProgramNumber, p.DemandTime2, p.ContinueTime2, p.SwitchOnPoint, p.GroupStartPoint, p.DemandDelay2) =
        std::make_tuple(9, 45, 47, 3, 5, 4);
    p.PermanentDemand[4] = p.ExtendBeyondMax[5] = p.Extend[6] = 1;
    p.GroupDigit[23] = 0x5A;
    const QByteArray b = EncodeActualRunFile(run);
    const int r = 421;  // the program record
    const std::pair<int, int> words[] = {{0, 0x11223344}, {120, 8}, {r, 9},       {r + 12, 45},
                                         {r + 20, 47},    {r + 24, 3}, {r + 32, 5}, {r + 56, 4}};
    for (const auto &[offset, value] : words)
        EXPECT_EQ(qFromLittleEndian<qint32>(b.constData() + offset), value) << "offset " << offset;
    const std::pair<int, int> bytes[] = {{r + 1836 + 4, 1}, {r + 1860 + 5, 1}, {r + 2868 + 6, 1}, {r + 2915, 0x5A}};
    for (const auto &[offset, value] : bytes)
        EXPECT_EQ(uint8_t(b[offset]), value) << "offset " << offset;
    EXPECT_EQ(qFromLittleEndian<qint32>(b.constData() + 3337), 250);  // the row count, then the rows
    // Rows beyond the capacity are never written.
    run.Rows.resize(1300);
    EXPECT_EQ(EncodeActualRunFile(run).size(), 3341 + 124 * 1200);
}

TEST(ActualRunFile, SavedRunLoadsAsAChartWithItsNames)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DrIst1.DRI"));
    QString error;
    ASSERT_TRUE(WriteActualRunFile(path, bundledRun(), &error)) << error.toStdString();
    EXPECT_EQ(readBytes(path), readBytes(kBundled));
    ChartData chart;
    ActualRun loaded;
    ASSERT_TRUE(LoadActualRunChart(path, chart, loaded, &error));
    EXPECT_EQ(EncodeActualRunFile(loaded), readBytes(kBundled));
    EXPECT_TRUE(chart.DisplayMode == DisplayMode::RunFromFile && !chart.TargetChartActive);
    EXPECT_EQ(QStringList({fieldText(chart.GroupNames[7]), chart.ChartTitle, chart.WindowCaption, chart.DataName,
                           chart.BannerText.right(4)}),
              QStringList({"B1 Blink", "(Ist-Druck, Datei DrIst1.DRI)",
                           "Drucker Vorschau Ist-Druck aus Datei DrIst1.DRI - SCHULW01", "SCHULW01", "6.30"}));
    EXPECT_EQ(QList<int>({PageCount(chart.ChartLength()), chart.ShownGroups, chart.ActiveGroupCount,
                          chart.HeaderGroupCount, chart.StartProgram, chart.Rows[5].State[0],
                          chart.Rows[249].ProgramNumber, int(chart.ProgramSnapshot.CycleTime)}),
              QList<int>({4, 8, 8, 8, 1, 2, 2, 70}));

    // No program name: the caption ends with the file name; no rows: the overview page only.
    loaded.ProgramName.fill(' ');
    loaded.Rows.clear();
    ASSERT_TRUE(WriteActualRunFile(dir.filePath(QStringLiteral("leer.DRI")), loaded, &error));
    ASSERT_TRUE(LoadActualRunChart(dir.filePath(QStringLiteral("leer.DRI")), chart, loaded, &error));
    EXPECT_EQ(chart.WindowCaption, "Drucker Vorschau Ist-Druck aus Datei leer.DRI");
    EXPECT_EQ(PageCount(chart.ChartLength()), 1);
}

// A refused file is reported with its reason, and what the caller had stays.
TEST(ActualRunFile, WrongSizesAreRefusedWithoutReadingBeyondTheFile)
{
    QTemporaryDir dir;
    const QByteArray good = readBytes(kBundled).left(3341 + 3 * 124);
    const auto counted = [](QByteArray bytes, int rows) {
        putLe32(bytes, 3337, uint32_t(rows));
        return bytes;
    };
    const std::pair<QByteArray, const char *> cases[] = {
        {counted(good, 3).chopped(1), "ist beschädigt !\nSie gibt 3 Sekunden an, enthält aber 2."},
        {good.left(3340), "ist keine Ist-Druck-Datei !\nEine Ist-Druck-Datei kann nicht 3340 Bytes groß sein."},
        {QByteArray(), nullptr},
        {counted(good, 4), "ist beschädigt !\nSie gibt 4 Sekunden an, enthält aber 3."},
        {counted(good.left(3341), -1), nullptr},
        {counted(good.left(3341) + QByteArray(124 * 1201, '\0'), 1201),
         "ist keine Ist-Druck-Datei !\nEine Ist-Druck-Datei kann nicht 152265 Bytes groß sein."},
    };
    const QString path = dir.filePath(QStringLiteral("kaputt.DRI"));
    for (const auto &[bytes, why] : cases) {
        ASSERT_TRUE(writeBytes(path, bytes));
        ActualRun run;
        run.Rows.resize(1);
        QString error;
        EXPECT_FALSE(ReadActualRunFile(path, run, &error)) << bytes.size();
        EXPECT_EQ(run.Rows.size(), 1u);
        EXPECT_TRUE(error.startsWith(QStringLiteral("Die Datei kaputt.DRI "))) << error.toStdString();
        EXPECT_TRUE(!why || error.mid(21) == QString::fromUtf8(why)) << error.toStdString();
    }
    // Bytes after the counted rows (a transfer that padded the file) are no part of the run.
    for (const QByteArray &padded : {counted(good, 3) + '\x1a', counted(good, 3) + QByteArray(124 * 2, '\0')}) {
        ASSERT_TRUE(writeBytes(path, padded));
        ActualRun run;
        QString error;
        ASSERT_TRUE(ReadActualRunFile(path, run, &error)) << error.toStdString();
        EXPECT_EQ(EncodeActualRunFile(run), counted(good, 3));
    }
}

// The whole-file save is tested with the names file; here only the run's name in the message.
TEST(ActualRunFile, AFailedSaveNamesTheRunFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("Ordner.DRI"));
    QString error;
    EXPECT_FALSE(WriteActualRunFile(dir.filePath("Ordner.DRI"), bundledRun(), &error));
    EXPECT_EQ(error, "Die Datei Ordner.DRI kann nicht angelegt werden:\nUnter diesem Namen ist ein Ordner vorhanden.");
}

// Each read in a child given up on when it blocks; the preview's message names the file.
TEST(ActualRunFileCrashSafe, HostileEntriesAreRefusedWithoutBlockingOrReading)
{
    QTemporaryDir dir;
    const struct {
        const char *name;
        std::function<bool(const QByteArray &)> make;
        const char *message;
    } entries[] = {
        {"Pipe.DRI", [](const QByteArray &p) { return ::mkfifo(p.constData(), 0644) == 0; }, nullptr},
        {"Null.DRI", [](const QByteArray &p) { return ::symlink("/dev/zero", p.constData()) == 0; }, nullptr},
        {"Schleife.DRI", [](const QByteArray &p) { return ::symlink(p.constData(), p.constData()) == 0; }, nullptr},
        {"Riesig.DRI",
         [](const QByteArray &p) {
             return writeBytes(QFile::decodeName(p), {}) && ::truncate(p.constData(), 4LL << 30) == 0;
         },
         "ist keine Ist-Druck-Datei !\nEine Ist-Druck-Datei kann nicht 4294967296 Bytes groß sein."},
    };
    for (const auto &entry : entries) {
        SCOPED_TRACE(entry.name);
        const QString path = dir.filePath(entry.name);
        ASSERT_TRUE(entry.make(QFile::encodeName(path)));
        ChildProcess child(
            [&](const std::function<void()> &) {
                ChartData chart;
                ActualRun run;
                QString error;
                if (LoadActualRunChart(path, chart, run, &error))
                    return 2;
                const QString why = entry.message ? entry.message : "kann nicht gelesen werden !";
                return error == QStringLiteral("Die Datei %1 %2").arg(entry.name, why) ? 0 : 3;
            },
            ChildLimits{std::nullopt, 64 * 1024 * 1024});
        EXPECT_EQ(child.waitExit(20s), 0);
    }
}

}  // namespace

// The simulation source: which file is read next by its time stamp, and the
// capture reading the header file and the data files.

#include "actual/actualruncapture.h"
#include "context/appcontext.h"
#include "qtprinters.h"
#include "streamlines.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

namespace {

const QDateTime kStart(QDate(2024, 3, 14), QTime(9, 0, 0));

void writeSimFile(const QString &dir, int number, const QByteArray &text, const QDateTime &stamp)
{
    QFile f(QDir(dir).filePath(QStringLiteral("D%1.ist").arg(number)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
    f.flush();  // a later flush would stamp the file again
    ASSERT_TRUE(f.setFileTime(stamp, QFileDevice::FileModificationTime));
}

TEST(SimulationFiles, PackedStampsCountTwoSecondSteps)
{
    const uint32_t start = PackedStamp(kStart);
    EXPECT_EQ(start, (44u << 25) | (3u << 21) | (14u << 16) | (9u << 11));
    EXPECT_EQ(PackedStamp(kStart.addSecs(1)), start);
    EXPECT_EQ(PackedStamp(kStart.addSecs(2)), start + 1);
    EXPECT_EQ(PackedStamp(kStart.addSecs(60)), start + 32);
}

TEST(SimulationFiles, HeaderFirstThenTheOldestDataFile)
{
    QTemporaryDir dir;
    const SimulationFiles files(dir.path());
    const uint32_t start = PackedStamp(kStart);
    uint32_t stamp = 0;
    EXPECT_EQ(files.ChooseNext(start, 0, &stamp), -1);

    // Data files only count when newer than the start.
    writeSimFile(dir.path(), 4, "x", kStart.addSecs(1));  // same two seconds as the start
    EXPECT_EQ(files.ChooseNext(start, 0, &stamp), -1);
    writeSimFile(dir.path(), 5, "x", kStart.addSecs(10));
    writeSimFile(dir.path(), 3, "x", kStart.addSecs(7));
    writeSimFile(dir.path(), 2, "x", kStart.addSecs(6));  // one second before D3, the same stamp
    EXPECT_EQ(files.ChooseNext(start, 0, &stamp), 2);
    EXPECT_EQ(stamp, PackedStamp(kStart.addSecs(6)));
    files.Delete(2);
    EXPECT_EQ(files.ChooseNext(start, 0, &stamp), 3);
    files.Delete(3);
    EXPECT_EQ(files.ChooseNext(start, 0, &stamp), 5);

    // A newer header comes first; after it only data files newer than the header count.
    writeSimFile(dir.path(), 0, "header", kStart.addSecs(10));
    EXPECT_EQ(files.ChooseNext(start, 0, &stamp), 0);
    files.Delete(0);
    EXPECT_EQ(files.ChooseNext(start, stamp, &stamp), -1);  // D5 is as old as the header
    writeSimFile(dir.path(), 9, "x", kStart.addSecs(12));
    EXPECT_EQ(files.ChooseNext(start, PackedStamp(kStart.addSecs(10)), &stamp), 9);

    // Files from days later are not taken; neither is a header not newer than the start.
    writeSimFile(dir.path(), 9, "x", kStart.addDays(2));
    EXPECT_EQ(files.ChooseNext(start, PackedStamp(kStart.addSecs(10)), &stamp), -1);
    writeSimFile(dir.path(), 0, "header", kStart);
    EXPECT_EQ(files.ChooseNext(start, PackedStamp(kStart.addSecs(10)), &stamp), -1);

    files.DeleteAll();
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    files.DeleteAll();  // nothing there: no error

    const SimulationFiles missing(dir.filePath(QStringLiteral("gibt-es-nicht")));
    EXPECT_EQ(missing.ChooseNext(start, 0, &stamp), -1);
    EXPECT_TRUE(missing.ReadLines(0, 10).isEmpty());
}

struct SimRig {
    QTemporaryDir dir;
    AppContext ctx;
    ActualRunCapture capture{ctx.captureContext()};
    std::vector<Message> told;  // what the ticks returned to show

    SimRig()
    {
        ctx.settings.SimulatorWorkDir = dir.path();
        capture.setClock([] { return kStart; });
    }
    CaptureUpdate tick()
    {
        CaptureUpdate u = capture.ScanDataTimer(0);
        if (u.message)
            told.push_back(*u.message);
        return u;
    }
};

QByteArray simHeader()
{
    QByteArray text;
    text += "        ------------------\r\n";
    text += placeAt(placeAt("    Sim  Velkinor", 17, "Simulation"), 64, "14.03.24 09:00") + "\r\n";
    text += placeAt("        Standort      :", 25, "Teststrecke") + "\r\n";
    text += "        Programmname  : C:\\VELKINOR\\KREUZUNG.SIM\r\n";
    text += placeAt("        Gruppenzahl   :", 25, " 3") + "\r\n";
    return text;
}

TEST(SimulationCapture, ReadsTheHeaderThenOneSecondPerFile)
{
    SimRig rig;
    writeSimFile(rig.dir.path(), 7, "alt", kStart.addSecs(-60));
    rig.capture.Start(DisplayMode::RunSimulation);
    EXPECT_TRUE(QDir(rig.dir.path()).entryList(QDir::Files).isEmpty());  // the files of an earlier run are gone
    EXPECT_EQ(rig.capture.caption(), "Drucker Vorschau grafisch Ist-Druck Simulation - Erwarte Daten");
    EXPECT_EQ(rig.capture.chart().ChartTitle, "(Ist-Druck, Sim. Programm)");
    EXPECT_FALSE(rig.tick().cleared);

    writeSimFile(rig.dir.path(), 0, simHeader(), kStart.addSecs(4));
    writeSimFile(rig.dir.path(), 1, dataLine('1', {" Gr", "*R ", " B "}) + "\r\n", kStart.addSecs(6));
    writeSimFile(rig.dir.path(), 2, dataLine('2', {" Ge", " R ", " B "}) + "\r\n", kStart.addSecs(8));
    writeSimFile(rig.dir.path(), 3, "kein Datensatz\r\n", kStart.addSecs(10));
    writeSimFile(rig.dir.path(), 4, dataLine('2', {" R ", " RG", "   "}) + "\r\n", kStart.addSecs(12));

    EXPECT_TRUE(rig.tick().cleared);
    EXPECT_EQ(rig.capture.caption(), "Drucker Vorschau Ist-Druck Simulation - KREUZUNG");
    EXPECT_TRUE(rig.capture.printButtonsEnabled() && rig.capture.dataPhase());
    EXPECT_EQ(rig.capture.chart().ControllerTypeText, "Simulation");
    EXPECT_EQ(rig.capture.chart().HeaderGroupCount, 3);

    EXPECT_TRUE(rig.tick().chartStarted);
    // One second per file; a file without a data line adds none. Each is removed once read.
    QList<bool> added;
    for (int tick = 0; tick < 4; ++tick)
        added << rig.tick().rowAdded;
    EXPECT_EQ(added, QList<bool>({true, false, true, false}));
    EXPECT_TRUE(QDir(rig.dir.path()).entryList(QDir::Files).isEmpty());

    const ActualRun &run = rig.capture.run();
    ASSERT_EQ(run.Rows.size(), 3u);
    EXPECT_EQ(QList<int>({run.Rows[0].State[0], run.Rows[0].DetectorActive[1], run.Rows[1].ProgramNumber,
                          run.Rows[2].State[1], run.StartProgram}),
              QList<int>({2, 1, 2, 3, 1}));
    EXPECT_TRUE(rig.told.empty());
    EXPECT_TRUE(rig.capture.running());

    // A new header file starts a new run.
    writeSimFile(rig.dir.path(), 0, simHeader(), kStart.addSecs(20));
    EXPECT_TRUE(rig.tick().cleared);
    EXPECT_EQ(rig.capture.RowCount(), 0);
    EXPECT_FALSE(rig.capture.chartReady());
}

TEST(SimulationCapture, DataFileBeforeTheHeaderIsReportedAndCleared)
{
    SimRig rig;
    rig.capture.Start(DisplayMode::RunSimulation);
    writeSimFile(rig.dir.path(), 1, dataLine('1', {" Gr"}) + "\r\n", kStart.addSecs(4));
    writeSimFile(rig.dir.path(), 2, dataLine('1', {" Gr"}) + "\r\n", kStart.addSecs(6));
    const CaptureUpdate u = rig.tick();
    ASSERT_EQ(rig.told.size(), 1u);
    EXPECT_EQ(rig.told[0].text, kPrintoutActiveMessage);
    EXPECT_FALSE(u.closeWindow);  // the window stays for the next run
    EXPECT_TRUE(rig.capture.running());
    EXPECT_TRUE(QDir(rig.dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(rig.capture.RowCount(), 0);
}

}  // namespace

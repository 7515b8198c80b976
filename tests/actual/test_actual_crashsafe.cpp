// Saving an actual run over an older one while the saving process is killed,
// runs out of disk or finds its folder changed; and reading a run from
// whatever stands under its name. A recorded run is never lost to a half
// written file, and no read blocks or takes more memory than a run can have.

#include "actual/actualrunfile.h"
#include "asnobody.h"
#include "savetorture.h"
#include "scriptedprompt.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

ActualRun bundledRun()
{
    ActualRun run;
    QString error;
    EXPECT_TRUE(ReadActualRunFile(QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/transcripts/Hauptstrasse-Schulweg-KVX900.DRI"),
                                  run, &error))
        << error.toStdString();
    return run;
}

// The bundled run of 250 seconds as the file on disk; a full run of 1200
// seconds saved over it.
SaveTorture runTorture(const QString &dir)
{
    const ActualRun oldRun = bundledRun();
    ActualRun newRun = oldRun;
    while (newRun.Rows.size() < size_t(kMaxRunRows))
        newRun.Rows.push_back(oldRun.Rows[newRun.Rows.size() % oldRun.Rows.size()]);
    const QString path = dir + "/Lauf.DRI";
    const auto save = [path](const ActualRun &run) {
        QString error;
        return WriteActualRunFile(path, run, &error);
    };
    return {dir, "Lauf.DRI", EncodeActualRunFile(oldRun), EncodeActualRunFile(newRun),
            [=] { return save(oldRun); }, [=] { return save(newRun); }};
}

TEST(ActualRunFileCrashSafe, KilledAnywhereWhileSavingLeavesOldOrNewContent)
{
    QTemporaryDir dir;
    runTorture(dir.path()).killWhileSaving(150);
}

TEST(ActualRunFileCrashSafe, FullDiskReportsFailureAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const SaveTorture torture = runTorture(dir.path());
    ASSERT_TRUE(torture.saveOld());
    for (rlim_t room : {rlim_t(0), rlim_t(1), rlim_t(kRunFileFixedBytes), rlim_t(torture.newBytes.size() - 1)})
        torture.saveWithRoomFor(room);

    // The reason reaches the message the program shows.
    ChildProcess child(
        [&](const std::function<void()> &) {
            ActualRun run = bundledRun();
            QString error;
            if (WriteActualRunFile(torture.path(), run, &error))
                return 2;
            return error.startsWith("Die Datei Lauf.DRI konnte nicht vollständig geschrieben werden:\n") ? 1 : 3;
        },
        ChildLimits{1000, std::nullopt});
    EXPECT_EQ(child.waitExit(10s), 1);
    EXPECT_EQ(readBytes(torture.path()), torture.oldBytes);
}

TEST(ActualRunFileCrashSafe, ReadOnlyFolderFolderTargetAndVanishedFolderFailWithAReason)
{
    QTemporaryDir dir;
    const ActualRun run = bundledRun();
    const QByteArray bytes = EncodeActualRunFile(run);
    QString error;

    const QString readOnly = dir.filePath("schreibgeschuetzt");
    ASSERT_TRUE(QDir().mkdir(readOnly));
    ASSERT_TRUE(WriteActualRunFile(readOnly + "/Lauf.DRI", run, &error));
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0555), 0);
    {
        const FileAccessAsNobody nobody;
        ActualRun other = run;
        other.Rows.resize(3);
        EXPECT_FALSE(WriteActualRunFile(readOnly + "/Lauf.DRI", other, &error));
        EXPECT_TRUE(error.startsWith("Die Datei Lauf.DRI kann nicht angelegt werden:\n")) << error.toStdString();
        EXPECT_GT(error.size(), 48);  // and why
    }
    EXPECT_EQ(readBytes(readOnly + "/Lauf.DRI"), bytes);
    EXPECT_EQ(QDir(readOnly).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"Lauf.DRI"});

    // A folder under the name, a folder that went away.
    ASSERT_TRUE(QDir(dir.path()).mkdir("Ordner.DRI"));
    EXPECT_FALSE(WriteActualRunFile(dir.filePath("Ordner.DRI"), run, &error));
    EXPECT_EQ(error, "Die Datei Ordner.DRI kann nicht angelegt werden:\nUnter diesem Namen ist ein Ordner vorhanden.");
    EXPECT_TRUE(QFileInfo(dir.filePath("Ordner.DRI")).isDir());
    EXPECT_FALSE(WriteActualRunFile(dir.filePath("entfernt/Lauf.DRI"), run, &error));
    EXPECT_TRUE(error.startsWith("Die Datei Lauf.DRI kann nicht angelegt werden:\n")) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("entfernt")));
}

// In place of a run: a named pipe, a link to /dev/zero, a link loop, a 4 GiB
// sparse file. Each read runs in a child that is given up on when it blocks;
// the preview's message names the file.
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

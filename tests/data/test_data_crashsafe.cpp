// Saving NAMEN.DAT over an existing file while the saving process is killed,
// runs out of disk or finds its folder changed: the file holds its old or its
// new content, never a mix, and no temporary file stays behind.

#include "asnobody.h"
#include "childprocess.h"
#include "data/namesfile.h"
#include "data/textfield.h"
#include "tempdir.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <sys/stat.h>
#include <thread>

namespace {

using namespace std::chrono_literals;

InstallationData names(const QString &prefix)
{
    InstallationData d;
    for (int g = 0; g < kGroupCount; ++g)
        TextToField10(QStringLiteral("%1 %2").arg(prefix).arg(g + 1), d.GroupNames[g]);
    return d;
}

QByteArray bytesOf(const InstallationData &d)
{
    QByteArray bytes;
    for (const GroupName &name : d.GroupNames)
        bytes.append(name.data(), kGroupNameLength);
    return bytes;
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// What a save that was cut off leaves: its temporary file.
bool isUnfinishedSave(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^\\.NAMEN\\.DAT\\.signovat-save-[A-Za-z]{6}$"));
    return pattern.match(name).hasMatch();
}

TEST(NamesFileCrashSafe, KilledAnywhereWhileSavingLeavesOldOrNewContent)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("NAMEN.DAT");
    const InstallationData oldNames = names("Alt"), newNames = names("Neu");
    const QByteArray oldBytes = bytesOf(oldNames), newBytes = bytesOf(newNames);

    // The kills are spread over twice the time a save takes on this machine.
    const auto begin = std::chrono::steady_clock::now();
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(writeNamesFile(i % 2 ? oldNames : newNames, path));
    const auto saveTime = (std::chrono::steady_clock::now() - begin) / 20;
    ASSERT_EQ(readBytes(path), oldBytes);

    const unsigned seed = std::random_device()();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<long long> delay(0, 2 * std::chrono::nanoseconds(saveTime).count());

    int keptOld = 0, tookNew = 0, leftBehind = 0;
    for (int run = 0; run < 150; ++run) {
        SCOPED_TRACE(testing::Message() << "run " << run);
        ChildProcess child([&](const std::function<void()> &ready) {
            ready();
            return writeNamesFile(newNames, path) ? 0 : 1;
        });
        ASSERT_TRUE(child.waitReady(10s));
        std::this_thread::sleep_for(std::chrono::nanoseconds(delay(random)));
        child.kill();

        const QByteArray content = readBytes(path);
        ASSERT_TRUE(content == oldBytes || content == newBytes) << content.toHex().toStdString();
        ++(content == oldBytes ? keptOld : tookNew);
        for (const QString &entry : entries(dir.path())) {
            if (entry == "NAMEN.DAT")
                continue;
            EXPECT_TRUE(isUnfinishedSave(entry)) << entry.toStdString();
            ++leftBehind;
        }

        // The next save removes what the killed one left, and puts the old
        // names back for the next run.
        ASSERT_TRUE(writeNamesFile(oldNames, path));
        ASSERT_EQ(entries(dir.path()), QStringList{"NAMEN.DAT"});
    }
    std::printf("save time %lld us; old content %d, new content %d, temporary files left %d\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(saveTime).count()),
                keptOld, tookNew, leftBehind);
    // Kills landed before the file was replaced and after it.
    EXPECT_GT(keptOld, 0);
    EXPECT_GT(tookNew, 0);
}

TEST(NamesFileCrashSafe, FullDiskReportsFailureAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("NAMEN.DAT");
    const InstallationData oldNames = names("Alt");
    ASSERT_TRUE(writeNamesFile(oldNames, path));

    // Room for nothing, for one byte, and for all but the last byte.
    for (rlim_t room : {rlim_t(0), rlim_t(1), rlim_t(239)}) {
        SCOPED_TRACE(testing::Message() << room << " bytes of room");
        ChildProcess child([&](const std::function<void()> &) { return writeNamesFile(names("Neu"), path) ? 0 : 1; },
                           ChildLimits{room, std::nullopt});
        EXPECT_EQ(child.waitExit(10s), 1);
        EXPECT_EQ(readBytes(path), bytesOf(oldNames));
        EXPECT_EQ(entries(dir.path()), QStringList{"NAMEN.DAT"});
    }

    // A first save that does not fit leaves no file at all.
    const QString fresh = dir.filePath("neu/NAMEN.DAT");
    ASSERT_TRUE(QDir(dir.path()).mkdir("neu"));
    ChildProcess child([&](const std::function<void()> &) { return writeNamesFile(oldNames, fresh) ? 0 : 1; },
                       ChildLimits{100, std::nullopt});
    EXPECT_EQ(child.waitExit(10s), 1);
    EXPECT_TRUE(entries(dir.filePath("neu")).isEmpty());
}

TEST(NamesFileCrashSafe, ReadOnlyOrVanishedFolderFailsAndLosesNothing)
{
    QTemporaryDir dir;
    const QString readOnly = dir.filePath("schreibgeschuetzt");
    const QString path = readOnly + "/NAMEN.DAT";
    ASSERT_TRUE(QDir().mkdir(readOnly));
    const InstallationData oldNames = names("Alt");
    ASSERT_TRUE(writeNamesFile(oldNames, path));
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0555), 0);
    {
        const FileAccessAsNobody nobody;
        EXPECT_FALSE(writeNamesFile(names("Neu"), path));
        InstallationData read;
        EXPECT_TRUE(readNamesFile(read, path));
        EXPECT_EQ(bytesOf(read), bytesOf(oldNames));
    }
    EXPECT_EQ(readBytes(path), bytesOf(oldNames));
    EXPECT_EQ(entries(readOnly), QStringList{"NAMEN.DAT"});

    // The folder chosen in the dialog was removed before the save.
    const QString gone = dir.filePath("entfernt");
    ASSERT_TRUE(QDir().mkdir(gone));
    ASSERT_TRUE(QDir(gone).removeRecursively());
    EXPECT_FALSE(writeNamesFile(oldNames, gone + "/NAMEN.DAT"));
    EXPECT_FALSE(QFileInfo::exists(gone));
}

TEST(NamesFileCrashSafe, SavingKeepsLinksPermissionsAndOtherFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("NAMEN.DAT");
    const QString elsewhere = dir.filePath("anlage/namen.bin");
    ASSERT_TRUE(QDir(dir.path()).mkdir("anlage"));
    ASSERT_TRUE(writeBytes(elsewhere, QByteArray(240, ' ')));
    ASSERT_EQ(::chmod(QFile::encodeName(elsewhere).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(elsewhere, path));

    // A cut-off save of the file goes (it lies next to the file the link
    // points to); a user's copy and cut-off saves of other files stay.
    const QStringList others = {"NAMEN.DAT.backup", ".NAMEN.DAT.signovat-save-abc", ".KOPIE.DAT.signovat-save-AbCdEf"};
    for (const QString &name : others)
        ASSERT_TRUE(writeBytes(dir.filePath(name), "x"));
    ASSERT_TRUE(writeBytes(dir.filePath("anlage/.namen.bin.signovat-save-AbCdEf"), "halb"));

    const InstallationData saved = names("Neu");
    ASSERT_TRUE(writeNamesFile(saved, path));
    EXPECT_TRUE(QFileInfo(path).isSymLink());
    EXPECT_EQ(readBytes(elsewhere), bytesOf(saved));
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(elsewhere).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(entries(dir.filePath("anlage")), QStringList{"namen.bin"});
    for (const QString &name : others)
        EXPECT_EQ(readBytes(dir.filePath(name)), "x") << name.toStdString();
}

}  // namespace

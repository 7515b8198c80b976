// Data folders copied from elsewhere may hold anything under the names of the
// data files: a named pipe, a link to a device, a link loop, a huge sparse
// file. Loading such a folder must not block, must not allocate more than
// the formats allow, and reports each such entry as missing or of the wrong
// size. Every load runs in a child process that is given up on when it hangs.

#include "childprocess.h"
#include "data/datasetloader.h"
#include "data/namesfile.h"
#include "data/textfield.h"
#include "tempdir.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// Far beyond the largest file of the set, far below what reading one of the
// entries whole would take.
constexpr rlim_t kMemoryAllowance = 64 * 1024 * 1024;
constexpr off_t kSparseSize = 4LL * 1024 * 1024 * 1024;

enum class Entry { Pipe, DevZero, LinkLoop, SparseFile };

bool make(Entry entry, const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    switch (entry) {
    case Entry::Pipe:
        return ::mkfifo(native.constData(), 0644) == 0;
    case Entry::DevZero:
        return ::symlink("/dev/zero", native.constData()) == 0;
    case Entry::LinkLoop:
        return ::symlink(native.constData(), native.constData()) == 0;
    case Entry::SparseFile:
        return writeBytes(path, {}) && ::truncate(native.constData(), kSparseSize) == 0;
    }
    return false;
}

const char *describe(Entry entry)
{
    switch (entry) {
    case Entry::Pipe:
        return "named pipe";
    case Entry::DevZero:
        return "link to /dev/zero";
    case Entry::LinkLoop:
        return "link loop";
    case Entry::SparseFile:
        return "4 GiB sparse file";
    }
    return "";
}

const Entry kEntries[] = {Entry::Pipe, Entry::DevZero, Entry::LinkLoop, Entry::SparseFile};

// Runs `work` in a child with the memory allowance; it must end within
// seconds with exit code 0.
void runGuarded(const std::function<bool()> &work)
{
    ChildProcess child([&](const std::function<void()> &) { return work() ? 0 : 1; },
                       ChildLimits{std::nullopt, kMemoryAllowance});
    ASSERT_TRUE(child.started());
    const std::optional<int> status = child.waitExit(20s);
    ASSERT_TRUE(status.has_value()) << "the load blocked";
    EXPECT_EQ(*status, 0);
}

TEST(HostileFolder, EveryDataFileReplacedIsReportedWithoutBlocking)
{
    for (Entry entry : kEntries) {
        SCOPED_TRACE(describe(entry));
        QTemporaryDir dir;
        for (const DataFileInfo &info : kDataFiles)
            ASSERT_TRUE(make(entry, dir.filePath(QString::fromLatin1(info.name))));

        const QString reportFile = dir.filePath("report.txt");
        runGuarded([&] {
            InstallationData d;
            const QStringList report = loadDataSet(d, dir.path(), ResetRules{true, 0});
            return writeBytes(reportFile, report.join('\n').toUtf8());
        });

        const QStringList report = QString::fromUtf8(readBytes(reportFile)).split('\n');
        ASSERT_EQ(report.size(), 23);
        const QString outcome = entry == Entry::SparseFile ? " hat falsche Größe. Standardwerte geladen !"
                                                           : " nicht gefunden. Standardwerte geladen !";
        for (std::size_t i = 0; i < kDataFiles.size(); ++i)
            EXPECT_EQ(report[3 + int(i)], QString::fromLatin1(kDataFiles[i].name) + outcome);
    }
}

TEST(HostileFolder, NamesFileReplacedBlanksTheNamesWithoutBlocking)
{
    for (Entry entry : kEntries) {
        SCOPED_TRACE(describe(entry));
        QTemporaryDir dir;
        const QString path = dir.filePath("NAMEN.DAT");
        ASSERT_TRUE(make(entry, path));
        runGuarded([&] {
            InstallationData d;
            TextToField10("K1", d.GroupNames[0]);
            return !readNamesFile(d, path) && GroupNameText(d, 0).isEmpty();
        });
    }
}

}  // namespace

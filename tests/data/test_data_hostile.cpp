// Data folders copied from elsewhere may hold anything under the names of the
// data files. Loading never blocks, allocates no more than the formats allow
// and reports each such entry as missing or of the wrong size. Every load runs
// as an unprivileged user in a child process that is given up on when it hangs.

#include "asnobody.h"
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

enum class Entry { Folder, Pipe, DevZero, LinkLoop, DanglingLink, Unreadable, Short, Sparse, LinkToFile };

const struct {
    Entry entry;
    const char *what, *report;
} kEntries[] = {
    {Entry::Folder, "folder", " nicht gefunden. Standardwerte geladen !"},
    {Entry::Pipe, "named pipe", " nicht gefunden. Standardwerte geladen !"},
    {Entry::DevZero, "link to /dev/zero", " nicht gefunden. Standardwerte geladen !"},
    {Entry::LinkLoop, "link loop", " nicht gefunden. Standardwerte geladen !"},
    {Entry::DanglingLink, "dangling link", " nicht gefunden. Standardwerte geladen !"},
    {Entry::Unreadable, "unreadable file", " nicht gefunden. Standardwerte geladen !"},
    {Entry::Short, "one byte short", " hat falsche Größe. Standardwerte geladen !"},
    {Entry::Sparse, "4 GiB sparse file", " hat falsche Größe. Standardwerte geladen !"},
    {Entry::LinkToFile, "link to a file of the right size", " gelesen"},  // that file is read
};

bool make(Entry entry, const QString &path, int size)
{
    const QByteArray native = QFile::encodeName(path);
    switch (entry) {
    case Entry::Folder:
        return QDir().mkdir(path);
    case Entry::Pipe:
        return ::mkfifo(native.constData(), 0644) == 0;
    case Entry::DevZero:
        return ::symlink("/dev/zero", native.constData()) == 0;
    case Entry::LinkLoop:
        return ::symlink(native.constData(), native.constData()) == 0;
    case Entry::DanglingLink:
        return ::symlink((native + ".fehlt").constData(), native.constData()) == 0;
    case Entry::Unreadable:
        return writeBytes(path, QByteArray(size, 'x')) && ::chmod(native.constData(), 0) == 0;
    case Entry::Short:
        return writeBytes(path, QByteArray(size - 1, 'x'));
    case Entry::Sparse:
        return writeBytes(path, {}) && ::truncate(native.constData(), 4LL * 1024 * 1024 * 1024) == 0;
    case Entry::LinkToFile:
        return writeBytes(path + ".echt", QByteArray(size, 'x'))
            && ::symlink((native + ".echt").constData(), native.constData()) == 0;
    }
    return false;
}

// Runs `work` as an unprivileged user in a child with the memory allowance;
// it must end within seconds with exit code 0.
void runGuarded(const std::function<bool()> &work)
{
    ChildProcess child(
        [&](const std::function<void()> &) {
            const FileAccessAsNobody nobody;
            return work() ? 0 : 1;
        },
        ChildLimits{std::nullopt, kMemoryAllowance});
    EXPECT_EQ(child.waitExit(20s), 0) << "the load blocked or failed";
}

class HostileFolder : public ::testing::Test {
protected:
    // Unprivileged users may look into the folder.
    void SetUp() override { ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0); }
    QTemporaryDir dir;
};

// The names file alone is read by the group names editor's "Daten Laden".
TEST_F(HostileFolder, EveryDataFileReplacedIsReportedWithoutBlocking)
{
    for (const auto &e : kEntries) {
        SCOPED_TRACE(e.what);
        const QString folder = dir.filePath(QString::number(int(e.entry)));
        ASSERT_TRUE(QDir().mkdir(folder));
        QStringList expected;
        for (const DataFileInfo &info : kDataFiles) {
            ASSERT_TRUE(make(e.entry, folder + '/' + info.name, info.size));
            expected << QLatin1String(info.name) + QString::fromUtf8(e.report);
        }
        runGuarded([&] {
            InstallationData d;
            const bool reported = loadDataSet(d, folder, ResetRules{true, 0}).mid(3) == expected;
            TextToField10("K1", d.GroupNames[0]);
            const bool read = readNamesFile(d, folder + "/NAMEN.DAT");
            return reported && read == (e.entry == Entry::LinkToFile)
                && GroupNameText(d, 0) == (read ? "xxxxxxxxxx" : "");
        });
    }
}

}  // namespace

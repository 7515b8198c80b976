// Blank-padded Windows-1252 text fields, and NAMEN.DAT saved safely against kills,
// full disks and changed folders.

#include "asnobody.h"
#include "savetorture.h"
#include "data/namesfile.h"
#include "data/textfield.h"
#include "tempdir.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>

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

SaveTorture namesTorture(const QString &dir)
{
    const InstallationData oldNames = names("Alt"), newNames = names("Neu");
    const QString path = dir + "/NAMEN.DAT";
    return {dir, "NAMEN.DAT", bytesOf(oldNames), bytesOf(newNames),
            [=] { return writeNamesFile(oldNames, path); }, [=] { return writeNamesFile(newNames, path); }};
}

TEST(TextField, TrailingBlanksAndFieldWidth)
{
    const std::pair<const char *, QByteArray> names[] = {
        {"A", "A         "}, {"Linksabbg.", "Linksabbg."}, {"Linksabbieger", "Linksabbie"}};
    GroupName field;
    for (const auto &[text, bytes] : names) {
        TextToField10(text, field);
        EXPECT_EQ(QByteArray(field.data(), 10), bytes) << text;
    }
    TextField32 location;
    textToField(" Schulweg", location);
    EXPECT_EQ(fieldText(location), " Schulweg");

    InstallationData d;
    TextToField10("A", d.GroupNames[0]);
    EXPECT_EQ(GroupNameText(d, 0), "A");
    EXPECT_EQ(GroupNameText(d, -1), "");
    EXPECT_EQ(GroupNameText(d, 24), "");
}

TEST(TextField, Windows1252BothWays)
{
    const QByteArray bytes("\x80\x84\x93\x96\x9f\xe4\xdf\x81\x9d", 9);
    const QString text = fromCp1252(bytes.constData(), bytes.size());
    EXPECT_EQ(text, QString::fromUtf8("€„“–Ÿäß") + QChar(0x81) + QChar(0x9d));
    EXPECT_EQ(toCp1252(text), bytes);
    EXPECT_EQ(toCp1252(QString::fromUtf8("Ω ok ") + QChar(0x80)), QByteArray("? ok ?"));
    EXPECT_EQ(toCp1252(QString::fromUcs4(U"\U0001F6A6")), QByteArray("?"));
}

TEST(NamesFileCrashSafe, KilledAnywhereWhileSavingLeavesOldOrNewContent)
{
    QTemporaryDir dir;
    namesTorture(dir.path()).killWhileSaving(150);
}

TEST(NamesFileCrashSafe, FullDiskReportsFailureAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const SaveTorture torture = namesTorture(dir.path());
    ASSERT_TRUE(torture.saveOld());
    // Room for nothing, for one byte, and for all but the last byte.
    for (rlim_t room : {rlim_t(0), rlim_t(1), rlim_t(239)})
        torture.saveWithRoomFor(room);

    // A first save that does not fit leaves no file at all.
    const QString fresh = dir.filePath("neu/NAMEN.DAT");
    ASSERT_TRUE(QDir(dir.path()).mkdir("neu"));
    ChildProcess child([&](const std::function<void()> &) { return writeNamesFile(names("Alt"), fresh) ? 0 : 1; },
                       ChildLimits{100, std::nullopt});
    EXPECT_EQ(child.waitExit(10s), 1);
    EXPECT_TRUE(folderEntries(dir.filePath("neu")).isEmpty());
}

TEST(NamesFileCrashSafe, ReadOnlyVanishedOrTakenPlaceFailsAndLosesNothing)
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
    EXPECT_EQ(folderEntries(readOnly), QStringList{"NAMEN.DAT"});

    // The folder chosen in the dialog was removed before the save.
    const QString gone = dir.filePath("entfernt");
    ASSERT_TRUE(QDir().mkdir(gone));
    ASSERT_TRUE(QDir(gone).removeRecursively());
    EXPECT_FALSE(writeNamesFile(oldNames, gone + "/NAMEN.DAT"));
    EXPECT_FALSE(QFileInfo::exists(gone));

    // A folder in the file's place keeps what it holds.
    const QString folder = dir.filePath("ordner/NAMEN.DAT");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(writeBytes(folder + "/inhalt", "x"));
    QString error;
    EXPECT_FALSE(writeNamesFile(oldNames, folder, &error));
    EXPECT_EQ(error, "Die Datei NAMEN.DAT kann nicht angelegt werden:\nUnter diesem Namen ist ein Ordner vorhanden.");
    EXPECT_EQ(folderEntries(folder), QStringList{"inhalt"});
    EXPECT_EQ(readBytes(folder + "/inhalt"), "x");
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
    EXPECT_EQ(folderEntries(dir.filePath("anlage")), QStringList{"namen.bin"});
    for (const QString &name : others)
        EXPECT_EQ(readBytes(dir.filePath(name)), "x") << name.toStdString();
}

}  // namespace

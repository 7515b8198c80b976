#include "data/namesfile.h"
#include "data/textfield.h"
#include "tempdir.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

InstallationData named()
{
    InstallationData d;
    for (int g = 0; g < kGroupCount; ++g)
        TextToField10(QString("Gruppe %1").arg(g + 1), d.GroupNames[g]);
    TextToField10("K5 Süd", d.GroupNames[4]);
    return d;
}

TEST(NamesFile, RoundTripKeepsEveryByte)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("NAMEN.DAT");
    const InstallationData written = named();
    ASSERT_TRUE(writeNamesFile(written, path));
    const QByteArray bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 240);
    EXPECT_EQ(bytes.mid(40, 10), QByteArray("K5 S\xfc" "d    "));

    InstallationData read;
    EXPECT_TRUE(readNamesFile(read, path));
    EXPECT_EQ(read.GroupNames, written.GroupNames);
    EXPECT_EQ(GroupNameText(read, 4), "K5 Süd");
    EXPECT_EQ(GroupNameText(read, 23), "Gruppe 24");
}

TEST(NamesFile, WrongSizeOrMissingBlanksAllNames)
{
    QTemporaryDir dir;
    for (const QByteArray &content : {QByteArray(239, 'x'), QByteArray(241, 'x'), QByteArray()}) {
        writeBytes(dir.filePath("NAMEN.DAT"), content);
        InstallationData d = named();
        EXPECT_FALSE(readNamesFile(d, dir.filePath("NAMEN.DAT"))) << content.size();
        for (int g = 0; g < kGroupCount; ++g)
            EXPECT_EQ(GroupNameText(d, g), "");
    }
    InstallationData d = named();
    EXPECT_FALSE(readNamesFile(d, dir.filePath("KEINE.DAT")));
    EXPECT_EQ(QByteArray(d.GroupNames[0].data(), 10), QByteArray(10, ' '));
}

TEST(NamesFile, FailedWriteLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("NAMEN.DAT");
    const QByteArray old(240, 'a');
    ASSERT_TRUE(writeBytes(path, old));

    // A file size limit below 240 bytes makes the write fail even for root.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = writeNamesFile(named(), path);
    setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"NAMEN.DAT"});

    EXPECT_FALSE(writeNamesFile(named(), dir.filePath("fehlt/NAMEN.DAT")));
}

TEST(TextField, TrailingBlanksAndFieldWidth)
{
    GroupName field;
    TextToField10("A", field);
    EXPECT_EQ(QByteArray(field.data(), 10), QByteArray("A         "));
    TextToField10("Linksabbg.", field);
    EXPECT_EQ(QByteArray(field.data(), 10), QByteArray("Linksabbg."));
    TextToField10("Linksabbieger", field);
    EXPECT_EQ(QByteArray(field.data(), 10), QByteArray("Linksabbie"));

    TextField32 location;
    textToField(" Schulweg", location);
    EXPECT_EQ(fieldText(location), " Schulweg");

    InstallationData d;
    d.GroupNames[0] = {'A', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
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

TEST(NamesFile, AFolderNamedNamenDatIsNeitherReadNorReplaced)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("NAMEN.DAT");
    ASSERT_TRUE(QDir().mkdir(path));
    ASSERT_TRUE(writeBytes(path + "/inhalt", "x"));
    InstallationData d = named();
    EXPECT_FALSE(readNamesFile(d, path));
    EXPECT_EQ(GroupNameText(d, 0), "");
    EXPECT_FALSE(writeNamesFile(named(), path));
    EXPECT_EQ(readBytes(path + "/inhalt"), "x");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"NAMEN.DAT"});
}

}  // namespace

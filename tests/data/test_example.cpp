#include "data/datasetloader.h"
#include "data/textfield.h"
#include "tempdir.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kExampleDir = QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/Hauptstrasse-Schulweg");
const QString kDescription =
    QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/description/hauptstrasse-schulweg.txt");

int runMaker(const QStringList &args, QString *errorOutput = nullptr)
{
    QProcess maker;
    maker.start(QStringLiteral(SIGNOVAT_EXAMPLEMAKER), args);
    if (!maker.waitForFinished(30000))
        return -1;
    if (errorOutput)
        *errorOutput = QString::fromUtf8(maker.readAllStandardError());
    return maker.exitStatus() == QProcess::NormalExit ? maker.exitCode() : -1;
}

TEST(Example, LoadsCompletelyWithItsValues)
{
    InstallationData d;
    const QStringList report = loadDataSet(d, kExampleDir, ResetRules{true, 0});
    EXPECT_TRUE(report.filter("Standardwerte").isEmpty()) << report.join('\n').toStdString();

    EXPECT_EQ(d.Header.GroupCount, 8u);
    EXPECT_EQ(fieldText(d.Header.Customer), "Stadt Musterstadt – Tiefbauamt");
    EXPECT_EQ(d.Header.ProgramReleased, (std::array<uint8_t, 6>{1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(d.Header.EmergencyProgram, 8u);

    EXPECT_EQ(d.Programs[0].CycleTime, 70u);
    EXPECT_EQ(d.Programs[1].CycleTime, 90u);
    EXPECT_EQ(d.Programs[0].GreenFrom1[2], 32);
    EXPECT_EQ(d.Programs[0].YellowFrom1[2], 38);
    EXPECT_EQ(d.Programs[1].FlashTo1[7], 80);
    EXPECT_EQ(d.Programs[1].WaitPoint[3], 60);
    EXPECT_EQ(d.Programs[0].RedMonitoring[7], 1);  // not described: the default

    EXPECT_EQ(GroupNameText(d, 4), "K5 Süd");
    EXPECT_EQ(GroupNameText(d, 7), "B1 Blink");
    EXPECT_EQ(GroupNameText(d, 8), "");

    EXPECT_EQ(d.SwitchOnSteps[3 * 1 + 2].Duration, 2u);
    EXPECT_EQ(d.SwitchOnSteps[3 * 1 + 2].SetC[0], 1);
    EXPECT_EQ(d.SwitchOffTargetedSteps[0].SetB[0], 1);
    EXPECT_EQ(d.SwitchOffFaultSteps[3].Duration, 3u);
    EXPECT_EQ(d.Carried.GrMinTable[0][0], 5);
}

TEST(Example, FolderIsWhatTheMakerMakesFromTheDescription)
{
    QTemporaryDir out;
    ASSERT_EQ(runMaker({kDescription, out.path()}), 0);
    const QStringList made = QDir(out.path()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(made, QDir(kExampleDir).entryList(QDir::Files, QDir::Name));
    EXPECT_EQ(made.size(), 20);
    for (const QString &name : made)
        EXPECT_EQ(readBytes(out.filePath(name)), readBytes(QDir(kExampleDir).filePath(name)))
            << name.toStdString() << " is out of date: regenerate the example";
}

TEST(Example, MakerRejectsABadDescriptionAndWritesNothing)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("out");
    const std::pair<QByteArray, const char *> cases[] = {
        {"[Header]\nGroupCount = 8\nGroupCont = 8\n", "line 3: unknown key GroupCont"},
        {"[Program 7]\n", "line 1: program number must be 1 to 6"},
        {"[Program 1]\nCycleTime = 70 5\n", "line 2: too many values for CycleTime"},
        {"[Program 1]\nFaultFlash = 1 256\n", "line 2: bad value 256 for FaultFlash"},
        {"[GroupNames]\n1 = Linksabbieger\n", "line 2: name does not fit"},
    };
    for (const auto &[text, message] : cases) {
        const QString description = dir.filePath("bad.txt");
        writeBytes(description, text);
        QString error;
        EXPECT_EQ(runMaker({description, target}, &error), 1) << message;
        EXPECT_TRUE(error.contains(QLatin1String(message))) << error.toStdString();
        EXPECT_FALSE(QDir(target).exists());
    }
}

}  // namespace

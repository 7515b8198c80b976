// End-to-end runs of "signovat states" and "signovat render".

#include "data/textfield.h"
#include "datasetwriter.h"
#include "tempdir.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct ProcessResult {
    int exitCode = -1;
    QString out, err;
};

ProcessResult run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

ProcessResult signovat(const QStringList &args)
{
    return run(QStringLiteral(SIGNOVAT_BINARY), args);
}

const QString kExample = QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/Hauptstrasse-Schulweg");

// A three-group fixed-time data set. Program 1: cycle 12; group 1 green 2-6
// with red+yellow 1 and yellow 2, group 2 green 8-2 over the cycle end, group
// 3 without green. Its switch-on program: 2 s (1 red, 2 yellow), 1 s all
// green, 0 s. Program 2 is released but 2000 s long; program 3 is not released.
void writeDataSet(const QString &dir, bool fixedTime = true)
{
    QByteArray all(123, '\0');
    putLe32(all, 0, 3);
    all[103] = fixedTime ? 1 : 0;
    all[113] = 1;
    all[114] = 1;
    ASSERT_TRUE(writeBytes(dir + QStringLiteral("/ALL.DAT"), all));

    QByteArray prog(17490, '\0');
    putLe32(prog, 4, 12);
    const int greenFrom1 = 59, greenTo1 = 251, redYellow = 731, yellow = 827;
    putLe32(prog, greenFrom1 + 0, 2);
    putLe32(prog, greenTo1 + 0, 6);
    putLe32(prog, redYellow + 0, 1);
    putLe32(prog, yellow + 0, 2);
    putLe32(prog, greenFrom1 + 4, 8);
    putLe32(prog, greenTo1 + 4, 2);
    putLe32(prog, 2915 + 4, 2000);
    ASSERT_TRUE(writeBytes(dir + QStringLiteral("/PROG.DAT"), prog));

    QByteArray ein(1368, '\0');
    putLe32(ein, 0, 2);
    ein[4 + 0] = 1;   // step 1, set A, group 1
    ein[28 + 1] = 1;  // step 1, set B, group 2
    putLe32(ein, 76, 1);
    for (int g = 0; g < 3; ++g)
        ein[76 + 52 + g] = 1;  // step 2, set C
    ASSERT_TRUE(writeBytes(dir + QStringLiteral("/EIN.DAT"), ein));
}

// Lines the command wrote itself (the platform may add its own warnings).
int ownLines(const QString &err)
{
    return int(err.split(QLatin1Char('\n')).filter(QRegularExpression(QStringLiteral("^signovat "))).size());
}

bool hasRed(const QImage &image)
{
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            if (image.pixelColor(x, y) == QColor(255, 0, 0))
                return true;
    return false;
}
}  // namespace

TEST(StatesCommand, PrintsEverySecondOfTheChart)
{
    QTemporaryDir dir;
    writeDataSet(dir.path());
    ProcessResult r = signovat({QStringLiteral("states"), QStringLiteral("--data"), dir.path(), QStringLiteral("--program"),
                      QStringLiteral("1")});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, QStringLiteral("second,1,2,3\n"
                                    "0,1,2,0\n1,3,2,0\n2,2,1,0\n3,2,1,0\n4,2,1,0\n5,2,1,0\n"
                                    "6,4,1,0\n7,4,1,0\n8,1,2,0\n9,1,2,0\n10,1,2,0\n11,1,2,0\n"));

    r = signovat({QStringLiteral("states"), QStringLiteral("--data"), dir.path(), QStringLiteral("--program"),
                  QStringLiteral("1"), QStringLiteral("--chart"), QStringLiteral("ein")});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, QStringLiteral("second,1,2,3\n0,1,4,0\n1,1,4,0\n2,2,2,2\n"));
}

TEST(StatesCommand, RefusesWithOneLine)
{
    QTemporaryDir dir;
    writeDataSet(dir.path());
    QTemporaryDir variable;
    writeDataSet(variable.path(), false);
    const auto refused = [](const QStringList &args, const QString &reason) {
        const ProcessResult r = signovat(QStringList{QStringLiteral("states")} + args);
        EXPECT_EQ(r.exitCode, 1) << qPrintable(args.join(' '));
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(ownLines(r.err), 1) << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(reason)) << qPrintable(r.err);
    };
    const QString d = QStringLiteral("--data"), p = QStringLiteral("--program");
    refused({d, dir.filePath(QStringLiteral("missing")), p, QStringLiteral("1")}, QStringLiteral("nicht gefunden"));
    refused({d, dir.path(), p, QStringLiteral("7")}, QStringLiteral("Programm 7"));
    refused({d, dir.path(), p, QStringLiteral("3")}, QStringLiteral("nicht freigegeben"));
    refused({d, dir.path(), p, QStringLiteral("2")}, QStringLiteral("1200 Sekunden"));
    refused({d, variable.path(), p, QStringLiteral("1")}, QStringLiteral("Es kann nur ein Sollausdruck"));
}

TEST(RenderCommand, PdfOfTheExampleIsThePrintedPlan)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("plan.pdf"));
    const ProcessResult r = signovat({QStringLiteral("render"), QStringLiteral("--data"), kExample, QStringLiteral("--program"),
                            QStringLiteral("1"), QStringLiteral("--out"), pdf});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);

    const ProcessResult info = run(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.out.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n")))) << qPrintable(info.out);
    EXPECT_TRUE(info.out.contains(QStringLiteral("landscape")) || info.out.contains(QStringLiteral("842 x 595")));
    const ProcessResult text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.out.contains(QStringLiteral("Torvemark Signaltechnik GmbH")));
    EXPECT_TRUE(text.out.contains(QStringLiteral("Standort:")));
    EXPECT_TRUE(text.out.contains(QStringLiteral("Seite 1 von 2 Seiten (Sollplan), Hauptstrasse-Schulweg")));
    EXPECT_TRUE(text.out.contains(QStringLiteral("Seite 2 von 2 Seiten (Sollplan), Hauptstrasse-Schulweg (P1)")));
}

TEST(RenderCommand, PngPagesAtThePreviewWidth)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("plan"));
    ProcessResult r = signovat({QStringLiteral("render"), QStringLiteral("--data"), kExample, QStringLiteral("--program"),
                      QStringLiteral("1"), QStringLiteral("--out"), base + QStringLiteral(".png")});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    const QImage first(base + QStringLiteral("-1.png"));
    EXPECT_EQ(first.size(), QSize(771, 1000));
    EXPECT_TRUE(hasRed(QImage(base + QStringLiteral("-2.png"))));
    EXPECT_FALSE(QFile::exists(base + QStringLiteral("-3.png")));

    r = signovat({QStringLiteral("render"), QStringLiteral("--data"), kExample, QStringLiteral("--program"),
                  QStringLiteral("1"), QStringLiteral("--out"), base + QStringLiteral("w.png"), QStringLiteral("--pages"),
                  QStringLiteral("2"), QStringLiteral("--width"), QStringLiteral("1200"), QStringLiteral("--bw")});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    const QImage wide(base + QStringLiteral("w-2.png"));
    EXPECT_EQ(wide.width(), 1200);
    EXPECT_FALSE(hasRed(wide));
    EXPECT_FALSE(QFile::exists(base + QStringLiteral("w-1.png")));
}

TEST(RenderCommand, PaperColourFollowsTheSettingUnlessTold)
{
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("settings.ini"));
    ASSERT_TRUE(writeBytes(settings, "[SecInt]\nVERSION=210\nIST_FARBE=0\n"));
    const auto renderPage2 = [&](const QStringList &extra) {
        const QString pdf = dir.filePath(QStringLiteral("p.pdf"));
        QFile::remove(pdf);
        const ProcessResult r = signovat(QStringList{QStringLiteral("--settings"), settings, QStringLiteral("render"),
                                           QStringLiteral("--data"), kExample, QStringLiteral("--program"),
                                           QStringLiteral("1"), QStringLiteral("--out"), pdf,
                                           QStringLiteral("--pages"), QStringLiteral("2")} +
                               extra);
        EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
        run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-png"),
                                         QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("p"))});
        return QImage(dir.filePath(QStringLiteral("p.png")));
    };
    EXPECT_FALSE(hasRed(renderPage2({})));
    EXPECT_TRUE(hasRed(renderPage2({QStringLiteral("--colour")})));
}

TEST(RenderCommand, RefusalsLeaveNoFile)
{
    QTemporaryDir dir;
    writeDataSet(dir.path());
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    const auto refused = [&](const QStringList &extra, const QString &reason) {
        const ProcessResult r = signovat(QStringList{QStringLiteral("render"), QStringLiteral("--data"), dir.path(),
                                           QStringLiteral("--out"), pdf} +
                               extra);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(ownLines(r.err), 1) << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(reason)) << qPrintable(r.err);
        EXPECT_FALSE(QFile::exists(pdf));
    };
    const QString p = QStringLiteral("--program");
    refused({p, QStringLiteral("1"), QStringLiteral("--pages"), QStringLiteral("3")}, QStringLiteral("Seite 3"));

    const ProcessResult r = signovat({QStringLiteral("render"), QStringLiteral("--data"), dir.path(), p, QStringLiteral("1"),
                            QStringLiteral("--out"), pdf, QStringLiteral("--pages"), QStringLiteral("1,2")});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_TRUE(QFile::exists(pdf));
}

// Type -1 (0xFFFFFFFF in KONF.DAT) is a KVX: its chart has all 24 group rows,
// and info says so.
TEST(RenderCommand, TypeMinusOneShowsTwentyFourGroupRows)
{
    InstallationData d;
    d.Konf.InstallationType = 0xFFFFFFFF;
    d.Header.GroupCount = kGroupCount;
    d.Header.FixedTimeMode = 1;
    d.Header.ProgramReleased[0] = 1;
    d.Programs[0].CycleTime = 10;
    TextToField10(QStringLiteral("Ost 24"), d.GroupNames[23]);
    QTemporaryDir data, out;
    QString error;
    ASSERT_TRUE(writeDataSet(d, data.path(), error)) << qPrintable(error);

    EXPECT_TRUE(signovat({"info", "--data", data.path()}).out.contains("Gruppenzeilen im Plan: 24\n"));
    const QString pdf = out.filePath(QStringLiteral("plan.pdf"));
    const ProcessResult r = signovat({"render", "--data", data.path(), "--program", "1", "--out", pdf, "--pages", "2"});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}).out;
    EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("Gruppe +\\d+"))), 24) << qPrintable(text);
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Gruppe +24, +Ost 24")))) << qPrintable(text);
}

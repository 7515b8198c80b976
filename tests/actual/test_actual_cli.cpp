// End to end over pseudo-terminals: capture the emulator's printout, render it, list its states.

#include "preview/pdfpages.h"
#include "serial/ptypair.h"
#include "streamlines.h"
#include "tempdir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString kNames = QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/Hauptstrasse-Schulweg/NAMEN.DAT");
constexpr int kProcessTimeoutMs = 60000;

QStringList words(const char *text) { return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts); }

struct Result {
    int exitCode = -1;
    QString out, err;
};

Result finish(QProcess &p, int timeoutMs = kProcessTimeoutMs)
{
    if (!p.waitForFinished(timeoutMs))
        p.kill();
    p.waitForFinished();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

Result signovat(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(SIGNOVAT_BINARY), args);
    return finish(p);
}

// Ctrl-C (SIGTERM) to a running process, then its result.
Result interrupt(QProcess &p, int timeoutMs = kProcessTimeoutMs)
{
    p.terminate();
    return finish(p, timeoutMs);
}

// Waits until the process has written needle to stderr (kept in *seen).
bool waitForStderr(QProcess &p, const QString &needle, QString *seen)
{
    QElapsedTimer clock;
    clock.start();
    while (!seen->contains(needle)) {
        if (clock.elapsed() > kProcessTimeoutMs || p.state() == QProcess::NotRunning)
            return false;
        p.waitForReadyRead(200);
        *seen += QString::fromUtf8(p.readAllStandardError());
    }
    return true;
}

// Starts the capture command and waits until it waits for data (its stderr so far in *seen).
bool startCapture(QProcess &p, const QStringList &args, QString *seen)
{
    seen->clear();
    p.start(QStringLiteral(SIGNOVAT_BINARY), QStringList{"capture"} + args);
    return waitForStderr(p, QStringLiteral("warte auf "), seen);
}

// The emulator, its log and the test's files in one folder, a pty pair to reach it by.
struct Emulator {
    QTemporaryDir dir;
    PtyPair link;
    QProcess process;
    QString printer;  // the device it prints on, once started by startKvx
    ~Emulator() { interrupt(process, 3000); }
    QString file(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    QString log() const { return QString::fromUtf8(readBytes(file("emulator.log"))); }
    void start(const QStringList &args)
    {
        process.start(QStringLiteral(SIGNOVAT_EMULATOR), args + QStringList{QStringLiteral("--log"), file("emulator.log")});
    }
    // The KVX transcript over the link, printed on a pseudo-terminal it names in its log.
    ::testing::AssertionResult startKvx(const char *options)
    {
        if (!link.ok())
            return ::testing::AssertionFailure() << link.error().toStdString();
        start(words(options) + QStringList{"--printer-pty", "--device", link.first(), "--transcript",
                                           transcriptPath(kKvxTranscript)});
        static const QRegularExpression device(QStringLiteral("printer stream on (\\S+)"));
        QElapsedTimer clock;
        for (clock.start(); printer.isEmpty() && clock.elapsed() < 10000; QThread::msleep(10))
            printer = device.match(log()).captured(1);
        return printer.isEmpty() ? ::testing::AssertionFailure() << log().toStdString() : ::testing::AssertionSuccess();
    }
    // The capture's arguments for its ports, once started by startKvx.
    QStringList ports() const { return {"--port", printer, "--controller-port", link.second()}; }
};

int rowsIn(const QString &dri)
{
    return int((QFileInfo(dri).size() - 3341) / 124);
}

// A KVX 40 asked to print over its link; the capture ends when the next printout begins.
TEST(CaptureCommand, KvxRunFromTheEmulatorPrintsAsPdf)
{
    Emulator emulator;
    ASSERT_TRUE(emulator.startKvx("--baud 57600 --line-ms 5 --repeat"));
    const QString run = emulator.file("run.DRI");
    const Result capture =
        signovat(words("capture --mode kvx40-1200") + emulator.ports() + QStringList{"--names", kNames, "--out", run});
    ASSERT_EQ(capture.exitCode, 0) << capture.err.toStdString();
    EXPECT_TRUE(capture.err.contains(QStringLiteral("Kopf empfangen, Programm SCHULW01")));
    EXPECT_TRUE(capture.err.contains(QStringLiteral("250 s empfangen, Programm 2")));
    EXPECT_EQ(rowsIn(run), 250);
    EXPECT_TRUE(emulator.log().contains(QStringLiteral("print command 2 0 0")));  // started by the capture's request

    const QString pdf = emulator.file("run.pdf");
    const Result render = signovat({"render", "--run", run, "--out", pdf});
    ASSERT_EQ(render.exitCode, 0) << render.err.toStdString();
    const QString pages = pdfText(pdf);
    for (const char *expected : {"Seite 1 von 4 Seiten (Ist-Druck, Datei run.DRI), SCHULW01", "Seite 4 von 4", "K1 West", "->P2"})
        EXPECT_TRUE(pages.contains(QString::fromUtf8(expected))) << expected;

    const Result states = signovat({"states", "--run", run});
    ASSERT_EQ(states.exitCode, 0) << states.err.toStdString();
    const QStringList lines = states.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 251);
    EXPECT_EQ(QStringList({lines[0], lines[15]}), QStringList({"second,program,1,2,3,4,5,6,7,8", "14,1,*2,2,1,1,1,1,2,0"}));
    EXPECT_TRUE(lines[141].startsWith(QStringLiteral("140,2,")));
}

// Without port options: COM_NR_2 and COM_NR of the settings, as their [Ports] devices.
TEST(CaptureCommand, PortsComeFromTheSettings)
{
    Emulator emulator;
    ASSERT_TRUE(emulator.startKvx("--kvx --line-ms 5"));
    const QString settings = emulator.file("signovat.ini"), run = emulator.file("run.DRI");
    ASSERT_TRUE(writeBytes(settings, QStringLiteral("[SecInt]\nVERSION=210\nCOM_NR=2\nCOM_NR_2=6\n\n[Ports]\nCOM3=%1\nCOM7=%2\n")
                                         .arg(emulator.link.second(), emulator.printer)
                                         .toUtf8()));
    const Result r = signovat(QStringList{"--settings", settings} + words("capture --mode kvx --minutes 1 --out") << run);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(rowsIn(run), 60);
    // Asked to print over COM3, and to stop after the minute asked for.
    EXPECT_TRUE(emulator.log().contains("print command 2 0 0") && emulator.log().contains("print command 3 0 0"));
}

// A printout already running when the capture starts is refused and nothing written.
TEST(CaptureCommand, APrintoutWhoseHeaderWasMissedIsRefused)
{
    Emulator emulator;
    ASSERT_TRUE(emulator.startKvx("--kvx --line-ms 20 --fault-at 20 --fault missed-header"));
    const QString run = emulator.file("run.DRI");
    const Result r = signovat(words("capture --mode kvx") + emulator.ports() + QStringList{"--out", run});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(run));
    EXPECT_TRUE(r.err.contains(QStringLiteral("noch ein Druckvorgang aktiv"))) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("Es werden keine Daten")));  // said once, for what it is
}

// Ctrl-C ends a capture saving the seconds so far, or nothing without any.
TEST(CaptureCommand, InterruptSavesWhatCameAndNothingWhenNothingCame)
{
    Emulator emulator;  // started once the capture waits
    const QString silent = emulator.file("leer.DRI"), run = emulator.file("teil.DRI");
    QProcess capture;
    QString err;
    ASSERT_TRUE(startCapture(capture, {"--sim", "--sim-dir", emulator.dir.path(), "--out", silent}, &err));
    EXPECT_TRUE(err.contains(QStringLiteral("warte auf Dateien in ") + emulator.dir.path()));
    Result r = interrupt(capture);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("abgebrochen") && r.err.contains("keine Daten zum Drucken empfangen")) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(silent));

    ASSERT_TRUE(emulator.link.ok()) << emulator.link.error().toStdString();
    ASSERT_TRUE(startCapture(capture, {"--mode", "qsw", "--port", emulator.link.first(), "--out", run}, &err));
    emulator.start({"--line-ms", "20", "--transcript", transcriptPath(kQswTranscript), "--printer-device",
                    emulator.link.second()});
    ASSERT_TRUE(waitForStderr(capture, QStringLiteral("10 s empfangen"), &err)) << err.toStdString();
    r = interrupt(capture);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(rowsIn(run) >= 10 && rowsIn(run) < 150) << rowsIn(run);
}

TEST(CaptureCommand, BadArgumentsAreRefusedInOneLine)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("x.DRI"));
    const QString bad = dir.filePath(QStringLiteral("kaputt.DRI"));
    ASSERT_TRUE(writeBytes(bad, QByteArray(10, 'x')));
    const QList<QStringList> cases = {
        words("capture --mode qsw --port /dev/gibt-es-nicht --out") << out,
        words("capture --mode qsw --port /dev/null --out") << dir.filePath("fehlt/x.DRI"),
        words("capture --sim --sim-dir") << dir.filePath("fehlt") << "--out" << out,
        QStringList{"render", "--run", bad, "--out", dir.filePath(QStringLiteral("x.pdf"))},
        QStringList{"states", "--run", bad},
    };
    for (const QStringList &args : cases) {
        const Result r = signovat(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        const QStringList own = r.err.split(QLatin1Char('\n')).filter(QRegularExpression(QStringLiteral("^signovat ")));
        EXPECT_EQ(own.size(), 1) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"kaputt.DRI"}));
}

}  // namespace

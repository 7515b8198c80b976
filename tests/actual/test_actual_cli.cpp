// End to end: the emulator prints a transcript onto a pseudo-terminal,
// "signovat capture" records it into a .DRI, "signovat render" and "signovat
// states" read it back. Also the emulator's line faults, Ctrl-C, the
// simulation folder and bad arguments.

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

// "a b c" as arguments (for the parts without paths).
QStringList words(const char *text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

struct Result {
    int exitCode = -1;
    QString out, err;
};

Result finish(QProcess &p)
{
    if (!p.waitForFinished(kProcessTimeoutMs))
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

// The emulator, logging into a file the test reads.
class Emulator {
public:
    explicit Emulator(const QString &logPath) : log_(logPath) {}
    ~Emulator()
    {
        process_.terminate();
        if (!process_.waitForFinished(3000))
            process_.kill();
        process_.waitForFinished();
    }

    void start(const QStringList &args)
    {
        process_.start(QStringLiteral(SIGNOVAT_EMULATOR), args + QStringList{QStringLiteral("--log"), log_});
    }
    QString log() const { return QString::fromUtf8(readBytes(log_)); }

    // The device it prints on, once it has said so.
    QString printerDevice() const
    {
        static const QRegularExpression device(QStringLiteral("printer stream on (\\S+)"));
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 10000) {
            const QRegularExpressionMatch m = device.match(log());
            if (m.hasMatch())
                return m.captured(1);
            QThread::msleep(10);
        }
        return {};
    }

private:
    QString log_;
    QProcess process_;
};

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    return finish(p).out;
}

int pdfPages(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(finish(p).out);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

int rowsIn(const QString &dri)
{
    return int((QFileInfo(dri).size() - 3341) / 124);
}

TEST(CaptureCommand, KvxRunFromTheEmulatorPrintsAsPdf)
{
    PtyPair link;
    ASSERT_TRUE(link.ok()) << link.error().toStdString();
    QTemporaryDir dir;
    Emulator emulator(dir.filePath(QStringLiteral("emulator.log")));
    emulator.start(words("--baud 57600 --printer-pty --line-ms 5") + QStringList{"--device", link.first(), "--transcript", transcriptPath(kKvxTranscript)});
    const QString printer = emulator.printerDevice();
    ASSERT_FALSE(printer.isEmpty()) << emulator.log().toStdString();

    const QString run = dir.filePath(QStringLiteral("run.DRI"));
    const Result capture = signovat(words("capture --mode kvx40-1200 --minutes 3")
                                    + QStringList{"--port", printer, "--controller-port", link.second(), "--names",
                                                  kNames, "--out", run});
    ASSERT_EQ(capture.exitCode, 0) << capture.err.toStdString();
    EXPECT_TRUE(capture.err.contains(QStringLiteral("Kopf empfangen, Programm SCHULW01")));
    EXPECT_TRUE(capture.err.contains(QStringLiteral("180 s empfangen, Programm 2")));
    EXPECT_EQ(QFileInfo(run).size(), 3341 + 180 * 124);
    // Started by the capture's request, stopped after three minutes.
    EXPECT_TRUE(emulator.log().contains(QStringLiteral("print command 2 0 0")));
    EXPECT_TRUE(emulator.log().contains(QStringLiteral("print command 3 0 0")));

    const QString pdf = dir.filePath(QStringLiteral("run.pdf"));
    const Result render = signovat({"render", "--run", run, "--out", pdf});
    ASSERT_EQ(render.exitCode, 0) << render.err.toStdString();
    EXPECT_EQ(pdfPages(pdf), 3);
    const QString text = pdfText(pdf);
    for (const char *expected :
         {"Seite 1 von 3 Seiten (Ist-Druck, Datei run.DRI), SCHULW01", "Seite 3 von 3 Seiten (Ist-Druck, Datei run.DRI)",
          "Version Steuerung: 6.30", "Druckdatum: 14.03.24 09:15", "Hauptstrasse / Schulweg",
          "Stadt Musterstadt - Tiefbauamt", "K1 West", "->P2"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;

    const Result states = signovat({"states", "--run", run});
    ASSERT_EQ(states.exitCode, 0) << states.err.toStdString();
    const QStringList lines = states.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 181);
    EXPECT_EQ(lines[0], "second,program,1,2,3,4,5,6,7,8");
    EXPECT_EQ(lines[6], "5,1,2,2,1,1,1,1,1,0");
    EXPECT_EQ(lines[15], "14,1,*2,2,1,1,1,1,2,0");
    EXPECT_TRUE(lines[141].startsWith(QStringLiteral("140,2,")));
}

TEST(CaptureCommand, QswRunEndsWhenTheNextPrintoutBegins)
{
    PtyPair line;
    ASSERT_TRUE(line.ok()) << line.error().toStdString();
    QTemporaryDir dir;
    const QString run = dir.filePath(QStringLiteral("qsw.DRI"));
    QProcess capture;
    capture.start(QStringLiteral(SIGNOVAT_BINARY), {"capture", "--mode", "qsw", "--port", line.first(), "--out", run});
    QString err;
    ASSERT_TRUE(waitForStderr(capture, QStringLiteral("warte auf Daten"), &err)) << err.toStdString();

    Emulator emulator(dir.filePath(QStringLiteral("emulator.log")));
    emulator.start(words("--start now --line-ms 5 --repeat")
                   + QStringList{"--transcript", transcriptPath(kQswTranscript), "--printer-device", line.second()});
    const Result result = finish(capture);
    ASSERT_EQ(result.exitCode, 0) << (err + result.err).toStdString();
    EXPECT_EQ(rowsIn(run), 150);
    const QByteArray bytes = readBytes(run);
    EXPECT_EQ(bytes[100], 0);  // the header ended with " V.>Max"
    EXPECT_EQ(bytes[421 + 1860], 1);  // V.>Max of group 1
    EXPECT_EQ(bytes.mid(372, 10), "QSW 2000  ");

    const Result states = signovat({"states", "--run", run});
    const QStringList lines = states.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 151);
    EXPECT_EQ(lines[0], "second,program,1,2,3,4,5,6");
    EXPECT_EQ(lines[31], "30,3,4,1,*1,1,1,5");
}

TEST(CaptureCommand, LineFaultsOfTheEmulator)
{
    const struct {
        const char *fault;
        const char *extra;  // --minutes for the runs that go on
        int exitCode;
        int rows;  // at most, for the vanishing port: what was on its way is lost with it
        const char *message;
    } cases[] = {
        {"vanish", nullptr, 0, 19, "Die Verbindung zur Druckerschnittstelle ist unterbrochen !"},
        {"missed-header", nullptr, 1, -1, "Es ist noch ein Druckvorgang aktiv! Dieser muss zuerst beendet werden."},
        {"garbage", "1", 0, 60, nullptr},
        {"cut-line", "1", 0, 60, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.fault);
        PtyPair link;
        ASSERT_TRUE(link.ok()) << link.error().toStdString();
        QTemporaryDir dir;
        Emulator emulator(dir.filePath(QStringLiteral("emulator.log")));
        emulator.start(words("--kvx --printer-pty --line-ms 20 --fault-at 20")
                       + QStringList{"--fault", c.fault, "--device", link.first(), "--transcript",
                                     transcriptPath(kKvxTranscript)});
        const QString printer = emulator.printerDevice();
        ASSERT_FALSE(printer.isEmpty());
        const QString run = dir.filePath(QStringLiteral("run.DRI"));
        QStringList args = {"capture", "--mode", "kvx", "--port", printer, "--controller-port", link.second(), "--out", run};
        if (c.extra)
            args << "--minutes" << c.extra;
        const Result r = signovat(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        if (c.rows < 0) {
            EXPECT_FALSE(QFileInfo::exists(run));
        } else if (c.extra) {
            EXPECT_EQ(rowsIn(run), c.rows);
        } else {
            EXPECT_GE(rowsIn(run), 1);
            EXPECT_LE(rowsIn(run), c.rows);
        }
        if (c.message) {
            EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        }
        EXPECT_FALSE(r.err.contains(QStringLiteral("Es werden keine Daten")));
    }
}

TEST(CaptureCommand, InterruptSavesWhatCameAndNothingWhenNothingCame)
{
    PtyPair line;
    ASSERT_TRUE(line.ok()) << line.error().toStdString();
    QTemporaryDir dir;
    const QString silent = dir.filePath(QStringLiteral("leer.DRI"));
    QProcess capture;
    capture.start(QStringLiteral(SIGNOVAT_BINARY), {"capture", "--mode", "qsw", "--port", line.first(), "--out", silent});
    QString err;
    ASSERT_TRUE(waitForStderr(capture, QStringLiteral("warte auf Daten"), &err));
    capture.terminate();
    Result r = finish(capture);
    EXPECT_EQ(r.exitCode, 1);
    err += r.err;
    EXPECT_TRUE(err.contains(QStringLiteral("abgebrochen")));
    EXPECT_TRUE(err.contains(QStringLiteral(
        "Es werden keine Daten zum Drucken empfangen ! Bitte Verbindung und Baudrateneinstellung prüfen !")));
    EXPECT_FALSE(QFileInfo::exists(silent));

    const QString run = dir.filePath(QStringLiteral("teil.DRI"));
    capture.start(QStringLiteral(SIGNOVAT_BINARY), {"capture", "--mode", "qsw", "--port", line.first(), "--out", run});
    err.clear();
    ASSERT_TRUE(waitForStderr(capture, QStringLiteral("warte auf Daten"), &err));
    Emulator emulator(dir.filePath(QStringLiteral("emulator.log")));
    emulator.start({"--line-ms", "20", "--transcript", transcriptPath(kQswTranscript), "--printer-device", line.second()});
    ASSERT_TRUE(waitForStderr(capture, QStringLiteral("10 s empfangen"), &err)) << err.toStdString();
    capture.terminate();
    r = finish(capture);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_GE(rowsIn(run), 10);
    EXPECT_LT(rowsIn(run), 150);
}

TEST(CaptureCommand, SimulationFolder)
{
    QTemporaryDir dir;
    const QString sim = dir.filePath(QStringLiteral("velkinor"));
    ASSERT_TRUE(QDir().mkdir(sim));
    const QString run = dir.filePath(QStringLiteral("sim.DRI"));
    QProcess capture;
    capture.start(QStringLiteral(SIGNOVAT_BINARY), {"capture", "--sim", "--sim-dir", sim, "--out", run});
    QString err;
    ASSERT_TRUE(waitForStderr(capture, QStringLiteral("warte auf Dateien"), &err));

    // Files stamped after the capture began, the header first.
    const QDateTime now = QDateTime::currentDateTime();
    // Each file appears whole, with its stamp, as the capture may look at any moment.
    const auto write = [&](int n, const QByteArray &text, int seconds) {
        QFile f(dir.filePath(QStringLiteral("neu")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.flush();
        ASSERT_TRUE(f.setFileTime(now.addSecs(seconds), QFileDevice::FileModificationTime));
        f.close();
        ASSERT_TRUE(f.rename(QDir(sim).filePath(QStringLiteral("D%1.ist").arg(n))));
    };
    write(0,
          "        Programmname  : C:\\VELKINOR\\KREUZUNG.SIM\r\n"
              + placeAt("        Gruppenzahl   :", 25, " 2") + "\r\n",
          4);
    write(1, dataLine('1', {" Gr", " R "}) + "\r\n", 6);
    write(2, dataLine('1', {" Ge", " R "}) + "\r\n", 8);
    write(3, dataLine('1', {" R ", "*RG"}) + "\r\n", 10);
    QElapsedTimer clock;
    clock.start();
    while (!QDir(sim).entryList(QDir::Files).isEmpty() && clock.elapsed() < 10000)
        QThread::msleep(20);
    capture.terminate();
    const Result r = finish(capture);
    ASSERT_EQ(r.exitCode, 0) << (err + r.err).toStdString();
    EXPECT_EQ(rowsIn(run), 3);
    EXPECT_EQ(readBytes(run).mid(364, 8), "KREUZUNG");

    const Result missing = signovat({"capture", "--sim", "--sim-dir", dir.filePath("gibt-es-nicht"), "--out", run});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("gibt es nicht")));
}

TEST(CaptureCommand, BadArgumentsAreRefusedInOneLine)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("x.DRI"));
    const QString bad = dir.filePath(QStringLiteral("kaputt.DRI"));
    ASSERT_TRUE(writeBytes(bad, QByteArray(10, 'x')));
    const QString pdf = dir.filePath(QStringLiteral("x.pdf"));
    const QList<QStringList> cases = {
        words("capture --mode kvx99 --out") << out,
        words("capture --mode qsw --port /dev/gibt-es-nicht --out") << out,
        words("capture --mode qsw --port /dev/null --out") << dir.filePath("fehlt/x.DRI"),
        QStringList{"render", "--run", bad, "--out", pdf},
        QStringList{"states", "--run", bad},
        QStringList{"states", "--run", dir.filePath("fehlt.DRI")},
    };
    for (const QStringList &args : cases) {
        const Result r = signovat(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        const QStringList own = r.err.split(QLatin1Char('\n')).filter(QRegularExpression(QStringLiteral("^signovat ")));
        EXPECT_EQ(own.size(), 1) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_TRUE(signovat({"states", "--run", bad})
                    .err.contains(QStringLiteral("Die Datei kaputt.DRI ist keine Ist-Druck-Datei ! Eine "
                                                 "Ist-Druck-Datei kann nicht 10 Bytes groß sein.")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"kaputt.DRI"}));
}

}  // namespace

// signovat send-print end to end: the program and the controller emulator on
// the two ends of a pty pair.

#include "serial/ptypair.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kNoConnection = QStringLiteral(
    "Keine Verbindung zur Steuerung !\nDruckbefehl nicht ausgeführt.\nBitte Anlagentyp, "
    "Verbindung,\nggf. die Versionseinstellung und\ndie Baudrateneinstellung prüfen !\n");

class Emulator {
public:
    Emulator(const QString &device, const QStringList &options)
    {
        process_.setProgram(QStringLiteral(SIGNOVAT_EMULATOR));
        process_.setArguments(QStringList{QStringLiteral("--device"), device} + options);
        process_.setReadChannel(QProcess::StandardError);
        process_.start();
    }
    ~Emulator()
    {
        process_.terminate();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
    // Waits until the log holds text count times.
    bool waitFor(const QString &text, int count = 1, int timeoutMs = 10000)
    {
        QElapsedTimer clock;
        clock.start();
        while (log_.count(text) < count) {
            const int left = timeoutMs - int(clock.elapsed());
            if (left <= 0 || !process_.waitForReadyRead(left))
                return false;
            log_ += QString::fromUtf8(process_.readAllStandardError());
        }
        return true;
    }
    QString log() const { return log_; }

private:
    QProcess process_;
    QString log_;
};

struct CliRun {
    int exitCode = -1;
    QString err;
    qint64 ms = 0;
};

CliRun signovat(const QStringList &args)
{
    QProcess p;
    QElapsedTimer clock;
    clock.start();
    p.start(QStringLiteral(SIGNOVAT_BINARY), args);
    CliRun r;
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.ms = clock.elapsed();
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

}  // namespace

TEST(SendPrintCommand, AnsweredCommandExitsZero)
{
    {
        PtyPair pty;
        ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
        Emulator controller(pty.first(), {});
        ASSERT_TRUE(controller.waitFor("listening"));
        const CliRun r = signovat({"send-print", "start", "--port", pty.second()});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("Keine Verbindung"));
        EXPECT_TRUE(controller.waitFor("ack address 2")) << controller.log().toStdString();
        EXPECT_TRUE(controller.log().contains("print command 2 0 0 address 2 class 14 frame 1"));
    }
    {
        // COM3 through the port map of the settings file, plain frames,
        // answered only on the second repeat, with a type that needs no ack.
        PtyPair pty;
        ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
        QTemporaryDir dir;
        const QString ini = dir.filePath("signovat.ini");
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("[Ports]\nCOM3=%1\n").arg(pty.second()).toUtf8());
        f.close();
        Emulator controller(pty.first(), {"--kvx", "--family", "1", "--answer-type", "101", "--answer-after", "2"});
        ASSERT_TRUE(controller.waitFor("listening"));
        const CliRun r = signovat({"--settings", ini, "send-print", "stop", "--port", "COM3", "--kvx", "--family", "1"});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(controller.waitFor("answer type 101 address 1")) << controller.log().toStdString();
        EXPECT_EQ(controller.log().count("print command 3 0 0 address 2 class 127"), 3);
        EXPECT_FALSE(controller.log().contains("ack"));
    }
}

TEST(SendPrintCommand, NoValidAnswerFailsAfterTheRepeats)
{
    // A silent controller, and one set to another software version (its
    // checksums start elsewhere, so it takes the frames for garbage).
    const QList<QStringList> controllers = {{"--mode", "silent"}, {"--version", "6.00"}};
    for (const QStringList &options : controllers) {
        PtyPair pty;
        ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
        Emulator controller(pty.first(), options);
        ASSERT_TRUE(controller.waitFor("listening"));
        const CliRun r = signovat({"send-print", "start", "--port", pty.second(), "--kvx40", "--version", "6.30"});
        EXPECT_EQ(r.exitCode, 1) << options.join(' ').toStdString();
        EXPECT_TRUE(r.err.endsWith(kNoConnection)) << r.err.toStdString();
        EXPECT_GE(r.ms, 1400);  // three answer times of 500 ms
        const QString seen = options.contains("silent") ? "no answer (silent)" : "invalid frame";
        EXPECT_TRUE(controller.waitFor(seen, 4)) << controller.log().toStdString();
        EXPECT_FALSE(controller.waitFor(seen, 5, 200));  // sent four times, no more
    }
}

TEST(SendPrintCommand, BadPortOrArgumentsFailWithOneLine)
{
    CliRun r = signovat({"send-print", "start", "--port", "/dev/signovat-no-such-port"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("/dev/signovat-no-such-port ist nicht vorhanden")) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("Keine Verbindung"));

    r = signovat({"send-print", "start", "--port", "COM9"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("COM 9 ist keinem Gerät zugeordnet")) << r.err.toStdString();

    r = signovat({"send-print", "pause", "--port", "COM1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("signovat send-print: start oder stop angeben")) << r.err.toStdString();
}

// signovat send-print end to end: the program and the controller emulator on
// the two ends of a pty pair.

#include "serial/ptypair.h"
#include "tempdir.h"

#include <QElapsedTimer>
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
    ~Emulator()  // QProcess kills what has not ended by then
    {
        process_.terminate();
        process_.waitForFinished(3000);
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
    const bool ended = p.waitForFinished(20000);
    return {ended && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardError()), clock.elapsed()};
}

}  // namespace

TEST(SendPrintCommand, OverALineToTheControllerEmulator)
{
    // What the controller logs, and how often (the command goes out at most four times).
    using Seen = QList<std::pair<const char *, int>>;
    const struct {
        QStringList controller, command;
        int exitCode;
        Seen seen;
    } cases[] = {
        {{}, {"start", "--port", "PTY"}, 0, {{"print command 2 0 0 address 2 class 14 frame 1", 1}, {"ack address 2", 1}}},
        // COM3 through the port map of the settings file, plain frames,
        // answered only on the second repeat, with a type that needs no ack.
        {{"--kvx", "--family", "1", "--answer-type", "101", "--answer-after", "2"},
         {"stop", "--port", "COM3", "--kvx", "--family", "1"},
         0,
         {{"print command 3 0 0 address 2 class 127", 3}, {"answer type 101 address 1", 1}, {"ack", 0}}},
        // A silent controller, and one set to another software version (its
        // checksums start elsewhere, so it takes the frames for garbage).
        {{"--mode", "silent"}, {"start", "--port", "PTY", "--kvx40", "--version", "6.30"}, 1, {{"no answer (silent)", 4}}},
        {{"--version", "6.00"}, {"start", "--port", "PTY", "--kvx40", "--version", "6.30"}, 1, {{"invalid frame", 4}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.controller.join(' ').toStdString());
        PtyPair pty;
        ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
        QTemporaryDir dir;
        const QString ini = dir.filePath("signovat.ini");
        ASSERT_TRUE(writeBytes(ini, QStringLiteral("[Ports]\nCOM3=%1\n").arg(pty.second()).toUtf8()));
        Emulator controller(pty.first(), c.controller);
        ASSERT_TRUE(controller.waitFor("listening"));
        QStringList command = c.command;
        command.replaceInStrings(QStringLiteral("PTY"), pty.second());
        const CliRun r = signovat(QStringList{"--settings", ini, "send-print"} + command);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        if (c.exitCode == 0) {
            EXPECT_FALSE(r.err.contains("Keine Verbindung"));
        } else {
            EXPECT_TRUE(r.err.endsWith(kNoConnection)) << r.err.toStdString();
            EXPECT_GE(r.ms, 1400);  // three answer times of 500 ms
        }
        for (const auto &[text, count] : c.seen) {
            EXPECT_TRUE(count == 0 || controller.waitFor(text, count)) << text << "\n" << controller.log().toStdString();
            EXPECT_FALSE(controller.waitFor(text, count + 1, 200)) << text;
        }
    }
}

TEST(SendPrintCommand, APortThatCannotBeOpenedFailsWithItsReason)
{
    for (const auto &[port, reason] : {std::pair("/dev/signovat-no-such-port",
                                                           "/dev/signovat-no-such-port ist nicht vorhanden – Das Gerät ist nicht "
                                                           "vorhanden. Ist der Adapter eingesteckt?"),
                                       std::pair("COM9", "COM 9 ist keinem Gerät zugeordnet")}) {
        const CliRun r = signovat({"send-print", "start", "--port", port});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(reason))) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("Keine Verbindung"));
    }
}

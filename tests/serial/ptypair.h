#pragma once
// Two connected pseudo-terminals made by socat, standing in for a serial
// cable: bytes written to one end come out of the other. Used by the serial
// and the link tests.

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

class PtyPair {
public:
    PtyPair()
    {
        socat_.setProgram(QStringLiteral("socat"));
        socat_.setArguments({QStringLiteral("-d"), QStringLiteral("-d"), QStringLiteral("pty,raw,echo=0"),
                             QStringLiteral("pty,raw,echo=0")});
        socat_.setReadChannel(QProcess::StandardError);
        socat_.start();
        if (!socat_.waitForStarted(5000)) {
            error_ = QStringLiteral("socat did not start");
            return;
        }
        // socat names both ends, then says when it starts copying.
        static const QRegularExpression ptyLine(QStringLiteral("PTY is (\\S+)"));
        QString output;
        QElapsedTimer clock;
        clock.start();
        while (!output.contains(QLatin1String("starting data transfer loop"))) {
            if (clock.elapsed() > 10000 || !socat_.waitForReadyRead(10000 - int(clock.elapsed()))) {
                error_ = QStringLiteral("socat gave no pty pair: ") + output;
                return;
            }
            output += QString::fromLocal8Bit(socat_.readAllStandardError());
        }
        for (auto it = ptyLine.globalMatch(output); it.hasNext();)
            ends_ << it.next().captured(1);
        if (ends_.size() != 2)
            error_ = QStringLiteral("socat output not understood: ") + output;
    }

    ~PtyPair()
    {
        if (socat_.state() != QProcess::NotRunning) {
            socat_.terminate();
            if (!socat_.waitForFinished(3000)) {
                socat_.kill();
                socat_.waitForFinished(3000);
            }
        }
    }

    bool ok() const { return error_.isEmpty(); }
    QString error() const { return error_; }
    QString first() const { return ends_.value(0); }
    QString second() const { return ends_.value(1); }

private:
    QProcess socat_;
    QStringList ends_;
    QString error_;
};

#pragma once
// Two connected pseudo-terminals made by socat, standing in for a serial
// cable: bytes written to one end come out of the other. Used by the serial,
// link and capture tests.

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

class PtyPair {
public:
    PtyPair()
    {
        socat_.setReadChannel(QProcess::StandardError);
        socat_.start(QStringLiteral("socat"), {QStringLiteral("-d"), QStringLiteral("-d"),
                                               QStringLiteral("pty,raw,echo=0"), QStringLiteral("pty,raw,echo=0")});
        // socat names both ends, then says when it starts copying.
        QString output;
        QElapsedTimer clock;
        clock.start();
        while (!output.contains(QLatin1String("starting data transfer loop"))) {
            if (clock.elapsed() > 10000 || !socat_.waitForReadyRead(10000 - int(clock.elapsed()))) {
                error_ = QStringLiteral("socat gave no pty pair: ") + output + socat_.errorString();
                return;
            }
            output += QString::fromLocal8Bit(socat_.readAllStandardError());
        }
        static const QRegularExpression ptyLine(QStringLiteral("PTY is (\\S+)"));
        for (auto it = ptyLine.globalMatch(output); it.hasNext();)
            ends_ << it.next().captured(1);
        if (ends_.size() != 2)
            error_ = QStringLiteral("socat output not understood: ") + output;
    }
    ~PtyPair()
    {
        socat_.terminate();
        if (!socat_.waitForFinished(3000))
            socat_.kill();
        socat_.waitForFinished(3000);
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

#pragma once
// Two pseudo-terminals joined by socat, standing in for a serial cable.

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

class PtyPair {
public:
    PtyPair()
    {
        socat_.setReadChannel(QProcess::StandardError);
        socat_.start("socat", {"-d", "-d", "pty,raw,echo=0", "pty,raw,echo=0"});
        // socat names both ends, then says when it starts copying.
        QString output;
        const QDeadlineTimer deadline(10000);
        while (!output.contains("starting data transfer loop")
               && socat_.waitForReadyRead(int(deadline.remainingTime())))
            output += QString::fromLocal8Bit(socat_.readAllStandardError());
        static const QRegularExpression ptyLine("PTY is (\\S+)");
        for (auto it = ptyLine.globalMatch(output); it.hasNext();)
            ends_ << it.next().captured(1);
        if (ends_.size() != 2 || !output.contains("starting data transfer loop"))
            error_ = "socat gave no pty pair: " + output + socat_.errorString();
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

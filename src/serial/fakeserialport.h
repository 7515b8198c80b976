#pragma once
// An in-memory serial port for tests: what the program writes is recorded in
// `written`, what the far end sends is handed in with inject(), and opening
// can be made to fail. Line settings are only recorded.

#include "serial/serialport.h"

class FakeSerialPort : public SerialPort {
public:
    // Test side.
    void inject(const QByteArray &bytes);  // bytes arriving from the far end
    QByteArray takeWritten();              // returns `written` and clears it
    QByteArray written;
    bool failOpen = false;
    bool vanished = false;                 // the device has gone while open
    QString failOpenText = QStringLiteral("Schnittstelle ist von einer anderen Anwendung belegt");
    PortFault failFault = PortFault::InUse;      // what a failed open() finds
    QString device = QStringLiteral("/dev/ttyFAKE");  // the device problem() names
    QString group = QStringLiteral("dialout");
    int baudRate = 0;
    Parity parity = Parity::None;
    int dataBits = 0;
    int stopBits = 0;
    int inputFlushes = 0;
    int outputFlushes = 0;

    // Port side.
    void selectCom(int comNumber) override;
    int comNumber() const override;
    void setBaudRate(int baud) override;
    void setParity(Parity p) override;
    void setDataBits(int bits) override;
    void setStopBits(int bits) override;
    bool open() override;
    void close() override;
    bool isOpen() const override;
    bool lost() const override { return open_ && vanished; }
    QString errorText() const override;
    PortProblem problem() const override;
    bool write(const QByteArray &bytes) override;
    int bytesWaiting() override;
    QByteArray read(int maxBytes) override;
    void flushInput() override;
    void flushOutput() override;

private:
    int comNumber_ = 0;
    bool open_ = false;
    QString errorText_;
    QByteArray received_;
};

#pragma once
// The real serial port: a tty device (serial line, USB adapter or pty) driven
// through termios. It is polled: bytesWaiting() asks the driver directly, so
// the timers that read it need no read notifications from an event loop.
//
// Opening is exclusive: a second opener of the same device (this program or
// another one that locks its ports) finds it "in use".

#include "serial/comportmap.h"
#include "serial/serialport.h"

class DeviceSerialPort : public SerialPort {
public:
    explicit DeviceSerialPort(ComPortMap map = ComPortMap());
    // Reads the COM map from settingsFile each time a COM number is selected,
    // so a changed assignment applies at the port's next opening.
    explicit DeviceSerialPort(const QString &settingsFile);
    ~DeviceSerialPort() override;
    DeviceSerialPort(const DeviceSerialPort &) = delete;
    DeviceSerialPort &operator=(const DeviceSerialPort &) = delete;

    // Picks the device through the port map.
    void selectCom(int comNumber) override;
    int comNumber() const override;
    // Picks a device by its path, bypassing the map; comNumber() is then 0.
    void selectDevice(const QString &devicePath);
    QString devicePath() const;

    void setBaudRate(int baud) override;
    void setParity(Parity parity) override;
    void setDataBits(int bits) override;
    void setStopBits(int bits) override;

    bool open() override;
    void close() override;
    bool isOpen() const override;
    bool lost() const override;
    QString errorText() const override;
    PortProblem problem() const override;

    bool write(const QByteArray &bytes) override;
    int bytesWaiting() override;
    QByteArray read(int maxBytes) override;
    void flushInput() override;
    void flushOutput() override;

private:
    bool applyLineSettings();
    // An open that failed with errno error: the text and the problem.
    void fail(int error);

    ComPortMap map_;
    QString settingsFile_;
    int comNumber_ = 0;
    QString devicePath_;
    int baud_ = 9600;
    Parity parity_ = Parity::Even;
    int dataBits_ = 8;
    int stopBits_ = 1;
    int fd_ = -1;
    QString errorText_;
    PortProblem problem_;
};

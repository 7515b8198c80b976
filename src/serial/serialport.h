#pragma once
// The serial port object the controller link and the printer-stream capture
// use: a numbered COM port with its line settings, polled for received bytes.

#include "serial/portproblem.h"

#include <QByteArray>
#include <QString>

class SerialPort {
public:
    enum class Parity { None, Even, Odd };

    virtual ~SerialPort() = default;

    // COM 1 … COM 8; which device a number opens is the port map's business.
    virtual void selectCom(int comNumber) = 0;
    virtual int comNumber() const = 0;
    // Line settings: best set before open(); on an open port they take effect
    // at once where the device allows it.
    virtual void setBaudRate(int baud) = 0;
    virtual void setParity(Parity parity) = 0;
    virtual void setDataBits(int bits) = 0;
    virtual void setStopBits(int bits) = 0;

    // Fails when the device is missing or in use; errorText() says why.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The device of an open port has gone (adapter pulled out, far end of a
    // pseudo-terminal closed), even when one of the same name has come back:
    // the driver then only says "nothing waiting". Closing and opening the
    // port again reaches the device that is there now.
    virtual bool lost() const = 0;
    virtual QString errorText() const = 0;
    // What the last failed open() found, for the message that tells the user
    // what to do; fault None after a successful one.
    virtual PortProblem problem() const = 0;

    // Returns false when the bytes could not all be handed to the device.
    virtual bool write(const QByteArray &bytes) = 0;
    // Received bytes are seen by polling these two; no event loop is needed.
    virtual int bytesWaiting() = 0;
    virtual QByteArray read(int maxBytes) = 0;
    // Discard received bytes not yet read / written bytes not yet sent. Kept
    // apart so that dropping stale input never cuts off a frame still going out.
    virtual void flushInput() = 0;
    virtual void flushOutput() = 0;
};

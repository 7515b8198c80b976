#include "serial/fakeserialport.h"

void FakeSerialPort::inject(const QByteArray &bytes)
{
    received_ += bytes;
}

QByteArray FakeSerialPort::takeWritten()
{
    QByteArray out;
    out.swap(written);
    return out;
}

void FakeSerialPort::selectCom(int comNumber)
{
    comNumber_ = comNumber;
}

int FakeSerialPort::comNumber() const
{
    return comNumber_;
}

void FakeSerialPort::setBaudRate(int baud)
{
    baudRate = baud;
}

void FakeSerialPort::setParity(Parity p)
{
    parity = p;
}

void FakeSerialPort::setDataBits(int bits)
{
    dataBits = bits;
}

void FakeSerialPort::setStopBits(int bits)
{
    stopBits = bits;
}

bool FakeSerialPort::open()
{
    if (failOpen) {
        errorText_ = failOpenText;
        open_ = false;
        return false;
    }
    errorText_.clear();
    open_ = true;
    vanished = false;  // what is opened now is the device that is there
    return true;
}

void FakeSerialPort::close()
{
    open_ = false;
}

bool FakeSerialPort::isOpen() const
{
    return open_;
}

QString FakeSerialPort::errorText() const
{
    return errorText_;
}

bool FakeSerialPort::write(const QByteArray &bytes)
{
    if (!open_)
        return false;
    written += bytes;
    return true;
}

int FakeSerialPort::bytesWaiting()
{
    return open_ ? int(received_.size()) : 0;
}

QByteArray FakeSerialPort::read(int maxBytes)
{
    if (!open_ || maxBytes <= 0)
        return {};
    const QByteArray out = received_.left(maxBytes);
    received_.remove(0, out.size());
    return out;
}

void FakeSerialPort::flushInput()
{
    ++inputFlushes;
    received_.clear();
}

void FakeSerialPort::flushOutput()
{
    ++outputFlushes;
}

PortProblem FakeSerialPort::problem() const
{
    if (open_ || errorText_.isEmpty())
        return {comNumber_, device, PortFault::None, {}, {}};
    return {comNumber_, device, failFault, group, errorText_};
}

#include "serial/serialline.h"

#include "serial/serialport.h"

void configureLine(SerialPort &port, int baudRate, int stopBits)
{
    port.setBaudRate(baudRate);
    port.setParity(SerialPort::Parity::Even);
    port.setDataBits(8);
    port.setStopBits(stopBits);
}

void configureControllerLine(SerialPort &port, int baudRate)
{
    configureLine(port, baudRate, kControllerLineStopBits);
}

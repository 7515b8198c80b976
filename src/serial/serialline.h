#pragma once
// The line settings of the two lines this program speaks on. Both run with
// even parity and 8 data bits; they differ in baud rate and stop bits.

class SerialPort;

// The controller link: 9600 baud and 2 stop bits. A KVX 40 capture talks to
// its controller faster, so the baud rate may be given.
constexpr int kControllerLineBaud = 9600;
constexpr int kControllerLineStopBits = 2;
void configureControllerLine(SerialPort &port, int baudRate = kControllerLineBaud);

// Any line: the printer stream with the baud rate and stop bits of the
// controller that prints, the controller link with its own.
void configureLine(SerialPort &port, int baudRate, int stopBits);

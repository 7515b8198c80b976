#pragma once
// A pseudo-terminal the emulator owns: the program under test opens its
// device as the printer-stream port. Closing it makes the device disappear,
// as a USB adapter does when it is pulled out.

#include <QByteArray>
#include <QString>

class PrinterPty {
public:
    PrinterPty() = default;
    ~PrinterPty();
    PrinterPty(const PrinterPty &) = delete;
    PrinterPty &operator=(const PrinterPty &) = delete;

    // Creates the pty in raw mode; false with *error on failure.
    bool Create(QString *error);
    QString devicePath() const { return path_; }
    bool Write(const QByteArray &bytes);
    // Closes both ends: the device node goes away.
    void Close();

private:
    int master_ = -1;
    int slave_ = -1;  // held open so that the line settings stay raw
    QString path_;
};

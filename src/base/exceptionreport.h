#pragma once
// The message shown for an error that reaches the event loop.

#include <QString>
#include <exception>

// Raised by the print run when the printer refuses a job.
class PrinterError : public std::exception {
public:
    const char *what() const noexcept override { return "printer busy"; }
};

struct ExceptionMessage {
    QString text;
    QString caption;
};

ExceptionMessage exceptionMessage(const std::exception *e);

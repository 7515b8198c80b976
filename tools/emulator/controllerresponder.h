#pragma once
// The controller side of the link: recognises the print command and the
// acknowledgement in what the program sends and builds the answer the chosen
// behaviour calls for. No I/O here; main.cpp moves the bytes.

#include "link/framereceiver.h"
#include "link/linkframe.h"

#include <QByteArray>
#include <QString>
#include <functional>

enum class AnswerMode {
    Answer,        // a valid answer of the chosen type
    WrongAddress,  // a valid frame for the other controller family
    BadChecksum,   // the answer with its SUM byte spoilt
    Silent,        // no answer at all
};

struct ResponderConfig {
    ProtocolVariant protocolVariant = ProtocolVariant::Kvx40;
    uint8_t checksumSeed = 3;
    uint8_t controllerFamily = 2;  // the address a proper answer carries
    AnswerMode mode = AnswerMode::Answer;
    uint8_t answerType = 102;
    int ignoredFrames = 0;  // print-command frames left unanswered before the first answer
};

class ControllerResponder {
public:
    using Log = std::function<void(const QString &)>;

    ControllerResponder(const ResponderConfig &config, Log log);

    // Takes bytes from the line; returns the bytes to send back (line form).
    QByteArray Receive(const QByteArray &bytes);

    // Runs for every print command received with valid checksums; a printer
    // stream player hooks in here to start or stop its output.
    std::function<void(const PrintCommandBytes &)> onPrintCommand;

private:
    QByteArray HandleFrame(const QByteArray &stored);
    QByteArray Answer();

    ResponderConfig config_;
    Log log_;
    FrameReceiver receiver_;
    int printFrames_ = 0;
};

// Hex dump for the log, "02 10 0c …".
QString hexBytes(const QByteArray &bytes);

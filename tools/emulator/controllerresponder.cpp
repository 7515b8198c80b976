#include "controllerresponder.h"

namespace {
bool IsAck(const QByteArray &stored)
{
    return stored.size() == 4 && uint8_t(stored[3]) == 0x06;
}
}  // namespace

QString hexBytes(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

ControllerResponder::ControllerResponder(const ResponderConfig &config, Log log)
    : config_(config), log_(std::move(log))
{
}

QByteArray ControllerResponder::Receive(const QByteArray &bytes)
{
    QByteArray out;
    for (char c : bytes)
        if (receiver_.Feed(uint8_t(c)))
            out += HandleFrame(receiver_.frame());
    return out;
}

QByteArray ControllerResponder::HandleFrame(const QByteArray &stored)
{
    if (IsAck(stored)) {
        log_(QStringLiteral("ack address %1").arg(uint8_t(stored[kStoredAddress])));
        return {};
    }
    if (!StoredFrameValid(stored, config_.protocolVariant, config_.checksumSeed)
        || stored.size() < kStoredData + 3 + 2 || uint8_t(stored[kStoredType]) != kPrintCommandType) {
        log_(QStringLiteral("invalid frame %1").arg(hexBytes(stored)));
        return {};
    }
    const PrintCommandBytes command {uint8_t(stored[kStoredData]), uint8_t(stored[kStoredData + 1]),
                                     uint8_t(stored[kStoredData + 2])};
    ++printFrames_;
    log_(QStringLiteral("print command %1 %2 %3 address %4 class %5 frame %6")
             .arg(command[0])
             .arg(command[1])
             .arg(command[2])
             .arg(uint8_t(stored[kStoredAddress]))
             .arg(uint8_t(stored[kStoredClass]))
             .arg(printFrames_));
    if (onPrintCommand)
        onPrintCommand(command);
    if (printFrames_ <= config_.ignoredFrames) {
        log_(QStringLiteral("no answer (ignoring %1 of %2)").arg(printFrames_).arg(config_.ignoredFrames));
        return {};
    }
    return Answer();
}

QByteArray ControllerResponder::Answer()
{
    if (config_.mode == AnswerMode::Silent) {
        log_(QStringLiteral("no answer (silent)"));
        return {};
    }
    uint8_t address = config_.controllerFamily;
    if (config_.mode == AnswerMode::WrongAddress)
        address = address == 2 ? 1 : 2;
    const uint8_t frameClass =
        config_.protocolVariant == ProtocolVariant::Kvx40 ? kPrintCommandClassKvx40 : kPrintCommandClassPlain;
    QByteArray frame = BuildFrame(address, frameClass, config_.answerType, {}, config_.protocolVariant,
                                  config_.checksumSeed);
    if (config_.mode == AnswerMode::BadChecksum)
        frame[frame.size() - 1] = char(~uint8_t(frame[frame.size() - 1]));
    const QByteArray line = StuffFrame(frame);
    log_(QStringLiteral("answer type %1 address %2: %3").arg(config_.answerType).arg(address).arg(hexBytes(line)));
    return line;
}

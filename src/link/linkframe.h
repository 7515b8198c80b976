#pragma once
// Frames of the controller link:
//
//   0x02 0x10 LEN address class type data… [0x00 0x00] XOR SUM
//
// LEN counts the bytes from the first 0x02 up to and including XOR. The two
// zero bytes and the seeded checksums belong to the KVX 40 / 10 variant
// (ProtocolVariant::Kvx40); both checksums start from ChecksumSeed there and
// from 0 otherwise. On the line every 0x02 from the length byte on is doubled.
//
// A received frame is stored without the 0x10 of its start (see
// FrameReceiver), so in stored form: [0] 0x02, [1] LEN, [2] address,
// [3] class, [4] type, [5…] data, [LEN-2] XOR, [LEN-1] SUM.

#include "base/appsettings.h"
#include "data/installationtype.h"

#include <QByteArray>
#include <array>
#include <cstdint>

constexpr uint8_t kFrameStart = 0x02;  // also the stuffing byte
constexpr uint8_t kFrameStartSecond = 0x10;

constexpr uint8_t kPrintCommandAddress = 2;
constexpr uint8_t kPrintCommandClassKvx40 = 14;
constexpr uint8_t kPrintCommandClassPlain = 127;
constexpr uint8_t kPrintCommandType = 'i';

// Positions in the stored form of a received frame.
constexpr int kStoredAddress = 2;
constexpr int kStoredClass = 3;
constexpr int kStoredType = 4;
constexpr int kStoredData = 5;
// The shortest stored frame: start, length, address and both checksums.
constexpr int kMinStoredFrame = 5;
// The shortest one that also carries a class and a type.
constexpr int kMinTypedFrame = 7;

using PrintCommandBytes = std::array<uint8_t, 3>;

// The seed both checksums start from.
uint8_t EffectiveSeed(ProtocolVariant variant, uint8_t checksumSeed);

// A whole checksummed frame, unstuffed.
QByteArray BuildFrame(uint8_t address, uint8_t frameClass, uint8_t type, const QByteArray &data,
                      ProtocolVariant variant, uint8_t checksumSeed);
QByteArray BuildPrintCommandFrame(const PrintCommandBytes &command, ProtocolVariant variant,
                                  uint8_t checksumSeed);
// The acknowledgement: 0x02 0x10 4 family 0x06, no class and no checksums.
QByteArray BuildAck(ControllerFamily family);

// The line form of a frame: every 0x02 from offset 2 on sent twice.
QByteArray StuffFrame(const QByteArray &frame);

// Whether a stored frame (exactly LEN bytes) starts right, is long enough to
// carry an address and has both checksums right. The address is not checked.
bool StoredFrameValid(const QByteArray &stored, ProtocolVariant variant, uint8_t checksumSeed);

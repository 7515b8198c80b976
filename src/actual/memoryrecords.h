#pragma once
// The installation header (124 bytes) and a signal program (2916 bytes) in
// their in-memory record form, as the actual-run file stores them: the field
// order of the data files, but every 16- and 32-bit field on its natural
// boundary and the texts without the data files' extra byte. Padding bytes
// are written as zero.

#include "data/installationdata.h"

#include <QByteArray>

constexpr int kHeaderRecordBytes = 124;
constexpr int kProgramRecordBytes = 2916;

QByteArray EncodeHeaderRecord(const InstallationHeader &header);
QByteArray EncodeProgramRecord(const SignalProgram &program);

// Read from the first kHeaderRecordBytes / kProgramRecordBytes of data; the
// caller makes sure there are that many.
InstallationHeader DecodeHeaderRecord(const char *data);
SignalProgram DecodeProgramRecord(const char *data);

#pragma once

#include "sim/serial/VirtualSerialConfig.h"

#include <QByteArray>
#include <cstdint>

// Reply frames a serial logger sends, built from the same field tables the
// parser reads.
namespace serial {

// The information frame of the logger's layout; `subCode` is bytes 4..6 of
// the request (00 00 00, or "ST" 00).
QByteArray BuildInfoFrame(const VirtualSerialConfig& config, const std::uint8_t subCode[3]);
// Sample block `index` (0-based) of the logger's block size.
QByteArray BuildBlockFrame(const VirtualSerialConfig& config, int index);
int BlockSamples(int type);    // samples per block
int BlockCount(const VirtualSerialConfig& config);
int BytesPerSample(int type);  // in sample memory
// A status frame of the type's length, with `mark` in bytes 4..6.
QByteArray BuildStatusFrame(const VirtualSerialConfig& config, const std::uint8_t mark[3], time64 clock, int length);
int StatusLength(int type);
QByteArray BuildDescriptionFrame(const QString& description);
QByteArray BuildSettingsReply(const QByteArray& payload);

} // namespace serial

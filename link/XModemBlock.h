#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

// XModem's blocks as the HP 48G series sends and takes them: 128 bytes each, with the
// arithmetic checksum, since the calculator has no CRC. A block on the line is
//   SOH, its number, 255 less its number, 128 bytes, their sum modulo 256.
// The last block is padded; the calculator pads with zero bytes, and a reader of an object
// ignores whatever follows it.
namespace xmodem {

constexpr char Soh = '\x01';
constexpr char Eot = '\x04';
constexpr char Ack = '\x06';
constexpr char Nak = '\x15';
constexpr char Cancel = '\x18';
constexpr int BlockLength = 128;
constexpr int LineLength = 3 + BlockLength + 1;

// Block `number` (1, 2, ... 255, 0, 1 ...) carrying up to 128 bytes of `data`.
QByteArray encode(quint8 number, QByteArrayView data);

struct Block
{
    quint8 number = 0;
    QByteArray data;
};
// A whole block from its SOH on; nothing when its number or its checksum does not hold.
std::optional<Block> decode(QByteArrayView line);

} // namespace xmodem

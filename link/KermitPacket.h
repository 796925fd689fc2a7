#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

// Kermit's packets as the HP 48 speaks them: at most 94 characters from the length on, no long
// packets, block checks of 1, 2 or 3 characters. A packet on the line is
//   MARK (Ctrl+A), LEN, SEQ, TYPE, DATA, CHECK, CR
// where LEN, SEQ and each character of the check are numbers from 0 to 94 sent as printable
// characters (the number plus 32), and the data is prefixed so that no control character
// travels bare: the calculator's line is read as text.
namespace kermit {

// Characters the length counts, sequence number to check: the most the calculator takes.
constexpr int LongestPacket = 94;
constexpr char Mark = '\x01';

constexpr char toChar(int number)
{
    return char(number + 32);
}
constexpr int unChar(char c)
{
    return int(quint8(c)) - 32;
}

struct Packet
{
    int sequence = 0; // 0 to 63
    char type = 'D';
    // The data field as it travels, prefixes included.
    QByteArray data;
};

// The check of `checkType` (1, 2 or 3) over the characters from the length to the end of the
// data.
QByteArray blockCheck(QByteArrayView characters, int checkType);
// The whole packet as it goes on the line, from its mark to its CR.
QByteArray encode(const Packet& packet, int checkType);

// What a look at received bytes found.
struct Received
{
    enum Status { Incomplete, Damaged, Whole };
    Status status = Incomplete;
    Packet packet;
    // Bytes of the input taken up by the packet, or by what was thrown away before it.
    qsizetype used = 0;
};
// The first packet in `bytes`: anything before its mark is skipped; a packet whose length or
// check is wrong is Damaged, and can be asked for again.
Received decode(QByteArrayView bytes, int checkType);

// How data is prefixed: every control character (0 to 31, 127, and the same with the eighth
// bit set) as the control prefix and the character with bit 6 flipped; with 8-bit prefixing
// agreed, a character with its eighth bit set as that prefix and the character without it.
struct Prefixes
{
    char control = '#';
    char eightBit = 0; // none
};

// Puts as much of `bytes` as fits into `room` characters of a data field; how many bytes went.
qsizetype encodeData(QByteArrayView bytes, const Prefixes& prefixes, qsizetype room,
                     QByteArray& data);
// The bytes a data field carries; nothing when it breaks the prefixing rules.
std::optional<QByteArray> decodeData(QByteArrayView data, const Prefixes& prefixes);

} // namespace kermit

namespace kermit {

// What one side says of itself in its Send-Init packet (S) and in the acknowledgement of it.
// The calculator says "~* @-#Y3": packets of up to 94, a 10 s timeout, no padding, CR ends a
// packet, "#" prefixes control characters, 8-bit prefixing only if the other side asks, block
// check 3.
struct Parameters
{
    int longestPacket = LongestPacket;
    int timeoutSeconds = 10;
    int padding = 0;
    char padCharacter = 0;
    char endOfLine = '\r';
    char controlPrefix = '#';
    // 'Y': prefixes if the other side asks for a prefix, 'N': never, or the prefix asked for.
    char eightBit = 'Y';
    int checkType = 3;
};

QByteArray encodeParameters(const Parameters& parameters);
// Fields a Send-Init leaves out take the protocol's defaults (packets of 80, a 5 s timeout, CR,
// "#", no 8-bit prefixing, block check 1).
Parameters decodeParameters(QByteArrayView data);

// What both sides have agreed on once Send-Init has been acknowledged.
struct Agreement
{
    // The longest packet this side may send: what the other side takes.
    int longestPacket = LongestPacket;
    int checkType = 1;
    // Each side prefixes what it sends with its own control prefix; the 8-bit prefix is one.
    Prefixes sending;
    Prefixes receiving;
};
Agreement agree(const Parameters& ours, const Parameters& theirs);

} // namespace kermit

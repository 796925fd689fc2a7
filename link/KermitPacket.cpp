#include "link/KermitPacket.h"

#include <algorithm>

namespace kermit {

namespace {

// CRC-CCITT as Kermit computes it: the reflected polynomial 0x8408, starting from 0.
quint16 crc16(QByteArrayView characters)
{
    quint16 crc = 0;
    for (const char c : characters) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0x8408 : crc >> 1;
    }
    return crc;
}

bool isControl(quint8 c)
{
    const quint8 low = c & 0x7f;
    return low < 32 || low == 127;
}

// One byte as it travels.
QByteArray encoded(quint8 c, const Prefixes& prefixes)
{
    QByteArray out;
    if (prefixes.eightBit && (c & 0x80)) {
        out += prefixes.eightBit;
        c &= 0x7f;
    }
    if (isControl(c))
        out += prefixes.control + QByteArray(1, char(c ^ 0x40));
    else if (c == quint8(prefixes.control) || (prefixes.eightBit && c == quint8(prefixes.eightBit)))
        out += prefixes.control + QByteArray(1, char(c));
    else
        out += char(c);
    return out;
}

} // namespace

QByteArray blockCheck(QByteArrayView characters, int checkType)
{
    if (checkType == 3) {
        const quint16 crc = crc16(characters);
        const char check[] = {toChar((crc >> 12) & 0x0f), toChar((crc >> 6) & 0x3f),
                              toChar(crc & 0x3f)};
        return QByteArray(check, 3);
    }
    int sum = 0;
    for (const char c : characters)
        sum += quint8(c);
    if (checkType == 2) {
        const char check[] = {toChar((sum >> 6) & 0x3f), toChar(sum & 0x3f)};
        return QByteArray(check, 2);
    }
    return QByteArray(1, toChar((sum + ((sum & 0xc0) >> 6)) & 0x3f));
}

QByteArray encode(const Packet& packet, int checkType)
{
    QByteArray body;
    body += toChar(2 + int(packet.data.size()) + checkType);
    body += toChar(packet.sequence % 64);
    body += packet.type;
    body += packet.data;
    return Mark + body + blockCheck(body, checkType) + '\r';
}

Received decode(QByteArrayView bytes, int checkType)
{
    Received received;
    const qsizetype mark = bytes.indexOf(Mark);
    if (mark < 0) {
        received.used = bytes.size();
        return received;
    }
    received.used = mark;
    if (bytes.size() < mark + 2)
        return received;
    const int length = unChar(bytes[mark + 1]);
    if (length < 2 + checkType || length > LongestPacket) {
        received.status = Received::Damaged;
        received.used = mark + 2;
        return received;
    }
    if (bytes.size() < mark + 2 + length)
        return received;
    const QByteArrayView body = bytes.sliced(mark + 1, 1 + length - checkType);
    const QByteArrayView check = bytes.sliced(mark + 2 + length - checkType, checkType);
    received.used = mark + 2 + length;
    if (blockCheck(body, checkType) != check || body.sliced(1).contains(Mark)) {
        received.status = Received::Damaged;
        return received;
    }
    received.status = Received::Whole;
    received.packet = {unChar(body[1]), body[2], body.sliced(3).toByteArray()};
    return received;
}

qsizetype encodeData(QByteArrayView bytes, const Prefixes& prefixes, qsizetype room,
                     QByteArray& data)
{
    qsizetype used = 0;
    for (; used < bytes.size(); ++used) {
        const QByteArray next = encoded(quint8(bytes[used]), prefixes);
        if (data.size() + next.size() > room)
            break;
        data += next;
    }
    return used;
}

std::optional<QByteArray> decodeData(QByteArrayView data, const Prefixes& prefixes)
{
    QByteArray bytes;
    for (qsizetype at = 0; at < data.size(); ++at) {
        quint8 high = 0;
        if (prefixes.eightBit && data[at] == prefixes.eightBit) {
            high = 0x80;
            if (++at == data.size())
                return std::nullopt;
        }
        quint8 c = quint8(data[at]);
        if (data[at] == prefixes.control) {
            if (++at == data.size())
                return std::nullopt;
            c = quint8(data[at]);
            // A control character travels with bit 6 flipped (DEL as "?"); any other character
            // after the prefix stands for itself, as a prefix character does.
            const quint8 low = c & 0x7f;
            if ((low >= 0x40 && low <= 0x5f) || low == 0x3f)
                c ^= 0x40;
        }
        bytes += char(c | high);
    }
    return bytes;
}

} // namespace kermit

namespace kermit {

namespace {

// A character that may stand as an 8-bit prefix: printable, and none of the others' roles.
bool isPrefix(char c)
{
    return (c >= 33 && c <= 62) || (c >= 96 && c <= 126);
}

} // namespace

QByteArray encodeParameters(const Parameters& parameters)
{
    const char fields[] = {toChar(parameters.longestPacket),
                           toChar(parameters.timeoutSeconds),
                           toChar(parameters.padding),
                           char(parameters.padCharacter ^ 0x40),
                           toChar(parameters.endOfLine),
                           parameters.controlPrefix,
                           parameters.eightBit,
                           char('0' + parameters.checkType)};
    return QByteArray(fields, sizeof fields);
}

Parameters decodeParameters(QByteArrayView data)
{
    Parameters said{80, 5, 0, 0, '\r', '#', 'N', 1};
    const auto field = [&data](int at) { return at < data.size() && data[at] != ' '; };
    if (field(0))
        said.longestPacket = std::clamp(unChar(data[0]), 10, LongestPacket);
    if (field(1))
        said.timeoutSeconds = unChar(data[1]);
    if (field(2))
        said.padding = unChar(data[2]);
    if (field(3))
        said.padCharacter = char(data[3] ^ 0x40);
    if (field(4))
        said.endOfLine = char(unChar(data[4]));
    if (field(5))
        said.controlPrefix = data[5];
    if (field(6))
        said.eightBit = data[6];
    if (field(7) && data[7] >= '1' && data[7] <= '3')
        said.checkType = data[7] - '0';
    return said;
}

Agreement agree(const Parameters& ours, const Parameters& theirs)
{
    Agreement agreed;
    agreed.longestPacket = std::min(theirs.longestPacket, LongestPacket);
    agreed.checkType = ours.checkType == theirs.checkType ? ours.checkType : 1;
    char eightBit = 0;
    if (isPrefix(ours.eightBit) && (theirs.eightBit == 'Y' || theirs.eightBit == ours.eightBit))
        eightBit = ours.eightBit;
    else if (isPrefix(theirs.eightBit) && ours.eightBit == 'Y')
        eightBit = theirs.eightBit;
    agreed.sending = {ours.controlPrefix, eightBit};
    agreed.receiving = {theirs.controlPrefix, eightBit};
    return agreed;
}

} // namespace kermit

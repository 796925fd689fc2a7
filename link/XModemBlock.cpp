#include "link/XModemBlock.h"

namespace xmodem {

namespace {

quint8 checksum(QByteArrayView data)
{
    quint8 sum = 0;
    for (const char c : data)
        sum = quint8(sum + quint8(c));
    return sum;
}

} // namespace

QByteArray encode(quint8 number, QByteArrayView data)
{
    QByteArray payload = data.first(std::min<qsizetype>(data.size(), BlockLength)).toByteArray();
    payload.append(BlockLength - payload.size(), '\0');
    QByteArray line;
    line.reserve(LineLength);
    line += Soh;
    line += char(number);
    line += char(255 - number);
    line += payload;
    line += char(checksum(payload));
    return line;
}

std::optional<Block> decode(QByteArrayView line)
{
    if (line.size() != LineLength || line[0] != Soh ||
        quint8(line[1]) != quint8(255 - quint8(line[2])))
        return std::nullopt;
    const QByteArrayView payload = line.sliced(3, BlockLength);
    if (checksum(payload) != quint8(line[LineLength - 1]))
        return std::nullopt;
    return Block{quint8(line[1]), payload.toByteArray()};
}

} // namespace xmodem

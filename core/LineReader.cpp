#include "core/LineReader.h"

#include <QIODevice>
#include <cstring>

namespace {

constexpr qint64 BlockSize = 64 * 1024;
constexpr char Cr = '\r';
constexpr char Lf = '\n';

} // namespace

LineReader::LineReader(QByteArrayView bytes, bool lineFeedEnds)
    : m_bytes(bytes), m_lineEnd(lineFeedEnds ? Lf : Cr)
{}

LineReader::LineReader(QIODevice& device) : m_device(&device), m_sourceAtEnd(false) {}

std::optional<QByteArrayView> LineReader::next()
{
    for (;;) {
        if (m_failed)
            return std::nullopt;
        const qsizetype left = m_bytes.size() - m_pos;
        const char* begin = m_bytes.data() + m_pos;
        const auto* cr = left > 0
                             ? static_cast<const char*>(std::memchr(begin, m_lineEnd, size_t(left)))
                             : nullptr;
        // A CR at the end of a block may be the first half of a CR LF: read on before deciding
        // where the next line starts.
        if (cr != nullptr && (cr + 1 < begin + left || m_sourceAtEnd)) {
            m_pos += (cr - begin) + 1;
            if (m_lineEnd == Cr && m_pos < m_bytes.size() && m_bytes[m_pos] == Lf)
                ++m_pos;
            return QByteArrayView(begin, cr - begin);
        }
        if (m_sourceAtEnd) {
            if (left <= 0)
                return std::nullopt;
            m_pos = m_bytes.size();
            return QByteArrayView(begin, left);
        }
        if (!fill())
            return std::nullopt;
    }
}

bool LineReader::atEnd()
{
    while (m_pos >= m_bytes.size() && !m_sourceAtEnd) {
        if (!fill())
            return true;
    }
    return m_pos >= m_bytes.size();
}

bool LineReader::rewind()
{
    m_pos = 0;
    if (m_device == nullptr)
        return true;
    m_block.clear();
    m_bytes = m_block;
    m_sourceAtEnd = false;
    m_failed = !m_device->seek(0);
    return !m_failed;
}

bool LineReader::fill()
{
    m_block.remove(0, m_pos);
    m_pos = 0;
    const qsizetype kept = m_block.size();
    m_block.resize(kept + BlockSize);
    const qint64 count = m_device->read(m_block.data() + kept, BlockSize);
    m_block.resize(kept + std::max<qint64>(count, 0));
    m_bytes = m_block;
    if (count <= 0)
        m_sourceAtEnd = true;
    if (count < 0)
        m_failed = true;
    return count >= 0;
}

int preambleLineCount(LineReader& lines)
{
    if (!lines.rewind())
        return 0;
    const std::optional<QByteArrayView> first = lines.next();
    if (!first)
        return 0;
    // Over a device the next line may take the place of this one.
    const bool transferHeader = first->startsWith('%');
    const bool firstIsBrace = *first == QByteArrayView("{");
    const bool firstIsRecord = first->startsWith('"');
    std::optional<QByteArrayView> line = lines.next();
    if (line && *line == QByteArrayView("{"))
        return 2;
    if (firstIsBrace)
        return 1;
    if (firstIsRecord)
        return 0;
    // The "{" may stand further down, for instance after a transfer header of several lines.
    for (int number = 2; line; ++number, line = lines.next()) {
        if (line->startsWith('"'))
            break;
        if (*line == QByteArrayView("{"))
            return number;
    }
    return transferHeader ? 1 : 0;
}

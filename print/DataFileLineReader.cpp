#include "print/DataFileLineReader.h"

#include <QIODevice>

namespace {

constexpr qint64 BlockSize = 64 * 1024;

} // namespace

DataFileLineReader::DataFileLineReader(QIODevice& device) : m_device(device) {}

std::optional<QString> DataFileLineReader::readLine()
{
    for (;;) {
        if (m_failed)
            return std::nullopt;
        const qsizetype cr = m_buffer.indexOf('\r', m_pos);
        // A CR at the end of the block may be the first half of a CR LF: read on before
        // deciding where the next line starts.
        if (cr >= 0 && (cr + 1 < m_buffer.size() || m_deviceAtEnd)) {
            const QString line = QString::fromLatin1(m_buffer.constData() + m_pos, cr - m_pos);
            m_pos = cr + 1;
            if (m_pos < m_buffer.size() && m_buffer.at(m_pos) == '\n')
                ++m_pos;
            return line;
        }
        if (m_deviceAtEnd) {
            if (m_pos >= m_buffer.size())
                return std::nullopt;
            const QString line =
                QString::fromLatin1(m_buffer.constData() + m_pos, m_buffer.size() - m_pos);
            m_pos = m_buffer.size();
            return line;
        }
        if (!fill())
            return std::nullopt;
    }
}

bool DataFileLineReader::atEnd()
{
    while (m_pos >= m_buffer.size() && !m_deviceAtEnd) {
        if (!fill())
            return true;
    }
    return m_pos >= m_buffer.size();
}

bool DataFileLineReader::rewind()
{
    m_buffer.clear();
    m_pos = 0;
    m_deviceAtEnd = false;
    m_failed = !m_device.seek(0);
    return !m_failed;
}

bool DataFileLineReader::fill()
{
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    const qsizetype kept = m_buffer.size();
    m_buffer.resize(kept + BlockSize);
    const qint64 count = m_device.read(m_buffer.data() + kept, BlockSize);
    if (count < 0) {
        m_buffer.resize(kept);
        m_failed = true;
        m_deviceAtEnd = true;
        return false;
    }
    m_buffer.resize(kept + count);
    if (count == 0)
        m_deviceAtEnd = true;
    return true;
}

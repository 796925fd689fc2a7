#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class QIODevice;

// Reads a data file one line at a time, holding no more than the current line and one block
// of the file. A line ends at CR LF or at a CR alone; an LF alone is part of the line, as the
// program's file reader takes it. Bytes are characters in Latin-1.
class DataFileLineReader
{
public:
    explicit DataFileLineReader(QIODevice& device);

    // The next line without its end; nullopt at the end of the file or when reading failed.
    std::optional<QString> readLine();
    // True when no line is left (or reading failed).
    bool atEnd();
    bool failed() const { return m_failed; }
    // Starts again from the first line.
    bool rewind();

private:
    bool fill();

    QIODevice& m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_deviceAtEnd = false;
    bool m_failed = false;
};

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

class QIODevice;

// The lines of a data file. A line ends at CR LF or at a CR alone; an LF alone is part of the
// line, and a line end at the very end of the file starts no further line. Bytes are Latin-1
// characters.
//
// Over bytes in memory the lines are views into those bytes. Over a device the file is read in
// blocks, holding no more than the current line and one block, so that a file of any size can
// be gone through; each line is then valid until the next call.
class LineReader
{
public:
    // `lineFeedEnds`: lines end at LF alone, for a file written with Unix line ends.
    explicit LineReader(QByteArrayView bytes, bool lineFeedEnds = false);
    explicit LineReader(QIODevice& device);

    // The next line without its end; nullopt at the end of the file or when reading failed.
    std::optional<QByteArrayView> next();
    // True when no line is left (or reading failed).
    bool atEnd();
    bool failed() const { return m_failed; }
    // Starts again from the first line.
    bool rewind();
    // Over bytes in memory: where the next line starts.
    qsizetype position() const { return m_pos; }

private:
    bool fill();

    QIODevice* m_device = nullptr;
    QByteArray m_block;
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    bool m_sourceAtEnd = true;
    char m_lineEnd = '\r';
    bool m_failed = false;
};

// The number of lines before the first record. A file Tabulet wrote starts with "{" or with the
// transfer header line and "{"; but the header line is whatever the user typed into the
// preferences (it may be empty, be "{", or start with a quote), and files written by hand may
// start straight with a record. Skipping line 1 unseen would drop that first record, and taking
// a "{" on line 2 for a record would lose every record after it. So: a "{" on line 2 closes a
// one-line preamble whatever line 1 holds; otherwise a "{" line before the first line that
// starts a record closes the preamble; otherwise only a first line starting with "%" is a
// transfer header. Reads from the first line on; the reader is left anywhere.
int preambleLineCount(LineReader& lines);

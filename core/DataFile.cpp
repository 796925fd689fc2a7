#include "core/DataFile.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace datafile {
namespace {

constexpr char Quote = '"';
constexpr char Cr = '\r';
constexpr char Lf = '\n';
constexpr QStringView LineEnd = u"\r\n";

// Hands out the lines of a file one by one as views into its bytes, so that reading allocates
// only for what it keeps. A line ends at CR LF or at a CR alone; a LF alone belongs to the
// line. A line end at the very end of the file starts no further line.
class LineCursor
{
public:
    explicit LineCursor(QByteArrayView bytes, qsizetype position = 0)
        : m_bytes(bytes), m_position(position)
    {}

    bool atEnd() const { return m_position >= m_bytes.size(); }
    qsizetype position() const { return m_position; }

    // Only when not at the end.
    QByteArrayView next()
    {
        const char* begin = m_bytes.data() + m_position;
        const auto left = m_bytes.size() - m_position;
        const auto* cr = static_cast<const char*>(std::memchr(begin, Cr, size_t(left)));
        if (cr == nullptr) {
            m_position = m_bytes.size();
            return QByteArrayView(begin, left);
        }
        m_position += (cr - begin) + 1;
        if (m_position < m_bytes.size() && m_bytes[m_position] == Lf)
            ++m_position;
        return QByteArrayView(begin, cr - begin);
    }

    // The text under a header line: its lines up to the one that holds the closing quote,
    // which loses its last character, as they stand in the file. A file that ends before the
    // closing quote keeps the lines read so far rather than losing them.
    QByteArrayView takeText()
    {
        const qsizetype begin = m_position;
        qsizetype end = begin;
        while (!atEnd()) {
            const QByteArrayView line = next();
            end = (line.data() - m_bytes.data()) + line.size();
            if (line.contains(Quote))
                return m_bytes.sliced(begin, end - 1 - begin);
        }
        return m_bytes.sliced(begin, end - begin);
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_position;
};

// Where the records begin. A file Tabulet wrote starts with "{" or with the transfer header
// line and "{"; but the header line is whatever the user typed into the preferences (it may
// be empty, be "{", or start with a quote), and files written by hand may start straight with
// a record. Skipping line 1 unseen would drop that first record, and taking a "{" on line 2 for
// a record would lose every record after it. So: a "{" on line 2 closes a one-line preamble
// whatever line 1 holds; otherwise a "{" line before the first line that starts a record closes
// the preamble; otherwise only a first line starting with "%" is a transfer header.
qsizetype recordsStart(QByteArrayView bytes)
{
    LineCursor cursor(bytes);
    if (cursor.atEnd())
        return 0;
    const bool transferHeader = cursor.next().startsWith('%');
    const qsizetype afterFirstLine = cursor.position();
    if (!cursor.atEnd() && cursor.next() == QByteArrayView("{"))
        return cursor.position();
    for (LineCursor scan(bytes); !scan.atEnd();) {
        const QByteArrayView line = scan.next();
        if (line == QByteArrayView("{"))
            return scan.position();
        if (line.startsWith(Quote))
            break;
    }
    return transferHeader ? afterFirstLine : 0;
}

// Only spaces are trimmed: a tab or any other byte at either end is part of the header.
QString headerOf(QByteArrayView header)
{
    qsizetype begin = 0;
    qsizetype end = header.size();
    while (begin < end && header[begin] == ' ')
        ++begin;
    while (end > begin && header[end - 1] == ' ')
        --end;
    return QString::fromLatin1(header.sliced(begin, end - begin));
}

// Record texts hold their lines joined by CR LF. Lines ended by a CR alone are joined the same
// way, so such a text is rebuilt; the usual text is taken as it stands.
QString textOf(QByteArrayView lines)
{
    QByteArray joined;
    qsizetype copied = 0;
    for (qsizetype cr = lines.indexOf(Cr); cr != -1; cr = lines.indexOf(Cr, cr + 1)) {
        if (cr + 1 < lines.size() && lines[cr + 1] == Lf)
            continue;
        if (copied == 0)
            joined.reserve(lines.size() + 64);
        joined.append(lines.sliced(copied, cr + 1 - copied)).append(Lf);
        copied = cr + 1;
    }
    if (copied == 0)
        return QString::fromLatin1(lines);
    joined.append(lines.sliced(copied));
    return QString::fromLatin1(joined);
}

} // namespace

std::optional<QString> ReadResult::shownText(qsizetype recordsKept) const
{
    const auto firstLost = std::lower_bound(withText.cbegin(), withText.cend(), recordsKept);
    if (firstLost == withText.cbegin())
        return std::nullopt;
    return records.at(*std::prev(firstLost)).text;
}

ReadResult read(QByteArrayView bytes)
{
    ReadResult result;
    LineCursor cursor(bytes, recordsStart(bytes));
    while (!cursor.atEnd()) {
        const QByteArrayView line = cursor.next();
        if (line.isEmpty())
            continue;
        if (line == QByteArrayView("}"))
            break;
        // The first character is the opening quote. A quote after it closes a record that
        // has no text.
        const QByteArrayView rest = line.sliced(1);
        if (rest.contains(Quote)) {
            result.records.append(Record{headerOf(rest.chopped(1)), QString()});
            continue;
        }
        // A header line of one character, as the quote alone that an empty header is written
        // as, is a record with an empty header; it keeps the text below it rather than
        // handing it to the record before.
        result.withText.append(result.records.size());
        result.records.append(Record{headerOf(rest), textOf(cursor.takeText())});
    }
    return result;
}

QString write(const QList<Record>& records, const QString& asciiHeader, const QString& asciiText)
{
    qsizetype size = asciiText.size() + 16;
    for (const Record& record : records)
        size += record.header.size() + record.text.size() + 6;
    QString output;
    output.reserve(size);
    write(
        output, records.size(), [&records](qsizetype position) { return records.at(position); },
        asciiHeader, asciiText);
    return output;
}

void write(QString& output, qsizetype count, const RecordAt& recordAt, const QString& asciiHeader,
           const QString& asciiText)
{
    output.resize(0);
    if (asciiHeader == QLatin1String("1"))
        output.append(asciiText).append(LineEnd);
    output.append(u'{').append(LineEnd);
    for (qsizetype position = 0; position < count; ++position) {
        const Record record = recordAt(position);
        if (position > 0)
            output.append(LineEnd);
        output.append(u'"').append(record.header);
        if (!record.text.isEmpty())
            output.append(LineEnd).append(record.text);
        output.append(u'"');
    }
    // An empty list leaves an empty line between the braces.
    output.append(LineEnd).append(u'}');
}

QByteArray fileBytes(const QString& outputText)
{
    QByteArray bytes = outputText.toLatin1();
    bytes.append("\r\n");
    return bytes;
}

} // namespace datafile

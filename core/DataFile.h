#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

// The data file format: the calculator's text form of a list of strings, one string per
// record, optionally preceded by the transfer header line. These functions work on bytes and
// texts only, with no widget and no store, so that tests, benchmarks and fuzzers can drive them
// directly. A file holds one byte per character, Latin-1: every byte value survives.
namespace datafile {

struct Record
{
    QString header;
    // Lines separated by CR LF; empty for a record without text.
    QString text;

    friend bool operator==(const Record&, const Record&) = default;
};

struct ReadResult
{
    // In file order; headers without leading and trailing spaces.
    QList<Record> records;
    // Positions in `records` of the records whose text lines were read, in file order. A text
    // read as empty counts: the data field shows the text of the last of them after reading.
    QList<qsizetype> withText;

    // The text the data field shows once the first `recordsKept` records have been kept, or
    // nothing when none of them had text lines.
    std::optional<QString> shownText(qsizetype recordsKept) const;
};

ReadResult read(QByteArrayView bytes);

// The whole text of a file without its final line end: the transfer header line when
// `asciiHeader` is exactly "1", then the list. Headers and texts are written as they are.
QString write(const QList<Record>& records, const QString& asciiHeader, const QString& asciiText);

// The record at a position of a document held elsewhere.
using RecordAt = std::function<Record(qsizetype position)>;
// The same for a document of `count` records, into `output`. Its buffer is kept when large
// enough: a document saved again then needs no fresh memory, which for megabytes costs more
// than writing the text.
void write(QString& output, qsizetype count, const RecordAt& recordAt, const QString& asciiHeader,
           const QString& asciiText);

// The bytes a file holds for a text built by `write`: Latin-1, every line ended by CR LF.
// A character outside Latin-1 becomes "?".
QByteArray fileBytes(const QString& outputText);

} // namespace datafile

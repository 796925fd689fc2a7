#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <optional>

// The data file format: the calculator's text form of a list of strings, one string per
// record, optionally preceded by the transfer header line. A file holds one byte per character,
// Latin-1, so every byte value survives. Reading works on the file's bytes and hands out where
// each header and text stands in them, so that a document can keep them without copying.
namespace datafile {

// A piece of the file's bytes.
struct Span
{
    qsizetype offset = 0;
    qsizetype size = 0;
};

struct ReadRecord
{
    // Without the spaces at its ends.
    Span header;
    // The text's lines, joined by the file's own line ends; empty for a record without text.
    Span text;
};

struct ReadResult
{
    // In file order.
    QList<ReadRecord> records;
    // Texts whose lines end with a CR or an LF alone, by position in `records`: record texts
    // hold their lines joined by CR LF, so these are rebuilt rather than taken as they stand.
    QHash<qsizetype, QByteArray> rebuiltTexts;
    // Positions of the records whose text lines were read, in file order. A text read as empty
    // counts: the data field shows the text of the last of them after reading.
    QList<qsizetype> withText;
    // The file ends its lines with LF alone: it holds LF but not a single CR. Such a file is
    // read by LF, so that it does not turn into one garbled record; it is saved with CR LF.
    bool lineFeedEnds = false;

    // Position of the record whose text the data field shows once the first `recordsKept`
    // records have been kept, or nothing when none of them had text lines.
    std::optional<qsizetype> shownRecord(qsizetype recordsKept) const;
};

ReadResult read(QByteArrayView bytes);

} // namespace datafile

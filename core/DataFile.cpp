#include "core/DataFile.h"

#include "core/Headers.h"
#include "core/LineReader.h"

#include <algorithm>
#include <iterator>

namespace datafile {
namespace {

constexpr char Quote = '"';
constexpr char Cr = '\r';
constexpr char Lf = '\n';

Span spanOf(QByteArrayView bytes, QByteArrayView piece)
{
    return Span{piece.data() - bytes.data(), piece.size()};
}

// The text under a header line: its lines up to the one that holds the closing quote, which
// loses its last character, as they stand in the file. A file that ends before the closing
// quote keeps the lines read so far rather than losing them.
Span takeText(QByteArrayView bytes, LineReader& lines)
{
    const qsizetype begin = lines.position();
    qsizetype end = begin;
    while (std::optional<QByteArrayView> line = lines.next()) {
        end = spanOf(bytes, *line).offset + line->size();
        if (line->contains(Quote))
            return Span{begin, end - 1 - begin};
    }
    return Span{begin, end - begin};
}

// Record texts hold their lines joined by CR LF. Lines ended by a CR alone are joined the same
// way; nothing when the text already is.
std::optional<QByteArray> rebuilt(QByteArrayView lines, bool lineFeedEnds)
{
    if (lineFeedEnds) {
        if (!lines.contains(Lf))
            return std::nullopt;
        return lines.toByteArray().replace("\n", "\r\n");
    }
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
        return std::nullopt;
    joined.append(lines.sliced(copied));
    return joined;
}

} // namespace

std::optional<qsizetype> ReadResult::shownRecord(qsizetype recordsKept) const
{
    const auto firstLost = std::lower_bound(withText.cbegin(), withText.cend(), recordsKept);
    if (firstLost == withText.cbegin())
        return std::nullopt;
    return *std::prev(firstLost);
}

ReadResult read(QByteArrayView bytes)
{
    ReadResult result;
    result.lineFeedEnds = !bytes.contains(Cr) && bytes.contains(Lf);
    LineReader lines(bytes, result.lineFeedEnds);
    const int preamble = preambleLineCount(lines);
    lines.rewind();
    for (int skipped = 0; skipped < preamble; ++skipped)
        lines.next();
    while (std::optional<QByteArrayView> line = lines.next()) {
        if (line->isEmpty())
            continue;
        if (*line == QByteArrayView("}"))
            break;
        // The first character is the opening quote. A quote after it closes a record that
        // has no text.
        const QByteArrayView rest = line->sliced(1);
        if (rest.contains(Quote)) {
            result.records.append({spanOf(bytes, spaceTrimmed(rest.chopped(1))), Span{}});
            continue;
        }
        // A header line of one character, as the quote alone that an empty header is written
        // as, is a record with an empty header; it keeps the text below it rather than
        // handing it to the record before.
        const Span text = takeText(bytes, lines);
        if (std::optional<QByteArray> joined =
                rebuilt(bytes.sliced(text.offset, text.size), result.lineFeedEnds))
            result.rebuiltTexts.insert(result.records.size(), *joined);
        result.withText.append(result.records.size());
        result.records.append({spanOf(bytes, spaceTrimmed(rest)), text});
    }
    return result;
}

} // namespace datafile

#include "core/Finder.h"

#include <array>

namespace {

// Latin-1 letters folded to lower case, for matching the file's bytes without case.
const std::array<uchar, 256> FoldTable = [] {
    std::array<uchar, 256> table{};
    for (int code = 0; code < 256; ++code)
        table[code] =
            uchar(QChar::toLower(char16_t(code)) < 256 ? QChar::toLower(char16_t(code)) : code);
    return table;
}();

// Horspool's search over bytes, each compared folded: it looks at about one byte in every
// needle's length, as QByteArray's own search does.
qsizetype foldedIndexOf(QByteArrayView haystack, QByteArrayView needle, qsizetype from)
{
    const qsizetype length = needle.size();
    if (length == 0 || from < 0 || haystack.size() - from < length)
        return -1;
    std::array<qsizetype, 256> skip;
    skip.fill(length);
    for (qsizetype at = 0; at + 1 < length; ++at)
        skip[FoldTable[uchar(needle[at])]] = length - 1 - at;
    const auto* bytes = reinterpret_cast<const uchar*>(haystack.data());
    const auto* wanted = reinterpret_cast<const uchar*>(needle.data());
    for (qsizetype at = from; at + length <= haystack.size();) {
        const uchar last = FoldTable[bytes[at + length - 1]];
        if (last == wanted[length - 1]) {
            qsizetype compared = 0;
            while (compared + 1 < length && FoldTable[bytes[at + compared]] == wanted[compared])
                ++compared;
            if (compared + 1 == length)
                return at;
        }
        at += skip[last];
    }
    return -1;
}

bool isWordCharacter(QChar character)
{
    return character.isLetterOrNumber() || character == u'_';
}

} // namespace

Finder::Finder(const RecordStore& records, FindOptions options)
    : m_records(records), m_options(std::move(options))
{
    const QString& text = m_options.text;
    m_latin1Only =
        std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 256; });
    if (text.isEmpty() || !m_latin1Only)
        return;
    m_latin1 = text.toLatin1();
    if (!m_options.matchCase) {
        for (char& byte : m_latin1)
            byte = char(FoldTable[uchar(byte)]);
    }
    const QByteArrayView file = records.fileBytes();
    m_inFile =
        (m_options.matchCase ? file.indexOf(m_latin1) : foldedIndexOf(file, m_latin1, 0)) >= 0;
}

RecordPiece Finder::pieceAt(int position, bool inHeader) const
{
    return inHeader ? m_records.headerPieceAt(position)
                    : m_records.textPiece(m_records.recordIndexAt(position));
}

qsizetype Finder::indexIn(const RecordPiece& piece, qsizetype from) const
{
    if (m_options.text.isEmpty() || (!piece.edited && !m_inFile))
        return -1;
    const Qt::CaseSensitivity cs = m_options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype at = from; at <= piece.size();) {
        const qsizetype found = piece.edited          ? piece.text.indexOf(m_options.text, at, cs)
                                : m_options.matchCase ? piece.bytes.indexOf(m_latin1, at)
                                                      : foldedIndexOf(piece.bytes, m_latin1, at);
        if (found < 0 || !m_options.wholeWords || wholeWordAt(piece, found))
            return found;
        at = found + 1;
    }
    return -1;
}

qsizetype Finder::lastIndexIn(const RecordPiece& piece, qsizetype before) const
{
    if (m_options.text.isEmpty() || (!piece.edited && !m_inFile))
        return -1;
    // Pieces are short next to the file: going through them from the start is fast enough,
    // and it keeps one search for both directions.
    qsizetype last = -1;
    for (qsizetype found = indexIn(piece, 0); found >= 0 && found + m_options.text.size() <= before;
         found = indexIn(piece, found + 1))
        last = found;
    return last;
}

bool Finder::wholeWordAt(const RecordPiece& piece, qsizetype at) const
{
    const auto character = [&piece](qsizetype index) {
        return piece.edited ? piece.text[index] : QChar(uchar(piece.bytes[index]));
    };
    const qsizetype end = at + m_options.text.size();
    return (at == 0 || !isWordCharacter(character(at - 1))) &&
           (end >= piece.size() || !isWordCharacter(character(end)));
}

FindResult Finder::find(const TextPlace& from, bool backwards) const
{
    const int count = m_records.count();
    if (count == 0 || m_options.text.isEmpty() || !(m_options.inHeaders || m_options.inTexts))
        return {};
    // The parts of the list in order: each entry's header (0), then its text (1).
    const qsizetype parts = qsizetype(count) * 2;
    const qsizetype start =
        qsizetype(std::clamp(from.position, 0, count - 1)) * 2 + (from.inHeader ? 0 : 1);
    const qsizetype length = m_options.text.size();
    for (qsizetype step = 0; step <= parts; ++step) {
        const qsizetype part =
            backwards ? ((start - step) % parts + parts) % parts : (start + step) % parts;
        const bool inHeader = part % 2 == 0;
        if (!searched(inHeader))
            continue;
        const int position = int(part / 2);
        const RecordPiece piece = pieceAt(position, inHeader);
        qsizetype found = -1;
        if (backwards)
            found = lastIndexIn(piece, step == 0 ? from.at : piece.size());
        else
            found = indexIn(piece, step == 0 ? from.at : 0);
        // Back in the part the search began in: only what lies on the other side of the start.
        if (step == parts && found >= 0 &&
            (backwards ? found + length <= from.at : found >= from.at))
            found = -1;
        if (found >= 0) {
            const bool wrapped = step == parts || (backwards ? part > start : part < start);
            return {FoundMatch{{position, inHeader, found}, length}, wrapped};
        }
    }
    return {};
}

QList<FoundMatch> Finder::findAll() const
{
    QList<FoundMatch> matches;
    if (m_options.text.isEmpty())
        return matches;
    for (int position = 0; position < m_records.count(); ++position) {
        for (const bool inHeader : {true, false}) {
            if (!searched(inHeader))
                continue;
            const RecordPiece piece = pieceAt(position, inHeader);
            for (qsizetype at = indexIn(piece, 0); at >= 0;
                 at = indexIn(piece, at + m_options.text.size()))
                matches.append({{position, inHeader, at}, m_options.text.size()});
        }
    }
    return matches;
}

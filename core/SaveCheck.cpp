#include "core/SaveCheck.h"

#include "core/RecordStore.h"

#include <QStringView>

namespace {

// One branch-free pass that the compiler can vectorise; most documents hold nothing to report.
bool holdsUnwritable(QStringView text)
{
    const char16_t* c = text.utf16();
    unsigned highBits = 0;
    unsigned quotes = 0;
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        highBits |= c[i] >> 8;
        quotes |= c[i] == u'"';
    }
    return (highBits | quotes) != 0;
}

// Bytes of the file are Latin-1 by nature; only a quote can stand in their way.
bool holdsUnwritable(const RecordPiece& piece)
{
    return piece.edited ? holdsUnwritable(piece.text) : piece.bytes.contains('"');
}

void markUnwritable(const RecordPiece& piece, UnwritableContent& found)
{
    if (!piece.edited) {
        found.doubleQuote = found.doubleQuote || piece.bytes.contains('"');
        return;
    }
    for (const QChar c : piece.text) {
        if (c == u'"')
            found.doubleQuote = true;
        else if (c.unicode() > 0xFF)
            found.beyondLatin1 = true;
    }
}

} // namespace

std::optional<UnwritableContent> findUnwritableContent(const RecordStore& store)
{
    const int count = store.count();
    for (int position = 0; position < count; ++position) {
        const RecordPiece header = store.headerPieceAt(position);
        const RecordPiece text = store.textPiece(store.recordIndexAt(position));
        if (!holdsUnwritable(header) && !holdsUnwritable(text))
            continue;
        UnwritableContent found;
        found.position = position;
        markUnwritable(header, found);
        markUnwritable(text, found);
        return found;
    }
    return std::nullopt;
}

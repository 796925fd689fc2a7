#pragma once

// What both fuzz targets share: a failure that stops the fuzzer, and a document written the
// way Save writes it, into memory rather than through a file on disk.
#include "core/Document.h"
#include "core/RecordStore.h"

#include <QAnyStringView>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace fuzz {

inline void require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// Each entry as "header => text", its text reached through its record index.
inline QStringList entries(const Document& document)
{
    QStringList result;
    const RecordStore& records = document.records();
    for (int at = 0; at < records.count(); ++at)
        result << records.headerAt(at) + QStringLiteral(" => ") +
                      records.recordText(records.recordIndexAt(at));
    return result;
}

// A piece as it stands, the file's bytes or a text of its own, without copying it.
inline QAnyStringView viewOf(const RecordPiece& piece)
{
    return piece.edited ? QAnyStringView(piece.text)
                        : QAnyStringView(QLatin1StringView(piece.bytes));
}

// Whether both documents hold the same headers and texts in the same order, without building
// the entries: a fuzzer spends its time where the program does, not in its own checks.
inline bool sameEntries(const Document& one, const Document& other)
{
    const RecordStore& ones = one.records();
    const RecordStore& others = other.records();
    if (ones.count() != others.count())
        return false;
    for (int at = 0; at < ones.count(); ++at) {
        if (!QAnyStringView::equal(viewOf(ones.headerPieceAt(at)),
                                   viewOf(others.headerPieceAt(at))) ||
            !QAnyStringView::equal(viewOf(ones.textPiece(ones.recordIndexAt(at))),
                                   viewOf(others.textPiece(others.recordIndexAt(at)))))
            return false;
    }
    return true;
}

// A document emptied as New empties it, so that each input starts where a user's next file
// would: the program keeps one document for all of them too. A new one is made only when this
// one has handed out nearly all its record indices.
inline Document& emptied(std::unique_ptr<Document>& document)
{
    if (!document || document->records().capacityLeft() < 1'000'000)
        document = std::make_unique<Document>();
    else
        document->clear();
    return *document;
}

inline QByteArray saved(const Document& document, const TransferHeader& transferHeader)
{
    return document.fileBytes(transferHeader);
}

} // namespace fuzz

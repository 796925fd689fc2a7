#pragma once

// What both fuzz targets share: a failure that stops the fuzzer, and a document written the
// way Save writes it, into memory rather than through a file on disk.
#include "core/Document.h"
#include "core/RecordStore.h"

#include <QStringList>
#include <cstdio>
#include <cstdlib>

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

// Whether both documents hold the same headers and texts in the same order, without building
// the entries: a fuzzer spends its time where the program does, not in its own checks.
inline bool sameEntries(const Document& one, const Document& other)
{
    const RecordStore& ones = one.records();
    const RecordStore& others = other.records();
    if (ones.count() != others.count())
        return false;
    for (int at = 0; at < ones.count(); ++at) {
        if (ones.headerPieceAt(at).toString() != others.headerPieceAt(at).toString() ||
            ones.textPiece(ones.recordIndexAt(at)).toString() !=
                others.textPiece(others.recordIndexAt(at)).toString())
            return false;
    }
    return true;
}

inline QByteArray saved(const Document& document, const TransferHeader& transferHeader)
{
    return document.fileBytes(transferHeader);
}

} // namespace fuzz

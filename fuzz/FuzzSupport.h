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

inline QByteArray saved(const Document& document, const TransferHeader& transferHeader)
{
    return document.fileBytes(transferHeader);
}

} // namespace fuzz

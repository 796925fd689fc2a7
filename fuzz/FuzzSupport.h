#pragma once

// What both fuzz targets share: a failure that stops the fuzzer, and a document written to a
// file and read back the way Save and Open do it.
#include "core/Document.h"
#include "core/RecordStore.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
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

inline QByteArray saved(Document& document, const TransferHeader& transferHeader)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("fuzz.df"));
    require(document.writeFile(path, transferHeader).isEmpty(), "the file is written");
    QFile file(path);
    require(file.open(QIODevice::ReadOnly), "the written file opens");
    return file.readAll();
}

} // namespace fuzz

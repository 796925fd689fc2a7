#pragma once

#include "core/DataFile.h"

class RecordStore;

// The data file procedures over the record store, apart from the window so that tests and
// benchmarks can run them on a store of their own.
namespace datafile {

struct StoreReading
{
    qsizetype recordsRead = 0;
    qsizetype recordsAdded = 0;
    // What the data field shows afterwards; nothing when no added record had text lines.
    std::optional<QString> shownText;
};

// Appends the file's records to the store in one batch, as many as it can still take.
StoreReading readIntoStore(RecordStore& store, QByteArrayView fileBytes);

// Sets `output` to the whole text of a file holding the store's records in list order, each
// text reached through its entry's record index.
void writeStore(QString& output, const RecordStore& store, const QString& asciiHeader,
                const QString& asciiText);

} // namespace datafile

#pragma once

#include "core/Document.h"
#include "core/RecordStore.h"

#include <QStringList>

// All a user sees of a document: its file, its caption, and each entry's header and text in
// list order.
inline QStringList stateOf(const Document& document)
{
    QStringList state{document.currentFileName(), document.caption()};
    const RecordStore& records = document.records();
    for (int position = 0; position < records.count(); ++position)
        state << records.headerAt(position) << records.recordText(records.recordIndexAt(position));
    return state;
}

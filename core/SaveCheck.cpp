#include "core/SaveCheck.h"

#include "core/RecordStore.h"

#include <QStringView>

namespace {

void markUnwritable(QStringView text, UnwritableContent& found)
{
    for (const QChar c : text) {
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
        UnwritableContent found;
        // Both are shared copies of the store's own strings: nothing is allocated per record.
        markUnwritable(store.headerAt(position), found);
        markUnwritable(store.recordText(store.recordIndexAt(position)), found);
        if (found.doubleQuote || found.beyondLatin1) {
            found.position = position;
            return found;
        }
    }
    return std::nullopt;
}

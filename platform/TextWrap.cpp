#include "platform/TextWrap.h"

namespace {

// The longest start of `line` that fits: measured whole, not character by character, so that
// kerning counts as it will on the page.
qsizetype fittingLength(QStringView line, qreal room, const TextAdvance& advance)
{
    if (advance(line) <= room)
        return line.size();
    qsizetype fits = 1;
    qsizetype tooLong = line.size();
    while (tooLong - fits > 1) {
        const qsizetype middle = fits + (tooLong - fits) / 2;
        if (advance(line.first(middle)) <= room)
            fits = middle;
        else
            tooLong = middle;
    }
    // The two halves of a character beyond U+FFFF stay together.
    if (line[fits - 1].isHighSurrogate() && fits < line.size())
        ++fits;
    return fits;
}

} // namespace

QList<qsizetype> wrappedRows(QStringView line, qreal room, const TextAdvance& advance)
{
    QList<qsizetype> rows;
    while (!line.isEmpty()) {
        qsizetype row = fittingLength(line, room, advance);
        if (row < line.size()) {
            const qsizetype space = line.first(row).lastIndexOf(u' ');
            if (space > 0)
                row = space + 1;
        }
        rows.append(row);
        line = line.sliced(row);
    }
    return rows;
}

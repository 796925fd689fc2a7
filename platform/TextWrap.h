#pragma once

#include <QList>
#include <QStringView>
#include <functional>

// How a line wider than its room goes on over the next rows: the length of each row, in order,
// adding up to the whole line, so that no character is lost. A row breaks after the last space
// that fits, else after as many characters as fit, and takes one character at least, so that
// every row gets on however narrow the room.
using TextAdvance = std::function<qreal(QStringView text)>;
QList<qsizetype> wrappedRows(QStringView line, qreal room, const TextAdvance& advance);

#pragma once

#include "core/CalculatorCode.h"

#include <QList>

class RecordStore;

namespace calculator {

// User memory without RAM cards: the 48S, 48SX and 48G have 32 KB, the 48GX 128 KB.
inline constexpr qint64 Memory32K = 32 * 1024;
inline constexpr qint64 Memory128K = 128 * 1024;

struct RecordSize
{
    int position = -1;
    qint64 bytes = 0;
};

// Something of a record that will not arrive as the user sees it.
struct CalculatorProblem
{
    enum class Kind {
        DoubleQuote,     // ends the calculator's string early
        NotOnCalculator, // a character beyond Latin-1, written as "?"
        StrayBackslash,  // starts no code, in a mode that reads codes
        CodeBeyondMode,  // a code the mode does not read, such as \200 in T(2)
    };
    int position = -1;
    Kind kind = Kind::DoubleQuote;
    bool inHeader = false;
    // Where it first stands in the header or the text as the store holds it.
    qsizetype offset = -1;
};

struct CalculatorReport
{
    ModeChoice mode;
    // The bytes the list of records takes in the calculator's memory.
    qint64 memory = 0;
    // The five largest records (fewer in a shorter list), largest first; of equal ones the
    // earlier in the list.
    QList<RecordSize> largest;
    // In list order; in a record, the header's before the text's.
    QList<CalculatorProblem> problems;
};

// What the calculator makes of the document once it is saved with `header`: records the user
// did not edit are looked at in the file's own bytes, as the save writes them.
CalculatorReport checkForCalculator(const RecordStore& records, const TransferHeader& header);

} // namespace calculator

#include "core/CalculatorCheck.h"

#include "core/RecordStore.h"

#include <algorithm>

namespace calculator {
namespace {

// Every object in the calculator's memory starts with a prolog of 5 nibbles. A string adds a
// length field of 5 nibbles and a byte per character: 5 bytes and its length. A list adds the
// objects in it and an end marker of 5 nibbles: 5 bytes and its objects.
constexpr qint64 ObjectOverhead = 5;
constexpr int LargestShown = 5;

Reception receivePiece(const RecordPiece& piece, int mode)
{
    return piece.edited ? receive(piece.text, mode) : receive(piece.bytes, mode);
}

void addProblems(QList<CalculatorProblem>& problems, int position, bool inHeader,
                 const Reception& reception)
{
    if (std::max({reception.doubleQuote, reception.notOnCalculator, reception.strayBackslash,
                  reception.codeBeyondMode}) < 0)
        return;
    using Kind = CalculatorProblem::Kind;
    const std::pair<Kind, qsizetype> found[] = {
        {Kind::DoubleQuote, reception.doubleQuote},
        {Kind::NotOnCalculator, reception.notOnCalculator},
        {Kind::StrayBackslash, reception.strayBackslash},
        {Kind::CodeBeyondMode, reception.codeBeyondMode},
    };
    for (const auto& [kind, offset] : found) {
        if (offset >= 0)
            problems.append({position, kind, inHeader, offset});
    }
}

} // namespace

CalculatorReport checkForCalculator(const RecordStore& records, const TransferHeader& header)
{
    CalculatorReport report;
    report.mode = modeChoice(header);
    const int mode = report.mode.mode;
    // The save writes a text under its header after a CR LF, which every mode but T(0)
    // receives as one LF; a record without text is its header alone.
    const qint64 lineEnd = mode == 0 ? 2 : 1;
    qint64 memory = ObjectOverhead;
    const int count = records.count();
    for (int position = 0; position < count; ++position) {
        const Reception head = receivePiece(records.headerPieceAt(position), mode);
        const RecordPiece textPiece = records.textPiece(records.recordIndexAt(position));
        qint64 size = ObjectOverhead + head.length;
        addProblems(report.problems, position, true, head);
        if (textPiece.size() > 0) {
            const Reception text = receivePiece(textPiece, mode);
            size += lineEnd + text.length;
            addProblems(report.problems, position, false, text);
        }
        memory += size;
        // Kept largest first; a later record of equal size stays behind the earlier.
        const auto at = std::upper_bound(
            report.largest.begin(), report.largest.end(), size,
            [](qint64 bytes, const RecordSize& shown) { return bytes > shown.bytes; });
        if (at - report.largest.begin() < LargestShown) {
            report.largest.insert(at, {position, size});
            if (report.largest.size() > LargestShown)
                report.largest.removeLast();
        }
    }
    report.memory = memory;
    return report;
}

} // namespace calculator

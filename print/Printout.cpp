#include "print/Printout.h"

#include "core/CalculatorCode.h"
#include "core/LineReader.h"
#include "platform/Printers.h"

#include <optional>

namespace {

const QString TwoEmptyLines = QStringLiteral("\r\n\r\n");
constexpr QChar Quote = u'"';

// Reads and prints the records, once the preamble has been skipped.
class RecordPrinter
{
public:
    RecordPrinter(LineReader& lines, Printer* printer, int shownMode)
        : m_lines(lines), m_printer(printer), m_shownMode(shownMode)
    {}

    PrintoutResult run()
    {
        while (!m_lines.atEnd()) {
            std::optional<QString> header;
            if (const std::optional<PrintoutResult> stop = readHeader(header))
                return *stop;
            if (!header->isEmpty() && !printAtIndent(*header))
                return PrintoutResult::PrinterFailed;
            if (const std::optional<PrintoutResult> stop = printText())
                return *stop;
        }
        return m_lines.failed() ? PrintoutResult::ReadFailed : PrintoutResult::Complete;
    }

private:
    // Prints the records without text that come first, and finds the header of the next record
    // that has text. Returns why reading must stop instead, if it must.
    std::optional<PrintoutResult> readHeader(std::optional<QString>& header)
    {
        for (;;) {
            const std::optional<QByteArrayView> bytes = m_lines.next();
            if (!bytes)
                return endOfFile();
            if (bytes->isEmpty())
                continue;
            if (*bytes == QByteArrayView("}"))
                return PrintoutResult::Complete;
            QString rest = printed(bytes->sliced(1));
            if (!rest.contains(Quote)) {
                header = rest;
                return std::nullopt;
            }
            rest.chop(1);
            if (!printAtIndent(rest + TwoEmptyLines))
                return PrintoutResult::PrinterFailed;
        }
    }

    // Prints a record's text lines up to the one holding the closing quote.
    std::optional<PrintoutResult> printText()
    {
        for (;;) {
            const std::optional<QByteArrayView> bytes = m_lines.next();
            if (!bytes)
                return endOfFile();
            QString line = printed(*bytes);
            const bool last = line.contains(Quote);
            if (last)
                line.chop(1);
            if (!printAtIndent(u'\t' + line + (last ? TwoEmptyLines : QString())))
                return PrintoutResult::PrinterFailed;
            if (last)
                return std::nullopt;
        }
    }

    // A file that ends inside a record prints as far as it goes, as the program reads it.
    PrintoutResult endOfFile() const
    {
        return m_lines.failed() ? PrintoutResult::ReadFailed : PrintoutResult::Complete;
    }

    // A line of the file as the page shows it.
    QString printed(QByteArrayView bytes) const
    {
        if (m_shownMode >= 0)
            return calculator::shownText(bytes, m_shownMode);
        QString text = QString::fromLatin1(bytes);
        for (qsizetype at = text.size() - 1; at >= 0; --at) {
            if (const int code = text[at].unicode(); code >= 128 && code <= 159) {
                const QStringView glyph = calculator::glyph(code);
                text.replace(at, 1, glyph.data(), glyph.size());
            }
        }
        return text;
    }

    bool printAtIndent(const QString& text)
    {
        if (!m_printer)
            return true;
        m_printer->setCurrentX(PrintoutLeftIndent);
        return m_printer->print(text);
    }

    LineReader& m_lines;
    Printer* m_printer;
    int m_shownMode;
};

} // namespace

bool printTitleLines(Printer& printer, const QString& fileTitle, const QString& date)
{
    printer.setCurrentX(PrintoutLeftIndent);
    printer.setCurrentY(PrintoutTopMargin);
    if (!printer.print(QStringLiteral("File name: ") + fileTitle))
        return false;
    printer.setCurrentX(PrintoutLeftIndent);
    return printer.print(QStringLiteral("Date: ") + date + TwoEmptyLines);
}

PrintoutResult printRecords(QIODevice& dataFile, Printer* printer, int shownMode)
{
    LineReader lines(dataFile);
    const int preamble = preambleLineCount(lines);
    if (lines.failed() || !lines.rewind())
        return PrintoutResult::ReadFailed;
    for (int skipped = 0; skipped < preamble; ++skipped)
        lines.next();
    return RecordPrinter(lines, printer, shownMode).run();
}

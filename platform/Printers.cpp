#include "platform/Printers.h"

#include "platform/TextWrap.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

namespace {

constexpr int TwipsPerInch = 1440;
// A tab moves on to the next half inch, so that record text stands clearly under its header.
constexpr int TabStopTwips = 720;

QString printerText(const char* text)
{
    return QCoreApplication::translate("Printer", text);
}

} // namespace

QtPrinter::QtPrinter(std::unique_ptr<QPrinter> printer) : m_printer(std::move(printer)) {}

QtPrinter::~QtPrinter()
{
    killDoc();
}

std::unique_ptr<QtPrinter> QtPrinter::toPdfFile(const QString& path)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    return std::make_unique<QtPrinter>(std::move(printer));
}

void QtPrinter::setFontName(const QString& name)
{
    m_font.setFamily(name);
    applyFont();
}

void QtPrinter::setFontSize(float points)
{
    m_font.setPointSizeF(points);
    applyFont();
}

void QtPrinter::setCurrentX(int twips)
{
    m_x = twips * qreal(m_printer->logicalDpiX()) / TwipsPerInch;
}

void QtPrinter::setCurrentY(int twips)
{
    m_y = twips * qreal(m_printer->logicalDpiY()) / TwipsPerInch;
}

bool QtPrinter::print(const QString& text)
{
    if (!openJob())
        return false;
    for (QStringView line : QStringView(text).split(u"\r\n")) {
        if (!printLine(line))
            return false;
    }
    return true;
}

bool QtPrinter::endDoc()
{
    if (!m_painter.isActive())
        return true;
    if (!m_painter.end() || m_printer->printerState() == QPrinter::Error)
        return fail(printerText("The printer could not finish the print job."));
    return true;
}

bool QtPrinter::killDoc()
{
    if (!m_painter.isActive())
        return true;
    // Not every print engine can withdraw a job (Qt's PDF and CUPS engines cannot); ending the
    // painter is then the only way to release the printer and the job's temporary file.
    const bool withdrawn = m_printer->abort();
    m_painter.end();
    return withdrawn;
}

QString QtPrinter::errorText() const
{
    return m_error;
}

bool QtPrinter::openJob()
{
    if (m_painter.isActive())
        return true;
    if (!m_painter.begin(m_printer.get())) {
        const QString target = m_printer->outputFileName().isEmpty() ? m_printer->printerName()
                                                                     : m_printer->outputFileName();
        return fail(printerText("The printer \"%1\" could not start a print job.").arg(target));
    }
    applyFont();
    return true;
}

// The text after the line's last tab goes on over as many rows as it needs, each further row
// starting where that text started, so that a long header or text line loses nothing.
bool QtPrinter::printLine(QStringView line)
{
    if (!roomForRow())
        return false;
    const qsizetype textAt = line.lastIndexOf(u'\t') + 1;
    const qreal indent = drawTabbed(line.first(textAt));
    const QStringView text = line.sliced(textAt);
    const auto advance = [this](QStringView piece) {
        return metrics().horizontalAdvance(piece.toString());
    };
    qsizetype at = 0;
    for (const qsizetype row : wrappedRows(text, m_printer->width() - indent, advance)) {
        if (at > 0) {
            nextRow();
            if (!roomForRow())
                return false;
        }
        m_painter.drawText(QPointF(indent, m_y + metrics().ascent()),
                           text.sliced(at, row).toString());
        at += row;
    }
    m_x = 0;
    nextRow();
    return true;
}

// A row that does not fit on the page goes to the top of a new one.
bool QtPrinter::roomForRow()
{
    if (m_y > 0 && m_y + metrics().lineSpacing() > m_printer->height()) {
        if (!m_printer->newPage())
            return fail(printerText("The printer could not start a new page."));
        m_y = 0;
    }
    return true;
}

void QtPrinter::nextRow()
{
    m_y += metrics().lineSpacing();
}

// Draws what stands before the line's last tab and returns where the text after it starts.
qreal QtPrinter::drawTabbed(QStringView tabbed)
{
    const qreal tabStop = TabStopTwips * qreal(m_printer->logicalDpiX()) / TwipsPerInch;
    const qreal baseline = m_y + metrics().ascent();
    qreal x = m_x;
    bool firstPart = true;
    for (QStringView part : tabbed.split(u'\t')) {
        if (!firstPart)
            x = (std::floor(x / tabStop) + 1) * tabStop;
        firstPart = false;
        if (part.isEmpty())
            continue;
        const QString partText = part.toString();
        m_painter.drawText(QPointF(x, baseline), partText);
        x += metrics().horizontalAdvance(partText);
    }
    return x;
}

void QtPrinter::applyFont()
{
    m_metrics.reset();
    if (m_painter.isActive())
        m_painter.setFont(m_font);
}

const QFontMetricsF& QtPrinter::metrics()
{
    if (!m_metrics)
        m_metrics.emplace(m_font, m_printer.get());
    return *m_metrics;
}

bool QtPrinter::fail(const QString& error)
{
    m_error = error;
    return false;
}

std::unique_ptr<Printer> QtPrinters::defaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QtPrinter>(std::make_unique<QPrinter>(info, QPrinter::HighResolution));
}

std::unique_ptr<Printer> QtPrinters::pdfPrinter(const QString& path)
{
    return QtPrinter::toPdfFile(path);
}

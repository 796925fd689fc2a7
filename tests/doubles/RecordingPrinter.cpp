#include "doubles/RecordingPrinter.h"

RecordingPrinter::RecordingPrinter(PrintJobRecord& record, int failAtPrint)
    : m_record(record), m_failAtPrint(failAtPrint)
{}

void RecordingPrinter::setFontName(const QString& name)
{
    m_record.fontName = name;
}

void RecordingPrinter::setFontSize(float points)
{
    m_record.fontSize = points;
}

bool RecordingPrinter::print(const QString& text)
{
    m_record.opened = true;
    if (++m_prints == m_failAtPrint)
        return false;
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        m_record.lines.append(PrintJobRecord::Line{m_x, m_y, line});
        m_x = 0;
        m_y += LineHeight;
    }
    return true;
}

bool RecordingPrinter::endDoc()
{
    m_record.ended = true;
    return true;
}

bool RecordingPrinter::killDoc()
{
    m_record.discarded = true;
    return true;
}

QString RecordingPrinter::errorText() const
{
    return QStringLiteral("The recording printer failed as told.");
}

std::unique_ptr<Printer> RecordingPrinters::defaultPrinter()
{
    if (!hasDefaultPrinter)
        return nullptr;
    jobs.append(std::make_shared<PrintJobRecord>());
    return std::make_unique<RecordingPrinter>(*jobs.last(), failAtPrint);
}

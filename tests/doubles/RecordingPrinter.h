#pragma once

#include "platform/Printers.h"

#include <QList>
#include <QString>
#include <memory>

// What one printer handed out by RecordingPrinters was asked to do.
struct PrintJobRecord
{
    // One printed line: the position it started at (twips) and its text.
    struct Line
    {
        int x;
        int y;
        QString text;
    };

    QString fontName;
    float fontSize = 0;
    QList<Line> lines;
    bool opened = false;
    bool ended = false;
    bool discarded = false;
};

// A printer that records every line instead of drawing it. Each line is a fixed 240 twips high
// and there are no pages, so positions can be checked exactly. It fails at the print() call
// numbered `failAtPrint` (from 1; 0 for never).
class RecordingPrinter final : public Printer
{
public:
    RecordingPrinter(PrintJobRecord& record, int failAtPrint) : m_job(record), m_failAt(failAtPrint)
    {}

    void setFontName(const QString& name) override { m_job.fontName = name; }
    void setFontSize(float points) override { m_job.fontSize = points; }
    void setCurrentX(int twips) override { m_x = twips; }
    void setCurrentY(int twips) override { m_y = twips; }
    bool print(const QString& text) override
    {
        m_job.opened = true;
        if (++m_prints == m_failAt)
            return false;
        for (const QString& line : text.split(QStringLiteral("\r\n"))) {
            m_job.lines.append({std::exchange(m_x, 0), m_y, line});
            m_y += 240;
        }
        return true;
    }
    bool endDoc() override { return m_job.ended = true; }
    bool killDoc() override { return m_job.discarded = true; }
    QString errorText() const override
    {
        return QStringLiteral("The recording printer failed as told.");
    }

private:
    PrintJobRecord& m_job;
    int m_failAt;
    int m_prints = 0;
    int m_x = 0;
    int m_y = 0;
};

// Hands out recording printers, or none when told that there is no default printer.
class RecordingPrinters final : public Printers
{
public:
    std::unique_ptr<Printer> defaultPrinter() override
    {
        if (!hasDefaultPrinter)
            return nullptr;
        jobs.append(std::make_shared<PrintJobRecord>());
        return std::make_unique<RecordingPrinter>(*jobs.last(), failAtPrint);
    }

    // A real PDF printer: what an export writes is checked in the file.
    std::unique_ptr<Printer> pdfPrinter(const QString& path) override
    {
        return QtPrinter::toPdfFile(path);
    }

    bool hasDefaultPrinter = true;
    int failAtPrint = 0;
    // One record for each printer handed out, in order.
    QList<std::shared_ptr<PrintJobRecord>> jobs;
};

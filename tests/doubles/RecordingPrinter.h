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
// and there are no pages, so positions can be checked exactly. It can be told to fail.
class RecordingPrinter final : public Printer
{
public:
    // `failAtPrint`: the number of the print() call (from 1) that fails; 0 for none.
    RecordingPrinter(PrintJobRecord& record, int failAtPrint);

    void setFontName(const QString& name) override;
    void setFontSize(float points) override;
    void setCurrentX(int twips) override { m_x = twips; }
    void setCurrentY(int twips) override { m_y = twips; }
    bool print(const QString& text) override;
    bool endDoc() override;
    bool killDoc() override;
    QString errorText() const override;

private:
    static constexpr int LineHeight = 240;

    PrintJobRecord& m_record;
    int m_failAtPrint;
    int m_prints = 0;
    int m_x = 0;
    int m_y = 0;
};

// Hands out recording printers, or none when told that there is no default printer.
class RecordingPrinters final : public Printers
{
public:
    std::unique_ptr<Printer> defaultPrinter() override;

    bool hasDefaultPrinter = true;
    int failAtPrint = 0;
    // One record for each printer handed out, in order.
    QList<std::shared_ptr<PrintJobRecord>> jobs;
};

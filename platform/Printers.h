#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QString>
#include <memory>
#include <optional>

class QPrinter;

// One printout on one printer, as the Print command drives it. Positions are in twips from the
// top-left corner of the printable area. The first text printed opens the print job; until
// then nothing reaches the printer.
class Printer
{
public:
    virtual ~Printer() = default;

    virtual void setFontName(const QString& name) = 0;
    virtual void setFontSize(float points) = 0;
    virtual void setCurrentX(int twips) = 0;
    virtual void setCurrentY(int twips) = 0;

    // Prints `text` from the current position and ends the line; each CR LF inside it starts
    // a new line. A line wider than the page goes on over the next rows, indented as far as the
    // text after its last tab; a row that does not fit on the page goes to the top of a new one.
    // Afterwards
    // the position is at the start of the next line. False when the printer failed.
    virtual bool print(const QString& text) = 0;
    // Sends the pages printed so far as one job. False when the printer failed.
    virtual bool endDoc() = 0;
    // Gives up an unfinished job and releases the printer. False when the pages printed so far
    // could not be withdrawn and may still come out of the printer.
    virtual bool killDoc() = 0;
    // What went wrong, after print() or endDoc() returned false.
    virtual QString errorText() const = 0;
};

class Printers
{
public:
    virtual ~Printers() = default;

    // The platform's default printer, or nullptr when there is none.
    virtual std::unique_ptr<Printer> defaultPrinter() = 0;
    // A printer that writes its pages to a PDF file at `path`; it needs no printer.
    virtual std::unique_ptr<Printer> pdfPrinter(const QString& path) = 0;
};

class QtPrinter final : public Printer
{
public:
    explicit QtPrinter(std::unique_ptr<QPrinter> printer);
    ~QtPrinter() override;

    // A printer that writes a PDF file instead of going to a printer.
    static std::unique_ptr<QtPrinter> toPdfFile(const QString& path);

    void setFontName(const QString& name) override;
    void setFontSize(float points) override;
    void setCurrentX(int twips) override;
    void setCurrentY(int twips) override;
    bool print(const QString& text) override;
    bool endDoc() override;
    bool killDoc() override;
    QString errorText() const override;

private:
    bool openJob();
    bool printLine(QStringView line);
    bool roomForRow();
    void nextRow();
    qreal drawTabbed(QStringView tabbed);
    bool fail(const QString& error);
    void applyFont();
    const QFontMetricsF& metrics();

    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    QFont m_font;
    // Measured once for each font rather than for every line.
    std::optional<QFontMetricsF> m_metrics;
    // The current position, in the printer's own units.
    qreal m_x = 0;
    qreal m_y = 0;
    QString m_error;
};

class QtPrinters final : public Printers
{
public:
    std::unique_ptr<Printer> defaultPrinter() override;
    std::unique_ptr<Printer> pdfPrinter(const QString& path) override;
};

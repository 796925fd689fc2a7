#include "platform/Printers.h"
#include "print/Printout.h"

#include <QBuffer>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The real printer layer printing to PDF, read back by poppler in points (72 to the inch).
class PdfPrinterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void printsOverSeveralPages();
};

static QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Title lines and 40 records in Liberation Mono 20: the first line half an inch from the top and
// one inch from the left of the printable area, text a tab further in, over several pages.
void PdfPrinterTest::printsOverSeveralPages()
{
    if (QStandardPaths::findExecutable("pdffonts").isEmpty())
        QSKIP("pdftotext and pdffonts (poppler-utils) are needed: run scripts/setup.sh --test");
    QByteArray file("{\r\n");
    QStringList expected;
    for (int record = 1; record <= 40; ++record) {
        expected << QStringLiteral("Record%1 line%1a line%1b").arg(record).split(u' ');
        file += QStringLiteral("\"Record%1\r\nline%1a\r\nline%1b\"\r\n").arg(record).toLatin1();
    }
    file += "}\r\n";
    QBuffer buffer(&file);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QTemporaryDir folder;
    const QString pdf = folder.filePath("out.pdf");
    const auto printer = QtPrinter::toPdfFile(pdf);
    printer->setFontName("Liberation Mono");
    printer->setFontSize(20);
    QVERIFY(printTitleLines(*printer, "LONG.DF", "today"));
    QCOMPARE(printRecords(buffer, printer.get()), PrintoutResult::Complete);
    QVERIFY(printer->endDoc());
    QVERIFY(run("pdffonts", {pdf}).contains("LiberationMono"));

    QPrinter reference(QPrinter::HighResolution);
    reference.setOutputFormat(QPrinter::PdfFormat);
    const QRectF printable = reference.pageLayout().paintRectPoints();
    const QString words = run("pdftotext", {"-bbox", pdf, "-"});
    QVERIFY(words.count("<page ") >= 3);
    static const QRegularExpression word(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"([\\d.]+)\">([^<]*)<");
    QStringList records;
    bool first = true;
    for (const QRegularExpressionMatch& match : word.globalMatch(words)) {
        const qreal left = match.captured(1).toDouble() - printable.left();
        const QString text = match.captured(4);
        QVERIFY(match.captured(3).toDouble() <= printable.bottom() + 1);
        if (std::exchange(first, false))
            QVERIFY2(text == "File" && qAbs(left - 72) < 1.0 &&
                         qAbs(match.captured(2).toDouble() - printable.top() - 36) < 1.5,
                     qPrintable(text));
        if (text.startsWith("Record") || text.startsWith("line")) {
            records << text;
            QVERIFY2(qAbs(left - (text.startsWith("Record") ? 72 : 108)) < 1.0, qPrintable(text));
        }
    }
    QCOMPARE(records, expected);
}

QTEST_MAIN(PdfPrinterTest)
#include "tst_pdfprinter.moc"

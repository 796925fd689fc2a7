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
    void initTestCase();
    void printout_data();
    void printout();
    void unwritableOutputIsAPrinterError();

private:
    struct Word
    {
        int page;
        QRectF box;
        QString text;
    };
    static QString run(const QString& program, const QStringList& arguments);
    static QList<Word> wordsOf(const QString& pdf);

    QTemporaryDir m_folder;
    // The printable area on the page, in points.
    QRectF m_printable;
};

void PdfPrinterTest::initTestCase()
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty() ||
        QStandardPaths::findExecutable("pdffonts").isEmpty())
        QSKIP("pdftotext and pdffonts (poppler-utils) are needed: run scripts/setup.sh --test");
    QPrinter reference(QPrinter::HighResolution);
    reference.setOutputFormat(QPrinter::PdfFormat);
    m_printable = reference.pageLayout().paintRectPoints();
}

QString PdfPrinterTest::run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QList<PdfPrinterTest::Word> PdfPrinterTest::wordsOf(const QString& pdf)
{
    static const QRegularExpression tag(
        "<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
        "yMax=\"([\\d.]+)\">([^<]*)</word>");
    QList<Word> words;
    int page = 0;
    for (const QRegularExpressionMatch& match :
         tag.globalMatch(run("pdftotext", {"-bbox", pdf, "-"}))) {
        if (match.captured(0) == QLatin1String("<page ")) {
            ++page;
            continue;
        }
        const QPointF topLeft(match.captured(1).toDouble(), match.captured(2).toDouble());
        const QPointF bottomRight(match.captured(3).toDouble(), match.captured(4).toDouble());
        words.append(Word{page, QRectF(topLeft, bottomRight), match.captured(5)});
    }
    return words;
}

void PdfPrinterTest::printout_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<float>("points");
    QTest::addColumn<QString>("pdfFontName");

    QTest::newRow("DejaVu Sans 11") << "DejaVu Sans" << 11.0f << "DejaVuSans";
    QTest::newRow("Liberation Mono 20") << "Liberation Mono" << 20.0f << "LiberationMono";
}

// Title lines and 40 records: the first line half an inch from the top and one inch from the
// left of the printable area, text a tab further in, and every record over several pages.
void PdfPrinterTest::printout()
{
    QFETCH(QString, family);
    QFETCH(float, points);
    QFETCH(QString, pdfFontName);
    QByteArray file("{\r\n");
    QStringList expected;
    for (int record = 1; record <= 40; ++record) {
        expected << QStringLiteral("Record%1 line%1a line%1b").arg(record).split(u' ');
        file += QStringLiteral("\"Record%1\r\nline%1a\r\nline%1b\"\r\n").arg(record).toLatin1();
    }
    file += "}\r\n";
    QBuffer buffer(&file);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    const QString pdf = m_folder.filePath(QTest::currentDataTag() + QStringLiteral(".pdf"));
    {
        const auto printer = QtPrinter::toPdfFile(pdf);
        printer->setFontName(family);
        printer->setFontSize(points);
        QVERIFY(printTitleLines(*printer, "LONG.DF", "today"));
        QCOMPARE(FilePrint(buffer, printer.get()), PrintoutResult::Complete);
        QVERIFY(printer->endDoc());
    }
    QVERIFY(run("pdffonts", {pdf}).contains(pdfFontName));

    const QList<Word> words = wordsOf(pdf);
    QVERIFY(!words.isEmpty());
    const Word& first = words.constFirst();
    QCOMPARE(first.text, QStringLiteral("File"));
    QVERIFY(qAbs(first.box.left() - (m_printable.left() + 72)) < 1.0);
    QVERIFY(qAbs(first.box.top() - (m_printable.top() + 36)) < 1.5);
    QVERIFY(first.box.height() > 0.9 * points && first.box.height() < 1.4 * points);
    QStringList records;
    int page = 1;
    for (const Word& word : words) {
        QVERIFY(word.box.bottom() <= m_printable.bottom() + 1);
        if (word.text.startsWith("Record") || word.text.startsWith("line")) {
            records << word.text;
            const qreal indent = word.text.startsWith("Record") ? 72 : 108;
            QVERIFY(qAbs(word.box.left() - (m_printable.left() + indent)) < 1.0);
        }
        // A new page starts at the top of the printable area, perhaps with the empty lines
        // that end a record.
        if (word.page != page) {
            page = word.page;
            const qreal lines = (word.box.top() - m_printable.top()) / first.box.height();
            QVERIFY(lines < 2.5 && qAbs(lines - qRound(lines)) < 0.1);
        }
    }
    QVERIFY(page >= 3);
    QCOMPARE(records, expected);
}

void PdfPrinterTest::unwritableOutputIsAPrinterError()
{
    const auto printer = QtPrinter::toPdfFile(m_folder.filePath("no-such-folder/out.pdf"));
    printer->setCurrentY(PrintoutTopMargin);
    QVERIFY(!printer->print("text"));
    QVERIFY(printer->errorText().contains("could not start"));
    QVERIFY(printer->killDoc());
}

QTEST_MAIN(PdfPrinterTest)
#include "tst_pdfprinter.moc"

#include "platform/Printers.h"
#include "print/Printout.h"

#include <QBuffer>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The real printer layer, printing to a PDF file that poppler reads back with positions in
// points (72 to the inch).
class PdfPrinterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void firstLineSitsAtTheMarginsOfThePrintableArea();
    void fontAskedFor_data();
    void fontAskedFor();
    void longDocumentRunsOntoFurtherPagesWithTheIndentKept();
    void unwritableOutputIsAPrinterError();

private:
    struct Word
    {
        int page;
        QRectF box;
        QString text;
    };
    QList<Word> wordsOf(const QString& pdf);
    QString pathOf(const QString& name) const { return m_folder->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_folder;
    // The printable area on the page, in points.
    QRectF m_printable;
};

void PdfPrinterTest::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdffonts")).isEmpty())
        QSKIP("pdftotext and pdffonts (poppler-utils) are needed: run scripts/setup.sh --test");
    QPrinter reference(QPrinter::HighResolution);
    reference.setOutputFormat(QPrinter::PdfFormat);
    m_printable = reference.pageLayout().paintRectPoints();
}

void PdfPrinterTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

QList<PdfPrinterTest::Word> PdfPrinterTest::wordsOf(const QString& pdf)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!pdftotext.waitForFinished() || pdftotext.exitCode() != 0) {
        qWarning() << pdftotext.readAllStandardError();
        return {};
    }
    static const QRegularExpression tag(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<Word> words;
    int page = 0;
    const QString html = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (const QRegularExpressionMatch& match : tag.globalMatch(html)) {
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

void PdfPrinterTest::firstLineSitsAtTheMarginsOfThePrintableArea()
{
    const QString pdf = pathOf(QStringLiteral("title.pdf"));
    {
        const auto printer = QtPrinter::toPdfFile(pdf);
        printer->setFontName(QStringLiteral("DejaVu Sans"));
        printer->setFontSize(12);
        QVERIFY(printTitleLines(*printer, QStringLiteral("LIST.DF"), QStringLiteral("6/12/26")));
        printer->setCurrentX(PrintoutLeftIndent);
        QVERIFY(printer->print(QStringLiteral("\tindented")));
        QVERIFY(printer->endDoc());
    }
    const QList<Word> words = wordsOf(pdf);
    QVERIFY(words.size() >= 5);
    // One inch from the left, half an inch from the top of the printable area.
    QCOMPARE(words.at(0).text, QStringLiteral("File"));
    QVERIFY2(qAbs(words.at(0).box.left() - (m_printable.left() + 72)) < 1.0,
             qPrintable(QString::number(words.at(0).box.left())));
    QVERIFY2(qAbs(words.at(0).box.top() - (m_printable.top() + 36)) < 1.5,
             qPrintable(QString::number(words.at(0).box.top())));
    // The date line starts at the indent on the next line; the tab moves on by half an inch.
    const Word& date = words.at(3);
    QCOMPARE(date.text, QStringLiteral("Date:"));
    QVERIFY(qAbs(date.box.left() - (m_printable.left() + 72)) < 1.0);
    QVERIFY(date.box.top() > words.at(0).box.bottom() - 1);
    const Word& indented = words.constLast();
    QCOMPARE(indented.text, QStringLiteral("indented"));
    QVERIFY2(qAbs(indented.box.left() - (m_printable.left() + 108)) < 1.0,
             qPrintable(QString::number(indented.box.left())));
    // Two empty lines after the date line.
    QVERIFY(indented.box.top() - date.box.top() > 2.5 * date.box.height());
}

void PdfPrinterTest::fontAskedFor_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<float>("points");
    QTest::addColumn<QString>("pdfFontName");

    QTest::newRow("DejaVu Sans 11")
        << QStringLiteral("DejaVu Sans") << 11.0f << QStringLiteral("DejaVuSans");
    QTest::newRow("Liberation Mono 20")
        << QStringLiteral("Liberation Mono") << 20.0f << QStringLiteral("LiberationMono");
}

void PdfPrinterTest::fontAskedFor()
{
    QFETCH(QString, family);
    QFETCH(float, points);
    QFETCH(QString, pdfFontName);

    const QString pdf = pathOf(QStringLiteral("font.pdf"));
    {
        const auto printer = QtPrinter::toPdfFile(pdf);
        printer->setFontName(family);
        printer->setFontSize(points);
        printer->setCurrentY(PrintoutTopMargin);
        QVERIFY(printer->print(QStringLiteral("Mixing")));
        QVERIFY(printer->endDoc());
    }
    QProcess pdffonts;
    pdffonts.start(QStringLiteral("pdffonts"), {pdf});
    QVERIFY(pdffonts.waitForFinished());
    const QString fonts = QString::fromUtf8(pdffonts.readAllStandardOutput());
    QVERIFY2(fonts.contains(pdfFontName), qPrintable(fonts));

    const QList<Word> words = wordsOf(pdf);
    QCOMPARE(words.size(), 1);
    // A word with ascenders and descenders stands about as high as the font's size.
    const qreal height = words.at(0).box.height();
    QVERIFY2(height > 0.9 * points && height < 1.4 * points, qPrintable(QString::number(height)));
}

void PdfPrinterTest::longDocumentRunsOntoFurtherPagesWithTheIndentKept()
{
    QByteArray file("{\r\n");
    for (int record = 1; record <= 40; ++record)
        file += QStringLiteral("\"Record%1\r\nline%1a\r\nline%1b\"\r\n").arg(record).toLatin1();
    file += "}\r\n";
    QBuffer buffer(&file);
    QVERIFY(buffer.open(QIODevice::ReadOnly));

    const QString pdf = pathOf(QStringLiteral("long.pdf"));
    {
        const auto printer = QtPrinter::toPdfFile(pdf);
        printer->setFontName(QStringLiteral("DejaVu Sans"));
        printer->setFontSize(11);
        QVERIFY(printTitleLines(*printer, QStringLiteral("LONG.DF"), QStringLiteral("today")));
        QCOMPARE(FilePrint(buffer, printer.get()), PrintoutResult::Complete);
        QVERIFY(printer->endDoc());
    }
    const QList<Word> words = wordsOf(pdf);
    QVERIFY(!words.isEmpty());
    QVERIFY2(words.constLast().page >= 3, qPrintable(QString::number(words.constLast().page)));
    // Every word of the records: nothing lost across pages, in order.
    QStringList printed;
    for (const Word& word : words)
        if (word.text.startsWith(QLatin1String("Record")) || word.text.startsWith(u'l'))
            printed << word.text;
    QCOMPARE(printed.size(), 120);
    QCOMPARE(printed.constLast(), QStringLiteral("line40b"));

    for (int page = 2; page <= words.constLast().page; ++page) {
        const auto first = std::find_if(words.cbegin(), words.cend(),
                                        [page](const Word& word) { return word.page == page; });
        QVERIFY(first != words.cend());
        // A new page starts at the top of the printable area, and keeps the left indent.
        QVERIFY2(qAbs(first->box.top() - m_printable.top()) < 2.0,
                 qPrintable(QString::number(first->box.top())));
        const qreal indent = first->text.startsWith(QLatin1String("Record")) ? 72 : 108;
        QVERIFY2(qAbs(first->box.left() - (m_printable.left() + indent)) < 1.0,
                 qPrintable(first->text + u' ' + QString::number(first->box.left())));
    }
    for (const Word& word : words)
        QVERIFY(word.box.bottom() <= m_printable.bottom() + 1);
}

void PdfPrinterTest::unwritableOutputIsAPrinterError()
{
    const auto printer = QtPrinter::toPdfFile(pathOf(QStringLiteral("no-such-folder/out.pdf")));
    printer->setCurrentY(PrintoutTopMargin);
    QVERIFY(!printer->print(QStringLiteral("text")));
    QVERIFY(printer->errorText().contains(QStringLiteral("could not start")));
    QVERIFY(printer->killDoc());
}

QTEST_MAIN(PdfPrinterTest)
#include "tst_pdfprinter.moc"

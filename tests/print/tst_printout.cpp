#include "doubles/RecordingPrinter.h"
#include "print/DataFileLineReader.h"
#include "print/Printout.h"

#include <QBuffer>
#include <QTest>

// How the printout lays out the lines of a saved data file, checked on a recording printer:
// which lines are headers, which are text, where the empty lines go, and what is skipped.
class PrintoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout_data();
    void layout();
    void titleLinesStartAtTheTopMargin();
    void printerFailureStopsThePrintout();
    void readFailureIsReported();
    void lineEnds_data();
    void lineEnds();
    void crLfSplitAcrossBlocksIsOneLineEnd();
};

namespace {

// A line printed at the left indent, and one that follows a line end inside the same text.
QString atIndent(const QString& text)
{
    return QStringLiteral("1440|") + text;
}

QString following(const QString& text)
{
    return QStringLiteral("0|") + text;
}

QStringList printed(const PrintJobRecord& record)
{
    QStringList result;
    for (const PrintJobRecord::Line& line : record.lines)
        result << QString::number(line.x) + u'|' + line.text;
    return result;
}

const QStringList TwoEmptyLines{following(QString()), following(QString())};

// Hands out its bytes, then reports a read error.
class FailingDevice final : public QIODevice
{
public:
    explicit FailingDevice(QByteArray bytes) : m_bytes(std::move(bytes)) { open(ReadOnly); }
    bool isSequential() const override { return false; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 left = m_bytes.size() - pos();
        if (left <= 0)
            return -1;
        const qint64 count = qMin(left, maxSize);
        memcpy(data, m_bytes.constData() + pos(), size_t(count));
        return count;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
};

} // namespace

void PrintoutTest::layout_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("expected");

    const QStringList example =
        QStringList{atIndent("Shopping"), atIndent("\tmilk"), atIndent("\teggs")} + TwoEmptyLines +
        QStringList{atIndent("Notes")} + TwoEmptyLines;
    const QByteArray exampleList = "{\r\n\"Shopping\r\nmilk\r\neggs\"\r\n\"Notes\"\r\n}\r\n";
    QTest::newRow("records with and without text") << exampleList << example;
    QTest::newRow("transfer header line") << "%%HP: T(3)A(D)F(.);\r\n" + exampleList << example;
    QTest::newRow("transfer header not starting with %")
        << "HP48 text\r\n" + exampleList << example;
    QTest::newRow("empty transfer header line") << "\r\n" + exampleList << example;
    QTest::newRow("transfer header of two lines") << "%%HP\r\nT(3)\r\n" + exampleList << example;
    QTest::newRow("no list around the records")
        << QByteArray("\"Shopping\r\nmilk\r\neggs\"\r\n\"Notes\"\r\n") << example;
    QTest::newRow("CR alone ends lines")
        << QByteArray(exampleList).replace("\r\n", "\r") << example;

    QTest::newRow("empty list") << QByteArray("{\r\n\r\n}\r\n") << QStringList();
    QTest::newRow("text ending in a line break")
        << QByteArray("{\r\n\"H\r\nline\r\n\"\r\n}\r\n")
        << QStringList{atIndent("H"), atIndent("\tline"), atIndent("\t")} + TwoEmptyLines;
    QTest::newRow("} and empty lines inside a text")
        << QByteArray("{\r\n\"H\r\n}\r\n\r\nlast\"\r\n}\r\n")
        << QStringList{atIndent("H"), atIndent("\t}"), atIndent("\t"), atIndent("\tlast")} +
               TwoEmptyLines;
    QTest::newRow("double quote inside a text line")
        << QByteArray("{\r\n\"H\r\nsay \"hi\" now\r\nrest\"\r\n}\r\n")
        << QStringList{atIndent("H"), atIndent("\tsay \"hi\" no")} + TwoEmptyLines +
               QStringList{atIndent("est")} + TwoEmptyLines;
    QTest::newRow("headers untrimmed")
        << QByteArray("{\r\n\"  Spaced  \r\ntext\"\r\n\"  Alone \"\r\n}\r\n")
        << QStringList{atIndent("  Spaced  "), atIndent("\ttext")} + TwoEmptyLines +
               QStringList{atIndent("  Alone ")} + TwoEmptyLines;
    QTest::newRow("empty header over a text") << QByteArray("{\r\n\"\r\norphan\"\r\n}\r\n")
                                              << QStringList{atIndent("\torphan")} + TwoEmptyLines;
    QTest::newRow("LF alone stays in the line")
        << QByteArray("{\r\n\"A\nB\r\nx\ny\"\r\n}\r\n")
        << QStringList{atIndent("A\nB"), atIndent("\tx\ny")} + TwoEmptyLines;
    QTest::newRow("Latin-1 bytes")
        << QByteArray("{\r\n\"Caf\xe9\"\r\n}\r\n")
        << QStringList{atIndent(QStringLiteral("Caf\u00e9"))} + TwoEmptyLines;
    QTest::newRow("lines after } are not printed")
        << QByteArray("{\r\n\"A\"\r\n}\r\n\"B\"\r\n") << QStringList{atIndent("A")} + TwoEmptyLines;
    QTest::newRow("file ends inside a text")
        << QByteArray("{\r\n\"H\r\nunfinished")
        << QStringList{atIndent("H"), atIndent("\tunfinished")};
}

void PrintoutTest::layout()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, expected);

    QBuffer buffer(&file);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QCOMPARE(FilePrint(buffer, nullptr), PrintoutResult::Complete);

    PrintJobRecord record;
    RecordingPrinter printer(record, 0);
    QCOMPARE(FilePrint(buffer, &printer), PrintoutResult::Complete);
    QCOMPARE(printed(record), expected);
}

void PrintoutTest::titleLinesStartAtTheTopMargin()
{
    PrintJobRecord record;
    RecordingPrinter printer(record, 0);
    QVERIFY(printTitleLines(printer, QStringLiteral("LIST.DF"), QStringLiteral("5/6/26")));
    QCOMPARE(printed(record),
             QStringList({atIndent("File name: LIST.DF"), atIndent("Date: 5/6/26")}) +
                 TwoEmptyLines);
    QCOMPARE(record.lines.first().y, 720);
}

void PrintoutTest::printerFailureStopsThePrintout()
{
    QByteArray file("{\r\n\"A\"\r\n\"B\"\r\n\"C\"\r\n}\r\n");
    QBuffer buffer(&file);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    PrintJobRecord record;
    RecordingPrinter printer(record, 2);
    QCOMPARE(FilePrint(buffer, &printer), PrintoutResult::PrinterFailed);
    QCOMPARE(printed(record), QStringList{atIndent("A")} + TwoEmptyLines);
}

void PrintoutTest::readFailureIsReported()
{
    FailingDevice device("{\r\n\"A\r\ntext");
    QCOMPARE(FilePrint(device, nullptr), PrintoutResult::ReadFailed);
}

void PrintoutTest::lineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("CR alone") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("LF alone is text") << QByteArray("a\nb\r\n") << QStringList{"a\nb"};
    QTest::newRow("LF CR") << QByteArray("a\n\rb") << QStringList{"a\n", "b"};
    QTest::newRow("last line without an end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("empty lines") << QByteArray("\r\n\r\r\n") << QStringList{"", "", ""};
}

void PrintoutTest::lineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);

    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    DataFileLineReader reader(buffer);
    QStringList read;
    while (!reader.atEnd())
        read << *reader.readLine();
    QCOMPARE(read, lines);
    QVERIFY(!reader.readLine());
    QVERIFY(!reader.failed());
}

void PrintoutTest::crLfSplitAcrossBlocksIsOneLineEnd()
{
    // The reader takes the file in blocks of 64 KiB; put a CR LF across the first boundary, and
    // a line much longer than a block after it.
    QByteArray bytes(64 * 1024 - 1, 'a');
    bytes += "\r\n";
    const QByteArray longLine(200 * 1024, 'b');
    bytes += longLine + "\rc";
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    DataFileLineReader reader(buffer);
    QCOMPARE(reader.readLine()->size(), 64 * 1024 - 1);
    QCOMPARE(*reader.readLine(), QString::fromLatin1(longLine));
    QCOMPARE(*reader.readLine(), QStringLiteral("c"));
    QVERIFY(reader.atEnd());
}

QTEST_GUILESS_MAIN(PrintoutTest)
#include "tst_printout.moc"

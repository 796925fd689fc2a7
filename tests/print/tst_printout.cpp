#include "doubles/RecordingPrinter.h"
#include "print/DataFileLineReader.h"
#include "print/Printout.h"

#include <QBuffer>
#include <QTest>

// How a saved data file is laid out on the page, and how its lines are read.
class PrintoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout_data();
    void layout();
    void readFailureIsReported();
    void lineEnds_data();
    void lineEnds();
};

namespace {

// Lines as "x|text": one record's header, its text lines after a tab, two empty lines.
QStringList record(const QString& header, const QStringList& text = {})
{
    QStringList lines{"1440|" + header};
    for (const QString& line : text)
        lines << "1440|\t" + line;
    return lines << "0|"
                 << "0|";
}

// Hands out its bytes, then reports a read error.
class FailingBuffer final : public QBuffer
{
protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 count = QBuffer::readData(data, maxSize);
        return count > 0 ? count : -1;
    }
};

} // namespace

void PrintoutTest::layout_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("expected");

    const QByteArray list = "{\r\n\"Shopping\r\nmilk\r\neggs\"\r\n\"Notes\"\r\n}\r\n";
    const QStringList example = record("Shopping", {"milk", "eggs"}) + record("Notes");
    QTest::newRow("records with and without text") << list << example;
    QTest::newRow("transfer header line") << "%%HP: T(3)A(D)F(.);\r\n" + list << example;
    QTest::newRow("transfer header of two lines") << "%%HP\r\nT(3)\r\n" + list << example;
    QTest::newRow("no list around the records")
        << QByteArray("\"Shopping\r\nmilk\r\neggs\"\r\n\"Notes\"\r\n") << example;
    QTest::newRow("empty list") << QByteArray("{\r\n\r\n}\r\n") << QStringList();
    QTest::newRow("text ending in a line break")
        << QByteArray("{\r\n\"H\r\nline\r\n\"\r\n}\r\n") << record("H", {"line", ""});
    QTest::newRow("} and empty lines inside a text")
        << QByteArray("{\r\n\"H\r\n}\r\n\r\nlast\"\r\n}\r\n") << record("H", {"}", "", "last"});
    QTest::newRow("double quote inside a text line")
        << QByteArray("{\r\n\"H\r\nsay \"hi\" now\r\nrest\"\r\n}\r\n")
        << record("H", {"say \"hi\" no"}) + record("est");
    QTest::newRow("headers untrimmed")
        << QByteArray("{\r\n\"  Spaced  \r\ntext\"\r\n\"  Alone \"\r\n}\r\n")
        << record("  Spaced  ", {"text"}) + record("  Alone ");
    QTest::newRow("lines after } are not printed")
        << QByteArray("{\r\n\"A\"\r\n}\r\n\"B\"\r\n") << record("A");
    QTest::newRow("file ends inside a text")
        << QByteArray("{\r\n\"H\r\nunfinished") << QStringList{"1440|H", "1440|\tunfinished"};
}

void PrintoutTest::layout()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, expected);
    QBuffer buffer(&file);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QCOMPARE(FilePrint(buffer, nullptr), PrintoutResult::Complete);

    PrintJobRecord job;
    RecordingPrinter printer(job, 0);
    QCOMPARE(FilePrint(buffer, &printer), PrintoutResult::Complete);
    QStringList printed;
    for (const PrintJobRecord::Line& line : job.lines)
        printed << QString::number(line.x) + u'|' + line.text;
    QCOMPARE(printed, expected);
}

void PrintoutTest::readFailureIsReported()
{
    FailingBuffer device;
    device.setData("{\r\n\"A\r\ntext");
    QVERIFY(device.open(QIODevice::ReadOnly));
    QCOMPARE(FilePrint(device, nullptr), PrintoutResult::ReadFailed);
}

void PrintoutTest::lineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    const QByteArray block(64 * 1024 - 1, 'a');
    const QByteArray longLine(200 * 1024, 'b');
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("CR LF, CR alone, no end")
        << QByteArray("a\r\nb\rc") << QStringList{"a", "b", "c"};
    QTest::newRow("LF alone is text") << QByteArray("a\nb\r\n\n\r") << QStringList{"a\nb", "\n"};
    QTest::newRow("empty lines") << QByteArray("\r\n\r\r\n") << QStringList{"", "", ""};
    QTest::newRow("Latin-1") << QByteArray("Caf\xe9") << QStringList{QStringLiteral("Caf\u00e9")};
    QTest::newRow("CR LF across blocks, line longer than a block")
        << block + "\r\n" + longLine + "\rc"
        << QStringList{QString::fromLatin1(block), QString::fromLatin1(longLine), "c"};
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

QTEST_GUILESS_MAIN(PrintoutTest)
#include "tst_printout.moc"

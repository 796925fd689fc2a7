#include "doubles/RecordingPrinter.h"
#include "print/Printout.h"

#include <QBuffer>
#include <QTest>

// How a saved data file is read and laid out on the page.
class PrintoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout_data();
    void layout();
};

// Each record prints its header, its text lines a tab further in, then two empty lines.
void PrintoutTest::layout_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("printed");

    const QByteArray list = "{\r\n\"Shopping\r\nmilk\r\neggs\"\r\n\"Notes\"\r\n}\r\n";
    const QString example = "Shopping|\tmilk|\teggs|||Notes||";
    QTest::newRow("records with and without text") << list << example;
    QTest::newRow("transfer header of two lines") << "%%HP\r\nT(3)\r\n" + list << example;
    QTest::newRow("no list around the records") << list.mid(3, list.size() - 6) << example;
    QTest::newRow("} and empty lines inside a text")
        << QByteArray("{\r\n\"H\r\n}\r\n\r\nlast\r\n\"\r\n}\r\n") << "H|\t}|\t|\tlast|\t||";
    QTest::newRow("double quote inside a text line")
        << QByteArray("{\r\n\"H\r\nsay \"hi\" now\r\nrest\"\r\n}\r\n")
        << "H|\tsay \"hi\" no|||est||";
    QTest::newRow("headers untrimmed, nothing after }")
        << QByteArray("{\r\n\"  Spaced  \r\ntext\"\r\n}\r\n\"B\"\r\n") << "  Spaced  |\ttext||";
    // The file is read in blocks of 64 KiB; here a CR LF spans two of them.
    const QByteArray header(64 * 1024 - 5, 'a');
    QTest::newRow("CR LF across blocks") << "{\r\n\"" + header + "\r\nc\"\r\n}\r\n"
                                         << QString(header) + "|\tc||";
    QTest::newRow("CR alone ends a line, LF alone is text")
        << QByteArray("{\r\"H\rone\ntwo\"\r}\r") << "H|\tone\ntwo||";
    QTest::newRow("Latin-1") << QByteArray("{\r\n\"Caf\xe9\"\r\n}\r\n") << "Caf\u00e9||";
    QTest::newRow("file ends inside a text") << QByteArray("{\r\n\"H\r\nend") << "H|\tend";
}

void PrintoutTest::layout()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, printed);
    QBuffer buffer(&file);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    PrintJobRecord job;
    RecordingPrinter printer(job, 0);
    QCOMPARE(printRecords(buffer, &printer), PrintoutResult::Complete);
    QStringList texts;
    for (const PrintJobRecord::Line& line : job.lines) {
        QCOMPARE(line.x, line.text.isEmpty() ? 0 : 1440); // one inch in, but for the gaps
        texts << line.text;
    }
    QCOMPARE(texts.join(u'|'), printed);
}

QTEST_GUILESS_MAIN(PrintoutTest)
#include "tst_printout.moc"

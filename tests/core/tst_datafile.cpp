#include "core/DataFile.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <initializer_list>

using datafile::Record;
using Records = QList<Record>;
Q_DECLARE_METATYPE(Records)

namespace {

// The lines of a file, each ended by CR LF as the writer ends them.
QByteArray lines(std::initializer_list<const char*> fileLines)
{
    QByteArray bytes;
    for (const char* line : fileLines)
        bytes.append(line).append("\r\n");
    return bytes;
}

const QString HpHeader = QStringLiteral("%%HP: T(3)A(D)F(.);");
const QByteArray WorkedExample = lines({"%%HP: T(3)A(D)F(.);", "{", "\"Groceries", "milk",
                                        "bread\"", "\"Empty\"", "\"Tasks", "fix the gate\"", "}"});
const Records WorkedExampleRecords = {
    {"Groceries", "milk\r\nbread"}, {"Empty", ""}, {"Tasks", "fix the gate"}};

// Any byte but the quote and CR, often one of the lines the format gives a meaning to.
QByteArray randomLine(QRandomGenerator& random, int maxLength)
{
    static const QByteArray special[] = {"", "}", "{", "%%HP: T(3)A(D)F(.);", "%", " ", "\n"};
    if (random.bounded(4) == 0)
        return special[random.bounded(int(std::size(special)))];
    QByteArray line(random.bounded(maxLength + 1), Qt::Uninitialized);
    for (char& byte : line) {
        do
            byte = char(random.bounded(256));
        while (byte == '"' || byte == '\r');
    }
    return line;
}

Records randomRecords(QRandomGenerator& random)
{
    const int size = random.bounded(10) == 0 ? random.bounded(300) : random.bounded(12);
    Records records;
    for (int i = 0; i < size; ++i) {
        static const QRegularExpression endSpaces(QStringLiteral("^ +| +$"));
        const QString header =
            QString::fromLatin1(randomLine(random, 30).replace('\n', "")).remove(endSpaces);
        QByteArrayList text;
        for (int count = random.bounded(3) == 0 ? 0 : 1 + random.bounded(6); count > 0; --count)
            text << randomLine(random, 40);
        records.append({header, QString::fromLatin1(text.join("\r\n"))});
    }
    return records;
}

} // namespace

class DataFileTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reading_data();
    void reading();
    void workedExampleIsWrittenByteForByte();
    void roundTripKeepsEveryDocument();
    void randomBytesNeverBreakTheReader();
};

void DataFileTest::reading_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Records>("expected");
    QTest::addColumn<QString>("shown"); // the data field's text afterwards; null for untouched

    const QString x = QStringLiteral("x");
    QTest::newRow("worked example")
        << WorkedExample << WorkedExampleRecords << QStringLiteral("fix the gate");
    // Whatever the transfer header holds, a "{" on line 2 closes it.
    QTest::newRow("transfer header is a brace")
        << lines({"{", "{", "\"A\"", "}"}) << Records{{"A", ""}} << QString();
    QTest::newRow("transfer header starts with a quote")
        << lines({"\"x", "{", "\"A", "x\"", "}"}) << Records{{"A", x}} << x;
    QTest::newRow("records from line 1") << lines({"\"A\"", "\"B", "{", "x\"", "}"})
                                         << Records{{"A", ""}, {"B", "{\r\nx"}} << "{\r\nx";
    QTest::newRow("only a bare brace closes the list")
        << lines({"{", "} ", "\"A\"", "}"}) << Records{{"", "\"A"}} << "\"A";
    QTest::newRow("empty header keeps its own text")
        << lines({"{", "\"A", "x\"", "\"", "y\"", "}"}) << Records{{"A", x}, {"", "y"}} << "y";
    QTest::newRow("end inside a text")
        << QByteArray("{\r\n\"A\r\nl1\r\nl2") << Records{{"A", "l1\r\nl2"}} << "l1\r\nl2";
    QTest::newRow("NUL and high bytes")
        << QByteArray("{\r\n\"A\0B\r\n\0\xff\xe9\"\r\n}\r\n", 17)
        << Records{{QStringLiteral("A") + QChar(0) + u'B', QString(QChar(0)) + u'\xff' + u'\xe9'}}
        << QString(QChar(0)) + u'\xff' + u'\xe9';
}

void DataFileTest::reading()
{
    QFETCH(QByteArray, file);
    QFETCH(Records, expected);
    QFETCH(QString, shown);

    const datafile::ReadResult result = datafile::read(file);
    QCOMPARE(result.records, expected);
    QCOMPARE(result.shownText(result.records.size()),
             shown.isNull() ? std::nullopt : std::optional(shown));
}

void DataFileTest::workedExampleIsWrittenByteForByte()
{
    QCOMPARE(datafile::fileBytes(datafile::write(WorkedExampleRecords, "1", HpHeader)),
             WorkedExample);
    // Without the setting exactly "1" no transfer header line is written.
    QCOMPARE(datafile::fileBytes(datafile::write(WorkedExampleRecords, " 1", HpHeader)),
             WorkedExample.mid(WorkedExample.indexOf('{')));
}

void DataFileTest::roundTripKeepsEveryDocument()
{
    // Each document comes from its own seed, so a failure names the one document to replay.
    for (quint32 seed = 20240601u; seed < 20240601u + 3000; ++seed) {
        QRandomGenerator random(seed);
        const Records records = randomRecords(random);
        static const QString asciiHeaders[] = {"1", "0", "", " 1", "yes"};
        const QString asciiHeader = asciiHeaders[random.bounded(int(std::size(asciiHeaders)))];
        const QString asciiText = QString::fromLatin1(randomLine(random, 40));
        const QByteArray file =
            datafile::fileBytes(datafile::write(records, asciiHeader, asciiText));
        const Records readBack = datafile::read(file).records;
        if (readBack != records)
            QFAIL(qPrintable(QStringLiteral("round trip failed for seed %1").arg(seed)));
    }
}

void DataFileTest::randomBytesNeverBreakTheReader()
{
    // Headers come out without spaces at their ends, texts with lines joined by CR LF only.
    QRandomGenerator random(7);
    static const QByteArray meaningful("\r\n\"{}% x");
    for (int run = 0; run < 500; ++run) {
        QByteArray bytes(random.bounded(4096), Qt::Uninitialized);
        for (char& byte : bytes)
            byte = run % 2 == 0 ? char(random.bounded(256))
                                : meaningful.at(random.bounded(int(meaningful.size())));
        const datafile::ReadResult result = datafile::read(bytes);
        for (const Record& record : result.records) {
            QVERIFY(!record.header.startsWith(u' ') && !record.header.endsWith(u' '));
            QCOMPARE(record.text.count(u'\r'), record.text.count(QStringLiteral("\r\n")));
        }
    }
}

QTEST_MAIN(DataFileTest)
#include "tst_datafile.moc"

#include "core/Document.h"
#include "core/RecordStore.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// The lines of a file, each ended by CR LF as the writer ends them.
QByteArray lines(const QByteArrayList& fileLines)
{
    return fileLines.join("\r\n") + "\r\n";
}

const TransferHeader HpHeader{"1", "%%HP: T(3)A(D)F(.);"};
const QByteArray WorkedExample = lines({"%%HP: T(3)A(D)F(.);", "{", "\"Groceries", "milk",
                                        "bread\"", "\"Empty\"", "\"Tasks", "fix the gate\"", "}"});

// Each entry as "header|text", its text reached through its record index.
QStringList entries(const Document& document)
{
    QStringList result;
    const RecordStore& records = document.records();
    for (int at = 0; at < records.count(); ++at)
        result << records.headerAt(at) + u'|' + records.recordText(records.recordIndexAt(at));
    return result;
}

QByteArray written(Document& document, const TransferHeader& transferHeader = {})
{
    QTemporaryDir folder;
    const QString path = folder.filePath("out.DF");
    if (const QString failure = document.writeFile(path, transferHeader); !failure.isEmpty())
        qFatal("cannot write: %s", qPrintable(failure));
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The document: its reader and writer, its records and their indices.
class DocumentTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reading_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("shown"); // the data field's text afterwards
        QTest::newRow("worked example")
            << WorkedExample
            << QStringList{"Groceries|milk\r\nbread", "Empty|", "Tasks|fix the gate"}
            << "fix the gate";
        // Whatever the transfer header holds, a "{" on line 2 closes it.
        QTest::newRow("transfer header is a brace")
            << lines({"{", "{", "\"A\"", "}"}) << QStringList{"A|"} << "";
        QTest::newRow("transfer header starts with a quote")
            << lines({"\"x", "{", "\"A", "x\"", "}"}) << QStringList{"A|x"} << "x";
        QTest::newRow("records from line 1") << lines({"\"A\"", "\"B", "{", "x\"", "}"})
                                             << QStringList{"A|", "B|{\r\nx"} << "{\r\nx";
        QTest::newRow("only a bare brace closes the list")
            << lines({"{", "} ", "\"A\"", "}"}) << QStringList{"|\"A"} << "\"A";
        QTest::newRow("empty header keeps its own text")
            << lines({"{", "\"A", "x\"", "\"", "y\"", "}"}) << QStringList{"A|x", "|y"} << "y";
        QTest::newRow("end inside a text")
            << QByteArray("{\r\n\"A\r\nl1\r\nl2") << QStringList{"A|l1\r\nl2"} << "l1\r\nl2";
        QTest::newRow("spaces trimmed, not tabs")
            << lines({"{", "\"  A\t \"", "}"}) << QStringList{"A\t|"} << "";
        QTest::newRow("CR alone ends a line, LF alone is text")
            << QByteArray("{\r\"H\rone\ntwo\rend\"\r}\r") << QStringList{"H|one\ntwo\r\nend"}
            << "one\ntwo\r\nend";
        QTest::newRow("LF only: Unix line ends") << QByteArray("{\n\"A\nx\ny\"\n\"B\"\n}\n")
                                                 << QStringList{"A|x\r\ny", "B|"} << "x\r\ny";
        QTest::newRow("CR LF with one stray LF")
            << QByteArray("{\r\n\"A\r\nx\ny\"\r\n}\r\n") << QStringList{"A|x\ny"} << "x\ny";
        QTest::newRow("NUL and high bytes")
            << QByteArray("{\r\n\"A\0B\r\n\0\xff\xe9\"\r\n}\r\n", 17)
            << QStringList{QString::fromLatin1("A\0B|\0\xff\xe9", 7)}
            << QString::fromLatin1("\0\xff\xe9", 3);
    }

    void reading()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, expected);
        QFETCH(QString, shown);
        Document document;
        QString fieldText;
        connect(&document, &Document::dataFieldReset,
                [&](const QString& text) { fieldText = text; });
        document.FileInSub(file);
        QCOMPARE(entries(document), expected);
        QCOMPARE(fieldText + u'|' + document.looseText(), shown + u'|' + shown);
    }

    // A second file read and removed entries leave record indices apart from list positions.
    void writerReachesTextsByRecordIndex()
    {
        Document document;
        document.FileInSub(lines({"{", "\"Old", "gone\"", "}"}));
        document.clear();
        document.FileInSub(WorkedExample);
        QCOMPARE(written(document, HpHeader), WorkedExample);
        RecordStore& records = document.records();
        records.setRecordText(records.recordIndexAt(0), QString());
        records.removeAt(0);
        records.setRecordText(*records.addRecord(" New "),
                              QString::fromUtf8("typed\r\ntext\U0001F600"));
        QCOMPARE(written(document, HpHeader),
                 lines({"%%HP: T(3)A(D)F(.);", "{", "\"Empty\"", "\"Tasks", "fix the gate\"",
                        "\"New", "typed", "text?\"", "}"}));
        // Without the setting exactly "1" no transfer header line is written.
        QCOMPARE(written(document, {" 1", HpHeader.asciiText}).left(3), QByteArray("{\r\n"));
    }

    void indicesAreNeverReused()
    {
        Document document;
        RecordStore& store = document.records();
        for (const char* header : {"a", "b", "c"})
            store.setRecordText(*store.addRecord(QLatin1String(header)), QLatin1String(header));
        store.removeAt(1);
        QCOMPARE(store.recordText(store.recordIndexAt(1)), QStringLiteral("c"));
        document.clear();
        QCOMPARE(store.addRecord(QStringLiteral("d")), 3);
        QCOMPARE(store.recordText(3), QString());
        RecordStore nearlyFull(RecordStore::IndexLimit - 1);
        const QByteArray file = lines({"{", "\"b\"", "\"c\"", "}"});
        QCOMPARE(nearlyFull.addFileRecords(file, datafile::read(file)), 1);
        QCOMPARE(nearlyFull.addRecord(QStringLiteral("d")), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(DocumentTest)
#include "tst_document.moc"

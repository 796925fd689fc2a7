#include "checks/DocumentState.h"
#include "checks/Files.h"
#include "core/BinaryObject.h"
#include "core/Document.h"
#include "core/RecordStore.h"
#include "documentcommands/DocumentCommands.h"
#include "doubles/TestServices.h"

#include <QTemporaryDir>
#include <QTest>

// A file the calculator sent in binary mode opens as its records; any other object is named,
// and the document stays as it was.
class BinaryOpenTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opened_data()
    {
        QTest::addColumn<QList<QByteArray>>("strings"); // empty: a real number
        QTest::addColumn<QString>("said");
        QTest::newRow("a list of strings")
            << QList<QByteArray>{"Groceries\nmilk\nbread", "  Empty  ", "x\xff"} << QString();
        QTest::newRow("another object") << QList<QByteArray>{} << "binary form of a real number";
        QTest::newRow("a string with a quote")
            << QList<QByteArray>{"ok", "say \"hi\""} << "string number 2 holds a double quote";
    }
    void opened()
    {
        QFETCH(QList<QByteArray>, strings);
        QFETCH(QString, said);
        QTemporaryDir dir;
        const QString path = dir.filePath("SENT.DF");
        QVERIFY(writeFile(path, strings.isEmpty()
                                    ? "HPHP48-E" + QByteArray::fromHex("3329000000000000000000")
                                    : binaryobject::write(strings)));
        TestServices doubles;
        Document document;
        document.FileInSub("{\r\n\"Kept\"\r\n}\r\n");
        DocumentCommands commands(document, doubles.services());
        if (!said.isEmpty()) {
            // Named before anything is asked: the document stays as it was.
            const QStringList before = stateOf(document);
            doubles.questions.answerMessage(QMessageBox::Ok);
            commands.openRecent(path);
            QCOMPARE(stateOf(document), before);
            QVERIFY2(doubles.questions.asked.last().text.contains(said),
                     qPrintable(doubles.questions.asked.last().text));
            return;
        }
        doubles.questions.answerMessage(QMessageBox::No);
        doubles.fileDialogs.chooseFile(path);
        commands.open();
        Document asText;
        asText.setFile({path, "SENT.DF"});
        asText.FileInSub(
            "{\r\n\"Groceries\r\nmilk\r\nbread\"\r\n\"  Empty  \"\r\n\"x\xff\"\r\n}\r\n");
        QCOMPARE(stateOf(document), stateOf(asText));
    }
};

QTEST_MAIN(BinaryOpenTest)
#include "tst_binaryopen.moc"

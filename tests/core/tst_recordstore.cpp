#include "core/DataFile.h"
#include "core/RecordStore.h"

#include <QAbstractItemModelTester>
#include <QTest>

// The record store as the header list sees it: a model that keeps every view's idea of its
// rows right through each change the document makes.
class RecordStoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modelStaysConsistent_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QString>("headers");
        QTest::newRow("add and rename") << "add D; rename 0 X"
                                        << "X B C D";
        QTest::newRow("remove first and last") << "remove 0; remove 1"
                                               << "B";
        QTest::newRow("move down") << "move 0 2"
                                   << "B C A";
        QTest::newRow("move up") << "move 2 0"
                                 << "C A B";
        QTest::newRow("take out and put back") << "take 1 0"
                                               << "B A C";
        QTest::newRow("reset, then add") << "clear; add D"
                                         << "D";
    }
    void modelStaysConsistent()
    {
        QFETCH(QString, changes);
        QFETCH(QString, headers);
        const QByteArray file = "{\r\n\"A\r\na\"\r\n\"B\"\r\n\"C\r\nc\"\r\n}\r\n";
        RecordStore store;
        store.addFileRecords(file, datafile::read(file));
        QAbstractItemModelTester tester(&store,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (const QString& change : changes.split(u';')) {
            const QStringList word = change.trimmed().split(u' ');
            const int first = word.value(1).toInt();
            if (word[0] == u"add")
                store.addRecord(word[1]);
            else if (word[0] == u"rename")
                store.renameAt(first, word[2]);
            else if (word[0] == u"remove")
                store.removeAt(first);
            else if (word[0] == u"move")
                store.moveEntry(first, word[2].toInt());
            else if (word[0] == u"take") {
                const RecordStore::Entry entry = store.entryAt(first);
                store.removeAt(first);
                store.insertEntry(word[2].toInt(), entry);
            } else if (word[0] == u"clear")
                store.clear();
        }
        QStringList shown;
        for (int row = 0; row < store.rowCount(); ++row)
            shown << store.index(row).data().toString();
        QCOMPARE(shown.join(u' '), headers);
    }
};

QTEST_GUILESS_MAIN(RecordStoreTest)
#include "tst_recordstore.moc"

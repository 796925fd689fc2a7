#include "core/RecordStore.h"

#include <QTest>

class RecordStoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void indicesAreNeverReused();
    void addedLastPosition_data();
    void addedLastPosition();
    void limitRefusesFurtherAdds();
};

void RecordStoreTest::indicesAreNeverReused()
{
    RecordStore store;
    for (const char* header : {"a", "b", "c"})
        store.setRecordText(*store.addRecord(QLatin1String(header)), QLatin1String(header));
    store.removeAt(1);
    QCOMPARE(store.recordText(store.recordIndexAt(1)), QStringLiteral("c"));
    QCOMPARE(store.addRecord(QStringLiteral("d")), 3);
    store.clear();
    QCOMPARE(store.addRecord(QStringLiteral("e")), 4);
    QCOMPARE(store.recordText(4), QString());
    // A rename is a remove and an insert that keep the record's index, and so its text.
    store.setRecordText(4, QStringLiteral("kept"));
    store.removeAt(0);
    store.insertAt(0, QStringLiteral(" renamed "), 4);
    QCOMPARE(store.headerAt(0), QStringLiteral(" renamed "));
    QCOMPARE(store.recordText(store.recordIndexAt(0)), QStringLiteral("kept"));
}

void RecordStoreTest::addedLastPosition_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("expected");
    // a = add, r = remove the first entry, c = clear, i = insert at position 0
    QTest::newRow("add then remove") << "aar" << -1;
    QTest::newRow("remove then add") << "aara" << 1;
    QTest::newRow("clear") << "aac" << -1;
    QTest::newRow("insert") << "aai" << 0;
}

void RecordStoreTest::addedLastPosition()
{
    QFETCH(QString, steps);
    QFETCH(int, expected);
    RecordStore store;
    for (const QChar step : steps) {
        if (step == u'a')
            store.addRecord(QStringLiteral("x"));
        else if (step == u'r')
            store.removeAt(0);
        else if (step == u'c')
            store.clear();
        else
            store.insertAt(0, QStringLiteral("y"), 99);
    }
    QCOMPARE(store.addedLastPosition(), expected);
}

void RecordStoreTest::limitRefusesFurtherAdds()
{
    RecordStore store(RecordStore::IndexLimit - 2);
    QCOMPARE(store.addRecord(QStringLiteral("a")), RecordStore::IndexLimit - 2);
    QCOMPARE(store.addRecords({{QStringLiteral("b"), {}}, {QStringLiteral("c"), {}}}), 1);
    QCOMPARE(store.addRecord(QStringLiteral("d")), std::nullopt);
}

QTEST_GUILESS_MAIN(RecordStoreTest)
#include "tst_recordstore.moc"

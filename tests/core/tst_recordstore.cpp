#include "core/RecordStore.h"

#include <QSignalSpy>
#include <QTest>

class RecordStoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsEmptyWithoutSlots();
    void addingHandsOutIndicesInOrderWithOneSpareSlot();
    void addingTrimsOnlySpaces();
    void removalKeepsItsIndexRetired();
    void renameKeepsIndexAndPosition();
    void addedLastPosition_data();
    void addedLastPosition();
    void clearKeepsCounter();
    void batchAddIsOneInsertion();
    void limitRefusesFurtherAdds();
    void batchAddStopsAtTheLimit();
};

void RecordStoreTest::startsEmptyWithoutSlots()
{
    RecordStore store;
    store.startUp();
    QCOMPARE(store.count(), 0);
    QCOMPARE(store.nextRecordIndex(), 0);
    QCOMPARE(store.slotCount(), 0);
    QCOMPARE(store.addedLastPosition(), -1);
}

void RecordStoreTest::addingHandsOutIndicesInOrderWithOneSpareSlot()
{
    RecordStore store;
    for (int expected = 0; expected < 3; ++expected) {
        QCOMPARE(store.addRecord(QStringLiteral("h%1").arg(expected)), expected);
        QCOMPARE(store.slotCount(), expected + 2);
        QCOMPARE(store.recordText(expected + 1), QString());
    }
    QCOMPARE(store.nextRecordIndex(), 3);
    for (int position = 0; position < 3; ++position)
        QCOMPARE(store.recordIndexAt(position), position);
}

void RecordStoreTest::addingTrimsOnlySpaces()
{
    RecordStore store;
    store.addRecord(QStringLiteral("  a b \t "));
    store.addRecord(QStringLiteral("   "));
    QCOMPARE(store.headerAt(0), QStringLiteral("a b \t"));
    QCOMPARE(store.headerAt(1), QString());
}

void RecordStoreTest::removalKeepsItsIndexRetired()
{
    RecordStore store;
    for (const char* header : {"a", "b", "c"}) {
        const qint32 index = *store.addRecord(QLatin1String(header));
        store.setRecordText(index, QLatin1String(header) + QStringLiteral(" text"));
    }
    store.setRecordText(store.recordIndexAt(1), QString());
    store.removeAt(1);
    QCOMPARE(store.count(), 2);
    QCOMPARE(store.recordIndexAt(0), 0);
    QCOMPARE(store.recordIndexAt(1), 2);
    QCOMPARE(store.recordText(store.recordIndexAt(1)), QStringLiteral("c text"));
    QCOMPARE(store.recordText(1), QString());
    QCOMPARE(store.addRecord(QStringLiteral("d")), 3);
}

void RecordStoreTest::renameKeepsIndexAndPosition()
{
    RecordStore store;
    store.addRecord(QStringLiteral("a"));
    store.addRecord(QStringLiteral("b"));
    store.setRecordText(1, QStringLiteral("kept"));
    const qint32 index = store.recordIndexAt(1);
    store.removeAt(1);
    store.insertAt(1, QStringLiteral(" renamed "), index);
    QCOMPARE(store.headerAt(1), QStringLiteral(" renamed "));
    QCOMPARE(store.recordIndexAt(1), 1);
    QCOMPARE(store.recordText(store.recordIndexAt(1)), QStringLiteral("kept"));
}

void RecordStoreTest::addedLastPosition_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("expected");
    // a = add, r = remove the first entry, c = clear, i = insert at position 0
    QTest::newRow("nothing") << "" << -1;
    QTest::newRow("one add") << "a" << 0;
    QTest::newRow("three adds") << "aaa" << 2;
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
        else if (step == u'i')
            store.insertAt(0, QStringLiteral("y"), 99);
    }
    QCOMPARE(store.addedLastPosition(), expected);
}

void RecordStoreTest::clearKeepsCounter()
{
    RecordStore store;
    store.addRecords({{QStringLiteral("a"), QStringLiteral("1")},
                      {QStringLiteral("b"), QStringLiteral("2")},
                      {QStringLiteral("c"), QStringLiteral("3")}});
    store.clear();
    QCOMPARE(store.count(), 0);
    QCOMPARE(store.addRecord(QStringLiteral("new")), 3);
    QCOMPARE(store.slotCount(), 5);
    QCOMPARE(store.recordText(3), QString());
}

void RecordStoreTest::batchAddIsOneInsertion()
{
    RecordStore store;
    QSignalSpy inserted(&store, &QAbstractItemModel::rowsInserted);
    QList<RecordStore::NewRecord> records;
    for (int i = 0; i < 1000; ++i)
        records.append(
            {QStringLiteral(" h%1 ").arg(i), i % 2 ? QStringLiteral("t%1").arg(i) : QString()});
    QCOMPARE(store.addRecords(records), 1000);
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(store.headerAt(999), QStringLiteral("h999"));
    QCOMPARE(store.recordText(store.recordIndexAt(999)), QStringLiteral("t999"));
    QCOMPARE(store.recordText(store.recordIndexAt(998)), QString());
    QCOMPARE(store.addedLastPosition(), 999);
}

void RecordStoreTest::limitRefusesFurtherAdds()
{
    RecordStore store(RecordStore::IndexLimit - 2);
    QCOMPARE(store.addRecord(QStringLiteral("a")), RecordStore::IndexLimit - 2);
    QCOMPARE(store.addRecord(QStringLiteral("b")), RecordStore::IndexLimit - 1);
    QCOMPARE(store.addRecord(QStringLiteral("c")), std::nullopt);
    QCOMPARE(store.count(), 2);
    QCOMPARE(store.nextRecordIndex(), RecordStore::IndexLimit);
}

void RecordStoreTest::batchAddStopsAtTheLimit()
{
    RecordStore store(RecordStore::IndexLimit - 2);
    QCOMPARE(store.addRecords(
                 {{QStringLiteral("a"), {}}, {QStringLiteral("b"), {}}, {QStringLiteral("c"), {}}}),
             2);
    QCOMPARE(store.count(), 2);
    QCOMPARE(store.recordIndexAt(1), RecordStore::IndexLimit - 1);
}

QTEST_GUILESS_MAIN(RecordStoreTest)
#include "tst_recordstore.moc"

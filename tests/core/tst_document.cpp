#include "core/Document.h"
#include "core/RecordStore.h"

#include <QSignalSpy>
#include <QTest>

// The document's state apart from its files: records, indices, caption and content.
class DocumentTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void indicesAreNeverReused();
    void limitRefusesFurtherAdds();
    void editsKeepRecordsApart();
    void contentAndCaption();
};

void DocumentTest::indicesAreNeverReused()
{
    Document document;
    RecordStore& store = document.records();
    for (const char* header : {"a", "b", "c"})
        store.setRecordText(*store.addRecord(QLatin1String(header)), QLatin1String(header));
    store.removeAt(1);
    QCOMPARE(store.recordText(store.recordIndexAt(1)), QStringLiteral("c"));
    QCOMPARE(store.addRecord(QStringLiteral("d")), 3);
    document.clear();
    QCOMPARE(store.addRecord(QStringLiteral("e")), 4);
    QCOMPARE(store.recordText(4), QString());
}

void DocumentTest::limitRefusesFurtherAdds()
{
    RecordStore store(RecordStore::IndexLimit - 2);
    QCOMPARE(store.addRecord(QStringLiteral("a")), RecordStore::IndexLimit - 2);
    QCOMPARE(store.addFileRecords("{\r\n\"b\"\r\n\"c\"\r\n}\r\n",
                                  datafile::read("{\r\n\"b\"\r\n\"c\"\r\n}\r\n")),
             1);
    QCOMPARE(store.addRecord(QStringLiteral("d")), std::nullopt);
}

// Texts and headers read from a file, typed over, renamed, and read over by a second file.
void DocumentTest::editsKeepRecordsApart()
{
    Document document;
    RecordStore& store = document.records();
    document.FileInSub("{\r\n\"One\r\nfirst line\"\r\n\"Two\r\nsecond\"\r\n}\r\n");
    store.replaceInText(0, 5, 0, u" typed");
    store.replaceInText(1, 0, 6, u"2\r\nnd");
    store.renameAt(1, QStringLiteral(" Zwei "));
    // Reading again without clearing first keeps what the first file gave.
    document.FileInSub("{\r\n\"Three\r\nthird\"\r\n}\r\n");
    QStringList entries;
    for (int at = 0; at < store.count(); ++at)
        entries << store.headerAt(at) + u'|' + store.recordText(store.recordIndexAt(at));
    QCOMPARE(entries, (QStringList{"One|first typed line", " Zwei |2\r\nnd", "Three|third"}));
}

void DocumentTest::contentAndCaption()
{
    Document document;
    QSignalSpy captions(&document, &Document::captionChanged);
    QVERIFY(!document.hasContent());
    document.setLooseText(QStringLiteral("typed with no entry selected"));
    QVERIFY(document.hasContent());
    document.setFile({QStringLiteral("/files/List.DF"), QStringLiteral("List.DF")});
    QCOMPARE(document.caption(), QStringLiteral("Tabulet 1.0 - List.DF"));
    document.clear();
    QVERIFY(!document.hasContent());
    QCOMPARE(document.currentFileName(), QString());
    QCOMPARE(captions.count(), 2);
    QCOMPARE(document.caption(), QStringLiteral("Tabulet 1.0"));
}

QTEST_GUILESS_MAIN(DocumentTest)
#include "tst_document.moc"

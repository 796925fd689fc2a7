#include "platform/TextWrap.h"

#include <QTest>

// A printout line wider than the page goes on over the next rows and keeps every character.
class TextWrapTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rows_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("room"); // in characters: each is one unit wide here
        QTest::addColumn<QString>("rows");
        QTest::newRow("fits") << "abc" << 3 << "abc";
        QTest::newRow("after the last space") << "aaaa bbbb cc" << 6 << "aaaa |bbbb |cc";
        QTest::newRow("no space: anywhere") << "aaaaaaaaaa" << 4 << "aaaa|aaaa|aa";
        QTest::newRow("a leading space is no break") << " aaaaa" << 4 << " aaa|aa";
        QTest::newRow("one character at least") << "abc" << 0 << "a|b|c";
        QTest::newRow("a pair of halves stays") << "a\U0001F600b" << 2 << "a\U0001F600|b";
    }
    void rows()
    {
        QFETCH(QString, line);
        QFETCH(int, room);
        QStringList rows;
        qsizetype at = 0;
        for (const qsizetype row :
             wrappedRows(line, room, [](QStringView text) { return qreal(text.size()); }))
            rows << line.mid(std::exchange(at, at + row), row);
        QTEST(rows.join(u'|'), "rows");
    }
};

QTEST_GUILESS_MAIN(TextWrapTest)
#include "tst_textwrap.moc"

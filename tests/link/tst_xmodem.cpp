#include "link/XModemBlock.h"

#include <QTest>

// XModem's 128-byte blocks with the arithmetic checksum, as the 48G series speaks them.
class XModemTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void blocks_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("head"); // SOH, number, its complement
        QTest::addColumn<int>("sum");
        QTest::newRow("the first, padded")
            << 1 << QByteArray("HPHP48-E") << QByteArray("\x01\x01\xfe") << 0x0e;
        QByteArray full(128, '\xff');
        QTest::newRow("full, the sum wrapped")
            << 255 << full << QByteArray("\x01\xff\x00", 3) << 0x80;
        QTest::newRow("number 0 after 255")
            << 0 << QByteArray() << QByteArray("\x01\x00\xff", 3) << 0;
    }
    void blocks()
    {
        QFETCH(int, number);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, head);
        QFETCH(int, sum);
        const QByteArray line = xmodem::encode(quint8(number), data);
        QCOMPARE(line.size(), xmodem::LineLength);
        QCOMPARE(line.first(3), head);
        QCOMPARE(quint8(line.back()), quint8(sum));
        const std::optional<xmodem::Block> block = xmodem::decode(line);
        QVERIFY(block);
        QCOMPARE(block->number, quint8(number));
        QCOMPARE(block->data, data + QByteArray(128 - data.size(), '\0'));
        // A byte damaged anywhere, or the block cut short, is asked for again.
        for (qsizetype at = 0; at < line.size(); ++at) {
            QByteArray hit = line;
            hit[at] = char(hit[at] ^ 0x10);
            QVERIFY(!xmodem::decode(hit));
        }
        QVERIFY(!xmodem::decode(line.chopped(1)));
    }
};

QTEST_MAIN(XModemTest)
#include "tst_xmodem.moc"

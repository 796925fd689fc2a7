#include "link/KermitPacket.h"
#include "link/VariableList.h"
#include "link/XModemBlock.h"

#include <QTest>

using kermit::Packet;
using kermit::Prefixes;
using kermit::Received;

// Kermit packets and their data, and XModem blocks, as the calculator sends and takes them. The
// packets expected were worked out apart from this code, with Kermit's own table-free CRC.
class CodecTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void packets_data()
    {
        QTest::addColumn<int>("sequence");
        QTest::addColumn<char>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("check");
        QTest::addColumn<QByteArray>("line");
        // Each line starts with its mark, Ctrl+A (octal 001).
        QTest::newRow("the calculator's Send-Init, check 1")
            << 0 << 'S' << QByteArray("~* @-#Y3") << 1 << QByteArray("\001+ S~* @-#Y3$\r");
        QTest::newRow("data, check 2") << 1 << 'D' << QByteArray("Hello, #M#J48") << 2
                                       << QByteArray("\0011!DHello, #M#J480?\r");
        QTest::newRow("data, check 3") << 2 << 'D' << QByteArray("Hello, #M#J48") << 3
                                       << QByteArray("\0012\"DHello, #M#J48\":1\r");
        QTest::newRow("sequence 63, no data, check 3")
            << 63 << 'Z' << QByteArray() << 3 << QByteArray("\001%_Z)=F\r");
        QTest::newRow("an ACK, check 1")
            << 5 << 'Y' << QByteArray() << 1 << QByteArray("\001#%YC\r");
    }
    void packets()
    {
        QFETCH(int, sequence);
        QFETCH(char, type);
        QFETCH(QByteArray, data);
        QFETCH(int, check);
        QFETCH(QByteArray, line);
        QCOMPARE(kermit::encode({sequence, type, data}, check), line);
        // Read back, with noise before it and the next packet after it.
        const QByteArray heard = "\r\x13 " + line + line;
        const Received received = kermit::decode(heard, check);
        QCOMPARE(received.status, Received::Whole);
        QCOMPARE(received.packet.sequence, sequence);
        QCOMPARE(received.packet.type, type);
        QCOMPARE(received.packet.data, data);
        QCOMPARE(heard.sliced(received.used), "\r" + line);
        // Cut short it waits for the rest; any character changed, it is damaged.
        QCOMPARE(kermit::decode(line.chopped(2), check).status, Received::Incomplete);
        for (qsizetype at = 1; at + 1 < line.size(); ++at) {
            QByteArray hit = line;
            hit[at] = char(hit[at] ^ 0x04);
            QVERIFY2(kermit::decode(hit, check).status != Received::Whole, qPrintable(hit));
        }
    }

    void prefixing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<char>("eightBit");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("line breaks") << QByteArray("A\r\nB") << '\0' << QByteArray("A#M#JB");
        QTest::newRow("the prefix itself") << QByteArray("#") << '\0' << QByteArray("##");
        QTest::newRow("NUL and DEL") << QByteArray("\0\x7f", 2) << '\0' << QByteArray("#@#?");
        QTest::newRow("controls with the eighth bit")
            << QByteArray("\x80\xff") << '\0' << QByteArray("#\xc0#\xbf");
        QTest::newRow("Latin-1 letters travel as they are")
            << QByteArray("\xe9&") << '\0' << QByteArray("\xe9&");
        QTest::newRow("8-bit prefixed")
            << QByteArray("\xe9\x8d&#") << '&' << QByteArray("&i&#M#&##");
    }
    void prefixing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(char, eightBit);
        const Prefixes prefixes{'#', eightBit};
        QByteArray data;
        QCOMPARE(kermit::encodeData(bytes, prefixes, kermit::LongestPacket, data), bytes.size());
        QTEST(data, "data");
        QCOMPARE(kermit::decodeData(data, prefixes), bytes);
        // Every byte travels without a bare control character and comes back.
        QByteArray all;
        for (int c = 0; c < 256; ++c)
            all += char(c);
        QByteArray field;
        kermit::encodeData(all, prefixes, 1024, field);
        for (const char c : field)
            QVERIFY(quint8(c & 0x7f) >= 32 && quint8(c & 0x7f) != 127);
        QCOMPARE(kermit::decodeData(field, prefixes), all);
    }

    // A prefixed character is never split between two packets.
    void dataFillsThePacket()
    {
        QByteArray data = "abc";
        QCOMPARE(kermit::encodeData("\r\r\r", Prefixes{}, 8, data), 2);
        QCOMPARE(data, "abc#M#M");
    }

    // The calculator's Send-Init read and written, and a Send-Init that leaves fields out.
    void parameters()
    {
        const QByteArray calculator = "~* @-#Y3";
        QCOMPARE(kermit::encodeParameters(kermit::decodeParameters(calculator)), calculator);
        QCOMPARE(kermit::encodeParameters({}), calculator);
        QCOMPARE(kermit::encodeParameters(kermit::decodeParameters("h")), "h% @-#N1");
    }

    void agreement_data()
    {
        QTest::addColumn<QByteArray>("ours");
        QTest::addColumn<QByteArray>("theirs");
        QTest::addColumn<QByteArray>("agreed"); // length, check, 8-bit prefix or '-'
        QTest::newRow("the calculator")
            << QByteArray("~* @-#Y3") << QByteArray("~* @-#Y3") << QByteArray("~3-");
        QTest::newRow("they ask for 8-bit prefixing")
            << QByteArray("~* @-#Y3") << QByteArray("z* @-#&1") << QByteArray("z1&");
        QTest::newRow("we ask, they agree")
            << QByteArray("~* @-#&2") << QByteArray("~* @-#Y2") << QByteArray("~2&");
        QTest::newRow("we ask, they refuse")
            << QByteArray("~* @-#&3") << QByteArray("~* @-#N3") << QByteArray("~3-");
    }
    void agreement()
    {
        QFETCH(QByteArray, ours);
        QFETCH(QByteArray, theirs);
        const kermit::Agreement agreed =
            kermit::agree(kermit::decodeParameters(ours), kermit::decodeParameters(theirs));
        const char eightBit = agreed.sending.eightBit ? agreed.sending.eightBit : '-';
        const char said[] = {kermit::toChar(agreed.longestPacket), char('0' + agreed.checkType),
                             eightBit};
        QTEST(QByteArray(said, 3), "agreed");
        QCOMPARE(agreed.receiving.eightBit, agreed.sending.eightBit);
    }

    // A server's directory listing, the calculator's and a host's: each variable's name, size
    // and type; the directory's own line, totals and folders name no variable.
    void listings_data()
    {
        QTest::addColumn<QByteArray>("listing");
        QTest::addColumn<QString>("variables");
        QTest::newRow("calculator") << QByteArray("{ HOME NOTES }  12345\r\nADDR 2051 String "
                                                  "#4A2Fh\r\nX  10.5  Real Number  #0h\r\n")
                                    << "ADDR 2051 String|X 10.5 Real Number";
        QTest::newRow("host") << QByteArray("drwxr-xr-x 2 4096 2026-12-07 16:27:14 old\n"
                                            "-rw-r--r--     34296  2026-12-07 16:27:14  NOTES\n"
                                            "Total 2 files\n")
                              << "NOTES 34296 ";
    }
    void listings()
    {
        QFETCH(QByteArray, listing);
        QStringList found;
        for (const CalculatorVariable& each : variablesListed(listing))
            found << each.name + u' ' + each.size + u' ' + each.type;
        QTEST(found.join(u'|'), "variables");
    }

    // XModem's 128-byte blocks with the arithmetic checksum, as the 48G series speaks them.
    void blocks_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("head"); // SOH, number, its complement
        QTest::addColumn<int>("sum");
        QTest::newRow("the first, padded")
            << 1 << QByteArray("HPHP48-E") << QByteArray("\x01\x01\xfe") << 0x0e;
        QTest::newRow("full, the sum wrapped")
            << 255 << QByteArray(128, '\xff') << QByteArray("\x01\xff\x00", 3) << 0x80;
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

QTEST_MAIN(CodecTest)
#include "tst_kermit.moc"

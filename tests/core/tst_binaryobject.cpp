#include "core/BinaryObject.h"

#include <QTest>

namespace {

QByteArray object(const char* hex)
{
    return "HPHP48-E" + QByteArray::fromHex(hex);
}

} // namespace

// The calculator's binary form of a list of strings, read and written nibble by nibble.
class BinaryObjectTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsOfStrings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<QByteArray>>("strings");
        QTest::newRow("{ }") << object("74 2A B0 12 03") << QList<QByteArray>{};
        QTest::newRow("{ \"AB\" }")
            << object("74 2A C0 A2 02 09 00 10 24 B4 12 03") << QList<QByteArray>{"AB"};
        QTest::newRow("{ \"AB\" \"C\" }")
            << object("74 2A C0 A2 02 09 00 10 24 C4 A2 02 07 00 30 B4 12 03")
            << QList<QByteArray>{"AB", "C"};
        QByteArray everyByte;
        for (int c = 0; c < 256; ++c)
            everyByte += char(c);
        QTest::newRow("every byte, an empty string, lines")
            << QByteArray() << QList<QByteArray>{everyByte, "", "one\ntwo"};
    }
    void listsOfStrings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<QByteArray>, strings);
        const QByteArray written = binaryobject::write(strings);
        if (!bytes.isEmpty())
            QCOMPARE(written.toHex(' '), bytes.toHex(' '));
        // XModem pads the last block with zero bytes, which follow the object.
        const binaryobject::Reading read = binaryobject::read(written + QByteArray(90, '\0'));
        QCOMPARE(read.notAList, QString());
        QCOMPARE(read.strings, strings);
    }

    void otherObjectsSaidWhatTheyAre_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("said");
        QTest::newRow("a real number") << object("3329000000000000000000") << "a real number";
        QTest::newRow("a list with a program")
            << object("742AD0D9022B31B01203") << "a list that holds a program, not only strings";
        QTest::newRow("an unknown prologue") << object("432100") << "(prologue 02143)";
        QTest::newRow("cut inside a string") << object("742AC0A20209001004") << "damaged";
        QTest::newRow("a list never ended") << object("742AC0A20207003004") << "damaged";
        QTest::newRow("a length shorter than itself")
            << object("742AC0A2020300B01203") << "damaged";
        QTest::newRow("the header alone") << QByteArray("HPHP48-") << "damaged";
    }
    void otherObjectsSaidWhatTheyAre()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, said);
        const binaryobject::Reading read = binaryobject::read(bytes);
        QVERIFY2(read.notAList.contains(said), qPrintable(read.notAList));
        QVERIFY(read.strings.isEmpty());
    }
};

QTEST_MAIN(BinaryObjectTest)
#include "tst_binaryobject.moc"

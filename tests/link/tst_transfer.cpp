#include "Wire.h"
#include "link/KermitTransfer.h"
#include "link/XModemBlock.h"
#include "link/XModemTransfer.h"

#include <QSignalSpy>
#include <QTest>

namespace {

using Job = KermitTransfer::Job;

// Short waits: a lost packet is noticed in a tenth of a second.
const LinkTiming Quick{100, 3, 1000};

QByteArray everyByte()
{
    QByteArray bytes;
    for (int round = 0; round < 3; ++round)
        for (int c = 0; c < 256; ++c)
            bytes += char(c);
    return bytes + "%%HP: T(3)A(R)F(.);\r\n{\r\n\"Header\r\ntext\"\r\n}\r\n";
}

// Damages or drops the packet of `type` numbered `sequence` (-1: any) the first time it goes by.
std::function<QByteArray(const QByteArray&)> once(char type, int sequence, bool drop)
{
    return [type, sequence, drop, done = false](const QByteArray& packet) mutable {
        if (done || packet.size() < 4 || packet[3] != type ||
            (sequence >= 0 && kermit::unChar(packet[2]) != sequence))
            return packet;
        done = true;
        if (drop)
            return QByteArray();
        QByteArray damaged = packet;
        damaged[4] = char(damaged[4] ^ 0x01);
        return damaged;
    };
}

// The receiver is started first and asks a few times before the sender starts, as a calculator
// in RECV or XRECV does while the user goes to Tabulet.
void runBoth(Transfer& first, Transfer& second)
{
    QSignalSpy firstDone(&first, &Transfer::finished);
    QSignalSpy secondDone(&second, &Transfer::finished);
    second.start();
    QTest::qWait(250);
    first.start();
    QTRY_VERIFY_WITH_TIMEOUT(firstDone.size() == 1 && secondDone.size() == 1, 10000);
}

} // namespace

// The transfer logic against itself over a line in memory that loses and damages packets as
// told: what arrives is what was sent, byte for byte, or the failure is named.
class TransferTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void kermitCarriesEveryByte_data()
    {
        QTest::addColumn<int>("check");
        QTest::addColumn<char>("tamperedType");
        QTest::addColumn<int>("tamperedSequence");
        QTest::addColumn<bool>("drop");
        QTest::addColumn<bool>("fromReceiver");
        QTest::addColumn<int>("retries");
        QTest::newRow("check 1") << 1 << ' ' << 0 << false << false << 0;
        QTest::newRow("check 2") << 2 << ' ' << 0 << false << false << 0;
        QTest::newRow("check 3") << 3 << ' ' << 0 << false << false << 0;
        QTest::newRow("Send-Init lost") << 3 << 'S' << 0 << true << false << 1;
        QTest::newRow("data packet lost") << 3 << 'D' << 3 << true << false << 1;
        QTest::newRow("data packet damaged") << 3 << 'D' << 4 << false << false << 1;
        QTest::newRow("data damaged, check 1") << 1 << 'D' << 2 << false << false << 1;
        QTest::newRow("acknowledgement lost") << 3 << 'Y' << 5 << true << true << 1;
        QTest::newRow("Send-Init's acknowledgement lost") << 3 << 'Y' << 0 << true << true << 1;
        QTest::newRow("acknowledgement damaged") << 2 << 'Y' << 3 << false << true << 1;
        QTest::newRow("parity: 8-bit prefixed") << -3 << ' ' << 0 << false << false << 0;
        QTest::newRow("end of file lost") << 3 << 'Z' << -1 << true << false << 1;
    }
    void kermitCarriesEveryByte()
    {
        QFETCH(int, check);
        QFETCH(char, tamperedType);
        QFETCH(int, tamperedSequence);
        QFETCH(bool, drop);
        QFETCH(bool, fromReceiver);
        QFETCH(int, retries);
        Wire wire;
        (fromReceiver ? wire.b : wire.a).tamper = once(tamperedType, tamperedSequence, drop);
        const QByteArray sent = everyByte();
        // A negative check stands for that check on a line with parity: nothing may travel with
        // its eighth bit set.
        const bool parity = check < 0;
        bool eighthBit = false;
        for (WireEnd* end : {&wire.a, &wire.b})
            end->tamper = [&eighthBit, inner = end->tamper](const QByteArray& bytes) {
                eighthBit = eighthBit || std::any_of(bytes.begin(), bytes.end(),
                                                     [](char c) { return quint8(c) > 127; });
                return inner ? inner(bytes) : bytes;
            };
        KermitTransfer sender(wire.a, {Job::Send, "NOTES", sent, std::abs(check), parity}, Quick);
        KermitTransfer receiver(wire.b, {Job::Receive, {}, {}, std::abs(check)}, Quick);
        runBoth(sender, receiver);
        QCOMPARE(sender.end(), TransferEnd::Done);
        QCOMPARE(receiver.end(), TransferEnd::Done);
        QCOMPARE(receiver.received(), sent);
        QCOMPARE(eighthBit, !parity);
        QCOMPARE(receiver.receivedName(), QByteArray("NOTES"));
        QCOMPARE(sender.figures().bytes, sent.size());
        // Each side waits as long as the other, so a loss may be retried from both sides; a slow
        // machine may make either side try again even where nothing was lost.
        QVERIFY(retries == 0 || sender.figures().retries + receiver.figures().retries > 0);
    }

    void kermitFailuresAreNamed_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("senderEnd");
        QTest::addColumn<int>("receiverEnd");
        QTest::addColumn<QString>("detail");
        QTest::newRow("no answer") << "silent" << int(TransferEnd::NoAnswer) << -1 << "";
        QTest::newRow("cut off halfway")
            << "cut" << int(TransferEnd::Stopped) << int(TransferEnd::Stopped) << "";
        QTest::newRow("receiver cancels") << "receiver cancels" << int(TransferEnd::Refused)
                                          << int(TransferEnd::Cancelled) << "Cancelled by the user";
        QTest::newRow("sender cancels") << "sender cancels" << int(TransferEnd::Cancelled)
                                        << int(TransferEnd::Refused) << "Cancelled by the user";
    }
    void kermitFailuresAreNamed()
    {
        QFETCH(QString, what);
        QFETCH(int, senderEnd);
        QFETCH(int, receiverEnd);
        QFETCH(QString, detail);
        Wire wire;
        KermitTransfer sender(wire.a, {Job::Send, "NOTES", everyByte(), 3}, Quick);
        KermitTransfer receiver(wire.b, {Job::Receive, {}, {}, 3}, Quick);
        if (what == "silent") {
            wire.a.peer = nullptr;
            QSignalSpy done(&sender, &Transfer::finished);
            sender.start();
            QVERIFY(done.wait(5000));
            QCOMPARE(int(sender.end()), senderEnd);
            return;
        }
        if (what == "cut")
            wire.a.tamper = wire.b.tamper = [&sender](const QByteArray& bytes) {
                return sender.figures().packets > 5 ? QByteArray() : bytes;
            };
        Transfer& canceller = what.startsWith("receiver") ? static_cast<Transfer&>(receiver)
                                                          : static_cast<Transfer&>(sender);
        if (what.endsWith("cancels"))
            connect(&canceller, &Transfer::progressed, &canceller, [&canceller] {
                if (canceller.figures().packets == 4)
                    canceller.cancel();
            });
        runBoth(sender, receiver);
        QCOMPARE(int(sender.end()), senderEnd);
        QCOMPARE(int(receiver.end()), receiverEnd);
        QCOMPARE((what.startsWith("receiver") ? sender : receiver).detail(), detail);
    }

    void xmodemCarriesEveryByte_data()
    {
        QTest::addColumn<int>("tamperedBlock");
        QTest::addColumn<bool>("drop");
        QTest::addColumn<bool>("fromReceiver");
        QTest::newRow("clean") << 0 << false << false;
        QTest::newRow("block lost") << 2 << true << false;
        QTest::newRow("block damaged") << 3 << false << false;
        QTest::newRow("acknowledgement lost") << 4 << true << true;
    }
    void xmodemCarriesEveryByte()
    {
        QFETCH(int, tamperedBlock);
        QFETCH(bool, drop);
        QFETCH(bool, fromReceiver);
        Wire wire;
        int seen = 0;
        const auto tamper = [&](const QByteArray& bytes) {
            const bool counted =
                fromReceiver ? bytes == QByteArray(1, xmodem::Ack) : bytes.startsWith(xmodem::Soh);
            if (!counted || ++seen != tamperedBlock)
                return bytes;
            QByteArray damaged = drop ? QByteArray() : bytes;
            if (!drop)
                damaged[10] = char(damaged[10] + 1);
            return damaged;
        };
        (fromReceiver ? wire.b : wire.a).tamper = tamper;
        const QByteArray sent = everyByte();
        XModemTransfer sender(wire.a, XModemTransfer::Job::Send, sent, Quick);
        XModemTransfer receiver(wire.b, XModemTransfer::Job::Receive, {}, Quick);
        runBoth(sender, receiver);
        QCOMPARE(sender.end(), TransferEnd::Done);
        QCOMPARE(receiver.end(), TransferEnd::Done);
        // The last block is padded with zero bytes, as the calculator pads it.
        const qsizetype padded = (sent.size() + 127) / 128 * 128;
        QCOMPARE(receiver.received(), sent + QByteArray(padded - sent.size(), '\0'));
        QVERIFY(tamperedBlock == 0 || sender.figures().retries + receiver.figures().retries > 0);
    }

    void xmodemCancelEndsBothSides()
    {
        Wire wire;
        XModemTransfer sender(wire.a, XModemTransfer::Job::Send, everyByte(), Quick);
        XModemTransfer receiver(wire.b, XModemTransfer::Job::Receive, {}, Quick);
        connect(&receiver, &Transfer::progressed, &receiver, [&receiver] {
            if (receiver.figures().packets == 2)
                receiver.cancel();
        });
        runBoth(sender, receiver);
        QCOMPARE(sender.end(), TransferEnd::Refused);
        QCOMPARE(receiver.end(), TransferEnd::Cancelled);
    }
};

QTEST_GUILESS_MAIN(TransferTest)
#include "tst_transfer.moc"

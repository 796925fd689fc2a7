#include "Wire.h"
#include "link/KermitTransfer.h"
#include "link/XModemBlock.h"
#include "link/XModemTransfer.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

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

// A sender of `bytes` on one end of the wire and a receiver on the other: Kermit with block
// check `check`, or XModem for check 0.
struct Ends
{
    std::unique_ptr<Transfer> sender, receiver;
};
Ends ends(Wire& wire, int check, const QByteArray& bytes, bool parity = false)
{
    using XModem = XModemTransfer;
    if (check == 0)
        return {std::make_unique<XModem>(wire.a, XModem::Job::Send, bytes, Quick),
                std::make_unique<XModem>(wire.b, XModem::Job::Receive, QByteArray(), Quick)};
    return {std::make_unique<KermitTransfer>(
                wire.a, KermitTransfer::Order{Job::Send, "NOTES", bytes, check, parity}, Quick),
            std::make_unique<KermitTransfer>(
                wire.b, KermitTransfer::Order{Job::Receive, {}, {}, check}, Quick)};
}

// Damages or drops the packet of `type` numbered `sequence` (-1: any) the first time it goes by.
// An XModem block counts as a 'D' numbered as the block, its acknowledgement as a 'Y' of any
// number.
std::function<QByteArray(const QByteArray&)> once(char type, int sequence, bool drop)
{
    return [type, sequence, drop, done = false](const QByteArray& packet) mutable {
        const bool block = packet.size() == xmodem::LineLength;
        const bool ack = packet == QByteArray(1, xmodem::Ack);
        const char kind = ack ? 'Y' : block ? 'D' : packet.size() > 3 ? packet[3] : '\0';
        if (done || kind != type)
            return packet;
        const int number = ack ? sequence : block ? quint8(packet[1]) : kermit::unChar(packet[2]);
        if (sequence >= 0 && number != sequence)
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
    void carriesEveryByte_data()
    {
        QTest::addColumn<int>("check"); // 0: XModem
        QTest::addColumn<char>("tamperedType");
        QTest::addColumn<int>("tamperedSequence");
        QTest::addColumn<bool>("drop");
        QTest::newRow("check 1") << 1 << ' ' << 0 << false;
        QTest::newRow("check 2") << 2 << ' ' << 0 << false;
        QTest::newRow("check 3") << 3 << ' ' << 0 << false;
        QTest::newRow("Send-Init lost") << 3 << 'S' << 0 << true;
        QTest::newRow("data packet lost") << 3 << 'D' << 3 << true;
        QTest::newRow("data packet damaged") << 3 << 'D' << 4 << false;
        QTest::newRow("data damaged, check 1") << 1 << 'D' << 2 << false;
        QTest::newRow("acknowledgement lost") << 3 << 'Y' << 5 << true;
        QTest::newRow("Send-Init's acknowledgement lost") << 3 << 'Y' << 0 << true;
        QTest::newRow("acknowledgement damaged") << 2 << 'Y' << 3 << false;
        QTest::newRow("parity: 8-bit prefixed") << -3 << ' ' << 0 << false;
        QTest::newRow("end of file lost") << 3 << 'Z' << -1 << true;
        QTest::newRow("XModem") << 0 << ' ' << 0 << false;
        QTest::newRow("XModem block lost") << 0 << 'D' << 2 << true;
        QTest::newRow("XModem block damaged") << 0 << 'D' << 3 << false;
        QTest::newRow("XModem acknowledgement lost") << 0 << 'Y' << -1 << true;
    }
    void carriesEveryByte()
    {
        QFETCH(int, check);
        QFETCH(char, tamperedType);
        QFETCH(int, tamperedSequence);
        QFETCH(bool, drop);
        const QByteArray sent = everyByte();
        // A negative check stands for that check on a line with parity: nothing may travel with
        // its eighth bit set.
        const bool parity = check < 0;
        bool eighthBit = false;
        // Each kind of packet goes one way only, so one tamperer serves both directions.
        auto damage = once(tamperedType, tamperedSequence, drop);
        Wire wire;
        wire.a.tamper = wire.b.tamper = [&eighthBit, &damage](const QByteArray& bytes) {
            eighthBit = eighthBit || std::any_of(bytes.begin(), bytes.end(),
                                                 [](char c) { return quint8(c) > 127; });
            return damage(bytes);
        };
        const auto [sender, receiver] = ends(wire, std::abs(check), sent, parity);
        runBoth(*sender, *receiver);
        QCOMPARE(sender->end(), TransferEnd::Done);
        QCOMPARE(receiver->end(), TransferEnd::Done);
        // XModem pads the last block with zero bytes, as the calculator pads it.
        const qsizetype padding = check ? 0 : (128 - sent.size() % 128) % 128;
        QCOMPARE(receiver->received(), sent + QByteArray(padding, '\0'));
        QCOMPARE(eighthBit, !parity);
        if (check)
            QCOMPARE(static_cast<KermitTransfer&>(*receiver).receivedName(), "NOTES");
        QCOMPARE(sender->figures().bytes, sent.size());
        // Each side waits as long as the other, so a loss may be retried from both sides; a slow
        // machine may make either side try again even where nothing was lost.
        QVERIFY(tamperedType == ' ' || sender->figures().retries + receiver->figures().retries > 0);
    }

    void failuresAreNamed_data()
    {
        QTest::addColumn<TransferEnd>("senderEnd");
        QTest::addColumn<TransferEnd>("receiverEnd");
        QTest::addColumn<QString>("detail");
        QTest::newRow("no answer") << TransferEnd::NoAnswer << TransferEnd::Running << "";
        QTest::newRow("cut off halfway") << TransferEnd::Stopped << TransferEnd::Stopped << "";
        QTest::newRow("receiver cancels")
            << TransferEnd::Refused << TransferEnd::Cancelled << "Cancelled by the user";
        QTest::newRow("sender cancels")
            << TransferEnd::Cancelled << TransferEnd::Refused << "Cancelled by the user";
        QTest::newRow("XModem receiver cancels")
            << TransferEnd::Refused << TransferEnd::Cancelled << "";
    }
    void failuresAreNamed()
    {
        const QString what = QTest::currentDataTag();
        QFETCH(TransferEnd, senderEnd);
        QFETCH(TransferEnd, receiverEnd);
        QFETCH(QString, detail);
        Wire wire;
        const auto [sender, receiver] = ends(wire, what.startsWith("XModem") ? 0 : 3, everyByte());
        if (what == "no answer") {
            wire.a.peer = nullptr;
            QSignalSpy done(sender.get(), &Transfer::finished);
            sender->start();
            QVERIFY(done.wait(5000));
            QCOMPARE(sender->end(), senderEnd);
            return;
        }
        if (what == "cut off halfway")
            wire.a.tamper = wire.b.tamper = [&sender = *sender](const QByteArray& bytes) {
                return sender.figures().packets > 5 ? QByteArray() : bytes;
            };
        Transfer& canceller = what.contains("receiver") ? *receiver : *sender;
        if (what.endsWith("cancels"))
            connect(&canceller, &Transfer::progressed, &canceller, [&canceller] {
                if (canceller.figures().packets == 4)
                    canceller.cancel();
            });
        runBoth(*sender, *receiver);
        QCOMPARE(sender->end(), senderEnd);
        QCOMPARE(receiver->end(), receiverEnd);
        QCOMPARE((what.contains("receiver") ? sender : receiver)->detail(), detail);
    }
};

QTEST_GUILESS_MAIN(TransferTest)
#include "tst_transfer.moc"

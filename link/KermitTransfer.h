#pragma once

#include "link/KermitPacket.h"
#include "link/Transfer.h"

#include <QElapsedTimer>

// One Kermit transaction with the calculator, one packet at a time (it has no sliding windows):
// sending a file, getting a variable from its server or its directory listing, finishing its
// server, or waiting for what its SEND sends. A lost or damaged packet is sent again, or asked
// for again with a NAK, until the retries run out; an error packet from either side ends the
// transaction on both, so that the calculator is ready for the next one.
class KermitTransfer final : public Transfer
{
    Q_OBJECT

public:
    enum class Job { Send, Get, Directory, Finish, Receive };
    struct Order
    {
        Job job = Job::Send;
        // The file's name when sending, the variable's when getting.
        QByteArray name;
        QByteArray bytes;
        int checkType = 3;
        // With parity on the line the eighth bit carries the parity: bytes with it set travel
        // with the 8-bit prefix, which Tabulet then asks for.
        bool parity = false;
    };

    KermitTransfer(QIODevice& line, Order order, const LinkTiming& timing,
                   QObject* parent = nullptr);

    // The name the other side gave what it sent.
    QByteArray receivedName() const { return m_receivedName; }

    // The longest packet Tabulet asks for. Some hosts' Kermits send packets of an illegal
    // length when asked for 90 to 94; the calculator sends what it is asked for.
    static constexpr int LongestReceived = 89;

private:
    enum class Phase {
        SendInit,
        SendName,
        SendData,
        SendEnd,
        SendBreak,
        Command,
        AwaitInit,
        AwaitName,
        AwaitData,
        AwaitBreak,
    };

    void begin() override;
    void readLine(QByteArray& input) override;
    bool sendInitRepeated(QByteArray& input);
    void waitedTooLong() override;
    void sayCancelled() override;

    bool sending() const { return m_phase <= Phase::Command; }
    void sendFirst(char type, const QByteArray& data);
    void sendNext(char type, const QByteArray& data = QByteArray());
    void sendCurrent();
    void sendNextData();
    void packetArrived(const kermit::Packet& packet);
    void answerWhileSending(const kermit::Packet& packet);
    void takeReply(const kermit::Packet& packet);
    void acknowledged(const kermit::Packet& packet);
    void acceptInit(const kermit::Packet& packet);
    void takeWhileReceiving(const kermit::Packet& packet);
    void takeData(const kermit::Packet& packet);
    void acknowledge(int sequence, const QByteArray& data = QByteArray());
    void askAgain();
    void tryAgain();
    void giveUp();
    void sendError(const QString& text);
    QByteArray prefixed(QByteArrayView bytes) const;
    QString errorText(const QByteArray& data) const;
    int expected() const { return (m_sequence + 1) % 64; }

    Order m_order;
    Phase m_phase = Phase::SendInit;
    kermit::Parameters m_ours;
    kermit::Agreement m_agreed;
    int m_check = 1;
    // The packet sent last, or accepted last when receiving.
    int m_sequence = 0;
    kermit::Packet m_outgoing;
    QByteArray m_lastReply;
    qsizetype m_sent = 0;
    qsizetype m_inFlight = 0;
    QByteArray m_receivedName;
    // A second file in one transaction is acknowledged and left out.
    bool m_discarding = false;
    bool m_senderDiscarded = false;
    QElapsedTimer m_waitingSince;
};

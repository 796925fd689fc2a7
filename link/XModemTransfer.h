#pragma once

#include "link/Transfer.h"

#include <QElapsedTimer>

// XModem as the 48G series speaks it with XSEND and XRECV: 128-byte blocks with the arithmetic
// checksum, the receiver starting the transfer with a NAK. A block that is lost or damaged is
// sent again; CAN from either side ends the transfer at once.
class XModemTransfer final : public Transfer
{
    Q_OBJECT

public:
    enum class Job { Send, Receive };

    // Sends `bytes` (the object's binary form), or receives what the calculator sends.
    XModemTransfer(QIODevice& line, Job job, const QByteArray& bytes, const LinkTiming& timing,
                   QObject* parent = nullptr);

private:
    enum class Phase { AwaitStart, Blocks, AwaitEnd };

    void begin() override;
    void readLine(QByteArray& input) override;
    void waitedTooLong() override;
    void sayCancelled() override;

    void answerWhileSending(char answer);
    void sendBlock();
    qsizetype blocks() const;
    void takeBlock(QByteArray& input);
    void acceptBlock(const QByteArray& line);
    void answer(char reply);
    void askAgain();
    void resendAfterRetry();
    // Gives up, telling the other side with CAN.
    void stop();

    Job m_job;
    QByteArray m_bytes;
    Phase m_phase = Phase::AwaitStart;
    // The block being sent, or the one expected next, counted from 0.
    qsizetype m_block = 0;
    QElapsedTimer m_waitingSince;
};

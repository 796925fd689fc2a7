#include "link/XModemTransfer.h"

#include "link/XModemBlock.h"

#include <utility>

namespace {

// A receiver that is waiting says so with a NAK this often, until the sender starts.
constexpr int StartNakMs = 3000;

} // namespace

XModemTransfer::XModemTransfer(QIODevice& line, Job job, const QByteArray& bytes,
                               const LinkTiming& timing, QObject* parent)
    : Transfer(line, timing, parent), m_job(job), m_bytes(bytes)
{
    m_figures.total = job == Job::Send ? bytes.size() : 0;
}

void XModemTransfer::begin()
{
    m_waitingSince.start();
    wait(std::min(StartNakMs, m_timing.answerMs));
    if (m_job == Job::Receive) {
        dropWaitingInput();
        answer(xmodem::Nak);
        return;
    }
    // A receiver that was started first has already asked for the first block: its NAK is
    // waiting on the line, and another may be long in coming.
    takeWaitingInput();
}

void XModemTransfer::sayCancelled()
{
    write(QByteArray(3, xmodem::Cancel));
}

qsizetype XModemTransfer::blocks() const
{
    return (m_bytes.size() + xmodem::BlockLength - 1) / xmodem::BlockLength;
}

void XModemTransfer::readLine(QByteArray& input)
{
    if (m_job == Job::Receive) {
        takeBlock(input);
        return;
    }
    const QByteArray answers = std::exchange(input, QByteArray());
    // A receiver that has waited a while has asked for the first block more than once; it gets
    // it once. A receiver asking for CRC ("C") gets no answer: it falls back to the checksum.
    if (m_phase == Phase::AwaitStart) {
        if (answers.contains(xmodem::Cancel)) {
            finish(TransferEnd::Refused);
        } else if (answers.contains(xmodem::Nak)) {
            m_phase = Phase::Blocks;
            sendBlock();
        }
        return;
    }
    for (const char c : answers) {
        if (end() != TransferEnd::Running)
            return;
        answerWhileSending(c);
    }
}

void XModemTransfer::answerWhileSending(char c)
{
    if (c == xmodem::Cancel) {
        finish(TransferEnd::Refused);
        return;
    }
    if (c == xmodem::Nak) {
        resendAfterRetry();
    } else if (c == xmodem::Ack && m_phase == Phase::Blocks) {
        progressMade();
        m_figures.bytes = std::min(m_bytes.size(), (m_block + 1) * xmodem::BlockLength);
        if (++m_block < blocks()) {
            sendBlock();
            return;
        }
        m_phase = Phase::AwaitEnd;
        write(QByteArray(1, xmodem::Eot));
        wait(m_timing.answerMs);
    } else if (c == xmodem::Ack && m_phase == Phase::AwaitEnd) {
        finish(TransferEnd::Done);
    }
}

void XModemTransfer::sendBlock()
{
    const QByteArrayView data = QByteArrayView(m_bytes).sliced(m_block * xmodem::BlockLength);
    write(xmodem::encode(quint8(m_block + 1),
                         data.first(std::min<qsizetype>(data.size(), xmodem::BlockLength))));
    ++m_figures.packets;
    Q_EMIT progressed();
    wait(m_timing.answerMs);
}

void XModemTransfer::takeBlock(QByteArray& input)
{
    while (!input.isEmpty() && end() == TransferEnd::Running) {
        const char first = input.front();
        if (first == xmodem::Eot) {
            answer(xmodem::Ack);
            finish(TransferEnd::Done);
        } else if (first == xmodem::Cancel) {
            finish(TransferEnd::Refused);
        } else if (first == xmodem::Soh) {
            if (input.size() < xmodem::LineLength)
                return;
            acceptBlock(input.first(xmodem::LineLength));
            input.remove(0, xmodem::LineLength);
            continue;
        }
        input.remove(0, 1);
    }
}

void XModemTransfer::acceptBlock(const QByteArray& line)
{
    const std::optional<xmodem::Block> block = xmodem::decode(line);
    const quint8 expected = quint8(m_block + 1);
    if (!block) {
        askAgain();
        return;
    }
    m_phase = Phase::Blocks;
    if (block->number == expected) {
        m_received += block->data;
        ++m_block;
        progressMade();
        m_figures.bytes = m_received.size();
        ++m_figures.packets;
        Q_EMIT progressed();
    } else if (block->number != quint8(expected - 1)) {
        // Neither the block expected nor the one before it again: the two sides have lost
        // each other, and XModem cannot find its way back.
        stop();
        return;
    }
    // The block before again: its acknowledgement was lost.
    answer(xmodem::Ack);
}

void XModemTransfer::answer(char reply)
{
    write(QByteArray(1, reply));
    wait(m_timing.answerMs);
}

// A damaged block, or silence: the sender is asked for the block again.
void XModemTransfer::askAgain()
{
    if (!retry()) {
        stop();
        return;
    }
    dropWaitingInput();
    answer(xmodem::Nak);
}

void XModemTransfer::resendAfterRetry()
{
    if (!retry()) {
        stop();
        return;
    }
    if (m_phase == Phase::Blocks) {
        sendBlock();
        return;
    }
    write(QByteArray(1, xmodem::Eot));
    wait(m_timing.answerMs);
}

void XModemTransfer::stop()
{
    write(QByteArray(3, xmodem::Cancel));
    finish(heard() ? TransferEnd::Stopped : TransferEnd::NoAnswer);
}

void XModemTransfer::waitedTooLong()
{
    if (m_phase == Phase::AwaitStart) {
        if (m_waitingSince.hasExpired(m_timing.startMs)) {
            finish(TransferEnd::NoAnswer);
            return;
        }
        if (m_job == Job::Receive)
            write(QByteArray(1, xmodem::Nak));
        wait(std::min(StartNakMs, m_timing.answerMs));
        return;
    }
    if (m_job == Job::Receive)
        askAgain();
    else
        resendAfterRetry();
}

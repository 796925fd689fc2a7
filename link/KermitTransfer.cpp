#include "link/KermitTransfer.h"

using kermit::Packet;
using kermit::Received;

namespace {

// Before Send-Init is acknowledged both sides prefix as the protocol says by default.
const kermit::Prefixes DefaultPrefixes;

QString latin1(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes);
}

} // namespace

KermitTransfer::KermitTransfer(QIODevice& line, Order order, const LinkTiming& timing,
                               QObject* parent)
    : Transfer(line, timing, parent), m_order(std::move(order))
{
    m_ours.longestPacket = LongestReceived;
    m_ours.checkType = m_order.checkType;
    if (m_order.parity)
        m_ours.eightBit = '&';
    m_figures.total = m_order.job == Job::Send ? m_order.bytes.size() : 0;
}

void KermitTransfer::begin()
{
    // An idle server's NAKs are not meant for the exchange about to start; a SEND started
    // before Receive was chosen has sent its Send-Init, which is.
    if (m_order.job != Job::Receive)
        dropWaitingInput();
    switch (m_order.job) {
    case Job::Send:
        m_phase = Phase::SendInit;
        sendFirst('S', kermit::encodeParameters(m_ours));
        break;
    case Job::Get:
        m_phase = Phase::Command;
        sendFirst('R', prefixed(m_order.name));
        break;
    case Job::Directory:
    case Job::Finish:
        m_phase = Phase::Command;
        sendFirst('G', m_order.job == Job::Directory ? "D" : "F");
        break;
    case Job::Receive:
        m_phase = Phase::AwaitInit;
        m_waitingSince.start();
        wait(m_timing.answerMs);
        takeWaitingInput();
        break;
    }
}

void KermitTransfer::sayCancelled()
{
    sendError(tr("Cancelled by the user"));
}

void KermitTransfer::readLine(QByteArray& input)
{
    while (end() == TransferEnd::Running) {
        if (sendInitRepeated(input))
            continue;
        const Received found = kermit::decode(input, m_check);
        input.remove(0, found.used);
        if (found.status == Received::Incomplete)
            return;
        if (found.status == Received::Damaged)
            tryAgain();
        else
            packetArrived(found.packet);
    }
}

// Our acknowledgement of Send-Init was lost: the sender sends Send-Init again, still with the
// check both sides started with, and gets the same acknowledgement again.
bool KermitTransfer::sendInitRepeated(QByteArray& input)
{
    if (m_phase != Phase::AwaitName || m_check == 1)
        return false;
    const Received again = kermit::decode(input, 1);
    if (again.status != Received::Whole || again.packet.type != 'S')
        return false;
    input.remove(0, again.used);
    write(m_lastReply);
    return true;
}

void KermitTransfer::waitedTooLong()
{
    if (m_phase == Phase::AwaitInit) {
        if (m_waitingSince.hasExpired(m_timing.startMs)) {
            finish(TransferEnd::NoAnswer);
            return;
        }
        // A NAK tells a sender that is already waiting to try again.
        write(kermit::encode({0, 'N', {}}, 1));
        wait(m_timing.answerMs);
        return;
    }
    tryAgain();
}

void KermitTransfer::sendFirst(char type, const QByteArray& data)
{
    m_sequence = 0;
    m_outgoing = {0, type, data};
    sendCurrent();
}

void KermitTransfer::sendNext(char type, const QByteArray& data)
{
    m_sequence = expected();
    m_outgoing = {m_sequence, type, data};
    progressMade();
    sendCurrent();
}

void KermitTransfer::sendCurrent()
{
    write(kermit::encode(m_outgoing, m_check));
    ++m_figures.packets;
    Q_EMIT progressed();
    wait(m_timing.answerMs);
}

void KermitTransfer::sendNextData()
{
    if (m_sent == m_order.bytes.size()) {
        m_phase = Phase::SendEnd;
        sendNext('Z');
        return;
    }
    QByteArray data;
    const qsizetype room = m_agreed.longestPacket - 2 - m_check;
    m_inFlight = kermit::encodeData(QByteArrayView(m_order.bytes).sliced(m_sent), m_agreed.sending,
                                    room, data);
    sendNext('D', data);
}

void KermitTransfer::packetArrived(const Packet& packet)
{
    if (packet.type == 'E') {
        finish(TransferEnd::Refused, errorText(packet.data));
        return;
    }
    if (sending())
        answerWhileSending(packet);
    else
        takeWhileReceiving(packet);
}

void KermitTransfer::answerWhileSending(const Packet& packet)
{
    if (m_phase == Phase::Command) {
        // The server answers a command with a short reply of its own, or by sending a file.
        if (packet.type == 'S')
            acceptInit(packet);
        else if (packet.type == 'Y' && packet.sequence == 0)
            takeReply(packet);
        else if (packet.type == 'N' && retry())
            sendCurrent();
        return;
    }
    // A NAK for the packet after the one sent means the one sent arrived.
    if ((packet.type == 'Y' && packet.sequence == m_sequence) ||
        (packet.type == 'N' && packet.sequence == expected())) {
        acknowledged(packet);
    } else if (packet.type == 'N') {
        if (retry())
            sendCurrent();
        else
            giveUp();
    }
}

void KermitTransfer::takeReply(const Packet& packet)
{
    m_received = kermit::decodeData(packet.data, DefaultPrefixes).value_or(packet.data);
    finish(TransferEnd::Done);
}

void KermitTransfer::acknowledged(const Packet& packet)
{
    switch (m_phase) {
    case Phase::SendInit:
        m_agreed = kermit::agree(m_ours, kermit::decodeParameters(packet.data));
        m_check = m_agreed.checkType;
        m_phase = Phase::SendName;
        sendNext('F', prefixed(m_order.name));
        break;
    case Phase::SendName:
        m_phase = Phase::SendData;
        sendNextData();
        break;
    case Phase::SendData:
        if (packet.type == 'Y' && (packet.data.startsWith('X') || packet.data.startsWith('Z'))) {
            sendError(tr("Transfer stopped"));
            finish(TransferEnd::Refused);
            return;
        }
        m_sent += m_inFlight;
        m_figures.bytes = m_sent;
        sendNextData();
        break;
    case Phase::SendEnd:
        m_phase = Phase::SendBreak;
        sendNext('B');
        break;
    default:
        finish(TransferEnd::Done);
        break;
    }
}

void KermitTransfer::acceptInit(const Packet& packet)
{
    m_agreed = kermit::agree(m_ours, kermit::decodeParameters(packet.data));
    // The acknowledgement still goes with the check both sides started with.
    acknowledge(packet.sequence, kermit::encodeParameters(m_ours));
    m_check = m_agreed.checkType;
    m_phase = Phase::AwaitName;
}

void KermitTransfer::takeWhileReceiving(const Packet& packet)
{
    if (m_phase == Phase::AwaitInit) {
        if (packet.type == 'S')
            acceptInit(packet);
        return;
    }
    if (packet.sequence == m_sequence) {
        // Our acknowledgement was lost: the sender sent its packet again.
        write(m_lastReply);
        return;
    }
    if (packet.sequence != expected()) {
        askAgain();
        return;
    }
    const char type = packet.type;
    if ((type == 'F' || type == 'X') && m_phase != Phase::AwaitData) {
        m_discarding = m_phase == Phase::AwaitBreak;
        if (!m_discarding)
            m_receivedName = kermit::decodeData(packet.data, m_agreed.receiving).value_or("");
        m_phase = Phase::AwaitData;
        acknowledge(packet.sequence);
    } else if ((type == 'D' || type == 'A') && m_phase == Phase::AwaitData) {
        takeData(packet);
    } else if (type == 'Z' && m_phase == Phase::AwaitData) {
        m_phase = Phase::AwaitBreak;
        // The sender discarded the file it was sending.
        m_senderDiscarded = m_senderDiscarded || (packet.data == "D" && !m_discarding);
        acknowledge(packet.sequence);
    } else if (type == 'B' && m_phase == Phase::AwaitBreak) {
        acknowledge(packet.sequence);
        if (m_senderDiscarded)
            finish(TransferEnd::Refused, tr("The file was discarded"));
        else
            finish(TransferEnd::Done);
    }
}

void KermitTransfer::takeData(const Packet& packet)
{
    if (packet.type == 'D') {
        const std::optional<QByteArray> bytes = kermit::decodeData(packet.data, m_agreed.receiving);
        if (!bytes) {
            askAgain();
            return;
        }
        if (!m_discarding)
            m_received += *bytes;
        m_figures.bytes = m_received.size();
    }
    acknowledge(packet.sequence);
}

void KermitTransfer::acknowledge(int sequence, const QByteArray& data)
{
    m_sequence = sequence;
    m_lastReply = kermit::encode({sequence, 'Y', data}, m_check);
    write(m_lastReply);
    ++m_figures.packets;
    progressMade();
    Q_EMIT progressed();
    wait(m_timing.answerMs);
}

void KermitTransfer::askAgain()
{
    write(kermit::encode({expected(), 'N', {}}, m_check));
    wait(m_timing.answerMs);
}

// Silence or a damaged packet: the packet sent is sent again, or the one expected asked for again.
void KermitTransfer::tryAgain()
{
    if (!retry()) {
        giveUp();
        return;
    }
    if (sending())
        sendCurrent();
    else
        askAgain();
}

void KermitTransfer::giveUp()
{
    if (!heard()) {
        finish(TransferEnd::NoAnswer);
        return;
    }
    sendError(tr("Too many retries"));
    finish(TransferEnd::Stopped);
}

void KermitTransfer::sendError(const QString& text)
{
    const int sequence = sending() ? m_sequence : expected();
    write(kermit::encode({sequence, 'E', prefixed(text.toLatin1())}, m_check));
}

QByteArray KermitTransfer::prefixed(QByteArrayView bytes) const
{
    const kermit::Prefixes& prefixes = m_phase == Phase::SendInit || m_phase == Phase::Command
                                           ? DefaultPrefixes
                                           : m_agreed.sending;
    QByteArray data;
    kermit::encodeData(bytes, prefixes, kermit::LongestPacket - 2 - m_check, data);
    return data;
}

QString KermitTransfer::errorText(const QByteArray& data) const
{
    const kermit::Prefixes& prefixes = m_check == 1 ? DefaultPrefixes : m_agreed.receiving;
    return latin1(kermit::decodeData(data, prefixes).value_or(data)).trimmed();
}

#include "link/Transfer.h"

#include <QIODevice>
#include <QSerialPort>

Transfer::Transfer(QIODevice& line, const LinkTiming& timing, QObject* parent)
    : QObject(parent), m_line(line), m_timing(timing)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_cancelling)
            endCancelled();
        else if (m_end == TransferEnd::Running)
            waitedTooLong();
    });
    connect(&m_line, &QIODevice::readyRead, this, &Transfer::lineReadable);
    // A cable pulled out, or an adapter gone from the system, takes the port with it.
    if (auto* port = qobject_cast<QSerialPort*>(&line))
        connect(port, &QSerialPort::errorOccurred, this,
                [this, port](QSerialPort::SerialPortError error) {
                    if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
                        error == QSerialPort::WriteError)
                        finish(TransferEnd::Stopped, port->errorString());
                });
}

void Transfer::start()
{
    m_started = true;
    begin();
}

void Transfer::lineReadable()
{
    if (m_end != TransferEnd::Running || !m_started)
        return;
    const QByteArray arrived = m_line.readAll();
    if (arrived.isEmpty())
        return;
    m_heard = true;
    if (m_cancelling) {
        endCancelled();
        return;
    }
    m_input += arrived;
    readLine(m_input);
}

void Transfer::cancel()
{
    if (m_end != TransferEnd::Running || m_cancelling)
        return;
    if (!m_heard) {
        finish(TransferEnd::Cancelled);
        return;
    }
    m_cancelling = true;
    // What was sent last is answered soon, if at all.
    constexpr int AnswerToCancelMs = 2000;
    m_timer.start(std::min(m_timing.answerMs, AnswerToCancelMs));
    Q_EMIT progressed();
}

void Transfer::endCancelled()
{
    sayCancelled();
    finish(TransferEnd::Cancelled);
}

void Transfer::write(const QByteArray& bytes)
{
    if (m_end == TransferEnd::Running && m_line.write(bytes) < 0)
        finish(TransferEnd::Stopped, m_line.errorString());
}

void Transfer::wait(int ms)
{
    // A calculator that is there and waiting answers the first packet at once; a cable that
    // leads nowhere should not keep the user waiting for minutes before saying so.
    constexpr int FirstAnswerMs = 3000;
    // Once cancelled, the transfer waits only as long as cancelling allows.
    if (!m_cancelling)
        m_timer.start(m_heard ? ms : std::min(ms, FirstAnswerMs));
}

bool Transfer::retry()
{
    if (++m_tries > m_timing.retries)
        return false;
    ++m_figures.retries;
    Q_EMIT progressed();
    return true;
}

void Transfer::finish(TransferEnd end, const QString& detail)
{
    if (m_end != TransferEnd::Running)
        return;
    m_end = end;
    m_detail = detail;
    m_timer.stop();
    disconnect(&m_line, nullptr, this, nullptr);
    // The last acknowledgement must reach the calculator before the line is closed, or it
    // goes on waiting for it.
    while (m_line.bytesToWrite() > 0 && m_line.waitForBytesWritten(1000)) {
    }
    Q_EMIT finished();
}

void Transfer::dropWaitingInput()
{
    // What the system holds for the port and has not handed over yet goes as well.
    if (auto* port = qobject_cast<QSerialPort*>(&m_line))
        port->clear(QSerialPort::Input);
    m_line.readAll();
    m_input.clear();
}

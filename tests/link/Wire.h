#pragma once

#include <QIODevice>
#include <QTimer>
#include <functional>

// One end of a serial line in memory. What it writes reaches its peer on the next turn of the
// event loop, after `tamper` has had its say: it may drop a packet or damage it.
class WireEnd final : public QIODevice
{
public:
    WireEnd() { open(QIODevice::ReadWrite); }

    WireEnd* peer = nullptr;
    std::function<QByteArray(const QByteArray&)> tamper;

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return m_buffer.size() + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char* data, qint64 most) override
    {
        const qint64 count = std::min<qint64>(most, m_buffer.size());
        std::copy_n(m_buffer.constData(), count, data);
        m_buffer.remove(0, count);
        return count;
    }
    qint64 writeData(const char* data, qint64 length) override
    {
        QByteArray bytes(data, length);
        if (tamper)
            bytes = tamper(bytes);
        if (peer && !bytes.isEmpty())
            QTimer::singleShot(0, peer, [to = peer, bytes] {
                to->m_buffer += bytes;
                Q_EMIT to->readyRead();
            });
        return length;
    }

private:
    QByteArray m_buffer;
};

struct Wire
{
    Wire()
    {
        a.peer = &b;
        b.peer = &a;
    }
    WireEnd a, b;
};

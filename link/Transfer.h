#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class QIODevice;

// What the progress window shows of a transfer that is running.
struct TransferFigures
{
    qint64 bytes = 0;
    // The bytes the whole transfer carries; 0 while not known (something being received).
    qint64 total = 0;
    int packets = 0;
    int retries = 0;
};

// How long a transfer waits for the calculator. Its Kermit is slow and collects a large object
// whole before it answers, so a packet is given a generous time; tests shorten it.
struct LinkTiming
{
    int answerMs = 20000;
    // How many times one packet is sent again (or asked for again) before giving up.
    int retries = 5;
    // Receive: how long the calculator may take to start its SEND once asked to.
    int startMs = 120000;
};

// How a transfer ended.
enum class TransferEnd {
    Running,
    Done,
    // Nothing came back at all: no calculator, or one not waiting.
    NoAnswer,
    // It answered, then stopped answering, or kept sending damaged packets.
    Stopped,
    // It sent an error packet (or cancelled the XModem transfer); the detail is its text.
    Refused,
    Cancelled,
};

// One transfer over the serial line, driven by the line's signals and its own timer, so that the
// window answers while it runs. It owns nothing of the document: it takes bytes and gives bytes.
class Transfer : public QObject
{
    Q_OBJECT

public:
    Transfer(QIODevice& line, const LinkTiming& timing, QObject* parent = nullptr);

    void start();
    // Ends the transfer in a way that leaves the calculator ready for the next one. The other
    // side is told in answer to what it sends next: one that clears its input after each
    // answer it reads would otherwise never see it. A side that has said nothing yet is not
    // told.
    void cancel();
    bool cancelling() const { return m_cancelling; }

    TransferEnd end() const { return m_end; }
    QString detail() const { return m_detail; }
    // What was received: the object's bytes, or the text of a directory listing.
    QByteArray received() const { return m_received; }
    const TransferFigures& figures() const { return m_figures; }

Q_SIGNALS:
    void progressed();
    void finished();

protected:
    // Starts the exchange: what arrives before is not read.
    virtual void begin() = 0;
    // Called with every byte that has arrived and not yet been used; takes what it uses.
    virtual void readLine(QByteArray& input) = 0;
    // The wait for an answer ran out.
    virtual void waitedTooLong() = 0;
    // Tells the other side that the transfer ends here.
    virtual void sayCancelled() = 0;

    void write(const QByteArray& bytes);
    void wait(int ms);
    // Counts one more try of the same packet; false once there have been too many.
    bool retry();
    void progressMade() { m_tries = 0; }
    void finish(TransferEnd end, const QString& detail = QString());
    // The calculator idles with its own packets on the line; a new exchange ignores them.
    void dropWaitingInput();
    // Reads what arrived before the transfer started.
    void takeWaitingInput() { lineReadable(); }
    bool heard() const { return m_heard; }

    QIODevice& m_line;
    LinkTiming m_timing;
    TransferFigures m_figures;
    QByteArray m_received;

private:
    void lineReadable();
    void endCancelled();

    QTimer m_timer;
    QByteArray m_input;
    TransferEnd m_end = TransferEnd::Running;
    QString m_detail;
    int m_tries = 0;
    bool m_heard = false;
    bool m_cancelling = false;
    bool m_started = false;
};

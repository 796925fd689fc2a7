// Sending a 32 KB document to a Kermit receiver over a pseudo-terminal pair, beside C-Kermit
// sending the same bytes over the same pair with the same packet length and block check: the
// receiver (gkermit) is the same for both and asks for packets of 89.
#include "BenchSupport.h"
#include "link/KermitTransfer.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSerialPort>
#include <QSignalSpy>
#include <QThread>
#include <cstdio>

namespace {

constexpr int Runs = 7;

QString sample(const QTemporaryDir& folder, qsizetype size)
{
    Document document;
    bench::typeSampleRecords(document, 260);
    QByteArray bytes = document.fileBytes({});
    bytes.truncate(size);
    const QString path = folder.filePath(QStringLiteral("NOTES"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the sample");
    return path;
}

// gkermit receiving once on the far end, into a folder of its own.
void startReceiver(QProcess& receiver, const QString& line, const QString& folder)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    receiver.setWorkingDirectory(folder);
    receiver.setStandardInputFile(line);
    receiver.setStandardOutputFile(line);
    receiver.start(QStringLiteral("gkermit"), {"-r", "-i", "-P", "-q", "-e", "89"});
    receiver.waitForStarted();
}

void sendWithTabulet(const QString& port, const QByteArray& bytes)
{
    QSerialPort line(port);
    if (!line.open(QIODevice::ReadWrite))
        qFatal("cannot open %s", qPrintable(port));
    KermitTransfer transfer(line, {KermitTransfer::Job::Send, "NOTES", bytes, 3}, LinkTiming{});
    QSignalSpy done(&transfer, &Transfer::finished);
    transfer.start();
    if (!done.wait(60000) || transfer.end() != TransferEnd::Done)
        qFatal("Tabulet's send did not finish");
}

// Timed until the receiver has the file: C-Kermit's own start and its exit are not its
// transfer.
void sendWithCKermit(QProcess& kermit, const QString& port, const QString& file)
{
    const QString commands =
        QStringLiteral(
            "set line %1, set speed 9600, set carrier-watch off, set flow none, "
            "set parity none, set window 1, set block-check 3, set delay 0, set repeat counts "
            "off, set attributes off, set control prefix all, set transfer mode "
            "manual, set file type binary, send %2, exit")
            .arg(port, file);
    kermit.start(QStringLiteral("kermit"), {"-Y", "-C", commands});
    kermit.waitForStarted();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    const QString port = folder.filePath(QStringLiteral("tabulet"));
    const QString far = folder.filePath(QStringLiteral("far"));
    QProcess socat;
    socat.start(QStringLiteral("socat"),
                {"pty,raw,echo=0,link=" + port, "pty,raw,echo=0,link=" + far});
    for (int tries = 0; tries < 100 && !(QFile::exists(port) && QFile::exists(far)); ++tries)
        QThread::msleep(20);
    const QString received = folder.filePath(QStringLiteral("received"));
    QProcess receiver;
    QProcess kermit;
    const auto receiving = [&](const char* sender, const std::function<void()>& send) {
        return [&, sender, send] {
            startReceiver(receiver, far, received);
            send();
            if (!receiver.waitForFinished(60000))
                qFatal("the receiver did not finish what %s sent", sender);
        };
    };
    // The 32 KB of a large document, and a few bytes, whose time is what each program takes
    // whatever it sends.
    for (const qsizetype size : {32 * 1024, 43}) {
        const QString file = sample(folder, size);
        const QByteArray bytes = bench::readAll(file);
        const auto putAway = [&] {
            if (kermit.state() != QProcess::NotRunning && !kermit.waitForFinished(60000))
                qFatal("C-Kermit did not finish");
            if (bench::readAll(QDir(received).filePath(QStringLiteral("NOTES"))) != bytes)
                qFatal("the receiver did not get the bytes sent");
        };
        const auto [tabulet, ckermit] = bench::medians(
            Runs, receiving("Tabulet", [&] { sendWithTabulet(port, bytes); }),
            receiving("C-Kermit", [&] { sendWithCKermit(kermit, port, file); }), putAway);
        std::printf("send %lld bytes, packets of 89, block check 3 (median of %d)\n",
                    static_cast<long long>(bytes.size()), Runs);
        std::printf("  Tabulet   %8.1f ms\n  C-Kermit  %8.1f ms\n  ratio     %8.2f (goal at "
                    "most 1.0)\n",
                    tabulet, ckermit, tabulet / ckermit);
    }
    socat.kill();
    socat.waitForFinished();
    return 0;
}

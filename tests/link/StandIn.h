#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// Real programs standing in for the calculator, at the far end of a pseudo-terminal pair that
// socat makes: Tabulet opens `port()`, the stand-in the other end. Its files are in `folder()`.
class StandIn
{
public:
    StandIn()
    {
        QDir(m_dir.path()).mkdir(QStringLiteral("calculator"));
        m_socat.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + port(),
                                                QStringLiteral("pty,raw,echo=0,link=") + far()});
        QElapsedTimer waited;
        waited.start();
        while (!(QFile::exists(port()) && QFile::exists(far())) && !waited.hasExpired(5000))
            QTest::qWait(20);
    }
    ~StandIn()
    {
        for (QProcess* process : {&m_program, &m_socat}) {
            process->kill();
            process->waitForFinished(2000);
        }
    }

    bool ready() const { return QFile::exists(port()) && QFile::exists(far()); }
    QString port() const { return m_dir.filePath(QStringLiteral("tabulet")); }
    QString far() const { return m_dir.filePath(QStringLiteral("calculator-line")); }
    QString folder() const { return m_dir.filePath(QStringLiteral("calculator")); }
    QString file(const QString& name) const { return QDir(folder()).filePath(name); }

    // gkermit with its standard input and output on the line, as it expects.
    void startGKermit(const QStringList& arguments)
    {
        m_program.setWorkingDirectory(folder());
        m_program.setStandardInputFile(far());
        m_program.setStandardOutputFile(far());
        m_program.start(QStringLiteral("gkermit"), QStringList{"-i", "-P", "-q"} + arguments);
    }
    // C-Kermit as the calculator's server, with the calculator's packet parameters.
    void startServer()
    {
        const QString commands = QStringLiteral(
            "set line %1\nset speed 9600\nset carrier-watch off\nset flow none\nset parity "
            "none\nset receive packet-length 90\nset window 1\nset block-check 3\nset repeat "
            "counts off\nset attributes off\nset transfer mode manual\nset file type binary\n"
            "set file names literal\nserver\nexit\n");
        QFile take(m_dir.filePath(QStringLiteral("server.ksc")));
        QVERIFY(take.open(QIODevice::WriteOnly));
        take.write(commands.arg(far()).toLocal8Bit());
        take.close();
        m_program.setWorkingDirectory(folder());
        m_program.start(QStringLiteral("kermit"),
                        {"-Y", "-C", QStringLiteral("take ") + take.fileName()});
    }
    // lrzsz's XModem, 128-byte blocks with the checksum. It talks through pipes that socat
    // joins to the line: on leaving, lrzsz flushes its terminal, and on a pseudo-terminal that
    // throws away its last acknowledgement whenever the other end has not read it yet.
    void startXModem(const QString& program, const QString& file)
    {
        m_program.setWorkingDirectory(folder());
        m_program.start(QStringLiteral("socat"),
                        {QStringLiteral("FILE:%1,raw,echo=0").arg(far()),
                         QStringLiteral("EXEC:%1 -X -b %2,pipes").arg(program, file)});
    }
    QProcess& program() { return m_program; }
    // Bytes an earlier exchange left on the line, waiting for Tabulet to read them.
    void leaveOnTheLine(const QByteArray& bytes)
    {
        QFile line(far());
        QVERIFY(line.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        QCOMPARE(line.write(bytes), bytes.size());
    }
    // As when the cable is pulled out of an adapter: the line goes away.
    void loseLine() { m_socat.kill(); }
    // Whether the stand-in has ended, waiting a little for it.
    bool ended()
    {
        return m_program.state() == QProcess::NotRunning || m_program.waitForFinished(5000);
    }

private:
    QTemporaryDir m_dir;
    QProcess m_socat;
    QProcess m_program;
};

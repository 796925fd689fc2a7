#include "StandIn.h"
#include "checks/Files.h"
#include "core/BinaryObject.h"
#include "core/Document.h"
#include "core/RecordStore.h"
#include "documentcommands/DocumentCommands.h"
#include "doubles/ScriptedLinkWindows.h"
#include "doubles/TestServices.h"
#include "link/KermitTransfer.h"
#include "link/LinkCommands.h"
#include "link/XModemBlock.h"

#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>

namespace {

// Odd characters on purpose: control characters, the prefix characters, Latin-1 beyond ASCII.
const QByteArray DataFile = "{\r\n\"Groceries\r\nmilk # 2\r\n\x01\x1f\x7f end\"\r\n"
                            "\"R\xe9sum\xe9\r\n\xff\xfe&~\"\r\n\"Empty\"\r\n}\r\n";

QByteArray largeDataFile()
{
    QByteArray file("{\r\n");
    for (int record = 0; record < 400; ++record)
        file += "\"Record " + QByteArray::number(record) + "\r\n" + QByteArray(70, 'x') + "\"\r\n";
    return file + "}\r\n";
}

const LinkTiming Patient{3000, 3, 20000};
const LinkTiming Impatient{400, 2, 1500};

} // namespace

// The link against real Kermit and XModem programs standing in for the calculator: what is
// sent arrives as Save writes it, what is got or received opens with exactly its records, and
// every failure is told while the document stays as it was.
class LinkProgramsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<Document> m_document;
    std::unique_ptr<DocumentCommands> m_documentCommands;
    std::unique_ptr<LinkCommands> m_link;
    std::unique_ptr<StandIn> m_standIn;
    ScriptedLinkWindows m_windows;

    void useLink(const QString& protocol)
    {
        m_doubles->settings.writeIn("Calculator Link", "Port", m_standIn->port());
        m_doubles->settings.writeIn("Calculator Link", "Protocol", protocol);
    }
    void openDocument(const QByteArray& bytes)
    {
        m_document->FileInSub(bytes);
        m_document->setFile({"/data/NOTES.DF", "NOTES.DF"});
    }
    QString lastMessage() const
    {
        return m_doubles->questions.asked.isEmpty() ? QString()
                                                    : m_doubles->questions.asked.last().text;
    }
    QByteArray documentBytes() const { return m_document->fileBytes({}); }
    // Stops the C-Kermit server as the Finish command would stop the calculator's.
    void finishServer()
    {
        QSerialPort line(m_standIn->port());
        QVERIFY(line.open(QIODevice::ReadWrite));
        KermitTransfer finish(line, {KermitTransfer::Job::Finish, {}, {}, 3}, Patient);
        QSignalSpy done(&finish, &Transfer::finished);
        finish.start();
        QVERIFY(done.wait(10000));
        QCOMPARE(finish.end(), TransferEnd::Done);
        QVERIFY(m_standIn->ended());
    }

private Q_SLOTS:
    void init()
    {
        m_doubles = std::make_unique<TestServices>();
        m_document = std::make_unique<Document>();
        m_documentCommands = std::make_unique<DocumentCommands>(*m_document, m_doubles->services());
        m_link = std::make_unique<LinkCommands>(*m_document, *m_documentCommands,
                                                m_doubles->services(), m_windows);
        m_link->setTiming(Patient);
        m_standIn = std::make_unique<StandIn>();
        QVERIFY2(m_standIn->ready(), "socat made no pseudo-terminal pair");
    }
    void cleanup()
    {
        m_link.reset();
        m_standIn.reset();
        QVERIFY(m_doubles->questions.allAnswered());
    }

    void sentArrivesAsSaved_data()
    {
        QTest::addColumn<QString>("standIn");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("gkermit receiving") << "gkermit" << DataFile;
        QTest::newRow("acknowledgements of an earlier exchange left on the line")
            << "stale" << DataFile;
        QTest::newRow("C-Kermit server") << "server" << DataFile;
        QTest::newRow("large file to the server") << "server" << largeDataFile();
        QTest::newRow("XModem receiver") << "xmodem" << DataFile;
    }
    void sentArrivesAsSaved()
    {
        QFETCH(QString, standIn);
        QFETCH(QByteArray, file);
        openDocument(file);
        const bool xmodem = standIn == "xmodem";
        useLink(xmodem ? "XModem" : "Kermit");
        // The transfer header line is whatever the user typed, braces and quotes included.
        m_doubles->settings.write(PreferenceKey::AsciiHeader, "1");
        m_doubles->settings.write(PreferenceKey::AsciiText, "%%HP {\"odd\"}");
        if (standIn == "stale") {
            // They would acknowledge packets the receiver never got.
            QByteArray stale;
            for (int sequence = 0; sequence < 64; ++sequence)
                stale +=
                    kermit::encode({sequence, 'Y', {}}, 3) + kermit::encode({sequence, 'Y', {}}, 1);
            m_standIn->leaveOnTheLine(stale);
        }
        if (standIn == "gkermit" || standIn == "stale")
            m_standIn->startGKermit({"-r"});
        else if (standIn == "server")
            m_standIn->startServer();
        else
            m_standIn->startXModem("rx", "NOTES");
        // The user starts the calculator's XRECV first: it asks for the first block at once.
        QTest::qWait(500);
        if (!xmodem)
            m_doubles->questions.answerInput("NOTES");
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        m_link->sendDocument();
        QVERIFY2(lastMessage().startsWith("The document was sent"), qPrintable(lastMessage()));
        if (!xmodem)
            QCOMPARE(m_doubles->questions.asked.first().defaultText, "NOTES");
        if (standIn == "server")
            finishServer();
        QVERIFY(m_standIn->ended());
        const QByteArray arrived = contentsOf(m_standIn->file("NOTES"));
        if (xmodem)
            QCOMPARE(binaryobject::read(arrived).strings,
                     binaryobject::stringsOfTextForm(documentBytes()));
        else
            QCOMPARE(arrived,
                     m_document->fileBytes(preferences::transferHeader(m_doubles->settings)));
    }

    void gotAndReceivedOpenExactly_data()
    {
        QTest::addColumn<QString>("standIn");
        QTest::addColumn<bool>("binary");
        QTest::newRow("got from the server") << "server" << false;
        QTest::newRow("binary object got from the server") << "server" << true;
        QTest::newRow("received from gkermit") << "gkermit" << false;
        QTest::newRow("received by XModem") << "xmodem" << true;
    }
    void gotAndReceivedOpenExactly()
    {
        QFETCH(QString, standIn);
        QFETCH(bool, binary);
        const QByteArray file = largeDataFile();
        const QList<QByteArray> strings = binaryobject::stringsOfTextForm(file);
        // The calculator sends text with its transfer header before the list.
        const QByteArray sent =
            binary ? binaryobject::write(strings) : "%%HP: T(3)A(R)F(.);\r\n" + file;
        QVERIFY(writeFile(m_standIn->file("NOTES"), sent));
        QVERIFY(writeFile(m_standIn->file("OTHER"), "1.5"));
        useLink(standIn == "xmodem" ? "XModem" : "Kermit");
        if (standIn == "server") {
            m_standIn->startServer();
            m_windows.choices.enqueue("NOTES");
            m_link->getVariable();
            QCOMPARE(m_windows.listed.size(), 2);
            finishServer();
        } else {
            if (standIn == "gkermit")
                m_standIn->startGKermit({"-s", "NOTES"});
            else
                m_standIn->startXModem("sx", "NOTES");
            m_link->receive();
        }
        QCOMPARE(documentBytes(), file);
        QCOMPARE(m_document->currentFileName(), QString());
        QCOMPARE(m_document->suggestedTitle, QString(standIn == "xmodem" ? "" : "NOTES.DF"));
    }

    // A variable got from the calculator goes back under its own name, without the extension
    // its Save As offers.
    void sendOffersTheVariableName()
    {
        openDocument(DataFile);
        m_document->setFile({});
        m_document->suggestedTitle = "NOTES.DF";
        m_doubles->questions.answerInput(QString());
        m_link->sendDocument();
        QCOMPARE(m_doubles->questions.asked.constLast().defaultText, "NOTES");
    }

    // Every block taken, and the answer to the end lost: the calculator may have the variable.
    void unconfirmedEndIsToldAsSuch()
    {
        openDocument(DataFile);
        useLink("XModem");
        m_link->setTiming(Impatient);
        QSerialPort far(m_standIn->far());
        QVERIFY(far.open(QIODevice::ReadWrite));
        QByteArray heard;
        connect(&far, &QIODevice::readyRead, &far, [&far, &heard] {
            heard += far.readAll();
            if (heard.size() % xmodem::LineLength == 0)
                far.write(QByteArray(1, xmodem::Ack));
        });
        far.write(QByteArray(1, xmodem::Nak));
        QVERIFY(far.waitForBytesWritten(1000));
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        m_link->sendDocument();
        QVERIFY2(lastMessage().contains("did not confirm the end"), qPrintable(lastMessage()));
    }

    void failuresLeaveTheDocument_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("message");
        QTest::newRow("no such port") << "port"
                                      << "There is no serial port";
        QTest::newRow("a folder for the port") << "folder"
                                               << "is a folder, not a serial port";
        QTest::newRow("port in use") << "busy"
                                     << "dialout";
        QTest::newRow("nobody answers") << "silent"
                                        << "The calculator did not answer";
        QTest::newRow("error packet") << "error"
                                      << "saying:";
        QTest::newRow("cut off halfway") << "cut"
                                         << "stopped answering after";
        QTest::newRow("line lost") << "line lost"
                                   << "went away after";
        QTest::newRow("cancelled") << "cancel"
                                   << "";
        QTest::newRow("not a list") << "number"
                                    << "something other than a list";
    }
    void failuresLeaveTheDocument()
    {
        QFETCH(QString, failure);
        QFETCH(QString, message);
        openDocument(DataFile);
        useLink("Kermit");
        m_link->setTiming(Impatient);
        QVERIFY(writeFile(m_standIn->file("NOTES"), largeDataFile()));
        QVERIFY(writeFile(m_standIn->file("NUMBER"), "1.5"));
        if (failure == "port" || failure == "folder")
            m_doubles->settings.writeIn("Calculator Link", "Port",
                                        failure == "port" ? "/dev/no-such-port"
                                                          : m_standIn->folder());
        QSerialPort otherProgram(m_standIn->port());
        QVERIFY(failure != "busy" || otherProgram.open(QIODevice::ReadWrite));
        if (failure == "error" || failure == "number")
            m_standIn->startServer();
        if (failure == "cut" || failure == "cancel" || failure == "line lost")
            m_standIn->startGKermit({"-s", "NOTES"});
        m_windows.whileWatching = [this, failure](Transfer& transfer) {
            if (transfer.figures().packets < 10 || transfer.end() != TransferEnd::Running)
                return;
            if (failure == "cancel")
                transfer.cancel();
            else if (failure == "cut")
                m_standIn->program().kill();
            else if (failure == "line lost")
                m_standIn->loseLine();
        };
        // The document has no content to offer for saving once it has been saved.
        m_document->setFile({"/data/NOTES.DF", "NOTES.DF"});
        const QByteArray before = documentBytes();
        m_doubles->questions.answerMessage(QMessageBox::No);
        if (!message.isEmpty())
            m_doubles->questions.answerMessage(QMessageBox::Ok);
        if (failure == "error" || failure == "number") {
            m_windows.choices.enqueue(failure == "error" ? "MISSING" : "NUMBER");
            m_link->getVariable();
            finishServer();
        } else {
            m_link->receive();
        }
        QCOMPARE(documentBytes(), before);
        QCOMPARE(m_document->currentFileName(), "/data/NOTES.DF");
        // Told of the end, the other side stops rather than waiting on.
        QVERIFY(failure != "cancel" || m_standIn->ended());
        QVERIFY2(lastMessage().contains(message), qPrintable(lastMessage()));
    }
};

QTEST_MAIN(LinkProgramsTest)
#include "tst_linkprograms.moc"

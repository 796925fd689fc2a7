#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

// Tabulet's own Print command on a real print server: a CUPS server with a PDF printer as its
// default, started by this test in a folder of its own and stopped again at the end. The
// machine's own printers and settings are never touched; the one file it puts outside its
// folder, the PDF printer's configuration (which the PDF backend reads only from /etc/cups),
// is removed again.
class CupsPrintTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void printCommandReachesTheDefaultPrinter();

private:
    bool startServer();
    void stopServer();
    bool run(const QString& program, const QStringList& arguments, QString* output = nullptr);
    QString waitForPdf();

    std::unique_ptr<QTemporaryDir> m_root;
    QProcess m_cupsd;
    QString m_printerName;
    QString m_backendConfig;
    bool m_printerAdded = false;
};

namespace {

const QString CupsPdfPpd = QStringLiteral("lsb/usr/cups-pdf/CUPS-PDF_opt.ppd");

bool wanted()
{
    return qgetenv("CI") == "true" || qgetenv("TABULET_TEST_CUPS") == "1";
}

QStringList missingTools()
{
    QStringList missing;
    const QStringList searchPath{QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")};
    for (const char* tool : {"cupsd", "lpadmin", "lpstat", "pdftotext"}) {
        const QString name = QString::fromLatin1(tool);
        if (QStandardPaths::findExecutable(name).isEmpty() &&
            QStandardPaths::findExecutable(name, searchPath).isEmpty())
            missing << name;
    }
    if (!QFile::exists(QStringLiteral("/usr/lib/cups/backend/cups-pdf")))
        missing << QStringLiteral("cups-pdf backend");
    return missing;
}

bool writeFile(const QString& path, const QString& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(text.toUtf8()) == text.toUtf8().size() && file.flush();
}

} // namespace

void CupsPrintTest::initTestCase()
{
    if (!wanted())
        QSKIP("This test starts its own CUPS server with a PDF printer; it runs when CI=true or "
              "TABULET_TEST_CUPS=1, as root.");
    if (geteuid() != 0)
        QSKIP("This test starts cupsd and the PDF backend, which need root.");
    const QStringList missing = missingTools();
    if (!missing.isEmpty())
        QFAIL(qPrintable(QStringLiteral("Missing %1: run scripts/setup.sh --test")
                             .arg(missing.join(QStringLiteral(", ")))));
    QVERIFY(startServer());
}

void CupsPrintTest::cleanupTestCase()
{
    stopServer();
}

bool CupsPrintTest::run(const QString& program, const QStringList& arguments, QString* output)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qWarning().noquote() << program << arguments.join(u' ')
                             << "failed:" << process.readAllStandardError();
        return false;
    }
    if (output)
        *output = QString::fromUtf8(process.readAllStandardOutput());
    return true;
}

bool CupsPrintTest::startServer()
{
    m_root = std::make_unique<QTemporaryDir>();
    if (!m_root->isValid())
        return false;
    const QString root = m_root->path();
    // Filters run as the "lp" user and must reach the spool and temporary folders.
    QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                    QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                    QFile::ExeOther);
    for (const char* folder : {"etc", "spool", "cache", "state", "tmp", "log", "out", "pdfspool"})
        QDir(root).mkdir(QString::fromLatin1(folder));
    if (::chmod(QFile::encodeName(root + QStringLiteral("/tmp")).constData(), 01777) != 0)
        return false;

    const QString socket = root + QStringLiteral("/cups.sock");
    m_printerName = QStringLiteral("TabuletTest%1").arg(getpid());
    m_backendConfig = QStringLiteral("/etc/cups/cups-pdf-%1.conf").arg(m_printerName);
    const bool written =
        writeFile(root + QStringLiteral("/cupsd.conf"),
                  QStringLiteral("Listen %1\nLogLevel warn\nWebInterface No\nBrowsing No\n"
                                 "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                 "<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                                 "  </Limit>\n</Policy>\n")
                      .arg(socket)) &&
        writeFile(root + QStringLiteral("/cups-files.conf"),
                  QStringLiteral("ServerRoot %1/etc\nRequestRoot %1/spool\nCacheDir %1/cache\n"
                                 "StateDir %1/state\nTempDir %1/tmp\nAccessLog %1/log/access_log\n"
                                 "ErrorLog %1/log/error_log\nPageLog %1/log/page_log\n"
                                 "SystemGroup root\n")
                      .arg(root)) &&
        !QFile::exists(m_backendConfig) &&
        writeFile(m_backendConfig,
                  QStringLiteral("Out %1/out\nUserUMask 0022\nLog %1/log\nSpool %1/pdfspool\n")
                      .arg(root));
    if (!written)
        return false;

    // Everything this process and the tools it starts do with CUPS goes to this server only.
    qputenv("CUPS_SERVER", QFile::encodeName(socket));
    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd.start(QStringLiteral("/usr/sbin/cupsd"),
                  {QStringLiteral("-f"), QStringLiteral("-c"), root + QStringLiteral("/cupsd.conf"),
                   QStringLiteral("-s"), root + QStringLiteral("/cups-files.conf")});
    if (!m_cupsd.waitForStarted())
        return false;
    QElapsedTimer waited;
    waited.start();
    QString status;
    while (!(run(QStringLiteral("lpstat"), {QStringLiteral("-r")}, &status) &&
             status.contains(QStringLiteral("is running")))) {
        if (waited.elapsed() > 10000 || m_cupsd.state() != QProcess::Running)
            return false;
        QTest::qWait(100);
    }
    m_printerAdded =
        run(QStringLiteral("lpadmin"),
            {QStringLiteral("-p"), m_printerName, QStringLiteral("-E"), QStringLiteral("-v"),
             QStringLiteral("cups-pdf:/") + m_printerName, QStringLiteral("-m"), CupsPdfPpd,
             QStringLiteral("-o"), QStringLiteral("pdftops-renderer-default=pdftocairo")});
    return m_printerAdded && run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), m_printerName});
}

void CupsPrintTest::stopServer()
{
    if (m_printerAdded)
        run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), m_printerName});
    m_printerAdded = false;
    if (m_cupsd.state() != QProcess::NotRunning) {
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(15000)) {
            m_cupsd.kill();
            m_cupsd.waitForFinished();
        }
    }
    if (!m_backendConfig.isEmpty())
        QFile::remove(m_backendConfig);
    qunsetenv("CUPS_SERVER");
    m_root.reset();
}

QString CupsPrintTest::waitForPdf()
{
    const QDir out(m_root->filePath(QStringLiteral("out")));
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 30000) {
        const QFileInfoList pdfs =
            out.entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time);
        // The backend writes the file in one go once the job is done; let it settle.
        if (!pdfs.isEmpty() && pdfs.first().size() > 0) {
            QTest::qWait(300);
            return pdfs.first().filePath();
        }
        QTest::qWait(100);
    }
    return QString();
}

void CupsPrintTest::printCommandReachesTheDefaultPrinter()
{
    QCOMPARE(QPrinterInfo::defaultPrinterName(), m_printerName);

    TestServices doubles;
    QtPrinters printers;
    frmTabulet window(Services{doubles.questions, doubles.fileDialogs, doubles.settings,
                               doubles.clipboard, printers, doubles.folders});
    const qint32 shopping = *window.store().addRecord(QStringLiteral("Shopping"));
    window.store().setRecordText(shopping, QStringLiteral("milk\r\neggs"));
    window.store().addRecord(QStringLiteral("Notes"));
    window.CurrentFileName = m_root->filePath(QStringLiteral("SHOP.DF"));
    window.dlgFileOpen = FileChoice{window.CurrentFileName, QStringLiteral("SHOP.DF")};
    doubles.settings.write(PreferenceKey::DefaultFont, QStringLiteral("DejaVu Sans"));
    doubles.questions.answerMessage(QMessageBox::Ok);

    window.mnuFilePrint_Click();

    QCOMPARE(doubles.questions.asked.size(), 1);
    QCOMPARE(doubles.questions.asked.constFirst().title, QStringLiteral("Tabulet"));
    QCOMPARE(doubles.questions.asked.constFirst().text, QStringLiteral("Printing complete."));

    const QString pdf = waitForPdf();
    QVERIFY2(!pdf.isEmpty(), "no PDF came out of the PDF printer");
    QString text;
    QVERIFY(run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")},
                &text));
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>([^<]*)</word>"));
    QStringList words;
    QPointF first;
    for (const QRegularExpressionMatch& match : word.globalMatch(text)) {
        if (words.isEmpty())
            first = QPointF(match.captured(1).toDouble(), match.captured(2).toDouble());
        words << match.captured(3);
    }
    QCOMPARE(words.mid(0, 3), QStringList({"File", "name:", "SHOP.DF"}));
    QCOMPARE(words.mid(words.size() - 4), QStringList({"Shopping", "milk", "eggs", "Notes"}));
    // One inch from the left and half an inch from the top of the printable area.
    const QRectF printable =
        QPrinter(QPrinterInfo::defaultPrinter()).pageLayout().paintRectPoints();
    QVERIFY2(qAbs(first.x() - (printable.left() + 72)) < 2.0,
             qPrintable(QString::number(first.x())));
    QVERIFY2(qAbs(first.y() - (printable.top() + 36)) < 2.5,
             qPrintable(QString::number(first.y())));
}

QTEST_MAIN(CupsPrintTest)
#include "tst_cupsprint.moc"

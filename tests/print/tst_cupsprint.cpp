#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

// The Print command on a CUPS server with a PDF printer as its default, which this test starts
// in a folder of its own and stops again. The one file it must put outside that folder, the PDF
// backend's configuration (read only from /etc/cups), is removed again.
class CupsPrintTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void printCommandReachesTheDefaultPrinter();

private:
    bool startServer();
    QString waitForPdf() const;

    QTemporaryDir m_root;
    QProcess m_cupsd;
    QString m_printerName = QStringLiteral("TabuletTest%1").arg(getpid());
    QString m_backendConfig;
    bool m_printerAdded = false;
};

namespace {

bool run(const QString& program, const QStringList& arguments, QString* output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    const bool ran = process.waitForFinished(30000) &&
                     process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!ran)
        qWarning().noquote() << program << arguments << process.readAllStandardError();
    if (output)
        *output = QString::fromUtf8(process.readAllStandardOutput());
    return ran;
}

bool writeFile(const QString& path, const QString& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
}

} // namespace

void CupsPrintTest::initTestCase()
{
    if (qgetenv("CI") != "true" && qgetenv("TABULET_TEST_CUPS") != "1")
        QSKIP("This test starts its own CUPS server with a PDF printer; it runs when CI=true or "
              "TABULET_TEST_CUPS=1, as root.");
    if (geteuid() != 0)
        QSKIP("This test starts cupsd and the PDF backend, which need root.");
    QStringList missing;
    for (const QString tool : {"cupsd", "lpadmin", "lpstat", "pdftotext"})
        if (QStandardPaths::findExecutable(tool, {"/usr/sbin", "/usr/bin"}).isEmpty())
            missing << tool;
    if (!QFile::exists("/usr/lib/cups/backend/cups-pdf"))
        missing << "cups-pdf backend";
    if (!missing.isEmpty())
        QFAIL(qPrintable("Missing " + missing.join(", ") + ": run scripts/setup.sh --test"));
    QVERIFY(startServer());
}

bool CupsPrintTest::startServer()
{
    const QString root = m_root.path();
    // Filters run as the "lp" user and must reach the spool and temporary folders.
    if (::chmod(QFile::encodeName(root).constData(), 0755) != 0)
        return false;
    for (const char* folder : {"etc", "spool", "cache", "state", "tmp", "log", "out", "pdfspool"})
        QDir(root).mkdir(folder);
    if (::chmod(QFile::encodeName(root + "/tmp").constData(), 01777) != 0)
        return false;
    const QString socket = root + "/cups.sock";
    // Never take over (and later remove) a configuration that was there before.
    const QString backendConfig = "/etc/cups/cups-pdf-" + m_printerName + ".conf";
    if (QFile::exists(backendConfig))
        return false;
    m_backendConfig = backendConfig;
    const bool written =
        writeFile(root + "/cupsd.conf",
                  "Listen " + socket +
                      "\nLogLevel warn\nWebInterface No\nBrowsing No\n<Location />\n  Order "
                      "allow,deny\n  Allow all\n</Location>\n<Policy default>\n  <Limit All>\n"
                      "    Order deny,allow\n  </Limit>\n</Policy>\n") &&
        writeFile(root + "/cups-files.conf",
                  QStringLiteral("ServerRoot %1/etc\nRequestRoot %1/spool\nCacheDir %1/cache\n"
                                 "StateDir %1/state\nTempDir %1/tmp\nAccessLog %1/log/access_log\n"
                                 "ErrorLog %1/log/error_log\nPageLog %1/log/page_log\n"
                                 "SystemGroup root\n")
                      .arg(root)) &&
        writeFile(m_backendConfig,
                  QStringLiteral("Out %1/out\nUserUMask 0022\nLog %1/log\nSpool %1/pdfspool\n")
                      .arg(root));
    if (!written)
        return false;

    // Everything this process and the tools it starts do with CUPS goes to this server only.
    qputenv("CUPS_SERVER", QFile::encodeName(socket));
    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd.start("/usr/sbin/cupsd",
                  {"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"});
    QElapsedTimer waited;
    waited.start();
    QString status;
    while (!run("lpstat", {"-r"}, &status) || !status.contains("is running")) {
        if (waited.elapsed() > 10000 || m_cupsd.state() != QProcess::Running)
            return false;
        QTest::qWait(100);
    }
    m_printerAdded = run("lpadmin", {"-p", m_printerName, "-E", "-v", "cups-pdf:/" + m_printerName,
                                     "-m", "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd", "-o",
                                     "pdftops-renderer-default=pdftocairo"});
    return m_printerAdded && run("lpadmin", {"-d", m_printerName});
}

void CupsPrintTest::cleanupTestCase()
{
    if (m_printerAdded)
        run("lpadmin", {"-x", m_printerName});
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
}

QString CupsPrintTest::waitForPdf() const
{
    const QDir out(m_root.filePath("out"));
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 30000) {
        const QFileInfoList pdfs = out.entryInfoList({"*.pdf"}, QDir::Files);
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
    window.store().setRecordText(*window.store().addRecord("Shopping"), "milk\r\neggs");
    window.store().addRecord("Notes");
    window.CurrentFileName = m_root.filePath("SHOP.DF");
    window.dlgFileOpen = FileChoice{window.CurrentFileName, "SHOP.DF"};
    doubles.settings.write(PreferenceKey::DefaultFont, QStringLiteral("DejaVu Sans"));
    doubles.questions.answerMessage(QMessageBox::Ok);

    window.mnuFilePrint_Click();

    QCOMPARE(doubles.questions.asked.size(), 1);
    QCOMPARE(doubles.questions.asked.constFirst().text, QStringLiteral("Printing complete."));
    const QString pdf = waitForPdf();
    QVERIFY2(!pdf.isEmpty(), "no PDF came out of the PDF printer");
    QString text;
    QVERIFY(run("pdftotext", {"-bbox", pdf, "-"}, &text));
    static const QRegularExpression word(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>([^<]*)</word>");
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
    QVERIFY(qAbs(first.x() - (printable.left() + 72)) < 2.0);
    QVERIFY(qAbs(first.y() - (printable.top() + 36)) < 2.5);
}

QTEST_MAIN(CupsPrintTest)
#include "tst_cupsprint.moc"

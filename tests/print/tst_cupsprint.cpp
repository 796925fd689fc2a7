#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"

#include <QDir>
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
    QTemporaryDir m_root;
    QProcess m_cupsd;
    QString m_printerName = QStringLiteral("TabuletTest%1").arg(getpid());
    QString m_backendConfig;
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
    for (const QString tool : {"cupsd", "lpadmin", "lpstat", "pdftotext"})
        if (QStandardPaths::findExecutable(tool, {"/usr/sbin", "/usr/bin"}).isEmpty())
            QFAIL(qPrintable(tool + " is missing: run scripts/setup.sh --test"));
    QVERIFY2(QFile::exists("/usr/lib/cups/backend/cups-pdf"),
             "The cups-pdf backend is missing: run scripts/setup.sh --test");

    const QString root = m_root.path();
    // Filters run as the "lp" user and must reach the spool and temporary folders.
    QCOMPARE(::chmod(QFile::encodeName(root).constData(), 0755), 0);
    for (const char* folder : {"etc", "spool", "cache", "state", "tmp", "log", "out", "pdfspool"})
        QVERIFY(QDir(root).mkdir(folder));
    QCOMPARE(::chmod(QFile::encodeName(root + "/tmp").constData(), 01777), 0);
    const QString socket = root + "/cups.sock";
    QVERIFY(writeFile(root + "/cupsd.conf",
                      "Listen " + socket +
                          "\nLogLevel warn\nWebInterface No\nBrowsing No\n<Location />\n  Order "
                          "allow,deny\n  Allow all\n</Location>\n<Policy default>\n  <Limit All>\n"
                          "    Order deny,allow\n  </Limit>\n</Policy>\n"));
    QVERIFY(
        writeFile(root + "/cups-files.conf",
                  QStringLiteral("ServerRoot %1/etc\nRequestRoot %1/spool\nCacheDir %1/cache\n"
                                 "StateDir %1/state\nTempDir %1/tmp\nAccessLog %1/log/access_log\n"
                                 "ErrorLog %1/log/error_log\nPageLog %1/log/page_log\n"
                                 "SystemGroup root\n")
                      .arg(root)));
    // Never take over (and later remove) a configuration that was there before.
    const QString backendConfig = "/etc/cups/cups-pdf-" + m_printerName + ".conf";
    QVERIFY(!QFile::exists(backendConfig));
    m_backendConfig = backendConfig;
    QVERIFY(writeFile(
        m_backendConfig,
        QStringLiteral("Out %1/out\nUserUMask 0022\nLog %1/log\nSpool %1/pdfspool\n").arg(root)));

    // Everything this process and the tools it starts do with CUPS goes to this server only.
    qputenv("CUPS_SERVER", QFile::encodeName(socket));
    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd.start("/usr/sbin/cupsd",
                  {"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"});
    QVERIFY(m_cupsd.waitForStarted());
    QString status;
    QTRY_VERIFY_WITH_TIMEOUT(m_cupsd.state() != QProcess::Running ||
                                 (run("lpstat", {"-r"}, &status) && status.contains("is running")),
                             10000);
    QCOMPARE(m_cupsd.state(), QProcess::Running);
    QVERIFY(run("lpadmin", {"-p", m_printerName, "-E", "-v", "cups-pdf:/" + m_printerName, "-m",
                            "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd", "-o",
                            "pdftops-renderer-default=pdftocairo"}));
    QVERIFY(run("lpadmin", {"-d", m_printerName}));
}

void CupsPrintTest::cleanupTestCase()
{
    m_cupsd.terminate();
    if (!m_cupsd.waitForFinished(15000))
        m_cupsd.kill();
    if (!m_backendConfig.isEmpty())
        QFile::remove(m_backendConfig);
    qunsetenv("CUPS_SERVER");
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
    const QDir out(m_root.filePath("out"));
    QFileInfoList pdfs;
    QTRY_VERIFY_WITH_TIMEOUT(
        !(pdfs = out.entryInfoList({"*.pdf"}, QDir::Files)).isEmpty() && pdfs[0].size() > 0, 30000);
    // The backend writes the file in one go once the job is done; let it settle.
    QTest::qWait(300);
    QString text;
    QVERIFY(run("pdftotext", {"-bbox", pdfs[0].filePath(), "-"}, &text));
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

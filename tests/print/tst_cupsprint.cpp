#include "core/Document.h"
#include "core/RecordStore.h"
#include "documentcommands/DocumentCommands.h"
#include "doubles/TestServices.h"
#include "print/PrintCommand.h"

#include <QDir>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
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

// The tool's standard output, or nothing when it failed.
static std::optional<QString> run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() || process.exitCode())
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput());
}

void CupsPrintTest::initTestCase()
{
    if ((qgetenv("CI") != "true" && qgetenv("TABULET_TEST_CUPS") != "1") || geteuid() != 0)
        QSKIP("This test starts its own CUPS server with a PDF printer, which needs root; it runs "
              "as root when CI=true or TABULET_TEST_CUPS=1.");
    QVERIFY2(QFile::exists("/usr/sbin/cupsd") && QFile::exists("/usr/bin/pdftotext") &&
                 QFile::exists("/usr/lib/cups/backend/cups-pdf"),
             "cups, cups-pdf or poppler-utils is missing: run scripts/setup.sh --test");

    const QString root = m_root.path();
    // Filters run as the "lp" user and must reach the spool and temporary folders.
    QCOMPARE(::chmod(QFile::encodeName(root).constData(), 0755), 0);
    for (const char* folder : {"etc", "spool", "cache", "state", "tmp", "log", "out", "pdfspool"})
        QVERIFY(QDir(root).mkdir(folder));
    QCOMPARE(::chmod(QFile::encodeName(root + "/tmp").constData(), 01777), 0);
    const QString socket = root + "/cups.sock";
    // Never take over (and later remove) a configuration that was there before.
    QVERIFY(!QFile::exists("/etc/cups/cups-pdf-" + m_printerName + ".conf"));
    m_backendConfig = "/etc/cups/cups-pdf-" + m_printerName + ".conf";
    const QList<std::pair<QString, QString>> files{
        {root + "/cupsd.conf",
         "Listen " + socket +
             "\nBrowsing No\n<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
             "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n"},
        {root + "/cups-files.conf",
         QStringLiteral("ServerRoot %1/etc\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir "
                        "%1/state\nTempDir %1/tmp\nAccessLog %1/log/access_log\nErrorLog "
                        "%1/log/error_log\nPageLog %1/log/page_log\nSystemGroup root\n")
             .arg(root)},
        {m_backendConfig,
         QStringLiteral("Out %1/out\nUserUMask 0022\nLog %1/log\nSpool %1/pdfspool\n").arg(root)}};
    for (const auto& [path, text] : files) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.size());
    }

    // Everything this process and the tools it starts do with CUPS goes to this server only.
    qputenv("CUPS_SERVER", QFile::encodeName(socket));
    m_cupsd.start("/usr/sbin/cupsd",
                  {"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"});
    QTRY_VERIFY_WITH_TIMEOUT(run("lpstat", {"-r"}).value_or("").contains("is running"), 10000);
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
    QFile::remove(m_backendConfig);
}

void CupsPrintTest::printCommandReachesTheDefaultPrinter()
{
    QCOMPARE(QPrinterInfo::defaultPrinterName(), m_printerName);
    TestServices doubles;
    QtPrinters printers;
    const Services services{doubles.questions, doubles.fileDialogs,
                            doubles.settings,  doubles.clipboard,
                            printers,          doubles.folders};
    Document document;
    document.records().setRecordText(*document.records().addRecord("Shopping"), "milk\r\neggs");
    document.records().addRecord("Notes");
    document.setFile({m_root.filePath("SHOP.DF"), "SHOP.DF"});
    document.dlgFileOpen = {document.currentFileName(), "SHOP.DF"};
    doubles.questions.answerMessage(QMessageBox::Ok);
    DocumentCommands documentCommands(document, services);

    PrintCommand(document, documentCommands, services).FilePrint();

    QCOMPARE(doubles.questions.asked.constLast().text, "Printing complete.");
    QFileInfoList pdfs;
    QTRY_VERIFY_WITH_TIMEOUT(
        !(pdfs = QDir(m_root.filePath("out")).entryInfoList({"*.pdf"})).isEmpty() && pdfs[0].size(),
        30000);
    // The backend writes the file in one go once the job is done; let it settle.
    QTest::qWait(300);
    const QString text = run("pdftotext", {pdfs[0].filePath(), "-"}).value_or("").simplified();
    QVERIFY2(text.startsWith("File name: SHOP.DF Date:"), qPrintable(text));
    QVERIFY2(text.endsWith("Shopping milk eggs Notes"), qPrintable(text));
}

QTEST_MAIN(CupsPrintTest)
#include "tst_cupsprint.moc"

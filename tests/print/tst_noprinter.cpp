#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Print on a system without a print server, through the real printer service: the user is
// told, and neither the document nor its file changes.
class NoPrinterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void printWithoutAPrintServerLosesNothing();

private:
    QTemporaryDir m_folder;
};

void NoPrinterTest::initTestCase()
{
    QVERIFY(m_folder.isValid());
    // A socket nobody listens on: this process sees no print server, whatever the machine has.
    qputenv("CUPS_SERVER", QFile::encodeName(m_folder.filePath(QStringLiteral("no-cups.sock"))));
}

void NoPrinterTest::printWithoutAPrintServerLosesNothing()
{
    TestServices doubles;
    QtPrinters printers;
    frmTabulet window(Services{doubles.questions, doubles.fileDialogs, doubles.settings,
                               doubles.clipboard, printers, doubles.folders});
    const QString path = m_folder.filePath(QStringLiteral("KEEP.DF"));
    const QByteArray before("{\r\n\"Old\"\r\n}\r\n");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(before), before.size());
    }
    const qint32 index = *window.store().addRecord(QStringLiteral("Unsaved"));
    window.store().setRecordText(index, QStringLiteral("typed since"));
    window.CurrentFileName = path;
    doubles.questions.answerMessage(QMessageBox::Ok);

    window.mnuFilePrint_Click();

    QCOMPARE(doubles.questions.asked.size(), 1);
    QCOMPARE(doubles.questions.asked.constFirst().title, QStringLiteral("Printer Error"));
    QVERIFY(
        doubles.questions.asked.constFirst().text.contains(QStringLiteral("no default printer")));
    QCOMPARE(window.store().count(), 1);
    QCOMPARE(window.store().recordText(index), QStringLiteral("typed since"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

QTEST_MAIN(NoPrinterTest)
#include "tst_noprinter.moc"

#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Print through the real printer service where no print server answers: the user is told, and
// neither the document nor its file changes.
class NoPrinterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void printWithoutAPrintServerLosesNothing();
};

void NoPrinterTest::printWithoutAPrintServerLosesNothing()
{
    QTemporaryDir folder;
    // A socket nobody listens on: this process sees no print server, whatever the machine has.
    qputenv("CUPS_SERVER", QFile::encodeName(folder.filePath("no-cups.sock")));
    TestServices doubles;
    QtPrinters printers;
    frmTabulet window(Services{doubles.questions, doubles.fileDialogs, doubles.settings,
                               doubles.clipboard, printers, doubles.folders});
    const QByteArray before("{\r\n\"Old\"\r\n}\r\n");
    QFile file(folder.filePath("KEEP.DF"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
    file.close();
    const qint32 index = *window.store().addRecord("Unsaved");
    window.store().setRecordText(index, "typed since");
    window.CurrentFileName = file.fileName();
    doubles.questions.answerMessage(QMessageBox::Ok);

    window.mnuFilePrint_Click();

    QCOMPARE(doubles.questions.asked.size(), 1);
    QCOMPARE(doubles.questions.asked.constFirst().title, QStringLiteral("Printer Error"));
    QCOMPARE(doubles.questions.asked.constFirst().text,
             QStringLiteral("There is no default printer. Nothing was printed."));
    QCOMPARE(window.store().recordText(index), QStringLiteral("typed since"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

QTEST_MAIN(NoPrinterTest)
#include "tst_noprinter.moc"

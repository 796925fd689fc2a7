#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"

#include <QDate>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

// File > Print: the document is saved, its file printed, and the user told how it went.
class PrintCommandTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void prints_data();
    void prints();
    void failure_data();
    void failure();

private:
    void addEntry(const QString& header, const QString& text = QString())
    {
        m_window->store().setRecordText(*m_window->store().addRecord(header), text);
    }
    void checkLastMessage(const QString& title, const QString& text)
    {
        const ScriptedQuestions::Asked& asked = m_doubles->questions.asked.constLast();
        QCOMPARE(asked.title, title);
        QCOMPARE(asked.text, text);
        QCOMPARE(asked.icon, title == "Tabulet" ? QMessageBox::Information : QMessageBox::Critical);
    }
    QString pathOf(const QString& name) const { return m_folder->filePath(name); }
    const PrintJobRecord& lastJob() const { return *m_doubles->printers.jobs.last(); }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<frmTabulet> m_window;
};

void PrintCommandTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    m_doubles = std::make_unique<TestServices>();
    m_window = std::make_unique<frmTabulet>(m_doubles->services());
}

void PrintCommandTest::cleanup()
{
    QVERIFY(m_doubles->questions.allAnswered());
    QVERIFY(m_doubles->fileDialogs.allAnswered());
    m_window.reset();
}

// The document is saved, then printed line by line; the file line names the file last opened.
void PrintCommandTest::prints_data()
{
    QTest::addColumn<QString>("openedTitle");
    QTest::addColumn<bool>("named");
    QTest::addColumn<bool>("saveAsFirst");
    QTest::addColumn<QString>("font"); // null: no preference
    QTest::addColumn<QString>("size");

    QTest::newRow("named, in the preferred font")
        << QStringLiteral("SHOP.DF") << true << false << QStringLiteral("Courier New") << "10.5";
    QTest::newRow("unnamed: Save As from Print") << QString() << false << false << QString() << "";
    QTest::newRow("opened, then saved under a new name")
        << QStringLiteral("OLD.DF") << false << true << QString() << "";
}

void PrintCommandTest::prints()
{
    QFETCH(QString, openedTitle);
    QFETCH(bool, named);
    QFETCH(bool, saveAsFirst);
    QFETCH(QString, font);
    QFETCH(QString, size);
    addEntry("Shopping", "milk\r\neggs");
    addEntry("Notes");
    if (!openedTitle.isEmpty())
        m_window->dlgFileOpen = FileChoice{pathOf(openedTitle), openedTitle};
    if (named)
        m_window->CurrentFileName = pathOf("NEW.DF");
    else
        m_doubles->fileDialogs.chooseFile(pathOf("NEW.DF"));
    if (saveAsFirst)
        m_window->mnuFileSaveAsItem_Click();
    if (!font.isNull()) {
        m_doubles->settings.write(PreferenceKey::DefaultFont, font);
        m_doubles->settings.write(PreferenceKey::DefaultFontSize, size);
    }
    m_doubles->questions.answerMessage(QMessageBox::Ok);

    // The toolbar button prints as the menu item does.
    m_window->Toolbar1_ButtonClick(QStringLiteral("tbrFilePrint"));

    QCOMPARE(m_doubles->questions.asked.size(), 1);
    checkLastMessage("Tabulet", "Printing complete.");
    QFile saved(pathOf("NEW.DF"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), "{\r\n\"Shopping\r\nmilk\r\neggs\"\r\n\"Notes\"\r\n}\r\n");
    const PrintJobRecord& job = lastJob();
    QCOMPARE(job.fontName + ' ' + QString::number(job.fontSize),
             font.isNull() ? "Arial 11" : font + ' ' + size);
    QVERIFY(job.ended && !job.discarded);
    const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    QStringList printed;
    for (const PrintJobRecord::Line& line : job.lines) {
        QCOMPARE(line.y, 720 + int(printed.size()) * RecordingPrinter::LineHeight);
        printed << QString::number(line.x) + u' ' + line.text;
    }
    QCOMPARE(printed.join(u'|'), "1440 File name: " + openedTitle + "|1440 Date: " + date +
                                     "|0 |0 |1440 Shopping|1440 \tmilk|1440 \teggs|0 |0 "
                                     "|1440 Notes|0 |0 ");
}

// Each failure ends in a "Printer Error" message, never in "Printing complete.", and loses
// nothing; a cancelled Save As ends in silence.
void PrintCommandTest::failure_data()
{
    QTest::addColumn<QString>("fontSize");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("hasPrinter");
    QTest::addColumn<int>("failAtPrint");
    QTest::addColumn<int>("messages");
    QTest::addColumn<QString>("message");

    for (const char* size : {"", "eleven", "11pt", "0", "-8", "nan", "inf"})
        QTest::addRow("font size \"%s\"", size)
            << size << "F.DF" << true << 0 << 1
            << QStringLiteral("The print font size \"%1\" in the preferences is not a number of "
                              "points. Nothing was printed.")
                   .arg(size);
    QTest::newRow("no default printer")
        << "11"
        << "F.DF" << false << 0 << 1 << "There is no default printer. Nothing was printed.";
    // The save reports its own failure first.
    QTest::newRow("save failed") << "11"
                                 << "missing-folder/F.DF" << true << 0 << 2
                                 << "The document could not be saved, so it was not printed.";
    QTest::newRow("printer failed")
        << "11"
        << "F.DF" << true << 4 << 1
        << "The recording printer failed as told. The document was not printed.";
    QTest::newRow("unnamed, Save As cancelled") << "11" << QString() << true << 0 << 0 << QString();
}

void PrintCommandTest::failure()
{
    QFETCH(QString, fontSize);
    QFETCH(QString, fileName);
    QFETCH(bool, hasPrinter);
    QFETCH(int, failAtPrint);
    QFETCH(int, messages);
    QFETCH(QString, message);
    addEntry("First", "one");
    addEntry("Second", "two");
    if (fileName.isNull())
        m_doubles->fileDialogs.cancelFile();
    else
        m_window->CurrentFileName = pathOf(fileName);
    m_doubles->settings.write(PreferenceKey::DefaultFontSize, fontSize);
    m_doubles->printers.hasDefaultPrinter = hasPrinter;
    m_doubles->printers.failAtPrint = failAtPrint;
    for (int answer = 0; answer < messages; ++answer)
        m_doubles->questions.answerMessage(QMessageBox::Ok);

    m_window->mnuFilePrint_Click();

    QCOMPARE(m_doubles->questions.asked.size(), messages);
    if (messages > 0)
        checkLastMessage("Printer Error", message);
    for (const auto& job : m_doubles->printers.jobs) {
        QCOMPARE(job->opened, failAtPrint > 0);
        QVERIFY(job->discarded == job->opened && !job->ended);
    }
    QCOMPARE(QFile::exists(m_window->CurrentFileName), failAtPrint > 0);
    QCOMPARE(m_window->store().recordText(m_window->store().recordIndexAt(1)),
             QStringLiteral("two"));
}

QTEST_MAIN(PrintCommandTest)
#include "tst_printcommand.moc"

#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"

#include <QDate>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

// File > Print: the document is saved and its file printed, and the user is told the truth
// about how it went.
class PrintCommandTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void printsTheSavedDocumentLineByLine();
    void fileLineNamesTheFileLastOpened_data();
    void fileLineNamesTheFileLastOpened();
    void unnamedDocumentIsSavedFirst();
    void cancelledSaveAsPrintsNothingAndSaysNothing();
    void fontSizePreference_data();
    void fontSizePreference();
    void noDefaultPrinter();
    void failedSaveIsNotPrinted();
    void printerFailureDiscardsTheJobAndTheNextPrintWorks();
    void toolbarButtonPrints();

private:
    void addEntry(const QString& header, const QString& text = QString());
    void expectCompletion();
    void checkOnlyMessage(const QString& title, const QString& textPart);
    QString pathOf(const QString& name) const { return m_folder->filePath(name); }
    QByteArray fileBytes(const QString& path) const;
    const PrintJobRecord& lastJob() const { return *m_doubles->printers.jobs.last(); }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<frmTabulet> m_window;
};

void PrintCommandTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_doubles = std::make_unique<TestServices>();
    m_window = std::make_unique<frmTabulet>(m_doubles->services());
}

void PrintCommandTest::cleanup()
{
    QVERIFY(m_doubles->questions.allAnswered());
    QVERIFY(m_doubles->fileDialogs.allAnswered());
    m_window.reset();
    m_doubles.reset();
    m_folder.reset();
}

void PrintCommandTest::addEntry(const QString& header, const QString& text)
{
    const qint32 index = *m_window->store().addRecord(header);
    m_window->store().setRecordText(index, text);
}

void PrintCommandTest::expectCompletion()
{
    m_doubles->questions.answerMessage(QMessageBox::Ok);
}

void PrintCommandTest::checkOnlyMessage(const QString& title, const QString& textPart)
{
    QCOMPARE(m_doubles->questions.asked.size(), 1);
    const ScriptedQuestions::Asked& asked = m_doubles->questions.asked.constFirst();
    QCOMPARE(asked.title, title);
    QVERIFY2(asked.text.contains(textPart), qPrintable(asked.text));
    QCOMPARE(asked.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(asked.icon,
             title == QLatin1String("Tabulet") ? QMessageBox::Information : QMessageBox::Critical);
}

QByteArray PrintCommandTest::fileBytes(const QString& path) const
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void PrintCommandTest::printsTheSavedDocumentLineByLine()
{
    addEntry(QStringLiteral("Shopping"), QStringLiteral("milk\r\neggs"));
    addEntry(QStringLiteral("Notes"));
    m_window->CurrentFileName = pathOf(QStringLiteral("SHOP.DF"));
    m_window->dlgFileOpen = FileChoice{m_window->CurrentFileName, QStringLiteral("SHOP.DF")};
    m_doubles->settings.write(PreferenceKey::DefaultFont, QStringLiteral("Courier New"));
    m_doubles->settings.write(PreferenceKey::DefaultFontSize, QStringLiteral("10.5"));
    expectCompletion();

    m_window->mnuFilePrint_Click();

    checkOnlyMessage(QStringLiteral("Tabulet"), QStringLiteral("Printing complete."));
    QCOMPARE(m_doubles->printers.jobs.size(), 1);
    const PrintJobRecord& job = lastJob();
    QCOMPARE(job.fontName, QStringLiteral("Courier New"));
    QCOMPARE(job.fontSize, 10.5f);
    QVERIFY(job.ended);
    QVERIFY(!job.discarded);
    const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    const QList<QPair<int, QString>> expected{{1440, "File name: SHOP.DF"},
                                              {1440, "Date: " + date},
                                              {0, ""},
                                              {0, ""},
                                              {1440, "Shopping"},
                                              {1440, "\tmilk"},
                                              {1440, "\teggs"},
                                              {0, ""},
                                              {0, ""},
                                              {1440, "Notes"},
                                              {0, ""},
                                              {0, ""}};
    QCOMPARE(job.lines.size(), expected.size());
    for (qsizetype line = 0; line < expected.size(); ++line) {
        QCOMPARE(job.lines.at(line).x, expected.at(line).first);
        QCOMPARE(job.lines.at(line).text, expected.at(line).second);
        QCOMPARE(job.lines.at(line).y, 720 + int(line) * RecordingPrinter::LineHeight);
    }
    // Printing saved the document.
    QCOMPARE(fileBytes(m_window->CurrentFileName),
             QByteArray("{\r\n\"Shopping\r\nmilk\r\neggs\"\r\n\"Notes\"\r\n}\r\n"));
}

void PrintCommandTest::fileLineNamesTheFileLastOpened_data()
{
    QTest::addColumn<QString>("openedTitle");
    QTest::newRow("opened, then saved under a new name") << QStringLiteral("OLD.DF");
    QTest::newRow("never opened") << QString();
}

void PrintCommandTest::fileLineNamesTheFileLastOpened()
{
    QFETCH(QString, openedTitle);
    addEntry(QStringLiteral("Entry"), QStringLiteral("text"));
    if (!openedTitle.isEmpty())
        m_window->dlgFileOpen = FileChoice{pathOf(openedTitle), openedTitle};
    m_doubles->fileDialogs.chooseFile(pathOf(QStringLiteral("NEW.DF")));
    m_window->mnuFileSaveAsItem_Click();
    QCOMPARE(m_window->CurrentFileName, pathOf(QStringLiteral("NEW.DF")));
    expectCompletion();

    m_window->mnuFilePrint_Click();

    QCOMPARE(lastJob().lines.constFirst().text, QStringLiteral("File name: ") + openedTitle);
}

void PrintCommandTest::unnamedDocumentIsSavedFirst()
{
    addEntry(QStringLiteral("Entry"));
    m_doubles->fileDialogs.chooseFile(pathOf(QStringLiteral("CHOSEN.DF")));
    expectCompletion();

    m_window->mnuFilePrint_Click();

    QCOMPARE(fileBytes(pathOf(QStringLiteral("CHOSEN.DF"))), QByteArray("{\r\n\"Entry\"\r\n}\r\n"));
    checkOnlyMessage(QStringLiteral("Tabulet"), QStringLiteral("Printing complete."));
    QVERIFY(lastJob().ended);
    QCOMPARE(lastJob().texts().mid(4), QStringList({"Entry", "", ""}));
}

void PrintCommandTest::cancelledSaveAsPrintsNothingAndSaysNothing()
{
    addEntry(QStringLiteral("Entry"));
    const FileChoice earlierChoice{pathOf(QStringLiteral("EARLIER.DF")),
                                   QStringLiteral("EARLIER.DF")};
    m_window->dlgFileSaveAs = earlierChoice;
    m_doubles->fileDialogs.cancelFile();

    m_window->mnuFilePrint_Click();

    QVERIFY(m_doubles->questions.asked.isEmpty());
    for (const auto& job : m_doubles->printers.jobs)
        QVERIFY(!job->opened);
    QVERIFY(m_window->CurrentFileName.isEmpty());
    QCOMPARE(m_window->dlgFileSaveAs.fileName, earlierChoice.fileName);
    QCOMPARE(m_window->store().count(), 1);
}

void PrintCommandTest::fontSizePreference_data()
{
    QTest::addColumn<QString>("sizeText");
    QTest::addColumn<float>("points"); // 0 when the text is refused

    QTest::newRow("absent: 11") << QString() << 11.0f;
    QTest::newRow("decimal") << QStringLiteral("10.5") << 10.5f;
    QTest::newRow("spaces around") << QStringLiteral(" 12 ") << 12.0f;
    QTest::newRow("empty") << QStringLiteral("") << 0.0f;
    QTest::newRow("word") << QStringLiteral("eleven") << 0.0f;
    QTest::newRow("with unit") << QStringLiteral("11pt") << 0.0f;
    QTest::newRow("zero") << QStringLiteral("0") << 0.0f;
    QTest::newRow("negative") << QStringLiteral("-8") << 0.0f;
    QTest::newRow("not a number") << QStringLiteral("nan") << 0.0f;
    QTest::newRow("infinite") << QStringLiteral("inf") << 0.0f;
}

void PrintCommandTest::fontSizePreference()
{
    QFETCH(QString, sizeText);
    QFETCH(float, points);
    if (!sizeText.isNull())
        m_doubles->settings.write(PreferenceKey::DefaultFontSize, sizeText);
    addEntry(QStringLiteral("Entry"));
    m_window->CurrentFileName = pathOf(QStringLiteral("SIZE.DF"));
    m_doubles->questions.answerMessage(QMessageBox::Ok);

    m_window->mnuFilePrint_Click();

    if (points > 0) {
        checkOnlyMessage(QStringLiteral("Tabulet"), QStringLiteral("Printing complete."));
        QCOMPARE(lastJob().fontSize, points);
        QCOMPARE(lastJob().fontName, QStringLiteral("Arial"));
        return;
    }
    // Refused before any job is opened and before anything is saved.
    checkOnlyMessage(QStringLiteral("Printer Error"), u'"' + sizeText + u'"');
    QVERIFY(m_doubles->printers.jobs.isEmpty());
    QVERIFY(!QFile::exists(m_window->CurrentFileName));
}

void PrintCommandTest::noDefaultPrinter()
{
    addEntry(QStringLiteral("Entry"), QStringLiteral("text"));
    m_window->CurrentFileName = pathOf(QStringLiteral("KEEP.DF"));
    m_doubles->printers.hasDefaultPrinter = false;
    m_doubles->questions.answerMessage(QMessageBox::Ok);

    m_window->mnuFilePrint_Click();

    checkOnlyMessage(QStringLiteral("Printer Error"), QStringLiteral("no default printer"));
    QCOMPARE(m_window->store().count(), 1);
    QCOMPARE(m_window->store().recordText(m_window->store().recordIndexAt(0)),
             QStringLiteral("text"));
}

void PrintCommandTest::failedSaveIsNotPrinted()
{
    addEntry(QStringLiteral("Entry"));
    m_window->CurrentFileName = pathOf(QStringLiteral("missing-folder/FILE.DF"));
    // The save reports its own failure first.
    m_doubles->questions.answerMessage(QMessageBox::Ok);
    m_doubles->questions.answerMessage(QMessageBox::Ok);

    m_window->mnuFilePrint_Click();

    QCOMPARE(m_doubles->questions.asked.size(), 2);
    QCOMPARE(m_doubles->questions.asked.constLast().title, QStringLiteral("Printer Error"));
    QVERIFY(m_doubles->questions.asked.constLast().text.contains(QStringLiteral("not printed")));
    for (const auto& job : m_doubles->printers.jobs)
        QVERIFY(!job->opened);
}

void PrintCommandTest::printerFailureDiscardsTheJobAndTheNextPrintWorks()
{
    addEntry(QStringLiteral("First"), QStringLiteral("one"));
    addEntry(QStringLiteral("Second"), QStringLiteral("two"));
    m_window->CurrentFileName = pathOf(QStringLiteral("FAIL.DF"));
    m_doubles->printers.failAtPrint = 4;
    m_doubles->questions.answerMessage(QMessageBox::Ok);

    m_window->mnuFilePrint_Click();

    checkOnlyMessage(QStringLiteral("Printer Error"),
                     QStringLiteral("The recording printer failed as told."));
    QVERIFY(m_doubles->questions.asked.constFirst().text.contains(QStringLiteral("not printed")));
    QVERIFY(lastJob().discarded);
    QVERIFY(!lastJob().ended);

    // The file was closed and the printer released: printing again works.
    m_doubles->printers.failAtPrint = 0;
    m_doubles->questions.asked.clear();
    expectCompletion();
    m_window->mnuFilePrint_Click();
    checkOnlyMessage(QStringLiteral("Tabulet"), QStringLiteral("Printing complete."));
    QVERIFY(lastJob().ended);
    QCOMPARE(lastJob().texts().mid(4),
             QStringList({"First", "\tone", "", "", "Second", "\ttwo", "", ""}));
}

void PrintCommandTest::toolbarButtonPrints()
{
    m_window->CurrentFileName = pathOf(QStringLiteral("EMPTY.DF"));
    expectCompletion();

    m_window->Toolbar1_ButtonClick(QStringLiteral("tbrFilePrint"));

    checkOnlyMessage(QStringLiteral("Tabulet"), QStringLiteral("Printing complete."));
    // An empty document prints its title lines only.
    QCOMPARE(lastJob().lines.size(), 4);
    QVERIFY(lastJob().ended);
}

QTEST_MAIN(PrintCommandTest)
#include "tst_printcommand.moc"

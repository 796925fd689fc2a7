#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

enum class Command { New, Open, Exit, CloseBox };
// What happens after the question that asks to save the current document.
enum class Path { No, Cancel, Saved, SaveAsCancelled, SaveFails };

const QByteArray GroceriesFile = "{\r\n\"Groceries\r\nmilk\r\nbread\"\r\n}\r\n";

static QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The document commands on a real main window with scripted questions and file dialogs:
// the user's work is either saved or knowingly dropped, and a failed save damages no file.
class DocumentCommandsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<frmTabulet> m_window;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_mount;

    void addGroceries()
    {
        m_window->store().setRecordText(*m_window->store().addRecord(QStringLiteral("Groceries")),
                                        QStringLiteral("milk\r\nbread"));
    }
    // Names the document through Save As, as the user would.
    void nameDocument(const QString& path)
    {
        m_doubles->fileDialogs.chooseFile(path);
        QVERIFY(m_window->FileSaveAsSub());
    }
    // A warning that names the file and then gives the system's reason.
    void verifyFailureReported(const QString& path)
    {
        const ScriptedQuestions::Asked report =
            m_doubles->questions.asked.value(m_doubles->questions.asked.size() - 1);
        const QString reason = report.text.section(QStringLiteral("\n\n"), 1).trimmed();
        QVERIFY2(report.title == QStringLiteral("Tabulet") && report.icon == QMessageBox::Warning &&
                     report.text.contains(QDir::toNativeSeparators(path)) && !reason.isEmpty() &&
                     reason != QStringLiteral("Unknown error"),
                 qPrintable(report.text));
    }

private Q_SLOTS:
    // Exit and the close box close the window; the test program must outlive that.
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_doubles = std::make_unique<TestServices>();
        m_window = std::make_unique<frmTabulet>(m_doubles->services());
        m_window->show();
    }
    void cleanup()
    {
        const bool answered =
            m_doubles->questions.allAnswered() && m_doubles->fileDialogs.allAnswered();
        m_window.reset();
        if (!m_mount.isEmpty())
            QProcess::execute(QStringLiteral("umount"), {std::exchange(m_mount, QString())});
        QVERIFY2(answered, "a scripted answer was left over");
    }

    void savePrompt_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<Path>("path");
        const char* const commands[] = {"New", "Open", "Exit", "close box"};
        const char* const paths[] = {"No", "Cancel", "Yes, saved", "Yes, Save As cancelled",
                                     "Yes, save fails"};
        for (int command = 0; command < 4; ++command)
            for (int path = 0; path < 5; ++path)
                QTest::addRow("%s, %s", commands[command], paths[path])
                    << Command(command) << Path(path);
    }

    void savePrompt()
    {
        QFETCH(Command, command);
        QFETCH(Path, path);

        addGroceries();
        const bool goesOn = path == Path::No || path == Path::Saved;
        // A missing folder makes the save fail.
        const QString saved = m_dir->filePath(path == Path::SaveFails ? "gone/new.DF" : "new.DF");
        m_doubles->questions.answerMessage(path == Path::No       ? QMessageBox::No
                                           : path == Path::Cancel ? QMessageBox::Cancel
                                                                  : QMessageBox::Yes);
        if (path == Path::SaveAsCancelled)
            m_doubles->fileDialogs.cancelFile();
        else if (path == Path::Saved || path == Path::SaveFails)
            m_doubles->fileDialogs.chooseFile(saved);
        if (path == Path::SaveFails)
            m_doubles->questions.answerMessage(QMessageBox::Ok);
        if (command == Command::Open && goesOn)
            m_doubles->fileDialogs.cancelFile();

        if (command == Command::New)
            m_window->mnuFileNewItem_Click();
        else if (command == Command::Open)
            m_window->mnuFileOpenItem_Click();
        else if (command == Command::Exit)
            m_window->mnuFileExit_Click();
        else
            QCOMPARE(m_window->close(), goesOn);

        const bool exiting = command == Command::Exit || command == Command::CloseBox;
        const ScriptedQuestions::Asked prompt = m_doubles->questions.asked.value(0);
        QCOMPARE(prompt.title, QStringLiteral("Save Current?"));
        QCOMPARE(prompt.text, exiting
                                  ? QStringLiteral("Save before exiting?")
                                  : QStringLiteral("Do you want to save the current contents?"));
        QCOMPARE(prompt.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(prompt.defaultButton, QMessageBox::Yes);
        if (path == Path::SaveFails)
            verifyFailureReported(saved);
        QCOMPARE(contentsOf(saved), path == Path::Saved ? GroceriesFile : QByteArray());
        QCOMPARE(m_window->isVisible(), !(exiting && goesOn));
        QCOMPARE(m_window->store().count(), goesOn && !exiting ? 0 : 1);
    }

    void saveFailure_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("onto a read-only file") << true;
        // Too large for the disk: the failure comes on a write, not at the end.
        QTest::newRow("onto a full disk") << false;
    }

    void saveFailure()
    {
        QFETCH(bool, readOnly);

        const QString disk = m_dir->filePath(QStringLiteral("disk"));
        if (!QDir().mkpath(disk) ||
            QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", disk}) != 0)
            QSKIP("Cannot mount a small tmpfs here (needs root); this fault is not tested.");
        m_mount = disk;
        const QString path = QDir(disk).filePath(QStringLiteral("doc.DF"));
        addGroceries();
        nameDocument(path);
        QVERIFY(!readOnly || QProcess::execute("mount", {"-o", "remount,ro", disk}) == 0);
        m_window->store().setRecordText(*m_window->store().addRecord(QStringLiteral("Big")),
                                        QString(readOnly ? 10 : 100 * 1024, QLatin1Char('x')));

        m_doubles->questions.answerMessage(QMessageBox::Ok);
        QVERIFY(!m_window->FileSaveSub());
        verifyFailureReported(path);
        QCOMPARE(contentsOf(path), GroceriesFile);
        // No half-written file is left beside it.
        QCOMPARE(QDir(disk).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("doc.DF")});
    }

    void openFailure_data()
    {
        QTest::addColumn<QString>("file"); // relative to the test's folder
        QTest::addColumn<bool>("atStart");
        QTest::newRow("no such file") << "missing.DF" << false;
        QTest::newRow("unreadable, at start") << "/proc/self/mem" << true;
    }

    void openFailure()
    {
        QFETCH(QString, file);
        QFETCH(bool, atStart);

        const QString path = QDir::cleanPath(QDir(m_dir->path()).absoluteFilePath(file));
        if (!atStart) {
            nameDocument(m_dir->filePath(QStringLiteral("before.DF")));
            addGroceries();
            m_doubles->questions.answerMessage(QMessageBox::No);
            m_doubles->fileDialogs.chooseFile(path);
        }
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        if (atStart)
            m_window->openFileAtStart(path);
        else
            m_window->mnuFileOpenItem_Click();

        verifyFailureReported(path);
        QCOMPARE(m_window->CurrentFileName, QString());
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Tabulet 1.0"));
        QCOMPARE(m_window->store().count(), 0);
    }

    void unwritableContentIsAskedAbout()
    {
        const QString path = m_dir->filePath(QStringLiteral("doc.DF"));
        addGroceries();
        nameDocument(path);
        m_window->store().setRecordText(*m_window->store().addRecord(QStringLiteral("Say \"hi\"")),
                                        QStringLiteral("\u0141\u00f3d\u017a"));
        for (const QMessageBox::StandardButton answer : {QMessageBox::Cancel, QMessageBox::Ok}) {
            m_doubles->questions.asked.clear();
            m_doubles->questions.answerMessage(answer);
            QCOMPARE(m_window->FileSaveSub(), answer == QMessageBox::Ok);
            const ScriptedQuestions::Asked question = m_doubles->questions.asked.value(0);
            QCOMPARE(question.buttons, QMessageBox::Ok | QMessageBox::Cancel);
            // It names the record, its number and both ways the file would differ.
            for (const char* mention : {"\"Say \"hi\"\"", "number 2", "double quote", "\"?\""})
                QVERIFY2(question.text.contains(QLatin1String(mention)), qPrintable(question.text));
            QCOMPARE(contentsOf(path) == GroceriesFile, answer == QMessageBox::Cancel);
        }
    }
};

QTEST_MAIN(DocumentCommandsTest)
#include "tst_documentcommands.moc"

#include "checks/Files.h"
#include "core/Document.h"
#include "core/RecordStore.h"
#include "documentcommands/DocumentCommands.h"
#include "doubles/TestServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

enum class Command { New, Open, Exit, Recent, Drop };
// What happens after the question that asks to save the current document.
enum class Path { No, Cancel, Saved, SaveAsCancelled, SaveFails };

namespace {

const QByteArray GroceriesFile = "{\r\n\"Groceries\r\nmilk\r\nbread\"\r\n}\r\n";

// A save file whose writes stop after a few bytes, as on a disk that fills up.
class FailingSaveFile final : public QSaveFile
{
public:
    using QSaveFile::QSaveFile;

protected:
    qint64 writeData(const char* data, qint64 size) override
    {
        if (pos() + size > 8) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        return QSaveFile::writeData(data, size);
    }
};

} // namespace

// The user's work is either saved or knowingly dropped, and a failed save damages no file.
class DocumentCommandsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<Document> m_document;
    std::unique_ptr<DocumentCommands> m_commands;

    QString path(const char* name) const { return m_dir->filePath(QLatin1String(name)); }
    void addGroceries()
    {
        RecordStore& records = m_document->records();
        records.setRecordText(*records.addRecord("Groceries"), QStringLiteral("milk\r\nbread"));
    }
    // The last question: a warning that names the file and then gives the system's reason.
    void verifyFailureReported(const QString& file, const QString& reason = QString())
    {
        const ScriptedQuestions::Asked report = m_doubles->questions.asked.constLast();
        const QString given = report.text.section(QStringLiteral("\n\n"), 1).trimmed();
        QVERIFY2(report.title == "Tabulet" && report.icon == QMessageBox::Warning &&
                     report.text.contains(QDir::toNativeSeparators(file)) && !given.isEmpty() &&
                     (reason.isEmpty() || given == reason),
                 qPrintable(report.text));
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_doubles = std::make_unique<TestServices>();
        m_document = std::make_unique<Document>();
        m_commands = std::make_unique<DocumentCommands>(*m_document, m_doubles->services());
    }
    void cleanup()
    {
        QVERIFY(m_doubles->questions.allAnswered() && m_doubles->fileDialogs.allAnswered());
    }

    void savePrompt_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<Path>("path");
        const char* const commands[] = {"New", "Open", "Exit", "Open Recent", "Drop"};
        const char* const paths[] = {"No", "Cancel", "Yes, saved", "Yes, Save As cancelled",
                                     "Yes, save fails"};
        for (int command = 0; command < 5; ++command)
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
        const QString saved = this->path(path == Path::SaveFails ? "gone/new.DF" : "new.DF");
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

        const QString empty = this->path("empty.DF");
        QVERIFY(writeFile(empty, "{\r\n}\r\n"));
        if (command == Command::New)
            m_commands->newDocument();
        else if (command == Command::Open)
            m_commands->open();
        else if (command == Command::Recent)
            m_commands->openRecent(empty);
        else if (command == Command::Drop)
            m_commands->openDropped({empty});
        else
            QCOMPARE(m_commands->Form_QueryUnload(), goesOn);

        const ScriptedQuestions::Asked prompt = m_doubles->questions.asked.value(0);
        QCOMPARE(prompt.title + u'|' + prompt.text,
                 command == Command::Exit
                     ? "Save Current?|Save before exiting?"
                     : "Save Current?|Do you want to save the current contents?");
        QVERIFY(prompt.buttons == (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) &&
                prompt.defaultButton == QMessageBox::Yes && prompt.icon == QMessageBox::Question);
        if (path == Path::SaveFails)
            verifyFailureReported(saved);
        QCOMPARE(contentsOf(saved), path == Path::Saved ? GroceriesFile : QByteArray());
        QCOMPARE(m_document->records().count(), goesOn && command != Command::Exit ? 0 : 1);
        QCOMPARE(m_document->currentFileName(), goesOn && command >= Command::Recent ? empty
                                                : path == Path::Saved && command == Command::Exit
                                                    ? saved
                                                    : QString());
    }

    // A save that fails part way, onto the document's own file and onto a new name, leaves the
    // file that was there and the document's name as they were.
    void failedSaveKeepsFileAndName()
    {
        addGroceries();
        m_doubles->fileDialogs.chooseFile(path("doc.DF"));
        QCOMPARE(m_commands->FileSaveAsSub(), SaveOutcome::Saved);
        m_document->records().addRecord(QStringLiteral("More"));
        m_document->setSaveFiles(
            [](const QString& file) { return std::make_unique<FailingSaveFile>(file); });
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        QCOMPARE(m_commands->FileSaveSub(), SaveOutcome::Failed);
        verifyFailureReported(path("doc.DF"), "No space left on device");

        QVERIFY(QFile::copy(path("doc.DF"), path("other.DF")));
        m_doubles->fileDialogs.chooseFile(path("other.DF"));
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        QCOMPARE(m_commands->FileSaveAsSub(), SaveOutcome::Failed);
        QCOMPARE(m_document->currentFileName(), path("doc.DF"));
        QCOMPARE(m_document->caption(), QStringLiteral("Tabulet 1.0 - doc.DF"));
        for (const char* name : {"doc.DF", "other.DF"})
            QCOMPARE(contentsOf(path(name)), GroceriesFile);
        // No half-written file is left beside them.
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    // Open, the command line, Open Recent and drops report a file that cannot be read alike.
    // Open has emptied the document before its dialog; the others look before they ask, and
    // keep the document.
    void openFailure_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("how");
        for (const auto& [name, file, how] : {std::tuple{"no such file", "missing.DF", "dialog"},
                                              {"a folder", ".", "dialog"},
                                              {"unreadable, at start", "/proc/self/mem", "start"},
                                              {"a folder, recent", ".", "recent"},
                                              {"a pipe, recent", "pipe", "recent"},
                                              {"a folder, dropped", ".", "drop"}})
            QTest::newRow(name) << QString(file) << QString(how);
    }

    void openFailure()
    {
        QFETCH(QString, file);
        QFETCH(QString, how);
        const QString opened = QDir::cleanPath(QDir(m_dir->path()).absoluteFilePath(file));
        if (file == u"pipe")
            QCOMPARE(mkfifo(QFile::encodeName(opened).constData(), 0600), 0);
        if (how != u"start") {
            m_document->setFile({path("before.DF"), "before.DF"});
            addGroceries();
        }
        if (how == u"dialog") {
            m_doubles->questions.answerMessage(QMessageBox::No);
            m_doubles->fileDialogs.chooseFile(opened);
        }
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        if (how == u"start")
            m_commands->openAtStart(opened);
        else if (how == u"recent")
            m_commands->openRecent(opened);
        else if (how == u"drop")
            m_commands->openDropped({opened});
        else
            m_commands->open();
        verifyFailureReported(opened);
        QVERIFY(!m_commands->recentFiles().files().contains(opened));
        const bool kept = how == u"recent" || how == u"drop";
        QCOMPARE(m_document->caption() + m_document->currentFileName() +
                     QString::number(m_document->records().count()),
                 kept ? "Tabulet 1.0 - before.DF" + path("before.DF") + u'1' : "Tabulet 1.00");
    }

    // Newest first, each once, at most eight; a file that is gone is said to be gone, leaves
    // the list, and leaves the document as it was.
    void recentFiles()
    {
        for (int number = 0; number < 10; ++number) {
            const QString file = path(qPrintable(QStringLiteral("%1.DF").arg(number)));
            QVERIFY(writeFile(file, GroceriesFile));
            m_doubles->questions.answerMessage(QMessageBox::No);
            m_commands->openDropped({file});
        }
        m_commands->openRecent(path("4.DF"));
        m_doubles->fileDialogs.chooseFile(path("new.DF"));
        QCOMPARE(m_commands->FileSaveAsSub(), SaveOutcome::Saved);
        QStringList names;
        for (const QString& file : m_commands->recentFiles().files())
            names << QFileInfo(file).fileName();
        QCOMPARE(names.join(u' '), "new.DF 4.DF 9.DF 8.DF 7.DF 6.DF 5.DF 3.DF");

        QVERIFY(QFile::remove(path("9.DF")));
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        m_commands->openRecent(path("9.DF"));
        QVERIFY(m_doubles->questions.asked.constLast().text.contains("no longer exists"));
        QCOMPARE(m_commands->recentFiles().files().size(), 7);
        QCOMPARE(m_document->currentFileName(), path("new.DF"));
        m_commands->recentFiles().clear();
        QVERIFY(m_commands->recentFiles().files().isEmpty() && m_doubles->settings.isEmpty());
    }

    // Several files dropped at once: the user is told, then the first is opened.
    void severalDropped()
    {
        QVERIFY(writeFile(path("first.DF"), GroceriesFile));
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        m_commands->openDropped({path("first.DF"), path("second.DF")});
        QVERIFY(m_doubles->questions.asked.value(0).text.contains("one file at a time"));
        QCOMPARE(m_document->currentFileName(), path("first.DF"));
    }

    // Read by LF, said once, saved with CR LF.
    void unixLineEnds()
    {
        QVERIFY(writeFile(path("unix.DF"), "{\n\"A\nx\ny\"\n}\n"));
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        m_commands->openAtStart(path("unix.DF"));
        QCOMPARE(m_doubles->questions.asked.value(0).icon, QMessageBox::Information);
        QCOMPARE(m_commands->FileSaveSub(), SaveOutcome::Saved);
        QCOMPARE(contentsOf(path("unix.DF")), "{\r\n\"A\r\nx\r\ny\"\r\n}\r\n");
    }

    void unwritableContentIsAskedAbout()
    {
        addGroceries();
        m_doubles->fileDialogs.chooseFile(path("doc.DF"));
        QCOMPARE(m_commands->FileSaveAsSub(), SaveOutcome::Saved);
        RecordStore& records = m_document->records();
        records.setRecordText(*records.addRecord(QStringLiteral("Say \"hi\"")),
                              QStringLiteral("\u0141\u00f3d\u017a"));
        for (const QMessageBox::StandardButton answer : {QMessageBox::Cancel, QMessageBox::Ok}) {
            m_doubles->questions.asked.clear();
            m_doubles->questions.answerMessage(answer);
            QCOMPARE(m_commands->FileSaveSub() == SaveOutcome::Saved, answer == QMessageBox::Ok);
            const ScriptedQuestions::Asked question = m_doubles->questions.asked.value(0);
            QCOMPARE(question.buttons, QMessageBox::Ok | QMessageBox::Cancel);
            // It names the record, its number and both ways the file would differ.
            for (const char* mention : {"\"Say \"hi\"\"", "number 2", "double quote", "\"?\""})
                QVERIFY2(question.text.contains(QLatin1String(mention)), qPrintable(question.text));
            QCOMPARE(contentsOf(path("doc.DF")) == GroceriesFile, answer == QMessageBox::Cancel);
        }
    }

    // Another program changes or removes the document's file. Save asks before it replaces a
    // changed file and writes a removed one again; coming back to the window offers to reload a
    // changed file, after Save Current? when there is unsaved work, or says the file is gone,
    // once for each change.
    void changedOnDisk_data()
    {
        // The change on disk and what the user does; the answers (Yes, No, Cancel, Ok); then the
        // questions asked, the file and the first header afterwards.
        QTest::addColumn<QString>("row");
        for (const char* row :
             {"change save;C;Tabulet;other;Groceries", "change save;Y;Tabulet;groceries;Groceries",
              "remove save;;;groceries;Groceries", "review;;;groceries;Groceries",
              "change review review;N;Tabulet;other;Groceries",
              "change review;Y;Tabulet;other;Other",
              "type change review;YN;Tabulet,Save Current?;other;Other",
              "remove review review;O;Tabulet;;Groceries"})
            QTest::newRow(row) << QString::fromLatin1(row);
    }
    void changedOnDisk()
    {
        QFETCH(QString, row);
        const QStringList part = row.split(u';');
        const QMap<QString, QByteArray> files{{"groceries", GroceriesFile},
                                              {"other", "{\r\n\"Other\"\r\n}\r\n"}};
        const QMessageBox::StandardButton buttons[] = {QMessageBox::Yes, QMessageBox::No,
                                                       QMessageBox::Cancel, QMessageBox::Ok};
        QFile file(path("doc.DF"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(GroceriesFile) > 0);
        file.close();
        m_commands->openAtStart(file.fileName());
        for (const QChar answer : part[1])
            m_doubles->questions.answerMessage(buttons[QStringLiteral("YNCO").indexOf(answer)]);
        for (const QString& step : part[0].split(u' ')) {
            if (step == u"type")
                m_document->changeText(0, 0, 0, QStringLiteral("x"));
            else if (step == u"change")
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write(files["other"]) > 0);
            else if (step == u"remove")
                QVERIFY(file.remove());
            else if (step == u"save")
                m_commands->FileSaveSub();
            else
                m_commands->reviewFileOnDisk();
            file.close();
        }
        QCOMPARE(m_doubles->questions.asked.size(), part[2].count(u',') + !part[2].isEmpty());
        QCOMPARE(m_doubles->questions.asked.value(0).title, part[2].section(u',', 0, 0));
        QCOMPARE(contentsOf(file.fileName()), files.value(part[3]));
        QCOMPARE(m_document->records().headerAt(0), part[4]);
    }
};

QTEST_MAIN(DocumentCommandsTest)
#include "tst_documentcommands.moc"

#include "checks/Files.h"
#include "core/BinaryObject.h"
#include "core/Document.h"
#include "core/Preferences.h"
#include "core/RecordStore.h"
#include "core/RecoveryFile.h"
#include "documentcommands/DocumentCommands.h"
#include "doubles/TestServices.h"

#include <QtTest>
#include <sys/stat.h>

enum class Command { New, Open, Exit, Recent, Drop };
// What happens after the question that asks to save the current document.
enum class Path { No, Cancel, Saved, SaveAsCancelled, SaveFails };

namespace {

const QByteArray GroceriesFile = "{\r\n\"Groceries\r\nmilk\r\nbread\"\r\n}\r\n";
const QByteArray ReadFile =
    "{\r\n\"Groceries\r\nmilk\r\nbread\"\r\n\"  Spaced  \"\r\n\"Old\rends\"\r\n}\r\n";

// All a user sees of a document: its file, its caption, and each entry's header and text in
// list order.
QStringList stateOf(const Document& document)
{
    QStringList state{document.currentFileName(), document.caption()};
    const RecordStore& records = document.records();
    for (int position = 0; position < records.count(); ++position)
        state << records.headerAt(position) << records.recordText(records.recordIndexAt(position));
    return state;
}

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
// Unsaved work survives a run that ends without closing, exactly, and only the user's answer
// gives it up.
class DocumentCommandsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<Document> m_document;
    std::unique_ptr<DocumentCommands> m_commands;

    QString path(const char* name) const { return m_dir->filePath(QLatin1String(name)); }
    SaveOutcome saveAs(const char* name)
    {
        m_doubles->fileDialogs.chooseFile(path(name));
        return m_commands->FileSaveAsSub();
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

    CrashRecovery& recovery() { return m_commands->recovery(); }
    bool kept()
    {
        recovery().flush();
        return QFile::exists(recovery().filePath());
    }
    // A run of the program: its own document and commands over the same recovery folder.
    void startRun()
    {
        m_commands.reset();
        m_document = std::make_unique<Document>();
        m_commands = std::make_unique<DocumentCommands>(*m_document, m_doubles->services());
    }
    void editOpenedFile(const QString& typed = " & \"tea\" \u2192")
    {
        m_document->setFile({m_dir->filePath("notes.DF"), "notes.DF"});
        m_document->FileInSub(ReadFile);
        m_document->changeText(m_document->records().recordIndexAt(0), 4, 0, typed);
    }
    QStringList recoveryFiles() const
    {
        return QDir(m_dir->filePath("recovery")).entryList({"*.recovery*"}, QDir::Files);
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_doubles = std::make_unique<TestServices>();
        m_doubles->folders.recovery = m_dir->filePath("recovery");
        startRun();
    }
    // The runs let their locks go before their folder goes.
    void cleanup()
    {
        m_commands.reset();
        m_document.reset();
        m_dir.reset();
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
        m_document->FileInSub(GroceriesFile);
        // Several files dropped at once: the user is told, then the first is opened.
        if (command == Command::Drop)
            m_doubles->questions.answerMessage(QMessageBox::Ok);
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
            m_commands->openDropped({empty, this->path("second.DF")});
        else
            QCOMPARE(m_commands->Form_QueryUnload(), goesOn);

        if (command == Command::Drop)
            QVERIFY(m_doubles->questions.asked.takeFirst().text.contains("one file at a time"));
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

    // A save that fails halfway, onto the document's own file and onto a new name, leaves the
    // file that was there and the document's name as they were.
    void failedSaveKeepsFileAndName()
    {
        m_document->FileInSub(GroceriesFile);
        QCOMPARE(saveAs("doc.DF"), SaveOutcome::Saved);
        m_document->records().addRecord(QStringLiteral("More"));
        m_document->setSaveFiles(
            [](const QString& file) { return std::make_unique<FailingSaveFile>(file); });
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        QCOMPARE(m_commands->FileSaveSub(), SaveOutcome::Failed);
        verifyFailureReported(path("doc.DF"), "No space left on device");

        QVERIFY(QFile::copy(path("doc.DF"), path("other.DF")));
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        QCOMPARE(saveAs("other.DF"), SaveOutcome::Failed);
        QCOMPARE(m_document->currentFileName(), path("doc.DF"));
        for (const char* name : {"doc.DF", "other.DF"})
            QCOMPARE(contentsOf(path(name)), GroceriesFile);
        // No half-written file is left beside them.
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    // Open, the command line, Open Recent and drops open a file alike. One that cannot be read,
    // or holds the calculator's binary form of anything but a list of strings, is reported by
    // name and stays off the recent files. Open has emptied the document before its dialog; the
    // others look before they ask, and keep the document. A file read by LF is said to be so,
    // once, and saved with CR LF.
    void opening_data()
    {
        QTest::addColumn<QString>("file");     // "pipe" is made a pipe
        QTest::addColumn<QByteArray>("bytes"); // written to the file first, unless empty
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("said");     // in the last message
        QTest::addColumn<QByteArray>("saved"); // once opened; empty when the file is refused
        const auto row = [](const char* name, const char* file, const QByteArray& bytes,
                            const char* how, const char* said, const QByteArray& saved = {}) {
            QTest::newRow(name) << QString(file) << bytes << QString(how) << QString(said) << saved;
        };
        const char* const unreadable = "could not be opened";
        row("no such file", "missing.DF", {}, "dialog", unreadable);
        row("a folder", ".", {}, "dialog", unreadable);
        row("unreadable, at start", "/proc/self/mem", {}, "start", unreadable);
        row("a folder, recent", ".", {}, "recent", unreadable);
        row("a pipe, recent", "pipe", {}, "recent", unreadable);
        row("a folder, dropped", ".", {}, "drop", unreadable);
        row("a binary list of strings", "SENT.DF",
            binaryobject::write({"Groceries\nmilk\nbread", "  Empty  ", "x\xff"}), "dialog", "",
            "{\r\n\"Groceries\r\nmilk\r\nbread\"\r\n\"Empty\"\r\n\"x\xff\"\r\n}\r\n");
        row("Unix line ends, at start", "unix.DF", "{\n\"A\nx\ny\"\n}\n", "start", "LF alone",
            "{\r\n\"A\r\nx\r\ny\"\r\n}\r\n");
        row("another binary object", "SENT.DF",
            "HPHP48-E" + QByteArray::fromHex("3329000000000000000000"), "recent",
            "binary form of a real number");
        row("a binary string with a quote", "SENT.DF", binaryobject::write({"ok", "say \"hi\""}),
            "drop", "string number 2 holds a double quote");
    }

    void opening()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, how);
        QFETCH(QString, said);
        QFETCH(QByteArray, saved);
        const QString opened = QDir::cleanPath(QDir(m_dir->path()).absoluteFilePath(file));
        if (file == u"pipe")
            QCOMPARE(mkfifo(QFile::encodeName(opened).constData(), 0600), 0);
        if (!bytes.isEmpty())
            QVERIFY(writeFile(opened, bytes));
        if (how != u"start") {
            m_document->setFile({path("before.DF"), "before.DF"});
            m_document->FileInSub(GroceriesFile);
        }
        const QStringList before = stateOf(*m_document);
        if (how == u"dialog") {
            m_doubles->questions.answerMessage(QMessageBox::No);
            m_doubles->fileDialogs.chooseFile(opened);
        }
        if (!said.isEmpty())
            m_doubles->questions.answerMessage(QMessageBox::Ok);
        if (how == u"start")
            m_commands->openAtStart(opened);
        else if (how == u"recent")
            m_commands->openRecent(opened);
        else if (how == u"drop")
            m_commands->openDropped({opened});
        else
            m_commands->open();
        // Empty when nothing was asked, so that a missing message fails here and ends no run.
        const ScriptedQuestions::Asked last =
            m_doubles->questions.asked.value(m_doubles->questions.asked.size() - 1);
        QVERIFY2(last.text.contains(said), qPrintable(last.text));
        QCOMPARE(m_commands->recentFiles().files().contains(opened), !saved.isEmpty());
        if (!saved.isEmpty()) {
            QVERIFY(said.isEmpty() || last.icon == QMessageBox::Information);
            QCOMPARE(m_commands->FileSaveSub(), SaveOutcome::Saved);
            QCOMPARE(contentsOf(opened), saved);
            return;
        }
        verifyFailureReported(opened);
        QCOMPARE(stateOf(*m_document),
                 how == u"dialog" ? QStringList({"", "Tabulet 1.0"}) : before);
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
        QCOMPARE(saveAs("new.DF"), SaveOutcome::Saved);
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

    // The sender names what it sends; Save As offers that name in the user's folder, never a
    // folder of the sender's choosing.
    void receivedNameIsOfferedInTheWorkingFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("offered");
        QTest::newRow("variable") << "NOTES.DF"
                                  << "NOTES.DF";
        QTest::newRow("climbing out") << "../../NOTES.DF"
                                      << "NOTES.DF";
        QTest::newRow("absolute") << "/etc/passwd"
                                  << "passwd";
        QTest::newRow("only a folder") << ".."
                                       << "";
    }
    void receivedNameIsOfferedInTheWorkingFolder()
    {
        QFETCH(QString, name);
        QFETCH(QString, offered);
        m_commands->openReceived(GroceriesFile, name);
        m_doubles->fileDialogs.cancelFile();
        m_commands->FileSaveAsSub();
        const QString folder = preferences::workingDirectory(m_doubles->settings);
        QCOMPARE(m_doubles->fileDialogs.saveStart,
                 offered.isEmpty() ? folder : QDir(folder).filePath(offered));
    }

    void unwritableContentIsAskedAbout()
    {
        m_document->FileInSub(GroceriesFile);
        QCOMPARE(saveAs("doc.DF"), SaveOutcome::Saved);
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
    // changed file, even one changed while Tabulet was not running and its work was kept for the
    // next run, and writes a removed one again; coming back to the window offers to reload a
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
              "remove review review;O;Tabulet;;Groceries",
              "type restart change restore save;YC;Tabulet,Tabulet;other;Groceries"})
            QTest::newRow(row) << QString::fromLatin1(row);
    }
    void changedOnDisk()
    {
        QFETCH(QString, row);
        const QStringList field = row.split(u';');
        const QMap<QString, QByteArray> files{{"groceries", GroceriesFile},
                                              {"other", "{\r\n\"Other\"\r\n}\r\n"}};
        const QMessageBox::StandardButton buttons[] = {QMessageBox::Yes, QMessageBox::No,
                                                       QMessageBox::Cancel, QMessageBox::Ok};
        const QString file = path("doc.DF");
        QVERIFY(writeFile(file, GroceriesFile));
        m_commands->openAtStart(file);
        for (const QChar answer : field[1])
            m_doubles->questions.answerMessage(buttons[QStringLiteral("YNCO").indexOf(answer)]);
        for (const QString& step : field[0].split(u' ')) {
            if (step == u"type")
                m_document->changeText(0, 0, 0, QStringLiteral("x"));
            else if (step == u"change")
                QVERIFY(writeFile(file, files["other"]));
            else if (step == u"remove")
                QVERIFY(QFile::remove(file));
            else if (step == u"save")
                m_commands->FileSaveSub();
            else if (step == u"restart")
                recovery().keepNow(), startRun();
            else if (step == u"restore")
                m_commands->openAtStart({});
            else
                m_commands->reviewFileOnDisk();
        }
        QCOMPARE(m_doubles->questions.asked.size(), field[2].count(u',') + !field[2].isEmpty());
        QCOMPARE(m_doubles->questions.asked.value(0).title, field[2].section(u',', 0, 0));
        QCOMPARE(contentsOf(file), files.value(field[3]));
        QCOMPARE(m_document->records().headerAt(0), field[4]);
    }

    // The next run offers the work kept, and restores it exactly, or discards it; a kept file it
    // cannot read is set aside untouched. A run started while the first goes on is offered
    // nothing: that work is still the first run's.
    void restoredAtStart_data()
    {
        QTest::addColumn<int>("edit");
        QTest::addColumn<int>("cut"); // where the kept file is damaged: from its start, or end
        QTest::addColumn<QByteArray>("replaced");
        QTest::addColumn<QMessageBox::StandardButton>("answer"); // Ok: a damaged file's notice
        QTest::addColumn<QString>("said");
        const auto row = [](const char* name, int edit, int cut, const QByteArray& replaced,
                            QMessageBox::StandardButton answer, const char* said) {
            QTest::newRow(name) << edit << cut << replaced << answer << QString(said);
        };
        row("text typed into a record read", 0, 0, {}, QMessageBox::Yes, "\"notes.DF\"");
        row("header renamed, last record", 1, 0, {}, QMessageBox::Yes, "\"notes.DF\"");
        row("record added, no file", 2, 0, {}, QMessageBox::Yes, "a new document");
        row("record removed", 3, 0, {}, QMessageBox::Yes, "\"notes.DF\"");
        row("declined", 0, 0, {}, QMessageBox::No, "\"notes.DF\"");
        row("another program's file", 0, 0, "{\r\n}\r\n", QMessageBox::Ok, "not a recovery");
        row("another version", 0, 17, QByteArray("\0\0\0\x02", 4), QMessageBox::Ok,
            "another version");
        row("cut short", 0, -7, {}, QMessageBox::Ok, "damaged");
        row("a piece longer than the file", 0, -30, QByteArray(8, '\x7f'), QMessageBox::Ok,
            "damaged");
    }
    void restoredAtStart()
    {
        QFETCH(int, edit);
        QFETCH(int, cut);
        QFETCH(QByteArray, replaced);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QString, said);
        if (edit != 2)
            editOpenedFile();
        if (edit == 1)
            m_document->renameHeader(2, " r\u00e9sum\u00e9 \"x\" ");
        if (edit == 2 && m_document->addHeader("New"))
            m_document->changeText(m_document->records().recordIndexAt(0), 0, 0, "a\r\nb");
        if (edit == 3)
            m_document->removeHeader(1);
        const QStringList before = stateOf(*m_document);
        recovery().keepNow();
        recovery().flush();
        const QString file = recovery().filePath();
        QByteArray bytes = contentsOf(file);
        if (answer == QMessageBox::Ok) {
            bytes = cut >= 0 ? bytes.first(cut) + replaced + bytes.sliced(cut + replaced.size())
                             : bytes.first(bytes.size() + cut) + replaced;
            QVERIFY(writeFile(file, bytes));
        }
        Document second;
        DocumentCommands(second, m_doubles->services()).openAtStart({});
        QVERIFY(m_doubles->questions.asked.isEmpty());
        startRun();
        m_doubles->questions.answerMessage(answer);
        m_commands->openAtStart({});
        QCOMPARE(m_doubles->questions.asked.size(), 1);
        QVERIFY2(m_doubles->questions.asked.last().text.contains(said),
                 qPrintable(m_doubles->questions.asked.last().text));
        if (answer != QMessageBox::Yes) {
            QCOMPARE(m_document->records().count(), 0);
            const QString aside = QFileInfo(file).fileName() + ".unreadable";
            QCOMPARE(recoveryFiles(),
                     answer == QMessageBox::Ok ? QStringList{aside} : QStringList());
            QCOMPARE(contentsOf(file + ".unreadable"), answer == QMessageBox::Ok ? bytes : "");
            return;
        }
        QCOMPARE(stateOf(*m_document), before);
        QVERIFY(!m_document->history().isClean());
        // The restored work is kept on in the file it came from, until it is saved.
        QCOMPARE(recoveryFiles().size(), 2);
        m_document->history().setClean();
        QVERIFY(!kept());
    }

    // Not on the keystroke's own path, and not put off by typing on.
    void writtenShortlyAfterAChange()
    {
        editOpenedFile();
        QVERIFY(recoveryFiles().isEmpty());
        const qint32 record = m_document->records().recordIndexAt(0);
        QElapsedTimer typing;
        typing.start();
        for (int key = 0; key < 6 && recoveryFiles().isEmpty(); ++key) {
            QTest::qWait(CrashRecovery::Delay / 4);
            m_document->changeText(record, 0, 0, "x");
            QVERIFY2(recoveryFiles().isEmpty() || typing.elapsed() >= CrashRecovery::Delay / 2,
                     "written on the keystroke");
        }
        QTRY_COMPARE_WITH_TIMEOUT(recoveryFiles().size(), 2, 2 * CrashRecovery::Delay);
    }

    // Save, and New, Exit or the desktop session's end after their question, leave nothing to
    // restore; Cancel keeps it. A session's end that may not ask keeps the work for the next run,
    // and once one has asked, the window closes without asking again, unless the work changed.
    void recoveryGoesWithTheWork()
    {
        for (const QMessageBox::StandardButton answer : {QMessageBox::Cancel, QMessageBox::No})
            for (int command = 0; command < 3; ++command) {
                editOpenedFile(" tea");
                QVERIFY(m_commands->endSession(false) && kept());
                m_doubles->questions.answerMessage(answer);
                command == 0   ? m_commands->newDocument()
                : command == 1 ? void(m_commands->Form_QueryUnload())
                               : void(m_commands->endSession(true));
                QCOMPARE(kept(), answer == QMessageBox::Cancel);
            }
        QVERIFY(m_commands->Form_QueryUnload());
        m_document->changeText(m_document->records().recordIndexAt(0), 0, 0, "y");
        m_doubles->questions.answerMessage(QMessageBox::Cancel);
        QVERIFY(!m_commands->Form_QueryUnload());
        QCOMPARE(m_doubles->questions.asked.size(), 7);
        editOpenedFile(" tea");
        QCOMPARE(m_commands->FileSaveSub(), SaveOutcome::Saved);
        QVERIFY(!kept());
    }

    void unwritableFolderIsSaidOnce()
    {
        QVERIFY(writeFile(m_doubles->folders.recovery, {})); // where the folder should be
        editOpenedFile();
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        recovery().keepNow();
        recovery().keepNow();
        QCOMPARE(m_doubles->questions.asked.size(), 1);
        QVERIFY(m_doubles->questions.asked.last().text.contains("cannot keep a copy"));
    }
};

QTEST_MAIN(DocumentCommandsTest)
#include "tst_documentcommands.moc"

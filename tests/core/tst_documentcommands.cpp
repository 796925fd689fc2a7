#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

enum class Command { New, Open, Exit, CloseBox };
enum class Content { Entries, FieldOnly, Nothing };
enum class SaveOutcome { Written, DialogCancelled, Fails };
// A full disk meets a large document on a write, a small one only when it is flushed.
enum class Fault { ReadOnlyFile, ReadOnlyFolder, MissingFolder, FullDisk, DiskAlreadyFull };
enum class OpenedFrom { Start, DocumentAnsweredNo, NamedWithoutContent };

const QString Unnamed = QStringLiteral("Tabulet 1.0");
const QByteArray GroceriesFile = "{\r\n\"Groceries\r\nmilk\r\nbread\"\r\n\"Empty\"\r\n}\r\n";
const QByteArray EmptyListFile = "{\r\n\r\n}\r\n";
const QByteArray OriginalFile = "{\r\n\"Original\r\nkeep me\"\r\n}\r\n";

QString caption(const QString& fileTitle)
{
    return QStringLiteral("Tabulet 1.0 - ") + fileTitle;
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList listing(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

// The document commands on a real main window with scripted questions and file dialogs:
// the user's work is either saved or knowingly dropped, and a failed save damages no file.
class DocumentCommandsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<frmTabulet> m_window;
    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_mounts;

    void addRecord(const QString& header, const QString& text)
    {
        const std::optional<qint32> index = m_window->store().addRecord(header);
        QVERIFY(index);
        m_window->store().setRecordText(*index, text);
    }
    void fillGroceries()
    {
        addRecord(QStringLiteral("Groceries"), QStringLiteral("milk\r\nbread"));
        addRecord(QStringLiteral("Empty"), QString());
    }
    // Names the document through Save As, as the user would, and forgets what was asked.
    void nameDocument(const QString& path)
    {
        m_doubles->fileDialogs.chooseFile(path);
        QVERIFY(m_window->FileSaveAsSub());
        QCOMPARE(m_window->windowTitle(), caption(QFileInfo(path).fileName()));
        m_doubles->questions.asked.clear();
        m_doubles->fileDialogs.shown.clear();
    }
    // Mounts a small tmpfs under the test's folder; false where this machine refuses it.
    bool mountSmallDisk(QString* folder)
    {
        *folder = m_dir->filePath(QStringLiteral("disk%1").arg(m_mounts.size()));
        if (!QDir().mkpath(*folder) ||
            !run("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", *folder}))
            return false;
        m_mounts << *folder;
        return true;
    }
    void verifyFailureReported(const QString& path)
    {
        QVERIFY(!m_doubles->questions.asked.isEmpty());
        const ScriptedQuestions::Asked& report = m_doubles->questions.asked.constLast();
        QCOMPARE(report.title, QStringLiteral("Tabulet"));
        QCOMPARE(report.icon, QMessageBox::Warning);
        QCOMPARE(report.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY2(report.text.contains(QDir::toNativeSeparators(path)), qPrintable(report.text));
        // The system's reason follows the file's name.
        const QString reason = report.text.section(QStringLiteral("\n\n"), 1).trimmed();
        QVERIFY2(!reason.isEmpty() && reason != QStringLiteral("Unknown error"),
                 qPrintable(report.text));
    }

private Q_SLOTS:
    // Exit and the close box close the window; the test program must outlive that.
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_doubles = std::make_unique<TestServices>();
        m_window = std::make_unique<frmTabulet>(m_doubles->services());
        m_window->show();
    }
    void cleanup()
    {
        const bool answered =
            m_doubles->questions.allAnswered() && m_doubles->fileDialogs.allAnswered();
        m_window.reset();
        m_doubles.reset();
        while (!m_mounts.isEmpty()) {
            if (!run("umount", {m_mounts.constLast()}))
                qWarning("could not unmount %s", qPrintable(m_mounts.constLast()));
            m_mounts.removeLast();
        }
        m_dir.reset();
        QVERIFY2(answered, "a scripted answer was left over");
    }

    void savePrompt_data();
    void savePrompt();
    void open_data();
    void open();
    void dialogsUseTheFilterAndTheWorkingFolderOfTheMoment();
    void saveFailure_data();
    void saveFailure();
    void unwritableContent_data();
    void unwritableContent();
};

void DocumentCommandsTest::savePrompt_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<Content>("content");
    QTest::addColumn<bool>("named");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<SaveOutcome>("outcome");
    QTest::addColumn<bool>("goesOn"); // New and Open went on to clear, Exit closed

    const QList<std::pair<const char*, Command>> commands{{"New", Command::New},
                                                          {"Open", Command::Open},
                                                          {"Exit", Command::Exit},
                                                          {"close box", Command::CloseBox}};
    const QList<std::pair<const char*, Content>> contents{
        {"entries", Content::Entries}, {"text without entry", Content::FieldOnly}};
    for (const auto& [commandName, command] : commands) {
        QTest::addRow("%s, nothing to lose", commandName)
            << command << Content::Nothing << true << QMessageBox::NoButton << SaveOutcome::Written
            << true;
        for (const auto& [contentName, content] : contents) {
            auto row = [&](const char* what, bool named, QMessageBox::StandardButton answer,
                           SaveOutcome outcome, bool goesOn) {
                QTest::addRow("%s, %s, %s, %s", commandName, contentName,
                              named ? "named" : "unnamed", what)
                    << command << content << named << answer << outcome << goesOn;
            };
            for (const bool named : {false, true}) {
                row("No", named, QMessageBox::No, SaveOutcome::Written, true);
                row("Cancel", named, QMessageBox::Cancel, SaveOutcome::Written, false);
                row("Yes, saved", named, QMessageBox::Yes, SaveOutcome::Written, true);
                row("Yes, save fails", named, QMessageBox::Yes, SaveOutcome::Fails, false);
            }
            row("Yes, Save As cancelled", false, QMessageBox::Yes, SaveOutcome::DialogCancelled,
                false);
        }
    }
}

void DocumentCommandsTest::savePrompt()
{
    QFETCH(Command, command);
    QFETCH(Content, content);
    QFETCH(bool, named);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(SaveOutcome, outcome);
    QFETCH(bool, goesOn);

    const QString folder = m_dir->filePath(QStringLiteral("docs"));
    QVERIFY(QDir().mkpath(folder));
    const QString namedPath = QDir(folder).filePath(QStringLiteral("named.DF"));
    // Content is what the document holds now, not what it ever held.
    addRecord(QStringLiteral("removed"), QStringLiteral("text"));
    m_window->store().removeAt(0);
    if (content == Content::Entries)
        fillGroceries();
    if (named) {
        nameDocument(namedPath);
        QVERIFY(writeFile(namedPath, OriginalFile));
    }
    if (content == Content::FieldOnly)
        m_window->txtDataField->setPlainText(QStringLiteral("typed with no header selected"));

    const QString fieldBefore = m_window->txtDataField->toPlainText();
    const QString nameBefore = m_window->CurrentFileName;
    const QString captionBefore = m_window->windowTitle();
    const int entriesBefore = m_window->store().count();

    const bool asks = content != Content::Nothing;
    if (asks)
        m_doubles->questions.answerMessage(answer);
    QString savedTo = named ? namedPath : QDir(folder).filePath(QStringLiteral("chosen"));
    if (answer == QMessageBox::Yes) {
        if (outcome == SaveOutcome::Fails) {
            // A vanished folder: neither the named file nor a new one can be written.
            m_doubles->questions.answerMessage(QMessageBox::Ok);
            if (named)
                QVERIFY(QDir(folder).removeRecursively());
            else
                savedTo = m_dir->filePath(QStringLiteral("gone/new.DF"));
        }
        if (!named && outcome == SaveOutcome::DialogCancelled)
            m_doubles->fileDialogs.cancelFile();
        else if (!named)
            m_doubles->fileDialogs.chooseFile(savedTo);
    }
    if (command == Command::Open && goesOn)
        m_doubles->fileDialogs.cancelFile();

    switch (command) {
    case Command::New:
        m_window->mnuFileNewItem_Click();
        break;
    case Command::Open:
        m_window->mnuFileOpenItem_Click();
        break;
    case Command::Exit:
        m_window->mnuFileExit_Click();
        break;
    case Command::CloseBox:
        QCOMPARE(m_window->close(), goesOn);
        break;
    }

    const bool exiting = command == Command::Exit || command == Command::CloseBox;
    if (asks) {
        const ScriptedQuestions::Asked& prompt = m_doubles->questions.asked.value(0);
        QCOMPARE(prompt.title, QStringLiteral("Save Current?"));
        QCOMPARE(prompt.text, exiting
                                  ? QStringLiteral("Save before exiting?")
                                  : QStringLiteral("Do you want to save the current contents?"));
        QCOMPARE(prompt.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(prompt.icon, QMessageBox::Question);
        QCOMPARE(prompt.defaultButton, QMessageBox::Yes);
    }
    if (outcome == SaveOutcome::Fails)
        verifyFailureReported(savedTo);
    else
        QCOMPARE(m_doubles->questions.asked.size(), asks ? 1 : 0);

    if (answer == QMessageBox::Yes && outcome == SaveOutcome::Written)
        QCOMPARE(contentsOf(savedTo), content == Content::Entries ? GroceriesFile : EmptyListFile);
    else if (named && outcome != SaveOutcome::Fails)
        QCOMPARE(contentsOf(namedPath), OriginalFile);
    else if (!named)
        QCOMPARE(listing(folder), QStringList());

    QCOMPARE(m_window->isVisible(), !(exiting && goesOn));
    const bool cleared = goesOn && !exiting && asks;
    QCOMPARE(m_window->store().count(), cleared ? 0 : entriesBefore);
    QCOMPARE(m_window->txtDataField->toPlainText(), cleared ? QString() : fieldBefore);
    if (cleared) {
        QCOMPARE(m_window->CurrentFileName, QString());
        QCOMPARE(m_window->windowTitle(), Unnamed);
    } else if (!goesOn || !exiting) {
        QCOMPARE(m_window->CurrentFileName, nameBefore);
        QCOMPARE(m_window->windowTitle(), captionBefore);
    }
}

void DocumentCommandsTest::open_data()
{
    QTest::addColumn<QString>("file"); // relative to the test's folder, the current one at start
    QTest::addColumn<OpenedFrom>("from");
    QTest::addColumn<bool>("opens");

    QTest::newRow("from the dialog") << "lists.DF" << OpenedFrom::DocumentAnsweredNo << true;
    QTest::newRow("at start, by a relative name") << "lists.DF" << OpenedFrom::Start << true;
    QTest::newRow("no such file") << "missing.DF" << OpenedFrom::DocumentAnsweredNo << false;
    QTest::newRow("a folder") << "." << OpenedFrom::DocumentAnsweredNo << false;
    QTest::newRow("unreadable, named document without content")
        << "/proc/self/mem" << OpenedFrom::NamedWithoutContent << false;
    QTest::newRow("no such file, at start") << "missing.DF" << OpenedFrom::Start << false;
    QTest::newRow("a pipe, at start") << "pipe" << OpenedFrom::Start << false;
}

void DocumentCommandsTest::open()
{
    QFETCH(QString, file);
    QFETCH(OpenedFrom, from);
    QFETCH(bool, opens);

    const QString path = QDir::cleanPath(QDir(m_dir->path()).absoluteFilePath(file));
    QVERIFY(writeFile(m_dir->filePath(QStringLiteral("lists.DF")),
                      "%%HP: T(3)A(D)F(.);\r\n" + GroceriesFile.chopped(3) +
                          "\"Tasks\r\nfix the gate\"\r\n}\r\n"));
    if (file == QStringLiteral("pipe"))
        QVERIFY(run(QStringLiteral("mkfifo"), {path}));
    if (from != OpenedFrom::Start) {
        nameDocument(m_dir->filePath(QStringLiteral("before.DF")));
        if (from == OpenedFrom::DocumentAnsweredNo) {
            addRecord(QStringLiteral("Unsaved"), QStringLiteral("dropped"));
            m_doubles->questions.answerMessage(QMessageBox::No);
        }
        m_doubles->fileDialogs.chooseFile(path);
    }
    if (!opens)
        m_doubles->questions.answerMessage(QMessageBox::Ok);

    const QString startFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    if (from == OpenedFrom::Start)
        m_window->openFileAtStart(file);
    else
        m_window->mnuFileOpenItem_Click();
    QVERIFY(QDir::setCurrent(startFolder));

    if (!opens) {
        verifyFailureReported(path);
        QCOMPARE(m_window->CurrentFileName, QString());
        QCOMPARE(m_window->windowTitle(), Unnamed);
        QCOMPARE(m_window->store().count(), 0);
        QVERIFY(m_window->txtDataField->toPlainText().isEmpty());
        return;
    }
    // The name is kept whole, so a later save finds the file wherever the program runs.
    QCOMPARE(m_window->CurrentFileName, path);
    QCOMPARE(m_window->dlgFileOpen.fileName, path);
    QCOMPARE(m_window->dlgFileOpen.fileTitle, QStringLiteral("lists.DF"));
    QCOMPARE(m_window->windowTitle(), caption(QStringLiteral("lists.DF")));
    QCOMPARE(m_window->store().count(), 3);
    QCOMPARE(m_window->txtDataField->toPlainText(), QStringLiteral("fix the gate"));
    QCOMPARE(m_window->selectedPosition(), -1);
    QCOMPARE(m_doubles->questions.asked.size(), from == OpenedFrom::Start ? 0 : 1);
}

void DocumentCommandsTest::dialogsUseTheFilterAndTheWorkingFolderOfTheMoment()
{
    auto& dialogs = m_doubles->fileDialogs;
    dialogs.cancelFile();
    dialogs.cancelFile();
    m_doubles->settings.write(QStringLiteral("WrkDir"), QStringLiteral("/first"));
    m_window->mnuFileSaveAsItem_Click();
    m_doubles->settings.write(QStringLiteral("WrkDir"), QStringLiteral("/second"));
    m_window->mnuFileOpenItem_Click();

    QCOMPARE(dialogs.shown.size(), 2);
    QCOMPARE(dialogs.shown.at(0).kind, ScriptedFileDialogs::Shown::SaveAs);
    QCOMPARE(dialogs.shown.at(0).startFolder, QStringLiteral("/first"));
    QCOMPARE(dialogs.shown.at(1).kind, ScriptedFileDialogs::Shown::Open);
    QCOMPARE(dialogs.shown.at(1).startFolder, QStringLiteral("/second"));
    for (const ScriptedFileDialogs::Shown& shown : dialogs.shown)
        QCOMPARE(shown.filter, QStringLiteral("Ledra Datafiles (*.DF)|*.DF|Text Files "
                                              "(*.txt)|*.txt|All Files (*.*)|*.*"));
    QCOMPARE(m_window->windowTitle(), Unnamed);
}

void DocumentCommandsTest::saveFailure_data()
{
    QTest::addColumn<bool>("saveAs");
    QTest::addColumn<Fault>("fault");
    for (const bool saveAs : {false, true}) {
        const char* way = saveAs ? "Save As" : "Save";
        QTest::addRow("%s onto a read-only file", way) << saveAs << Fault::ReadOnlyFile;
        QTest::addRow("%s into a missing folder", way) << saveAs << Fault::MissingFolder;
        QTest::addRow("%s onto a full disk", way) << saveAs << Fault::FullDisk;
        QTest::addRow("%s onto a disk already full", way) << saveAs << Fault::DiskAlreadyFull;
    }
    QTest::newRow("Save As into a read-only folder") << true << Fault::ReadOnlyFolder;
}

void DocumentCommandsTest::saveFailure()
{
    QFETCH(bool, saveAs);
    QFETCH(Fault, fault);

    QString folder = m_dir->filePath(QStringLiteral("gone"));
    if (fault != Fault::MissingFolder && !mountSmallDisk(&folder))
        QSKIP("Cannot mount a small tmpfs here (needs root); this fault is not tested.");
    const QString existing = QDir(folder).filePath(QStringLiteral("doc.DF"));
    const QString target =
        fault == Fault::ReadOnlyFolder ? QDir(folder).filePath(QStringLiteral("new.DF")) : existing;

    // The document was saved once: under the target for Save, elsewhere for Save As.
    fillGroceries();
    if (!saveAs) {
        QVERIFY(QDir().mkpath(folder));
        nameDocument(existing);
        if (fault == Fault::MissingFolder)
            QVERIFY(QDir(folder).removeRecursively());
    } else {
        nameDocument(m_dir->filePath(QStringLiteral("elsewhere.DF")));
        if (fault != Fault::MissingFolder)
            QVERIFY(writeFile(existing, OriginalFile));
    }
    const QByteArray before = contentsOf(existing);
    if ((fault == Fault::ReadOnlyFile || fault == Fault::ReadOnlyFolder) &&
        !run("mount", {"-o", "remount,ro", folder}))
        QSKIP("Cannot remount the tmpfs read-only here; this fault is not tested.");
    if (fault == Fault::FullDisk)
        addRecord(QStringLiteral("Big"), QString(100 * 1024, QLatin1Char('x')));
    if (fault == Fault::DiskAlreadyFull) {
        QFile filler(QDir(folder).filePath(QStringLiteral("filler")));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'f')) == 4096) {
        }
    }
    const QStringList filesBefore = listing(folder);
    const QString nameBefore = m_window->CurrentFileName;
    const QString captionBefore = m_window->windowTitle();
    const int entriesBefore = m_window->store().count();

    m_doubles->questions.answerMessage(QMessageBox::Ok);
    if (saveAs)
        m_doubles->fileDialogs.chooseFile(target);
    QVERIFY(!(saveAs ? m_window->FileSaveAsSub() : m_window->FileSaveSub()));

    verifyFailureReported(target);
    QCOMPARE(contentsOf(existing), before);
    QCOMPARE(listing(folder), filesBefore);
    QCOMPARE(m_window->CurrentFileName, nameBefore);
    QCOMPARE(m_window->windowTitle(), captionBefore);
    QCOMPARE(m_window->store().count(), entriesBefore);
}

void DocumentCommandsTest::unwritableContent_data()
{
    QTest::addColumn<QStringList>("records"); // header, text, header, text, ...
    QTest::addColumn<QString>("named");       // the header the question names, "" for none
    QTest::addColumn<QStringList>("mentions");

    const QString quote = QStringLiteral("double quote");
    const QString replaced = QStringLiteral("\"?\"");
    QTest::newRow("quote in a header") << QStringList{"Plain", "a", "Say \"hi\"", ""}
                                       << "Say \"hi\"" << QStringList{quote, "number 2"};
    QTest::newRow("beyond Latin-1 in a header")
        << QStringList{"Price \u20ac5", ""} << "Price \u20ac5" << QStringList{replaced};
    QTest::newRow("beyond Latin-1 in a text")
        << QStringList{"A", "\u0141\u00f3d\u017a"} << "A" << QStringList{replaced};
    QTest::newRow("both in one record")
        << QStringList{"A", "\"\u2014\""} << "A" << QStringList{quote, replaced};
    QTest::newRow("the first record that holds it is named")
        << QStringList{"ok", "fine", "B", "x\"y", "C\u20ac", ""} << "B"
        << QStringList{quote, "number 2"};
    QTest::newRow("header that looks like a placeholder")
        << QStringList{"%1 %2 \"q\"", ""} << "%1 %2 \"q\"" << QStringList{quote, "number 1"};
    QTest::newRow("Latin-1 asks nothing")
        << QStringList{"Caf\u00e9", "na\u00efve \u00ff"} << "" << QStringList();
}

void DocumentCommandsTest::unwritableContent()
{
    QFETCH(QStringList, records);
    QFETCH(QString, named);
    QFETCH(QStringList, mentions);

    const QString path = m_dir->filePath(QStringLiteral("doc.DF"));
    nameDocument(path);
    QVERIFY(writeFile(path, OriginalFile));
    for (qsizetype i = 0; i + 1 < records.size(); i += 2)
        addRecord(records.at(i), records.at(i + 1));

    if (named.isEmpty()) {
        QVERIFY(m_window->FileSaveSub());
        QVERIFY(m_doubles->questions.asked.isEmpty());
        QVERIFY(contentsOf(path) != OriginalFile);
        return;
    }
    for (const QMessageBox::StandardButton answer : {QMessageBox::Cancel, QMessageBox::Ok}) {
        m_doubles->questions.asked.clear();
        m_doubles->questions.answerMessage(answer);
        QCOMPARE(m_window->FileSaveSub(), answer == QMessageBox::Ok);
        const ScriptedQuestions::Asked& question = m_doubles->questions.asked.value(0);
        QCOMPARE(question.title, QStringLiteral("Tabulet"));
        QCOMPARE(question.icon, QMessageBox::Warning);
        QCOMPARE(question.buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QVERIFY2(question.text.contains('"' + named + '"'), qPrintable(question.text));
        for (const QString& mention : mentions)
            QVERIFY2(question.text.contains(mention), qPrintable(question.text));
        QCOMPARE(contentsOf(path) == OriginalFile, answer == QMessageBox::Cancel);
    }
}

QTEST_MAIN(DocumentCommandsTest)
#include "tst_documentcommands.moc"

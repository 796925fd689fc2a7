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
enum class Content { Entries, FieldOnly };
enum class SaveOutcome { Written, DialogCancelled, Fails };
// A full disk meets a large document on a write, a small one only when it is flushed.
enum class Fault { ReadOnlyFile, ReadOnlyFolder, MissingFolder, FullDisk, DiskAlreadyFull };
enum class OpenedFrom { Start, DocumentAnsweredNo, NamedWithoutContent };
enum class SaveWay { Save, SaveAs };

const QString Unnamed = QStringLiteral("Tabulet 1.0");
const QString Filter =
    QStringLiteral("Ledra Datafiles (*.DF)|*.DF|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");

// The document most tests work on, and the file it makes.
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
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

// New, Open, Save, Save As, Exit and the close box, on a real main window with scripted
// questions and file dialogs. Whatever the user answers, their work is either saved or
// knowingly dropped, and a file on disk is never damaged by a save that failed.
class DocumentCommandsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void savePrompt_data();
    void savePrompt();
    void withoutContentNothingIsAsked_data();
    void withoutContentNothingIsAsked();
    void openReadsTheChosenFile();
    void dialogsUseTheFilterAndTheWorkingFolderOfTheMoment();
    void saveAsNamesTheDocumentAndSaveKeepsIt();
    void openAtStartReadsTheNamedFile();
    void openFailure_data();
    void openFailure();
    void saveFailure_data();
    void saveFailure();
    void unwritableContent_data();
    void unwritableContent();
    void cancellingTheContentQuestionKeepsTheDocument();

private:
    void addRecord(const QString& header, const QString& text);
    void fillGroceries();
    // Names the document through Save As, as the user would, and forgets what was asked.
    void nameDocument(const QString& path);
    void forgetQuestions();
    // Mounts a small tmpfs under the test's folder; false where this machine refuses it.
    bool mountSmallDisk(QString* folder);
    bool makeReadOnly(const QString& folder);
    static bool fillUp(const QString& folder);
    void verifyFailureReported(const QString& path);

    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<frmTabulet> m_window;
    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_mounts;
};

void DocumentCommandsTest::initTestCase()
{
    // Exit and the close box close the window; the test program must outlive that.
    QApplication::setQuitOnLastWindowClosed(false);
}

void DocumentCommandsTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_doubles = std::make_unique<TestServices>();
    m_window = std::make_unique<frmTabulet>(m_doubles->services());
    m_window->show();
}

void DocumentCommandsTest::cleanup()
{
    const bool answered =
        m_doubles->questions.allAnswered() && m_doubles->fileDialogs.allAnswered();
    m_window.reset();
    m_doubles.reset();
    while (!m_mounts.isEmpty()) {
        const QString folder = m_mounts.takeLast();
        if (!run(QStringLiteral("umount"), {folder}))
            qWarning("could not unmount %s", qPrintable(folder));
    }
    m_dir.reset();
    QVERIFY2(answered, "a scripted answer was left over");
}

void DocumentCommandsTest::addRecord(const QString& header, const QString& text)
{
    const std::optional<qint32> index = m_window->store().addRecord(header);
    QVERIFY(index);
    m_window->store().setRecordText(*index, text);
}

void DocumentCommandsTest::fillGroceries()
{
    addRecord(QStringLiteral("Groceries"), QStringLiteral("milk\r\nbread"));
    addRecord(QStringLiteral("Empty"), QString());
}

void DocumentCommandsTest::nameDocument(const QString& path)
{
    m_doubles->fileDialogs.chooseFile(path);
    QVERIFY(m_window->FileSaveAsSub());
    forgetQuestions();
}

void DocumentCommandsTest::forgetQuestions()
{
    m_doubles->questions.asked.clear();
    m_doubles->fileDialogs.shown.clear();
}

bool DocumentCommandsTest::mountSmallDisk(QString* folder)
{
    *folder = m_dir->filePath(QStringLiteral("disk%1").arg(m_mounts.size()));
    if (!QDir().mkpath(*folder) ||
        !run(QStringLiteral("mount"),
             {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
              QStringLiteral("size=64k"), QStringLiteral("tmpfs"), *folder}))
        return false;
    m_mounts << *folder;
    return true;
}

bool DocumentCommandsTest::makeReadOnly(const QString& folder)
{
    return run(QStringLiteral("mount"),
               {QStringLiteral("-o"), QStringLiteral("remount,ro"), folder});
}

bool DocumentCommandsTest::fillUp(const QString& folder)
{
    QFile filler(QDir(folder).filePath(QStringLiteral("filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
    return true;
}

void DocumentCommandsTest::verifyFailureReported(const QString& path)
{
    const auto& asked = m_doubles->questions.asked;
    QVERIFY(!asked.isEmpty());
    const ScriptedQuestions::Asked& report = asked.constLast();
    QCOMPARE(report.title, QStringLiteral("Tabulet"));
    QCOMPARE(report.icon, QMessageBox::Warning);
    QCOMPARE(report.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY2(report.text.contains(QDir::toNativeSeparators(path)), qPrintable(report.text));
    // The system's reason follows the file's name.
    const QString reason = report.text.section(QStringLiteral("\n\n"), 1).trimmed();
    QVERIFY2(!reason.isEmpty() && reason != QStringLiteral("Unknown error"),
             qPrintable(report.text));
}

void DocumentCommandsTest::savePrompt_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<Content>("content");
    QTest::addColumn<bool>("named");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<SaveOutcome>("outcome");
    // Whether the command went on: New and Open cleared the document, Exit closed.
    QTest::addColumn<bool>("goesOn");

    const QList<std::pair<const char*, Command>> commands{{"New", Command::New},
                                                          {"Open", Command::Open},
                                                          {"Exit", Command::Exit},
                                                          {"close box", Command::CloseBox}};
    const QList<std::pair<const char*, Content>> contents{
        {"entries", Content::Entries}, {"text without entry", Content::FieldOnly}};
    for (const auto& [commandName, command] : commands) {
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

    m_doubles->questions.answerMessage(answer);
    QString savedTo = named ? namedPath : QDir(folder).filePath(QStringLiteral("chosen.DF"));
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

    const ScriptedQuestions::Asked& prompt = m_doubles->questions.asked.value(0);
    const bool exiting = command == Command::Exit || command == Command::CloseBox;
    QCOMPARE(prompt.title, QStringLiteral("Save Current?"));
    QCOMPARE(prompt.text, exiting ? QStringLiteral("Save before exiting?")
                                  : QStringLiteral("Do you want to save the current contents?"));
    QCOMPARE(prompt.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(prompt.icon, QMessageBox::Question);
    QCOMPARE(prompt.defaultButton, QMessageBox::Yes);
    if (outcome == SaveOutcome::Fails && answer == QMessageBox::Yes)
        verifyFailureReported(savedTo);
    else
        QCOMPARE(m_doubles->questions.asked.size(), 1);

    if (answer == QMessageBox::Yes && outcome == SaveOutcome::Written)
        QCOMPARE(contentsOf(savedTo), content == Content::Entries ? GroceriesFile : EmptyListFile);
    else if (named && outcome != SaveOutcome::Fails)
        QCOMPARE(contentsOf(namedPath), OriginalFile);
    else if (!named)
        QCOMPARE(listing(folder), QStringList());

    QCOMPARE(m_window->isVisible(), !(exiting && goesOn));
    const bool cleared = goesOn && !exiting;
    QCOMPARE(m_window->store().count(), cleared ? 0 : entriesBefore);
    QCOMPARE(m_window->txtDataField->toPlainText(), cleared ? QString() : fieldBefore);
    if (cleared) {
        QCOMPARE(m_window->CurrentFileName, QString());
        QCOMPARE(m_window->windowTitle(), Unnamed);
    } else if (!goesOn) {
        QCOMPARE(m_window->CurrentFileName, nameBefore);
        QCOMPARE(m_window->windowTitle(), captionBefore);
    }
}

void DocumentCommandsTest::withoutContentNothingIsAsked_data()
{
    QTest::addColumn<Command>("command");
    QTest::newRow("New keeps the file name") << Command::New;
    QTest::newRow("Open goes straight to its dialog") << Command::Open;
    QTest::newRow("Exit closes") << Command::Exit;
    QTest::newRow("the close box closes") << Command::CloseBox;
}

void DocumentCommandsTest::withoutContentNothingIsAsked()
{
    QFETCH(Command, command);

    // A named document whose entries were all removed and whose field was emptied.
    const QString path = m_dir->filePath(QStringLiteral("emptied.DF"));
    fillGroceries();
    nameDocument(path);
    m_window->store().removeAt(1);
    m_window->store().removeAt(0);
    m_window->txtDataField->setPlainText(QStringLiteral("x"));
    m_window->txtDataField->clear();

    switch (command) {
    case Command::New:
        m_window->mnuFileNewItem_Click();
        break;
    case Command::Open:
        m_doubles->fileDialogs.cancelFile();
        m_window->mnuFileOpenItem_Click();
        QCOMPARE(m_doubles->fileDialogs.shown.size(), 1);
        break;
    case Command::Exit:
        m_window->mnuFileExit_Click();
        break;
    case Command::CloseBox:
        QVERIFY(m_window->close());
        break;
    }

    QVERIFY(m_doubles->questions.asked.isEmpty());
    const bool exiting = command == Command::Exit || command == Command::CloseBox;
    QCOMPARE(m_window->isVisible(), !exiting);
    if (exiting)
        return;
    QCOMPARE(m_window->CurrentFileName, path);
    QCOMPARE(m_window->windowTitle(), caption(QStringLiteral("emptied.DF")));
    // Save still goes to that file, without a dialog.
    m_window->mnuFileSaveItem_Click();
    QCOMPARE(contentsOf(path), EmptyListFile);
}

void DocumentCommandsTest::openReadsTheChosenFile()
{
    const QString path = m_dir->filePath(QStringLiteral("lists.DF"));
    QVERIFY(writeFile(path, "%%HP: T(3)A(D)F(.);\r\n{\r\n\"Groceries\r\nmilk\r\nbread\"\r\n"
                            "\"Empty\"\r\n\"Tasks\r\nfix the gate\"\r\n}\r\n"));
    addRecord(QStringLiteral("Unsaved"), QStringLiteral("dropped"));
    m_doubles->questions.answerMessage(QMessageBox::No);
    m_doubles->fileDialogs.chooseFile(path);

    m_window->mnuFileOpenItem_Click();

    QCOMPARE(m_window->CurrentFileName, path);
    QCOMPARE(m_window->windowTitle(), caption(QStringLiteral("lists.DF")));
    QCOMPARE(m_window->dlgFileOpen.fileName, path);
    QCOMPARE(m_window->dlgFileOpen.fileTitle, QStringLiteral("lists.DF"));
    const RecordStore& store = m_window->store();
    QCOMPARE(store.count(), 3);
    QCOMPARE(store.headerAt(0), QStringLiteral("Groceries"));
    QCOMPARE(store.recordText(store.recordIndexAt(0)), QStringLiteral("milk\r\nbread"));
    QCOMPARE(store.headerAt(2), QStringLiteral("Tasks"));
    QCOMPARE(m_window->txtDataField->toPlainText(), QStringLiteral("fix the gate"));
    QCOMPARE(m_window->selectedPosition(), -1);
}

void DocumentCommandsTest::dialogsUseTheFilterAndTheWorkingFolderOfTheMoment()
{
    const QString first = m_dir->filePath(QStringLiteral("first"));
    const QString second = m_dir->filePath(QStringLiteral("second"));
    auto& dialogs = m_doubles->fileDialogs;

    dialogs.cancelFile();
    m_window->mnuFileOpenItem_Click();
    m_doubles->settings.write(QStringLiteral("WrkDir"), first);
    dialogs.cancelFile();
    m_window->mnuFileSaveAsItem_Click();
    m_doubles->settings.write(QStringLiteral("WrkDir"), second);
    dialogs.cancelFile();
    m_window->mnuFileOpenItem_Click();

    QCOMPARE(dialogs.shown.size(), 3);
    QCOMPARE(dialogs.shown.at(0).startFolder, QString());
    QCOMPARE(dialogs.shown.at(1).kind, ScriptedFileDialogs::Shown::SaveAs);
    QCOMPARE(dialogs.shown.at(1).startFolder, first);
    QCOMPARE(dialogs.shown.at(2).kind, ScriptedFileDialogs::Shown::Open);
    QCOMPARE(dialogs.shown.at(2).startFolder, second);
    for (const ScriptedFileDialogs::Shown& shown : dialogs.shown)
        QCOMPARE(shown.filter, Filter);
    // Cancelled dialogs change nothing.
    QCOMPARE(m_window->windowTitle(), Unnamed);
    QVERIFY(listing(m_dir->path()).isEmpty());
}

void DocumentCommandsTest::saveAsNamesTheDocumentAndSaveKeepsIt()
{
    // An empty document is still written, and the name is used as typed.
    const QString path = m_dir->filePath(QStringLiteral("plain"));
    m_doubles->settings.write(QStringLiteral("ASCII Header"), QStringLiteral("1"));
    m_doubles->settings.write(QStringLiteral("ASCII Text"), QStringLiteral("%%HP: T(3)A(D)F(.);"));
    m_doubles->fileDialogs.chooseFile(path);
    m_window->mnuFileSaveAsItem_Click();

    QCOMPARE(m_window->windowTitle(), caption(QStringLiteral("plain")));
    QCOMPARE(m_window->CurrentFileName, path);
    QCOMPARE(contentsOf(path), "%%HP: T(3)A(D)F(.);\r\n" + EmptyListFile);
    QCOMPARE(listing(m_dir->path()), QStringList{QStringLiteral("plain")});

    // Save writes the same file again, with no dialog, and the caption stays.
    m_doubles->settings.write(QStringLiteral("ASCII Header"), QStringLiteral("0"));
    fillGroceries();
    m_window->mnuFileSaveItem_Click();
    QCOMPARE(contentsOf(path), GroceriesFile);
    QCOMPARE(m_window->windowTitle(), caption(QStringLiteral("plain")));
    QCOMPARE(m_doubles->fileDialogs.shown.size(), 1);
    // The file's whole text is not kept once it is on disk.
    QVERIFY(m_window->OutputText.isEmpty());
}

void DocumentCommandsTest::openAtStartReadsTheNamedFile()
{
    QVERIFY(writeFile(m_dir->filePath(QStringLiteral("given.DF")), GroceriesFile));
    const QString startFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    m_window->openFileAtStart(QStringLiteral("given.DF"));
    QVERIFY(QDir::setCurrent(startFolder));

    // The name is kept whole, so a later save finds the file wherever the program runs.
    const QString path = QFileInfo(m_dir->filePath(QStringLiteral("given.DF"))).absoluteFilePath();
    QCOMPARE(m_window->CurrentFileName, path);
    QCOMPARE(m_window->dlgFileOpen.fileName, path);
    QCOMPARE(m_window->dlgFileOpen.fileTitle, QStringLiteral("given.DF"));
    QCOMPARE(m_window->windowTitle(), caption(QStringLiteral("given.DF")));
    QCOMPARE(m_window->store().count(), 2);
    QVERIFY(m_doubles->questions.asked.isEmpty());
}

void DocumentCommandsTest::openFailure_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<OpenedFrom>("from");

    QTest::newRow("no such file") << QStringLiteral("missing.DF") << OpenedFrom::DocumentAnsweredNo;
    QTest::newRow("a folder") << QStringLiteral(".") << OpenedFrom::DocumentAnsweredNo;
    QTest::newRow("unreadable") << QStringLiteral("/proc/self/mem")
                                << OpenedFrom::NamedWithoutContent;
    QTest::newRow("no such file, named document without content")
        << QStringLiteral("missing.DF") << OpenedFrom::NamedWithoutContent;
    QTest::newRow("no such file, at start") << QStringLiteral("missing.DF") << OpenedFrom::Start;
    QTest::newRow("a pipe, at start") << QStringLiteral("pipe") << OpenedFrom::Start;
}

void DocumentCommandsTest::openFailure()
{
    QFETCH(QString, path);
    QFETCH(OpenedFrom, from);
    if (QDir::isRelativePath(path))
        path = QDir::cleanPath(m_dir->filePath(path));
    if (path.endsWith(QStringLiteral("pipe")))
        QVERIFY(run(QStringLiteral("mkfifo"), {path}));

    if (from != OpenedFrom::Start) {
        nameDocument(m_dir->filePath(QStringLiteral("before.DF")));
        if (from == OpenedFrom::DocumentAnsweredNo) {
            fillGroceries();
            m_doubles->questions.answerMessage(QMessageBox::No);
        }
        m_doubles->fileDialogs.chooseFile(path);
    }
    m_doubles->questions.answerMessage(QMessageBox::Ok);

    if (from == OpenedFrom::Start)
        m_window->openFileAtStart(path);
    else
        m_window->mnuFileOpenItem_Click();

    verifyFailureReported(path);
    QCOMPARE(m_window->CurrentFileName, QString());
    QCOMPARE(m_window->windowTitle(), Unnamed);
    QCOMPARE(m_window->store().count(), 0);
    QVERIFY(m_window->txtDataField->toPlainText().isEmpty());
}

void DocumentCommandsTest::saveFailure_data()
{
    QTest::addColumn<SaveWay>("way");
    QTest::addColumn<Fault>("fault");

    QTest::newRow("Save onto a read-only file") << SaveWay::Save << Fault::ReadOnlyFile;
    QTest::newRow("Save into a vanished folder") << SaveWay::Save << Fault::MissingFolder;
    QTest::newRow("Save onto a full disk") << SaveWay::Save << Fault::FullDisk;
    QTest::newRow("Save As onto a read-only file") << SaveWay::SaveAs << Fault::ReadOnlyFile;
    QTest::newRow("Save As into a read-only folder") << SaveWay::SaveAs << Fault::ReadOnlyFolder;
    QTest::newRow("Save As into a missing folder") << SaveWay::SaveAs << Fault::MissingFolder;
    QTest::newRow("Save As onto a full disk") << SaveWay::SaveAs << Fault::FullDisk;
    QTest::newRow("Save onto a disk already full") << SaveWay::Save << Fault::DiskAlreadyFull;
    QTest::newRow("Save As onto a disk already full") << SaveWay::SaveAs << Fault::DiskAlreadyFull;
}

void DocumentCommandsTest::saveFailure()
{
    QFETCH(SaveWay, way);
    QFETCH(Fault, fault);

    QString folder = m_dir->filePath(QStringLiteral("gone"));
    if (fault != Fault::MissingFolder && !mountSmallDisk(&folder))
        QSKIP("Cannot mount a small tmpfs here (needs root); this fault is not tested.");
    const QString existing = QDir(folder).filePath(QStringLiteral("doc.DF"));
    const QString target =
        fault == Fault::ReadOnlyFolder ? QDir(folder).filePath(QStringLiteral("new.DF")) : existing;

    // The document was saved once: under the target for Save, elsewhere for Save As.
    fillGroceries();
    if (way == SaveWay::Save) {
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
    if ((fault == Fault::ReadOnlyFile || fault == Fault::ReadOnlyFolder) && !makeReadOnly(folder))
        QSKIP("Cannot remount the tmpfs read-only here; this fault is not tested.");
    if (fault == Fault::FullDisk)
        addRecord(QStringLiteral("Big"), QString(100 * 1024, QLatin1Char('x')));
    if (fault == Fault::DiskAlreadyFull)
        QVERIFY(fillUp(folder));
    const QStringList filesBefore = listing(folder);
    const QString nameBefore = m_window->CurrentFileName;
    const QString captionBefore = m_window->windowTitle();
    const int entriesBefore = m_window->store().count();

    m_doubles->questions.answerMessage(QMessageBox::Ok);
    if (way == SaveWay::Save) {
        QVERIFY(!m_window->FileSaveSub());
    } else {
        m_doubles->fileDialogs.chooseFile(target);
        QVERIFY(!m_window->FileSaveAsSub());
    }

    verifyFailureReported(target);
    QCOMPARE(contentsOf(existing), before);
    QCOMPARE(listing(folder), filesBefore);
    QCOMPARE(m_window->CurrentFileName, nameBefore);
    QCOMPARE(m_window->windowTitle(), captionBefore);
    QCOMPARE(m_window->store().count(), entriesBefore);
    QVERIFY(m_window->isVisible());
}

void DocumentCommandsTest::unwritableContent_data()
{
    QTest::addColumn<QStringList>("records"); // header, text, header, text, ...
    QTest::addColumn<QString>("named");       // the header the question names, "" for none
    QTest::addColumn<QStringList>("mentions");
    QTest::addColumn<QByteArray>("written"); // the file after OK (or after no question)

    const QString quote = QStringLiteral("double quote");
    const QString replaced = QStringLiteral("\"?\"");
    QTest::newRow("quote in a header")
        << QStringList{"Plain", "a", "Say \"hi\"", ""} << QStringLiteral("Say \"hi\"")
        << QStringList{quote, "number 2"}
        << QByteArray("{\r\n\"Plain\r\na\"\r\n\"Say \"hi\"\"\r\n}\r\n");
    QTest::newRow("quote in a text")
        << QStringList{"A", "he said \"no\""} << QStringLiteral("A") << QStringList{quote}
        << QByteArray("{\r\n\"A\r\nhe said \"no\"\"\r\n}\r\n");
    QTest::newRow("beyond Latin-1 in a header")
        << QStringList{QString::fromUtf8("Price \u20ac5"), ""} << QString::fromUtf8("Price \u20ac5")
        << QStringList{replaced} << QByteArray("{\r\n\"Price ?5\"\r\n}\r\n");
    QTest::newRow("beyond Latin-1 in a text")
        << QStringList{"A", QString::fromUtf8("\u0141\u00f3d\u017a")} << QStringLiteral("A")
        << QStringList{replaced}
        << QByteArray("{\r\n\"A\r\n?\xf3"
                      "d?\"\r\n}\r\n");
    QTest::newRow("both in one record")
        << QStringList{"A", QString::fromUtf8("\"\u2014\"")} << QStringLiteral("A")
        << QStringList{quote, replaced} << QByteArray("{\r\n\"A\r\n\"?\"\"\r\n}\r\n");
    QTest::newRow("the first record that holds it is named")
        << QStringList{"ok", "fine", "B", "x\"y", QString::fromUtf8("C\u20ac"), ""}
        << QStringLiteral("B") << QStringList{quote, "number 2"}
        << QByteArray("{\r\n\"ok\r\nfine\"\r\n\"B\r\nx\"y\"\r\n\"C?\"\r\n}\r\n");
    QTest::newRow("header that looks like a placeholder")
        << QStringList{"%1 %2 \"q\"", ""} << QStringLiteral("%1 %2 \"q\"")
        << QStringList{quote, "number 1"} << QByteArray("{\r\n\"%1 %2 \"q\"\"\r\n}\r\n");
    QTest::newRow("Latin-1 asks nothing")
        << QStringList{QString::fromUtf8("Caf\u00e9"), QString::fromUtf8("na\u00efve \u00ff")}
        << QString() << QStringList() << QByteArray("{\r\n\"Caf\xe9\r\nna\xefve \xff\"\r\n}\r\n");
}

void DocumentCommandsTest::unwritableContent()
{
    QFETCH(QStringList, records);
    QFETCH(QString, named);
    QFETCH(QStringList, mentions);
    QFETCH(QByteArray, written);

    const QString path = m_dir->filePath(QStringLiteral("doc.DF"));
    nameDocument(path);
    QVERIFY(writeFile(path, OriginalFile));
    for (qsizetype i = 0; i + 1 < records.size(); i += 2)
        addRecord(records.at(i), records.at(i + 1));

    for (const QMessageBox::StandardButton answer : {QMessageBox::Cancel, QMessageBox::Ok}) {
        forgetQuestions();
        const bool asks = !named.isEmpty();
        if (asks)
            m_doubles->questions.answerMessage(answer);
        const bool saved = m_window->FileSaveSub();
        if (!asks) {
            QVERIFY(m_doubles->questions.asked.isEmpty());
            QVERIFY(saved);
            QCOMPARE(contentsOf(path), written);
            return;
        }
        const ScriptedQuestions::Asked& question = m_doubles->questions.asked.value(0);
        QCOMPARE(question.title, QStringLiteral("Tabulet"));
        QCOMPARE(question.icon, QMessageBox::Warning);
        QCOMPARE(question.buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QVERIFY2(question.text.contains(QLatin1Char('"') + named + QLatin1Char('"')),
                 qPrintable(question.text));
        for (const QString& mention : mentions)
            QVERIFY2(question.text.contains(mention), qPrintable(question.text));
        QCOMPARE(saved, answer == QMessageBox::Ok);
        QCOMPARE(contentsOf(path), answer == QMessageBox::Ok ? written : OriginalFile);
    }
}

void DocumentCommandsTest::cancellingTheContentQuestionKeepsTheDocument()
{
    // Yes to "save first?" then Cancel to the content question: nothing was saved, so New
    // must not drop the document.
    nameDocument(m_dir->filePath(QStringLiteral("unused.DF")));
    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("unused.DF"))));
    addRecord(QStringLiteral("Quote"), QStringLiteral("\"to be or not\""));
    m_doubles->questions.answerMessage(QMessageBox::Yes);
    m_doubles->questions.answerMessage(QMessageBox::Cancel);

    m_window->mnuFileNewItem_Click();

    QCOMPARE(m_doubles->questions.asked.size(), 2);
    QCOMPARE(m_window->store().count(), 1);
    QCOMPARE(m_window->windowTitle(), caption(QStringLiteral("unused.DF")));
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("unused.DF"))));
}

QTEST_MAIN(DocumentCommandsTest)
#include "tst_documentcommands.moc"

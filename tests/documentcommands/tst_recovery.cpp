#include "checks/DocumentState.h"
#include "checks/Files.h"
#include "core/Document.h"
#include "core/RecordStore.h"
#include "core/RecoveryFile.h"
#include "documentcommands/DocumentCommands.h"
#include "doubles/TestServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray ReadFile =
    "{\r\n\"Groceries\r\nmilk\r\nbread\"\r\n\"  Spaced  \"\r\n\"Old\rends\"\r\n}\r\n";

} // namespace

// Unsaved work survives a run that ends without closing, exactly, and only the user's answer
// gives it up.
class RecoveryTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<Document> m_document;
    std::unique_ptr<DocumentCommands> m_commands;

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
        cleanup();
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
    }

    void restoresExactly_data()
    {
        QTest::addColumn<int>("edit");
        QTest::newRow("text typed into a record read") << 0;
        QTest::newRow("header renamed, last record") << 1;
        QTest::newRow("record added, no file") << 2;
        QTest::newRow("record removed") << 3;
    }
    void restoresExactly()
    {
        QFETCH(int, edit);
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
        startRun();
        m_doubles->questions.answerMessage(QMessageBox::Yes);
        m_commands->openAtStart({});
        QCOMPARE(stateOf(*m_document), before);
        QVERIFY(!m_document->history().isClean());
        QCOMPARE(m_doubles->questions.asked.size(), 1);
        QVERIFY(m_doubles->questions.asked.last().text.contains(edit == 2 ? "a new document"
                                                                          : "\"notes.DF\""));
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

    // Save, New and Open after their question, and Exit leave nothing to restore; Cancel keeps it.
    void goesWhenTheWorkIsSavedOrGivenUp_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("stays");
        QTest::newRow("No") << QMessageBox::No << false;
        QTest::newRow("Cancel") << QMessageBox::Cancel << true;
    }
    void goesWhenTheWorkIsSavedOrGivenUp()
    {
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, stays);
        for (int command = 0; command < 2; ++command) {
            editOpenedFile(" tea");
            recovery().keepNow();
            QVERIFY(kept());
            m_doubles->questions.answerMessage(answer);
            command == 0 ? m_commands->newDocument() : void(m_commands->Form_QueryUnload());
            QCOMPARE(kept(), stays);
        }
        editOpenedFile(" tea");
        QCOMPARE(m_commands->FileSaveSub(), SaveOutcome::Saved);
        QVERIFY(!kept());
    }

    // A running Tabulet's work is never offered to another; once it is gone, it is.
    void anotherRunsWorkIsLeftAlone()
    {
        editOpenedFile();
        recovery().keepNow();
        recovery().flush();
        TestServices second;
        second.folders.recovery = m_doubles->folders.recovery;
        Document other;
        DocumentCommands otherCommands(other, second.services());
        otherCommands.openAtStart({});
        QVERIFY(second.questions.asked.isEmpty());
        m_commands.reset();
        second.questions.answerMessage(QMessageBox::No);
        otherCommands.openAtStart({});
        QCOMPARE(second.questions.asked.size(), 1);
        QVERIFY(recoveryFiles().isEmpty());
        QCOMPARE(other.records().count(), 0);
    }

    // The desktop session ends: asked as Exit where it may ask, kept for the next run where not.
    void endOfSession()
    {
        editOpenedFile();
        QVERIFY(m_commands->endSession(false));
        QVERIFY(m_doubles->questions.asked.isEmpty());
        QVERIFY(QFile::exists(recovery().filePath()));
        m_doubles->questions.answerMessage(QMessageBox::No);
        QVERIFY(m_commands->endSession(true));
        QVERIFY(!kept());
        // The window then closes without asking again, unless the work changed since.
        QVERIFY(m_commands->Form_QueryUnload());
        m_document->changeText(m_document->records().recordIndexAt(0), 0, 0, "y");
        m_doubles->questions.answerMessage(QMessageBox::Cancel);
        QVERIFY(!m_commands->Form_QueryUnload());
        QCOMPARE(m_doubles->questions.asked.size(), 2);
    }

    // Save still asks before it replaces a file that another program changed, even one changed
    // while Tabulet was not running.
    void restoredWorkKnowsItsFile()
    {
        const QString path = m_dir->filePath("notes.DF");
        QVERIFY(writeFile(path, ReadFile));
        m_commands->openAtStart(path);
        m_document->changeText(m_document->records().recordIndexAt(0), 0, 0, "new ");
        recovery().keepNow();
        startRun();
        QVERIFY(writeFile(path, ReadFile + "changed"));
        m_doubles->questions.answerMessage(QMessageBox::Yes);
        m_doubles->questions.answerMessage(QMessageBox::Cancel);
        m_commands->openAtStart({});
        QCOMPARE(m_commands->FileSaveSub(), SaveOutcome::Failed);
        QVERIFY(m_doubles->questions.asked.last().text.contains("changed by another program"));
        QCOMPARE(contentsOf(path), ReadFile + "changed");
    }

    void damagedFileIsSetAside_data()
    {
        QTest::addColumn<int>("cut");
        QTest::addColumn<QByteArray>("replaced");
        QTest::addColumn<QString>("said");
        QTest::newRow("another program's file")
            << 0 << QByteArray("{\r\n}\r\n") << "not a recovery";
        QTest::newRow("another version") << 17 << QByteArray("\0\0\0\x02", 4) << "another version";
        QTest::newRow("cut short") << -7 << QByteArray() << "damaged";
        QTest::newRow("a piece longer than the file") << -30 << QByteArray(8, '\x7f') << "damaged";
    }
    void damagedFileIsSetAside()
    {
        QFETCH(int, cut);
        QFETCH(QByteArray, replaced);
        QFETCH(QString, said);
        editOpenedFile();
        QByteArray bytes = recoveryfile::encode(*m_document, {});
        bytes = cut >= 0 ? bytes.first(cut) + replaced + bytes.sliced(cut + replaced.size())
                         : bytes.first(bytes.size() + cut) + replaced;
        QDir().mkpath(m_doubles->folders.recovery);
        QVERIFY(writeFile(m_doubles->folders.recovery + "/crashed.recovery", bytes));
        startRun();
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        m_commands->openAtStart({});
        QVERIFY(m_doubles->questions.asked.last().text.contains(said));
        QCOMPARE(m_document->records().count(), 0);
        QCOMPARE(recoveryFiles(), QStringList{"crashed.recovery.unreadable"});
        QCOMPARE(contentsOf(m_doubles->folders.recovery + "/crashed.recovery.unreadable"), bytes);
    }

    void unwritableFolderIsSaidOnce()
    {
        QFile blocker(m_doubles->folders.recovery);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        editOpenedFile();
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        recovery().keepNow();
        recovery().keepNow();
        recovery().flush();
        QCOMPARE(m_doubles->questions.asked.size(), 1);
        QVERIFY(m_doubles->questions.asked.last().text.contains("cannot keep a copy"));
    }
};

QTEST_MAIN(RecoveryTest)
#include "tst_recovery.moc"

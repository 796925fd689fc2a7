#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"

#include <QAction>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString NewPrompt = QStringLiteral("Enter new header. Header must be 22 characters or less.");
const QString NewRetryPrompt =
    QStringLiteral("Enter new header. Header must be 22 characters or less.Try again.");
const QString EditPrompt =
    QStringLiteral("Edit or rename header. Header must be 22 characters or less.");
const QString EditRetryPrompt =
    QStringLiteral("Edit or rename header. Header must be 22 characters or less. Try again.");

const QString Chars22 = QStringLiteral("abcdefghijklmnopqrstuv");
const QString Chars23 = Chars22 + QLatin1Char('w');

} // namespace

// Adding, renaming and removing headers, with the questions they ask.
class HeaderCommandsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void addAnswers_data();
    void addAnswers();
    void everyNewHeaderEntryPointAdds_data();
    void everyNewHeaderEntryPointAdds();
    void addAppendsWithoutTouchingSelectionOrField();
    void renameAnswers_data();
    void renameAnswers();
    void renamedEntryStaysBoundToTheField();
    void removeMiddleKeepsEveryOtherRecord();
    void removeThenAddNeverReusesAnIndex();
    void removeCancelledChangesNothing();
    void removeOrRenameWithoutSelectionAsksNothing();

private:
    void addEntry(const QString& header, const QString& text);
    void selectEntry(int position);
    QString recordAt(int position) const;
    QStringList headers() const;

    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<frmTabulet> m_window;
};

void HeaderCommandsTest::init()
{
    m_doubles = std::make_unique<TestServices>();
    m_window = std::make_unique<frmTabulet>(m_doubles->services());
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void HeaderCommandsTest::cleanup()
{
    QVERIFY(m_doubles->questions.allAnswered());
    m_window.reset();
    m_doubles.reset();
}

void HeaderCommandsTest::addEntry(const QString& header, const QString& text)
{
    m_window->store().setRecordText(*m_window->store().addRecord(header), text);
}

void HeaderCommandsTest::selectEntry(int position)
{
    QListView* list = m_window->lstHeaders;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(m_window->store().index(position)).center());
    QCOMPARE(m_window->selectedPosition(), position);
}

QString HeaderCommandsTest::recordAt(int position) const
{
    return m_window->store().recordText(m_window->store().recordIndexAt(position));
}

QStringList HeaderCommandsTest::headers() const
{
    QStringList result;
    for (int position = 0; position < m_window->store().count(); ++position)
        result << m_window->store().headerAt(position);
    return result;
}

void HeaderCommandsTest::addAnswers_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<bool>("added");
    QTest::addColumn<QString>("header");

    QTest::newRow("22 characters") << QStringList{Chars22} << true << Chars22;
    QTest::newRow("23 characters, confirmed") << QStringList{Chars23, Chars23} << true << Chars22;
    QTest::newRow("too long, then fitting")
        << QStringList{Chars23, QStringLiteral("short")} << true << QStringLiteral("short");
    QTest::newRow("spaces around")
        << QStringList{QStringLiteral("  milk  ")} << true << QStringLiteral("milk");
    // Spaces count towards the limit: they are only dropped after the length test.
    QTest::newRow("spaces make it too long")
        << QStringList{QStringLiteral("  ") + Chars22, QStringLiteral("  ") + Chars22} << true
        << QStringLiteral("abcdefghijklmnopqrst");
    QTest::newRow("three spaces") << QStringList{QStringLiteral("   ")} << true << QString();
    QTest::newRow("quotes accepted")
        << QStringList{QStringLiteral("say \"hi\"")} << true << QStringLiteral("say \"hi\"");
    QTest::newRow("cancel") << QStringList{QString()} << false << QString();
    QTest::newRow("too long, then cancel") << QStringList{Chars23, QString()} << true << QString();
}

void HeaderCommandsTest::addAnswers()
{
    QFETCH(QStringList, answers);
    QFETCH(bool, added);
    QFETCH(QString, header);
    addEntry(QStringLiteral("first"), QStringLiteral("text"));
    for (const QString& answer : answers)
        m_doubles->questions.answerInput(answer);

    m_window->HeaderAdd();

    const auto& asked = m_doubles->questions.asked;
    QCOMPARE(asked.size(), answers.size());
    QCOMPARE(asked.at(0).title, QStringLiteral("New Header"));
    QCOMPARE(asked.at(0).text, NewPrompt);
    QCOMPARE(asked.at(0).defaultText, QString());
    if (asked.size() == 2) {
        QCOMPARE(asked.at(1).title, QStringLiteral("New Header"));
        QCOMPARE(asked.at(1).text, NewRetryPrompt);
        QCOMPARE(asked.at(1).defaultText, answers.at(0));
    }
    if (!added) {
        QCOMPARE(headers(), QStringList{QStringLiteral("first")});
        QCOMPARE(m_window->store().nextRecordIndex(), 1);
        return;
    }
    QCOMPARE(headers(), (QStringList{QStringLiteral("first"), header}));
    QCOMPARE(m_window->store().recordIndexAt(1), 1);
    QCOMPARE(recordAt(1), QString());
    QCOMPARE(m_window->store().nextRecordIndex(), 2);
    QCOMPARE(m_window->store().slotCount(), 3);
}

void HeaderCommandsTest::everyNewHeaderEntryPointAdds_data()
{
    QTest::addColumn<QString>("entryPoint");
    QTest::newRow("button") << QStringLiteral("button");
    QTest::newRow("menu item") << QStringLiteral("menu");
    QTest::newRow("Ctrl+H in the data field") << QStringLiteral("shortcut");
}

void HeaderCommandsTest::everyNewHeaderEntryPointAdds()
{
    QFETCH(QString, entryPoint);
    m_doubles->questions.answerInput(QStringLiteral("new"));
    if (entryPoint == QLatin1String("button")) {
        QTest::mouseClick(m_window->cmdNewHeader, Qt::LeftButton);
    } else if (entryPoint == QLatin1String("menu")) {
        m_window->mnuHeadersNewHeader->trigger();
    } else {
        m_window->txtDataField->setFocus();
        QTest::keyClick(m_window->txtDataField, Qt::Key_H, Qt::ControlModifier);
    }
    QCOMPARE(headers(), QStringList{QStringLiteral("new")});
    QCOMPARE(m_window->store().recordIndexAt(0), 0);
}

void HeaderCommandsTest::addAppendsWithoutTouchingSelectionOrField()
{
    addEntry(QStringLiteral("a"), QStringLiteral("alpha"));
    addEntry(QStringLiteral("b"), QStringLiteral("beta"));
    selectEntry(0);
    m_doubles->questions.answerInput(QStringLiteral("c"));
    m_window->mnuHeadersNewHeader_Click();

    QCOMPARE(headers(), (QStringList{"a", "b", "c"}));
    QCOMPARE(m_window->selectedPosition(), 0);
    QCOMPARE(m_window->txtDataField->toPlainText(), QStringLiteral("alpha"));
    QCOMPARE(recordAt(0), QStringLiteral("alpha"));
    QCOMPARE(recordAt(1), QStringLiteral("beta"));
}

void HeaderCommandsTest::renameAnswers_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("header");

    const QString old = QStringLiteral("middle");
    QTest::newRow("new name") << QStringList{QStringLiteral("centre")} << QStringLiteral("centre");
    QTest::newRow("same name") << QStringList{old} << old;
    QTest::newRow("22 characters") << QStringList{Chars22} << Chars22;
    QTest::newRow("spaces kept") << QStringList{QStringLiteral("  x  ")} << QStringLiteral("  x  ");
    QTest::newRow("too long, then fitting")
        << QStringList{Chars23, QStringLiteral(" fits ")} << QStringLiteral(" fits ");
    QTest::newRow("too long, confirmed") << QStringList{Chars23, Chars23} << Chars22;
    QTest::newRow("cancel") << QStringList{QString()} << old;
    QTest::newRow("too long, then cancel") << QStringList{Chars23, QString()} << old;
}

void HeaderCommandsTest::renameAnswers()
{
    QFETCH(QStringList, answers);
    QFETCH(QString, header);
    addEntry(QStringLiteral("first"), QStringLiteral("one"));
    addEntry(QStringLiteral("middle"), QStringLiteral("two"));
    addEntry(QStringLiteral("last"), QStringLiteral("three"));
    selectEntry(1);
    for (const QString& answer : answers)
        m_doubles->questions.answerInput(answer);

    m_window->mnuHeadersEditHeader_Click();

    const auto& asked = m_doubles->questions.asked;
    QCOMPARE(asked.size(), answers.size());
    QCOMPARE(asked.at(0).title, QStringLiteral("Edit Header"));
    QCOMPARE(asked.at(0).text, EditPrompt);
    QCOMPARE(asked.at(0).defaultText, QStringLiteral("middle"));
    if (asked.size() == 2) {
        QCOMPARE(asked.at(1).title, QStringLiteral("Edit Header"));
        QCOMPARE(asked.at(1).text, EditRetryPrompt);
        QCOMPARE(asked.at(1).defaultText, answers.at(0));
    }
    QCOMPARE(headers(), (QStringList{QStringLiteral("first"), header, QStringLiteral("last")}));
    for (int position = 0; position < 3; ++position)
        QCOMPARE(m_window->store().recordIndexAt(position), position);
    QCOMPARE(recordAt(1), QStringLiteral("two"));
    QCOMPARE(m_window->store().nextRecordIndex(), 3);
    QCOMPARE(m_window->selectedPosition(), 1);
}

void HeaderCommandsTest::renamedEntryStaysBoundToTheField()
{
    addEntry(QStringLiteral("a"), QStringLiteral("alpha"));
    addEntry(QStringLiteral("b"), QStringLiteral("beta"));
    selectEntry(1);
    m_doubles->questions.answerInput(QStringLiteral("bee"));
    m_window->HeaderEditSub();

    QCOMPARE(m_window->txtDataField->toPlainText(), QStringLiteral("beta"));
    QTest::keyClicks(m_window->txtDataField, QStringLiteral("x"));
    QCOMPARE(recordAt(1), QStringLiteral("xbeta"));
    selectEntry(0);
    selectEntry(1);
    QCOMPARE(m_window->txtDataField->toPlainText(), QStringLiteral("xbeta"));
}

void HeaderCommandsTest::removeMiddleKeepsEveryOtherRecord()
{
    addEntry(QStringLiteral("a"), QStringLiteral("alpha"));
    addEntry(QStringLiteral("b"), QStringLiteral("beta\r\nmore"));
    addEntry(QStringLiteral("c"), QStringLiteral("gamma"));
    selectEntry(1);
    m_doubles->questions.answerMessage(QMessageBox::Ok);

    m_window->mnuHeadersRemoveHeader_Click();

    const auto& question = m_doubles->questions.asked.constFirst();
    QCOMPARE(question.kind, ScriptedQuestions::Asked::Message);
    QCOMPARE(question.title, QStringLiteral("Remove Header"));
    QCOMPARE(question.text, QStringLiteral("All data under this header will be deleted!"));
    QCOMPARE(question.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(question.icon, QMessageBox::NoIcon);
    QCOMPARE(question.defaultButton, QMessageBox::Ok);

    QCOMPARE(headers(), (QStringList{"a", "c"}));
    QCOMPARE(m_window->store().recordIndexAt(0), 0);
    QCOMPARE(m_window->store().recordIndexAt(1), 2);
    QCOMPARE(m_window->store().recordText(1), QString());
    QCOMPARE(m_window->selectedPosition(), -1);
    // The field keeps the removed text, which now belongs to no record.
    QCOMPARE(m_window->txtDataField->toPlainText(), QStringLiteral("beta\nmore"));
    QTest::keyClicks(m_window->txtDataField, QStringLiteral("x"));
    QCOMPARE(recordAt(0), QStringLiteral("alpha"));
    QCOMPARE(recordAt(1), QStringLiteral("gamma"));

    selectEntry(1);
    QCOMPARE(m_window->txtDataField->toPlainText(), QStringLiteral("gamma"));
}

void HeaderCommandsTest::removeThenAddNeverReusesAnIndex()
{
    for (const char* header : {"a", "b", "c"})
        addEntry(QLatin1String(header), QString());
    selectEntry(2);
    m_doubles->questions.answerMessage(QMessageBox::Ok);
    m_window->mnuHeadersRemoveHeader_Click();
    QCOMPARE(m_window->selectedPosition(), -1);
    m_doubles->questions.answerInput(QStringLiteral("d"));
    m_window->HeaderAdd();

    QCOMPARE(headers(), (QStringList{"a", "b", "d"}));
    QCOMPARE(m_window->store().recordIndexAt(2), 3);
    QCOMPARE(m_window->store().nextRecordIndex(), 4);
}

void HeaderCommandsTest::removeCancelledChangesNothing()
{
    addEntry(QStringLiteral("a"), QStringLiteral("alpha"));
    selectEntry(0);
    m_doubles->questions.answerMessage(QMessageBox::Cancel);
    m_window->mnuHeadersRemoveHeader_Click();

    QCOMPARE(headers(), QStringList{"a"});
    QCOMPARE(recordAt(0), QStringLiteral("alpha"));
    QCOMPARE(m_window->selectedPosition(), 0);
}

void HeaderCommandsTest::removeOrRenameWithoutSelectionAsksNothing()
{
    m_window->mnuHeadersRemoveHeader_Click();
    m_window->HeaderEditSub();
    addEntry(QStringLiteral("a"), QStringLiteral("alpha"));
    m_window->mnuHeadersRemoveHeader_Click();
    m_window->mnuHeadersEditHeader_Click();

    QVERIFY(m_doubles->questions.asked.isEmpty());
    QCOMPARE(headers(), QStringList{"a"});
    QCOMPARE(recordAt(0), QStringLiteral("alpha"));
}

QTEST_MAIN(HeaderCommandsTest)
#include "tst_headercommands.moc"

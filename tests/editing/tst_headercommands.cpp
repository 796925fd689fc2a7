#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"

#include <QAction>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {
const QString Limit = QStringLiteral(" Header must be 22 characters or less.");
const QString Chars22 = QStringLiteral("abcdefghijklmnopqrstuv");
const QString Chars23 = Chars22 + u'w';
} // namespace

// Adding, renaming and removing headers, with the questions they ask.
class HeaderCommandsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<frmTabulet> m_window;

    // Entries "a", "b", "c"... holding the texts given; one of them selected if asked.
    void addEntries(const QStringList& texts, int selected = -1)
    {
        RecordStore& store = m_window->store();
        for (const QString& text : texts)
            store.setRecordText(*store.addRecord(QChar(u'a' + store.count())), text);
        if (selected >= 0)
            m_window->lstHeaders->setCurrentIndex(store.index(selected));
    }

    // Each entry as "header|record index|record text".
    QStringList entries() const
    {
        QStringList result;
        const RecordStore& store = m_window->store();
        for (int position = 0; position < store.count(); ++position) {
            const qint32 index = store.recordIndexAt(position);
            result << store.headerAt(position) + u'|' + QString::number(index) + u'|' +
                          store.recordText(index);
        }
        return result;
    }

private Q_SLOTS:
    void init()
    {
        m_window.reset(); // before the services it uses
        m_doubles = std::make_unique<TestServices>();
        m_window = std::make_unique<frmTabulet>(m_doubles->services());
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    // Answers to New Header (from each of its commands) and to Edit Header, with the middle of
    // three entries selected. An empty answer is Cancel; "-" means no header added or renamed.
    void answers_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("header");

        QTest::newRow("add 22 characters") << "button" << QStringList{Chars22} << Chars22;
        QTest::newRow("add 23, confirmed") << "menu" << QStringList{Chars23, Chars23} << Chars22;
        QTest::newRow("add 23, then fitting")
            << "Ctrl+H" << QStringList{Chars23, "short"} << "short";
        // Spaces are dropped when adding, but only after they have counted towards the limit.
        QTest::newRow("add spaces around") << "menu" << QStringList{"  milk  "} << "milk";
        QTest::newRow("add spaces make it 24")
            << "menu" << QStringList{"  " + Chars22, "  " + Chars22} << Chars22.left(20);
        QTest::newRow("add cancel") << "menu" << QStringList{QString()} << "-";
        QTest::newRow("add 23, then cancel") << "menu" << QStringList{Chars23, QString()} << "";
        QTest::newRow("rename") << "rename" << QStringList{"centre"} << "centre";
        QTest::newRow("rename spaces kept") << "rename" << QStringList{"  x  "} << "  x  ";
        QTest::newRow("rename 23, then fitting")
            << "rename" << QStringList{Chars23, " fits "} << " fits ";
        QTest::newRow("rename 23, confirmed")
            << "rename" << QStringList{Chars23, Chars23} << Chars22;
        QTest::newRow("rename cancel") << "rename" << QStringList{QString()} << "-";
        QTest::newRow("rename 23, then cancel")
            << "rename" << QStringList{Chars23, QString()} << "-";
    }

    void answers()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, answers);
        QFETCH(QString, header);
        addEntries({"one", "two", "three"}, 1);
        for (const QString& answer : answers)
            m_doubles->questions.answerInput(answer);

        const bool rename = command == u"rename";
        if (command == u"button") {
            QTest::mouseClick(m_window->cmdNewHeader, Qt::LeftButton);
        } else if (command == u"Ctrl+H") {
            m_window->txtDataField->setFocus();
            QTest::keyClick(m_window->txtDataField, Qt::Key_H, Qt::ControlModifier);
        } else {
            (rename ? m_window->mnuHeadersEditHeader : m_window->mnuHeadersNewHeader)->trigger();
        }

        // The retry prompt for a new header really has no space before "Try again.".
        const QString prompt = (rename ? "Edit or rename header." : "Enter new header.") + Limit;
        const auto& asked = m_doubles->questions.asked;
        QCOMPARE(asked.size(), answers.size());
        for (qsizetype i = 0; i < asked.size(); ++i) {
            QCOMPARE(asked.at(i).title, QString(rename ? "Edit Header" : "New Header"));
            QCOMPARE(asked.at(i).text,
                     i == 0 ? prompt : prompt + (rename ? " " : "") + "Try again.");
            QCOMPARE(asked.at(i).defaultText, i > 0 ? answers.at(0) : QString(rename ? "b" : ""));
        }
        // The selection stays on (or returns to) the middle entry, so typing reaches its record.
        QTest::keyClicks(m_window->txtDataField, QStringLiteral("x"));
        QStringList expected{"a|0|one", "b|1|xtwo", "c|2|three"};
        if (rename && header != u"-")
            expected[1] = header + "|1|xtwo";
        else if (!rename && header != u"-")
            expected << header + "|3|";
        QCOMPARE(entries(), expected);
        QCOMPARE(m_window->store().nextRecordIndex(), int(expected.size()));
    }

    void removeMiddleKeepsOtherRecordsAndRetiresItsIndex()
    {
        addEntries({"alpha", "beta\r\nmore", "gamma"}, 1);
        m_doubles->questions.answerMessage(QMessageBox::Ok);

        m_window->mnuHeadersRemoveHeader_Click();

        QCOMPARE(m_doubles->questions.asked.size(), 1);
        const auto& question = m_doubles->questions.asked.constFirst();
        QCOMPARE(question.title, QStringLiteral("Remove Header"));
        QCOMPARE(question.text, QStringLiteral("All data under this header will be deleted!"));
        QCOMPARE(question.buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(question.icon, QMessageBox::NoIcon);
        QCOMPARE(question.defaultButton, QMessageBox::Ok);
        QCOMPARE(m_window->selectedPosition(), -1);
        QCOMPARE(m_window->store().recordText(1), QString());
        // Typing after the removal reaches no record; a new entry gets a fresh index.
        QTest::keyClicks(m_window->txtDataField, QStringLiteral("x"));
        m_doubles->questions.answerInput(QStringLiteral("d"));
        m_window->HeaderAdd();
        QCOMPARE(entries(), (QStringList{"a|0|alpha", "c|2|gamma", "d|3|"}));
    }

    void removeOrRenameWithoutSelectionOrCancelledChangesNothing()
    {
        m_window->mnuHeadersRemoveHeader_Click();
        m_window->HeaderEditSub();
        addEntries({"alpha"});
        m_window->mnuHeadersRemoveHeader_Click();
        m_window->mnuHeadersEditHeader_Click();
        QVERIFY(m_doubles->questions.asked.isEmpty());

        m_window->lstHeaders->setCurrentIndex(m_window->store().index(0));
        m_doubles->questions.answerMessage(QMessageBox::Cancel);
        m_window->mnuHeadersRemoveHeader_Click();
        QCOMPARE(m_doubles->questions.asked.size(), 1);
        QCOMPARE(entries(), QStringList{"a|0|alpha"});
    }
};

QTEST_MAIN(HeaderCommandsTest)
#include "tst_headercommands.moc"

#include "core/Document.h"
#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "editing/HeaderCommands.h"

#include <QTest>

// Adding, renaming and removing headers, with the questions they ask, on three entries
// "a", "b", "c" whose texts are "one", "two", "three".
class HeaderCommandsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<Document> m_document;
    std::unique_ptr<HeaderCommands> m_commands;

    // Each entry as "header|record index|record text".
    QStringList entries() const
    {
        QStringList result;
        const RecordStore& store = m_document->records();
        for (int at = 0; at < store.count(); ++at)
            result << QStringList{store.headerAt(at), QString::number(store.recordIndexAt(at)),
                                  store.recordText(store.recordIndexAt(at))}
                          .join(u'|');
        return result;
    }

private Q_SLOTS:
    void init()
    {
        m_doubles = std::make_unique<TestServices>();
        m_document = std::make_unique<Document>();
        m_commands = std::make_unique<HeaderCommands>(*m_document, m_doubles->services());
        m_document->FileInSub("{\r\n\"a\r\none\"\r\n\"b\r\ntwo\"\r\n\"c\r\nthree\"\r\n}\r\n");
    }
    void cleanup() { QVERIFY(m_doubles->questions.allAnswered()); }

    // An empty answer is Cancel; "-" means nothing added or renamed.
    void answers_data()
    {
        const QString chars22 = QStringLiteral("abcdefghijklmnopqrstuv");
        const QString chars23 = chars22 + u'w';
        QTest::addColumn<bool>("rename");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("header");
        QTest::newRow("add 22") << false << QStringList{chars22} << chars22;
        QTest::newRow("add 23, confirmed") << false << QStringList{chars23, chars23} << chars22;
        QTest::newRow("add 23, fitting") << false << QStringList{chars23, "short"} << "short";
        // Spaces are dropped when adding, but only after they have counted towards the limit.
        QTest::newRow("add spaces make it 24")
            << false << QStringList{"  " + chars22, "  " + chars22} << chars22.left(20);
        QTest::newRow("add cancel") << false << QStringList{QString()} << "-";
        QTest::newRow("add 23, cancel") << false << QStringList{chars23, QString()} << "";
        QTest::newRow("rename, spaces kept") << true << QStringList{" B "} << " B ";
        QTest::newRow("rename 23, confirmed") << true << QStringList{chars23, chars23} << chars22;
        QTest::newRow("rename cancel") << true << QStringList{QString()} << "-";
        QTest::newRow("rename 23, cancel") << true << QStringList{chars23, QString()} << "-";
    }

    void answers()
    {
        QFETCH(bool, rename);
        QFETCH(QStringList, answers);
        QFETCH(QString, header);
        for (const QString& answer : answers)
            m_doubles->questions.answerInput(answer);
        if (rename)
            m_commands->HeaderEditSub(1);
        else
            m_commands->HeaderAdd();

        // The retry prompt for a new header really has no space before "Try again.".
        const QString prompt = (rename ? "Edit or rename header." : "Enter new header.") +
                               QStringLiteral(" Header must be 22 characters or less.");
        const auto& asked = m_doubles->questions.asked;
        QCOMPARE(asked.size(), answers.size());
        for (qsizetype i = 0; i < asked.size(); ++i) {
            QCOMPARE(asked.at(i).title, QString(rename ? "Edit Header" : "New Header"));
            QCOMPARE(asked.at(i).text,
                     i == 0 ? prompt : prompt + (rename ? " " : "") + "Try again.");
            QCOMPARE(asked.at(i).defaultText, i > 0 ? answers.at(0) : QString(rename ? "b" : ""));
        }
        QStringList expected{"a|0|one", (rename && header != u"-" ? header : "b") + "|1|two",
                             "c|2|three"};
        if (!rename && header != u"-")
            expected << header + "|3|";
        QCOMPARE(entries(), expected);
    }

    void removeAsksAndDropsTheText()
    {
        m_doubles->questions.answerMessage(QMessageBox::Cancel);
        m_commands->removeHeader(1);
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        m_commands->removeHeader(1);
        const auto& asked = m_doubles->questions.asked.constFirst();
        QCOMPARE(asked.title + u'|' + asked.text,
                 QStringLiteral("Remove Header|All data under this header will be deleted!"));
        QCOMPARE(entries(), (QStringList{"a|0|one", "c|2|three"}));
        QCOMPARE(m_document->records().recordText(1), QString());
    }

    // Record indices are never reused; once they are used up, adding says so and asks nothing.
    void addRefusedAtTheLimit()
    {
        Document full(RecordStore::IndexLimit);
        HeaderCommands commands(full, m_doubles->services());
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        commands.HeaderAdd();
        QCOMPARE(m_doubles->questions.asked.size(), 1);
        QVERIFY(m_doubles->questions.asked.constFirst().text.contains("restart Tabulet"));
        QCOMPARE(full.records().count(), 0);
    }
};

QTEST_MAIN(HeaderCommandsTest)
#include "tst_headercommands.moc"

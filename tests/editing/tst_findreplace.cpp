#include "core/Document.h"
#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "editing/FindReplace.h"
#include "editing/HeaderCommands.h"

#include <QtTest>

namespace {

// The header of entry 2 is 22 characters long, the longest a header may grow to.
const QByteArray Sample = "{\r\n\"Alpha\r\nred fox\"\r\n\"Beta\r\na Fox\r\nfoxes\"\r\n"
                          "\"aaaaaaaaaaaaaaaaaaadog\"\r\n\"Arrow\r\na\\->b\"\r\n}\r\n";

// Each entry as "header|record index|record text".
QStringList entries(const Document& document)
{
    QStringList result;
    const RecordStore& records = document.records();
    for (int at = 0; at < records.count(); ++at)
        result << QStringList{records.headerAt(at), QString::number(records.recordIndexAt(at)),
                              records.recordText(records.recordIndexAt(at))}
                      .join(u'|');
    return result;
}

// The window as Find and Replace see it: the selected entry, the data field's text, and what
// was marked last as "position, h or t, offset, the characters marked".
struct FakeView final : FindReplaceView
{
    explicit FakeView(const Document& document) : records(document.records()) {}

    int selectedPosition() const override { return selected; }
    void selectEntry(int position) override
    {
        selected = position;
        showCurrentText();
    }
    void showInText(qsizetype at, qsizetype length) override
    {
        shown = QStringLiteral("%1 t %2 %3").arg(selected).arg(at).arg(field.mid(at, length));
    }
    void showInHeader(int position, qsizetype at, qsizetype length) override
    {
        QCOMPARE(position, selected);
        shown = QStringLiteral("%1 h %2 %3")
                    .arg(position)
                    .arg(at)
                    .arg(records.headerAt(position).mid(at, length));
    }
    void showCurrentText() override
    {
        if (selected >= 0)
            field = records.recordText(records.recordIndexAt(selected));
    }
    int shownMode() const override { return mode; }

    const RecordStore& records;
    int selected = -1;
    int mode = -1;
    QString field;
    QString shown;
};

} // namespace

// Find and Replace run as commands on a sample, each row from the file as read; adding, renaming
// and removing headers, with the questions they ask, on three entries "a", "b", "c" whose texts
// are "one", "two", "three".
class FindReplaceTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<Document> m_document;
    std::unique_ptr<HeaderCommands> m_commands;

private Q_SLOTS:
    void init()
    {
        m_doubles = std::make_unique<TestServices>();
        m_document = std::make_unique<Document>();
        m_commands = std::make_unique<HeaderCommands>(*m_document, m_doubles->services());
        m_document->FileInSub("{\r\n\"a\r\none\"\r\n\"b\r\ntwo\"\r\n\"c\r\nthree\"\r\n}\r\n");
    }
    void cleanup() { QVERIFY(m_doubles->questions.allAnswered()); }

    void commands_data()
    {
        QTest::addColumn<QString>("options"); // w: whole words, 3: the view in T(3)
        // "put 0 3 2 xy" types "xy" over two characters of entry 0's text from offset 3; "_"
        // stands for a space.
        QTest::addColumn<QString>("commands");
        QTest::addColumn<QString>("changed"); // the entries that differ from the sample's
        QTest::addColumn<QString>("shown");   // what the view marked last
        QTest::addColumn<QString>("status");  // what the last command said
        const auto row = [](const char* t, const auto&... v) { (QTest::newRow(t) << ... << v); };
        const QString startAgain("Went on from the start of the list.");
        const QString refused("Not replaced: the header would be longer than 22 characters.");
        row("find wraps", "", "find fox; find fox; find fox; find fox", "", "0 t 4 fox",
            startAgain);
        row("previous wraps", "", "prev fox", "", "1 t 7 fox", "Went on from the end of the list.");
        row("previous", "", "find fox; find fox; find fox; prev fox", "", "1 t 2 Fox", "");
        row("not found", "", "find zebra", "", "", "Not found.");
        row("nothing to find", "", "find; replace; all", "", "", "");
        row("in a header", "", "find dog", "", "2 h 19 dog", "Found in the header.");
        row("in a header, wrapped", "", "select 3; find dog", "", "2 h 19 dog",
            startAgain + " Found in the header.");
        row("replace finds first", "", "replace fox cat", "", "0 t 4 fox", "");
        row("replace", "", "find fox; replace fox cat", "Alpha|0|red cat", "1 t 2 Fox",
            "Replaced 1.");
        row("replace spelt for the records", "3", "find \u2192; replace \u2192 \u2190",
            "Arrow|3|a\\<-b", "3 t 1 \\<-", "Replaced 1. Not found.");
        row("replace after typing before the match", "",
            "find fox; put 0 0 0 big_; replace fox cat", "Alpha|0|big red fox", "0 t 8 fox", "");
        row("replace after typing, then again", "",
            "find fox; put 0 0 0 big_; replace fox cat; replace fox cat", "Alpha|0|big red cat",
            "1 t 2 Fox", "Replaced 1.");
        row("replace is a step of its own", "",
            "find fox; put 0 0 0 big_; replace fox cat; replace fox cat; undo",
            "Alpha|0|big red fox", "1 t 2 Fox", "Replaced 1.");
        row("replace after undo", "", "put 0 0 4; find fox; undo; replace fox cat", "", "0 t 4 fox",
            "");
        row("replace whole words only", "w", "find fox; find fox; put 1 5 0 y; replace fox cat",
            "Beta|1|a Foxy\r\nfoxes", "0 t 4 fox", startAgain);
        row("replace in another entry", "", "find fox; select 1; replace fox cat", "", "1 t 2 Fox",
            "");
        row("header of 22", "", "find dog; replace dog cat", "aaaaaaaaaaaaaaaaaaacat|2|",
            "2 h 19 dog", "Replaced 1. Not found.");
        row("header of 23", "", "find dog; replace dog cats", "", "2 h 19 dog", refused);
        row("replace all", "", "find fox; all fox cat", "Alpha|0|red cat, Beta|1|a cat\r\ncates",
            "0 t 4 fox", "Replaced 3.");
        row("replace all is one step", "", "all fox cat; undo", "", "", "Replaced 3.");
        row("replace all in a header and its text", "", "all e E",
            "Alpha|0|rEd fox, BEta|1|a Fox\r\nfoxEs", "", "Replaced 3.");
        row("replace all spelt for the records", "3", "find \u2192; all \u2192 \u2190",
            "Arrow|3|a\\<-b", "3 t 1 \\->", "Replaced 1.");
        row("replace all, header of 22", "", "all dog cat", "aaaaaaaaaaaaaaaaaaacat|2|", "",
            "Replaced 1.");
        row("replace all, header of 23", "", "all dog cats", "", "",
            "Replaced 0. 1 in headers not replaced: the header would be longer than 22 "
            "characters.");
    }

    void commands()
    {
        QFETCH(QString, options);
        QFETCH(QString, commands);
        Document document;
        document.FileInSub(Sample);
        const QStringList sample = entries(document);
        FakeView view(document);
        view.mode = options.contains(u'3') ? 3 : -1;
        FindReplace findReplace(document, view);
        QString status;
        for (const QString& command : commands.split(u';')) {
            QStringList word = command.trimmed().split(u' ');
            word.replaceInStrings(QStringLiteral("_"), QStringLiteral(" "));
            const FindOptions find{word.value(1), false, options.contains(u'w')};
            const auto number = [&word](int at) { return word.value(at).toInt(); };
            if (word[0] == u"find" || word[0] == u"prev")
                status = findReplace.find(find, word[0] == u"prev");
            else if (word[0] == u"replace")
                status = findReplace.replace(find, word.value(2));
            else if (word[0] == u"all")
                status = findReplace.replaceAll(find, word.value(2));
            else if (word[0] == u"put")
                document.changeText(document.records().recordIndexAt(number(1)), number(2),
                                    number(3), word.value(4));
            else if (word[0] == u"undo")
                document.history().undo();
            else if (word[0] == u"select")
                view.selectEntry(number(1));
            // Typing goes through the field, and a step taken back is shown there.
            if (word[0] == u"put" || word[0] == u"undo")
                view.showCurrentText();
        }
        QStringList changed = entries(document);
        changed.removeIf([&sample](const QString& entry) { return sample.contains(entry); });
        QTEST(changed.join(u", "), "changed");
        QTEST(view.shown, "shown");
        QTEST(status, "status");
        if (view.selected >= 0)
            QCOMPARE(view.field, entries(document).at(view.selected).section(u'|', 2));
    }

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
        QCOMPARE(entries(*m_document), expected);
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
        QCOMPARE(entries(*m_document), (QStringList{"a|0|one", "c|2|three"}));
        QCOMPARE(m_document->records().recordText(1), QString());
    }

    // Record indices are never reused; once they are used up, adding says so and asks nothing.
    void addRefusedAtTheLimit()
    {
        Document full(RecordStore::IndexLimit);
        HeaderCommands commands(full, m_doubles->services());
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        // One answer is scripted: cleanup() sees it taken, and a second question finds none.
        commands.HeaderAdd();
        QVERIFY(m_doubles->questions.asked.value(0).text.contains("restart Tabulet"));
        QCOMPARE(full.records().count(), 0);
    }
};

QTEST_MAIN(FindReplaceTest)
#include "tst_findreplace.moc"

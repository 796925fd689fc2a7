#include "checks/Files.h"
#include "core/DataFile.h"
#include "core/Document.h"
#include "core/Finder.h"
#include "core/RecordStore.h"

#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

namespace {

// The lines of a file, each ended by CR LF as the writer ends them.
QByteArray lines(const QByteArrayList& fileLines)
{
    return fileLines.join("\r\n") + "\r\n";
}

const TransferHeader HpHeader{"1", "%%HP: T(3)A(D)F(.);"};
const QByteArray WorkedExample = lines({"%%HP: T(3)A(D)F(.);", "{", "\"Groceries", "milk",
                                        "bread\"", "\"Empty\"", "\"Tasks", "fix the gate\"", "}"});

// Each entry as "header|text", its text reached through its record index, in one line.
QString listed(const Document& document)
{
    QStringList entries;
    const RecordStore& records = document.records();
    for (int at = 0; at < records.count(); ++at)
        entries << records.headerAt(at) + u'|' + records.recordText(records.recordIndexAt(at));
    return entries.join(u", ");
}

// What Save writes, which the document also gives as bytes in memory, exactly the same.
QByteArray written(Document& document, const TransferHeader& transferHeader = {})
{
    QTemporaryDir folder;
    const QString path = folder.filePath("out.DF");
    if (const QString failure = document.writeFile(path, transferHeader); !failure.isEmpty())
        qFatal("cannot write: %s", qPrintable(failure));
    const QByteArray bytes = contentsOf(path);
    if (document.fileBytes(transferHeader) != bytes)
        qFatal("the bytes in memory are not the file's");
    return bytes;
}

const QByteArray Sample =
    "{\r\n\"Alpha\r\none two\r\nthree\"\r\n\"Beta\"\r\n\"Gamma\r\nfour\"\r\n}\r\n";

// Runs commands such as "add X", "rename 1 X", "remove 1", "move 0 2", "type 0 3 xy" (record
// at position 0, at offset 3; "¶" types a line break), "erase 0 3 2", "put 0 3 2 xy" (typed over
// two characters), "undo", "redo", "end", and "own Cut" ... "free" around the changes of a
// command that holds its step.
void run(Document& document, const QString& commands)
{
    std::optional<Document::OwnStep> held;
    for (const QString& command : commands.split(u';', Qt::SkipEmptyParts)) {
        const QStringList word = command.trimmed().split(u' ');
        RecordStore& records = document.records();
        const auto number = [&word](int at) { return word.value(at).toInt(); };
        const auto typed = [&word](int at) {
            return word.value(at).replace(u'¶', QLatin1String("\r\n"));
        };
        if (word[0] == u"add")
            document.addHeader(word.value(1));
        else if (word[0] == u"rename")
            document.renameHeader(number(1), word.value(2));
        else if (word[0] == u"remove")
            document.removeHeader(number(1));
        else if (word[0] == u"move")
            document.moveHeader(number(1), number(2));
        else if (word[0] == u"type")
            document.changeText(records.recordIndexAt(number(1)), number(2), 0, typed(3));
        else if (word[0] == u"erase")
            document.changeText(records.recordIndexAt(number(1)), number(2), number(3), {});
        else if (word[0] == u"put")
            document.changeText(records.recordIndexAt(number(1)), number(2), number(3), typed(4));
        else if (word[0] == u"undo")
            document.history().undo();
        else if (word[0] == u"redo")
            document.history().redo();
        else if (word[0] == u"end")
            document.endTyping();
        else if (word[0] == u"own")
            held.emplace(document, word.value(1));
        else if (word[0] == u"free")
            held.reset();
        else
            qFatal("unknown command %s", qPrintable(command));
    }
}

} // namespace

// The document: its reader and writer, its records and their indices, its history of changes
// taken back and done again, and Find over headers and texts.
class DocumentTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reading_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("shown"); // the data field's text afterwards
        const auto row = [](const char* name, const QByteArray& file, const QStringList& expected,
                            const QString& shown) {
            QTest::newRow(name) << file << expected << shown;
        };
        row("worked example", WorkedExample,
            {"Groceries|milk\r\nbread", "Empty|", "Tasks|fix the gate"}, "fix the gate");
        // Whatever the transfer header holds, a "{" on line 2 closes it.
        row("transfer header is a brace", lines({"{", "{", "\"A\"", "}"}), {"A|"}, "");
        row("transfer header starts with a quote", lines({"\"x", "{", "\"A", "x\"", "}"}), {"A|x"},
            "x");
        row("records from line 1", lines({"\"A\"", "\"B", "{", "x\"", "}"}), {"A|", "B|{\r\nx"},
            "{\r\nx");
        row("only a bare brace closes the list", lines({"{", "} ", "\"A\"", "}"}), {"|\"A"}, "\"A");
        row("empty header keeps its own text", lines({"{", "\"A", "x\"", "\"", "y\"", "}"}),
            {"A|x", "|y"}, "y");
        row("end inside a text", "{\r\n\"A\r\nl1\r\nl2", {"A|l1\r\nl2"}, "l1\r\nl2");
        row("spaces trimmed, not tabs", lines({"{", "\"  A\t \"", "}"}), {"A\t|"}, "");
        // A lone LF in a file of CRs stays text.
        row("CR alone ends a line, LF alone is text", "{\r\"H\rone\ntwo\rend\"\r}\r",
            {"H|one\ntwo\r\nend"}, "one\ntwo\r\nend");
        row("LF only: Unix line ends", "{\n\"A\nx\ny\"\n\"B\"\n}\n", {"A|x\r\ny", "B|"}, "x\r\ny");
        row("NUL and high bytes", QByteArray("{\r\n\"A\0B\r\n\0\xff\xe9\"\r\n}\r\n", 17),
            {QString::fromLatin1("A\0B|\0\xff\xe9", 7)}, QString::fromLatin1("\0\xff\xe9", 3));
    }

    void reading()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, expected);
        QFETCH(QString, shown);
        Document document;
        QString fieldText;
        connect(&document, &Document::dataFieldReset,
                [&](const QString& text) { fieldText = text; });
        document.FileInSub(file);
        QCOMPARE(listed(document), expected.join(u", "));
        QCOMPARE(fieldText + u'|' + document.looseText(), shown + u'|' + shown);
    }

    // A second file read and removed entries leave record indices apart from list positions.
    void writerReachesTextsByRecordIndex()
    {
        Document document;
        document.FileInSub(lines({"{", "\"Old", "gone\"", "}"}));
        document.clear();
        document.FileInSub(WorkedExample);
        QCOMPARE(written(document, HpHeader), WorkedExample);
        RecordStore& records = document.records();
        records.setRecordText(records.recordIndexAt(0), QString());
        records.removeAt(0);
        records.setRecordText(*records.addRecord(" New "),
                              QString::fromUtf8("typed\r\ntext\U0001F600"));
        QCOMPARE(written(document, HpHeader),
                 lines({"%%HP: T(3)A(D)F(.);", "{", "\"Empty\"", "\"Tasks", "fix the gate\"",
                        "\"New", "typed", "text?\"", "}"}));
        // Pieces larger than any buffer a writer gathers in, typed and read.
        const QString large(300000, u'x');
        records.setRecordText(*records.addRecord("Large"), large);
        document.FileInSub("{\r\n\"Read\r\n" + large.toLatin1() + "\"\r\n}\r\n");
        QVERIFY(written(document).contains("\"Large\r\n" + large.toLatin1() + "\"\r\n\"Read"));
        // Without the setting exactly "1" no transfer header line is written.
        QCOMPARE(written(document, {" 1", HpHeader.asciiText}).left(3), QByteArray("{\r\n"));
    }

    void indicesAreNeverReused()
    {
        Document document;
        RecordStore& store = document.records();
        for (const char* header : {"a", "b", "c"})
            store.setRecordText(*store.addRecord(QLatin1String(header)), QLatin1String(header));
        store.removeAt(1);
        QCOMPARE(store.recordText(store.recordIndexAt(1)), QStringLiteral("c"));
        document.clear();
        QCOMPARE(store.addRecord(QStringLiteral("d")), 3);
        QCOMPARE(store.recordText(3), QString());
        RecordStore nearlyFull(RecordStore::IndexLimit - 1);
        const QByteArray file = lines({"{", "\"b\"", "\"c\"", "}"});
        QCOMPARE(nearlyFull.addFileRecords(file, datafile::read(file)), 1);
        QCOMPARE(nearlyFull.addRecord(QStringLiteral("d")), std::nullopt);
    }

    void steps_data()
    {
        QTest::addColumn<QString>("commands");
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("undoText");
        const QString sample = "Alpha|one two\r\nthree, Beta|, Gamma|four";
        const auto row = [](const char* name, const char* commands, const QString& entries,
                            const char* undoText) {
            QTest::newRow(name) << commands << entries << undoText;
        };
        row("add, undo, redo", "add New; undo; redo", sample + ", New|", "New Header");
        row("remove keeps text for undo", "remove 0; undo", sample, "");
        row("move down, save order", "move 0 2", "Beta|, Gamma|four, Alpha|one two\r\nthree",
            "Move Header");
        row("a command holding its step names it", "type 2 0 a; own Paste; type 2 1 b; free",
            "Alpha|one two\r\nthree, Beta|, Gamma|abfour", "Paste");
        row("mixed, undone to the start",
            "type 0 3 !; remove 1; move 0 1; add Z; type 2 0 zz; undo; undo; undo; undo; undo",
            sample, "");
        row("mixed, undone and redone",
            "type 0 3 !; remove 1; move 0 1; undo; undo; undo; redo; redo; redo",
            "Gamma|four, Alpha|one! two\r\nthree", "Move Header");
        row("a new step drops what could be redone", "rename 0 A; undo; rename 1 B; redo",
            "Alpha|one two\r\nthree, B|, Gamma|four", "Rename Header");
    }

    // The record store is also the header list's model: every change keeps each view's idea of
    // its rows right.
    void steps()
    {
        QFETCH(QString, commands);
        Document document;
        QAbstractItemModelTester tester(&document.records(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        document.FileInSub(Sample);
        QVERIFY(!document.history().canUndo()); // reading is not a step
        run(document, commands);
        QTEST(listed(document), "entries");
        QTEST(document.history().undoText(), "undoText");
        // Untouched records keep their bytes, and what is saved reads back as the same records.
        const QByteArray saved = written(document);
        const QString before = listed(document);
        if (before == "Alpha|one two\r\nthree, Beta|, Gamma|four")
            QCOMPARE(saved, Sample);
        document.clear();
        QVERIFY(!document.history().canUndo() && !document.history().canRedo());
        document.FileInSub(saved);
        QCOMPARE(listed(document), before);
    }

    // Which changes make one step: each row gives the first record's text after the commands,
    // then after each Undo until none is left; "¶" is a line break.
    void textSteps_data()
    {
        QTest::addColumn<QString>("commands");
        QTest::addColumn<QString>("texts");
        const auto row = [](const char* name, const char* commands, const char* texts) {
            QTest::newRow(name) << QString(commands) << QString(texts);
        };
        row("typing goes on", "type 0 6 x; type 0 7 y", "abcdefxy|abcdef");
        row("the cursor moved between", "type 0 6 x; type 0 0 y; type 0 8 ¶; type 0 10 z",
            "yabcdefx¶z|yabcdefx¶|yabcdefx|abcdefx|abcdef");
        row("a line break ends the step it joins", "type 0 6 x; type 0 7 ¶; type 0 9 y",
            "abcdefx¶y|abcdefx¶|abcdef");
        row("typing turns into deleting", "type 0 6 xy; erase 0 7 1", "abcdefx|abcdefxy|abcdef");
        row("deleting turns into typing", "erase 0 5 1; type 0 5 x", "abcdex|abcde|abcdef");
        row("Backspace, then Delete at the same place", "erase 0 2 1; erase 0 1 1; erase 0 1 1",
            "aef|abcdef");
        row("deleting after the cursor moved", "type 0 6 x; erase 0 5 1; erase 0 0 1",
            "bcdex|abcdex|abcdefx|abcdef");
        row("a selection typed over, then typing on", "type 0 0 x; put 0 1 2 y; type 0 2 z",
            "xyzcdef|xabcdef|abcdef");
        // A command's own step joins neither the typing before it nor the typing after it, even
        // where that typing goes on from the command's place.
        row("Cut", "erase 0 5 1; own Cut; erase 0 3 2; free; erase 0 2 1", "ab|abc|abcde|abcdef");
        row("Paste", "type 0 6 x; own Paste; type 0 7 yz; free; type 0 9 w",
            "abcdefxyzw|abcdefxyz|abcdefx|abcdef");
        row("a command's changes anywhere", "own Replace; put 0 0 1 X; put 0 5 1 Y; free",
            "XbcdeY|abcdef");
        row("another record selected between", "type 0 6 x; end; type 0 7 y",
            "abcdefxy|abcdefx|abcdef");
        row("typing in another record", "type 0 0 x; type 1 1 y", "xabcdef|xabcdef|abcdef");
        row("a header command between", "type 0 6 x; rename 1 C; type 0 7 y",
            "abcdefxy|abcdefx|abcdefx|abcdef");
        row("a step taken back between", "type 0 6 x; type 0 0 y; undo; type 0 7 z",
            "abcdefxz|abcdefx|abcdef");
    }

    void textSteps()
    {
        QFETCH(QString, commands);
        Document document;
        document.FileInSub("{\r\n\"A\r\nabcdef\"\r\n\"B\r\nghi\"\r\n}\r\n");
        run(document, commands);
        const RecordStore& records = document.records();
        QStringList texts{records.recordText(0)};
        for (; document.history().canUndo(); texts << records.recordText(0))
            document.history().undo();
        QTEST(texts.join(u'|').replace(QLatin1String("\r\n"), QStringLiteral("¶")), "texts");
    }

    void find_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("options"); // c: match case, w: whole words, h/t: only there,
                                              // b: backwards
        QTest::addColumn<QString>("from");    // position, h or t, offset
        QTest::addColumn<QString>("found");   // position, h or t, offset; w when wrapped
        const auto row = [](const char* name, const QString& text, const char* options,
                            const char* from, const char* found) {
            QTest::newRow(name) << text << options << from << found;
        };
        row("case", "gam", "c", "0 h 0", "");
        row("case, as the file has it", "Gam", "c", "0 h 0", "2 h 0");
        row("no match across a line end", "two three", "", "0 h 0", "");
        row("whole words", "on", "w", "0 h 0", "");
        row("part of a word", "on", "", "0 h 0", "0 t 0");
        row("texts only", "alpha", "t", "0 h 0", "");
        row("headers only", "four", "h", "0 h 0", "");
        row("wraps at the end", "one", "", "1 h 0", "0 t 0 w");
        row("after the start", "o", "", "0 t 1", "0 t 6");
        row("backwards", "o", "b", "0 t 5", "0 t 0");
        row("backwards wraps", "o", "b", "0 t 0", "2 t 1 w");
        row("edited text", "NEW", "", "0 h 0", "1 t 2");
        row("empty text finds nothing", "", "", "0 h 0", "");
        row("Latin-1 without case", "\u00c9T\u00c9", "", "0 h 0", "1 h 0");
    }

    void find()
    {
        QFETCH(QString, text);
        QFETCH(QString, options);
        QFETCH(QString, from);
        Document document;
        document.FileInSub(Sample);
        document.renameHeader(1, QStringLiteral("\u00e9t\u00e9"));
        document.changeText(1, 0, 0, QStringLiteral("a new"));
        const QStringList start = from.split(u' ');
        const FindOptions find{text, options.contains(u'c'), options.contains(u'w'),
                               !options.contains(u't'), !options.contains(u'h')};
        const FindResult result = Finder(document.records(), find)
                                      .find({start[0].toInt(), start[1] == u"h", start[2].toInt()},
                                            options.contains(u'b'));
        QString found;
        if (result.match)
            found = QStringLiteral("%1 %2 %3%4")
                        .arg(result.match->place.position)
                        .arg(QChar(result.match->place.inHeader ? u'h' : u't'))
                        .arg(result.match->place.at)
                        .arg(result.wrapped ? " w" : "");
        QTEST(found, "found");
    }
};

QTEST_GUILESS_MAIN(DocumentTest)
#include "tst_document.moc"

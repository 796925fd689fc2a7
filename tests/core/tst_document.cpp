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

// Each entry as "header|text", its text reached through its record index.
QStringList entries(const Document& document)
{
    QStringList result;
    const RecordStore& records = document.records();
    for (int at = 0; at < records.count(); ++at)
        result << records.headerAt(at) + u'|' + records.recordText(records.recordIndexAt(at));
    return result;
}

// What Save writes, which the document also gives as bytes in memory, exactly the same.
QByteArray written(Document& document, const TransferHeader& transferHeader = {})
{
    QTemporaryDir folder;
    const QString path = folder.filePath("out.DF");
    if (const QString failure = document.writeFile(path, transferHeader); !failure.isEmpty())
        qFatal("cannot write: %s", qPrintable(failure));
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (document.fileBytes(transferHeader) != bytes)
        qFatal("the bytes in memory are not the file's");
    return bytes;
}

// The entries in one line, as the history's tables give them.
QString listed(const Document& document)
{
    return entries(document).join(u", ");
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
        QTest::newRow("worked example")
            << WorkedExample
            << QStringList{"Groceries|milk\r\nbread", "Empty|", "Tasks|fix the gate"}
            << "fix the gate";
        // Whatever the transfer header holds, a "{" on line 2 closes it.
        QTest::newRow("transfer header is a brace")
            << lines({"{", "{", "\"A\"", "}"}) << QStringList{"A|"} << "";
        QTest::newRow("transfer header starts with a quote")
            << lines({"\"x", "{", "\"A", "x\"", "}"}) << QStringList{"A|x"} << "x";
        QTest::newRow("records from line 1") << lines({"\"A\"", "\"B", "{", "x\"", "}"})
                                             << QStringList{"A|", "B|{\r\nx"} << "{\r\nx";
        QTest::newRow("only a bare brace closes the list")
            << lines({"{", "} ", "\"A\"", "}"}) << QStringList{"|\"A"} << "\"A";
        QTest::newRow("empty header keeps its own text")
            << lines({"{", "\"A", "x\"", "\"", "y\"", "}"}) << QStringList{"A|x", "|y"} << "y";
        QTest::newRow("end inside a text")
            << QByteArray("{\r\n\"A\r\nl1\r\nl2") << QStringList{"A|l1\r\nl2"} << "l1\r\nl2";
        QTest::newRow("spaces trimmed, not tabs")
            << lines({"{", "\"  A\t \"", "}"}) << QStringList{"A\t|"} << "";
        QTest::newRow("CR alone ends a line, LF alone is text")
            << QByteArray("{\r\"H\rone\ntwo\rend\"\r}\r") << QStringList{"H|one\ntwo\r\nend"}
            << "one\ntwo\r\nend";
        QTest::newRow("LF only: Unix line ends") << QByteArray("{\n\"A\nx\ny\"\n\"B\"\n}\n")
                                                 << QStringList{"A|x\r\ny", "B|"} << "x\r\ny";
        QTest::newRow("CR LF with one stray LF")
            << QByteArray("{\r\n\"A\r\nx\ny\"\r\n}\r\n") << QStringList{"A|x\ny"} << "x\ny";
        QTest::newRow("NUL and high bytes")
            << QByteArray("{\r\n\"A\0B\r\n\0\xff\xe9\"\r\n}\r\n", 17)
            << QStringList{QString::fromLatin1("A\0B|\0\xff\xe9", 7)}
            << QString::fromLatin1("\0\xff\xe9", 3);
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
        QCOMPARE(entries(document), expected);
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
        QTest::newRow("nothing") << "" << sample << "";
        QTest::newRow("add, undo, redo") << "add New; undo; redo" << sample + ", New|"
                                         << "New Header";
        QTest::newRow("remove keeps text for undo") << "remove 0; undo" << sample << "";
        QTest::newRow("move down, save order") << "move 0 2"
                                               << "Beta|, Gamma|four, Alpha|one two\r\nthree"
                                               << "Move Header";
        QTest::newRow("a command holding its step names it")
            << "type 2 0 a; own Paste; type 2 1 b; free"
            << "Alpha|one two\r\nthree, Beta|, Gamma|abfour"
            << "Paste";
        QTest::newRow("mixed, undone to the start")
            << "type 0 3 !; remove 1; move 0 1; add Z; type 2 0 zz; undo; undo; undo; undo; undo"
            << sample << "";
        QTest::newRow("mixed, undone and redone")
            << "type 0 3 !; remove 1; move 0 1; undo; undo; undo; redo; redo; redo"
            << "Gamma|four, Alpha|one! two\r\nthree"
            << "Move Header";
        QTest::newRow("a new step drops what could be redone")
            << "rename 0 A; undo; rename 1 B; redo"
            << "Alpha|one two\r\nthree, B|, Gamma|four"
            << "Rename Header";
    }

    void steps()
    {
        QFETCH(QString, commands);
        Document document;
        document.FileInSub(Sample);
        QVERIFY(!document.history().canUndo()); // reading is not a step
        run(document, commands);
        QTEST(listed(document), "entries");
        QTEST(document.history().undoText(), "undoText");
        // What is saved reads back as the same records; untouched records keep their bytes.
        const QByteArray saved = written(document);
        Document reread;
        reread.FileInSub(saved);
        QCOMPARE(listed(reread), listed(document));
        if (listed(document) == listed(Document()) + "Alpha|one two\r\nthree, Beta|, Gamma|four")
            QCOMPARE(saved, Sample);
        document.clear();
        QVERIFY(!document.history().canUndo() && !document.history().canRedo());
    }

    // Which changes make one step: each row gives the first record's text after the commands,
    // then after each Undo until none is left; "¶" is a line break.
    void textSteps_data()
    {
        QTest::addColumn<QString>("commands");
        QTest::addColumn<QString>("texts");
        QTest::newRow("typing goes on") << "type 0 6 x; type 0 7 y"
                                        << "abcdefxy|abcdef";
        QTest::newRow("the cursor moved between")
            << "type 0 6 x; type 0 0 y; type 0 8 ¶; type 0 10 z"
            << "yabcdefx¶z|yabcdefx¶|yabcdefx|abcdefx|abcdef";
        QTest::newRow("a line break ends the step it joins") << "type 0 6 x; type 0 7 ¶; type 0 9 y"
                                                             << "abcdefx¶y|abcdefx¶|abcdef";
        QTest::newRow("typing turns into deleting") << "type 0 6 xy; erase 0 7 1"
                                                    << "abcdefx|abcdefxy|abcdef";
        QTest::newRow("deleting turns into typing") << "erase 0 5 1; type 0 5 x"
                                                    << "abcdex|abcde|abcdef";
        QTest::newRow("Backspace, then Delete at the same place")
            << "erase 0 2 1; erase 0 1 1; erase 0 1 1"
            << "aef|abcdef";
        QTest::newRow("deleting after the cursor moved") << "type 0 6 x; erase 0 5 1; erase 0 0 1"
                                                         << "bcdex|abcdex|abcdefx|abcdef";
        QTest::newRow("a selection typed over, then typing on")
            << "type 0 0 x; put 0 1 2 y; type 0 2 z"
            << "xyzcdef|xabcdef|abcdef";
        QTest::newRow("Cut") << "erase 0 5 1; own Cut; erase 0 3 2; free; erase 0 2 1"
                             << "ab|abc|abcde|abcdef";
        QTest::newRow("Paste") << "type 0 6 x; own Paste; type 0 7 yz; free; type 0 9 w"
                               << "abcdefxyzw|abcdefxyz|abcdefx|abcdef";
        QTest::newRow("Replace") << "type 0 0 x; own Replace; put 0 1 2 AB; free; type 0 3 y"
                                 << "xABycdef|xABcdef|xabcdef|abcdef";
        QTest::newRow("Insert Character") << "type 0 6 x; own Insert; type 0 7 →; free; type 0 8 y"
                                          << "abcdefx→y|abcdefx→|abcdefx|abcdef";
        QTest::newRow("a command's changes anywhere")
            << "own Replace; put 0 0 1 X; put 0 5 1 Y; free"
            << "XbcdeY|abcdef";
        QTest::newRow("another record selected between") << "type 0 6 x; end; type 0 7 y"
                                                         << "abcdefxy|abcdefx|abcdef";
        QTest::newRow("typing in another record") << "type 0 0 x; type 1 1 y"
                                                  << "xabcdef|xabcdef|abcdef";
        QTest::newRow("a header command between") << "type 0 6 x; rename 1 C; type 0 7 y"
                                                  << "abcdefxy|abcdefx|abcdefx|abcdef";
        QTest::newRow("a step taken back between") << "type 0 6 x; type 0 0 y; undo; type 0 7 z"
                                                   << "abcdefxz|abcdefx|abcdef";
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

    // A thousand keystrokes in a large record make one step that holds the keystrokes.
    void typingKeepsNoCopies()
    {
        Document document;
        document.FileInSub("{\r\n\"Big\r\n" + QByteArray(1 << 20, 'x') + "\"\r\n}\r\n");
        for (int key = 0; key < 1000; ++key)
            document.changeText(0, 500 + key, 0, QStringLiteral("y"));
        QCOMPARE(document.history().count(), 1);
        document.history().undo();
        QCOMPARE(document.records().recordText(0), QString(1 << 20, u'x'));
    }

    void find_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("options"); // c: match case, w: whole words, h/t: only there
        QTest::addColumn<QString>("from");    // position, h or t, offset
        QTest::addColumn<bool>("backwards");
        QTest::addColumn<QString>("found"); // position, h or t, offset; w when wrapped
        QTest::newRow("in a text") << "two"
                                   << ""
                                   << "0 h 0" << false << "0 t 4";
        QTest::newRow("in a header") << "gam"
                                     << ""
                                     << "0 h 0" << false << "2 h 0";
        QTest::newRow("case") << "gam"
                              << "c"
                              << "0 h 0" << false << "";
        QTest::newRow("no match across a line end") << "two three"
                                                    << ""
                                                    << "0 h 0" << false << "";
        QTest::newRow("whole words") << "on"
                                     << "w"
                                     << "0 h 0" << false << "";
        QTest::newRow("part of a word") << "on"
                                        << ""
                                        << "0 h 0" << false << "0 t 0";
        QTest::newRow("texts only") << "alpha"
                                    << "t"
                                    << "0 h 0" << false << "";
        QTest::newRow("headers only") << "four"
                                      << "h"
                                      << "0 h 0" << false << "";
        QTest::newRow("wraps at the end") << "one"
                                          << ""
                                          << "1 h 0" << false << "0 t 0 w";
        QTest::newRow("after the start") << "o"
                                         << ""
                                         << "0 t 1" << false << "0 t 6";
        QTest::newRow("backwards") << "o"
                                   << ""
                                   << "0 t 5" << true << "0 t 0";
        QTest::newRow("backwards wraps") << "o"
                                         << ""
                                         << "0 t 0" << true << "2 t 1 w";
        QTest::newRow("edited text") << "NEW"
                                     << ""
                                     << "0 h 0" << false << "1 t 2";
        QTest::newRow("empty text finds nothing") << ""
                                                  << ""
                                                  << "0 h 0" << false << "";
        QTest::newRow("Latin-1 without case") << "\u00c9T\u00c9"
                                              << ""
                                              << "0 h 0" << false << "1 h 0";
    }

    void find()
    {
        QFETCH(QString, text);
        QFETCH(QString, options);
        QFETCH(QString, from);
        QFETCH(bool, backwards);
        Document document;
        document.FileInSub(Sample);
        document.renameHeader(1, QStringLiteral("\u00e9t\u00e9"));
        document.changeText(1, 0, 0, QStringLiteral("a new"));
        const QStringList start = from.split(u' ');
        const FindOptions find{text, options.contains(u'c'), options.contains(u'w'),
                               !options.contains(u't'), !options.contains(u'h')};
        const FindResult result =
            Finder(document.records(), find)
                .find({start[0].toInt(), start[1] == u"h", start[2].toInt()}, backwards);
        QString found;
        if (result.match)
            found = QStringLiteral("%1 %2 %3%4")
                        .arg(result.match->place.position)
                        .arg(QChar(result.match->place.inHeader ? u'h' : u't'))
                        .arg(result.match->place.at)
                        .arg(result.wrapped ? " w" : "");
        QTEST(found, "found");
    }

    // Replace All is one step; a header that would pass the limit keeps its name.
    void replaceAll()
    {
        Document document;
        document.FileInSub("{\r\n\"" + QByteArray(21, 'a') + "o\r\no o\"\r\n\"Bo\r\nxo\"\r\n}\r\n");
        const QList<FoundMatch> matches =
            Finder(document.records(), {QStringLiteral("o"), true, false, true, true}).findAll();
        QCOMPARE(matches.size(), 5);
        const Document::Replaced done = document.replaceAll(matches, QStringLiteral("OO"));
        QCOMPARE(done.replaced, 4);
        QCOMPARE(done.refused, 1);
        QCOMPARE(listed(document), QString(21, u'a') + "o|OO OO, BOO|xOO");
        QCOMPARE(document.history().undoText(), "Replace All");
        document.history().undo();
        QCOMPARE(listed(document), QString(21, u'a') + "o|o o, Bo|xo");
    }

    // The record store as the header list sees it: a model that keeps every view's idea of its
    // rows right through each change the document makes.
    void modelStaysConsistent_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QString>("headers");
        QTest::newRow("add and rename") << "add D; rename 0 X"
                                        << "X B C D";
        QTest::newRow("remove first and last") << "remove 0; remove 1"
                                               << "B";
        QTest::newRow("move down") << "move 0 2"
                                   << "B C A";
        QTest::newRow("move up") << "move 2 0"
                                 << "C A B";
        QTest::newRow("take out and put back") << "take 1 0"
                                               << "B A C";
        QTest::newRow("reset, then add") << "clear; add D"
                                         << "D";
    }
    void modelStaysConsistent()
    {
        QFETCH(QString, changes);
        QFETCH(QString, headers);
        const QByteArray file = "{\r\n\"A\r\na\"\r\n\"B\"\r\n\"C\r\nc\"\r\n}\r\n";
        RecordStore store;
        store.addFileRecords(file, datafile::read(file));
        QAbstractItemModelTester tester(&store,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (const QString& change : changes.split(u';')) {
            const QStringList word = change.trimmed().split(u' ');
            const int first = word.value(1).toInt();
            if (word[0] == u"add")
                store.addRecord(word[1]);
            else if (word[0] == u"rename")
                store.renameAt(first, word[2]);
            else if (word[0] == u"remove")
                store.removeAt(first);
            else if (word[0] == u"move")
                store.moveEntry(first, word[2].toInt());
            else if (word[0] == u"take") {
                const RecordStore::Entry entry = store.entryAt(first);
                store.removeAt(first);
                store.insertEntry(word[2].toInt(), entry);
            } else if (word[0] == u"clear")
                store.clear();
        }
        QStringList shown;
        for (int row = 0; row < store.rowCount(); ++row)
            shown << store.index(row).data().toString();
        QCOMPARE(shown.join(u' '), headers);
    }
};

QTEST_GUILESS_MAIN(DocumentTest)
#include "tst_document.moc"

#include "checks/Files.h"
#include "core/BinaryObject.h"
#include "core/CalculatorCheck.h"
#include "core/CalculatorCode.h"
#include "core/DataFile.h"
#include "core/Document.h"
#include "core/Finder.h"
#include "core/RecordStore.h"

#include <QtTest>

using namespace calculator;
using namespace Qt::StringLiterals;

namespace {

// One row of a data table, its values in the order of the columns.
template <typename... Values> void row(const char* name, const Values&... values)
{
    (QTest::newRow(name) << ... << values);
}

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
    const QString failure = document.writeFile(path, transferHeader);
    const QByteArray bytes = contentsOf(path);
    if (!failure.isEmpty() || document.fileBytes(transferHeader) != bytes)
        qFatal("cannot write (%s), or the bytes in memory are not the file's", qPrintable(failure));
    return bytes;
}

const QByteArray Sample =
    "{\r\n\"Alpha\r\none two\r\nthree\"\r\n\"Beta\"\r\n\"Gamma\r\nfour\"\r\n}\r\n";
const QString SampleEntries = "Alpha|one two\r\nthree, Beta|, Gamma|four"; // as listed() gives it

// Runs commands such as "add X", "rename 1 X", "remove 1", "move 0 2", "type 0 3 xy" (record
// at position 0, at offset 3; "¶" types a line break), "erase 0 3 2", "put 0 3 2 xy" (typed over
// two characters), "undo", "redo", "end", and "own Cut" ... "free" around the changes of a
// command that holds its step.
void run(Document& document, const QString& commands)
{
    std::optional<Document::OwnStep> held;
    for (const QString& command : commands.split(u';', Qt::SkipEmptyParts)) {
        QStringList word = command.trimmed().split(u' ');
        if (word[0] == u"type") // typed over no characters
            word.insert(3, u"0"_s);
        const auto number = [&word](int at) { return word.value(at).toInt(); };
        if (word[0] == u"add")
            document.addHeader(word.value(1));
        else if (word[0] == u"rename")
            document.renameHeader(number(1), word.value(2));
        else if (word[0] == u"remove")
            document.removeHeader(number(1));
        else if (word[0] == u"move")
            document.moveHeader(number(1), number(2));
        else if (word[0] == u"type" || word[0] == u"erase" || word[0] == u"put")
            document.changeText(document.records().recordIndexAt(number(1)), number(2), number(3),
                                word.value(4).replace(u'¶', QLatin1String("\r\n")));
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

// The list of `records`, each "header" or "header¶text", every line ended by CR LF ("¶").
QByteArray listOf(const QByteArrayList& records)
{
    return QByteArray("{¶\"" + records.join("\"¶\"") + "\"¶}¶").replace("¶", "\r\n");
}

// 128 to 159 and the other named codes, as the HP 48 documents them.
const QString Signs = "∠x̄∇√∫Σ▶π∂≤≥≠α→←↓↑γδεηθλρστωΔΠΩ■∞";
const QStringList Names = QString("<) x- .V v/ .S GS |> pi .d <= >= =/ Ga -> <- |v |^ Gg Gd Ge Gn "
                                  "Gh Gl Gr Gs Gt Gw GD PI GW [] oo")
                              .split(u' ');
const QHash<int, QString> LatinNames{{92, "\\"},  {171, "<<"}, {176, "^o"},
                                     {181, "Gm"}, {187, ">>"}, {247, ":-"}};

QByteArray object(const char* hex)
{
    return "HPHP48-E" + QByteArray::fromHex(hex);
}

} // namespace

// The document: its reader and writer, its records and their indices, its history of changes
// taken back and done again, and Find over headers and texts; the calculator's characters, their
// backslash codes, and what a document takes in its memory; and the calculator's binary form of a
// list of strings, read and written nibble by nibble.
class DocumentTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reading_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected"); // the entries, as listed() gives them
        QTest::addColumn<QString>("shown");    // the data field's text afterwards
        row("worked example", WorkedExample, "Groceries|milk\r\nbread, Empty|, Tasks|fix the gate",
            "fix the gate");
        // Whatever the transfer header holds, a "{" on line 2 closes it.
        row("transfer header is a brace", lines({"{", "{", "\"A\"", "}"}), "A|", "");
        row("transfer header starts with a quote", lines({"\"x", "{", "\"A", "x\"", "}"}), "A|x",
            "x");
        row("records from line 1", lines({"\"A\"", "\"B", "{", "x\"", "}"}), "A|, B|{\r\nx",
            "{\r\nx");
        row("only a bare brace closes the list", lines({"{", "} ", "\"A\"", "}"}), "|\"A", "\"A");
        row("empty header keeps its own text", lines({"{", "\"A", "x\"", "\"", "y\"", "}"}),
            "A|x, |y", "y");
        row("end inside a text", "{\r\n\"A\r\nl1\r\nl2"_ba, "A|l1\r\nl2", "l1\r\nl2");
        row("spaces trimmed, not tabs", lines({"{", "\"  A\t \"", "}"}), "A\t|", "");
        // A lone LF in a file of CRs stays text.
        row("CR alone ends a line, LF alone is text", "{\r\"H\rone\ntwo\rend\"\r}\r"_ba,
            "H|one\ntwo\r\nend", "one\ntwo\r\nend");
        row("LF only: Unix line ends", "{\n\"A\nx\ny\"\n\"B\"\n}\n"_ba, "A|x\r\ny, B|", "x\r\ny");
        row("NUL and high bytes", QByteArray("{\r\n\"A\0B\r\n\0\xff\xe9\"\r\n}\r\n", 17),
            QString::fromLatin1("A\0B|\0\xff\xe9", 7), QString::fromLatin1("\0\xff\xe9", 3));
    }

    void reading()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, shown);
        Document document;
        QSignalSpy fieldReset(&document, &Document::dataFieldReset);
        document.FileInSub(file);
        QTEST(listed(document), "expected");
        QCOMPARE(fieldReset.value(0).value(0).toString() + u'|' + document.looseText(),
                 shown + u'|' + shown);
    }

    // A second file read and removed entries leave record indices apart from list positions:
    // indices are never reused, not even after New, and run out at the limit.
    void writerReachesTextsByRecordIndex()
    {
        Document document;
        document.FileInSub(lines({"{", "\"Old", "gone\"", "}"}));
        document.clear();
        document.FileInSub(WorkedExample);
        QCOMPARE(written(document, HpHeader), WorkedExample);
        RecordStore& records = document.records();
        QCOMPARE(records.recordIndexAt(0), 1);
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
        row("add, undo, redo", "add New; undo; redo", SampleEntries + ", New|", "New Header");
        row("a command holding its step names it", "type 2 0 a; own Paste; type 2 1 b; free",
            "Alpha|one two\r\nthree, Beta|, Gamma|abfour", "Paste");
        // Undone, a removed entry has its text again, the file's own bytes.
        row("mixed, undone to the start",
            "type 1 0 !; remove 0; move 0 1; add Z; type 2 0 zz; undo; undo; undo; undo; undo",
            SampleEntries, "");
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
        QFETCH(QString, entries);
        Document document;
        QAbstractItemModelTester tester(&document.records(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        document.FileInSub(Sample);
        run(document, commands);
        QCOMPARE(listed(document), entries);
        QTEST(document.history().undoText(), "undoText");
        // Untouched records keep their bytes, and what is saved reads back as the same records.
        const QByteArray saved = written(document);
        if (entries == SampleEntries)
            QCOMPARE(saved, Sample);
        document.clear();
        QVERIFY(!document.history().canUndo() && !document.history().canRedo());
        document.FileInSub(saved);
        QCOMPARE(listed(document), entries);
    }

    // Which changes make one step: each row gives the first record's text after the commands,
    // then after each Undo until none is left; "¶" is a line break.
    void textSteps_data()
    {
        QTest::addColumn<QString>("commands");
        QTest::addColumn<QString>("texts");
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

    // Each search from the start of the list, forwards; where it begins, which way it goes and
    // how it wraps are tried through Find and Replace (tests/editing).
    void find_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("options"); // c: match case, w: whole words, h/t: only there
        QTest::addColumn<QString>("found");   // position, h or t, offset
        row("case", "gam", "c", "");
        row("case, as the file has it", "Gam", "c", "2 h 0");
        row("no match across a line end", "two three", "", "");
        row("whole words", "on", "w", "");
        row("texts only", "alpha", "t", "");
        row("headers only", "four", "h", "");
        row("edited text", "NEW", "", "1 t 2");
        row("empty text finds nothing", "", "", "");
        row("Latin-1 without case", "\u00c9T\u00c9", "", "1 h 0");
    }

    void find()
    {
        QFETCH(QString, text);
        QFETCH(QString, options);
        Document document;
        document.FileInSub(Sample);
        document.renameHeader(1, QStringLiteral("\u00e9t\u00e9"));
        document.changeText(1, 0, 0, QStringLiteral("a new"));
        const FindOptions find{text, options.contains(u'c'), options.contains(u'w'),
                               !options.contains(u't'), !options.contains(u'h')};
        QString found;
        if (const auto match = Finder(document.records(), find).find({}, false).match)
            found =
                QString::asprintf("%d %c %lld", match->place.position,
                                  match->place.inHeader ? 'h' : 't', qlonglong(match->place.at));
        QTEST(found, "found");
    }

    // A file's spelling and the view's characters, both ways: each code in the modes that read
    // it, the places where the two spellings differ, and whatever is typed.
    void codes_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("back"); // fileText(shown): the same to the calculator
        QTest::addColumn<int>("code");     // the one code `file` spells; -1: none
        for (int code = 0; code < 256; ++code) {
            QString spelling = u'\\' + QString::number(code).rightJustified(3, u'0');
            QString shown = code == 31 ? "…" : code == 127 ? "▒" : QString(QChar(code));
            if (code >= 128 && code < 160) {
                spelling = u'\\' + Names[code - 128];
                shown = Signs.mid(code - 128 + (code > 129), code == 129 ? 2 : 1);
            }
            spelling = LatinNames.contains(code) ? u'\\' + LatinNames[code] : spelling;
            // Typed into the view, a backslash, 31 and 127 on are spelt as codes; the rest as
            // bytes.
            const bool asCode = code == 31 || code == 92 || code >= 127;
            QTest::addRow("%d", code)
                << spelling << 3 << shown << (asCode ? spelling : QString(QChar(code))) << code;
        }
        const QString a40 = QString::fromLatin1("ab\xe9\xff").repeated(10);
        row("lone backslashes", R"(a\b\9\12x\999\)", 2, R"(a\b\9\12x\999\)",
            R"(a\\b\\9\\12x\\999\\)", -1);
        row("beyond T(2)", R"(\200\<<\159\\)", 2, R"(\200\<<∞\)", R"(\\200\\<<\oo\\)", -1);
        row("disputed and canonical", R"(\.x\O/\0/\Gb\141\092)", 3, R"(×ØØß→\)",
            R"(\215\216\216\223\->\\)", -1);
        const QString raw = QString::fromLatin1("\x8d\x81\x1f\x7f\\ \\->");
        row("raw in T(1)", raw, 1, R"(→x̄…▒\ \->)", raw, -1);
        row("raw in T(2)", raw, 2, R"(→x̄…▒\ →)", R"(\->\x-\031\127\\ \->)", -1);
        // The view's CR LF is a line end; a CR and an LF held as two characters show apart.
        const char* const lineEnds = "a\r\nb\nc☺\r\r\n.\r\r\n.\r\r\n";
        row("CR and LF", "a\r\nb\nc☺\\013\\010.\\013\n.\r\\010", 3, lineEnds, lineEnds, -1);
        // Each raw 129 shows as two characters: the view's text outgrows the file's.
        const QString raw129(20, QChar(0x81));
        row("codes past a chunk", a40 + R"(\GS)" + a40 + QChar(0x8d) + raw129 + "\\", 2,
            a40 + "Σ" + a40 + "→" + QString("x̄").repeated(20) + "\\",
            a40 + R"(\GS)" + a40 + R"(\->)" + QString(R"(\x-)").repeated(20) + R"(\\)", -1);
        // Whatever is typed of the calculator's characters and ASCII is shown again as typed,
        // however the mode has the file spell it.
        QString typed = "\\ \\\\ \\-> \\200 x \r\n \n \r";
        for (int code = 0; code < 256; ++code)
            typed += glyph(code);
        for (int mode = 0; mode <= 3; ++mode)
            QTest::addRow("typed, T(%d)", mode)
                << fileText(typed, mode) << mode << typed << fileText(typed, mode) << -1;
    }

    void codes()
    {
        QFETCH(QString, file);
        QFETCH(int, mode);
        QFETCH(QString, shown);
        QFETCH(QString, back);
        QFETCH(int, code);
        QCOMPARE(shownText(file, mode), shown);
        if (const QByteArray bytes = file.toLatin1(); QString::fromLatin1(bytes) == file)
            QCOMPARE(shownText(QByteArrayView(bytes), mode), shown);
        QCOMPARE(fileText(shown, mode), back);
        QCOMPARE(shownText(back, mode), shown);
        QCOMPARE(receive(back, mode).length, receive(file, mode).length);
        if (code < 0)
            return;
        // A code's own spelling, its character as a byte, and T(2), which reads codes to 159.
        const QString byte = QChar(code);
        QCOMPARE(codeSpelling(code), file);
        QCOMPARE(shownText(byte, 1), shown);
        QCOMPARE(shownText(file, 2), code < 160 ? shown : file);
        QCOMPARE(spellingFor(code, 2), code < 160 ? back : byte);
        QCOMPARE(receive(file, 3).length, qsizetype(1));
    }

    // What the calculator makes of the records, as read from the file and once edited: the
    // memory they take and the largest of them, and what will not arrive as the user sees it.
    void calculatorCheck_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("mode");      // -1: no transfer header, whose text asks for T(3)
        QTest::addColumn<QString>("typed"); // the second record's text, when not empty
        // The bytes, then position:bytes of the largest records; empty: not looked at.
        QTest::addColumn<QString>("memory");
        QTest::addColumn<QString>("problems"); // position, kind, h(eader) or t(ext), offset
        const QByteArray groceries = listOf({"Groceries¶milk¶bread", "Empty", "Tasks¶fix"});
        // 5 + (5 + 9 + 1 + 10) + (5 + 5) + (5 + 5 + 1 + 3): each CR LF one character.
        row("T(1)", groceries, 1, QString(), "54 0:25 2:14 1:10", "");
        // 5 + (5 + 9 + 2 + 11) + (5 + 5) + (5 + 5 + 2 + 3): each CR LF two.
        row("T(0)", groceries, 0, QString(), "57 0:27 2:15 1:10", "");
        // \-> is one character, \\ one, \200 one in T(3) and four in T(2):
        // 5 + (5 + 2 + 1 + 2), 5 + (5 + 2 + 1 + 5), and with no codes 5 + (5 + 4 + 1 + 6).
        const QByteArray codes = listOf({R"(\->x¶\\\200)"});
        row("codes in T(3)", codes, 3, QString(), "15 0:10", "");
        row("codes in T(2)", codes, 2, QString(), "18 0:13", "0 3 t 2");
        row("T(4) is no mode: T(1)", codes, 4, QString(), "21 0:16", "");
        row("no header: T(1)", codes, -1, QString(), "21 0:16", "");
        // Headers of 1, 2, 1, 3, 2, 1 and 4 characters: 5 + 6 + 7 + 6 + 8 + 7 + 6 + 9.
        row("five largest", listOf({"a", "bb", "a", "ccc", "dd", "a", "eeee"}), 1, QString(),
            "54 6:9 3:8 1:7 4:7 0:6", "");
        // Line ends and codes where chunks of 16 characters meet and after a code in one: the
        // header, the line end after it, then 15, CR LF, 30, \\, CR LF, \->, x, CR LF and 15:
        // 5 + (5 + 1 + 1 + 15 + 1 + 30 + 1 + 1 + 1 + 1 + 1 + 15).
        const QByteArray a15(15, 'a');
        row("across chunks", listOf({"h¶" + a15 + "¶" + a15 + a15 + R"(\\¶\->x¶)" + a15}), 3,
            QString(), "78 0:73", "");
        row("quotes", QByteArray("{\r\n\"q\"h\"\r\n\"b\r\nx\"y\"\r\n}\r\n"), 1, QString(), "",
            "0 0 h 1, 1 0 t 1");
        row("stray backslash", listOf({R"(\999)", "b\r\n" + QByteArray(40, 'a') + "\\"}), 2,
            QString(), "", "0 2 h 0, 1 2 t 40");
        row("no stray backslash in T(1)", listOf({R"(\9)"}), 1, QString(), "", "");
        row("every kind, typed", listOf({"a", "b\r\nplain"}), 2,
            QString("\\\\ \" ☺ \\x \\<< \\200 \""), "", "1 0 t 3, 1 1 t 5, 1 2 t 7, 1 3 t 10");
    }

    void calculatorCheck()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, mode);
        QFETCH(QString, typed);
        QFETCH(QString, memory);
        Document document;
        document.FileInSub(file);
        RecordStore& records = document.records();
        if (!typed.isEmpty())
            records.setRecordText(records.recordIndexAt(1), typed);
        const TransferHeader header{
            mode < 0 ? "0" : "1", QStringLiteral("%%HP: T(%1)A(D)F(.);").arg(mode < 0 ? 3 : mode)};
        for (const bool edited : {false, true}) {
            for (int at = 0; edited && at < records.count(); ++at) {
                records.renameAt(at, records.headerAt(at));
                const qint32 index = records.recordIndexAt(at);
                records.setRecordText(index, records.recordText(index));
            }
            const CalculatorReport report = checkForCalculator(records, header);
            QCOMPARE(report.mode.mode, mode < 0 || mode > 3 ? 1 : mode);
            QStringList sizes{QString::number(report.memory)}, found;
            for (const RecordSize& size : report.largest)
                sizes << QStringLiteral("%1:%2").arg(size.position).arg(size.bytes);
            QCOMPARE(memory.isEmpty() ? memory : sizes.join(u' '), memory);
            for (const CalculatorProblem& problem : report.problems)
                found << QString::asprintf("%d %d %c %lld", problem.position, int(problem.kind),
                                           problem.inHeader ? 'h' : 't', qlonglong(problem.offset));
            QTEST(found.join(u", "), "problems");
        }
    }

    // Lists of strings written and read back; any other object read is named, not taken as
    // an empty list.
    void binaryObjects_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // written, or read when `said` is not empty
        QTest::addColumn<QList<QByteArray>>("strings");
        QTest::addColumn<QString>("said");
        using L = QList<QByteArray>;
        row("{ }", object("74 2A B0 12 03"), L{}, QString());
        row("{ \"AB\" }", object("74 2A C0 A2 02 09 00 10 24 B4 12 03"), L{"AB"}, QString());
        row("{ \"AB\" \"C\" }", object("74 2A C0 A2 02 09 00 10 24 C4 A2 02 07 00 30 B4 12 03"),
            L{"AB", "C"}, QString());
        QByteArray everyByte;
        for (int c = 0; c < 256; ++c)
            everyByte += char(c);
        row("every byte, an empty string, lines", QByteArray(), L{everyByte, "", "one\ntwo"},
            QString());
        row("a list with a program", object("742AD0D9022B31B01203"), L{},
            "a list that holds a program, not only strings");
        row("an unknown prologue", object("432100"), L{}, "(prologue 02143)");
        row("cut inside a string", object("742AC0A20209001004"), L{}, "damaged");
        row("a list never ended", object("742AC0A20207003004"), L{}, "damaged");
        row("a length shorter than itself", object("742AC0A2020300B01203"), L{}, "damaged");
        row("the header alone", QByteArray("HPHP48-"), L{}, "damaged");
    }
    void binaryObjects()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<QByteArray>, strings);
        QFETCH(QString, said);
        if (said.isEmpty()) {
            const QByteArray written = binaryobject::write(strings);
            if (!bytes.isEmpty())
                QCOMPARE(written.toHex(' '), bytes.toHex(' '));
            // XModem pads the last block with zero bytes, which follow the object.
            bytes = written + QByteArray(90, '\0');
        }
        const binaryobject::Reading read = binaryobject::read(bytes);
        QVERIFY2(read.notAList.contains(said) && read.notAList.isEmpty() == said.isEmpty(),
                 qPrintable(read.notAList));
        QCOMPARE(read.strings, strings);
    }
};

QTEST_GUILESS_MAIN(DocumentTest)
#include "tst_document.moc"

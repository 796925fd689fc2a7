#include "core/CalculatorCode.h"
#include "core/Document.h"
#include "core/RecordStore.h"
#include "doubles/MemoryClipboard.h"
#include "mainwindow/ClipboardCommands.h"
#include "mainwindow/DataField.h"
#include "mainwindow/DataFieldBinding.h"

#include <QHash>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <tuple>

namespace {

// Types into the field as a keyboard does; "\b" is Backspace, "\x7f" Delete, "\r" Return.
void typeInto(QPlainTextEdit& field, const QString& keys)
{
    static const QHash<QChar, Qt::Key> named{
        {u'\b', Qt::Key_Backspace}, {u'\x7f', Qt::Key_Delete}, {u'\r', Qt::Key_Return}};
    for (const QChar key : keys) {
        if (named.contains(key))
            QTest::keyClick(&field, named.value(key));
        else
            QTest::sendKeyEvent(QTest::Click, &field, Qt::Key_unknown, QString(key), {});
    }
}

// Letters a to z over and over, with no space: a line with no place to wrap at a word.
QString alphabet(qsizetype length)
{
    QString text;
    for (qsizetype i = 0; i < length; ++i)
        text += QChar(char16_t(u'a' + i % 26));
    return text;
}

// A field and its binding, wired as the window wires them.
struct BoundField
{
    explicit BoundField(Document& document) : binding(field, document)
    {
        QObject::connect(field.document(), &QTextDocument::contentsChange, &binding,
                         &DataFieldBinding::txtDataField_Change);
    }
    DataField field;
    DataFieldBinding binding;
};

} // namespace

// The data field bound to the document: where typing goes, and where it cannot go.
class DataFieldTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Typing while no entry is selected would be lost: the field takes none then.
    void readOnlyWithoutEntry()
    {
        Document document;
        BoundField bound(document);
        auto& [field, binding] = bound;
        QVERIFY(field.isReadOnly());
        document.FileInSub("{\r\n\"A\r\nkept\"\r\n}\r\n");
        binding.showRecord(0);
        typeInto(field, QStringLiteral("x"));
        QCOMPARE(document.records().recordText(0), "xkept");
        binding.showLoose(QStringLiteral("loose"));
        typeInto(field, QStringLiteral("y"));
        QCOMPARE(field.toPlainText() + u'|' + document.looseText(), "loose|loose");
        QVERIFY(field.textInteractionFlags() & Qt::TextSelectableByKeyboard);
        binding.showRecord(0);
        binding.detach();
        QVERIFY(field.isReadOnly());
    }

    // With the calculator's characters shown (T(3)), typing stores what was typed in the
    // file's spelling and leaves every other character of the record as the file spells it.
    void typingInTheView_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<int>("at"); // where the field's cursor stands, -1: at the end
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("stored");
        using Row = std::tuple<const char*, const char16_t*, int, const char16_t*, const char16_t*>;
        for (const auto& [name, record, at, keys, stored] :
             {Row{"untouched characters keep their spelling",
                  u"na\u00efve\r\nr\u00e9sum\u00e9 \\Gb", -1, u" x",
                  u"na\u00efve\r\nr\u00e9sum\u00e9 \\Gb x"},
              Row{"an arrow typed", u"a\\Gb", 1, u"\u2192", u"a\\->\\Gb"},
              Row{"an arrow deleted", u"a\\->b", 2, u"\b", u"ab"},
              Row{"typed between the x-bar's halves", u"a\\x-", 2, u"y", u"axy\u0304"},
              Row{"a stray backslash stays one", u"\\-", -1, u">", u"\\\\->"}})
            QTest::newRow(name) << QString::fromUtf16(record) << at << QString::fromUtf16(keys)
                                << QString::fromUtf16(stored);
        // Shown in pieces, the view's spelling still maps to the file's past every piece.
        const QString line = "\\Gb" + alphabet(3 * DataField::PieceLength);
        QTest::newRow("a long line, in its third piece")
            << line << 2 * DataField::PieceLength + 7 << "\u2192"
            << QString(line).insert(2 * DataField::PieceLength + 7, "\\->");
    }

    void typingInTheView()
    {
        QFETCH(QString, record);
        QFETCH(int, at);
        QFETCH(QString, keys);
        Document document;
        document.FileInSub("{\r\n\"A\r\n" + record.toLatin1() + "\"\r\n}\r\n");
        BoundField bound(document);
        auto& [field, binding] = bound;
        binding.setShownMode(3);
        binding.showRecord(0);
        QTextCursor cursor = field.textCursor();
        cursor.movePosition(QTextCursor::End);
        cursor.setPosition(at < 0 ? cursor.position() : at);
        field.setTextCursor(cursor);
        typeInto(field, keys);
        const QString stored = document.records().recordText(0);
        QTEST(stored, "stored");
        QCOMPARE(calculator::shownText(stored, 3), binding.text());
    }
    // Edit > Cut, Copy and Paste with the whole record selected and `clipboard` on the
    // clipboard: the clipboard, shared with every other program, spells line breaks as the
    // desktop does; the record keeps CR LF. A lone CR or LF read from a file is copied as a
    // line break, and copying leaves the record as it is.
    void clipboardLineBreaks_data()
    {
        QTest::addColumn<QString>("row"); // command|record|clipboard|copied|stored
        for (const char* row : {"copy|one\r\ntwo|clip|one\ntwo|one\r\ntwo",
                                "cut|one\r\ntwo|clip|one\ntwo|", "copy|a\rb|clip|a\nb|a\rb",
                                "copy|a\nb|clip|a\nb|a\nb", "paste|old|a\r\nb|a\r\nb|a\r\nb",
                                "paste|old|a\nb|a\nb|a\r\nb", "paste|old|a\rb|a\rb|a\r\nb"})
            QTest::newRow(qPrintable(QString::fromLatin1(row)
                                         .replace(u'\r', QStringLiteral("CR"))
                                         .replace(u'\n', QStringLiteral("LF"))))
                << QString::fromLatin1(row);
    }
    void clipboardLineBreaks()
    {
        QFETCH(QString, row);
        const QStringList part = row.split(u'|');
        Document document;
        document.records().setRecordText(*document.records().addRecord("H"), part[1]);
        BoundField bound(document);
        bound.binding.showRecord(0);
        bound.field.selectAll();
        MemoryClipboard desktop;
        desktop.setText(part[2]);
        ClipboardCommands commands(bound.field, document, desktop);
        const auto run = part[0] == u"copy"  ? &ClipboardCommands::copy
                         : part[0] == u"cut" ? &ClipboardCommands::cut
                                             : &ClipboardCommands::paste;
        (commands.*run)();
        QCOMPARE(desktop.text() + u'|' + document.records().recordText(0),
                 part[3] + u'|' + part[4]);
    }

    // A paragraph too long to lay out at each keystroke is shown in pieces, which are no
    // characters of the record: whatever the user does, the record and the file it is saved
    // to hold exactly the text, and Undo gives back the file's bytes.
    void longLinesKeptExactly_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("action"); // where the cursor goes, ':', what is typed
        QTest::addColumn<QString>("after");  // the record; the clipboard for a copy
        const QString line = alphabet(3 * DataField::PieceLength);
        const QString words = "top\r\n" + QString(line).replace(u'q', u' ') + "\r\nend";
        const int piece = DataField::PieceLength;
        QTest::newRow("typed at the end") << line << "end:xy" << line + "xy";
        QTest::newRow("typed next to a piece's start")
            << line << "second+2:z" << QString(line).insert(piece + 2, u'z');
        QTest::newRow("Delete at a piece's end") << line << "second-1:\x7f" << line;
        QTest::newRow("Backspace at a piece's start, twice")
            << line << "second:\b\b" << QString(line).remove(piece - 1, 1);
        QTest::newRow("a line broken in a piece")
            << line << "1:\rx" << QString(line).insert(1, "\r\nx");
        QTest::newRow("a piece grown too long")
            << line.left(DataField::LongestBlock - 2) << "end:xyz"
            << line.left(DataField::LongestBlock - 2) + "xyz";
        QTest::newRow("words and lines") << words << "end:!" << words + "!";
        QTest::newRow("all copied") << "top\r\n" + line << "all:copy"
                                    << "top\n" + line;
        QTest::newRow("all cut") << line << "all:cut" << QString();
        QTest::newRow("pasted") << QStringLiteral("ab") << "1:paste"
                                << "a" + line + "b";
        QTest::newRow("a place shown in the third piece")
            << line << "all:place" << line.mid(2 * piece + 5, 3);
    }
    void longLinesKeptExactly()
    {
        QFETCH(QString, record);
        QFETCH(QString, action);
        const QByteArray file = "{\r\n\"A\r\n" + record.toLatin1() + "\"\r\n}\r\n";
        Document document;
        document.FileInSub(file);
        BoundField bound(document);
        auto& [field, binding] = bound;
        binding.showRecord(0);
        QCOMPARE(binding.text(), record);
        const auto [place, keys] = std::pair(action.section(u':', 0, 0), action.section(u':', 1));
        QTextCursor cursor = field.textCursor();
        const int second = field.document()->begin().next().position();
        const QHash<QString, int> places{{"end", field.document()->characterCount() - 1},
                                         {"second+2", second + 2},
                                         {"second-1", second - 1},
                                         {"second", second},
                                         {"1", 1}};
        if (place == u"all")
            cursor.select(QTextCursor::Document);
        else
            cursor.setPosition(places.value(place));
        field.setTextCursor(cursor);
        MemoryClipboard desktop;
        desktop.setText(alphabet(3 * DataField::PieceLength));
        ClipboardCommands commands(field, document, desktop);
        if (keys == u"copy" || keys == u"cut" || keys == u"paste")
            (commands.*(keys == u"copy"  ? &ClipboardCommands::copy
                        : keys == u"cut" ? &ClipboardCommands::cut
                                         : &ClipboardCommands::paste))();
        else if (keys == u"place")
            binding.placeCursor(2 * DataField::PieceLength + 5, 3);
        else
            typeInto(field, keys);
        QTEST(keys == u"copy"    ? desktop.text()
              : keys == u"place" ? field.selectedText()
                                 : document.records().recordText(0),
              "after");
        // A piece grown too long is cut once the keystroke is over.
        QCoreApplication::processEvents();
        QCOMPARE(binding.text(), document.records().recordText(0));
        for (QTextBlock block = field.document()->begin(); block.isValid(); block = block.next())
            QVERIFY(block.length() <= DataField::LongestBlock + 1);
        while (document.history().canUndo())
            document.history().undo();
        QCOMPARE(document.fileBytes({}), file);
    }
};

QTEST_MAIN(DataFieldTest)
#include "tst_datafield.moc"

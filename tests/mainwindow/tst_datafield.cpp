#include "core/CalculatorCode.h"
#include "core/Document.h"
#include "core/RecordStore.h"
#include "doubles/MemoryClipboard.h"
#include "mainwindow/ClipboardCommands.h"
#include "mainwindow/DataFieldBinding.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QTextDocument>
#include <tuple>

namespace {

// Types into the field as a keyboard does; "\b" is Backspace.
void typeInto(QPlainTextEdit& field, const QString& keys)
{
    for (const QChar key : keys) {
        if (key == u'\b')
            QTest::keyClick(&field, Qt::Key_Backspace);
        else
            QTest::sendKeyEvent(QTest::Click, &field, Qt::Key_unknown, QString(key), {});
    }
}

// A field and its binding, wired as the window wires them.
struct BoundField
{
    explicit BoundField(Document& document) : binding(field, document)
    {
        QObject::connect(field.document(), &QTextDocument::contentsChange, &binding,
                         &DataFieldBinding::txtDataField_Change);
    }
    QPlainTextEdit field;
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
};

QTEST_MAIN(DataFieldTest)
#include "tst_datafield.moc"

#include "core/CalculatorCode.h"
#include "core/Document.h"
#include "core/RecordStore.h"
#include "mainwindow/DataFieldBinding.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QTextDocument>

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
        QTest::newRow("untouched characters keep their spelling")
            << "na\u00efve\r\nr\u00e9sum\u00e9 \\Gb" << -1 << " x"
            << "na\u00efve\r\nr\u00e9sum\u00e9 \\Gb x";
        QTest::newRow("an arrow typed") << "a\\Gb" << 1 << "\u2192"
                                        << "a\\->\\Gb";
        QTest::newRow("an arrow deleted") << "a\\->b" << 2 << "\b"
                                          << "ab";
        QTest::newRow("typed between the x-bar's halves") << "a\\x-" << 2 << "y"
                                                          << "axy\u0304";
        QTest::newRow("a stray backslash stays one") << "\\-" << -1 << ">"
                                                     << "\\\\->";
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
};

QTEST_MAIN(DataFieldTest)
#include "tst_datafield.moc"

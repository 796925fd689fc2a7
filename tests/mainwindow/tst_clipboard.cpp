#include "core/Document.h"
#include "core/RecordStore.h"
#include "doubles/MemoryClipboard.h"
#include "mainwindow/ClipboardCommands.h"
#include "mainwindow/DataFieldBinding.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QTextDocument>

// Edit > Cut, Copy and Paste between a record and the clipboard that every other program on the
// desktop shares: there line breaks are spelt as the desktop spells them, in the record CR LF.
class ClipboardTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The record's whole text is selected and `clipboard` is on the clipboard when the command
    // runs; `copied` is on the clipboard and `stored` in the record afterwards.
    void lineBreaks_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("copied");
        QTest::addColumn<QString>("stored");
        QTest::newRow("copy") << "copy"
                              << "one\r\ntwo"
                              << "clip"
                              << "one\ntwo"
                              << "one\r\ntwo";
        QTest::newRow("cut") << "cut"
                             << "one\r\ntwo"
                             << "clip"
                             << "one\ntwo"
                             << "";
        // A lone CR or LF from the file shows as a line break and is copied as one; the record
        // keeps it, since copying changes nothing.
        QTest::newRow("copy a lone CR") << "copy"
                                        << "a\rb"
                                        << "clip"
                                        << "a\nb"
                                        << "a\rb";
        QTest::newRow("copy a lone LF") << "copy"
                                        << "a\nb"
                                        << "clip"
                                        << "a\nb"
                                        << "a\nb";
        QTest::newRow("paste CR LF") << "paste"
                                     << "old"
                                     << "a\r\nb"
                                     << "a\r\nb"
                                     << "a\r\nb";
        QTest::newRow("paste LF") << "paste"
                                  << "old"
                                  << "a\nb"
                                  << "a\nb"
                                  << "a\r\nb";
        QTest::newRow("paste CR") << "paste"
                                  << "old"
                                  << "a\rb"
                                  << "a\rb"
                                  << "a\r\nb";
    }
    void lineBreaks()
    {
        QFETCH(QString, command);
        QFETCH(QString, record);
        QFETCH(QString, clipboard);
        Document document;
        document.records().setRecordText(*document.records().addRecord("H"), record);
        QPlainTextEdit field;
        DataFieldBinding binding(field, document);
        connect(field.document(), &QTextDocument::contentsChange, &binding,
                &DataFieldBinding::txtDataField_Change);
        binding.showRecord(0);
        field.selectAll();
        MemoryClipboard desktop;
        desktop.setText(clipboard);
        ClipboardCommands commands(field, document, desktop);
        const auto run = command == u"copy"  ? &ClipboardCommands::copy
                         : command == u"cut" ? &ClipboardCommands::cut
                                             : &ClipboardCommands::paste;
        (commands.*run)();
        QTEST(desktop.text(), "copied");
        QTEST(document.records().recordText(0), "stored");
    }
};

QTEST_MAIN(ClipboardTest)
#include "tst_clipboard.moc"

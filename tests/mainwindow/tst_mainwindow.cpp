#include "checks/AccessibleControls.h"
#include "checks/Files.h"
#include "core/CalculatorCheck.h"
#include "core/CalculatorCode.h"
#include "core/Preferences.h"
#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "mainwindow/ClipboardCommands.h"
#include "mainwindow/DataField.h"
#include "mainwindow/DataFieldBinding.h"
#include "mainwindow/HeaderListView.h"
#include "mainwindow/frmCalculatorCheck.h"
#include "mainwindow/frmFind.h"
#include "mainwindow/frmInsertCharacter.h"
#include "mainwindow/frmTabulet.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// Types into the field as a keyboard does; "\b" is Backspace, "\x7f" Delete, "\r" Return and
// "\n" Shift+Return.
void typeInto(QPlainTextEdit& field, const QString& keys)
{
    static const QHash<QChar, QKeyCombination> named{{u'\b', Qt::Key_Backspace},
                                                     {u'\x7f', Qt::Key_Delete},
                                                     {u'\r', Qt::Key_Return},
                                                     {u'\n', Qt::ShiftModifier | Qt::Key_Return}};
    for (const QChar key : keys) {
        if (named.contains(key))
            QTest::keyClick(&field, named[key].key(), named[key].keyboardModifiers());
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

// Adds a row of a data-driven test, the values in the columns' order.
const auto row = [](const char* name, const auto&... values) {
    (QTest::newRow(name) << ... << values);
};

} // namespace

// The main window's wiring: every menu item, button and key reaches its command, the layout,
// and the list's selection and the data field kept in step with the document (the tab order is
// driven through the real keys end to end); the data field bound to the document; and the
// windows as a screen reader finds them, in the one font they share.
class MainWindowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestServices> m_doubles;
    RecordingDialogs m_dialogs;
    std::unique_ptr<frmTabulet> m_window;
    QListView* m_list = nullptr;
    QPlainTextEdit* m_field = nullptr;
    std::unique_ptr<QDialog> m_dialog; // after the window, which is its parent

    template <typename T = QAction> T* child(const QString& name) const
    {
        return m_window->findChild<T*>(name);
    }
    QAction* button(const QString& key) const
    {
        return child<QToolBar>("Toolbar1")->findChild<QAction*>(key);
    }
    // Opens a file holding the given records at start.
    void open(const QByteArray& file)
    {
        QVERIFY(writeFile(m_dir->filePath("doc.DF"), file));
        m_window->openFileAtStart(m_dir->filePath("doc.DF"));
    }
    void select(int position) { m_list->setCurrentIndex(m_list->model()->index(position, 0)); }
    void selectInField(int start, int length)
    {
        QTextCursor cursor = m_field->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        m_field->setTextCursor(cursor);
    }
    // The field's text with every line break as CR LF.
    QString fieldText() const
    {
        static const QRegularExpression breaks(QStringLiteral("[\u2028\u2029]"));
        return m_field->document()->toRawText().replace(breaks, "\r\n");
    }
    // A window as at the next start, on the same settings.
    void reopen()
    {
        m_window = std::make_unique<frmTabulet>(m_doubles->services(), m_dialogs);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_list = child<QListView>("lstHeaders");
        m_field = child<QPlainTextEdit>("txtDataField");
    }
    // A header that the calculator's view shows otherwise, and a record too large for any HP 48,
    // in the window or one of the windows it opens.
    QWidget* shown(const QString& which)
    {
        m_doubles->settings.write(PreferenceKey::AsciiHeader, "1");
        m_doubles->settings.write(PreferenceKey::AsciiText, "%%HP: T(3)A(D)F(.);");
        open("{\r\n\"A \\->\"\r\n\"Big\r\n" + QByteArray(70, 'x').append("\r\n").repeated(2000) +
             "\"\r\n}\r\n");
        if (which == u"Find" || which == u"Replace") {
            child(which == u"Find" ? "mnuEditFind" : "mnuEditReplace")->trigger();
            return m_window->findChild<frmFind*>();
        }
        const auto& records = *qobject_cast<const RecordStore*>(m_list->model());
        if (which == u"Insert Character")
            m_dialog = std::make_unique<frmInsertCharacter>(3, m_window.get());
        else if (which == u"Calculator Check")
            m_dialog = std::make_unique<frmCalculatorCheck>(
                calculator::checkForCalculator(records,
                                               preferences::transferHeader(m_doubles->settings)),
                records, m_window.get());
        else
            return m_window.get();
        m_dialog->show();
        return m_dialog.get();
    }
    QByteArray saved()
    {
        child("mnuFileSaveItem")->trigger();
        return contentsOf(m_dir->filePath("doc.DF"));
    }

private Q_SLOTS:
    // Exit and the close box close the window; the test program must outlive that.
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init()
    {
        m_dialog.reset();
        m_window.reset(); // before the services it uses
        m_dir = std::make_unique<QTemporaryDir>();
        m_doubles = std::make_unique<TestServices>();
        m_dialogs.opened.clear();
        m_dialogs.link.watched.clear();
        reopen();
    }

    // What each control starts, on a document of one selected entry whose text "abc" has its
    // "b" selected. Every question is cancelled. The outcome is what was shown, then the field
    // and the clipboard. The field's own keys do what the menu does, Undo takes the typing back
    // wherever the focus is, and the toolbar's buttons run the menu commands whether or not the
    // menu items are enabled; its gaps run none.
    void controlsReachTheirCommands_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("outcome");
        const QList<std::pair<QString, QStringList>> outcomes{
            {"Save Current?|abc|clip",
             {"mnuFileNewItem", "mnuFileOpenItem", "mnuFileExit", "close box", "tbrFileNew",
              "tbrFileOpen"}},
            {"save as|abc|clip",
             {"mnuFileSaveItem", "mnuFileSaveAsItem", "mnuFileExportPdf", "tbrFileSave"}},
            {"Printer Error|abc|clip", {"mnuFilePrint", "tbrFilePrint"}},
            {"preferences|abc|clip", {"mnuFilePreferences", "tbrPreferences"}},
            {"remove settings|abc|clip", {"mnuRegDelete"}},
            {"|ac|b", {"mnuEditCut", "Ctrl+X", "tbrCut"}},
            {"|abc|b", {"mnuEditCopy", "tbrCopy"}},
            {"|aclipc|clip", {"mnuEditPaste", "Ctrl+V", "tbrPaste"}},
            {"||clip", {"mnuEditUndo", "Ctrl+Z", "tbrUndo"}},
            {"|abc|clip", {"mnuEditRedo", "sep"}},
            {"New Header|abc|clip", {"mnuHeadersNewHeader", "cmdNewHeader"}},
            {"Edit Header|abc|clip", {"mnuHeadersEditHeader", "double click"}},
            {"Remove Header|abc|clip", {"mnuHeadersRemoveHeader"}},
            {"Send Document|abc|clip", {"mnuCalculatorSend"}},
            {"Calculator Link|abc|clip", {"mnuCalculatorGet"}},
            {"Save Current?|abc|clip", {"mnuCalculatorReceive"}},
            {"settings|abc|clip", {"mnuCalculatorSettings"}},
            {"help|abc|clip", {"mnuHelpContents", "F1"}},
            {"about|abc|clip", {"mnuHelpAboutTabulet"}}};
        for (const auto& [outcome, controls] : outcomes) {
            for (const QString& control : controls)
                QTest::newRow(qPrintable(control)) << control << outcome;
        }
    }

    void controlsReachTheirCommands()
    {
        QFETCH(QString, control);
        m_doubles->questions.answerInput(QStringLiteral("x"));
        child<QPushButton>("cmdNewHeader")->click();
        select(0);
        QTest::keyClicks(m_field, QStringLiteral("abc"));
        selectInField(1, 1);
        m_doubles->clipboard.setText(QStringLiteral("clip"));
        m_doubles->questions.asked.clear();
        m_doubles->questions.answerMessage(QMessageBox::Cancel);
        m_doubles->questions.answerInput(QString());
        m_doubles->fileDialogs.cancelFile();
        m_doubles->printers.hasDefaultPrinter = false;

        if (control == u"cmdNewHeader") {
            QTest::mouseClick(child<QPushButton>(control), Qt::LeftButton);
        } else if (control == u"double click") {
            QTest::mouseDClick(m_list->viewport(), Qt::LeftButton, {},
                               m_list->visualRect(m_list->model()->index(0, 0)).center());
        } else if (control.startsWith(u"Ctrl+") || control == u"F1") {
            QTest::keySequence(m_field, QKeySequence(control));
        } else if (control == u"close box") {
            QVERIFY(!m_window->close());
        } else if (control.startsWith(u"tbr") || control == u"sep") {
            for (QAction* item : m_window->findChildren<QAction*>(QRegularExpression("^mnu")))
                item->setEnabled(false);
            button(control)->trigger();
        } else {
            child(control)->setEnabled(true);
            child(control)->trigger();
        }

        QStringList seen;
        for (const auto& asked : m_doubles->questions.asked)
            seen << asked.title;
        seen << m_doubles->fileDialogs.shown << m_dialogs.opened << m_dialogs.link.watched;
        QTEST(seen.join(u", ") + u'|' + m_field->toPlainText() + u'|' + m_doubles->clipboard.text(),
              "outcome");
    }

    // Undo selects the record it changed and names the step; renaming and Move Down keep the
    // entry selected, and the file is saved in the new order; removing selects nothing and
    // leaves the removed text in the field, stored nowhere.
    void selectionFollowsCommands()
    {
        open("{\r\n\"a\r\none\"\r\n\"b\r\ntwo\"\r\n\"c\r\nthree\"\r\n}\r\n");
        QVERIFY(m_field->isReadOnly()); // no entry selected yet
        select(1);
        QTest::keyClicks(m_field, QStringLiteral("xy"));
        select(0);
        QCOMPARE(child("mnuEditUndo")->text(), "&Undo Typing");
        child("mnuEditUndo")->trigger();
        QCOMPARE(m_list->currentIndex().row(), 1);
        QCOMPARE(m_field->toPlainText(), "two");
        QCOMPARE(child("mnuEditRedo")->text(), "&Redo Typing");
        QVERIFY(!child("mnuEditUndo")->isEnabled());
        m_doubles->questions.answerInput(QStringLiteral("B"));
        child("mnuHeadersEditHeader")->trigger();
        QCOMPARE(m_list->selectionModel()->selectedRows().value(0).row(), 1);
        child("mnuHeadersMoveDown")->trigger();
        child("mnuHeadersMoveDown")->trigger(); // at the end: stays
        QCOMPARE(m_list->selectionModel()->selectedRows().value(0).row(), 2);
        QCOMPARE(m_field->toPlainText(), "two");
        QCOMPARE(saved(),
                 QByteArray("{\r\n\"a\r\none\"\r\n\"c\r\nthree\"\r\n\"B\r\ntwo\"\r\n}\r\n"));
        child("mnuEditUndo")->trigger();
        QCOMPARE(m_list->selectionModel()->selectedRows().value(0).row(), 1);
        QTest::keyClicks(m_field, QStringLiteral("x"));
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        child("mnuHeadersRemoveHeader")->trigger();
        QVERIFY(m_list->selectionModel()->selectedRows().isEmpty());
        // The field shows the removed text but takes nothing: no key, no Cut, no Paste; it can
        // still be selected and copied.
        QVERIFY(m_field->textInteractionFlags() & Qt::TextSelectableByKeyboard);
        QTest::keyClicks(m_field, QStringLiteral("y"));
        selectInField(0, 1);
        m_doubles->clipboard.setText(QStringLiteral("clip"));
        child("mnuEditCut")->trigger();
        child("mnuEditPaste")->trigger();
        QCOMPARE(m_field->toPlainText() + u'|' + m_doubles->clipboard.text(), "xtwo|clip");
        QCOMPARE(saved(), QByteArray("{\r\n\"a\r\none\"\r\n\"c\r\nthree\"\r\n}\r\n"));
    }

    // Random keystrokes, pastes and cuts, every few of them followed by a look at another record
    // and back: the record always holds what the field shows, and the file what it holds.
    void typingReachesTheRecord()
    {
        // Lone LF in a record shows as a line break, and is stored as CR LF once typed over.
        open("{\r\n\"a\r\nfirst\nline\r\nsecond\"\r\n\"b\"\r\n}\r\n");
        QRandomGenerator random(42);
        select(0);
        for (int step = 0; step < 300; ++step) {
            const int length = m_field->document()->characterCount() - 1;
            const int at = random.bounded(length + 1);
            selectInField(at, random.bounded(std::min(3, length - at) + 1));
            const char* const edits[][2] = {
                {"\r", "\n"}, {"\b", "\x7f"}, {"xy", "xy"}, {"cut", "cut"}, {"paste", "paste"}};
            const QString edit = edits[random.bounded(5)][random.bounded(2)];
            m_doubles->clipboard.setText(QStringLiteral("p\r\nq\r\n"));
            if (edit == u"cut" || edit == u"paste")
                child(edit == u"cut" ? "mnuEditCut" : "mnuEditPaste")->trigger();
            else
                typeInto(*m_field, edit);
            if (step % 4 != 3)
                continue;
            const QString shown = fieldText();
            select(1);
            select(0);
            QCOMPARE(fieldText(), shown);
        }
        const QString expected = fieldText();
        const QByteArray text = expected.isEmpty() ? "" : "\r\n" + expected.toLatin1();
        QCOMPARE(saved(), "{\r\n\"a" + text + "\"\r\n\"b\"\r\n}\r\n");
    }

    // The list's own keys, and an entry dragged within it, go through the header commands;
    // the toolbar's Undo and Redo follow the Edit menu's items.
    void listKeysAndDrag_data()
    {
        QTest::addColumn<QString>("action");
        // Questions asked, entries, selected, focus, whether Undo is enabled in the menu and on
        // the toolbar.
        QTest::addColumn<QString>("outcome");
        for (const auto& [action, outcome] : {std::pair{"F2", "Edit Header|a b c|1|list|00"},
                                              {"Delete", "Remove Header|a c|-1|list|11"},
                                              {"Return", "|a b c|1|field|00"},
                                              {"drop 0", "|b a c|0|list|11"},
                                              {"drop 3", "|a c b|2|list|11"}})
            QTest::newRow(action) << QString(action) << QString(outcome);
    }
    void listKeysAndDrag()
    {
        QFETCH(QString, action);
        open("{\r\n\"a\"\r\n\"b\"\r\n\"c\"\r\n}\r\n");
        select(1);
        m_list->setFocus();
        m_doubles->questions.answerInput(QString());
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        if (action.startsWith(u"drop"))
            Q_EMIT qobject_cast<HeaderListView*>(m_list)->moveRequested(1, action.mid(5).toInt());
        else
            QTest::keySequence(m_list, QKeySequence(action));
        QStringList seen{m_doubles->questions.asked.value(0).title, {}};
        for (int row = 0; row < m_list->model()->rowCount(); ++row)
            seen[1] += (row ? " " : "") + m_list->model()->index(row, 0).data().toString();
        seen << QString::number(m_list->selectionModel()->selectedRows().value(0, {}).row())
             << (QApplication::focusWidget() == m_field ? "field" : "list")
             << QString::number(child("mnuEditUndo")->isEnabled()) +
                    QString::number(button("tbrUndo")->isEnabled());
        QTEST(seen.join(u'|'), "outcome");
    }

    // With the calculator's characters shown, every record looked at is saved byte for byte;
    // what is typed is stored as the next save's mode spells it.
    void calculatorView_data()
    {
        QTest::addColumn<QString>("transferText"); // empty: no transfer header, so T(1)
        QTest::addColumn<QByteArray>("stored");    // of the arrow, the guillemet, a backslash
        QTest::newRow("T(3)") << "%%HP: T(3)A(D)F(.);" << QByteArray("\\->\\<<\\\\");
        QTest::newRow("T(2)") << "%%HP: T(2)A(D)F(.);" << QByteArray("\\->\xab\\\\");
        QTest::newRow("T(1)") << "" << QByteArray("\x8d\xab\\");
    }
    void calculatorView()
    {
        QFETCH(QString, transferText);
        QFETCH(QByteArray, stored);
        m_doubles->settings.write(PreferenceKey::AsciiHeader, transferText.isEmpty() ? "0" : "1");
        m_doubles->settings.write(PreferenceKey::AsciiText, transferText);
        const QByteArray header = transferText.isEmpty() ? "" : transferText.toLatin1() + "\r\n";
        const QByteArray file =
            header + "{\r\n\"A \\->\r\nx\\141\x8d\\q\r\n\\200\"\r\n\"B\"\r\n}\r\n";
        open(file);
        child("mnuViewCalculator")->trigger();
        for (int position : {0, 1})
            select(position);
        QCOMPARE(saved(), file);
        // Typed one at a time, as the test's keyboard cannot type an arrow.
        for (const QChar typed : QStringLiteral("\u2192\u00ab\\"))
            m_field->insertPlainText(typed);
        QVERIFY2(saved().contains("\"B\r\n" + stored + "\""), saved().constData());
        QVERIFY(m_doubles->questions.asked.isEmpty()); // no warning: all of it can be saved
    }

    // The check lists what will not arrive as shown, and choosing one goes to its record;
    // Insert Character puts in the next save's spelling, with the view off too.
    void calculatorDialogs()
    {
        m_doubles->settings.write(PreferenceKey::AsciiHeader, "1");
        m_doubles->settings.write(PreferenceKey::AsciiText, "%%HP: T(3)A(D)F(.);");
        open("{\r\n\"A\r\nfine\"\r\n\"B\r\nbad \\q\"\r\n}\r\n");
        QTimer::singleShot(0, [this] {
            auto* problems = m_window->findChild<QListWidget*>("lstProblems");
            QCOMPARE(problems->count(), 1);
            QVERIFY(problems->item(0)->text().startsWith("B (text): a backslash"));
            Q_EMIT problems->itemActivated(problems->item(0));
        });
        child("mnuFileCalculatorCheck")->trigger();
        QCOMPARE(m_list->currentIndex().row(), 1);
        QCOMPARE(m_field->textCursor().selectedText(), "\\");
        QTimer::singleShot(0, [this] {
            m_window->findChild<QDialog*>("frmInsertCharacter")
                ->findChild<QToolButton*>("chr141")
                ->click();
        });
        child("mnuEditInsertCharacter")->trigger();
        QCOMPARE(m_field->toPlainText(), "bad \\->q");
    }

    // The window returns to where it stood, unless that is on no screen there is now. Positions
    // in pixels, 15 twips to the pixel. Off, the window keeps its fixed size; on, the list and
    // the field take the extra width and share the extra height, the New Header button stays
    // beside the list, the window never gets smaller than its fixed size. Its size, its place
    // and the view are kept between runs.
    void windowPlaceAndSize_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("restored");
        QTest::addColumn<bool>("resizable");
        QTest::addColumn<QSize>("asked");
        // The client area, the toolbar, the list, the button, the field, then where the labels
        // stand, whose size is their text's.
        QTest::addColumn<QString>("expected");
        const QString fixed("0,18 371x286 0,0 371x30 8,56 257x82 280,56 81x25 8,165 257x113 8,37 "
                            "8,149");
        row("on the screen, fixed", "30 40", true, false, QSize(800, 600), fixed);
        row("off every screen, larger", "5000 40", false, true, QSize(571, 387),
            "0,18 571x387 0,0 571x30 8,56 457x132 480,56 81x25 8,215 457x164 8,37 8,199");
        row("title bar above the screen, smaller than fixed", "30 -200", false, true,
            QSize(100, 100), fixed);
        row("not a number", "x 40", false, false, QSize(800, 600), fixed);
    }
    void windowPlaceAndSize()
    {
        QFETCH(QString, stored);
        QFETCH(bool, restored);
        QFETCH(bool, resizable);
        QFETCH(QSize, asked);
        const QStringList place = stored.split(u' ');
        m_window.reset();
        m_doubles->settings.writeIn("Window", "Left", place[0]);
        m_doubles->settings.writeIn("Window", "Top", place[1]);
        reopen();
        QCOMPARE(m_window->pos() == QPoint(place[0].toInt(), place[1].toInt()), restored);
        QWidget* client = child<QWidget>("clientArea");
        const QSize frame = m_window->size() - client->size();
        if (resizable)
            child("mnuViewResizable")->trigger();
        m_window->resize(asked + frame);
        m_window->move(50, 60);
        QCoreApplication::processEvents();
        QStringList shown;
        for (const char* name : {"clientArea", "Toolbar1", "lstHeaders", "cmdNewHeader",
                                 "txtDataField", "lblDataHeaders", "lblDataField"}) {
            const QWidget* widget = child<QWidget>(name);
            shown << QStringLiteral("%1,%2").arg(widget->x()).arg(widget->y());
            if (!qobject_cast<const QLabel*>(widget))
                shown << QStringLiteral("%1x%2").arg(widget->width()).arg(widget->height());
        }
        QTEST(shown.join(u' '), "expected");
        QCOMPARE(m_window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint), resizable);
        child("mnuViewCalculator")->trigger();
        const QSize closedAt = client->size();
        QVERIFY(m_window->close());
        QCOMPARE(m_doubles->settings.readIn("Window", "Left") + u' ' +
                     m_doubles->settings.readIn("Window", "Top") + u' ' +
                     m_doubles->settings.readIn("Window", "Calculator Characters"),
                 "50 60 1");
        reopen();
        QVERIFY(child("mnuViewCalculator")->isChecked());
        QCOMPARE(child("mnuViewResizable")->isChecked(), resizable);
        QCOMPARE(child<QWidget>("clientArea")->size(), closedAt);
    }

    // The menus stand in their order, no two items of a menu share an access key, and every
    // item has its section in the user's guide.
    void everyItemInTheGuide()
    {
        QStringList menus;
        for (const QAction* menu : m_window->menuBar()->actions()) {
            menus << menu->text();
            QSet<int> keys;
            for (const QAction* item : menu->menu()->actions()) {
                const int key = QKeySequence::mnemonic(item->text())[0].toCombined();
                QVERIFY2(item->isSeparator() || !keys.contains(key), qPrintable(item->text()));
                keys.insert(key);
            }
        }
        QCOMPARE(menus.join(u' '), "&File &Edit He&aders &View &Calculator &Help");
        const QByteArray text = contentsOf(QStringLiteral(TABULET_SOURCE_DIR "/docs/help.html"));
        for (const QAction* item : m_window->findChildren<QAction*>(QRegularExpression("^mnu"))) {
            if (item->isSeparator() || !item->isVisible() || item->menu() != nullptr)
                continue;
            QVERIFY2(text.contains("id=\"" + item->objectName().toLatin1() + '"'),
                     qPrintable(item->objectName()));
        }
    }

    // A file dropped anywhere, the data field included, opens as Open opens it, and so does
    // one chosen from Open Recent, which lists the files opened, newest first, numbered, with
    // their paths as tool tips; Clear empties the list and disables the menu. Text dropped on
    // the field is typed into the record.
    void filesComeInByDropAndRecent()
    {
        QMenu* recent = m_window->findChild<QMenu*>("mnuFileRecent");
        const auto items = [&] {
            Q_EMIT child<QMenu>("mnuFile")->aboutToShow();
            QStringList shown;
            for (const QAction* item : recent->actions())
                shown << item->text() + u' ' + item->toolTip().section(u'/', -2, -1);
            return shown.join(u", ") + (recent->menuAction()->isEnabled() ? "" : " (disabled)");
        };
        QCOMPARE(items(), " , Clear Recently Opened Clear Recently Opened (disabled)");
        open("{\r\n\"a\r\none\"\r\n}\r\n");
        select(0);
        const auto drop = [](QWidget* target, QMimeData* data) {
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, {});
            QApplication::sendEvent(target, &enter);
            QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, {});
            QApplication::sendEvent(target, &dropped);
            QCoreApplication::processEvents();
            return enter.isAccepted() && dropped.isAccepted();
        };
        QMimeData text;
        text.setText(QStringLiteral("new "));
        QVERIFY(drop(m_field->viewport(), &text));
        QCOMPARE(m_field->toPlainText(), "new one");
        QCOMPARE(saved(), QByteArray("{\r\n\"a\r\nnew one\"\r\n}\r\n"));
        QFile::copy(m_dir->filePath("doc.DF"), m_dir->filePath("R&D.DF"));
        const std::pair<QWidget*, QString> drops[] = {{m_field->viewport(), "R&D.DF"},
                                                      {m_window.get(), "doc.DF"}};
        for (const auto& [target, name] : drops) {
            QMimeData file;
            file.setUrls({QUrl::fromLocalFile(m_dir->filePath(name))});
            file.setText(m_dir->filePath(name));
            m_doubles->questions.answerMessage(QMessageBox::No);
            QVERIFY(drop(target, &file));
            QCOMPARE(m_window->windowTitle(), "Tabulet 1.0 - " + name);
            QCOMPARE(m_field->toPlainText(), "new one");
        }
        const QString folder = QFileInfo(m_dir->path()).fileName();
        QCOMPARE(items(), "&1 doc.DF " + folder + "/doc.DF, &2 R&&D.DF " + folder +
                              "/R&D.DF,  , Clear Recently Opened Clear Recently Opened");
        m_doubles->questions.answerMessage(QMessageBox::No);
        recent->actions().at(1)->trigger();
        QCOMPARE(m_window->windowTitle(), "Tabulet 1.0 - R&D.DF");
        recent->actions().constLast()->trigger();
        QVERIFY(items().endsWith("(disabled)"));
    }

    // The Find window keeps one size for Find and one for Replace, whatever its status says.
    void findWindowSizeStaysPut()
    {
        frmFind window(nullptr);
        const auto settled = [&window] {
            QCoreApplication::sendPostedEvents();
            return window.size();
        };
        window.showFor(false);
        const QSize findSize = settled();
        window.showFor(true);
        const QSize replaceSize = settled();
        QVERIFY(replaceSize.height() > findSize.height());

        const QString status = QStringLiteral("Replaced 1200. 34 in headers not replaced: the "
                                              "header would be longer than 22 characters.");
        window.setStatus(status);
        QCOMPARE(settled(), replaceSize);
        const auto* label = window.findChild<QLabel*>(QStringLiteral("lblStatus"));
        QCOMPARE(window.status() + label->toolTip(), status + status);
        QVERIFY(label->text().endsWith(QChar(0x2026)));
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());

        window.showFor(false);
        window.setStatus(status);
        QCOMPARE(settled(), findSize);
    }

    // The windows as a screen reader finds them, in the one font they share: each entry is read
    // out as the list shows it, and whatever the font's size, the words that tell how the list
    // fits are shown whole.
    void everyControlIsNamed_data()
    {
        QTest::addColumn<QString>("window");
        for (const char* window :
             {"main window", "Find", "Replace", "Insert Character", "Calculator Check"})
            QTest::newRow(window) << window;
    }
    void everyControlIsNamed()
    {
        QFETCH(QString, window);
        QWidget* shownWindow = shown(window);
        QCOMPARE(accessibilityFaults(*shownWindow), QString());
        child("mnuViewCalculator")->trigger();
        const QAccessibleInterface* entries = QAccessible::queryAccessibleInterface(m_list);
        QCOMPARE(entries->child(0)->text(QAccessible::Name) + u'|' +
                     entries->child(1)->text(QAccessible::Name),
                 "A \u2192|Big");
        for (const int pixels : {11, 20}) {
            QFont font = shownWindow->font();
            font.setPixelSize(pixels);
            shownWindow->setFont(font);
            QCoreApplication::sendPostedEvents();
            int shownWhole = 0;
            for (const QLabel* label : shownWindow->findChildren<QLabel*>()) {
                const QRect room = label->contentsRect();
                const QRect needed =
                    label->fontMetrics().boundingRect(room, Qt::TextWordWrap, label->text());
                shownWhole += label->text().startsWith("does not fit") && room.contains(needed);
            }
            QCOMPARE(shownWhole, window == u"Calculator Check" ? 2 : 0);
        }
    }

    // A paragraph too long to lay out at each keystroke is shown in pieces, which are no
    // characters of the record; the clipboard, shared with every other program, spells line
    // breaks as the desktop does, a lone CR or LF read from a file included, while the record
    // keeps CR LF. With the calculator's characters shown (T(3)), typing stores what was typed
    // in the file's spelling and leaves every other character as the file spells it. Whatever
    // the user does, the record and the file it is saved to hold exactly the text, and Undo
    // gives back the file's bytes.
    void fieldKeepsTheRecordExactly_data()
    {
        QTest::addColumn<int>("mode"); // the calculator's characters shown in, -1: not shown
        QTest::addColumn<QString>("record");
        // Where the cursor goes, ':', what is typed or the command, ':', the clipboard before.
        // The place is "all", "end", a position, or one counted from the second piece's start.
        QTest::addColumn<QString>("action");
        // The record; after a command the clipboard, '|', the record; the selection for a place.
        QTest::addColumn<QString>("after");
        const QString line = alphabet(3 * DataField::PieceLength);
        const QString words = "top\r\n" + QString(line).replace(u'q', u' ') + "\r\nend";
        const int piece = DataField::PieceLength;
        row("typed at the end", -1, line, "end:xy", line + "xy");
        row("typed next to a piece's start", -1, line, "second+2:z",
            QString(line).insert(piece + 2, u'z'));
        row("Delete at a piece's end", -1, line, "second-1:\x7f", line);
        row("Backspace at a piece's start, twice", -1, line, "second:\b\b",
            QString(line).remove(piece - 1, 1));
        row("a line broken in a piece", -1, line, "1:\rx", QString(line).insert(1, "\r\nx"));
        row("a piece grown too long", -1, line.left(DataField::LongestBlock - 2), "end:xyz",
            line.left(DataField::LongestBlock - 2) + "xyz");
        row("words and lines", -1, words, "end:!", words + "!");
        row("all copied", -1, "top\r\n" + line, "all:copy", "top\n" + line + "|top\r\n" + line);
        row("all cut", -1, words, "all:cut", QString(words).replace("\r\n", "\n") + u'|');
        row("pasted", -1, QStringLiteral("ab"), "1:paste:" + line, line + "|a" + line + "b");
        for (const char* each :
             {"copy|a\rb|a\nb|a\rb", "copy|a\nb|a\nb|a\nb", "paste:a\r\nb|old|a\r\nb|a\r\nb",
              "paste:a\nb|old|a\nb|a\r\nb", "paste:a\rb|old|a\rb|a\r\nb"}) {
            const QStringList cell = QString::fromLatin1(each).split(u'|');
            row(qPrintable(QString(each).replace(u'\r', "CR").replace(u'\n', "LF")), -1, cell[1],
                "all:" + cell[0], cell[2] + u'|' + cell[3]);
        }
        row("a place shown in the third piece", -1, line, "all:place", line.mid(2 * piece + 5, 3));
        row("untouched characters keep their spelling", 3, "na\u00efve\r\nr\u00e9sum\u00e9 \\Gb",
            "end: x", "na\u00efve\r\nr\u00e9sum\u00e9 \\Gb x");
        row("an arrow typed", 3, "a\\Gb", "1:\u2192", "a\\->\\Gb");
        row("an arrow deleted", 3, "a\\->b", "2:\b", "ab");
        row("typed between the x-bar's halves", 3, "a\\x-", "2:y", "axy\u0304");
        row("a stray backslash stays one", 3, "\\-", "end:>", "\\\\->");
        // Shown in pieces, the view's spelling still maps to the file's past every piece.
        const QString greek = "\\Gb" + line;
        row("an arrow typed in the view's third piece", 3, greek,
            QString::number(2 * piece + 7) + ":\u2192",
            QString(greek).insert(2 * piece + 7, "\\->"));
    }
    void fieldKeepsTheRecordExactly()
    {
        QFETCH(int, mode);
        QFETCH(QString, record);
        QFETCH(QString, action);
        Document document;
        // Only a record typed in keeps a lone CR; the view is tried on one read from a file, whose
        // bytes it shows as they are.
        if (mode < 0)
            document.records().setRecordText(*document.records().addRecord("A"), record);
        else
            document.FileInSub("{\r\n\"A\r\n" + record.toLatin1() + "\"\r\n}\r\n");
        const QByteArray file = document.fileBytes({});
        DataField field; // wired to its binding as the window wires them
        DataFieldBinding binding(field, document);
        QObject::connect(field.document(), &QTextDocument::contentsChange, &binding,
                         &DataFieldBinding::txtDataField_Change);
        binding.setShownMode(mode);
        binding.showRecord(0);
        // What the field should show of a record's text, line breaks as CR LF.
        const auto shown = [mode](const QString& text) -> QString {
            static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
            return QString(mode < 0 ? text : calculator::shownText(text, mode))
                .replace(lineBreak, "\r\n");
        };
        QCOMPARE(binding.text(), shown(record));
        const QString place = action.section(u':', 0, 0), keys = action.section(u':', 1, 1);
        QTextCursor cursor = field.textCursor();
        if (place == u"all")
            cursor.select(QTextCursor::Document);
        else if (place == u"end")
            cursor.movePosition(QTextCursor::End);
        else if (place.startsWith(u"second"))
            cursor.setPosition(field.document()->begin().next().position() + place.mid(6).toInt());
        else
            cursor.setPosition(place.toInt());
        field.setTextCursor(cursor);
        MemoryClipboard desktop;
        desktop.setText(action.section(u':', 2));
        ClipboardCommands commands(field, document, desktop);
        const bool command = keys == u"copy" || keys == u"cut" || keys == u"paste";
        if (command)
            (commands.*(keys == u"copy"  ? &ClipboardCommands::copy
                        : keys == u"cut" ? &ClipboardCommands::cut
                                         : &ClipboardCommands::paste))();
        else if (keys == u"place")
            binding.placeCursor(2 * DataField::PieceLength + 5, 3);
        else
            typeInto(field, keys);
        QTEST(command            ? desktop.text() + u'|' + document.records().recordText(0)
              : keys == u"place" ? field.selectedText()
                                 : document.records().recordText(0),
              "after");
        // A piece grown too long is cut once the keystroke is over.
        QCoreApplication::processEvents();
        QCOMPARE(binding.text(), shown(document.records().recordText(0)));
        for (QTextBlock block = field.document()->begin(); block.isValid(); block = block.next())
            QVERIFY(block.length() <= DataField::LongestBlock + 1);
        while (document.history().canUndo())
            document.history().undo();
        QCOMPARE(document.fileBytes({}), file);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"

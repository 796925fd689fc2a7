#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolBar>

// The Edit menu's commands on the data field, the states they show when the menu opens, and
// the toolbar's dispatch to the menu commands.
class EditMenuTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void menuStates_data();
    void menuStates();
    void nonTextClipboardDisablesPaste();
    void commandsReachTheRecordOnlyWithASelectedHeader_data();
    void commandsReachTheRecordOnlyWithASelectedHeader();
    void cutOrCopyOfNothingEmptiesTheClipboard_data();
    void cutOrCopyOfNothingEmptiesTheClipboard();
    void pasteOfNothingDeletesTheSelection();
    void selectAll_data();
    void selectAll();
    void toolbarKeys_data();
    void toolbarKeys();

private:
    void openEditMenu();
    void selectInField(int start, int length);

    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<frmTabulet> m_window;
};

void EditMenuTest::init()
{
    m_doubles = std::make_unique<TestServices>();
    m_window = std::make_unique<frmTabulet>(m_doubles->services());
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void EditMenuTest::cleanup()
{
    QVERIFY(m_doubles->questions.allAnswered());
    QVERIFY(m_doubles->fileDialogs.allAnswered());
    m_window.reset();
    m_doubles.reset();
}

void EditMenuTest::openEditMenu()
{
    m_window->mnuEdit->popup(QPoint(0, 0));
    m_window->mnuEdit->hide();
}

void EditMenuTest::selectInField(int start, int length)
{
    QTextCursor cursor = m_window->txtDataField->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    m_window->txtDataField->setTextCursor(cursor);
}

void EditMenuTest::menuStates_data()
{
    QTest::addColumn<QString>("fieldText");
    QTest::addColumn<int>("selectionLength");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<bool>("cutAndCopy");
    QTest::addColumn<bool>("paste");
    QTest::addColumn<bool>("selectAll");

    const QString clip = QStringLiteral("clip");
    QTest::newRow("no selection") << QStringLiteral("abc") << 0 << clip << false << true << true;
    QTest::newRow("selection") << QStringLiteral("abc") << 2 << clip << true << true << true;
    QTest::newRow("only a line break selected")
        << QStringLiteral("\nb") << 1 << clip << true << true << true;
    QTest::newRow("empty clipboard")
        << QStringLiteral("abc") << 1 << QString() << true << false << true;
    QTest::newRow("empty field") << QString() << 0 << clip << false << true << false;
    QTest::newRow("all empty") << QString() << 0 << QString() << false << false << false;
}

void EditMenuTest::menuStates()
{
    QFETCH(QString, fieldText);
    QFETCH(int, selectionLength);
    QFETCH(QString, clipboard);
    QFETCH(bool, cutAndCopy);
    QFETCH(bool, paste);
    QFETCH(bool, selectAll);
    m_window->txtDataField->setPlainText(fieldText);
    selectInField(0, selectionLength);
    m_doubles->clipboard.setText(clipboard);
    // The field has the focus, which enables Paste until the menu opens.
    m_window->txtDataField->setFocus();
    for (QAction* item : m_window->mnuEdit->actions())
        item->setEnabled(!item->isEnabled());

    // What the user sees in the open menu, then what stays once it has closed again.
    m_window->mnuEdit->popup(QPoint(0, 0));
    for (int open = 1; open >= 0; --open) {
        QCOMPARE(m_window->mnuEditCut->isEnabled(), cutAndCopy);
        QCOMPARE(m_window->mnuEditCopy->isEnabled(), cutAndCopy);
        QCOMPARE(m_window->mnuEditPaste->isEnabled(), paste);
        QCOMPARE(m_window->mnuSelectAll->isEnabled(), selectAll);
        m_window->mnuEdit->hide();
    }
}

void EditMenuTest::nonTextClipboardDisablesPaste()
{
    QtClipboard systemClipboard;
    const Services doubles = m_doubles->services();
    frmTabulet window(Services{doubles.questions, doubles.fileDialogs, doubles.settings,
                               systemClipboard, doubles.printers, doubles.folders});

    auto* imageOnly = new QMimeData;
    imageOnly->setData(QStringLiteral("image/png"), QByteArray("\x89PNG", 4));
    QGuiApplication::clipboard()->setMimeData(imageOnly);
    window.mnuEdit->popup(QPoint(0, 0));
    window.mnuEdit->hide();
    QVERIFY(!window.mnuEditPaste->isEnabled());

    QGuiApplication::clipboard()->setText(QStringLiteral("text"));
    window.mnuEdit->popup(QPoint(0, 0));
    window.mnuEdit->hide();
    QVERIFY(window.mnuEditPaste->isEnabled());
}

void EditMenuTest::commandsReachTheRecordOnlyWithASelectedHeader_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("headerSelected");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("clipboard");

    // The record holds "one\r\ntwo"; the field's selection is "ne", the line break and "t".
    const QString cut = QStringLiteral("owo");
    const QString pasted = QStringLiteral("oX\r\nYwo");
    const QString copied = QStringLiteral("ne\r\nt");
    const QString original = QStringLiteral("one\r\ntwo");
    for (const bool selected : {true, false}) {
        const char* header = selected ? "header selected" : "no header selected";
        QTest::addRow("cut, %s", header) << "cut" << selected << cut << copied;
        QTest::addRow("paste, %s", header) << "paste" << selected << pasted << "X\r\nY";
        QTest::addRow("copy, %s", header) << "copy" << selected << original << copied;
    }
}

void EditMenuTest::commandsReachTheRecordOnlyWithASelectedHeader()
{
    QFETCH(QString, command);
    QFETCH(bool, headerSelected);
    QFETCH(QString, field);
    QFETCH(QString, clipboard);
    const QString original = QStringLiteral("one\r\ntwo");
    const qint32 index = *m_window->store().addRecord(QStringLiteral("A"));
    m_window->store().setRecordText(index, original);
    if (headerSelected)
        m_window->lstHeaders->setCurrentIndex(m_window->store().index(0));
    else
        m_window->setDataFieldText(original);
    QCOMPARE(m_window->selectedPosition(), headerSelected ? 0 : -1);
    selectInField(1, 4);
    m_doubles->clipboard.setText(QStringLiteral("X\r\nY"));

    if (command == QLatin1String("cut"))
        m_window->mnuEditCut->trigger();
    else if (command == QLatin1String("paste"))
        m_window->mnuEditPaste->trigger();
    else
        m_window->mnuEditCopy->trigger();

    QCOMPARE(m_window->dataFieldText(), field);
    QCOMPARE(m_window->txtBuffer, field);
    QCOMPARE(m_doubles->clipboard.text(), clipboard);
    QCOMPARE(m_window->store().recordText(index), headerSelected ? field : original);
}

void EditMenuTest::cutOrCopyOfNothingEmptiesTheClipboard_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("cut") << QStringLiteral("tbrCut");
    QTest::newRow("copy") << QStringLiteral("tbrCopy");
}

void EditMenuTest::cutOrCopyOfNothingEmptiesTheClipboard()
{
    QFETCH(QString, key);
    m_window->txtDataField->setPlainText(QStringLiteral("abc"));
    m_doubles->clipboard.setText(QStringLiteral("old"));
    m_window->Toolbar1_ButtonClick(key);
    QCOMPARE(m_doubles->clipboard.text(), QString());
    QCOMPARE(m_window->dataFieldText(), QStringLiteral("abc"));
    openEditMenu();
    QVERIFY(!m_window->mnuEditPaste->isEnabled());
}

void EditMenuTest::pasteOfNothingDeletesTheSelection()
{
    m_window->txtDataField->setPlainText(QStringLiteral("abc"));
    selectInField(1, 1);
    m_window->Toolbar1_ButtonClick(QStringLiteral("tbrPaste"));
    QCOMPARE(m_window->dataFieldText(), QStringLiteral("ac"));
}

void EditMenuTest::selectAll_data()
{
    QTest::addColumn<QString>("fieldText");
    QTest::addColumn<QString>("selected");
    QTest::newRow("empty field") << QString() << QString();
    QTest::newRow("lines") << QStringLiteral("a\nb\n") << QStringLiteral("a\u2029b\u2029");
}

void EditMenuTest::selectAll()
{
    QFETCH(QString, fieldText);
    QFETCH(QString, selected);
    m_window->txtDataField->setPlainText(fieldText);
    m_window->txtDataField->setFocus();
    m_window->lstHeaders->setFocus();
    QVERIFY(!m_window->mnuEditPaste->isEnabled());

    m_window->mnuSelectAll->trigger();
    QVERIFY(m_window->txtDataField->hasFocus());
    QVERIFY(m_window->mnuEditPaste->isEnabled());
    QCOMPARE(m_window->txtDataField->textCursor().selectedText(), selected);
}

void EditMenuTest::toolbarKeys_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("fieldText");
    QTest::addColumn<QStringList>("trace");
    QTest::addColumn<QString>("fieldAfter");
    QTest::addColumn<QString>("clipboardAfter");

    const QString abc = QStringLiteral("abc");
    const QString clip = QStringLiteral("clip");
    QTest::newRow("new") << "tbrFileNew" << abc << QStringList{"message: Save Current?"} << abc
                         << clip;
    QTest::newRow("open") << "tbrFileOpen" << QString() << QStringList{"file dialog: open"}
                          << QString() << clip;
    QTest::newRow("save") << "tbrFileSave" << QString() << QStringList{"file dialog: save as"}
                          << QString() << clip;
    QTest::newRow("print") << "tbrFilePrint" << QString() << QStringList{"message: Printer Error"}
                           << QString() << clip;
    QTest::newRow("cut") << "tbrCut" << abc << QStringList{} << "ac"
                         << "b";
    QTest::newRow("copy") << "tbrCopy" << abc << QStringList{} << abc << "b";
    QTest::newRow("paste") << "tbrPaste" << abc << QStringList{} << "aclipc" << clip;
    QTest::newRow("preferences") << "tbrPreferences" << QString()
                                 << QStringList{"dialog: frmPreferences"} << QString() << clip;
    for (const char* unknown : {"tbrSelectAll", "tbrcut", "tbrCut ", "sep", ""})
        QTest::addRow("unknown key \"%s\"", unknown)
            << unknown << abc << QStringList{} << abc << clip;
}

void EditMenuTest::toolbarKeys()
{
    QFETCH(QString, key);
    QFETCH(QString, fieldText);
    QFETCH(QStringList, trace);
    QFETCH(QString, fieldAfter);
    QFETCH(QString, clipboardAfter);
    m_window->txtDataField->setPlainText(fieldText);
    if (!fieldText.isEmpty())
        selectInField(1, 1);
    m_doubles->clipboard.setText(QStringLiteral("clip"));
    m_doubles->questions.answerMessage(QMessageBox::Cancel);
    m_doubles->fileDialogs.cancelFile();
    m_doubles->printers.hasDefaultPrinter = false;
    // The buttons act whatever the menu items' states and wherever the focus is.
    for (QAction* item : m_window->mnuEdit->actions() + m_window->mnuFile->actions())
        item->setEnabled(false);
    m_window->lstHeaders->setFocus();

    QStringList seen;
    QTimer closeDialogs;
    closeDialogs.setInterval(10);
    connect(&closeDialogs, &QTimer::timeout, this, [&seen] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            seen << QStringLiteral("dialog: ") + dialog->metaObject()->className();
            dialog->reject();
        }
    });
    closeDialogs.start();
    if (QAction* button = m_window->toolbarButton(key); button && !key.startsWith(u"sep"))
        QTest::mouseClick(m_window->Toolbar1->widgetForAction(button), Qt::LeftButton);
    else
        m_window->Toolbar1_ButtonClick(key);
    closeDialogs.stop();

    for (const auto& asked : m_doubles->questions.asked)
        seen << QStringLiteral("message: ") + asked.title;
    for (const auto& shown : m_doubles->fileDialogs.shown)
        seen << (shown.kind == ScriptedFileDialogs::Shown::Open
                     ? QStringLiteral("file dialog: open")
                     : QStringLiteral("file dialog: save as"));
    QCOMPARE(seen, trace);
    QCOMPARE(m_window->dataFieldText(), fieldAfter);
    QCOMPARE(m_doubles->clipboard.text(), clipboardAfter);
    // Answers this key's handler did not need are not a failure here.
    m_doubles->questions = ScriptedQuestions();
    m_doubles->fileDialogs = ScriptedFileDialogs();
}

QTEST_MAIN(EditMenuTest)
#include "tst_editmenu.moc"

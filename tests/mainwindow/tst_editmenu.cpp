#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolBar>

// The Edit menu's commands on the data field, the states they show when the menu opens, and
// the toolbar's dispatch to the menu commands.
class EditMenuTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<frmTabulet> m_window;

    void selectInField(int start, int length)
    {
        QTextCursor cursor = m_window->txtDataField->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        m_window->txtDataField->setTextCursor(cursor);
    }

private Q_SLOTS:
    void init()
    {
        m_window.reset(); // before the services it uses
        m_doubles = std::make_unique<TestServices>();
        m_window = std::make_unique<frmTabulet>(m_doubles->services());
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    // Which Edit items are enabled with a field text, a selection in it and a clipboard text.
    void menuStates_data()
    {
        QTest::addColumn<QString>("fieldText");
        QTest::addColumn<int>("selectionLength");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("enabled");

        const QStringList all{"mnuEditCut", "mnuEditCopy", "mnuEditPaste", "mnuSelectAll"};
        const QString abc = QStringLiteral("abc"), clip = QStringLiteral("clip"), none;
        QTest::newRow("no selection") << abc << 0 << clip << all.mid(2);
        QTest::newRow("selection") << abc << 2 << clip << all;
        QTest::newRow("only a line break selected") << "\nb" << 1 << clip << all;
        QTest::newRow("empty clipboard")
            << abc << 1 << none << QStringList{"mnuEditCut", "mnuEditCopy", "mnuSelectAll"};
        QTest::newRow("empty field") << none << 0 << clip << all.mid(2, 1);
        QTest::newRow("all empty") << none << 0 << none << QStringList();
    }

    void menuStates()
    {
        QFETCH(QString, fieldText);
        QFETCH(int, selectionLength);
        QFETCH(QString, clipboard);
        QFETCH(QStringList, enabled);
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
            QStringList actual;
            for (const QAction* item : m_window->mnuEdit->actions())
                if (item->isEnabled() && !item->isSeparator())
                    actual << item->objectName();
            QCOMPARE(actual, enabled);
            m_window->mnuEdit->hide();
        }
    }

    // The record holds "one\r\ntwo"; the field's selection is "ne", the line break and "t".
    void commandsReachTheRecordOnlyWithASelectedHeader_data()
    {
        QTest::addColumn<QString>("command"); // the menu item's name
        QTest::addColumn<bool>("headerSelected");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("clipboard");

        const QString copied = QStringLiteral("ne\r\nt"), pasted = QStringLiteral("X\r\nY");
        for (const bool selected : {true, false}) {
            const char* header = selected ? "header selected" : "no header selected";
            QTest::addRow("cut, %s", header) << "mnuEditCut" << selected << "owo" << copied;
            QTest::addRow("paste, %s", header)
                << "mnuEditPaste" << selected << "oX\r\nYwo" << pasted;
        }
    }

    void commandsReachTheRecordOnlyWithASelectedHeader()
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
        selectInField(1, 4);
        m_doubles->clipboard.setText(QStringLiteral("X\r\nY"));
        m_window->findChild<QAction*>(command)->trigger();

        QCOMPARE(m_window->dataFieldText(), field);
        QCOMPARE(m_doubles->clipboard.text(), clipboard);
        QCOMPARE(m_window->store().recordText(index), headerSelected ? field : original);
    }

    // What each key shows or does with "b" of "abc" selected, or with an empty field so that
    // the file keys reach their dialog; every question is cancelled.
    void toolbarKeys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("fieldText");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("fieldAfter");
        QTest::addColumn<QString>("clipboardAfter");

        const QString abc = QStringLiteral("abc"), clip = QStringLiteral("clip"), none;
        QTest::newRow("new") << "tbrFileNew" << abc << "Save Current?" << abc << clip;
        QTest::newRow("open") << "tbrFileOpen" << none << "open dialog" << none << clip;
        QTest::newRow("save") << "tbrFileSave" << none << "save as dialog" << none << clip;
        QTest::newRow("print") << "tbrFilePrint" << none << "Printer Error" << none << clip;
        QTest::newRow("cut") << "tbrCut" << abc << none << "ac" << QStringLiteral("b");
        QTest::newRow("copy") << "tbrCopy" << abc << none << abc << QStringLiteral("b");
        QTest::newRow("paste") << "tbrPaste" << abc << none << "aclipc" << clip;
        QTest::newRow("preferences")
            << "tbrPreferences" << none << "frmPreferences" << none << clip;
        for (const char* unknown : {"tbrSelectAll", "tbrcut", "tbrCut ", "sep", ""})
            QTest::addRow("unknown key \"%s\"", unknown) << unknown << abc << none << abc << clip;
    }

    void toolbarKeys()
    {
        QFETCH(QString, key);
        QFETCH(QString, fieldText);
        QFETCH(QString, shown);
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
        connect(&closeDialogs, &QTimer::timeout, this, [&seen] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                seen << dialog->metaObject()->className();
                dialog->reject();
            }
        });
        closeDialogs.start(10);
        if (QAction* button = m_window->toolbarButton(key); button && !key.startsWith(u"sep"))
            QTest::mouseClick(m_window->Toolbar1->widgetForAction(button), Qt::LeftButton);
        else
            m_window->Toolbar1_ButtonClick(key);
        closeDialogs.stop();

        for (const auto& asked : m_doubles->questions.asked)
            seen << asked.title;
        for (const auto& dialog : m_doubles->fileDialogs.shown)
            seen << (dialog.kind == ScriptedFileDialogs::Shown::Open ? "open dialog"
                                                                     : "save as dialog");
        QCOMPARE(seen.join(u", "), shown);
        QCOMPARE(m_window->dataFieldText(), fieldAfter);
        QCOMPARE(m_doubles->clipboard.text(), clipboardAfter);
    }
};

QTEST_MAIN(EditMenuTest)
#include "tst_editmenu.moc"

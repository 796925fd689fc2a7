#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"

#include <QAction>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

// Headers and their records as the user edits them: selecting, typing, the header commands
// with their questions, the Edit menu and the toolbar.
class HeaderEditingTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<frmTabulet> m_window;
    const QString Chars22 = QStringLiteral("abcdefghijklmnopqrstuv");
    const QString Chars23 = Chars22 + u'w';

    // Entries "a", "b", "c"... holding the texts given; one of them selected if asked.
    void addEntries(const QStringList& texts, int selected = -1)
    {
        RecordStore& store = m_window->store();
        for (const QString& text : texts)
            store.setRecordText(*store.addRecord(QChar(u'a' + store.count())), text);
        if (selected >= 0)
            m_window->lstHeaders->setCurrentIndex(store.index(selected));
    }

    // Each entry as "header|record index|record text".
    QStringList entries() const
    {
        QStringList result;
        const RecordStore& store = m_window->store();
        for (int at = 0; at < store.count(); ++at)
            result << QStringList{store.headerAt(at), QString::number(store.recordIndexAt(at)),
                                  store.recordText(store.recordIndexAt(at))}
                          .join(u'|');
        return result;
    }

    void click(int position, Qt::MouseButton button = Qt::LeftButton)
    {
        QListView* list = m_window->lstHeaders;
        const QPoint centre = list->visualRect(m_window->store().index(position)).center();
        QTest::mouseClick(list->viewport(), button, {}, centre);
    }

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

    // Typed, cut and pasted text reaches the selected record, line breaks and all, and no
    // record while none is selected.
    void editsReachOnlyTheSelectedRecord()
    {
        addEntries({"alpha\r\nold", "one\r\ntwo"});
        m_window->setDataFieldText(QStringLiteral("abc"));
        selectInField(0, 3);
        m_doubles->clipboard.setText(QStringLiteral("X\r\nY"));
        m_window->mnuEditPaste->trigger();
        click(0);
        QTest::keyClick(m_window->txtDataField, Qt::Key_End, Qt::ControlModifier);
        for (const QChar character : QStringLiteral(" \u00e9\u00a0")) // as key texts: no key codes
            QTest::sendKeyEvent(QTest::Click, m_window->txtDataField, Qt::Key_unknown,
                                QString(character), Qt::NoModifier);
        QTest::keyClick(m_window->txtDataField, Qt::Key_Return);
        QTest::keyClicks(m_window->txtDataField, QStringLiteral("two"));
        QTest::keyClick(m_window->txtDataField, Qt::Key_Return, Qt::ShiftModifier);
        click(1);
        selectInField(1, 4); // "ne", the line break and "t"
        m_window->mnuEditCut->trigger();
        QCOMPARE(m_doubles->clipboard.text(), QStringLiteral("ne\r\nt"));
        const QString typed = QStringLiteral("a|0|alpha\r\nold \u00e9\u00a0\r\ntwo\r\n");
        QCOMPARE(entries(), (QStringList{typed, "b|1|owo"}));
        m_window->mnuEditPaste->trigger();
        click(0);
        QCOMPARE(entries(), (QStringList{typed, "b|1|one\r\ntwo"}));
    }

    void removeMiddleKeepsOtherRecordsAndRetiresItsIndex()
    {
        addEntries({"alpha", "beta\r\nmore", "gamma"});
        m_window->lstHeaders->setCurrentIndex(m_window->store().index(1));
        m_doubles->questions.answerMessage(QMessageBox::Ok);
        m_window->mnuHeadersRemoveHeader_Click();
        const auto& asked = m_doubles->questions.asked.constFirst();
        QCOMPARE(asked.title + u'|' + asked.text,
                 QStringLiteral("Remove Header|All data under this header will be deleted!"));
        // A new entry gets a fresh index.
        m_doubles->questions.answerInput(QStringLiteral("d"));
        m_window->HeaderAdd();
        QCOMPARE(entries(), (QStringList{"a|0|alpha", "c|2|gamma", "d|3|"}));
    }

    // With the middle of three entries selected. An empty answer is Cancel; "-" means no
    // header added or renamed.
    void answers_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("header");
        QTest::newRow("add 22") << "button" << QStringList{Chars22} << Chars22;
        QTest::newRow("add 23, confirmed") << "menu" << QStringList{Chars23, Chars23} << Chars22;
        QTest::newRow("add 23, fitting") << "menu" << QStringList{Chars23, "short"} << "short";
        // Spaces are dropped when adding, but only after they have counted towards the limit.
        QTest::newRow("add spaces make it 24")
            << "menu" << QStringList{"  " + Chars22, "  " + Chars22} << Chars22.left(20);
        QTest::newRow("add cancel") << "menu" << QStringList{QString()} << "-";
        QTest::newRow("add 23, cancel") << "menu" << QStringList{Chars23, QString()} << "";
        QTest::newRow("rename 23, confirmed")
            << "rename" << QStringList{Chars23, Chars23} << Chars22;
        QTest::newRow("rename cancel") << "rename" << QStringList{QString()} << "-";
        QTest::newRow("rename 23, cancel") << "rename" << QStringList{Chars23, QString()} << "-";
    }

    void answers()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, answers);
        QFETCH(QString, header);
        addEntries({"one", "two", "three"}, 1);
        for (const QString& answer : answers)
            m_doubles->questions.answerInput(answer);
        const bool rename = command == u"rename";
        if (rename) // a right press on another entry opens the menu but leaves the selection
            click(2, Qt::RightButton);
        if (command == u"button")
            QTest::mouseClick(m_window->cmdNewHeader, Qt::LeftButton);
        else
            (rename ? m_window->mnuHeadersEditHeader : m_window->mnuHeadersNewHeader)->trigger();
        m_window->mnuHeaders->hide();

        // The retry prompt for a new header really has no space before "Try again.".
        const QString prompt = (rename ? "Edit or rename header." : "Enter new header.") +
                               QStringLiteral(" Header must be 22 characters or less.");
        const auto& asked = m_doubles->questions.asked;
        QCOMPARE(asked.size(), answers.size());
        for (qsizetype i = 0; i < asked.size(); ++i) {
            QCOMPARE(asked.at(i).title, QString(rename ? "Edit Header" : "New Header"));
            QCOMPARE(asked.at(i).text,
                     i == 0 ? prompt : prompt + (rename ? " " : "") + "Try again.");
            QCOMPARE(asked.at(i).defaultText, i > 0 ? answers.at(0) : QString(rename ? "b" : ""));
        }
        // The selection stays on (or returns to) the middle entry, so typing reaches its record.
        QTest::keyClicks(m_window->txtDataField, QStringLiteral("x"));
        QStringList expected{"a|0|one", (rename && header != u"-" ? header : "b") + "|1|xtwo",
                             "c|2|three"};
        if (!rename && header != u"-")
            expected << header + "|3|";
        QCOMPARE(entries(), expected);
    }

    // The Edit items enabled in the open menu for a field text, the length selected from its
    // start and a clipboard text, row by row. The field has the focus, which enables Paste until
    // then.
    void editMenuStates()
    {
        const QList<QStringList> rows{{"abc", "0", "clip", "Paste SelectAll"},
                                      {"\nb", "1", "clip", "Cut Copy Paste SelectAll"},
                                      {"abc", "1", "", "Cut Copy SelectAll"},
                                      {"", "0", "", ""}};
        for (const QStringList& row : rows) {
            m_window->txtDataField->setPlainText(row.at(0));
            selectInField(0, row.at(1).toInt());
            m_doubles->clipboard.setText(row.at(2));
            m_window->txtDataField->setFocus();
            m_window->mnuEdit->popup(QPoint(0, 0));
            QStringList enabled;
            for (const QAction* item : m_window->mnuEdit->actions())
                if (item->isEnabled() && !item->isSeparator())
                    enabled << item->objectName()
                                   .remove(QStringLiteral("mnuEdit"))
                                   .remove(QStringLiteral("mnu"));
            m_window->mnuEdit->hide();
            QCOMPARE(enabled.join(u' '), row.at(3));
        }
    }

    // With "b" of "abc" selected, or an empty field so that the file keys reach their dialog;
    // every question is cancelled and every menu item disabled. The outcome is what was shown,
    // then the field and the clipboard.
    void toolbarKeys_data()
    {
        for (const char* column : {"key", "fieldText", "outcome"})
            QTest::addColumn<QString>(column);
        const auto row = [](const char* key, const char* text, const char* outcome) {
            QTest::addRow("\"%s\"", key) << key << text << outcome;
        };
        row("tbrFileNew", "abc", "Save Current?|abc|clip");
        row("tbrFileOpen", "", "open||clip");
        row("tbrFilePrint", "", "Printer Error||clip");
        row("tbrCut", "abc", "|ac|b");
        row("tbrCopy", "abc", "|abc|b");
        row("tbrPaste", "abc", "|aclipc|clip");
        for (const char* unknown : {"tbrSelectAll", "tbrcut", "sep", ""})
            row(unknown, "abc", "|abc|clip");
    }

    void toolbarKeys()
    {
        QFETCH(QString, key);
        QFETCH(QString, fieldText);
        QFETCH(QString, outcome);
        m_window->txtDataField->setPlainText(fieldText);
        selectInField(qMin(1, fieldText.size()), qMin(1, fieldText.size()));
        m_doubles->clipboard.setText(QStringLiteral("clip"));
        m_doubles->questions.answerMessage(QMessageBox::Cancel);
        m_doubles->fileDialogs.cancelFile();
        m_doubles->printers.hasDefaultPrinter = false;
        for (QAction* item : m_window->mnuEdit->actions() + m_window->mnuFile->actions())
            item->setEnabled(false);
        m_window->Toolbar1_ButtonClick(key);
        QStringList seen;
        for (const auto& asked : m_doubles->questions.asked)
            seen << asked.title;
        for (const auto& dialog : m_doubles->fileDialogs.shown)
            seen << (dialog.kind == ScriptedFileDialogs::Shown::Open ? "open" : "save as");
        QCOMPARE(
            QStringList({seen.join(u", "), m_window->dataFieldText(), m_doubles->clipboard.text()})
                .join(u'|'),
            outcome);
    }
};

QTEST_MAIN(HeaderEditingTest)
#include "tst_headercommands.moc"

#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"

#include <QAction>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

// The main window as the user first sees it: layout, menus, toolbar and start-up state.
class MainWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startsWithAnEmptyDocument();
    void clientAreaHasItsFixedSize();
    void controlsSitWhereTheyBelong_data();
    void controlsSitWhereTheyBelong();
    void captionsFitTheirControls();
    void menuTree_data();
    void menuTree();
    void menuBarOrder();
    void toolbarPositions();
    void tabOrderRunsButtonListField();
    void everyItemStartsEnabled();

private:
    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<frmTabulet> m_window;
};

void MainWindowTest::init()
{
    m_doubles = std::make_unique<TestServices>();
    m_window = std::make_unique<frmTabulet>(m_doubles->services());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void MainWindowTest::cleanup()
{
    m_window.reset();
    m_doubles.reset();
}

void MainWindowTest::startsWithAnEmptyDocument()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Tabulet 1.0"));
    QCOMPARE(m_window->store().count(), 0);
    QCOMPARE(m_window->store().nextRecordIndex(), 0);
    QCOMPARE(m_window->store().slotCount(), 0);
    QVERIFY(m_window->txtDataField->document()->isEmpty());
    QVERIFY(m_window->CurrentFileName.isEmpty());
    QCOMPARE(m_window->selectedPosition(), -1);
    QVERIFY(!m_window->windowIcon().isNull());
}

void MainWindowTest::clientAreaHasItsFixedSize()
{
    const QWidget* client = m_window->centralWidget();
    QCOMPARE(client->size(), QSize(371, 286));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QVERIFY(!m_window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(m_window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
}

void MainWindowTest::controlsSitWhereTheyBelong_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    QTest::addColumn<QString>("text");
    // Positions in pixels at 15 twips each.
    QTest::newRow("cmdNewHeader") << "cmdNewHeader" << QRect(280, 56, 81, 25) << "New Header...";
    QTest::newRow("lstHeaders") << "lstHeaders" << QRect(8, 56, 257, 82) << "";
    QTest::newRow("txtDataField") << "txtDataField" << QRect(8, 165, 257, 113) << "";
    QTest::newRow("Toolbar1") << "Toolbar1" << QRect(0, 0, 371, 30) << "";
    QTest::newRow("lblDataHeaders") << "lblDataHeaders" << QRect(8, 37, -1, -1) << "Headers:";
    QTest::newRow("lblDataField") << "lblDataField" << QRect(8, 149, -1, -1) << "Data:";
    QTest::newRow("grey rule") << "Line1_1" << QRect(0, 30, 480, 1) << "";
    QTest::newRow("white rule") << "Line1_0" << QRect(0, 31, 480, 2) << "";
}

void MainWindowTest::controlsSitWhereTheyBelong()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    QFETCH(QString, text);
    const auto* control = m_window->findChild<QWidget*>(name);
    QVERIFY2(control != nullptr, qPrintable(name));
    QVERIFY(control->isVisible());
    QCOMPARE(control->pos(), pixels.topLeft());
    if (pixels.width() >= 0)
        QCOMPARE(control->size(), pixels.size());
    if (const auto* button = qobject_cast<const QPushButton*>(control))
        QCOMPARE(button->text(), text);
    if (const auto* label = qobject_cast<const QLabel*>(control))
        QCOMPARE(label->text(), text);
}

void MainWindowTest::captionsFitTheirControls()
{
    const QFontMetrics metrics(m_window->cmdNewHeader->font());
    QVERIFY(metrics.horizontalAdvance(m_window->cmdNewHeader->text()) + 8 <=
            m_window->cmdNewHeader->width());
    for (const QLabel* label : {m_window->lblDataHeaders, m_window->lblDataField}) {
        // Labels are sized to their text and must stay clear of the control under them.
        QVERIFY(label->width() >= label->sizeHint().width());
        QVERIFY(label->geometry().bottom() < label->pos().y() + 19);
    }
}

void MainWindowTest::menuTree_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items");
    // Each item: object name | caption | shortcut; separators show as "-".
    QTest::newRow("File") << "mnuFile"
                          << QStringList{"mnuFileNewItem|&New|Ctrl+N",
                                         "mnuFileOpenItem|&Open...|Ctrl+O",
                                         "mnuFileSaveItem|&Save|Ctrl+S",
                                         "mnuFileSaveAsItem|Save &As...|",
                                         "mnuFileSep|-|",
                                         "mnuFilePageSetup|Print Set&up...|",
                                         "mnuFilePrint|&Print...|Ctrl+P",
                                         "mnuFileSep1|-|",
                                         "mnuFilePreferences|P&references...|",
                                         "mnuFileSep2|-|",
                                         "mnuRegDelete|Re&move Registry Settings...|",
                                         "mnuHelpSep1|-|",
                                         "mnuFileExit|E&xit|"};
    QTest::newRow("Edit") << "mnuEdit"
                          << QStringList{"mnuEditCut|Cu&t|Ctrl+X", "mnuEditCopy|&Copy|Ctrl+C",
                                         "mnuEditPaste|&Paste|Ctrl+V", "mnuSep|-|",
                                         "mnuSelectAll|Select &All|Ctrl+A"};
    QTest::newRow("Headers") << "mnuHeaders"
                             << QStringList{"mnuHeadersNewHeader|&New Header...|Ctrl+H",
                                            "mnuHeadersRemoveHeader|&Remove Header|",
                                            "mnuHeadersEditHeader|&Edit Header...|"};
    QTest::newRow("Help") << "mnuHelp" << QStringList{"mnuHelpAboutTabulet|&About Tabulet|"};
}

void MainWindowTest::menuTree()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    const auto* found = m_window->findChild<QMenu*>(menu);
    QVERIFY(found != nullptr);
    QStringList actual;
    for (const QAction* action : found->actions()) {
        const QString caption = action->isSeparator() ? QStringLiteral("-") : action->text();
        actual << action->objectName() + u'|' + caption + u'|' +
                      action->shortcut().toString(QKeySequence::PortableText);
    }
    QCOMPARE(actual, items);
}

void MainWindowTest::menuBarOrder()
{
    QStringList captions;
    for (const QAction* action : m_window->menuBar()->actions())
        captions << action->text();
    QCOMPARE(captions, (QStringList{"&File", "&Edit", "He&aders", "&Help"}));
}

void MainWindowTest::toolbarPositions()
{
    const QStringList keys{"sep",     "tbrFileNew",   "tbrFileOpen", "tbrFileSave",
                           "sep2",    "tbrFilePrint", "sep3",        "tbrCut",
                           "tbrCopy", "tbrPaste",     "sep4",        "tbrPreferences"};
    const QStringList tips{"", "New File", "Open File", "Save File", "", "Print File",
                           "", "Cut",      "Copy",      "Paste",     "", "Preferences"};
    QCOMPARE(m_window->toolbarKeys(), keys);
    int left = -1;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        QAction* action = m_window->toolbarButton(keys.at(i));
        QWidget* widget = m_window->Toolbar1->widgetForAction(action);
        QVERIFY(widget != nullptr);
        QVERIFY2(widget->x() > left, qPrintable(keys.at(i)));
        left = widget->x();
        if (tips.at(i).isEmpty())
            continue;
        QCOMPARE(action->toolTip(), tips.at(i));
        QCOMPARE(widget->size(), QSize(24, 24));
        QVERIFY2(!action->icon().pixmap(16, 16).isNull(), qPrintable(keys.at(i)));
    }
}

void MainWindowTest::tabOrderRunsButtonListField()
{
    m_window->activateWindow();
    m_window->cmdNewHeader->setFocus();
    QList<QWidget*> visited{m_window->cmdNewHeader};
    for (int step = 0; step < 3; ++step) {
        QWidget* next = visited.constLast()->nextInFocusChain();
        while ((next->focusPolicy() & Qt::TabFocus) == 0 || !next->isVisible())
            next = next->nextInFocusChain();
        visited << next;
    }
    QCOMPARE(visited.at(1), m_window->lstHeaders);
    QCOMPARE(visited.at(2), m_window->txtDataField);
    QCOMPARE(visited.at(3), m_window->cmdNewHeader);
}

void MainWindowTest::everyItemStartsEnabled()
{
    for (const QMenu* menu :
         {m_window->mnuFile, m_window->mnuEdit, m_window->mnuHeaders, m_window->mnuHelp})
        for (const QAction* action : menu->actions())
            if (action != m_window->mnuFilePageSetup && !action->isSeparator())
                QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));
    QVERIFY(!m_window->mnuFilePageSetup->isVisible());
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"

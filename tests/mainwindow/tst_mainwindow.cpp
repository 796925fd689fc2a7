#include "core/RecordStore.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"

#include <QAction>
#include <QMenu>
#include <QTest>

// The main window as the user first sees it: start-up state, menus and toolbar keys.
class MainWindowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServices> m_doubles;
    std::unique_ptr<frmTabulet> m_window;

private Q_SLOTS:
    void init()
    {
        m_window.reset(); // before the services it uses
        m_doubles = std::make_unique<TestServices>();
        m_window = std::make_unique<frmTabulet>(m_doubles->services());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void startsWithAnEmptyDocument()
    {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Tabulet 1.0"));
        QCOMPARE(m_window->store().count(), 0);
        QCOMPARE(m_window->store().nextRecordIndex(), 0);
        QVERIFY(m_window->dataFieldText().isEmpty() && m_window->CurrentFileName.isEmpty());
        QCOMPARE(m_window->selectedPosition(), -1);
    }

    void menuTree_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("items");
        // Each item as object name|caption|shortcut, separators as "-", items split by ";".
        QTest::newRow("File") << "mnuFile"
                              << "mnuFileNewItem|&New|Ctrl+N;mnuFileOpenItem|&Open...|Ctrl+O;"
                                 "mnuFileSaveItem|&Save|Ctrl+S;mnuFileSaveAsItem|Save &As...|;"
                                 "mnuFileSep|-|;mnuFilePageSetup|Print Set&up...|;"
                                 "mnuFilePrint|&Print...|Ctrl+P;mnuFileSep1|-|;"
                                 "mnuFilePreferences|P&references...|;mnuFileSep2|-|;"
                                 "mnuRegDelete|Re&move Registry Settings...|;mnuHelpSep1|-|;"
                                 "mnuFileExit|E&xit|";
        QTest::newRow("Edit") << "mnuEdit"
                              << "mnuEditCut|Cu&t|Ctrl+X;mnuEditCopy|&Copy|Ctrl+C;"
                                 "mnuEditPaste|&Paste|Ctrl+V;mnuSep|-|;"
                                 "mnuSelectAll|Select &All|Ctrl+A";
        QTest::newRow("Headers") << "mnuHeaders"
                                 << "mnuHeadersNewHeader|&New Header...|Ctrl+H;"
                                    "mnuHeadersRemoveHeader|&Remove Header|;"
                                    "mnuHeadersEditHeader|&Edit Header...|";
        QTest::newRow("Help") << "mnuHelp" << QStringLiteral("mnuHelpAboutTabulet|&About Tabulet|");
    }

    void menuTree()
    {
        QFETCH(QString, menu);
        QFETCH(QString, items);
        QStringList actual;
        for (const QAction* action : m_window->findChild<QMenu*>(menu)->actions()) {
            const QString caption = action->isSeparator() ? QStringLiteral("-") : action->text();
            actual << action->objectName() + u'|' + caption + u'|' +
                          action->shortcut().toString(QKeySequence::PortableText);
        }
        QCOMPARE(actual, items.split(u';'));
    }

    // Each key with its tip; separators have none.
    void toolbarKeys()
    {
        QStringList actual;
        for (const QString& key : m_window->toolbarKeys())
            actual << (key.startsWith(u"sep")
                           ? key
                           : key + '|' + m_window->toolbarButton(key)->toolTip());
        QCOMPARE(actual, (QStringList{"sep", "tbrFileNew|New File", "tbrFileOpen|Open File",
                                      "tbrFileSave|Save File", "sep2", "tbrFilePrint|Print File",
                                      "sep3", "tbrCut|Cut", "tbrCopy|Copy", "tbrPaste|Paste",
                                      "sep4", "tbrPreferences|Preferences"}));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"

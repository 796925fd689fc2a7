#include "checks/AccessibleControls.h"
#include "checks/Files.h"
#include "core/CalculatorCheck.h"
#include "core/Preferences.h"
#include "core/RecordStore.h"
#include "doubles/RecordingDialogs.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmCalculatorCheck.h"
#include "mainwindow/frmFind.h"
#include "mainwindow/frmInsertCharacter.h"
#include "mainwindow/frmTabulet.h"
#include "platform/WindowLook.h"

#include <QAction>
#include <QLabel>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>

// The main window and the windows it opens, as a screen reader finds them, in the one font
// they share.
class AccessibilityTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TestServices> m_doubles;
    RecordingDialogs m_dialogs;
    std::unique_ptr<frmTabulet> m_window;
    std::unique_ptr<QDialog> m_dialog;

    QListView* list() const { return m_window->findChild<QListView*>("lstHeaders"); }

    QWidget* shown(const QString& which)
    {
        if (which.startsWith(u"Find") || which.startsWith(u"Replace")) {
            m_window->findChild<QAction*>(which == u"Find" ? "mnuEditFind" : "mnuEditReplace")
                ->trigger();
            return m_window->findChild<frmFind*>();
        }
        const auto& records = *qobject_cast<const RecordStore*>(list()->model());
        const TransferHeader header = preferences::transferHeader(m_doubles->settings);
        if (which == u"Insert Character")
            m_dialog = std::make_unique<frmInsertCharacter>(3, m_window.get());
        else if (which == u"Calculator Check")
            m_dialog = std::make_unique<frmCalculatorCheck>(
                calculator::checkForCalculator(records, header), records, m_window.get());
        else
            return m_window.get();
        m_dialog->show();
        return m_dialog.get();
    }

private Q_SLOTS:
    // A header that the calculator's view shows otherwise, and a record too large for any HP 48.
    void init()
    {
        m_dialog.reset();
        m_window.reset();
        m_doubles = std::make_unique<TestServices>();
        m_doubles->settings.write(PreferenceKey::AsciiHeader, "1");
        m_doubles->settings.write(PreferenceKey::AsciiText, "%%HP: T(3)A(D)F(.);");
        QVERIFY(writeFile(m_dir.filePath("doc.DF"),
                          "{\r\n\"A \\->\"\r\n\"Big\r\n" +
                              QByteArray(70, 'x').append("\r\n").repeated(2000) + "\"\r\n}\r\n"));
        m_window = std::make_unique<frmTabulet>(m_doubles->services(), m_dialogs);
        m_window->openFileAtStart(m_dir.filePath("doc.DF"));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

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
        const QWidget* opened = shown(window);
        QCOMPARE(accessibilityFaults(*opened).join(u", "), QString());
        QCOMPARE(opened->font(), tabuletWidgetFont());
    }

    // Each entry is read out as the list shows it.
    void headersAreReadAsShown()
    {
        m_window->findChild<QAction*>("mnuViewCalculator")->trigger();
        const QAccessibleInterface* entries = QAccessible::queryAccessibleInterface(list());
        QStringList read;
        for (int row = 0; row < entries->childCount(); ++row)
            read << entries->child(row)->text(QAccessible::Name);
        QCOMPARE(read, QStringList({"A \u2192", "Big"}));
    }

    // Whatever the font's size, the words that tell how the list fits are shown whole.
    void memoryTextIsWhole()
    {
        QWidget* check = shown("Calculator Check");
        for (const int pixels : {11, 20}) {
            QFont font = check->font();
            font.setPixelSize(pixels);
            check->setFont(font);
            QCoreApplication::sendPostedEvents();
            int shownWhole = 0;
            for (const QLabel* label : check->findChildren<QLabel*>()) {
                const QRect room = label->contentsRect();
                const QRect needed =
                    label->fontMetrics().boundingRect(room, Qt::TextWordWrap, label->text());
                shownWhole += label->text().startsWith("does not fit") && room.contains(needed);
            }
            QVERIFY2(shownWhole == 2, qPrintable(QString::number(pixels)));
        }
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"

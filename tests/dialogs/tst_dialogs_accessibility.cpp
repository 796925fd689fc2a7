#include "checks/AccessibleControls.h"
#include "dialogs/PreferenceCommands.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmBrowse.h"
#include "dialogs/frmPreferences.h"
#include "doubles/TestServices.h"
#include "platform/WindowLook.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

// The program's own dialogs and its questions as a screen reader finds them, in the main
// window's font.
class DialogsAccessibilityTest : public QObject
{
    Q_OBJECT

    static QString faultsAndFont(const QWidget& window)
    {
        return accessibilityFaults(window).join(u", ") +
               (window.font() == tabuletWidgetFont() ? "" : " in another font");
    }

private Q_SLOTS:
    void everyControlIsNamed_data()
    {
        QTest::addColumn<QString>("window");
        for (const char* window :
             {"Preferences", "Browse", "About", "Remove Settings", "Input Box"})
            QTest::newRow(window) << window;
    }
    void everyControlIsNamed()
    {
        QFETCH(QString, window);
        TestServices doubles;
        QLineEdit workingDirectory(QStringLiteral("/"));
        std::unique_ptr<QDialog> dialog;
        if (window == u"Preferences")
            dialog = std::make_unique<frmPreferences>(doubles.services());
        else if (window == u"Browse")
            dialog = std::make_unique<frmBrowse>(doubles.services(), workingDirectory);
        else if (window == u"About")
            dialog = std::make_unique<frmAbout>();
        QString faults;
        if (dialog) {
            dialog->show();
            faults = faultsAndFont(*dialog);
        } else {
            // The real boxes, closed as soon as they have been looked at.
            QtQuestions questions;
            QTimer::singleShot(0, [&faults] {
                faults = faultsAndFont(*QApplication::activeModalWidget());
                QApplication::activeModalWidget()->close();
            });
            if (window == u"Input Box")
                QVERIFY(questions.inputBox(nullptr, "New Header", "Header:", "x").isEmpty());
            else
                QVERIFY(!PreferenceCommands({questions, doubles.fileDialogs, doubles.settings,
                                             doubles.clipboard, doubles.printers, doubles.folders})
                             .removeSettings(nullptr));
        }
        QCOMPARE(faults, QString());
    }
};

QTEST_MAIN(DialogsAccessibilityTest)
#include "tst_dialogs_accessibility.moc"

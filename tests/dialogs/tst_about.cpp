#include "core/Preferences.h"
#include "dialogs/PreferenceCommands.h"
#include "dialogs/frmAbout.h"
#include "doubles/TestServices.h"

#include <QAction>
#include <QApplication>
#include <QTest>

const char* const Confirm = "Remove Registry Settings?: This will remove the settings in the "
                            "Windows registry for Tabulet. Do you want to remove these settings?";
const char* Removed = "Registry Settings Removed: The settings in the registry have been removed.";

class AboutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void enterAndEscapeClose()
    {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            frmAbout about;
            about.show();
            QVERIFY(QTest::qWaitForWindowActive(&about));
            QTest::keyClick(QApplication::focusWidget(), key);
            QVERIFY(!about.isVisible());
        }
    }

    // The confirmation's OK removes every setting and says so; Cancel keeps them all.
    void removal()
    {
        for (bool removed : {true, false}) {
            TestServices services;
            services.settings.write(PreferenceKey::WrkDir, QStringLiteral("/home/ann"));
            services.questions.answerMessage(removed ? QMessageBox::Ok : QMessageBox::Cancel);
            services.questions.answerMessage(QMessageBox::Ok);
            PreferenceCommands(services.services()).removeSettings(nullptr);
            QStringList told;
            for (const ScriptedQuestions::Asked& asked : services.questions.asked)
                told << asked.title + QStringLiteral(": ") + asked.text;
            QCOMPARE(told, QStringList({Confirm, Removed}).first(removed ? 2 : 1));
            QCOMPARE(services.settings.contains(PreferenceKey::WrkDir), !removed);
        }
    }
};

QTEST_MAIN(AboutTest)
#include "tst_about.moc"

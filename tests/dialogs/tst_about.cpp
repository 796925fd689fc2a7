#include "dialogs/frmAbout.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"
#include "platform/SettingsStore.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class AboutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aboutBoxTexts();
    void aboutBoxCloses_data();
    void aboutBoxCloses();
    void removal_data();
    void removal();
};

void AboutTest::aboutBoxTexts()
{
    frmAbout about;
    about.show();
    QCOMPARE(about.windowTitle(), QStringLiteral("About Tabulet..."));
    QCOMPARE(about.lblTitle->text(), QStringLiteral("Tabulet 1.0"));
    QVERIFY(about.lblVersion->text().contains(QStringLiteral("the Tabulet developers")));
    QVERIFY(about.lblDescription->text().contains(QStringLiteral("Ledra")));
    QVERIFY(about.lblDescription->text().contains(QStringLiteral("help.html")));
    QVERIFY(!about.picIcon->pixmap().isNull());
    for (const QLabel* label : {about.lblTitle, about.lblVersion, about.lblDescription}) {
        const QSize needed = label->wordWrap()
                                 ? QSize(label->width(), label->heightForWidth(label->width()))
                                 : label->sizeHint();
        QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(),
                 qPrintable(label->objectName()));
    }
}

void AboutTest::aboutBoxCloses_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
}

void AboutTest::aboutBoxCloses()
{
    QFETCH(int, key);
    frmAbout about;
    about.show();
    about.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : &about, Qt::Key(key));
    QVERIFY(!about.isVisible());
}

void AboutTest::removal_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::newRow("OK") << QMessageBox::Ok;
    QTest::newRow("Cancel") << QMessageBox::Cancel;
}

void AboutTest::removal()
{
    QFETCH(QMessageBox::StandardButton, answer);
    const bool removed = answer == QMessageBox::Ok;
    TestServices services;
    services.settings.write(PreferenceKey::WrkDir, QStringLiteral("/home/ann"));
    services.settings.write(PreferenceKey::DefaultFont, QStringLiteral("Courier"));
    services.questions.answerMessage(answer);
    if (removed)
        services.questions.answerMessage(QMessageBox::Ok);
    frmTabulet window(services.services());
    window.mnuRegDelete->trigger();

    QStringList told;
    for (const ScriptedQuestions::Asked& asked : services.questions.asked)
        told << QStringLiteral("%1: %2 [%3 %4]")
                    .arg(asked.title, asked.text)
                    .arg(int(asked.buttons))
                    .arg(int(asked.icon));
    QStringList expected{QStringLiteral("Remove Registry Settings?: This will remove the settings "
                                        "in the Windows registry for Tabulet. Do you want to "
                                        "remove these settings? [%1 0]")
                             .arg(int(QMessageBox::Ok | QMessageBox::Cancel))};
    if (removed)
        expected << QStringLiteral("Registry Settings Removed: The settings in the registry have "
                                   "been removed. [%1 0]")
                        .arg(int(QMessageBox::Ok));
    QCOMPARE(told, expected);
    QCOMPARE(services.settings.contains(PreferenceKey::WrkDir), !removed);
    QCOMPARE(services.settings.contains(PreferenceKey::DefaultFont), !removed);
}

QTEST_MAIN(AboutTest)
#include "tst_about.moc"

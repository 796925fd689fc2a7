#include "dialogs/frmAbout.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"
#include "platform/SettingsStore.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

namespace {

const QString RemoveTitle = QStringLiteral("Remove Registry Settings?");
const QString RemoveText = QStringLiteral(
    "This will remove the settings in the Windows registry for Tabulet. Do you want to remove "
    "these settings?");
const QString RemovedTitle = QStringLiteral("Registry Settings Removed");
const QString RemovedText = QStringLiteral("The settings in the registry have been removed.");

const QStringList Keys{PreferenceKey::WrkDir, PreferenceKey::AsciiHeader, PreferenceKey::AsciiText,
                       PreferenceKey::DefaultFont, PreferenceKey::DefaultFontSize};

// Services whose settings are the real per-user store (in the test's private folder).
struct RealSettingsServices
{
    TestServices doubles;
    QtSettingsStore settings;
    Services services()
    {
        const Services d = doubles.services();
        return Services{d.questions, d.fileDialogs, settings, d.clipboard, d.printers, d.folders};
    }
};

} // namespace

class AboutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void aboutBoxTexts();
    void aboutBoxCloses_data();
    void aboutBoxCloses();
    void helpMenuShowsTheBoxModally();
    void removal_data();
    void removal();
};

void AboutTest::init()
{
    // The tests run with a private configuration folder; start each from nothing stored.
    QSettings(QStringLiteral("Tabulet"), QStringLiteral("Tabulet")).clear();
}

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
    // Every text fits its label without being cut.
    for (const QLabel* label : {about.lblTitle, about.lblVersion, about.lblDescription}) {
        const QSize needed = label->wordWrap()
                                 ? QSize(label->width(), label->heightForWidth(label->width()))
                                 : label->sizeHint();
        QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(),
                 qPrintable(label->objectName()));
    }
    QVERIFY(about.cmdOK->isDefault());
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

void AboutTest::helpMenuShowsTheBoxModally()
{
    TestServices services;
    frmTabulet window(services.services());
    window.show();
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
        QVERIFY(about != nullptr);
        shown =
            about->isModal() && about->parentWidget() == &window && about->windowIcon().isNull();
        QTest::keyClick(about, Qt::Key_Escape);
    });
    window.mnuHelpAboutTabulet->trigger();
    QVERIFY(shown);
    QVERIFY(window.findChildren<frmAbout*>().isEmpty());
}

void AboutTest::removal_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("removed");

    QTest::newRow("OK") << QMessageBox::Ok << true << true;
    QTest::newRow("Cancel") << QMessageBox::Cancel << true << false;
    QTest::newRow("OK with nothing stored") << QMessageBox::Ok << false << true;
}

void AboutTest::removal()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, stored);
    QFETCH(bool, removed);
    RealSettingsServices services;
    if (stored) {
        for (const QString& key : Keys)
            services.settings.write(key, key + QStringLiteral(" value"));
    }
    services.doubles.questions.answerMessage(answer);
    if (removed)
        services.doubles.questions.answerMessage(QMessageBox::Ok);
    frmTabulet window(services.services());
    window.txtDataField->setPlainText(QStringLiteral("unsaved text"));

    window.mnuRegDelete->trigger();

    const QList<ScriptedQuestions::Asked>& asked = services.doubles.questions.asked;
    QCOMPARE(asked.size(), removed ? 2 : 1);
    QCOMPARE(asked.at(0).title, RemoveTitle);
    QCOMPARE(asked.at(0).text, RemoveText);
    QCOMPARE(asked.at(0).buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(asked.at(0).icon, QMessageBox::NoIcon);
    if (removed) {
        QCOMPARE(asked.at(1).title, RemovedTitle);
        QCOMPARE(asked.at(1).text, RemovedText);
        QCOMPARE(asked.at(1).buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(asked.at(1).icon, QMessageBox::NoIcon);
    }
    for (const QString& key : Keys) {
        const QString expected =
            stored && !removed ? key + QStringLiteral(" value") : QStringLiteral("<default>");
        QCOMPARE(services.settings.read(key, QStringLiteral("<default>")), expected);
    }
    QCOMPARE(window.txtDataField->toPlainText(), QStringLiteral("unsaved text"));
}

QTEST_MAIN(AboutTest)
#include "tst_about.moc"

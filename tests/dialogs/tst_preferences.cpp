#include "dialogs/frmBrowse.h"
#include "dialogs/frmPreferences.h"
#include "doubles/TestServices.h"
#include "mainwindow/frmTabulet.h"
#include "platform/SettingsStore.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QStringList KeysInWritingOrder{PreferenceKey::WrkDir, PreferenceKey::AsciiHeader,
                                     PreferenceKey::AsciiText, PreferenceKey::DefaultFont,
                                     PreferenceKey::DefaultFontSize};

QStringList storedValues(const SettingsStore& settings)
{
    QStringList values;
    for (const QString& key : KeysInWritingOrder)
        values << settings.read(key, QStringLiteral("<absent>"));
    return values;
}

void storeValues(SettingsStore& settings, const QStringList& values)
{
    for (qsizetype i = 0; i < KeysInWritingOrder.size(); ++i)
        settings.write(KeysInWritingOrder.at(i), values.at(i));
}

QStringList fieldValues(const frmPreferences& dialog)
{
    return {dialog.txtWrkDir->text(),
            dialog.chkASCII->isChecked() ? QStringLiteral("1") : QStringLiteral("0"),
            dialog.txtASCII->text(), dialog.txtFontName->text(), dialog.txtFontSize->text()};
}

QFont fontOf(const QString& family, qreal pointSize)
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    return font;
}

// Runs `handle` on the modal dialog of type T as soon as it shows.
template <typename T> void whenModalShows(std::function<void(T*)> handle)
{
    QTimer::singleShot(0, [handle] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        QVERIFY2(dialog != nullptr, "the expected dialog did not show");
        handle(dialog);
    });
}

} // namespace

class PreferencesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyStoreShowsTheDefaults();
    void everyCaptionFits();
    void storedHeaderSwitch_data();
    void storedHeaderSwitch();
    void uncheckingKeepsTheTextAndStoresZero();
    void okStoresEveryFieldAsTyped_data();
    void okStoresEveryFieldAsTyped();
    void cancelStoresNothing_data();
    void cancelStoresNothing();
    void fontChoiceFillsBothFields_data();
    void fontChoiceFillsBothFields();
    void cancelledFontDialogChangesNothing();
    void realFontDialogChoosesAScalableFont();
    void keys_data();
    void keys();
    void fileMenuOpensTheDialogModally();
};

void PreferencesTest::emptyStoreShowsTheDefaults()
{
    TestServices services;
    frmPreferences dialog(services.services());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Tabulet Preferences"));
    QCOMPARE(fieldValues(dialog), QStringList({QStringLiteral("C:\\"), QStringLiteral("1"),
                                               QStringLiteral("%%HP: T(3)A(D)F(.);"),
                                               QStringLiteral("Arial"), QStringLiteral("11")}));
    QVERIFY(dialog.lblASCII->isEnabled());
    QVERIFY(dialog.txtASCII->isEnabled());
    QVERIFY(services.settings.writes.isEmpty());
}

void PreferencesTest::everyCaptionFits()
{
    TestServices services;
    services.folders.addVolume(QStringLiteral("/"));
    QLineEdit txtWrkDir;
    frmPreferences dialog(services.services());
    frmBrowse browser(services.services(), txtWrkDir);
    for (const QDialog* window : std::initializer_list<const QDialog*>{&dialog, &browser}) {
        for (const QWidget* control : window->findChildren<QWidget*>()) {
            if (!qobject_cast<const QLabel*>(control) &&
                !qobject_cast<const QAbstractButton*>(control))
                continue;
            QVERIFY2(control->sizeHint().width() <= control->width(),
                     qPrintable(control->objectName()));
            QVERIFY2(control->geometry().right() < control->parentWidget()->width(),
                     qPrintable(control->objectName()));
        }
        for (const QGroupBox* frame : window->findChildren<QGroupBox*>())
            QVERIFY2(frame->fontMetrics().horizontalAdvance(frame->title()) < frame->width(),
                     qPrintable(frame->objectName()));
    }
}

void PreferencesTest::storedHeaderSwitch_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("checked");

    QTest::newRow("on") << QStringLiteral("1") << true;
    QTest::newRow("off") << QStringLiteral("0") << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("two") << QStringLiteral("2") << false;
    QTest::newRow("padded one") << QStringLiteral(" 1") << false;
    QTest::newRow("word") << QStringLiteral("yes") << false;
    QTest::newRow("beyond 16 bits") << QStringLiteral("65537") << false;
}

void PreferencesTest::storedHeaderSwitch()
{
    QFETCH(QString, stored);
    QFETCH(bool, checked);
    TestServices services;
    services.settings.write(PreferenceKey::AsciiHeader, stored);
    services.settings.write(PreferenceKey::AsciiText, QStringLiteral("%%HP: T(1);"));

    frmPreferences dialog(services.services());
    dialog.show();
    QCOMPARE(dialog.chkASCII->isChecked(), checked);
    QCOMPARE(dialog.lblASCII->isEnabled(), checked);
    QCOMPARE(dialog.txtASCII->isEnabled(), checked);
    QCOMPARE(dialog.txtASCII->text(), QStringLiteral("%%HP: T(1);"));
}

void PreferencesTest::uncheckingKeepsTheTextAndStoresZero()
{
    TestServices services;
    frmPreferences dialog(services.services());
    dialog.show();
    QTest::mouseClick(dialog.chkASCII, Qt::LeftButton, {},
                      QPoint(4, dialog.chkASCII->height() / 2));
    QVERIFY(!dialog.chkASCII->isChecked());
    QVERIFY(!dialog.txtASCII->isEnabled());
    QVERIFY(!dialog.lblASCII->isEnabled());
    QCOMPARE(dialog.txtASCII->text(), QStringLiteral("%%HP: T(3)A(D)F(.);"));

    dialog.chkASCII->click();
    QVERIFY(dialog.txtASCII->isEnabled());
    dialog.chkASCII->click();

    dialog.cmdOK->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(services.settings.read(PreferenceKey::AsciiHeader), QStringLiteral("0"));
    QCOMPARE(services.settings.read(PreferenceKey::AsciiText),
             QStringLiteral("%%HP: T(3)A(D)F(.);"));
}

void PreferencesTest::okStoresEveryFieldAsTyped_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<bool>("checked");

    QTest::newRow("ordinary") << QStringList({QStringLiteral("/home/ann/calc"),
                                              {},
                                              QStringLiteral("%%HP: T(3)A(R)F(,);"),
                                              QStringLiteral("DejaVu Serif"),
                                              QStringLiteral("10.5")})
                              << true;
    QTest::newRow("all empty") << QStringList({{}, {}, {}, {}, {}}) << false;
    QTest::newRow("kept as typed") << QStringList({QStringLiteral("  /no/such folder/ "),
                                                   {},
                                                   QStringLiteral(" ;#,@\"x\" "),
                                                   QStringLiteral("No Such Font"),
                                                   QStringLiteral("twelve")})
                                   << true;
    QTest::newRow("backslashes and accents") << QStringList({QStringLiteral("C:\\Données\\"),
                                                             {},
                                                             QStringLiteral("%%HP: é;"),
                                                             QStringLiteral("Liberation Sans"),
                                                             QStringLiteral("-3")})
                                             << false;
}

void PreferencesTest::okStoresEveryFieldAsTyped()
{
    QFETCH(QStringList, typed);
    QFETCH(bool, checked);
    TestServices services;
    storeValues(services.settings,
                {QStringLiteral("/old"), QStringLiteral("1"), QStringLiteral("old"),
                 QStringLiteral("Old"), QStringLiteral("9")});
    services.settings.writes.clear();

    frmPreferences dialog(services.services());
    dialog.txtWrkDir->setText(typed.at(0));
    dialog.chkASCII->setChecked(checked);
    dialog.txtASCII->setText(typed.at(2));
    dialog.txtFontName->setText(typed.at(3));
    dialog.txtFontSize->setText(typed.at(4));
    dialog.cmdOK->click();

    QCOMPARE(services.settings.writes, KeysInWritingOrder);
    typed[1] = checked ? QStringLiteral("1") : QStringLiteral("0");
    QCOMPARE(storedValues(services.settings), typed);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void PreferencesTest::cancelStoresNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("after");

    for (const QString& how : {QStringLiteral("Cancel"), QStringLiteral("close box")}) {
        for (const QString& after :
             {QStringLiteral("edits"), QStringLiteral("a font"), QStringLiteral("a folder")})
            QTest::addRow("%s after %s", qPrintable(how), qPrintable(after)) << how << after;
    }
}

void PreferencesTest::cancelStoresNothing()
{
    QFETCH(QString, how);
    QFETCH(QString, after);
    TestServices services;
    const QStringList stored{QStringLiteral("/home/ann"), QStringLiteral("0"),
                             QStringLiteral("%%HP: T(0);"), QStringLiteral("Liberation Serif"),
                             QStringLiteral("14")};
    storeValues(services.settings, stored);
    services.settings.writes.clear();
    services.folders.addVolume(QStringLiteral("/"));
    services.folders.addFolder(QStringLiteral("/home/ann/letters"));

    frmPreferences dialog(services.services());
    dialog.show();
    if (after == QLatin1String("edits")) {
        dialog.txtWrkDir->setText(QStringLiteral("/elsewhere"));
        dialog.chkASCII->setChecked(true);
        dialog.txtASCII->clear();
        dialog.txtFontSize->setText(QStringLiteral("8"));
    } else if (after == QLatin1String("a font")) {
        services.fileDialogs.chooseFontAnswer(fontOf(QStringLiteral("DejaVu Sans"), 12));
        dialog.cmdFonts_Click();
        QCOMPARE(dialog.txtFontName->text(), QStringLiteral("DejaVu Sans"));
    } else {
        whenModalShows<frmBrowse>([](frmBrowse* browser) {
            browser->dirWrkDir->setCurrentItem(
                browser->dirWrkDir->topLevelItem(0)->child(0)->child(0)->child(0));
            browser->dirWrkDir_DblClick();
            browser->cmdOk->click();
        });
        dialog.cmdBrowse_Click();
        QCOMPARE(dialog.txtWrkDir->text(), QStringLiteral("/home/ann/letters"));
    }

    if (how == QLatin1String("Cancel"))
        dialog.cmdPrefCancel->click();
    else
        QVERIFY(dialog.close());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(services.settings.writes.isEmpty());

    frmPreferences reopened(services.services());
    QCOMPARE(fieldValues(reopened), stored);
}

void PreferencesTest::fontChoiceFillsBothFields_data()
{
    QTest::addColumn<qreal>("pointSize");
    QTest::addColumn<QString>("sizeText");

    QTest::newRow("whole") << qreal(12) << QStringLiteral("12");
    QTest::newRow("eleven") << qreal(11) << QStringLiteral("11");
    QTest::newRow("half") << qreal(10.5) << QStringLiteral("10.5");
    QTest::newRow("quarter") << qreal(7.25) << QStringLiteral("7.25");
    QTest::newRow("not exact in binary") << qreal(9.1) << QStringLiteral("9.1");
    QTest::newRow("large") << qreal(144) << QStringLiteral("144");
}

void PreferencesTest::fontChoiceFillsBothFields()
{
    QFETCH(qreal, pointSize);
    QFETCH(QString, sizeText);
    TestServices services;
    frmPreferences dialog(services.services());
    services.fileDialogs.chooseFontAnswer(fontOf(QStringLiteral("Liberation Mono"), pointSize));
    dialog.cmdFonts->click();
    QCOMPARE(dialog.txtFontName->text(), QStringLiteral("Liberation Mono"));
    QCOMPARE(dialog.txtFontSize->text(), sizeText);
    QVERIFY(services.settings.writes.isEmpty());
}

void PreferencesTest::cancelledFontDialogChangesNothing()
{
    TestServices services;
    services.settings.write(PreferenceKey::DefaultFont, QStringLiteral("Courier"));
    services.settings.write(PreferenceKey::DefaultFontSize, QStringLiteral("10.5"));
    frmPreferences dialog(services.services());
    services.fileDialogs.chooseFontAnswer(std::nullopt);
    dialog.cmdFonts->click();
    QCOMPARE(dialog.txtFontName->text(), QStringLiteral("Courier"));
    QCOMPARE(dialog.txtFontSize->text(), QStringLiteral("10.5"));
}

// Qt's own font dialog, driven as a user would drive it.
void PreferencesTest::realFontDialogChoosesAScalableFont()
{
    TestServices doubles;
    QtFileDialogs fileDialogs;
    Services services = doubles.services();
    Services real{services.questions, fileDialogs,       services.settings,
                  services.clipboard, services.printers, services.folders};
    const QString family = QStringLiteral("DejaVu Sans");
    if (!QFontDatabase::families().contains(family))
        QSKIP("the DejaVu Sans font is not installed");

    frmPreferences dialog(real);
    bool scalableOnly = false;
    bool qtsOwn = false;
    whenModalShows<QFontDialog>([&](QFontDialog* fonts) {
        scalableOnly = fonts->testOption(QFontDialog::ScalableFonts);
        qtsOwn = fonts->testOption(QFontDialog::DontUseNativeDialog);
        fonts->setCurrentFont(fontOf(family, 12));
        fonts->accept();
    });
    dialog.cmdFonts_Click();
    QVERIFY(scalableOnly);
    QVERIFY(qtsOwn);
    QCOMPARE(dialog.txtFontName->text(), family);
    QCOMPARE(dialog.txtFontSize->text(), QStringLiteral("12"));

    whenModalShows<QFontDialog>([](QFontDialog* fonts) { fonts->reject(); });
    dialog.cmdFonts_Click();
    QCOMPARE(dialog.txtFontName->text(), family);
    QCOMPARE(dialog.txtFontSize->text(), QStringLiteral("12"));
    QVERIFY(doubles.settings.writes.isEmpty());
}

void PreferencesTest::keys_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("stores");

    QTest::newRow("Enter on OK") << QStringLiteral("cmdOK") << int(Qt::Key_Return) << true << true;
    QTest::newRow("keypad Enter on OK")
        << QStringLiteral("cmdOK") << int(Qt::Key_Enter) << true << true;
    QTest::newRow("Enter on Cancel")
        << QStringLiteral("cmdPrefCancel") << int(Qt::Key_Return) << true << false;
    QTest::newRow("Enter in a field")
        << QStringLiteral("txtWrkDir") << int(Qt::Key_Return) << false << false;
    QTest::newRow("Enter on the box")
        << QStringLiteral("chkASCII") << int(Qt::Key_Return) << false << false;
    QTest::newRow("Escape in a field")
        << QStringLiteral("txtFontSize") << int(Qt::Key_Escape) << false << false;
    QTest::newRow("Escape on Cancel")
        << QStringLiteral("cmdPrefCancel") << int(Qt::Key_Escape) << false << false;
}

// Neither button is the default or the cancel button: Enter presses only the button that
// has the focus, Escape presses none.
void PreferencesTest::keys()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, closes);
    QFETCH(bool, stores);
    TestServices services;
    frmPreferences dialog(services.services());
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* target = dialog.findChild<QWidget*>(focus);
    QVERIFY(target != nullptr);
    target->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), target);

    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(!dialog.isVisible(), closes);
    QCOMPARE(services.settings.writes.size(), stores ? KeysInWritingOrder.size() : 0);
}

void PreferencesTest::fileMenuOpensTheDialogModally()
{
    TestServices services;
    services.settings.write(PreferenceKey::DefaultFont, QStringLiteral("Nimbus Sans"));
    frmTabulet window(services.services());
    window.show();

    QString shownFont;
    bool modal = false;
    whenModalShows<frmPreferences>([&](frmPreferences* dialog) {
        shownFont = dialog->txtFontName->text();
        modal = dialog->isModal();
        dialog->cmdPrefCancel->click();
    });
    window.mnuFilePreferences->trigger();
    QVERIFY(modal);
    QCOMPARE(shownFont, QStringLiteral("Nimbus Sans"));
    // Each opening builds the dialog afresh and destroys it when it closes.
    QVERIFY(window.findChildren<frmPreferences*>().isEmpty());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

QTEST_MAIN(PreferencesTest)
#include "tst_preferences.moc"

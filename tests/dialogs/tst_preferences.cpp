#include "dialogs/frmBrowse.h"
#include "dialogs/frmPreferences.h"
#include "doubles/TestServices.h"
#include "platform/SettingsStore.h"

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

const QStringList Keys{PreferenceKey::WrkDir, PreferenceKey::AsciiHeader, PreferenceKey::AsciiText,
                       PreferenceKey::DefaultFont, PreferenceKey::DefaultFontSize};
const QStringList Stored{"/home/ann", "0", "%%HP: T(0);", "Liberation Serif", "14"};

QStringList storedValues(const SettingsStore& settings)
{
    QStringList values;
    for (const QString& key : Keys)
        values << settings.read(key, QStringLiteral("<absent>"));
    return values;
}

QStringList fieldValues(const frmPreferences& dialog)
{
    return {dialog.txtWrkDir->text(), dialog.chkASCII->isChecked() ? "1" : "0",
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
        QVERIFY(dialog != nullptr);
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
    void okStoresEveryFieldAsTyped_data();
    void okStoresEveryFieldAsTyped();
    void leavingWithoutOkStoresNothing_data();
    void leavingWithoutOkStoresNothing();
    void fontSizeInItsShortestForm_data();
    void fontSizeInItsShortestForm();
    void realFontDialog();
    void keys_data();
    void keys();
};

void PreferencesTest::emptyStoreShowsTheDefaults()
{
    TestServices services;
    frmPreferences dialog(services.services());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Tabulet Preferences"));
    QCOMPARE(fieldValues(dialog), QStringList({"C:\\", "1", "%%HP: T(3)A(D)F(.);", "Arial", "11"}));
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

// Only a stored "1" switches the header line on; anything else greys it out.
void PreferencesTest::storedHeaderSwitch_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("checked");
    QTest::newRow("on") << "1" << true;
    QTest::newRow("off") << "0" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("two") << "2" << false;
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

void PreferencesTest::okStoresEveryFieldAsTyped_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::newRow("ordinary") << QStringList{"/home/ann/calc", "1", "%%HP: T(3)A(R)F(,);",
                                             "DejaVu Serif", "10.5"};
    QTest::newRow("all empty") << QStringList{"", "0", "", "", ""};
    QTest::newRow("kept as typed")
        << QStringList{"  C:\\no such\\ ", "1", " ;#,@\"é\" ", "No Such Font", "twelve"};
}

void PreferencesTest::okStoresEveryFieldAsTyped()
{
    QFETCH(QStringList, typed);
    TestServices services;
    frmPreferences dialog(services.services());
    dialog.show();
    if (typed.at(1) == QLatin1String("0")) {
        QTest::mouseClick(dialog.chkASCII, Qt::LeftButton, {},
                          QPoint(4, dialog.chkASCII->height() / 2));
        QVERIFY(!dialog.lblASCII->isEnabled());
        QVERIFY(!dialog.txtASCII->isEnabled());
        QCOMPARE(dialog.txtASCII->text(), QStringLiteral("%%HP: T(3)A(D)F(.);"));
    }
    dialog.txtWrkDir->setText(typed.at(0));
    dialog.txtASCII->setText(typed.at(2));
    dialog.txtFontName->setText(typed.at(3));
    dialog.txtFontSize->setText(typed.at(4));
    dialog.cmdOK->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(services.settings.writes, Keys);
    QCOMPARE(storedValues(services.settings), typed);
}

void PreferencesTest::leavingWithoutOkStoresNothing_data()
{
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("closeBox");
    for (const char* after : {"edits", "a font", "a folder"})
        QTest::newRow(after) << after << false;
    QTest::newRow("close box") << "edits" << true;
}

void PreferencesTest::leavingWithoutOkStoresNothing()
{
    QFETCH(QString, after);
    QFETCH(bool, closeBox);
    TestServices services;
    for (qsizetype i = 0; i < Keys.size(); ++i)
        services.settings.write(Keys.at(i), Stored.at(i));
    services.settings.writes.clear();
    services.folders.addVolume(QStringLiteral("/"));
    services.folders.addFolder(QStringLiteral("/home/ann/letters"));
    frmPreferences dialog(services.services());
    dialog.show();
    if (after == QLatin1String("edits")) {
        dialog.txtWrkDir->setText(QStringLiteral("/elsewhere"));
        dialog.chkASCII->setChecked(true);
        dialog.txtASCII->clear();
    } else if (after == QLatin1String("a font")) {
        services.fileDialogs.chooseFontAnswer(fontOf(QStringLiteral("DejaVu Sans"), 12));
        dialog.cmdFonts->click();
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
    if (closeBox)
        QVERIFY(dialog.close());
    else
        dialog.cmdPrefCancel->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(services.settings.writes.isEmpty());
    QCOMPARE(storedValues(services.settings), Stored);
}

void PreferencesTest::fontSizeInItsShortestForm_data()
{
    QTest::addColumn<qreal>("pointSize");
    QTest::addColumn<QString>("sizeText");
    QTest::newRow("whole") << qreal(11) << "11";
    QTest::newRow("half") << qreal(10.5) << "10.5";
    QTest::newRow("not exact in binary") << qreal(9.1) << "9.1";
}

void PreferencesTest::fontSizeInItsShortestForm()
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

// Qt's own font dialog, chosen from and then cancelled as a user would.
void PreferencesTest::realFontDialog()
{
    const QString family = QStringLiteral("DejaVu Sans");
    if (!QFontDatabase::families().contains(family))
        QSKIP("the DejaVu Sans font is not installed");
    TestServices doubles;
    QtFileDialogs fileDialogs;
    const Services d = doubles.services();
    frmPreferences dialog(
        Services{d.questions, fileDialogs, d.settings, d.clipboard, d.printers, d.folders});
    bool scalableOnly = false;
    whenModalShows<QFontDialog>([&](QFontDialog* fonts) {
        scalableOnly = fonts->testOption(QFontDialog::ScalableFonts);
        fonts->setCurrentFont(fontOf(family, 12));
        fonts->accept();
    });
    dialog.cmdFonts->click();
    QVERIFY(scalableOnly);
    whenModalShows<QFontDialog>([](QFontDialog* fonts) { fonts->reject(); });
    dialog.cmdFonts->click();
    QCOMPARE(dialog.txtFontName->text(), family);
    QCOMPARE(dialog.txtFontSize->text(), QStringLiteral("12"));
    QVERIFY(doubles.settings.writes.isEmpty());
}

// Neither button is the default or the cancel button: Enter presses only the focused
// button, Escape presses none.
void PreferencesTest::keys_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("stores");
    QTest::newRow("Enter on OK") << "cmdOK" << int(Qt::Key_Return) << true << true;
    QTest::newRow("keypad Enter on OK") << "cmdOK" << int(Qt::Key_Enter) << true << true;
    QTest::newRow("Enter on Cancel") << "cmdPrefCancel" << int(Qt::Key_Return) << true << false;
    QTest::newRow("Enter in a field") << "txtWrkDir" << int(Qt::Key_Return) << false << false;
    QTest::newRow("Escape on Cancel") << "cmdPrefCancel" << int(Qt::Key_Escape) << false << false;
}

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
    target->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), target);
    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(!dialog.isVisible(), closes);
    QCOMPARE(services.settings.writes.size(), stores ? Keys.size() : 0);
}

QTEST_MAIN(PreferencesTest)
#include "tst_preferences.moc"

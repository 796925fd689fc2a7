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
const QStringList Defaults{"C:\\", "1", "%%HP: T(3)A(D)F(.);", "Arial", "11"};

QStringList withHeader(const char* header)
{
    return {"/home/ann", header, "%%HP: T(0);", "Liberation Serif", "14"};
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
    void init();
    void everyCaptionFits();
    void showsTheStoredValues_data();
    void showsTheStoredValues();
    void okStoresEveryFieldAsTyped_data();
    void okStoresEveryFieldAsTyped();
    void cancelStoresNothing_data();
    void cancelStoresNothing();
    void fontSizeInItsShortestForm_data();
    void fontSizeInItsShortestForm();
    void realFontDialog();
    void keys_data();
    void keys();

private:
    frmPreferences& open(const QStringList& stored = {});
    QStringList fields() const;
    QStringList stored() const;

    std::unique_ptr<TestServices> m_services;
    std::unique_ptr<frmPreferences> m_dialog;
};

void PreferencesTest::init()
{
    m_dialog.reset();
    m_services = std::make_unique<TestServices>();
}

frmPreferences& PreferencesTest::open(const QStringList& stored)
{
    for (qsizetype i = 0; i < stored.size(); ++i)
        m_services->settings.write(Keys.at(i), stored.at(i));
    m_services->settings.writes.clear();
    m_dialog = std::make_unique<frmPreferences>(m_services->services());
    m_dialog->show();
    return *m_dialog;
}

QStringList PreferencesTest::fields() const
{
    return {m_dialog->txtWrkDir->text(), m_dialog->chkASCII->isChecked() ? "1" : "0",
            m_dialog->txtASCII->text(), m_dialog->txtFontName->text(),
            m_dialog->txtFontSize->text()};
}

QStringList PreferencesTest::stored() const
{
    QStringList values;
    for (const QString& key : Keys)
        values << m_services->settings.read(key, QStringLiteral("<absent>"));
    return values;
}

void PreferencesTest::everyCaptionFits()
{
    m_services->folders.addVolume(QStringLiteral("/"));
    QLineEdit txtWrkDir;
    frmBrowse browser(m_services->services(), txtWrkDir);
    QCOMPARE(open().windowTitle(), QStringLiteral("Tabulet Preferences"));
    for (const QDialog* window : std::initializer_list<const QDialog*>{m_dialog.get(), &browser}) {
        for (const QWidget* control : window->findChildren<QWidget*>()) {
            if (!qobject_cast<const QLabel*>(control) &&
                !qobject_cast<const QAbstractButton*>(control))
                continue;
            QVERIFY2(control->sizeHint().width() <= control->width() &&
                         control->geometry().right() < control->parentWidget()->width(),
                     qPrintable(control->objectName()));
        }
        for (const QGroupBox* frame : window->findChildren<QGroupBox*>())
            QVERIFY2(frame->fontMetrics().horizontalAdvance(frame->title()) < frame->width(),
                     qPrintable(frame->objectName()));
    }
}

// Only a stored "1" switches the header line on; anything else greys it out at once.
void PreferencesTest::showsTheStoredValues_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("nothing stored") << QStringList() << Defaults;
    QTest::newRow("on") << withHeader("1") << withHeader("1");
    QTest::newRow("off") << withHeader("0") << withHeader("0");
    QTest::newRow("empty") << withHeader("") << withHeader("0");
    QTest::newRow("neither 0 nor 1") << withHeader("2") << withHeader("0");
}

void PreferencesTest::showsTheStoredValues()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, shown);
    frmPreferences& dialog = open(stored);
    QCOMPARE(fields(), shown);
    QCOMPARE(dialog.lblASCII->isEnabled(), shown.at(1) == QLatin1String("1"));
    QCOMPARE(dialog.txtASCII->isEnabled(), shown.at(1) == QLatin1String("1"));
    QVERIFY(m_services->settings.writes.isEmpty());
}

// Unchecking the box greys the text out but keeps it.
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
    frmPreferences& dialog = open();
    if (typed.at(1) == QLatin1String("0")) {
        QTest::mouseClick(dialog.chkASCII, Qt::LeftButton, {},
                          QPoint(4, dialog.chkASCII->height() / 2));
        QVERIFY(!dialog.lblASCII->isEnabled());
        QVERIFY(!dialog.txtASCII->isEnabled());
        QCOMPARE(dialog.txtASCII->text(), Defaults.at(2));
    }
    dialog.txtWrkDir->setText(typed.at(0));
    dialog.txtASCII->setText(typed.at(2));
    dialog.txtFontName->setText(typed.at(3));
    dialog.txtFontSize->setText(typed.at(4));
    dialog.cmdOK->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(m_services->settings.writes, Keys);
    QCOMPARE(stored(), typed);
}

void PreferencesTest::cancelStoresNothing_data()
{
    QTest::addColumn<bool>("browse");
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("edits") << false << false;
    QTest::newRow("edits, close box") << false << true;
    QTest::newRow("a folder") << true << false;
}

void PreferencesTest::cancelStoresNothing()
{
    QFETCH(bool, browse);
    QFETCH(bool, closeBox);
    m_services->folders.addVolume(QStringLiteral("/"));
    m_services->folders.addFolder(QStringLiteral("/home/ann/letters"));
    frmPreferences& dialog = open(withHeader("0"));
    if (browse) {
        whenModalShows<frmBrowse>([](frmBrowse* browser) {
            browser->dirWrkDir->setCurrentItem(
                browser->dirWrkDir->topLevelItem(0)->child(0)->child(0)->child(0));
            browser->dirWrkDir_DblClick();
            browser->cmdOk->click();
        });
        dialog.cmdBrowse->click();
        QCOMPARE(dialog.txtWrkDir->text(), QStringLiteral("/home/ann/letters"));
    } else {
        dialog.txtWrkDir->setText(QStringLiteral("/elsewhere"));
        dialog.chkASCII->setChecked(true);
        dialog.txtASCII->clear();
    }
    if (closeBox)
        QVERIFY(dialog.close());
    else
        dialog.cmdPrefCancel->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(m_services->settings.writes.isEmpty());
    QCOMPARE(stored(), withHeader("0"));
}

// The chosen font fills both fields; Cancel afterwards still stores nothing.
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
    frmPreferences& dialog = open(withHeader("1"));
    QFont font(QStringLiteral("Liberation Mono"));
    font.setPointSizeF(pointSize);
    m_services->fileDialogs.chooseFontAnswer(font);
    dialog.cmdFonts->click();
    QCOMPARE(fields().mid(3), QStringList({"Liberation Mono", sizeText}));
    dialog.cmdPrefCancel->click();
    QVERIFY(m_services->settings.writes.isEmpty());
    QCOMPARE(stored(), withHeader("1"));
}

// Qt's own font dialog, chosen from and then cancelled as a user would.
void PreferencesTest::realFontDialog()
{
    const QString family = QStringLiteral("DejaVu Sans");
    if (!QFontDatabase::families().contains(family))
        QSKIP("the DejaVu Sans font is not installed");
    QtFileDialogs fileDialogs;
    const Services d = m_services->services();
    frmPreferences dialog(
        Services{d.questions, fileDialogs, d.settings, d.clipboard, d.printers, d.folders});
    bool scalableOnly = false;
    whenModalShows<QFontDialog>([&](QFontDialog* fonts) {
        scalableOnly = fonts->testOption(QFontDialog::ScalableFonts);
        fonts->setCurrentFont(QFont(family, 12));
        fonts->accept();
    });
    dialog.cmdFonts->click();
    QVERIFY(scalableOnly);
    whenModalShows<QFontDialog>([](QFontDialog* fonts) { fonts->reject(); });
    dialog.cmdFonts->click();
    QCOMPARE(dialog.txtFontName->text(), family);
    QCOMPARE(dialog.txtFontSize->text(), QStringLiteral("12"));
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
    frmPreferences& dialog = open();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* target = dialog.findChild<QWidget*>(focus);
    target->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), target);
    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(!dialog.isVisible(), closes);
    QCOMPARE(m_services->settings.writes.size(), stores ? Keys.size() : 0);
}

QTEST_MAIN(PreferencesTest)
#include "tst_preferences.moc"

#include "core/Preferences.h"
#include "dialogs/frmBrowse.h"
#include "dialogs/frmPreferences.h"
#include "doubles/TestServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QStringList Keys{PreferenceKey::WrkDir, PreferenceKey::AsciiHeader, PreferenceKey::AsciiText,
                       PreferenceKey::DefaultFont, PreferenceKey::DefaultFontSize};
const QStringList Stored{"/home/ann", "0", "%%HP: T(0);", "Liberation Serif", "14"};
const QStringList Typed{"  C:\\no such\\ ", "1", " ;#,@\"é\" ", "No Such Font", "twelve"};

void store(TestServices& services, const QStringList& values)
{
    for (qsizetype i = 0; i < values.size(); ++i)
        services.settings.write(Keys.at(i), values.at(i));
    services.settings.writes.clear();
}

// Runs `handle` on the modal dialog of type T as soon as it shows.
template <typename T> void whenModalShows(std::function<void(T*)> handle)
{
    QTimer::singleShot(0,
                       [handle] { handle(qobject_cast<T*>(QApplication::activeModalWidget())); });
}

} // namespace

class PreferencesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsTheStoredValues_data();
    void showsTheStoredValues();
    void storesOnlyOnOk();
    void realFontDialog();
};

// Only a stored "1" switches the header line on; anything else greys it out at once.
void PreferencesTest::showsTheStoredValues_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("nothing") << QStringList()
                             << QStringList{"C:\\", "1", "%%HP: T(3)A(D)F(.);", "Arial", "11"};
    QTest::newRow("off") << Stored << Stored;
    QTest::newRow("neither 0 nor 1")
        << QStringList{"/home/ann", "2", "%%HP: T(0);", "Liberation Serif", "14"} << Stored;
}

void PreferencesTest::showsTheStoredValues()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, shown);
    TestServices services;
    store(services, stored);
    frmPreferences d(services.services());
    QCOMPARE(QStringList({d.txtWrkDir->text(), d.chkASCII->isChecked() ? "1" : "0",
                          d.txtASCII->text(), d.txtFontName->text(), d.txtFontSize->text()}),
             shown);
    QCOMPARE(d.txtASCII->isEnabled(), shown.at(1) == QLatin1String("1"));
}

// A folder and a font are chosen, then every field typed over: OK stores every field exactly
// as typed, Cancel stores nothing at all.
void PreferencesTest::storesOnlyOnOk()
{
    for (bool ok : {true, false}) {
        TestServices services;
        store(services, Stored);
        services.folders.addVolume(QStringLiteral("/"));
        services.folders.addFolder(QStringLiteral("/home/ann/letters"));
        frmPreferences dialog(services.services());
        whenModalShows<frmBrowse>([](frmBrowse* browser) {
            browser->dirWrkDir->setCurrentItem(
                browser->dirWrkDir->findItems("letters", Qt::MatchRecursive).value(0));
            browser->dirWrkDir_DblClick();
            browser->cmdOk->click();
        });
        dialog.cmdBrowse->click();
        QCOMPARE(dialog.txtWrkDir->text(), QStringLiteral("/home/ann/letters"));
        // The size shows in its shortest form, not as the nearest binary fraction.
        QFont font(QStringLiteral("Liberation Mono"));
        font.setPointSizeF(9.1);
        services.fileDialogs.chooseFontAnswer(font);
        dialog.cmdFonts->click();
        QCOMPARE(dialog.txtFontSize->text(), QStringLiteral("9.1"));
        dialog.chkASCII->setChecked(true);
        dialog.txtWrkDir->setText(Typed.at(0));
        dialog.txtASCII->setText(Typed.at(2));
        dialog.txtFontName->setText(Typed.at(3));
        dialog.txtFontSize->setText(Typed.at(4));
        (ok ? dialog.cmdOK : dialog.cmdPrefCancel)->click();
        QCOMPARE(services.settings.writes, ok ? Keys : QStringList());
        for (qsizetype i = 0; i < Keys.size(); ++i)
            QCOMPARE(services.settings.read(Keys.at(i), {}), (ok ? Typed : Stored).at(i));
    }
}

// Qt's own font dialog, chosen from as a user would.
void PreferencesTest::realFontDialog()
{
    const QString family = QStringLiteral("DejaVu Sans");
    if (!QFontDatabase::families().contains(family))
        QSKIP("the DejaVu Sans font is not installed");
    QtFileDialogs fileDialogs;
    TestServices services;
    const Services d = services.services();
    frmPreferences dialog(
        Services{d.questions, fileDialogs, d.settings, d.clipboard, d.printers, d.folders});
    whenModalShows<QFontDialog>([&](QFontDialog* fonts) {
        fonts->setCurrentFont(QFont(family, 12));
        fonts->accept();
    });
    dialog.cmdFonts->click();
    QCOMPARE(dialog.txtFontName->text(), family);
    QCOMPARE(dialog.txtFontSize->text(), QStringLiteral("12"));
}

QTEST_MAIN(PreferencesTest)
#include "tst_preferences.moc"

#include "core/Preferences.h"
#include "dialogs/PreferenceCommands.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmBrowse.h"
#include "dialogs/frmPreferences.h"
#include "doubles/TestServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

const QString Home = "/home/ann", Notes = Home + "/Notes", Data = Home + "/data", Usb = "/usb";
const QStringList Keys{PreferenceKey::WrkDir, PreferenceKey::AsciiHeader, PreferenceKey::AsciiText,
                       PreferenceKey::DefaultFont, PreferenceKey::DefaultFontSize};

static void okOrCancel()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

static QStringList shown(const frmPreferences& d)
{
    return {d.txtWrkDir->text(), d.chkASCII->isChecked() ? "1" : "0", d.txtASCII->text(),
            d.txtFontName->text(), d.txtFontSize->text()};
}

// The modal dialog that shows next, as soon as it shows.
template <typename T> void whenModalShows(std::function<void(T*)> handle)
{
    QTimer::singleShot(0, [=] { handle(qobject_cast<T*>(QApplication::activeModalWidget())); });
}

class DialogsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aboutCloses_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }
    void aboutCloses()
    {
        QFETCH(int, key);
        frmAbout about;
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QVERIFY(!about.isVisible());
    }

    // The confirmation's OK removes every setting and says so; Cancel keeps them all.
    void removal_data() { okOrCancel(); }
    void removal()
    {
        QFETCH(bool, ok);
        TestServices services;
        services.settings.write(PreferenceKey::WrkDir, Home);
        services.questions.answerMessage(ok ? QMessageBox::Ok : QMessageBox::Cancel);
        services.questions.answerMessage(QMessageBox::Ok);
        PreferenceCommands(services.services()).removeSettings(nullptr);
        QCOMPARE(services.questions.asked.size(), ok ? 2 : 1);
        QCOMPARE(services.questions.asked.last().title,
                 ok ? "Registry Settings Removed" : "Remove Registry Settings?");
        QCOMPARE(services.settings.contains(PreferenceKey::WrkDir), !ok);
    }

    void browserOpensAt_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("path");
        QTest::newRow("working directory") << Data << Data;
        QTest::newRow("missing: the default on a fresh system") << "C:\\" << Home;
    }
    void browserOpensAt()
    {
        QFETCH(QString, field);
        TestServices services;
        QLineEdit txtWrkDir(field);
        QTEST(frmBrowse(services.services(), txtWrkDir).Path(), "path");
    }

    // A disk that is not ready is asked for again until it comes or the user gives up, an
    // unavailable drive falls back to the stored working directory, then to the home folder,
    // and any other failure leaves the folders where they were.
    void driveFails_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("drive");
        const QString disk = "Put a floppy disk in the drive and close the door.";
        const QString gone = "This drive or path does not exist: /usb";
        const auto ok = QMessageBox::Ok, cancel = QMessageBox::Cancel;
        using E = FolderError;
        QTest::newRow("not ready, retry") << E::DiskNotReady << ok << Notes << disk << Usb << Usb;
        QTest::newRow("not ready, cancel")
            << E::DiskNotReady << cancel << Notes << disk << Data << Usb;
        QTest::newRow("unavailable") << E::DeviceUnavailable << ok << Notes << gone << Notes << "/";
        QTest::newRow("unavailable, unset")
            << E::DeviceUnavailable << ok << "" << gone << Home << "/";
        QTest::newRow("unexpected") << E::PermissionDenied << ok << Notes
                                    << "Unexpected error # 70 occurred: Denied" << Data << "/";
    }
    void driveFails()
    {
        QFETCH(int, error);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QString, stored);
        TestServices services;
        services.settings.write(PreferenceKey::WrkDir, stored);
        services.folders.failures[Usb] = {FolderError{error, "Denied"}};
        services.questions.answerMessage(answer);
        QLineEdit txtWrkDir(Data);
        frmBrowse browser(services.services(), txtWrkDir);
        browser.drvWrkDir->setCurrentIndex(browser.drvWrkDir->findData(Usb));
        QTEST(services.questions.asked.value(0).text, "told");
        QTEST(browser.Path(), "path");
        QTEST(browser.Drive(), "drive");
    }

    // Only a stored "1" switches the header line on; anything else greys its field out.
    void preferencesShow_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("shown");
        const QStringList off{Home, "0", "%%HP: T(0);", "Courier", "14"};
        QTest::newRow("nothing") << QStringList()
                                 << QStringList{"C:\\", "1", "%%HP: T(3)A(D)F(.);", "Arial", "11"};
        QTest::newRow("off") << off << off;
        QTest::newRow("neither 0 nor 1")
            << QStringList{Home, "true", "%%HP: T(0);", "Courier", "14"} << off;
    }
    void preferencesShow()
    {
        QFETCH(QStringList, stored);
        TestServices services;
        for (qsizetype i = 0; i < stored.size(); ++i)
            services.settings.write(Keys.at(i), stored.at(i));
        frmPreferences d(services.services());
        QTEST(shown(d), "shown");
        QCOMPARE(d.txtASCII->isEnabled(), d.chkASCII->isChecked());
        d.chkASCII->toggle();
        QCOMPARE(d.txtASCII->isEnabled(), d.chkASCII->isChecked());
    }

    // A folder and a font are chosen, then every field typed over: OK stores every field as
    // typed, Cancel nothing at all.
    void preferencesStore_data() { okOrCancel(); }
    void preferencesStore()
    {
        QFETCH(bool, ok);
        const QStringList typed{"  C:\\no such\\ ", "0", " ;#,@\"é\" ", "No Such Font", "twelve"};
        TestServices services;
        frmPreferences d(services.services());
        whenModalShows<frmBrowse>([](frmBrowse* browser) {
            browser->dirWrkDir->setCurrentItem(
                browser->dirWrkDir->findItems("data", Qt::MatchRecursive).value(0));
            browser->dirWrkDir_DblClick();
            // Only the folder opened counts, not the one highlighted.
            browser->dirWrkDir->setCurrentItem(browser->dirWrkDir->topLevelItem(0));
            browser->cmdOk->click();
        });
        d.cmdBrowse->click();
        QFont font("Liberation Mono");
        font.setPointSizeF(9.1);
        services.fileDialogs.chooseFontAnswer(font);
        d.cmdFonts->click();
        // The size shows in its shortest form, not as the nearest binary fraction.
        QCOMPARE(shown(d),
                 QStringList({Data, "1", "%%HP: T(3)A(D)F(.);", "Liberation Mono", "9.1"}));
        d.chkASCII->setChecked(false);
        d.txtWrkDir->setText(typed[0]);
        d.txtASCII->setText(typed[2]);
        d.txtFontName->setText(typed[3]);
        d.txtFontSize->setText(typed[4]);
        (ok ? d.cmdOK : d.cmdPrefCancel)->click();
        QCOMPARE(services.settings.writes, ok ? Keys : QStringList());
        for (qsizetype i = 0; ok && i < Keys.size(); ++i)
            QCOMPARE(services.settings.read(Keys.at(i)), typed.at(i));
    }

    // Qt's own font dialog, chosen from as a user would.
    void realFontDialog()
    {
        if (!QFontDatabase::families().contains("DejaVu Sans"))
            QSKIP("the DejaVu Sans font is not installed");
        QtFileDialogs qtDialogs;
        TestServices services;
        const Services s = services.services();
        frmPreferences d({s.questions, qtDialogs, s.settings, s.clipboard, s.printers, s.folders});
        whenModalShows<QFontDialog>([](QFontDialog* fonts) {
            fonts->setCurrentFont(QFont("DejaVu Sans", 12));
            fonts->accept();
        });
        d.cmdFonts->click();
        QCOMPARE(shown(d).mid(3), QStringList({"DejaVu Sans", "12"}));
    }
};

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"

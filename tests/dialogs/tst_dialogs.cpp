#include "checks/AccessibleControls.h"
#include "checks/Files.h"
#include "dialogs/PreferenceCommands.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmBrowse.h"
#include "dialogs/frmLinkSettings.h"
#include "dialogs/frmPreferences.h"
#include "doubles/TestServices.h"
#include "link/KermitTransfer.h"
#include "link/LinkSettings.h"
#include "platform/FileDialogs.h"

#include <QtTest>
#include <QtWidgets>

// The names the settings have always been stored under, in the order they are written.
const QStringList Keys{"WrkDir", "ASCII Header", "ASCII Text", "Default Font", "Default Font Size"};

// A font of one pixel size only, as X11's bitmap fonts are.
const QByteArray BitmapFont = "STARTFONT 2.1\nFONT x\nSIZE 8 75 75\nFONTBOUNDINGBOX 1 1 0 0\n"
                              "STARTPROPERTIES 1\nFAMILY_NAME \"TabuletBitmap\"\nENDPROPERTIES\n"
                              "CHARS 1\nSTARTCHAR A\nENCODING 65\nDWIDTH 1 0\nBBX 1 1 0 0\n"
                              "BITMAP\n80\nENDCHAR\nENDFONT\n";

class DialogsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The browser opens at "/" and the stick is chosen. A disk that is not ready is asked for
    // until it comes or the user gives up, an unavailable drive falls back to the stored
    // working directory, any other failure leaves the folders where they were. OK then writes
    // the folder opened, not the subfolder highlighted.
    void driveFails_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("retry");
        QTest::addColumn<QStringList>("seen");
        const QString disk = "Put a floppy disk in the drive and close the door.";
        const QString gone = "This drive or path does not exist: /usb";
        const auto row = [](const char* t, const auto&... v) { (QTest::newRow(t) << ... << v); };
        using E = FolderError;
        using L = QStringList;
        row("no disk, retry", E::DiskNotReady, true, L{disk, "/usb", "/usb"});
        row("no disk, cancel", E::DiskNotReady, false, L{disk, "/", "/usb"});
        row("unavailable", E::DeviceUnavailable, true, L{gone, "/data", "/"});
        row("other", E::PermissionDenied, true, L{"Unexpected error # 70 occurred: No", "/", "/"});
    }
    void driveFails()
    {
        QFETCH(int, error);
        QFETCH(bool, retry);
        TestServices s;
        s.settings.write("WrkDir", "/data");
        s.folders.failures = {FolderError{error, "No"}};
        s.questions.answerMessage(retry ? QMessageBox::Ok : QMessageBox::Cancel);
        QLineEdit edit("/");
        frmBrowse browser(s.services(), edit);
        browser.drvWrkDir->setCurrentIndex(browser.drvWrkDir->findData("/usb"));
        QTest::keyClick(browser.dirWrkDir, Qt::Key_Down);
        browser.cmdOk->click();
        QTEST((QStringList{s.questions.asked.value(0).text, edit.text(), browser.Drive()}), "seen");
    }

    // Every dialog is answered OK, with Enter for the About box, or turned down, with Cancel or
    // Escape. Preferences show what is stored, or the defaults; only a stored "1" checks the
    // header box, and an unchecked box greys its field. The user toggles the box, browses,
    // chooses a font and types on in every field: OK stores every field as it stands and the
    // offer to remove the settings then removes them; Cancel stores nothing and keeps them.
    void answers_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("OK, defaults")
            << true << QStringList{"C:\\", "1", "%%HP: T(3)A(D)F(.);", "Arial", "11"}
            << QStringList();
        QTest::newRow("Cancel, stored") << false << QStringList{"/data", "0", "T(0)", "Mono", "14"}
                                        << QStringList{"/data", "true", "T(0)", "Mono", "14"};
    }
    void answers()
    {
        QFETCH(bool, ok);
        QFETCH(QStringList, stored);
        frmAbout about;
        about.show();
        QTest::keyClick(&about, ok ? Qt::Key_Return : Qt::Key_Escape);
        QVERIFY(about.isHidden());
        TestServices s;
        for (qsizetype i = 0; i < stored.size(); ++i)
            s.settings.write(Keys.at(i), stored.at(i));
        frmPreferences d(s.services());
        const auto fields = [&d] {
            return QStringList{d.txtWrkDir->text(), QString::number(d.chkASCII->isChecked()),
                               d.txtASCII->text(), d.txtFontName->text(), d.txtFontSize->text()};
        };
        QTEST(fields(), "shown");
        QCOMPARE(d.txtASCII->isEnabled(), d.chkASCII->isChecked());
        d.chkASCII->click();
        QCOMPARE(d.txtASCII->isEnabled(), d.chkASCII->isChecked());
        QTimer::singleShot(0, [&d] { d.findChild<frmBrowse*>()->cmdOk->click(); });
        d.cmdBrowse->click();
        QCOMPARE(d.txtWrkDir->text(), stored.value(0, "/home"));
        QFont font("Liberation Mono");
        font.setPointSizeF(9.1);
        s.fileDialogs.chooseFontAnswer(font);
        d.cmdFonts->click();
        // The size shows in its shortest form, not as the nearest binary fraction.
        QCOMPARE(fields().mid(3), QStringList({"Liberation Mono", "9.1"}));
        for (QLineEdit* field : {d.txtWrkDir, d.txtASCII, d.txtFontName, d.txtFontSize})
            field->setText(field->text() + " \"é;#, ");
        (ok ? d.cmdOK : d.cmdPrefCancel)->click();
        QCOMPARE(s.settings.writes.mid(stored.size()), ok ? Keys : QStringList());
        for (qsizetype i = 0; ok && i < Keys.size(); ++i)
            QCOMPARE(s.settings.read(Keys.at(i)), fields().at(i));
        s.settings.writeIn("Recent Files", "File1", "/data/a.DF");
        s.questions.answerMessage(ok ? QMessageBox::Ok : QMessageBox::Cancel);
        s.questions.answerMessage(QMessageBox::Ok);
        QCOMPARE(PreferenceCommands(s.services()).removeSettings(nullptr), ok);
        QCOMPARE(s.settings.isEmpty(), ok);
    }

    // Qt's font dialog, answered OK at once: it offers no bitmap font and no effects, and opens
    // at the font it is given, by default the application's, as the system draws it (Arial may
    // be drawn in another family).
    void fontDialog_data()
    {
        QTest::addColumn<QFont>("start");
        QTest::newRow("the application's font") << QApplication::font();
        QTest::newRow("the preferences' font") << QFont("Arial", 11);
    }
    void fontDialog()
    {
        QFETCH(QFont, start);
        const int bitmap = QFontDatabase::addApplicationFontFromData(BitmapFont);
        QStringList offered;
        bool effects = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            for (const QListView* list : dialog->findChildren<QListView*>())
                offered << qobject_cast<QStringListModel*>(list->model())->stringList();
            for (const QCheckBox* box : dialog->findChildren<QCheckBox*>())
                effects = effects || box->isVisible();
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        QtFileDialogs qtDialogs;
        FileDialogs& dialogs = qtDialogs;
        const std::optional<QFont> chosen =
            start == QFont() ? dialogs.chooseFont(nullptr) : dialogs.chooseFont(nullptr, start);
        QFontDatabase::removeApplicationFont(bitmap);
        QVERIFY(bitmap >= 0 && chosen && !effects && !offered.contains("TabuletBitmap"));
        QCOMPARE(QFontInfo(*chosen).family(), QFontInfo(start).family());
        QCOMPARE(chosen->pointSize(), start.pointSize());
    }

    // Settings that cannot be written are reported once, and the program goes on. Removing the
    // settings leaves nothing of Tabulet in the store, not even an empty file.
    void unwritableSettingsReportedOnce()
    {
        QTemporaryDir folder;
        const QString blocker = folder.filePath("not a folder");
        QVERIFY(writeFile(blocker, {}));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, blocker);
        QStringList reported;
        const auto report = [&reported](const QString& file) { reported << file; };
        QtSettingsStore unwritable;
        unwritable.setFailureReport(report);
        unwritable.write("WrkDir", "/data");
        QCOMPARE(reported.size(), 1);
        unwritable.writeIn("Window", "Left", "10");
        unwritable.removeEverything();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           qEnvironmentVariable("XDG_CONFIG_HOME"));
        QVERIFY(reported.constFirst().startsWith(blocker));
        QtSettingsStore store;
        store.setFailureReport(report);
        store.write("WrkDir", "/data");
        store.writeIn("Recent Files", "File1", "/data/a.DF");
        store.writeIn("Window", "Left", "10");
        const QString file = QSettings("Tabulet", "Tabulet").fileName();
        QVERIFY(QFile::exists(file));
        store.removeEverything();
        QVERIFY(!QFile::exists(file) && store.readIn("Window", "Left").isEmpty());
        QCOMPARE(reported.size(), 1);
    }

    // Link Settings shows what is stored, a value that is none of the choices as its default,
    // and keeps only what OK confirms, in a section of its own.
    void linkSettings()
    {
        TestServices doubles;
        doubles.settings.writeIn("Calculator Link", "Speed", "4800");
        doubles.settings.writeIn("Calculator Link", "BlockCheck", "7");
        frmLinkSettings window(doubles.services());
        QCOMPARE(window.cboSpeed->currentText(), "4800 bps");
        QCOMPARE(window.cboBlockCheck->currentIndex(), 2);
        QCOMPARE(window.cboProtocol->currentText(), "Kermit");
        window.cboPort->setCurrentText(" /dev/ttyUSB0 ");
        window.cboParity->setCurrentIndex(2);
        window.cboProtocol->setCurrentIndex(1);
        window.reject();
        QCOMPARE(doubles.settings.writes.size(), 2);
        window.cmdOK_Click();
        const LinkSettings kept = LinkSettings::read(doubles.settings);
        QCOMPARE(QStringList({kept.port, kept.parity, QString::number(kept.speed)}),
                 QStringList({"/dev/ttyUSB0", "even", "4800"}));
        QVERIFY(kept.blockCheck == 3 && kept.protocol == LinkSettings::Protocol::XModem);
    }

    // The program's own dialogs and its questions as a screen reader finds them, in the main
    // window's font, each opened as the program opens it.
    void everyControlIsNamed_data()
    {
        QTest::addColumn<QString>("window");
        for (const char* window : {"Preferences", "Browse", "About", "Remove Settings", "Input Box",
                                   "Link Settings", "Transfer", "Variables"})
            QTest::newRow(window) << window;
    }
    void everyControlIsNamed()
    {
        QFETCH(QString, window);
        TestServices doubles;
        QtQuestions questions;
        PreferenceCommands commands({questions, doubles.fileDialogs, doubles.settings,
                                     doubles.clipboard, doubles.printers, doubles.folders,
                                     doubles.serialLines});
        QLineEdit workingDirectory(QStringLiteral("/"));
        QBuffer line;
        KermitTransfer transfer(line, {}, {});
        // Each window is looked at as soon as it shows, then closed; one that never shows says
        // so, and the look is called off with the test's objects.
        QString faults = "never shown";
        QTimer::singleShot(0, &transfer, [&faults] {
            faults = accessibilityFaults(*QApplication::activeModalWidget());
            QApplication::activeModalWidget()->close();
        });
        if (window == u"Preferences")
            commands.showPreferences(nullptr);
        else if (window == u"Browse")
            frmBrowse(doubles.services(), workingDirectory).exec();
        else if (window == u"About")
            commands.showAbout(nullptr);
        else if (window == u"Remove Settings")
            QVERIFY(!commands.removeSettings(nullptr));
        else if (window == u"Input Box")
            QVERIFY(questions.inputBox(nullptr, "New Header", "Header:", "x").isEmpty());
        else if (window == u"Link Settings")
            commands.linkWindows().editSettings(nullptr);
        else if (window == u"Transfer")
            commands.linkWindows().watch(nullptr, "Send Document", transfer);
        else
            QVERIFY(!commands.linkWindows().chooseVariable(nullptr, {{"A", "1", "B"}}));
        QCOMPARE(faults, QString());
    }

    // Help > Tabulet Help: the guide where it is installed, else beside the build folder, opened
    // in the browser; where none can open it, the user is told where it is.
    void userGuide_data()
    {
        QTest::addColumn<QString>("guide"); // where it is from the program's folder's parent
        QTest::addColumn<bool>("browser");
        QTest::addColumn<QString>("said"); // the start of the message, if any
        const QString installed("share/doc/tabulet/help.html");
        QTest::newRow("installed") << installed << true << "";
        QTest::newRow("beside the build") << "docs/help.html" << true << "";
        QTest::newRow("no browser")
            << installed << false << "No web browser could open the user's guide.";
        QTest::newRow("not installed") << "" << true << "The user's guide is not installed.";
    }
    void userGuide()
    {
        QFETCH(QString, guide);
        QFETCH(bool, browser);
        QFETCH(QString, said);
        // The test program stands where the program would: the guide goes where it is sought,
        // and only what the test made goes again.
        const QDir above(QCoreApplication::applicationDirPath() + "/..");
        QVERIFY(guide.isEmpty() || (above.mkpath(QFileInfo(guide).path()) &&
                                    writeFile(above.filePath(guide), "<html/>")));
        const QString where = QFileInfo(above.filePath(guide)).canonicalFilePath();
        TestServices doubles;
        QList<QUrl> urls;
        PreferenceCommands commands(doubles.services(), [&](const QUrl& url) {
            urls << url;
            return browser;
        });
        if (!said.isEmpty())
            doubles.questions.answerMessage(QMessageBox::Ok);
        commands.showHelp(nullptr);
        if (!guide.isEmpty() && QFile::remove(where))
            above.rmpath(QFileInfo(guide).path());
        QCOMPARE(urls, guide.isEmpty() ? QList<QUrl>{} : QList<QUrl>{QUrl::fromLocalFile(where)});
        const QString text = doubles.questions.asked.value(0).text;
        QVERIFY2(said.isEmpty() ? text.isEmpty() : text.startsWith(said), qPrintable(text));
        QCOMPARE(!guide.isEmpty() && text.contains(QDir::toNativeSeparators(where)), !browser);
    }
};

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"

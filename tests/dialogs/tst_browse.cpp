#include "dialogs/frmBrowse.h"
#include "doubles/TestServices.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

const QString Home = QStringLiteral("/home/ann");
const QString Usb = QStringLiteral("/media/usb");

// Two volumes: the system's, on which the program runs in the home folder, and a stick.
void addMachine(ScriptedFolders& folders)
{
    folders.addVolume(QStringLiteral("/"));
    folders.addVolume(Usb, QStringLiteral("STICK"));
    for (const char* folder : {"/home/ann/data/old", "/home/ann/Notes", "/home/ann/archive",
                               "/home/bob", "/media/usb/letters/2024"})
        folders.addFolder(QLatin1String(folder));
    folders.setWorkingFolder(Home);
    folders.setHomeFolder(Home);
}

// The directory list as indented lines, one per folder, the current folder marked.
QStringList listed(const QTreeWidget& tree)
{
    QStringList lines;
    std::function<void(const QTreeWidgetItem*, int)> walk = [&](const QTreeWidgetItem* item,
                                                                int depth) {
        lines << QString(depth, QLatin1Char(' ')) + item->text(0);
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i), depth + 1);
    };
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        walk(tree.topLevelItem(i), 0);
    return lines;
}

QTreeWidgetItem* itemNamed(const QTreeWidget& tree, const QString& name)
{
    const QList<QTreeWidgetItem*> found =
        tree.findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.size() == 1 ? found.constFirst() : nullptr;
}

void chooseDrive(frmBrowse& browser, const QString& root)
{
    const int index = browser.drvWrkDir->findData(root);
    QVERIFY(index >= 0);
    browser.drvWrkDir->setCurrentIndex(index);
}

ScriptedQuestions::Asked message(const QString& text, QMessageBox::StandardButtons buttons,
                                 QMessageBox::Icon icon)
{
    return {ScriptedQuestions::Asked::Message,
            QStringLiteral("Tabulet"),
            text,
            QString(),
            buttons,
            icon,
            QMessageBox::Ok};
}

void compareAsked(const QList<ScriptedQuestions::Asked>& asked,
                  const QList<ScriptedQuestions::Asked>& expected)
{
    QCOMPARE(asked.size(), expected.size());
    for (qsizetype i = 0; i < asked.size(); ++i) {
        QCOMPARE(asked.at(i).title, expected.at(i).title);
        QCOMPARE(asked.at(i).text, expected.at(i).text);
        QCOMPARE(asked.at(i).buttons, expected.at(i).buttons);
        QCOMPARE(asked.at(i).icon, expected.at(i).icon);
    }
}

const QString NotReadyText = QStringLiteral("Put a floppy disk in the drive and close the door.");
const FolderError NotReady{FolderError::DiskNotReady, QStringLiteral("Disk not ready")};
const FolderError Unavailable{FolderError::DeviceUnavailable, QStringLiteral("Device unavailable")};

} // namespace

class BrowseTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensAt_data();
    void opensAt();
    void listShowsTheWayDownAndTheSubfolders();
    void okWritesTheCurrentFolderNotTheHighlightedOne();
    void doubleClickAndEnterOpenAFolder_data();
    void doubleClickAndEnterOpenAFolder();
    void leavingWithoutOkKeepsTheField_data();
    void leavingWithoutOkKeepsTheField();
    void choosingADriveMovesToItsCurrentFolder();
    void driveNotReady_data();
    void driveNotReady();
    void driveUnavailable_data();
    void driveUnavailable();
    void unexpectedErrorKeepsBothLists();
    void unopenableFolderKeepsTheList();
};

void BrowseTest::opensAt_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("drive");

    QTest::newRow("working directory") << QStringLiteral("/home/ann/data") << "/home/ann/data"
                                       << "/";
    QTest::newRow("untidy spelling") << QStringLiteral("/home//ann/./data/") << "/home/ann/data"
                                     << "/";
    QTest::newRow("the root") << QStringLiteral("/") << "/"
                              << "/";
    QTest::newRow("empty") << QString() << Home << "/";
    QTest::newRow("the default on a fresh system") << QStringLiteral("C:\\") << Home << "/";
    QTest::newRow("no such folder") << QStringLiteral("/home/ann/gone") << Home << "/";
    // A new drive list shows the program's drive; moving it to another drive sends the
    // directory list to that drive's current folder.
    QTest::newRow("on another drive") << QStringLiteral("/media/usb/letters") << Usb << Usb;
}

void BrowseTest::opensAt()
{
    QFETCH(QString, field);
    QFETCH(QString, path);
    QFETCH(QString, drive);
    TestServices services;
    addMachine(services.folders);
    QLineEdit txtWrkDir(field);

    frmBrowse browser(services.services(), txtWrkDir);
    QCOMPARE(browser.windowTitle(), QStringLiteral("Tabulet Working Directory"));
    QCOMPARE(browser.Path(), path);
    QCOMPARE(browser.Drive(), drive);
    QCOMPARE(browser.dirWrkDir->currentItem()->data(0, Qt::UserRole).toString(), path);
    QCOMPARE(txtWrkDir.text(), field);
    QVERIFY(services.questions.asked.isEmpty());
}

void BrowseTest::listShowsTheWayDownAndTheSubfolders()
{
    TestServices services;
    addMachine(services.folders);
    QLineEdit txtWrkDir(Home);
    frmBrowse browser(services.services(), txtWrkDir);

    QCOMPARE(listed(*browser.dirWrkDir),
             QStringList({"/", " home", "  ann", "   archive", "   data", "   Notes"}));
    QCOMPARE(browser.drvWrkDir->count(), 2);
    QCOMPARE(browser.drvWrkDir->itemText(1), QStringLiteral("/media/usb [STICK]"));
}

void BrowseTest::okWritesTheCurrentFolderNotTheHighlightedOne()
{
    TestServices services;
    addMachine(services.folders);
    QLineEdit txtWrkDir(Home);
    frmBrowse browser(services.services(), txtWrkDir);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));

    QTreeWidgetItem* notes = itemNamed(*browser.dirWrkDir, QStringLiteral("Notes"));
    QVERIFY(notes != nullptr);
    browser.dirWrkDir->scrollToItem(notes);
    QTest::mouseClick(browser.dirWrkDir->viewport(), Qt::LeftButton, {},
                      browser.dirWrkDir->visualItemRect(notes).center());
    QCOMPARE(browser.dirWrkDir->currentItem(), notes);
    browser.cmdOk->click();

    QCOMPARE(txtWrkDir.text(), Home);
    QVERIFY(!browser.isVisible());
    QCOMPARE(browser.result(), int(QDialog::Accepted));
    QVERIFY(services.settings.writes.isEmpty());
}

void BrowseTest::doubleClickAndEnterOpenAFolder_data()
{
    QTest::addColumn<bool>("byMouse");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("path");

    QTest::newRow("mouse, down") << true << QStringLiteral("data") << "/home/ann/data";
    QTest::newRow("mouse, up") << true << QStringLiteral("home") << "/home";
    QTest::newRow("Enter, down") << false << QStringLiteral("Notes") << "/home/ann/Notes";
    QTest::newRow("Enter, to the root") << false << QStringLiteral("/") << "/";
}

void BrowseTest::doubleClickAndEnterOpenAFolder()
{
    QFETCH(bool, byMouse);
    QFETCH(QString, folder);
    QFETCH(QString, path);
    TestServices services;
    addMachine(services.folders);
    QLineEdit txtWrkDir(Home);
    frmBrowse browser(services.services(), txtWrkDir);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));

    QTreeWidgetItem* item = itemNamed(*browser.dirWrkDir, folder);
    QVERIFY(item != nullptr);
    browser.dirWrkDir->scrollToItem(item);
    const QPoint where = browser.dirWrkDir->visualItemRect(item).center();
    if (byMouse) {
        QTest::mouseClick(browser.dirWrkDir->viewport(), Qt::LeftButton, {}, where);
        QTest::mouseDClick(browser.dirWrkDir->viewport(), Qt::LeftButton, {}, where);
    } else {
        browser.dirWrkDir->setCurrentItem(item);
        QTest::keyClick(browser.dirWrkDir, Qt::Key_Return);
    }
    QCOMPARE(browser.Path(), path);
    QVERIFY(browser.isVisible());
    browser.cmdOk->click();
    QCOMPARE(txtWrkDir.text(), path);
}

void BrowseTest::leavingWithoutOkKeepsTheField_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << QStringLiteral("Cancel");
    QTest::newRow("close box") << QStringLiteral("close box");
    QTest::newRow("Enter on Cancel") << QStringLiteral("Enter on Cancel");
}

void BrowseTest::leavingWithoutOkKeepsTheField()
{
    QFETCH(QString, how);
    TestServices services;
    addMachine(services.folders);
    QLineEdit txtWrkDir(QStringLiteral("/home/ann/data"));
    frmBrowse browser(services.services(), txtWrkDir);
    browser.show();
    browser.dirWrkDir->setCurrentItem(itemNamed(*browser.dirWrkDir, QStringLiteral("old")));
    browser.dirWrkDir_DblClick();
    QCOMPARE(browser.Path(), QStringLiteral("/home/ann/data/old"));

    // Escape is no way out: neither button is the cancel button.
    QTest::keyClick(browser.dirWrkDir, Qt::Key_Escape);
    QVERIFY(browser.isVisible());

    if (how == QLatin1String("Cancel")) {
        browser.cmdCancel->click();
    } else if (how == QLatin1String("close box")) {
        QVERIFY(browser.close());
    } else {
        browser.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&browser));
        browser.cmdCancel->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), browser.cmdCancel);
        QTest::keyClick(browser.cmdCancel, Qt::Key_Return);
    }
    QVERIFY(!browser.isVisible());
    QCOMPARE(browser.result(), int(QDialog::Rejected));
    QCOMPARE(txtWrkDir.text(), QStringLiteral("/home/ann/data"));
}

void BrowseTest::choosingADriveMovesToItsCurrentFolder()
{
    TestServices services;
    addMachine(services.folders);
    QLineEdit txtWrkDir(QStringLiteral("/home/ann/data"));
    frmBrowse browser(services.services(), txtWrkDir);

    chooseDrive(browser, Usb);
    QCOMPARE(browser.Path(), Usb);
    QCOMPARE(listed(*browser.dirWrkDir), QStringList({"/media/usb", " letters"}));
    chooseDrive(browser, QStringLiteral("/"));
    QCOMPARE(browser.Path(), Home);
    QCOMPARE(services.folders.volumesReached, QStringList({Usb, QStringLiteral("/")}));
}

void BrowseTest::driveNotReady_data()
{
    QTest::addColumn<int>("failures");
    QTest::addColumn<QList<QMessageBox::StandardButton>>("answers");
    QTest::addColumn<QString>("path");

    using Buttons = QList<QMessageBox::StandardButton>;
    QTest::newRow("ready after one retry") << 1 << Buttons{QMessageBox::Ok} << Usb;
    QTest::newRow("ready after three retries")
        << 3 << Buttons{QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok} << Usb;
    QTest::newRow("given up at once") << 1 << Buttons{QMessageBox::Cancel} << "/home/ann/data";
    QTest::newRow("given up after a retry")
        << 2 << Buttons{QMessageBox::Ok, QMessageBox::Cancel} << "/home/ann/data";
}

void BrowseTest::driveNotReady()
{
    QFETCH(int, failures);
    QFETCH(QList<QMessageBox::StandardButton>, answers);
    QFETCH(QString, path);
    TestServices services;
    addMachine(services.folders);
    services.folders.failVolume(Usb, NotReady, failures);
    for (QMessageBox::StandardButton answer : answers)
        services.questions.answerMessage(answer);
    QLineEdit txtWrkDir(QStringLiteral("/home/ann/data"));
    frmBrowse browser(services.services(), txtWrkDir);

    chooseDrive(browser, Usb);
    QCOMPARE(browser.Path(), path);
    // Given up, the drive list still shows the chosen drive.
    QCOMPARE(browser.Drive(), Usb);
    compareAsked(services.questions.asked,
                 QList<ScriptedQuestions::Asked>(
                     answers.size(), message(NotReadyText, QMessageBox::Ok | QMessageBox::Cancel,
                                             QMessageBox::Warning)));
    QVERIFY(services.questions.allAnswered());
}

void BrowseTest::driveUnavailable_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("drive");

    QTest::newRow("back to the stored folder")
        << QStringLiteral("/home/ann/Notes") << "/home/ann/Notes"
        << "/";
    QTest::newRow("stored on the stick")
        << QStringLiteral("/media/usb/letters") << "/media/usb/letters" << Usb;
    QTest::newRow("nothing stored") << QString() << Home << "/";
    QTest::newRow("stored folder gone") << QStringLiteral("/home/ann/gone") << Home << "/";
}

void BrowseTest::driveUnavailable()
{
    QFETCH(QString, stored);
    QFETCH(QString, path);
    QFETCH(QString, drive);
    TestServices services;
    addMachine(services.folders);
    if (!stored.isNull())
        services.settings.write(PreferenceKey::WrkDir, stored);
    services.settings.writes.clear();
    services.folders.failVolume(Usb, Unavailable);
    services.questions.answerMessage(QMessageBox::Ok);
    QLineEdit txtWrkDir(QStringLiteral("/home/bob"));
    frmBrowse browser(services.services(), txtWrkDir);

    chooseDrive(browser, Usb);
    compareAsked(services.questions.asked,
                 {message(QStringLiteral("This drive or path does not exist: /media/usb"),
                          QMessageBox::Ok, QMessageBox::Warning)});
    QCOMPARE(browser.Path(), path);
    QCOMPARE(browser.Drive(), drive);
    QVERIFY(services.settings.writes.isEmpty());
    QCOMPARE(txtWrkDir.text(), QStringLiteral("/home/bob"));
}

void BrowseTest::unexpectedErrorKeepsBothLists()
{
    TestServices services;
    addMachine(services.folders);
    services.folders.failVolume(Usb, {FolderError::PermissionDenied, "Permission denied"});
    services.questions.answerMessage(QMessageBox::Ok);
    QLineEdit txtWrkDir(QStringLiteral("/home/ann/data"));
    frmBrowse browser(services.services(), txtWrkDir);
    const QStringList before = listed(*browser.dirWrkDir);

    chooseDrive(browser, Usb);
    compareAsked(services.questions.asked,
                 {message(QStringLiteral("Unexpected error # 70 occurred: Permission denied"),
                          QMessageBox::Ok, QMessageBox::Critical)});
    QCOMPARE(browser.Path(), QStringLiteral("/home/ann/data"));
    QCOMPARE(browser.Drive(), QStringLiteral("/"));
    QCOMPARE(listed(*browser.dirWrkDir), before);

    // The browser is still in working order afterwards.
    chooseDrive(browser, Usb);
    QCOMPARE(browser.Path(), Usb);
}

void BrowseTest::unopenableFolderKeepsTheList()
{
    TestServices services;
    addMachine(services.folders);
    services.folders.failFolder(QStringLiteral("/home/bob"),
                                {FolderError::PermissionDenied, "Permission denied"});
    services.questions.answerMessage(QMessageBox::Ok);
    QLineEdit txtWrkDir(QStringLiteral("/home"));
    frmBrowse browser(services.services(), txtWrkDir);

    browser.dirWrkDir->setCurrentItem(itemNamed(*browser.dirWrkDir, QStringLiteral("bob")));
    browser.dirWrkDir_DblClick();
    compareAsked(services.questions.asked,
                 {message(QStringLiteral("Unexpected error # 70 occurred: Permission denied"),
                          QMessageBox::Ok, QMessageBox::Critical)});
    QCOMPARE(browser.Path(), QStringLiteral("/home"));
}

QTEST_MAIN(BrowseTest)
#include "tst_browse.moc"

#include "core/Preferences.h"
#include "dialogs/frmBrowse.h"
#include "doubles/TestServices.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

const QString Home = QStringLiteral("/home/ann");
const QString Data = QStringLiteral("/home/ann/data");
const QString Notes = QStringLiteral("/home/ann/Notes");
const QString Usb = QStringLiteral("/media/usb");

// Two volumes: the system's, on which the program runs in the home folder, and a stick.
static Services withFolders(TestServices& services)
{
    ScriptedFolders& folders = services.folders;
    folders.addVolume(QStringLiteral("/"));
    folders.addVolume(Usb);
    folders.addFolder(Data);
    folders.addFolder(Notes);
    folders.setWorkingFolder(Home);
    folders.setHomeFolder(Home);
    return services.services();
}

class BrowseTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensAt_data();
    void opensAt();
    void okWritesTheCurrentFolderNotTheHighlightedOne();
    void driveFails_data();
    void driveFails();
};

void BrowseTest::opensAt_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("path");
    QTest::newRow("working directory") << Data << Data;
    QTest::newRow("empty") << "" << Home;
    QTest::newRow("missing: the default on a fresh system") << "C:\\" << Home;
}

void BrowseTest::opensAt()
{
    QFETCH(QString, field);
    QFETCH(QString, path);
    TestServices services;
    QLineEdit txtWrkDir(field);
    frmBrowse browser(withFolders(services), txtWrkDir);
    QCOMPARE(browser.windowTitle(), QStringLiteral("Tabulet Working Directory"));
    QCOMPARE(browser.Path(), path);
    QVERIFY(services.questions.asked.isEmpty());
}

// A click only highlights a folder; a double click opens it.
void BrowseTest::okWritesTheCurrentFolderNotTheHighlightedOne()
{
    TestServices services;
    QLineEdit txtWrkDir(Home);
    frmBrowse browser(withFolders(services), txtWrkDir);
    browser.dirWrkDir->setCurrentItem(browser.dirWrkDir->findItems("data", Qt::MatchRecursive)[0]);
    browser.cmdOk->click();
    QCOMPARE(txtWrkDir.text(), Home);
    browser.dirWrkDir_DblClick();
    browser.cmdOk->click();
    QCOMPARE(txtWrkDir.text(), Data);
}

// An unavailable drive falls back to the stored working directory, then to the home folder;
// any other failure keeps the lists as they were. Either way the browser goes on working.
void BrowseTest::driveFails_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("told");
    QTest::addColumn<QString>("path");
    const int unavailable = FolderError::DeviceUnavailable;
    const QString gone = QStringLiteral("This drive or path does not exist: /media/usb");
    QTest::newRow("unavailable, stored") << unavailable << Notes << gone << Notes;
    QTest::newRow("unavailable, nothing stored") << unavailable << QString() << gone << Home;
    QTest::newRow("unexpected") << FolderError::PermissionDenied << Notes
                                << "Unexpected error # 70 occurred: Denied" << Data;
}

void BrowseTest::driveFails()
{
    QFETCH(int, error);
    QFETCH(QString, stored);
    QFETCH(QString, told);
    QFETCH(QString, path);
    TestServices services;
    if (!stored.isNull())
        services.settings.write(PreferenceKey::WrkDir, stored);
    services.folders.failVolume(Usb, {error, QStringLiteral("Denied")});
    services.questions.answerMessage(QMessageBox::Ok);
    QLineEdit txtWrkDir(Data);
    frmBrowse browser(withFolders(services), txtWrkDir);
    browser.drvWrkDir->setCurrentIndex(browser.drvWrkDir->findData(Usb));
    QCOMPARE(services.questions.asked.value(0).title, QStringLiteral("Tabulet"));
    QCOMPARE(services.questions.asked.value(0).text, told);
    QCOMPARE(browser.Path(), path);
    browser.drvWrkDir->setCurrentIndex(browser.drvWrkDir->findData(Usb));
    QCOMPARE(browser.Path(), Usb);
}

QTEST_MAIN(BrowseTest)
#include "tst_browse.moc"

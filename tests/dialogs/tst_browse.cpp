#include "dialogs/frmBrowse.h"
#include "doubles/TestServices.h"
#include "platform/SettingsStore.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

const QString Home = QStringLiteral("/home/ann");
const QString Data = QStringLiteral("/home/ann/data");
const QString Usb = QStringLiteral("/media/usb");
const FolderError Denied{FolderError::PermissionDenied, QStringLiteral("Permission denied")};
using Buttons = QList<QMessageBox::StandardButton>;

QString message(const QString& title, const QString& text, QMessageBox::StandardButtons buttons,
                QMessageBox::Icon icon)
{
    return QStringLiteral("%1: %2 [%3 %4]").arg(title, text).arg(int(buttons)).arg(int(icon));
}

QStringList told(const ScriptedQuestions& questions)
{
    QStringList messages;
    for (const ScriptedQuestions::Asked& asked : questions.asked)
        messages << message(asked.title, asked.text, asked.buttons, asked.icon);
    return messages;
}

// The directory list as indented lines, one per folder.
QStringList listed(QTreeWidget& tree)
{
    QStringList lines;
    for (QTreeWidgetItemIterator it(&tree); *it != nullptr; ++it) {
        int depth = 0;
        for (const QTreeWidgetItem* up = (*it)->parent(); up != nullptr; up = up->parent())
            ++depth;
        lines << QString(depth, QLatin1Char(' ')) + (*it)->text(0);
    }
    return lines;
}

QTreeWidgetItem* itemNamed(const QTreeWidget& tree, const QString& name)
{
    return tree.findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

} // namespace

class BrowseTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void opensAt_data();
    void opensAt();
    void okWritesTheCurrentFolderNotTheHighlightedOne_data();
    void okWritesTheCurrentFolderNotTheHighlightedOne();
    void cancelKeepsTheField();
    void driveNotReady_data();
    void driveNotReady();
    void driveUnavailable_data();
    void driveUnavailable();
    void unexpectedErrorsKeepTheLists();

private:
    frmBrowse& open(const QString& field);
    void chooseDrive(const QString& root);

    std::unique_ptr<TestServices> m_services;
    QLineEdit m_field;
    std::unique_ptr<frmBrowse> m_browser;
};

// Two volumes: the system's, on which the program runs in the home folder, and a stick.
void BrowseTest::init()
{
    m_browser.reset();
    m_services = std::make_unique<TestServices>();
    ScriptedFolders& folders = m_services->folders;
    folders.addVolume(QStringLiteral("/"));
    folders.addVolume(Usb, QStringLiteral("STICK"));
    for (const char* folder : {"/home/ann/data/old", "/home/ann/Notes", "/home/ann/archive",
                               "/home/bob", "/media/usb/letters/2024"})
        folders.addFolder(QLatin1String(folder));
    folders.setWorkingFolder(Home);
    folders.setHomeFolder(Home);
}

frmBrowse& BrowseTest::open(const QString& field)
{
    m_field.setText(field);
    m_browser = std::make_unique<frmBrowse>(m_services->services(), m_field);
    return *m_browser;
}

void BrowseTest::chooseDrive(const QString& root)
{
    const int index = m_browser->drvWrkDir->findData(root);
    QVERIFY(index >= 0);
    m_browser->drvWrkDir->setCurrentIndex(index);
}

void BrowseTest::opensAt_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("drive");
    QTest::newRow("working directory") << Data << Data << "/";
    QTest::newRow("empty") << "" << Home << "/";
    QTest::newRow("missing: the default on a fresh system") << "C:\\" << Home << "/";
    QTest::newRow("on another drive") << "/media/usb/letters"
                                      << "/media/usb/letters" << Usb;
}

void BrowseTest::opensAt()
{
    QFETCH(QString, field);
    QFETCH(QString, path);
    QFETCH(QString, drive);
    frmBrowse& browser = open(field);
    QCOMPARE(browser.windowTitle(), QStringLiteral("Tabulet Working Directory"));
    QCOMPARE(browser.Path(), path);
    QCOMPARE(browser.Drive(), drive);
    QCOMPARE(browser.dirWrkDir->currentItem()->data(0, Qt::UserRole).toString(), path);
    QCOMPARE(m_field.text(), field);
    QVERIFY(m_services->questions.asked.isEmpty());
}

// A single click only highlights a folder; a double click or Enter opens it.
void BrowseTest::okWritesTheCurrentFolderNotTheHighlightedOne_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("path");
    QTest::newRow("click") << "click"
                           << "Notes" << Home;
    QTest::newRow("double click down") << "double click"
                                       << "data" << Data;
    QTest::newRow("double click up") << "double click"
                                     << "home"
                                     << "/home";
    QTest::newRow("Enter") << "Enter"
                           << "Notes"
                           << "/home/ann/Notes";
}

void BrowseTest::okWritesTheCurrentFolderNotTheHighlightedOne()
{
    QFETCH(QString, action);
    QFETCH(QString, folder);
    QFETCH(QString, path);
    frmBrowse& browser = open(Home);
    QCOMPARE(listed(*browser.dirWrkDir),
             QStringList({"/", " home", "  ann", "   archive", "   data", "   Notes"}));
    QCOMPARE(browser.drvWrkDir->itemText(1), QStringLiteral("/media/usb [STICK]"));
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));

    QTreeWidgetItem* item = itemNamed(*browser.dirWrkDir, folder);
    browser.dirWrkDir->scrollToItem(item);
    const QPoint where = browser.dirWrkDir->visualItemRect(item).center();
    QTest::mouseClick(browser.dirWrkDir->viewport(), Qt::LeftButton, {}, where);
    QCOMPARE(browser.dirWrkDir->currentItem(), item);
    if (action == QLatin1String("double click"))
        QTest::mouseDClick(browser.dirWrkDir->viewport(), Qt::LeftButton, {}, where);
    else if (action == QLatin1String("Enter"))
        QTest::keyClick(browser.dirWrkDir, Qt::Key_Return);
    QCOMPARE(browser.Path(), path);
    browser.cmdOk->click();
    QCOMPARE(m_field.text(), path);
    QCOMPARE(browser.result(), int(QDialog::Accepted));
    QVERIFY(m_services->settings.writes.isEmpty());
}

// Escape is no way out: neither button is the cancel button.
void BrowseTest::cancelKeepsTheField()
{
    frmBrowse& browser = open(Data);
    browser.show();
    browser.dirWrkDir->setCurrentItem(itemNamed(*browser.dirWrkDir, QStringLiteral("old")));
    browser.dirWrkDir_DblClick();
    QTest::keyClick(browser.dirWrkDir, Qt::Key_Escape);
    QVERIFY(browser.isVisible());
    browser.cmdCancel->click();
    QCOMPARE(browser.result(), int(QDialog::Rejected));
    QCOMPARE(m_field.text(), Data);
}

void BrowseTest::driveNotReady_data()
{
    QTest::addColumn<int>("failures");
    QTest::addColumn<Buttons>("answers");
    QTest::addColumn<QString>("path");
    QTest::newRow("ready") << 0 << Buttons{} << Usb;
    QTest::newRow("ready after a retry") << 1 << Buttons{QMessageBox::Ok} << Usb;
    QTest::newRow("given up at once") << 1 << Buttons{QMessageBox::Cancel} << Data;
    QTest::newRow("given up after a retry")
        << 2 << Buttons{QMessageBox::Ok, QMessageBox::Cancel} << Data;
}

void BrowseTest::driveNotReady()
{
    QFETCH(int, failures);
    QFETCH(Buttons, answers);
    QFETCH(QString, path);
    m_services->folders.failVolume(Usb, {FolderError::DiskNotReady, "Disk not ready"}, failures);
    for (QMessageBox::StandardButton answer : answers)
        m_services->questions.answerMessage(answer);
    frmBrowse& browser = open(Data);
    chooseDrive(Usb);
    QCOMPARE(browser.Path(), path);
    // Given up, the drive list still shows the chosen drive.
    QCOMPARE(browser.Drive(), Usb);
    QCOMPARE(told(m_services->questions),
             QStringList(answers.size(),
                         message("Tabulet", "Put a floppy disk in the drive and close the door.",
                                 QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Warning)));
    QVERIFY(m_services->questions.allAnswered());
}

// The lists fall back to the stored working directory, then to the home folder.
void BrowseTest::driveUnavailable_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("drive");
    QTest::newRow("stored folder") << "/home/ann/Notes"
                                   << "/home/ann/Notes"
                                   << "/";
    QTest::newRow("stored on the stick") << "/media/usb/letters"
                                         << "/media/usb/letters" << Usb;
    QTest::newRow("nothing stored") << QString() << Home << "/";
    QTest::newRow("stored folder gone") << "/home/ann/gone" << Home << "/";
}

void BrowseTest::driveUnavailable()
{
    QFETCH(QString, stored);
    QFETCH(QString, path);
    QFETCH(QString, drive);
    if (!stored.isNull())
        m_services->settings.write(PreferenceKey::WrkDir, stored);
    m_services->folders.failVolume(Usb, {FolderError::DeviceUnavailable, "Device unavailable"});
    m_services->questions.answerMessage(QMessageBox::Ok);
    frmBrowse& browser = open(QStringLiteral("/home/bob"));
    chooseDrive(Usb);
    QCOMPARE(told(m_services->questions),
             QStringList(message("Tabulet", "This drive or path does not exist: /media/usb",
                                 QMessageBox::Ok, QMessageBox::Warning)));
    QCOMPARE(browser.Path(), path);
    QCOMPARE(browser.Drive(), drive);
}

void BrowseTest::unexpectedErrorsKeepTheLists()
{
    m_services->folders.failVolume(Usb, Denied);
    m_services->folders.failFolder(QStringLiteral("/home/bob"), Denied);
    m_services->questions.answerMessage(QMessageBox::Ok);
    m_services->questions.answerMessage(QMessageBox::Ok);
    frmBrowse& browser = open(QStringLiteral("/home"));
    const QStringList before = listed(*browser.dirWrkDir);
    chooseDrive(Usb);
    QCOMPARE(browser.Drive(), QStringLiteral("/"));
    browser.dirWrkDir->setCurrentItem(itemNamed(*browser.dirWrkDir, QStringLiteral("bob")));
    browser.dirWrkDir_DblClick();
    QCOMPARE(browser.Path(), QStringLiteral("/home"));
    QCOMPARE(listed(*browser.dirWrkDir), before);
    const QString unexpected =
        message("Tabulet", "Unexpected error # 70 occurred: Permission denied", QMessageBox::Ok,
                QMessageBox::Critical);
    QCOMPARE(told(m_services->questions), QStringList({unexpected, unexpected}));
    // The browser is still in working order afterwards.
    chooseDrive(Usb);
    QCOMPARE(browser.Path(), Usb);
}

QTEST_MAIN(BrowseTest)
#include "tst_browse.moc"

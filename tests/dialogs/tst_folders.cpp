#include "dialogs/frmBrowse.h"
#include "doubles/TestServices.h"
#include "platform/Folders.h"
#include "platform/SettingsStore.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {

bool offers(const Folders& folders, const QString& volumeRoot)
{
    const QList<Volume> volumes = folders.volumes();
    return std::any_of(volumes.cbegin(), volumes.cend(),
                       [&](const Volume& volume) { return volume.rootPath == volumeRoot; });
}

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// A small tmpfs mounted for one test: a volume of its own that can be taken away.
class TmpfsMount
{
public:
    explicit TmpfsMount(const QString& path) : m_path(path)
    {
        QDir().mkpath(path);
        m_mounted = run(QStringLiteral("mount"),
                        {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                         QStringLiteral("size=64k"), QStringLiteral("tmpfs"), path});
    }
    ~TmpfsMount() { unmount(); }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool mounted() const { return m_mounted; }
    bool unmount()
    {
        if (m_mounted && run(QStringLiteral("umount"), {m_path}))
            m_mounted = false;
        return !m_mounted;
    }

private:
    QString m_path;
    bool m_mounted = false;
};

QString canonical(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

} // namespace

class FoldersTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void openFolderListsSubfoldersOnly();
    void openFolderResolvesTheSpelling_data();
    void openFolderResolvesTheSpelling();
    void openFolderRefusesWhatIsNoFolder_data();
    void openFolderRefusesWhatIsNoFolder();
    void openFolderRefusesAFolderItCannotRead();
    void currentFolderOfTheProgramsVolume();
    void anotherVolumeAndItsRemoval();
    void browserMeetsARemovedVolume();

private:
    std::unique_ptr<QTemporaryDir> m_scratch;
    QString m_root;
    QString m_startFolder;
};

void FoldersTest::init()
{
    m_startFolder = QDir::currentPath();
    m_scratch = std::make_unique<QTemporaryDir>();
    QVERIFY(m_scratch->isValid());
    m_root = canonical(m_scratch->path());
    for (const char* folder : {"tree/beta", "tree/Alpha", "tree/gamma/deep", "tree/.hidden"})
        QVERIFY(QDir(m_root).mkpath(QLatin1String(folder)));
    QFile file(m_root + QStringLiteral("/tree/a file.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(QFile::link(m_root + QStringLiteral("/tree/gamma"),
                        m_root + QStringLiteral("/link to gamma")));
}

void FoldersTest::cleanup()
{
    QDir::setCurrent(m_startFolder);
    m_scratch.reset();
}

void FoldersTest::openFolderListsSubfoldersOnly()
{
    const FolderResult<FolderContents> result = QtFolders().openFolder(m_root + "/tree");
    QVERIFY(result.ok());
    QCOMPARE(result.value.path, m_root + "/tree");
    QCOMPARE(result.value.subfolders, QStringList({"Alpha", "beta", "gamma"}));
}

void FoldersTest::openFolderResolvesTheSpelling_data()
{
    QTest::addColumn<QString>("spelling");
    QTest::addColumn<QString>("path");

    QTest::newRow("trailing slash") << "/tree/"
                                    << "/tree";
    QTest::newRow("dots and doubled slashes") << "//tree/./beta/../gamma"
                                              << "/tree/gamma";
    QTest::newRow("a link") << "/link to gamma"
                            << "/tree/gamma";
}

void FoldersTest::openFolderResolvesTheSpelling()
{
    QFETCH(QString, spelling);
    QFETCH(QString, path);
    const FolderResult<FolderContents> result = QtFolders().openFolder(m_root + spelling);
    QVERIFY(result.ok());
    QCOMPARE(result.value.path, m_root + path);
}

void FoldersTest::openFolderRefusesWhatIsNoFolder_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("empty") << QString();
    QTest::newRow("missing") << m_root + "/tree/missing";
    QTest::newRow("a file") << m_root + "/tree/a file.txt";
    QTest::newRow("a drive letter") << QStringLiteral("C:\\");
}

void FoldersTest::openFolderRefusesWhatIsNoFolder()
{
    QFETCH(QString, path);
    const FolderResult<FolderContents> result = QtFolders().openFolder(path);
    QVERIFY(!result.ok());
    QCOMPARE(result.error->number, FolderError::PathNotFound);
    QVERIFY(!result.error->description.isEmpty());
}

void FoldersTest::openFolderRefusesAFolderItCannotRead()
{
    if (geteuid() == 0)
        QSKIP("root reads every folder");
    const QString locked = m_root + "/tree/beta";
    QVERIFY(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    const FolderResult<FolderContents> result = QtFolders().openFolder(locked);
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(!result.ok());
    QCOMPARE(result.error->number, FolderError::PermissionDenied);
}

void FoldersTest::currentFolderOfTheProgramsVolume()
{
    QtFolders folders;
    QVERIFY(QDir::setCurrent(m_root + "/tree/gamma"));
    const QString volume = folders.startVolume();
    QCOMPARE(volume, folders.volumeOf(m_root));
    QVERIFY(offers(folders, volume));
    const FolderResult<QString> current = folders.currentFolder(volume);
    QVERIFY(current.ok());
    QCOMPARE(current.value, m_root + "/tree/gamma");
}

void FoldersTest::anotherVolumeAndItsRemoval()
{
    const QString mountPoint = m_root + "/stick";
    TmpfsMount stick(mountPoint);
    if (!stick.mounted())
        QSKIP("a tmpfs cannot be mounted here (needs root)");
    QVERIFY(QDir(mountPoint).mkpath("letters"));
    QtFolders folders;

    QVERIFY(offers(folders, mountPoint));
    QCOMPARE(folders.volumeOf(mountPoint + "/letters"), mountPoint);
    const FolderResult<QString> current = folders.currentFolder(mountPoint);
    QVERIFY(current.ok());
    QCOMPARE(current.value, mountPoint);

    QVERIFY(stick.unmount());
    const FolderResult<QString> gone = folders.currentFolder(mountPoint);
    QVERIFY(!gone.ok());
    QCOMPARE(gone.error->number, FolderError::DeviceUnavailable);
}

// The real platform under the browser: a volume that goes away while the browser shows it.
void FoldersTest::browserMeetsARemovedVolume()
{
    const QString mountPoint = m_root + "/stick";
    TmpfsMount stick(mountPoint);
    if (!stick.mounted())
        QSKIP("a tmpfs cannot be mounted here (needs root)");
    QtFolders folders;
    TestServices doubles;
    Services services = doubles.services();
    Services real{services.questions, services.fileDialogs, services.settings,
                  services.clipboard, services.printers,    folders};
    doubles.settings.write(PreferenceKey::WrkDir, m_root + "/tree/beta");
    doubles.questions.answerMessage(QMessageBox::Ok);
    QLineEdit txtWrkDir(m_root + "/tree");

    frmBrowse browser(real, txtWrkDir);
    QCOMPARE(browser.Path(), m_root + "/tree");
    browser.drvWrkDir->setCurrentIndex(browser.drvWrkDir->findData(mountPoint));
    QCOMPARE(browser.Path(), mountPoint);
    browser.drvWrkDir->setCurrentIndex(browser.drvWrkDir->findData(folders.volumeOf(m_root)));

    QVERIFY(stick.unmount());
    browser.drvWrkDir->setCurrentIndex(browser.drvWrkDir->findData(mountPoint));
    QCOMPARE(doubles.questions.asked.size(), 1);
    QCOMPARE(doubles.questions.asked.constFirst().text,
             "This drive or path does not exist: " + mountPoint);
    QCOMPARE(browser.Path(), m_root + "/tree/beta");
    QCOMPARE(browser.Drive(), folders.volumeOf(m_root));
}

QTEST_MAIN(FoldersTest)
#include "tst_folders.moc"

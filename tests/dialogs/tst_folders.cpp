#include "platform/Folders.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

class FoldersTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void openFolder_data();
    void openFolder();
    void currentFolderOfTheProgramsVolume();
    void removedVolumeIsUnavailable();

private:
    std::unique_ptr<QTemporaryDir> m_scratch;
    QString m_root;
};

void FoldersTest::init()
{
    m_scratch = std::make_unique<QTemporaryDir>();
    m_root = QFileInfo(m_scratch->path()).canonicalFilePath();
    for (const char* folder : {"tree/beta", "tree/Alpha", "tree/gamma/deep", "tree/.hidden"})
        QVERIFY(QDir(m_root).mkpath(QLatin1String(folder)));
    QFile file(m_root + "/tree/a file.txt");
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(QFile::link(m_root + "/tree/gamma", m_root + "/link to gamma"));
}

// Spellings under the scratch folder, and the folder each resolves to (none: not a folder).
void FoldersTest::openFolder_data()
{
    QTest::addColumn<QString>("spelling");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("subfolders");
    QTest::newRow("subfolders only") << "/tree/"
                                     << "/tree" << QStringList{"Alpha", "beta", "gamma"};
    QTest::newRow("dots and doubled slashes") << "//tree/./beta/../gamma"
                                              << "/tree/gamma" << QStringList{"deep"};
    QTest::newRow("a link") << "/link to gamma"
                            << "/tree/gamma" << QStringList{"deep"};
    QTest::newRow("missing") << "/tree/missing" << QString() << QStringList();
    QTest::newRow("a file") << "/tree/a file.txt" << QString() << QStringList();
}

void FoldersTest::openFolder()
{
    QFETCH(QString, spelling);
    QFETCH(QString, path);
    QFETCH(QStringList, subfolders);
    const FolderResult<FolderContents> result = QtFolders().openFolder(m_root + spelling);
    if (path.isNull()) {
        QCOMPARE(result.error.value_or(FolderError{}).number, FolderError::PathNotFound);
        return;
    }
    QVERIFY(result.ok());
    QCOMPARE(result.value.path, m_root + path);
    QCOMPARE(result.value.subfolders, subfolders);
}

void FoldersTest::currentFolderOfTheProgramsVolume()
{
    QtFolders folders;
    QCOMPARE(folders.openFolder(QString()).error.value_or(FolderError{}).number,
             FolderError::PathNotFound);
    const QString startFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_root + "/tree/gamma"));
    const FolderResult<QString> current = folders.currentFolder(folders.startVolume());
    QDir::setCurrent(startFolder);
    QCOMPARE(current.value, m_root + "/tree/gamma");
}

// A small tmpfs as a volume of its own that can be taken away.
void FoldersTest::removedVolumeIsUnavailable()
{
    const QString stick = m_root + "/stick";
    QDir().mkpath(stick);
    if (!run("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", stick}))
        QSKIP("a tmpfs cannot be mounted here (needs root)");
    QtFolders folders;
    const QList<Volume> volumes = folders.volumes();
    const bool offered = std::any_of(volumes.cbegin(), volumes.cend(), [&](const Volume& volume) {
        return volume.rootPath == stick;
    });
    const FolderResult<QString> current = folders.currentFolder(stick);
    QVERIFY(run("umount", {stick}));
    QVERIFY(offered);
    QCOMPARE(current.value, stick);
    QCOMPARE(folders.currentFolder(stick).error.value_or(FolderError{}).number,
             FolderError::DeviceUnavailable);
}

QTEST_MAIN(FoldersTest)
#include "tst_folders.moc"

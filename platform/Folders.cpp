#include "platform/Folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>
#include <algorithm>

namespace {

template <typename T> FolderResult<T> failure(int number, const char* description)
{
    return FolderResult<T>{T{}, FolderError{number, QString::fromLatin1(description)}};
}

} // namespace

QList<Volume> QtFolders::volumes() const
{
    QList<Volume> result;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        // Files mounted over files (as containers do) are volumes without folders to browse.
        if (!QFileInfo(storage.rootPath()).isDir())
            continue;
        result.append(Volume{storage.rootPath(), storage.name()});
    }
    std::sort(result.begin(), result.end(),
              [](const Volume& a, const Volume& b) { return a.rootPath < b.rootPath; });
    return result;
}

QString QtFolders::volumeOf(const QString& path) const
{
    return QStorageInfo(path).rootPath();
}

QString QtFolders::startVolume() const
{
    return volumeOf(QDir::currentPath());
}

FolderResult<QString> QtFolders::currentFolder(const QString& volumeRoot) const
{
    const QStorageInfo storage(volumeRoot);
    // Once a volume is unmounted its root is an ordinary folder of the volume beneath.
    if (!storage.isValid() || storage.rootPath() != volumeRoot)
        return failure<QString>(FolderError::DeviceUnavailable, "Device unavailable");
    if (!storage.isReady())
        return failure<QString>(FolderError::DiskNotReady, "Disk not ready");
    const QString working = QFileInfo(QDir::currentPath()).canonicalFilePath();
    if (volumeOf(working) == volumeRoot)
        return {working, std::nullopt};
    return {volumeRoot, std::nullopt};
}

FolderResult<FolderContents> QtFolders::openFolder(const QString& path) const
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        return failure<FolderContents>(FolderError::PathNotFound, "Path not found");
    const QString canonical = info.canonicalFilePath();
    if (!QStorageInfo(canonical).isReady())
        return failure<FolderContents>(FolderError::DiskNotReady, "Disk not ready");
    if (!info.isReadable() || !info.isExecutable())
        return failure<FolderContents>(FolderError::PermissionDenied, "Permission denied");
    const QStringList subfolders = QDir(canonical).entryList(
        QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    return {FolderContents{canonical, subfolders}, std::nullopt};
}

QString QtFolders::homeFolder() const
{
    return QDir::homePath();
}

QString QtFolders::recoveryFolder() const
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/recovery");
}

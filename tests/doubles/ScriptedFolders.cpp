#include "doubles/ScriptedFolders.h"

#include <QDir>

namespace {

bool liesOn(const QString& path, const QString& root)
{
    if (root == QLatin1String("/"))
        return path.startsWith(root);
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

} // namespace

void ScriptedFolders::addVolume(const QString& rootPath)
{
    m_volumes.append(Volume{rootPath, QString()});
    m_folders.insert(rootPath);
}

void ScriptedFolders::addFolder(const QString& path)
{
    for (QString folder = QDir::cleanPath(path); !m_folders.contains(folder);
         folder = QDir::cleanPath(folder + QStringLiteral("/.."))) {
        m_folders.insert(folder);
        if (folder == QLatin1String("/"))
            break;
    }
}

void ScriptedFolders::failVolume(const QString& rootPath, const FolderError& error)
{
    m_volumeFailures.insert(rootPath, error);
}

QString ScriptedFolders::volumeOf(const QString& path) const
{
    QString best;
    for (const Volume& volume : m_volumes)
        if (liesOn(path, volume.rootPath) && volume.rootPath.size() > best.size())
            best = volume.rootPath;
    return best;
}

FolderResult<QString> ScriptedFolders::currentFolder(const QString& volumeRoot) const
{
    if (m_volumeFailures.contains(volumeRoot))
        return {QString(), m_volumeFailures.take(volumeRoot)};
    if (volumeOf(m_workingFolder) == volumeRoot)
        return {m_workingFolder, std::nullopt};
    return {volumeRoot, std::nullopt};
}

FolderResult<FolderContents> ScriptedFolders::openFolder(const QString& path) const
{
    const QString folder = path.isEmpty() ? QString() : QDir::cleanPath(path);
    if (!m_folders.contains(folder))
        return {FolderContents{},
                FolderError{FolderError::PathNotFound, QStringLiteral("Path not found")}};
    QStringList subfolders;
    for (const QString& candidate : m_folders)
        if (candidate != folder && QDir::cleanPath(candidate + QStringLiteral("/..")) == folder)
            subfolders.append(candidate.section(QLatin1Char('/'), -1));
    subfolders.sort(Qt::CaseInsensitive);
    return {FolderContents{folder, subfolders}, std::nullopt};
}

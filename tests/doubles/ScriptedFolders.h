#pragma once

#include "platform/Folders.h"

#include <QHash>
#include <QList>
#include <QSet>

// Volumes and folders held in memory, with failures scripted per volume.
// Paths are absolute and use "/"; adding a folder adds its parents.
class ScriptedFolders final : public Folders
{
public:
    void addVolume(const QString& rootPath);
    void addFolder(const QString& path);
    void setWorkingFolder(const QString& path) { m_workingFolder = path; }
    void setHomeFolder(const QString& path) { m_homeFolder = path; }
    // The next attempt to reach the volume fails with this error.
    void failVolume(const QString& rootPath, const FolderError& error);

    QList<Volume> volumes() const override { return m_volumes; }
    QString volumeOf(const QString& path) const override;
    QString startVolume() const override { return volumeOf(m_workingFolder); }
    FolderResult<QString> currentFolder(const QString& volumeRoot) const override;
    FolderResult<FolderContents> openFolder(const QString& path) const override;
    QString homeFolder() const override { return m_homeFolder; }

private:
    QList<Volume> m_volumes;
    QSet<QString> m_folders;
    QString m_workingFolder = QStringLiteral("/");
    QString m_homeFolder = QStringLiteral("/");
    mutable QHash<QString, FolderError> m_volumeFailures;
};

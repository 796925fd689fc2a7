#pragma once

#include "platform/Folders.h"

#include <QHash>

// The system's volume, with the program running in /home/ann, and a stick at /usb, in
// memory. A volume meets its scripted failures, one per attempt, before it can be reached.
class ScriptedFolders final : public Folders
{
public:
    QList<Volume> volumes() const override { return {{"/", {}}, {"/usb", {}}}; }
    QString volumeOf(const QString& p) const override
    {
        return p.startsWith("/usb") ? "/usb" : "/";
    }
    QString startVolume() const override { return "/"; }
    FolderResult<QString> currentFolder(const QString& volumeRoot) const override
    {
        if (!failures[volumeRoot].isEmpty())
            return {{}, failures[volumeRoot].takeFirst()};
        return {volumeRoot == "/" ? homeFolder() : volumeRoot, std::nullopt};
    }
    FolderResult<FolderContents> openFolder(const QString& path) const override
    {
        if (!subfolders.contains(path))
            return {{}, FolderError{FolderError::PathNotFound, "Path not found"}};
        return {{path, subfolders[path]}, std::nullopt};
    }
    QString homeFolder() const override { return "/home/ann"; }

    QHash<QString, QStringList> subfolders{
        {"/", {"home"}},         {"/home", {"ann"}},     {"/home/ann", {"Notes", "data"}},
        {"/home/ann/Notes", {}}, {"/home/ann/data", {}}, {"/usb", {}}};
    mutable QHash<QString, QList<FolderError>> failures;
};

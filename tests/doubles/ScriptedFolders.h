#pragma once

#include "platform/Folders.h"

#include <QHash>

// A system volume holding the program's home, /home, and an empty stick at /usb, in memory.
// The next volume chosen meets the scripted failures, one per attempt, before it can be read.
class ScriptedFolders final : public Folders
{
public:
    QList<Volume> volumes() const override { return {{"/", {}}, {"/usb", {}}}; }
    QString volumeOf(const QString& p) const override { return p == "/usb" ? p : "/"; }
    QString startVolume() const override { return "/"; }
    QString homeFolder() const override { return "/home"; }
    QString recoveryFolder() const override { return recovery; }
    FolderResult<QString> currentFolder(const QString& root) const override
    {
        return {root, failures.isEmpty() ? std::nullopt : std::optional(failures.takeFirst())};
    }
    FolderResult<FolderContents> openFolder(const QString& dir) const override
    {
        const FolderError missing{FolderError::PathNotFound, "Not found"};
        return {{dir, tree.value(dir)}, tree.contains(dir) ? std::nullopt : std::optional(missing)};
    }

    QHash<QString, QStringList> tree{
        {"/", {"data", "home"}}, {"/data", {}}, {"/home", {}}, {"/usb", {}}};
    mutable QList<FolderError> failures;
    QString recovery;
};

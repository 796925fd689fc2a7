#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Why a volume or a folder could not be reached: a number the browser tells cases apart by,
// and a description to show the user.
struct FolderError
{
    int number = 0;
    QString description;

    static constexpr int DeviceUnavailable = 68;
    static constexpr int PermissionDenied = 70;
    static constexpr int DiskNotReady = 71;
    static constexpr int PathNotFound = 76;
};

// A value, or the error that kept it from being had.
template <typename T> struct FolderResult
{
    T value{};
    std::optional<FolderError> error;

    bool ok() const { return !error.has_value(); }
};

// A mounted volume: where its folders start, and its label (empty when it has none).
struct Volume
{
    QString rootPath;
    QString name;
};

// A folder as a directory list shows it: its full path and its subfolders' names, in the
// order in which they are listed.
struct FolderContents
{
    QString path;
    QStringList subfolders;
};

// Drives or volumes and their folders, for the working-directory browser. Paths use "/".
class Folders
{
public:
    virtual ~Folders() = default;

    // The mounted volumes, in the order in which a drive list offers them.
    virtual QList<Volume> volumes() const = 0;
    // The root of the volume that holds `path`, an existing folder.
    virtual QString volumeOf(const QString& path) const = 0;
    // The volume of the program's own working folder, where a new drive list starts.
    virtual QString startVolume() const = 0;
    // Where a directory list goes when it is sent to a volume: the program's working folder
    // when that lies on the volume, otherwise the volume's root. DiskNotReady when the volume
    // cannot be read yet, DeviceUnavailable when it is no longer mounted.
    virtual FolderResult<QString> currentFolder(const QString& volumeRoot) const = 0;
    // The folder with links resolved, and its subfolders. PathNotFound when `path` names no
    // folder, PermissionDenied when it cannot be listed, DiskNotReady when its volume cannot
    // be read.
    virtual FolderResult<FolderContents> openFolder(const QString& path) const = 0;
    virtual QString homeFolder() const = 0;
    // Where unsaved work is kept until it is saved, to be restored after a crash; empty when
    // none is kept.
    virtual QString recoveryFolder() const = 0;
};

class QtFolders final : public Folders
{
public:
    QList<Volume> volumes() const override;
    QString volumeOf(const QString& path) const override;
    QString startVolume() const override;
    FolderResult<QString> currentFolder(const QString& volumeRoot) const override;
    FolderResult<FolderContents> openFolder(const QString& path) const override;
    QString homeFolder() const override;
    QString recoveryFolder() const override;
};

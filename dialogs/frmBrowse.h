#pragma once

#include "platform/Folders.h"
#include "platform/Services.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// The working-directory browser: a drive list and a directory list. It starts at the folder
// named by the Preferences dialog's working-directory field and, on OK, writes the directory
// list's current folder back into that field. It stores nothing itself.
class frmBrowse final : public QDialog
{
    Q_OBJECT

public:
    frmBrowse(const Services& services, QLineEdit& txtWrkDir, QWidget* parent = nullptr);

    void Form_Load();
    void drvWrkDir_Change();
    // Opens the highlighted folder of the directory list, making it the current folder.
    void dirWrkDir_DblClick();
    void cmdOk_Click();
    void cmdCancel_Click();

    // The directory list's current folder; a folder that is only highlighted is not it.
    QString Path() const { return m_path; }
    // The root of the volume that the drive list shows.
    QString Drive() const;

    QTreeWidget* dirWrkDir = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;
    QComboBox* drvWrkDir = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void nameLists();
    void connectControls();
    void fillDriveList();
    int driveIndex(const QString& volumeRoot);
    void selectDriveQuietly(const QString& volumeRoot);
    std::optional<FolderError> followDrive(const QString& volumeRoot);
    void showContents(const FolderContents& contents);
    bool showFolderOnItsDrive(const QString& path);
    void showFirstReachable(const QStringList& candidates);
    bool askForDisk();
    void tellUnavailable(const QString& volumeRoot);
    void tellUnexpected(const FolderError& error);

    Services m_services;
    QLineEdit& m_txtWrkDir;
    QString m_path;
};

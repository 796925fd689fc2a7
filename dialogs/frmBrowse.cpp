#include "dialogs/frmBrowse.h"

#include "core/Caption.h"
#include "core/Preferences.h"
#include "dialogs/DialogKeys.h"
#include "platform/Questions.h"
#include "platform/WindowLook.h"

#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>

namespace {

constexpr int PathRole = Qt::UserRole;

QString driveLabel(const Volume& volume)
{
    if (volume.name.isEmpty() || volume.name == volume.rootPath)
        return volume.rootPath;
    return QStringLiteral("%1 [%2]").arg(volume.rootPath, volume.name);
}

// The folders from the volume's root down to `path`, each with its full path.
QList<std::pair<QString, QString>> foldersDownTo(const QString& path, const QString& volumeRoot)
{
    QList<std::pair<QString, QString>> chain{{volumeRoot, volumeRoot}};
    QString walked = volumeRoot;
    const QString below = path.mid(volumeRoot.size());
    for (const QString& name : below.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        walked = QDir(walked).filePath(name);
        chain.append({name, walked});
    }
    return chain;
}

// The directory list draws its levels by indentation alone: it has no expand and collapse
// marks, since every level it shows is always open.
class DirectoryList final : public QTreeWidget
{
public:
    using QTreeWidget::QTreeWidget;

protected:
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}
};

} // namespace

frmBrowse::frmBrowse(const Services& services, QLineEdit& txtWrkDir, QWidget* parent)
    : QDialog(parent), m_services(services), m_txtWrkDir(txtWrkDir)
{
    setObjectName(QStringLiteral("frmBrowse"));
    setWindowTitle(tr("Tabulet Working Directory"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setWindowIcon(tabuletIcon());
    setFont(tabuletWidgetFont());
    setFixedSize(twips(4125), twips(2190));
    createControls();
    connectControls();
    fillDriveList();
    Form_Load();
}

void frmBrowse::createControls()
{
    dirWrkDir = new DirectoryList(this);
    dirWrkDir->setObjectName(QStringLiteral("dirWrkDir"));
    dirWrkDir->setGeometry(twipsRect(120, 600, 2415, 1440));
    dirWrkDir->setHeaderHidden(true);
    dirWrkDir->setRootIsDecorated(false);
    dirWrkDir->setItemsExpandable(false);
    dirWrkDir->setExpandsOnDoubleClick(false);
    dirWrkDir->setIndentation(8);
    dirWrkDir->installEventFilter(this);

    cmdOk = new QPushButton(tr("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setGeometry(twipsRect(2760, 120, 1215, 375));
    cmdOk->setAutoDefault(false);

    cmdCancel = new QPushButton(tr("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(twipsRect(2760, 600, 1215, 375));
    cmdCancel->setAutoDefault(false);

    drvWrkDir = new QComboBox(this);
    drvWrkDir->setObjectName(QStringLiteral("drvWrkDir"));
    drvWrkDir->setGeometry(twipsRect(120, 120, 2415, 315));

    QWidget::setTabOrder(dirWrkDir, cmdOk);
    QWidget::setTabOrder(cmdOk, cmdCancel);
    QWidget::setTabOrder(cmdCancel, drvWrkDir);
    nameLists();
}

// Neither list has a label for screen readers to name it after.
void frmBrowse::nameLists()
{
    dirWrkDir->setAccessibleName(tr("Folders"));
    dirWrkDir->setAccessibleDescription(tr("Return opens the highlighted folder"));
    drvWrkDir->setAccessibleName(tr("Drives"));
}

void frmBrowse::connectControls()
{
    connect(cmdOk, &QPushButton::clicked, this, &frmBrowse::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmBrowse::cmdCancel_Click);
    connect(drvWrkDir, &QComboBox::currentIndexChanged, this, &frmBrowse::drvWrkDir_Change);
    connect(dirWrkDir, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        dirWrkDir->setCurrentItem(item);
        dirWrkDir_DblClick();
    });
}

// A new drive list shows the volume of the program's working folder, without having been
// changed by anyone.
void frmBrowse::fillDriveList()
{
    const QSignalBlocker quiet(drvWrkDir);
    for (const Volume& volume : m_services.folders.volumes())
        drvWrkDir->addItem(driveLabel(volume), volume.rootPath);
    drvWrkDir->setCurrentIndex(driveIndex(m_services.folders.startVolume()));
}

void frmBrowse::Form_Load()
{
    const FolderResult<FolderContents> working = m_services.folders.openFolder(m_txtWrkDir.text());
    if (!working.ok()) {
        showFirstReachable({m_services.folders.homeFolder(), m_services.folders.startVolume()});
        return;
    }
    showContents(working.value);
    // Volumes here have no current folder of their own to jump to, so the browser opens at the
    // working directory whichever volume holds it; the drive list only shows that volume.
    selectDriveQuietly(m_services.folders.volumeOf(m_path));
}

void frmBrowse::drvWrkDir_Change()
{
    const QString volume = Drive();
    while (const std::optional<FolderError> error = followDrive(volume)) {
        switch (error->number) {
        case FolderError::DiskNotReady:
            // On Cancel the drive list keeps showing the chosen drive; the folders stay.
            if (askForDisk())
                continue;
            return;
        case FolderError::DeviceUnavailable:
            tellUnavailable(volume);
            showFirstReachable({preferences::workingDirectory(m_services.settings),
                                m_services.folders.homeFolder()});
            return;
        default:
            tellUnexpected(*error);
            selectDriveQuietly(m_services.folders.volumeOf(m_path));
            return;
        }
    }
}

// Moves the directory list to the current folder of the volume, or tells why it cannot.
std::optional<FolderError> frmBrowse::followDrive(const QString& volumeRoot)
{
    const FolderResult<QString> current = m_services.folders.currentFolder(volumeRoot);
    if (!current.ok())
        return current.error;
    const FolderResult<FolderContents> contents = m_services.folders.openFolder(current.value);
    if (!contents.ok())
        return contents.error;
    showContents(contents.value);
    return std::nullopt;
}

void frmBrowse::dirWrkDir_DblClick()
{
    const QTreeWidgetItem* item = dirWrkDir->currentItem();
    if (item == nullptr)
        return;
    const FolderResult<FolderContents> contents =
        m_services.folders.openFolder(item->data(0, PathRole).toString());
    if (!contents.ok()) {
        tellUnexpected(*contents.error);
        return;
    }
    showContents(contents.value);
}

void frmBrowse::cmdOk_Click()
{
    m_txtWrkDir.setText(m_path);
    accept();
}

void frmBrowse::cmdCancel_Click()
{
    reject();
}

QString frmBrowse::Drive() const
{
    return drvWrkDir->currentData().toString();
}

int frmBrowse::driveIndex(const QString& volumeRoot)
{
    int index = drvWrkDir->findData(volumeRoot);
    if (index < 0) {
        // Volumes mounted after the list was filled are offered once they are met.
        const QSignalBlocker quiet(drvWrkDir);
        drvWrkDir->addItem(volumeRoot, volumeRoot);
        index = drvWrkDir->count() - 1;
    }
    return index;
}

void frmBrowse::selectDriveQuietly(const QString& volumeRoot)
{
    const QSignalBlocker quiet(drvWrkDir);
    drvWrkDir->setCurrentIndex(driveIndex(volumeRoot));
}

void frmBrowse::showContents(const FolderContents& contents)
{
    const QIcon openFolder = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedFolder = style()->standardIcon(QStyle::SP_DirClosedIcon);
    dirWrkDir->clear();
    QTreeWidgetItem* current = nullptr;
    for (const auto& [name, path] :
         foldersDownTo(contents.path, m_services.folders.volumeOf(contents.path))) {
        current = current == nullptr ? new QTreeWidgetItem(dirWrkDir, {name})
                                     : new QTreeWidgetItem(current, {name});
        current->setIcon(0, openFolder);
        current->setData(0, PathRole, path);
    }
    for (const QString& name : contents.subfolders) {
        auto* item = new QTreeWidgetItem(current, {name});
        item->setIcon(0, closedFolder);
        item->setData(0, PathRole, QDir(contents.path).filePath(name));
    }
    dirWrkDir->expandAll();
    dirWrkDir->setCurrentItem(current);
    // Show as many subfolders as fit, as long as the current folder stays in sight.
    if (current->childCount() > 0)
        dirWrkDir->scrollToItem(current->child(current->childCount() - 1));
    dirWrkDir->scrollToItem(current);
    m_path = contents.path;
}

bool frmBrowse::showFolderOnItsDrive(const QString& path)
{
    const FolderResult<FolderContents> contents = m_services.folders.openFolder(path);
    if (!contents.ok())
        return false;
    showContents(contents.value);
    selectDriveQuietly(m_services.folders.volumeOf(m_path));
    return true;
}

// Both lists go to the first candidate that can be opened; when none can, they stay where
// they were.
void frmBrowse::showFirstReachable(const QStringList& candidates)
{
    for (const QString& candidate : candidates)
        if (showFolderOnItsDrive(candidate))
            return;
    if (!m_path.isEmpty())
        selectDriveQuietly(m_services.folders.volumeOf(m_path));
}

bool frmBrowse::askForDisk()
{
    return m_services.questions.messageBox(
               this, ProgramTitle, tr("Put a floppy disk in the drive and close the door."),
               QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Warning,
               QMessageBox::Ok) == QMessageBox::Ok;
}

void frmBrowse::tellUnavailable(const QString& volumeRoot)
{
    m_services.questions.messageBox(this, ProgramTitle,
                                    tr("This drive or path does not exist: ") + volumeRoot,
                                    QMessageBox::Ok, QMessageBox::Warning, QMessageBox::Ok);
}

void frmBrowse::tellUnexpected(const FolderError& error)
{
    // The number is set off by a blank, as numbers are when they are turned into text.
    const QString text = tr("Unexpected error #") + QLatin1Char(' ') +
                         QString::number(error.number) + tr(" occurred: ") + error.description;
    m_services.questions.messageBox(this, ProgramTitle, text, QMessageBox::Ok,
                                    QMessageBox::Critical, QMessageBox::Ok);
}

void frmBrowse::keyPressEvent(QKeyEvent* event)
{
    if (!handleKeyWithoutDefaultButtons(*this, *event))
        QDialog::keyPressEvent(event);
}

bool frmBrowse::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == dirWrkDir && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            dirWrkDir_DblClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

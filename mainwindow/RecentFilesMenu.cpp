#include "mainwindow/RecentFilesMenu.h"

#include "documentcommands/RecentFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

RecentFilesMenu::RecentFilesMenu(QMenu& fileMenu, QAction* before, RecentFiles& files, Open open)
    : QObject(&fileMenu), m_menu(new QMenu(tr("Open Rec&ent"), &fileMenu)), m_files(files),
      m_open(std::move(open))
{
    m_menu->setObjectName(QStringLiteral("mnuFileRecent"));
    m_menu->setToolTipsVisible(true);
    m_menu->menuAction()->setObjectName(QStringLiteral("mnuFileRecentItem"));
    fileMenu.insertMenu(before, m_menu);
    // Built when the File menu opens, not at start-up: the list is read from the settings.
    connect(&fileMenu, &QMenu::aboutToShow, this, &RecentFilesMenu::rebuild);
}

void RecentFilesMenu::rebuild()
{
    m_menu->clear();
    const QStringList files = m_files.files();
    for (int number = 1; number <= files.size(); ++number) {
        const QString path = files.at(number - 1);
        // An ampersand in a name is shown as it is, not taken as an access key.
        const QString name = QFileInfo(path).fileName().replace(u'&', QStringLiteral("&&"));
        QAction* item = m_menu->addAction(QStringLiteral("&%1 %2").arg(number).arg(name));
        item->setObjectName(QStringLiteral("mnuFileRecent%1").arg(number));
        item->setToolTip(QDir::toNativeSeparators(path));
        connect(item, &QAction::triggered, this, [this, path] { m_open(path); });
    }
    m_menu->addSeparator();
    QAction* clear = m_menu->addAction(tr("Clear Recently Opened"));
    clear->setObjectName(QStringLiteral("mnuFileRecentClear"));
    connect(clear, &QAction::triggered, this, [this] { m_files.clear(); });
    m_menu->menuAction()->setEnabled(!files.isEmpty());
}

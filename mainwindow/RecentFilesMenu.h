#pragma once

#include <QObject>
#include <functional>

class QAction;
class QMenu;
class RecentFiles;

// File > Open Recent: the recent files numbered "&1" to "&8" by their names, with the full
// path as the tool tip, and "Clear Recently Opened" at the bottom. It is built afresh each
// time the File menu opens, and is disabled while the list is empty.
class RecentFilesMenu final : public QObject
{
    Q_OBJECT

public:
    using Open = std::function<void(const QString& path)>;

    RecentFilesMenu(QMenu& fileMenu, QAction* before, RecentFiles& files, Open open);

private:
    void rebuild();

    QMenu* m_menu;
    RecentFiles& m_files;
    Open m_open;
};

#include "mainwindow/FileDrops.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

QStringList localFiles(const QMimeData* data)
{
    QStringList files;
    if (data == nullptr)
        return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            files << url.toLocalFile();
    }
    return files;
}

} // namespace

void FileDrops::watch(std::initializer_list<QWidget*> targets)
{
    for (QWidget* target : targets) {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
    }
}

bool FileDrops::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        if (takeFiles(static_cast<QDropEvent*>(event)))
            return true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

// Accepts a drag that brings files and, on the drop, hands them on. False for anything else.
bool FileDrops::takeFiles(QDropEvent* event)
{
    QStringList files = localFiles(event->mimeData());
    if (event->type() != QEvent::Drop)
        m_draggedFiles = files;
    else if (files.isEmpty())
        files = std::exchange(m_draggedFiles, {});
    if (files.isEmpty())
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (event->type() == QEvent::Drop)
        QMetaObject::invokeMethod(
            this, [this, files] { Q_EMIT filesDropped(files); }, Qt::QueuedConnection);
    return true;
}

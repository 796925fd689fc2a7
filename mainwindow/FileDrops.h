#pragma once

#include <QObject>
#include <QStringList>

class QDropEvent;
class QWidget;

// Files dragged onto the window, the header list and the data field included, are opened as
// Open opens them; the controls would otherwise take the drag themselves (the field would type
// the file's name). Anything else dragged is left to the control under the pointer.
class FileDrops final : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Takes the file drags that reach each of `targets`, which are made to accept drops.
    void watch(std::initializer_list<QWidget*> targets);

Q_SIGNALS:
    // Once the drop has returned: the source of a drag waits until it does, and the questions
    // that opening asks come after it has let go.
    void filesDropped(const QStringList& files);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool takeFiles(QDropEvent* event);

    // The files of the drag under way: some sources hand them over only while the drag moves,
    // not with the drop.
    QStringList m_draggedFiles;
};

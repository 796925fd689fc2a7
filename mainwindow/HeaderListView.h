#pragma once

#include <QListView>

class HeaderMarkDelegate;

// The header list. It says what the user asked for and leaves the doing to the window: the
// Headers menu as a popup (right press), renaming (double click, F2), removing (Delete), going
// on to the data field (Return), and moving an entry to another place (dragging it). A left
// press selects as in any list; any press gives the list the focus.
class HeaderListView final : public QListView
{
    Q_OBJECT

public:
    explicit HeaderListView(QWidget* parent);

    void setModel(QAbstractItemModel* model) override;

    // The position of the selected entry, -1 when none is selected.
    int selectedPosition() const;
    // Marks characters of the header shown at `position`, as Find marks a match; the mark goes
    // when another entry is selected or the list changes.
    void markInHeader(int position, qsizetype at, qsizetype length);
    void clearMark();

Q_SIGNALS:
    void popupMenuRequested();
    void renameRequested();
    void removeRequested();
    void dataFieldRequested();
    // The selected entry was dragged and let go before the entry at `before` (the entry count:
    // below the last one).
    void moveRequested(int from, int before);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    bool takeOwnDrag(QDropEvent* event);
    int dropPosition(const QPoint& at) const;

    HeaderMarkDelegate* m_marks;
};

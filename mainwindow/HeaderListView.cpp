#include "mainwindow/HeaderListView.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

// Paints a Find match inside a header: the matched characters stand out of the selected row in
// the field's own colours.
class HeaderMarkDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    struct Mark
    {
        int row = -1;
        qsizetype at = 0;
        qsizetype length = 0;
    };
    Mark mark;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (index.row() == mark.row && mark.length > 0)
            paintMark(painter, option, index.data().toString());
    }

private:
    void paintMark(QPainter* painter, QStyleOptionViewItem option, const QString& header) const
    {
        const QWidget* view = option.widget;
        const QStyle* style = view != nullptr ? view->style() : nullptr;
        if (style == nullptr)
            return;
        option.text = header;
        const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &option, view);
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        const QFontMetrics metrics(option.font);
        const int left = textRect.left() + margin + metrics.horizontalAdvance(header.left(mark.at));
        const QString matched = header.mid(mark.at, mark.length);
        const QRect box(left, textRect.top(), metrics.horizontalAdvance(matched),
                        textRect.height());
        painter->save();
        painter->fillRect(box, option.palette.base());
        painter->setPen(option.palette.color(QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter, matched);
        painter->restore();
    }
};

HeaderListView::HeaderListView(QWidget* parent)
    : QListView(parent), m_marks(new HeaderMarkDelegate(this))
{
    setItemDelegate(m_marks);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // All entries are one line high; letting the view assume it keeps large files fast.
    setUniformItemSizes(true);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    // Nothing on the screen tells of the list's own keys.
    setAccessibleDescription(
        tr("Return goes to the record's text, F2 renames the header, Delete removes it"));
}

void HeaderListView::setModel(QAbstractItemModel* model)
{
    QListView::setModel(model);
    // A mark stands for a match in a header as it was; any change of the list outdates it.
    connect(model, &QAbstractItemModel::rowsInserted, this, &HeaderListView::clearMark);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &HeaderListView::clearMark);
    connect(model, &QAbstractItemModel::rowsMoved, this, &HeaderListView::clearMark);
    connect(model, &QAbstractItemModel::modelReset, this, &HeaderListView::clearMark);
    connect(model, &QAbstractItemModel::dataChanged, this, &HeaderListView::clearMark);
}

int HeaderListView::selectedPosition() const
{
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

void HeaderListView::markInHeader(int position, qsizetype at, qsizetype length)
{
    m_marks->mark = {position, at, length};
    viewport()->update();
}

void HeaderListView::clearMark()
{
    if (m_marks->mark.row >= 0)
        markInHeader(-1, 0, 0);
}

void HeaderListView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QListView::currentChanged(current, previous);
    if (current.row() != m_marks->mark.row)
        clearMark();
}

// Only the left button selects; the right one asks for the Headers menu instead.
void HeaderListView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton)
        QListView::mousePressEvent(event);
    else if (event->button() == Qt::RightButton)
        Q_EMIT popupMenuRequested();
}

void HeaderListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT renameRequested();
}

void HeaderListView::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & ~Qt::KeypadModifier) {
        QListView::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_F2:
        Q_EMIT renameRequested();
        break;
    case Qt::Key_Delete:
        Q_EMIT removeRequested();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Q_EMIT dataFieldRequested();
        break;
    default:
        QListView::keyPressEvent(event);
    }
}

void HeaderListView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!takeOwnDrag(event))
        QListView::dragEnterEvent(event);
}

void HeaderListView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!takeOwnDrag(event))
        QListView::dragMoveEvent(event);
}

void HeaderListView::dropEvent(QDropEvent* event)
{
    if (!takeOwnDrag(event))
        QListView::dropEvent(event);
}

// An entry dragged within the list. The drop is taken as a copy so that the list never
// removes the dragged row itself: the window moves the entry.
bool HeaderListView::takeOwnDrag(QDropEvent* event)
{
    if (event->source() != this)
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    const int from = selectedPosition();
    if (event->type() == QEvent::Drop && from >= 0)
        Q_EMIT moveRequested(from, dropPosition(event->position().toPoint()));
    return true;
}

// Above the entry under the pointer, below it past its middle, last below the entries.
int HeaderListView::dropPosition(const QPoint& at) const
{
    const QModelIndex under = indexAt(at);
    if (!under.isValid())
        return model()->rowCount();
    return at.y() > visualRect(under).center().y() ? under.row() + 1 : under.row();
}

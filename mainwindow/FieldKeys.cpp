#include "mainwindow/FieldKeys.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>

FieldKeys::FieldKeys(QWidget& field) : QObject(&field)
{
    field.installEventFilter(this);
}

void FieldKeys::take(QKeySequence::StandardKey key, Run run)
{
    m_keys.append({key, std::move(run)});
}

void FieldKeys::onFocus(Run gained, Run lost)
{
    m_gained = std::move(gained);
    m_lost = std::move(lost);
}

bool FieldKeys::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (runKey(event))
            return true;
        break;
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        const auto* focus = static_cast<QFocusEvent*>(event);
        const Run& run = event->type() == QEvent::FocusIn ? m_gained : m_lost;
        if (focus->reason() != Qt::PopupFocusReason && run)
            run();
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool FieldKeys::runKey(const QEvent* event) const
{
    const auto* key = static_cast<const QKeyEvent*>(event);
    for (const auto& [sequence, run] : m_keys) {
        if (key->matches(sequence)) {
            run();
            return true;
        }
    }
    return false;
}

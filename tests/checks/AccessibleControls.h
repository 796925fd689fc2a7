#pragma once

#include "platform/WindowLook.h"

#include <QtWidgets>

// What a screen reader's user would miss in a shown window: a control that the keyboard
// reaches, or a toolbar button, with no name to read out, and a widget that takes the focus
// although it does nothing (text that can be selected does something: it can be copied).
// Each is listed by its object name, else by its class; and a window not in the font all of
// Tabulet's windows share.
inline QString accessibilityFaults(const QWidget& window)
{
    const auto readable = [](const QString& text) {
        return std::any_of(text.begin(), text.end(),
                           [](QChar each) { return each.isPrint() && !each.isSpace(); });
    };
    const QList<QAccessible::Role> inert{QAccessible::Client,     QAccessible::Border,
                                         QAccessible::StaticText, QAccessible::Graphic,
                                         QAccessible::Separator,  QAccessible::Grouping};
    QStringList faults;
    if (window.font() != tabuletWidgetFont())
        faults << QStringLiteral("another font");
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const bool toolbarButton = qobject_cast<QToolBar*>(widget->parentWidget()) &&
                                   qobject_cast<QAbstractButton*>(widget);
        if (widget->window() != &window || !widget->isVisible() ||
            (widget->focusPolicy() == Qt::NoFocus && !toolbarButton))
            continue;
        const QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
        const QString who = widget->objectName().isEmpty()
                                ? QLatin1String(widget->metaObject()->className())
                                : widget->objectName();
        const auto* label = qobject_cast<QLabel*>(widget);
        const bool selectable = label && label->textInteractionFlags() & Qt::TextSelectableByMouse;
        if (inert.contains(control->role()) && !selectable)
            faults << who + QStringLiteral(" takes the focus");
        else if (!readable(control->text(QAccessible::Name)))
            faults << who + QStringLiteral(" has no name");
    }
    return faults.join(u", ");
}

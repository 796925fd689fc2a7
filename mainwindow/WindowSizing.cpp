#include "mainwindow/WindowSizing.h"

#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QRegularExpression>

namespace {

int shareOf(int growth, WindowSizing::Share share)
{
    switch (share) {
    case WindowSizing::Half:
        return growth / 2;
    case WindowSizing::OtherHalf:
        return growth - growth / 2;
    case WindowSizing::All:
        return growth;
    case WindowSizing::None:
        break;
    }
    return 0;
}

} // namespace

WindowSizing::WindowSizing(QMainWindow& window, QWidget& client)
    : QObject(&client), m_window(window), m_client(client), m_fixedSize(client.size())
{
    // Fixed, the window has no maximize button and its layout holds it at its size.
    m_window.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                            Qt::CustomizeWindowHint);
    m_window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    m_client.installEventFilter(this);
}

void WindowSizing::follow(QWidget& control, Share left, Share top, Share width, Share height)
{
    m_followers.append({&control, control.geometry(), left, top, width, height});
}

void WindowSizing::setResizable(bool on)
{
    m_resizable = on;
    const bool shown = m_window.isVisible();
    const QPoint place = m_window.pos();
    if (!on)
        m_window.setWindowState(m_window.windowState() & ~Qt::WindowMaximized);
    // Changing the window's buttons hides it; it comes back where it stood.
    m_window.setWindowFlag(Qt::WindowMaximizeButtonHint, on);
    if (on) {
        m_client.setMinimumSize(m_fixedSize);
        m_client.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        // The fixed layout pinned the window's own limits; the layout sets the least size anew.
        m_window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        m_window.layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    } else {
        m_client.setFixedSize(m_fixedSize);
        m_window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    }
    m_window.layout()->activate();
    if (shown) {
        m_window.move(place);
        m_window.show();
    }
}

bool WindowSizing::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_client && event->type() == QEvent::Resize)
        placeFollowers();
    return QObject::eventFilter(watched, event);
}

void WindowSizing::placeFollowers()
{
    const int wider = std::max(0, m_client.width() - m_fixedSize.width());
    const int taller = std::max(0, m_client.height() - m_fixedSize.height());
    for (const Follower& follower : std::as_const(m_followers)) {
        if (!follower.control)
            continue;
        const QRect& base = follower.base;
        follower.control->setGeometry(base.x() + shareOf(wider, follower.left),
                                      base.y() + shareOf(taller, follower.top),
                                      base.width() + shareOf(wider, follower.width),
                                      base.height() + shareOf(taller, follower.height));
    }
}

void WindowSizing::followMainWindow(QWidget& toolbar, QWidget& newHeader, QWidget& list,
                                    QWidget& fieldLabel, QWidget& field)
{
    follow(toolbar, None, None, All, None);
    for (QWidget* rule : m_client.findChildren<QWidget*>(QRegularExpression("^Line1_")))
        follow(*rule, None, None, All, None);
    follow(newHeader, All, None, None, None);
    follow(list, None, None, All, Half);
    follow(fieldLabel, None, Half, None, None);
    follow(field, None, Half, All, OtherHalf);
}

#include "mainwindow/FindSession.h"

#include "editing/FindReplace.h"
#include "mainwindow/frmFind.h"

FindSession::FindSession(Document& document, FindReplaceView& view, QWidget& owner)
    : m_findReplace(std::make_unique<FindReplace>(document, view)), m_owner(owner)
{}

FindSession::~FindSession() = default;

void FindSession::showFind()
{
    window().showFor(false);
}

void FindSession::showReplace()
{
    window().showFor(true);
}

void FindSession::findNext(bool backwards)
{
    if (m_window == nullptr || m_window->options().text.isEmpty())
        return showFind();
    m_window->setStatus(m_findReplace->find(m_window->options(), backwards));
}

frmFind& FindSession::window()
{
    if (m_window != nullptr)
        return *m_window;
    // The main window owns it, so that it closes and goes with the main window.
    m_window = new frmFind(&m_owner);
    QObject::connect(m_window, &frmFind::findRequested, m_window, [this](bool backwards) {
        m_window->setStatus(m_findReplace->find(m_window->options(), backwards));
    });
    QObject::connect(m_window, &frmFind::replaceRequested, m_window, [this] {
        m_window->setStatus(m_findReplace->replace(m_window->options(), m_window->replacement()));
    });
    QObject::connect(m_window, &frmFind::replaceAllRequested, m_window, [this] {
        m_window->setStatus(
            m_findReplace->replaceAll(m_window->options(), m_window->replacement()));
    });
    return *m_window;
}

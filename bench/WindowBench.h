#pragma once

// What the benchmarks of the main window share: folders of their own, drawn offscreen, the
// application with the real services and dialogs, and a keystroke sent as the keyboard sends it.
#include "bench/BenchSupport.h"
#include "dialogs/PreferenceCommands.h"
#include "platform/QtServices.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>

namespace bench {

// For a benchmark of the main window: drawn offscreen unless a display is asked for, with
// folders of its own.
inline void useWindowFolders(const QTemporaryDir& folder)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!folder.isValid())
        qFatal("no temporary folder");
    usePrivateFolders(folder);
}

class WindowBench
{
public:
    WindowBench(int& argc, char** argv)
        : m_foldersReady((useWindowFolders(m_folder), true)), m_app(argc, argv),
          m_dialogs(m_services.services())
    {
        QApplication::setApplicationName(QStringLiteral("Tabulet"));
    }

    Services services() { return m_services.services(); }
    ProgramDialogs& dialogs() { return m_dialogs; }
    QString filePath(const QString& name) const { return m_folder.filePath(name); }

private:
    QTemporaryDir m_folder;
    bool m_foldersReady;
    QApplication m_app;
    QtServices m_services;
    PreferenceCommands m_dialogs;
};

// An "x" typed into `field`, handled and painted.
inline void keystroke(QWidget* field)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(field, &press);
    QApplication::sendEvent(field, &release);
    QApplication::processEvents();
}

} // namespace bench

#pragma once

#include "platform/FileChoice.h"

#include <QFont>
#include <QString>
#include <optional>

class QWidget;

// The common dialogs: open, save as and the font dialog.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;

    // `filter` is in the program's own form, "Name (*.EXT)|*.EXT|..."; `startFolder` may be
    // empty, in which case the dialog opens where the platform opens it by default.
    virtual std::optional<FileChoice> openFile(QWidget* parent, const QString& filter,
                                               const QString& startFolder) = 0;
    // Asks before replacing an existing file; nullopt when cancelled. A `startFolder` that names
    // a file not there yet offers that file's name. An empty `title` leaves
    // the dialog's own, "Save As".
    virtual std::optional<FileChoice> saveFileAs(QWidget* parent, const QString& filter,
                                                 const QString& startFolder,
                                                 const QString& title = QString()) = 0;
    // Scalable fonts only, no simulated styles, no effects, only an existing font; opens at
    // `startFont`, or at the font the system draws for it. nullopt when cancelled.
    virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& startFont = QFont()) = 0;
};

class QtFileDialogs final : public FileDialogs
{
public:
    std::optional<FileChoice> openFile(QWidget* parent, const QString& filter,
                                       const QString& startFolder) override;
    std::optional<FileChoice> saveFileAs(QWidget* parent, const QString& filter,
                                         const QString& startFolder, const QString& title) override;
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& startFont) override;
};

// Turns "Ledra Datafiles (*.DF)|*.DF|All Files (*.*)|*.*" into Qt's name filters: each
// description as written, then its patterns made to work as users expect on every platform,
// whether or not its dialogs match names case-sensitively: "*.DF" also matches ".df", and
// "*.*" also matches names without an extension. The dialogs hide the added patterns, so the
// user reads each description exactly as written.
QStringList qtNameFilters(const QString& filter);

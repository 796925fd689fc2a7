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
    // Asks before replacing an existing file; nullopt when cancelled.
    virtual std::optional<FileChoice> saveFileAs(QWidget* parent, const QString& filter,
                                                 const QString& startFolder) = 0;
    // Scalable fonts only, no simulated styles, only an existing font; nullopt when cancelled.
    virtual std::optional<QFont> chooseFont(QWidget* parent) = 0;
};

class QtFileDialogs final : public FileDialogs
{
public:
    std::optional<FileChoice> openFile(QWidget* parent, const QString& filter,
                                       const QString& startFolder) override;
    std::optional<FileChoice> saveFileAs(QWidget* parent, const QString& filter,
                                         const QString& startFolder) override;
    std::optional<QFont> chooseFont(QWidget* parent) override;
};

// Turns "Ledra Datafiles (*.DF)|*.DF|All Files (*.*)|*.*" into Qt's name filters: each
// description as written, then its patterns made to work as users expect on every platform,
// whether or not its dialogs match names case-sensitively: "*.DF" also matches ".df", and
// "*.*" also matches names without an extension. The dialogs hide the added patterns, so the
// user reads each description exactly as written.
QStringList qtNameFilters(const QString& filter);

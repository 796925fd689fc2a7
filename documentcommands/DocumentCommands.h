#pragma once

#include "core/FileAccess.h"
#include "documentcommands/CrashRecovery.h"
#include "documentcommands/RecentFiles.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <QString>
#include <optional>

class Document;
class QWidget;

// How a save ended; the printout tells a cancelled Save As dialog from a failed save.
enum class SaveOutcome { Saved, Cancelled, Failed };

// The File menu's document commands: New, Open, Save, Save As, Exit and the close box, with
// every question they ask. None of them may lose the user's work: a Yes to "save first?" that
// does not end in a saved file stops the command, a save that fails leaves the file on disk and
// the document as they were, and a file that cannot be read is reported rather than passed
// over.
class DocumentCommands
{
    Q_DECLARE_TR_FUNCTIONS(DocumentCommands)

public:
    DocumentCommands(Document& document, const Services& services);

    // The window the questions and dialogs belong to; none in tests.
    void setOwner(QWidget* owner);

    void newDocument();
    void open();
    // At start: offers the unsaved work of an earlier run that ended without closing, then
    // opens a file named on the command line (if any) as Open does once its dialog has chosen it.
    void openAtStart(const QString& path);
    // Opens a file of the recent files list as Open does once its dialog has chosen it; a file
    // that is gone is said to be gone and leaves the list, and the document stays as it is.
    void openRecent(const QString& path);
    // Opens files dropped on the window: the first, as Open does once its dialog has chosen it.
    void openDropped(const QStringList& paths);
    RecentFiles& recentFiles() { return m_recentFiles; }
    // Saves to the document's file, or asks for a name when it has none.
    SaveOutcome FileSaveSub();
    SaveOutcome FileSaveAsSub();
    // Before something replaces the document: offers a document with content for saving, as
    // Open does. Whether the command may go on; the document is left as it is.
    bool mayReplaceDocument();
    // Opens what the calculator sent as a document without a file, whose Save As offers `name`
    // without any folder in it.
    // Anything that is not a list of strings is reported, and the document stays as it is.
    void openReceived(QByteArray bytes, const QString& name);
    // Before the document is written anywhere: a record that a data file cannot hold as it is
    // is pointed out, and the user may stop. Whether to go on.
    bool acceptUnwritableContent();
    // File > Exit and the close box: whether the window may close.
    bool Form_QueryUnload();
    // The desktop session is ending: asks as Exit does when the session lets it ask, and
    // otherwise keeps the unsaved work for the next run. Whether the session may end.
    bool endSession(bool mayAsk);
    CrashRecovery& recovery() { return m_recovery; }
    // When the window is activated: the document's file changed or went away behind it. A
    // change is offered for reloading, a file gone is said to be gone; each once.
    void reviewFileOnDisk();

private:
    bool offerToSave(const QString& question);
    bool clearAfterAsking();
    void openChosenFile(const QString& path);
    void readOpenedFile(FileContents contents);
    void takeReading(const QByteArray& bytes);
    bool writeDocument(const QString& path);
    void reportFailure(const QString& message);
    bool acceptChangeOnDisk(const QString& path);
    void offerReload(const QString& path);
    void keepStamp(const QString& path);

    Document& m_document;
    Services m_services;
    RecentFiles m_recentFiles;
    QWidget* m_owner = nullptr;
    // The document's file as it was last read or written, and as it was last asked about.
    FileStamp m_stamp;
    FileStamp m_reviewed;
    bool m_reviewing = false;
    CrashRecovery m_recovery;
    // The document's change count when the user last answered the ending session's question:
    // the window that closes next need not ask again unless the document changed since.
    std::optional<quint64> m_sessionAnswered;
};

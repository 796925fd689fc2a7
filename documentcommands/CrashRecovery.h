#pragma once

#include "core/FileAccess.h"

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class Document;
class QLockFile;
class QWidget;
class Questions;

// Keeps the document's unsaved work in a file of its own a moment after each change, so that a
// run that ends without closing (killed, crashed, the power gone, the desktop session ended)
// loses nothing: the next run offers to restore it. Each running Tabulet holds a lock on its
// own file, so that one never takes the work of another that is still running. The window's
// thread only takes a copy of the document; the disk is written by a thread of its own, in
// order, so that a slow disk never holds up the typing.
class CrashRecovery final : public QObject
{
    Q_OBJECT

public:
    // A change reaches the recovery file at most this long after it was made.
    static constexpr int Delay = 1000;

    // `folder` empty: nothing is kept. `stamp` tells the document's file as it was last read
    // or saved.
    CrashRecovery(Document& document, Questions& questions, const QString& folder,
                  std::function<FileStamp()> stamp);
    // What is on its way to the disk gets there, and the file stays: a run that ends without
    // Exit has not given its work up.
    ~CrashRecovery() override;

    void setOwner(QWidget* owner) { m_owner = owner; }
    // At start: offers the work of each earlier run that ended without closing, one after the
    // other, until one is restored. The stamp its file had in that run, once one is restored.
    std::optional<FileStamp> offerRestore();
    // Writes what is unsaved now rather than a moment later; with nothing unsaved, the file
    // goes.
    void keepNow();
    // The user has decided about the unsaved work (Exit): the file goes.
    void discard();
    // Returns once every write and removal asked for so far has reached the disk.
    void flush() { m_disk.waitForDone(); }
    // The file that keeps this run's work; empty until there has been some.
    QString filePath() const { return m_path; }

private:
    void schedule();
    bool claimFile();
    void removeFile();
    std::optional<FileStamp> offer(const QString& path);
    void setAside(const QString& path, const QString& why);
    void reportFailure(const QString& why);
    void writeFile(const QByteArray& bytes);

    Document& m_document;
    Questions& m_questions;
    QString m_folder;
    std::function<FileStamp()> m_stamp;
    QWidget* m_owner = nullptr;
    QTimer m_timer;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    bool m_failureReported = false;
    // Last, so that it finishes before anything it works with goes.
    QThreadPool m_disk;
};

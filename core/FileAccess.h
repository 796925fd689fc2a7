#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>

class QSaveFile;

// Whole-file reading and one-step writing for the document. A failure comes back as the
// system's reason, ready to be shown to the user.

// A file on disk as the document last read or wrote it, to tell when another program has
// changed it since: its time of change and its size, or that it is not there.
struct FileStamp
{
    bool exists = false;
    QDateTime modified;
    qint64 size = -1;

    static FileStamp of(const QString& path);
    bool operator==(const FileStamp& other) const = default;
};

struct FileContents
{
    QByteArray bytes;
    // Empty when the whole file was read.
    QString error;
};

FileContents readWholeFile(const QString& path);
// Why the file at `path` cannot be read, without reading it; empty when it can.
QString whyUnreadable(const QString& path);

// How a save reaches its file; tests put a file that fails in its place.
using SaveFileFactory = std::function<std::unique_ptr<QSaveFile>(const QString& path)>;
SaveFileFactory realSaveFiles();

// Streams a file through one buffer into a QSaveFile that replaces the file only once all of it
// is written. On any failure the file that was there stays exactly as it was and no stray
// temporary file is left behind.
class FileWriter
{
public:
    // `buffer` is reused from one save to the next.
    FileWriter(std::unique_ptr<QSaveFile> file, QByteArray& buffer);
    // Collects what would be written in `target` instead, as it would reach the file: for a
    // transfer from memory, and for checks that need not wait for a disk.
    explicit FileWriter(QByteArray& target);
    ~FileWriter();

    // The empty text, or the reason the file cannot be written.
    QString open();
    void append(QByteArrayView bytes);
    // Latin-1; a character outside it becomes "?".
    void append(QStringView text);
    // Writes what is left and puts the file in place; the empty text or the reason it failed.
    QString commit();

private:
    bool writeBuffer();
    bool writeOut(QByteArrayView bytes);

    std::unique_ptr<QSaveFile> m_file;
    QByteArray* m_target = nullptr;
    QByteArray m_ownBuffer;
    QByteArray& m_buffer;
    qsizetype m_used = 0;
    QString m_failure;
};

#pragma once

#include <QByteArray>
#include <QString>

// Whole-file reading and writing for the document commands. A failure comes back as the
// system's reason, ready to be shown to the user.

struct FileContents
{
    QByteArray bytes;
    // Empty when the whole file was read.
    QString error;
};

FileContents readWholeFile(const QString& path);

// Replaces the file at `path` by `bytes` in one step. On any failure the file that was there
// stays exactly as it was and no stray temporary file is left behind. Returns the reason of
// a failure, or the empty text on success.
QString replaceFile(const QString& path, const QByteArray& bytes);

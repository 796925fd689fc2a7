#include "core/DocumentFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

FileContents readWholeFile(const QString& path)
{
    // A pipe or a device would block or never end; a data file is always a plain file.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir())
        return {{}, QCoreApplication::translate("DocumentFile", "It is not a regular file.")};

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    FileContents contents{file.readAll(), QString()};
    if (file.error() != QFileDevice::NoError)
        return {{}, file.errorString()};
    return contents;
}

QString replaceFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();

    // Qt's commit() replaces the original even after a failed write, so every step is checked
    // and the temporary file is thrown away at the first failure. A short write is retried:
    // the retry either goes on or fails with the system's reason (a full disk only reports
    // itself on the write that finds no room at all).
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 step = file.write(bytes.constData() + written, bytes.size() - written);
        if (step <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return reason;
        }
        written += step;
    }
    if (!file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

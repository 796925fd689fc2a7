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

QByteArray dataFileBytes(QStringView text)
{
    QByteArray bytes(text.size() + 2, Qt::Uninitialized);
    char* out = bytes.data();
    const char16_t* in = text.utf16();
    const char16_t* const end = in + text.size();
    while (in < end) {
        const char16_t c = *in++;
        if (c <= 0xFF) {
            *out++ = char(c);
            continue;
        }
        // A character beyond the 16-bit range is a surrogate pair: still one character.
        if (QChar::isHighSurrogate(c) && in < end && QChar::isLowSurrogate(*in))
            ++in;
        *out++ = '?';
    }
    *out++ = '\r';
    *out++ = '\n';
    bytes.truncate(out - bytes.constData());
    return bytes;
}

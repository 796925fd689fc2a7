#include "core/FileAccess.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstring>

namespace {

// Large enough that the system calls cost nothing beside the copying, small enough to stay
// in the processor's caches.
constexpr qsizetype BufferSize = 256 * 1024;
// Writing into memory needs a buffer only to gather the small pieces.
constexpr qsizetype MemoryBufferSize = 4 * 1024;

// A failure must never read as success, even where the system gives no reason.
QString reasonOf(const QFileDevice& file)
{
    const QString reason = file.errorString();
    return reason.isEmpty() ? QCoreApplication::translate("FileAccess", "Unknown error") : reason;
}

} // namespace

FileStamp FileStamp::of(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {true, info.lastModified(), info.size()};
}

QString whyUnreadable(const QString& path)
{
    // A pipe or a device would block or never end; a data file is always a plain file.
    const QFileInfo info(path);
    if (info.isDir())
        return QCoreApplication::translate("FileAccess", "It is a folder, not a file.");
    if (info.exists() && !info.isFile())
        return QCoreApplication::translate("FileAccess", "It is not a regular file.");
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString() : file.errorString();
}

FileContents readWholeFile(const QString& path)
{
    if (QString reason = whyUnreadable(path); !reason.isEmpty())
        return {{}, reason};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    FileContents contents{file.readAll(), QString()};
    if (file.error() != QFileDevice::NoError)
        return {{}, file.errorString()};
    return contents;
}

SaveFileFactory realSaveFiles()
{
    return [](const QString& path) { return std::make_unique<QSaveFile>(path); };
}

FileWriter::FileWriter(std::unique_ptr<QSaveFile> file, QByteArray& buffer)
    : m_file(std::move(file)), m_buffer(buffer)
{
    // The buffer is filled by hand: appending piece by piece through QByteArray would cost
    // more than the copying itself, for the six small pieces every record is written in.
    m_buffer.resize(BufferSize);
}

FileWriter::FileWriter(QByteArray& target) : m_target(&target), m_buffer(m_ownBuffer)
{
    m_buffer.resize(MemoryBufferSize);
}

FileWriter::~FileWriter()
{
    // A writer given up half way never leaves its temporary file behind.
    if (m_file && m_file->isOpen())
        m_file->cancelWriting();
}

QString FileWriter::open()
{
    if (m_file && !m_file->open(QIODevice::WriteOnly))
        m_failure = reasonOf(*m_file);
    return m_failure;
}

void FileWriter::append(QByteArrayView bytes)
{
    if (!m_failure.isEmpty())
        return;
    if (m_used + bytes.size() > m_buffer.size() && !writeBuffer())
        return;
    if (bytes.size() >= m_buffer.size()) {
        writeOut(bytes);
        return;
    }
    std::memcpy(m_buffer.data() + m_used, bytes.data(), size_t(bytes.size()));
    m_used += bytes.size();
}

void FileWriter::append(QStringView text)
{
    if (!m_failure.isEmpty())
        return;
    qsizetype at = 0;
    while (at < text.size()) {
        if (m_used == m_buffer.size() && !writeBuffer())
            return;
        // Filled through a pointer taken once for as much as fits.
        char* const out = m_buffer.data();
        const qsizetype end = std::min(text.size(), at + m_buffer.size() - m_used);
        for (; at < end; ++at) {
            const char16_t c = text[at].unicode();
            // A character beyond U+FFFF is two UTF-16 units, but one character: one "?".
            if (QChar::isHighSurrogate(c) && at + 1 < text.size() && text[at + 1].isLowSurrogate())
                ++at;
            out[m_used++] = c > 0xff ? '?' : char(c);
        }
    }
}

bool FileWriter::writeBuffer()
{
    if (!m_failure.isEmpty() || !writeOut(QByteArrayView(m_buffer.constData(), m_used)))
        return false;
    m_used = 0;
    return true;
}

// Qt's commit() replaces the original even after a failed write, so every step is checked and
// the temporary file is thrown away at the first failure. A short write is retried: the retry
// either goes on or fails with the system's reason (a full disk only reports itself on the
// write that finds no room at all).
bool FileWriter::writeOut(QByteArrayView bytes)
{
    if (m_target) {
        m_target->append(bytes);
        return true;
    }
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 step = m_file->write(bytes.data() + written, bytes.size() - written);
        if (step <= 0) {
            m_failure = reasonOf(*m_file);
            m_file->cancelWriting();
            return false;
        }
        written += step;
    }
    return true;
}

QString FileWriter::commit()
{
    if (!writeBuffer() || m_target)
        return m_failure;
    if (!m_file->flush()) {
        m_failure = reasonOf(*m_file);
        m_file->cancelWriting();
        return m_failure;
    }
    if (!m_file->commit())
        m_failure = reasonOf(*m_file);
    return m_failure;
}

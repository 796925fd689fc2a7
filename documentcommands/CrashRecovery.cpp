#include "documentcommands/CrashRecovery.h"

#include "core/Caption.h"
#include "core/Document.h"
#include "core/RecoveryFile.h"
#include "platform/Questions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QUuid>

namespace {

const QString Suffix = QStringLiteral(".recovery");

// A lock that a running Tabulet holds however long ago it took it; a lock whose process is
// gone is taken over.
std::unique_ptr<QLockFile> lockFor(const QString& path)
{
    auto lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

CrashRecovery::CrashRecovery(Document& document, Questions& questions, const QString& folder,
                             std::function<FileStamp()> stamp)
    : m_document(document), m_questions(questions), m_folder(folder), m_stamp(std::move(stamp))
{
    m_disk.setMaxThreadCount(1);
    m_timer.setSingleShot(true);
    m_timer.setInterval(Delay);
    connect(&m_timer, &QTimer::timeout, this, &CrashRecovery::keepNow);
    connect(&document, &Document::edited, this, &CrashRecovery::schedule);
    connect(&document.history(), &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (clean)
            keepNow();
        else
            schedule();
    });
}

CrashRecovery::~CrashRecovery()
{
    flush();
}

// Typing on does not put the write off: the timer runs from the first change not yet kept.
void CrashRecovery::schedule()
{
    if (!m_folder.isEmpty() && !m_timer.isActive())
        m_timer.start();
}

void CrashRecovery::keepNow()
{
    m_timer.stop();
    if (m_document.history().isClean() || !m_document.hasContent()) {
        removeFile();
        return;
    }
    if (claimFile())
        writeFile(recoveryfile::encode(m_document, m_stamp()));
}

void CrashRecovery::writeFile(const QByteArray& bytes)
{
    m_disk.start([this, path = m_path, bytes] {
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
            return;
        QMetaObject::invokeMethod(
            this, [this, why = file.errorString()] { reportFailure(why); }, Qt::QueuedConnection);
    });
}

void CrashRecovery::discard()
{
    m_timer.stop();
    removeFile();
}

void CrashRecovery::removeFile()
{
    if (!m_path.isEmpty())
        m_disk.start([path = m_path] { QFile::remove(path); });
}

// The file of this run, made once and locked for as long as the run lasts.
bool CrashRecovery::claimFile()
{
    if (!m_path.isEmpty())
        return true;
    if (!QDir().mkpath(m_folder)) {
        reportFailure(
            tr("The folder \"%1\" cannot be made.").arg(QDir::toNativeSeparators(m_folder)));
        return false;
    }
    const QString path =
        m_folder + u'/' + QUuid::createUuid().toString(QUuid::WithoutBraces) + Suffix;
    auto lock = lockFor(path);
    if (!lock->tryLock(0)) {
        reportFailure(
            tr("The lock \"%1\" cannot be made.").arg(QDir::toNativeSeparators(lock->fileName())));
        return false;
    }
    m_path = path;
    m_lock = std::move(lock);
    return true;
}

std::optional<FileStamp> CrashRecovery::offerRestore()
{
    if (m_folder.isEmpty())
        return std::nullopt;
    const QFileInfoList found =
        QDir(m_folder).entryInfoList({QStringLiteral("*") + Suffix}, QDir::Files, QDir::Time);
    for (const QFileInfo& file : found) {
        const QString path = file.absoluteFilePath();
        auto lock = lockFor(path);
        // A running Tabulet's work is its own.
        if (path == m_path || !lock->tryLock(0))
            continue;
        if (const std::optional<FileStamp> stamp = offer(path)) {
            // The restored work goes on being kept in the file it came from.
            removeFile();
            m_path = path;
            m_lock = std::move(lock);
            return stamp;
        }
    }
    return std::nullopt;
}

// The stamp of the restored work's file once the work in `path` was restored; otherwise it is
// discarded or set aside.
std::optional<FileStamp> CrashRecovery::offer(const QString& path)
{
    QFile file(path);
    recoveryfile::Recovered work;
    if (!file.open(QIODevice::ReadOnly)) {
        setAside(path, file.errorString());
        return std::nullopt;
    }
    if (const QString damage = work.read(file.readAll()); !damage.isEmpty()) {
        setAside(path, damage);
        return std::nullopt;
    }
    const QString name = work.fileName().isEmpty()
                             ? tr("a new document")
                             : tr("\"%1\"").arg(QFileInfo(work.fileName()).fileName());
    const QMessageBox::StandardButton answer = m_questions.messageBox(
        m_owner, ProgramTitle,
        tr("Tabulet ended without being closed while %1 held work that had not been saved.\n\n"
           "Restore the unsaved work? No discards it.")
            .arg(name),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Question, QMessageBox::Yes);
    if (answer != QMessageBox::Yes) {
        QFile::remove(path);
        return std::nullopt;
    }
    work.restoreInto(m_document);
    return work.stamp();
}

// A file that cannot be restored is kept under another name, where no run offers it again.
void CrashRecovery::setAside(const QString& path, const QString& why)
{
    QString aside = path + QStringLiteral(".unreadable");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path + QStringLiteral(".unreadable-%1").arg(n);
    QFile::rename(path, aside);
    m_questions.messageBox(
        m_owner, ProgramTitle,
        tr("Work that an earlier run of Tabulet kept for recovery cannot be restored, because "
           "%1.\n\nIt has been set aside as \"%2\".")
            .arg(why, QDir::toNativeSeparators(aside)),
        QMessageBox::Ok, QMessageBox::Warning, QMessageBox::Ok);
}

// Said once a run: the user goes on working, knowing that a crash would lose what is unsaved.
void CrashRecovery::reportFailure(const QString& why)
{
    if (m_failureReported)
        return;
    m_failureReported = true;
    m_questions.messageBox(
        m_owner, ProgramTitle,
        tr("Tabulet cannot keep a copy of your unsaved work for recovery after a crash.\n\n%1\n\n"
           "You can go on working; save often.")
            .arg(why),
        QMessageBox::Ok, QMessageBox::Warning, QMessageBox::Ok);
}

#include "documentcommands/DocumentCommands.h"

#include "core/BinaryObject.h"
#include "core/Caption.h"
#include "core/Document.h"
#include "core/RecordStore.h"
#include "core/SaveCheck.h"
#include "platform/FileDialogs.h"
#include "platform/Folders.h"
#include "platform/Questions.h"
#include "platform/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

const QString DataFileFilter =
    QStringLiteral("Ledra Datafiles (*.DF)|*.DF|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
// Headers read from a file can be of any length; a message names them by their start.
constexpr qsizetype LongestHeaderShown = 40;

QString fileNameShown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString unreadableMessage(const QString& fileName, const QString& error)
{
    return DocumentCommands::tr("The file \"%1\" could not be opened.\n\n%2")
        .arg(fileNameShown(fileName), error);
}

// A file in the calculator's binary form is taken in its text form. What the file holds instead
// of a list of strings, or nothing when it can be read as a data file.
QString takeBinaryForm(QByteArray& bytes)
{
    if (!binaryobject::isBinary(bytes))
        return {};
    const binaryobject::Reading reading = binaryobject::read(bytes);
    if (!reading.notAList.isEmpty())
        return reading.notAList;
    if (const qsizetype quoted = binaryobject::firstWithQuote(reading.strings); quoted >= 0)
        return DocumentCommands::tr("a list whose string number %1 holds a double quote, which "
                                    "a data file cannot hold")
            .arg(quoted + 1);
    bytes = binaryobject::textForm(reading.strings);
    return {};
}

QString notAListMessage(const QString& fileName, const QString& what)
{
    return DocumentCommands::tr("The file \"%1\" holds the calculator's binary form of %2.\n\n"
                                "Tabulet opens lists of strings only.")
        .arg(fileNameShown(fileName), what);
}

QString headerShown(const QString& header)
{
    if (header.size() <= LongestHeaderShown)
        return header;
    return header.left(LongestHeaderShown) + QStringLiteral("...");
}

QString unwritableContentMessage(const UnwritableContent& found, const QString& header)
{
    QStringList paragraphs;
    paragraphs << DocumentCommands::tr(
                      "The record \"%1\" (number %2 in the list) is the first that a data file "
                      "cannot hold as it is.")
                      .arg(headerShown(header), QString::number(found.position + 1));
    if (found.doubleQuote)
        paragraphs << DocumentCommands::tr(
            "It holds a double quote, which cannot be written inside a record: the "
            "record will not read back as it is, and parts of it may read back as "
            "records of their own.");
    if (found.beyondLatin1)
        paragraphs << DocumentCommands::tr(
            "It holds characters outside the 8-bit character set, which will be "
            "written as \"?\".");
    paragraphs << DocumentCommands::tr("Save anyway?");
    return paragraphs.join(QStringLiteral("\n\n"));
}

} // namespace

DocumentCommands::DocumentCommands(Document& document, const Services& services)
    : m_document(document), m_services(services), m_recentFiles(services.settings),
      m_recovery(document, services.questions, services.folders.recoveryFolder(),
                 [this] { return m_stamp; })
{}

void DocumentCommands::setOwner(QWidget* owner)
{
    m_owner = owner;
    m_recovery.setOwner(owner);
}

void DocumentCommands::newDocument()
{
    clearAfterAsking();
}

// New, and Open before it reads: a document with content is offered for saving first. Whether
// the document is now empty and the command may go on.
bool DocumentCommands::clearAfterAsking()
{
    if (!m_document.hasContent())
        return true;
    if (!mayReplaceDocument())
        return false;
    m_document.clear();
    return true;
}

bool DocumentCommands::mayReplaceDocument()
{
    return !m_document.hasContent() || offerToSave(tr("Do you want to save the current contents?"));
}

void DocumentCommands::openReceived(QByteArray bytes, const QString& name)
{
    QString what = takeBinaryForm(bytes);
    if (what.isEmpty() && !binaryobject::isTextFormOfList(bytes))
        what = tr("something other than a list: \"%1\"")
                   .arg(headerShown(
                       QString::fromLatin1(bytes.first(std::min<qsizetype>(bytes.size(), 200)))
                           .simplified()));
    if (!what.isEmpty()) {
        reportFailure(tr("The calculator sent %1.\n\nTabulet opens lists of strings only; the "
                         "document was left as it was.")
                          .arg(what));
        return;
    }
    m_document.clear();
    m_stamp = m_reviewed = {};
    // The sender chooses the name: Save As offers it in the user's folder, never a folder of
    // the sender's choosing.
    const QString title = QFileInfo(name).fileName();
    m_document.suggestedTitle = title == u"." || title == u".." ? QString() : title;
    takeReading(bytes);
}

void DocumentCommands::open()
{
    if (!clearAfterAsking())
        return;
    const std::optional<FileChoice> choice = m_services.fileDialogs.openFile(
        m_owner, DataFileFilter, preferences::workingDirectory(m_services.settings));
    if (!choice)
        return;
    m_document.dlgFileOpen = {choice->fileName, choice->fileTitle};
    readOpenedFile(readWholeFile(choice->fileName));
}

void DocumentCommands::openAtStart(const QString& path)
{
    // A restored document still knows when its file was changed by another program since.
    if (const std::optional<FileStamp> stamp = m_recovery.offerRestore())
        m_stamp = m_reviewed = *stamp;
    if (!path.isEmpty())
        openChosenFile(path);
}

void DocumentCommands::openRecent(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        m_recentFiles.remove(path);
        reportFailure(tr("The file \"%1\" no longer exists. It has been taken off the list of "
                         "recently opened files.")
                          .arg(fileNameShown(path)));
        return;
    }
    openChosenFile(path);
}

void DocumentCommands::openDropped(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    if (paths.size() > 1)
        m_services.questions.messageBox(
            m_owner, ProgramTitle,
            tr("Tabulet opens one file at a time. Of the %1 files dropped, only the first, "
               "\"%2\", will be opened.")
                .arg(paths.size())
                .arg(fileNameShown(paths.constFirst())),
            QMessageBox::Ok, QMessageBox::Information, QMessageBox::Ok);
    openChosenFile(paths.constFirst());
}

// As Open goes on once its dialog has chosen `path`. A file that cannot be read (a folder, a
// file gone or locked away) is said so before anything is asked, and the document stays as it is.
void DocumentCommands::openChosenFile(const QString& path)
{
    if (const QString reason = whyUnreadable(path); !reason.isEmpty()) {
        reportFailure(unreadableMessage(path, reason));
        return;
    }
    FileContents contents = readWholeFile(path);
    if (const QString what = takeBinaryForm(contents.bytes); !what.isEmpty()) {
        reportFailure(notAListMessage(path, what));
        return;
    }
    if (!clearAfterAsking())
        return;
    const QFileInfo info(path);
    m_document.dlgFileOpen = {info.absoluteFilePath(), info.fileName()};
    readOpenedFile(std::move(contents));
}

SaveOutcome DocumentCommands::FileSaveSub()
{
    if (m_document.currentFileName().isEmpty())
        return FileSaveAsSub();
    return writeDocument(m_document.currentFileName()) ? SaveOutcome::Saved : SaveOutcome::Failed;
}

SaveOutcome DocumentCommands::FileSaveAsSub()
{
    QString start = preferences::workingDirectory(m_services.settings);
    if (!m_document.suggestedTitle.isEmpty())
        start = QDir(start).filePath(m_document.suggestedTitle);
    const std::optional<FileChoice> choice =
        m_services.fileDialogs.saveFileAs(m_owner, DataFileFilter, start);
    if (!choice)
        return SaveOutcome::Cancelled;
    // The document takes the new name only once it is really there.
    if (!writeDocument(choice->fileName))
        return SaveOutcome::Failed;
    m_document.setFile({choice->fileName, choice->fileTitle});
    return SaveOutcome::Saved;
}

bool DocumentCommands::Form_QueryUnload()
{
    if (m_sessionAnswered == m_document.changeCount())
        return true;
    if (!offerToSave(tr("Save before exiting?")))
        return false;
    // Saved, or given up: nothing is left to restore.
    m_recovery.discard();
    m_recovery.flush();
    return true;
}

bool DocumentCommands::endSession(bool mayAsk)
{
    if (!mayAsk) {
        m_recovery.keepNow();
        m_recovery.flush();
        return true;
    }
    if (!Form_QueryUnload())
        return false;
    m_sessionAnswered = m_document.changeCount();
    return true;
}

// Asks whether to save first when there is anything to lose. Returns whether the command may
// go on: there was nothing to ask, the user said No, or said Yes and the document was saved.
bool DocumentCommands::offerToSave(const QString& question)
{
    if (!m_document.hasContent())
        return true;
    switch (
        m_services.questions.messageBox(m_owner, tr("Save Current?"), question,
                                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                        QMessageBox::Question, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return FileSaveSub() == SaveOutcome::Saved;
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

// Puts what was read from the file of `dlgFileOpen` into the emptied document.
void DocumentCommands::readOpenedFile(FileContents contents)
{
    const QString fileName = m_document.dlgFileOpen.fileName;
    const QString notAList = takeBinaryForm(contents.bytes);
    if (!contents.error.isEmpty() || !notAList.isEmpty()) {
        // Nothing was read, so no caption may name the file.
        m_document.clear();
        reportFailure(notAList.isEmpty() ? unreadableMessage(fileName, contents.error)
                                         : notAListMessage(fileName, notAList));
        return;
    }
    m_document.setFile(m_document.dlgFileOpen);
    keepStamp(fileName);
    m_recentFiles.add(fileName);
    takeReading(contents.bytes);
}

void DocumentCommands::takeReading(const QByteArray& bytes)
{
    const Reading reading = m_document.FileInSub(bytes);
    if (reading.lineFeedEnds)
        m_services.questions.messageBox(
            m_owner, ProgramTitle,
            tr("This file ends its lines with LF alone, as Unix systems write them. Tabulet "
               "read it line by line all the same, and will save it with CR LF line ends, as "
               "the calculator expects."),
            QMessageBox::Ok, QMessageBox::Information, QMessageBox::Ok);
    if (reading.recordsAdded < reading.recordsRead) {
        // Record indices are never handed out twice in a run, so a run that has used them up
        // cannot take the rest; a new run can. Saving now would cut the file short.
        reportFailure(
            tr("This file has %1 records, more than can be added in this run of Tabulet. Only "
               "the first %2 were read; the rest of the file was not read.\n\nSaving now would "
               "write only the records that were read. Start Tabulet again to read the whole "
               "file.")
                .arg(reading.recordsRead)
                .arg(reading.recordsAdded));
    }
}

bool DocumentCommands::writeDocument(const QString& path)
{
    if (!acceptChangeOnDisk(path) || !acceptUnwritableContent())
        return false;
    const QString failure =
        m_document.writeFile(path, preferences::transferHeader(m_services.settings));
    if (failure.isEmpty()) {
        m_recentFiles.add(path);
        keepStamp(path);
        m_document.history().setClean();
        return true;
    }
    reportFailure(
        tr("The document could not be saved to \"%1\".\n\n%2").arg(fileNameShown(path), failure));
    return false;
}

// Returns whether the save may go on.
bool DocumentCommands::acceptUnwritableContent()
{
    const std::optional<UnwritableContent> found = findUnwritableContent(m_document.records());
    if (!found)
        return true;
    const QString message =
        unwritableContentMessage(*found, m_document.records().headerAt(found->position));
    return m_services.questions.messageBox(
               m_owner, ProgramTitle, message, QMessageBox::Ok | QMessageBox::Cancel,
               QMessageBox::Warning, QMessageBox::Cancel) == QMessageBox::Ok;
}

// Another program may have written the document's file since Tabulet read or saved it; it is
// replaced only when the user says so. A file that went away is simply written again.
bool DocumentCommands::acceptChangeOnDisk(const QString& path)
{
    const FileStamp now = FileStamp::of(path);
    if (path != m_document.currentFileName() || !m_stamp.exists || !now.exists || now == m_stamp)
        return true;
    return m_services.questions.messageBox(
               m_owner, ProgramTitle,
               tr("The file \"%1\" has been changed by another program since Tabulet read or "
                  "saved it.\n\nReplace it with the document as it stands in Tabulet?")
                   .arg(fileNameShown(path)),
               QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Warning,
               QMessageBox::Cancel) == QMessageBox::Yes;
}

void DocumentCommands::reviewFileOnDisk()
{
    const QString path = m_document.currentFileName();
    if (m_reviewing || path.isEmpty() || !m_stamp.exists)
        return;
    const FileStamp now = FileStamp::of(path);
    if (now == m_stamp || now == m_reviewed)
        return;
    // A file that changes again while the question is open is asked about once more.
    m_reviewing = true;
    m_reviewed = now;
    if (now.exists)
        offerReload(path);
    else
        reportFailure(tr("The file \"%1\" is no longer there: another program has deleted or "
                         "renamed it. The document stays open as it is; Save writes the file "
                         "again.")
                          .arg(fileNameShown(path)));
    m_reviewing = false;
}

// Reloading gives up what the history holds since the last read or save, so that is offered
// for saving first.
void DocumentCommands::offerReload(const QString& path)
{
    const QMessageBox::StandardButton answer = m_services.questions.messageBox(
        m_owner, ProgramTitle,
        tr("The file \"%1\" has been changed by another program.\n\nReload it? No keeps the "
           "document as it stands in Tabulet.")
            .arg(fileNameShown(path)),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Question, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    if (!m_document.history().isClean() &&
        !offerToSave(tr("Do you want to save the current contents?")))
        return;
    const FileChoice file{path, QFileInfo(path).fileName()};
    m_document.clear();
    m_document.dlgFileOpen = file;
    readOpenedFile(readWholeFile(path));
}

void DocumentCommands::keepStamp(const QString& path)
{
    m_stamp = m_reviewed = FileStamp::of(path);
}

void DocumentCommands::reportFailure(const QString& message)
{
    m_services.questions.messageBox(m_owner, ProgramTitle, message, QMessageBox::Ok,
                                    QMessageBox::Warning, QMessageBox::Ok);
}

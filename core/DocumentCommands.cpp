// Document commands: New, Open, Save, Save As, Exit and the close box.
//
// None of them may lose the user's work: a Yes to "save first?" that does not end in a saved
// file stops the command, a save that fails leaves the file on disk and the document as they
// were, and a file that cannot be read is reported rather than passed over.
#include "core/DataFile.h"
#include "core/DocumentFile.h"
#include "core/RecordStore.h"
#include "core/SaveCheck.h"
#include "mainwindow/frmTabulet.h"
#include "platform/Questions.h"
#include "platform/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextDocument>

namespace {

const QString ProgramCaption = QStringLiteral("Tabulet 1.0");
const QString DataFileFilter =
    QStringLiteral("Ledra Datafiles (*.DF)|*.DF|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
// Headers read from a file can be of any length; a message names them by their start.
constexpr qsizetype LongestHeaderShown = 40;

QString newOpenQuestion()
{
    return frmTabulet::tr("Do you want to save the current contents?");
}

QString exitQuestion()
{
    return frmTabulet::tr("Save before exiting?");
}

QString fileNameShown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString headerShown(const QString& header)
{
    if (header.size() <= LongestHeaderShown)
        return header;
    return header.left(LongestHeaderShown) + QStringLiteral("...");
}

void reportFailure(Questions& questions, QWidget* parent, const QString& message)
{
    questions.messageBox(parent, QStringLiteral("Tabulet"), message, QMessageBox::Ok,
                         QMessageBox::Warning, QMessageBox::Ok);
}

QString unwritableContentMessage(const UnwritableContent& found, const QString& header)
{
    QStringList paragraphs;
    paragraphs << frmTabulet::tr("The record \"%1\" (number %2 in the list) is the first that a "
                                 "data file cannot hold as it is.")
                      .arg(headerShown(header), QString::number(found.position + 1));
    if (found.doubleQuote)
        paragraphs << frmTabulet::tr(
            "It holds a double quote, which cannot be written inside a record: the record will "
            "not read back as it is, and parts of it may read back as records of their own.");
    if (found.beyondLatin1)
        paragraphs << frmTabulet::tr("It holds characters outside the 8-bit character set, "
                                     "which will be written as \"?\".");
    paragraphs << frmTabulet::tr("Save anyway?");
    return paragraphs.join(QStringLiteral("\n\n"));
}

// Returns whether the save may go on.
bool acceptUnwritableContent(Questions& questions, QWidget* parent, const RecordStore& store)
{
    const std::optional<UnwritableContent> found = findUnwritableContent(store);
    if (!found)
        return true;
    const QString message = unwritableContentMessage(*found, store.headerAt(found->position));
    return questions.messageBox(parent, QStringLiteral("Tabulet"), message,
                                QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Warning,
                                QMessageBox::Cancel) == QMessageBox::Ok;
}

} // namespace

void frmTabulet::mnuFileNewItem_Click()
{
    if (!documentHasContent())
        return;
    if (offerToSave(newOpenQuestion()))
        clearDocument();
}

void frmTabulet::mnuFileOpenItem_Click()
{
    if (documentHasContent()) {
        if (!offerToSave(newOpenQuestion()))
            return;
        clearDocument();
    }
    const std::optional<FileChoice> choice = m_services.fileDialogs.openFile(
        this, DataFileFilter, m_services.settings.read(PreferenceKey::WrkDir));
    if (!choice)
        return;
    dlgFileOpen = *choice;
    readChosenFile(*choice);
}

void frmTabulet::mnuFileSaveItem_Click()
{
    FileSaveSub();
}

void frmTabulet::mnuFileSaveAsItem_Click()
{
    FileSaveAsSub();
}

void frmTabulet::mnuFileExit_Click()
{
    if (!Form_QueryUnload())
        return;
    m_closeConfirmed = true;
    close();
}

void frmTabulet::openFileAtStart(const QString& path)
{
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    dlgFileOpen = FileChoice{info.absoluteFilePath(), info.fileName()};
    readChosenFile(dlgFileOpen);
}

bool frmTabulet::Form_QueryUnload()
{
    return offerToSave(exitQuestion());
}

bool frmTabulet::FileSaveSub()
{
    return saveDocument() == SaveOutcome::Saved;
}

bool frmTabulet::FileSaveAsSub()
{
    return saveDocumentAs() == SaveOutcome::Saved;
}

frmTabulet::SaveOutcome frmTabulet::saveDocument()
{
    if (CurrentFileName.isEmpty())
        return saveDocumentAs();
    return writeDocument(CurrentFileName) ? SaveOutcome::Saved : SaveOutcome::Failed;
}

frmTabulet::SaveOutcome frmTabulet::saveDocumentAs()
{
    const std::optional<FileChoice> choice = m_services.fileDialogs.saveFileAs(
        this, DataFileFilter, m_services.settings.read(PreferenceKey::WrkDir));
    if (!choice)
        return SaveOutcome::Cancelled;
    dlgFileSaveAs = *choice;
    // The document takes the new name only once it is really there.
    if (!writeDocument(choice->fileName))
        return SaveOutcome::Failed;
    CurrentFileName = choice->fileName;
    setWindowTitle(ProgramCaption + QStringLiteral(" - ") + choice->fileTitle);
    return SaveOutcome::Saved;
}

bool frmTabulet::documentHasContent() const
{
    return !txtDataField->document()->isEmpty() || m_store->count() > 0;
}

// Asks whether to save first when there is anything to lose. Returns whether the command may
// go on: there was nothing to ask, the user said No, or said Yes and the document was saved.
bool frmTabulet::offerToSave(const QString& question)
{
    if (!documentHasContent())
        return true;
    switch (
        m_services.questions.messageBox(this, tr("Save Current?"), question,
                                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                        QMessageBox::Question, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return FileSaveSub();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void frmTabulet::clearDocument()
{
    setDataFieldText(QString());
    m_store->clear();
    CurrentFileName.clear();
    setWindowTitle(ProgramCaption);
}

void frmTabulet::readChosenFile(const FileChoice& choice)
{
    const FileContents contents = readWholeFile(choice.fileName);
    if (!contents.error.isEmpty()) {
        // Nothing was read, so no caption may name the file.
        clearDocument();
        reportFailure(m_services.questions, this,
                      tr("The file \"%1\" could not be opened.\n\n%2")
                          .arg(fileNameShown(choice.fileName), contents.error));
        return;
    }
    CurrentFileName = choice.fileName;
    setWindowTitle(ProgramCaption + QStringLiteral(" - ") + choice.fileTitle);
    FileInSub(contents.bytes);
}

bool frmTabulet::writeDocument(const QString& path)
{
    if (!acceptUnwritableContent(m_services.questions, this, *m_store))
        return false;
    FileOutSub();
    const QByteArray bytes = datafile::fileBytes(OutputText);
    // The text of a large document is as big as the file; it is not needed once encoded.
    OutputText = QString();
    const QString failure = replaceFile(path, bytes);
    if (failure.isEmpty())
        return true;
    reportFailure(
        m_services.questions, this,
        tr("The document could not be saved to \"%1\".\n\n%2").arg(fileNameShown(path), failure));
    return false;
}

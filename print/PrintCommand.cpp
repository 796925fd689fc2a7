#include "print/PrintCommand.h"

#include "core/Caption.h"
#include "core/Document.h"
#include "core/Preferences.h"
#include "core/RecordStore.h"
#include "documentcommands/DocumentCommands.h"
#include "platform/FileDialogs.h"
#include "platform/Printers.h"
#include "platform/Questions.h"
#include "print/Printout.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QTemporaryDir>
#include <cmath>

namespace {

std::optional<float> fontSizeFrom(const QString& text)
{
    bool isNumber = false;
    const float points = text.trimmed().toFloat(&isNumber);
    if (!isNumber || !std::isfinite(points) || points <= 0)
        return std::nullopt;
    return points;
}

QString printoutFailure(PrintoutResult result, const QFile& file, const Printer& printer)
{
    if (result == PrintoutResult::ReadFailed)
        return PrintCommand::tr("The file %1 could not be read (%2).")
            .arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
    return printer.errorText();
}

// Prints the saved file under the title lines. The file is read through once before the job is
// opened: a job cannot be withdrawn on every platform once pages are on their way, so whatever
// can go wrong with the file is found while nothing has been printed.
PrintoutResult printFile(QFile& file, Printer& printer, const QString& fontName, float fontSize,
                         const QString& fileTitle, int shownMode)
{
    const PrintoutResult check = printRecords(file, nullptr);
    if (check != PrintoutResult::Complete)
        return check;
    printer.setFontName(fontName);
    printer.setFontSize(fontSize);
    const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    if (!printTitleLines(printer, fileTitle, date))
        return PrintoutResult::PrinterFailed;
    const PrintoutResult result = printRecords(file, &printer, shownMode);
    if (result == PrintoutResult::Complete && !printer.endDoc())
        return PrintoutResult::PrinterFailed;
    return result;
}

const QString PdfFilter = QStringLiteral("PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*");

// Beside the document's file, under its name; in the working folder for a document never saved.
QString suggestedPdfPath(const Document& document, const QString& workingFolder)
{
    if (document.currentFileName().isEmpty())
        return workingFolder;
    const QFileInfo file(document.currentFileName());
    return file.dir().filePath(file.completeBaseName() + QStringLiteral(".pdf"));
}

QString exportFailure(const QString& target, const QString& reason)
{
    return PrintCommand::tr("The PDF file \"%1\" could not be written. Nothing was written.\n\n%2")
        .arg(QDir::toNativeSeparators(target), reason);
}

} // namespace

PrintCommand::PrintCommand(Document& document, DocumentCommands& documentCommands,
                           const Services& services)
    : m_document(document), m_documentCommands(documentCommands), m_services(services)
{}

std::optional<float> PrintCommand::preferredFontSize(const QString& nothingDone)
{
    const QString fontSizeText = preferences::printFontSize(m_services.settings);
    const std::optional<float> fontSize = fontSizeFrom(fontSizeText);
    if (!fontSize)
        reportFailure(tr("The print font size \"%1\" in the preferences is not a number of points.")
                          .arg(fontSizeText) +
                      u' ' + nothingDone);
    return fontSize;
}

void PrintCommand::FilePrint()
{
    const QString fontName = preferences::printFontName(m_services.settings);
    const std::optional<float> fontSize = preferredFontSize(tr("Nothing was printed."));
    if (!fontSize)
        return;
    std::unique_ptr<Printer> printer = m_services.printers.defaultPrinter();
    if (!printer) {
        reportFailure(tr("There is no default printer. Nothing was printed."));
        return;
    }

    switch (m_documentCommands.FileSaveSub()) {
    case SaveOutcome::Saved:
        break;
    case SaveOutcome::Cancelled:
        // The user chose not to name the document, and so not to print it: nothing to say.
        return;
    case SaveOutcome::Failed:
        // The save has already said why it failed.
        reportFailure(tr("The document could not be saved, so it was not printed."));
        return;
    }

    QFile file(m_document.currentFileName());
    if (!file.open(QIODevice::ReadOnly)) {
        reportFailure(tr("The file %1 could not be opened (%2). The document was not printed.")
                          .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
        return;
    }
    const PrintoutResult result =
        printFile(file, *printer, fontName, *fontSize, m_document.dlgFileOpen.fileTitle,
                  m_document.records().shownMode());
    if (result != PrintoutResult::Complete) {
        const bool withdrawn = printer->killDoc();
        const QString failure = printoutFailure(result, file, *printer);
        printer.reset();
        file.close();
        reportFailure(failure + u' ' +
                      (withdrawn ? tr("The document was not printed.")
                                 : tr("What was printed before this may still come out of the "
                                      "printer.")));
        return;
    }
    printer.reset();
    file.close();
    m_services.questions.messageBox(m_owner, ProgramTitle, tr("Printing complete."),
                                    QMessageBox::Ok, QMessageBox::Information, QMessageBox::Ok);
}

void PrintCommand::exportPdf()
{
    const std::optional<float> fontSize = preferredFontSize(tr("Nothing was exported."));
    if (!fontSize)
        return;
    const std::optional<FileChoice> choice = m_services.fileDialogs.saveFileAs(
        m_owner, PdfFilter,
        suggestedPdfPath(m_document, preferences::workingDirectory(m_services.settings)),
        tr("Export as PDF"));
    if (choice)
        writePdf(choice->fileName, *fontSize);
}

// The printout is made of the document as the next save would write it, in a private folder,
// and reaches `target` only once it is whole: a PDF that cannot be written leaves nothing
// behind, and a file that was there stays as it was.
bool PrintCommand::writePdf(const QString& target, float fontSize)
{
    QSaveFile pdf(target);
    if (!pdf.open(QIODevice::WriteOnly)) {
        reportExportFailure(exportFailure(target, pdf.errorString()));
        return false;
    }
    const QTemporaryDir work;
    const QString dataPath = work.filePath(QStringLiteral("printout.DF"));
    const QString pagesPath = work.filePath(QStringLiteral("printout.pdf"));
    const QString written =
        work.isValid()
            ? m_document.writeFile(dataPath, preferences::transferHeader(m_services.settings))
            : work.errorString();
    if (!written.isEmpty()) {
        reportExportFailure(exportFailure(target, written));
        return false;
    }
    QFile dataFile(dataPath);
    std::unique_ptr<Printer> printer = m_services.printers.pdfPrinter(pagesPath);
    if (!dataFile.open(QIODevice::ReadOnly) ||
        printFile(dataFile, *printer, preferences::printFontName(m_services.settings), fontSize,
                  m_document.dlgFileOpen.fileTitle,
                  m_document.records().shownMode()) != PrintoutResult::Complete) {
        const QString failure = dataFile.isOpen() ? printer->errorText() : dataFile.errorString();
        printer->killDoc();
        reportExportFailure(exportFailure(target, failure));
        return false;
    }
    printer.reset();
    QFile pages(pagesPath);
    if (!pages.open(QIODevice::ReadOnly) || pdf.write(pages.readAll()) != pages.size() ||
        !pdf.commit()) {
        reportExportFailure(
            exportFailure(target, pages.isOpen() ? pdf.errorString() : pages.errorString()));
        return false;
    }
    return true;
}

void PrintCommand::reportFailure(const QString& message)
{
    m_services.questions.messageBox(m_owner, tr("Printer Error"), message, QMessageBox::Ok,
                                    QMessageBox::Critical, QMessageBox::Ok);
}

void PrintCommand::reportExportFailure(const QString& message)
{
    m_services.questions.messageBox(m_owner, ProgramTitle, message, QMessageBox::Ok,
                                    QMessageBox::Warning, QMessageBox::Ok);
}

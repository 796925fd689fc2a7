// File > Print: the document is saved, then its file is printed on the default printer.
#include "mainwindow/frmTabulet.h"
#include "platform/Printers.h"
#include "platform/Questions.h"
#include "platform/SettingsStore.h"
#include "print/Printout.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QLocale>
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
        return frmTabulet::tr("The file %1 could not be read (%2).")
            .arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
    return printer.errorText();
}

// Prints the saved file under the title lines. The file is read through once before the job is
// opened: a job cannot be withdrawn on every platform once pages are on their way, so whatever
// can go wrong with the file is found while nothing has been printed.
PrintoutResult printFile(QFile& file, Printer& printer, const QString& fontName, float fontSize,
                         const QString& fileTitle)
{
    const PrintoutResult check = FilePrint(file, nullptr);
    if (check != PrintoutResult::Complete)
        return check;
    printer.setFontName(fontName);
    printer.setFontSize(fontSize);
    const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    if (!printTitleLines(printer, fileTitle, date))
        return PrintoutResult::PrinterFailed;
    const PrintoutResult result = FilePrint(file, &printer);
    if (result == PrintoutResult::Complete && !printer.endDoc())
        return PrintoutResult::PrinterFailed;
    return result;
}

} // namespace

void frmTabulet::mnuFilePrint_Click()
{
    const auto reportFailure = [this](const QString& message) {
        m_services.questions.messageBox(this, tr("Printer Error"), message, QMessageBox::Ok,
                                        QMessageBox::Critical, QMessageBox::Ok);
    };

    const QString fontName =
        m_services.settings.read(PreferenceKey::DefaultFont, QStringLiteral("Arial"));
    const QString fontSizeText =
        m_services.settings.read(PreferenceKey::DefaultFontSize, QStringLiteral("11"));
    const std::optional<float> fontSize = fontSizeFrom(fontSizeText);
    if (!fontSize) {
        reportFailure(tr("The print font size \"%1\" in the preferences is not a number of "
                         "points. Nothing was printed.")
                          .arg(fontSizeText));
        return;
    }
    std::unique_ptr<Printer> printer = m_services.printers.defaultPrinter();
    if (!printer) {
        reportFailure(tr("There is no default printer. Nothing was printed."));
        return;
    }

    switch (saveDocument()) {
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

    QFile file(CurrentFileName);
    if (!file.open(QIODevice::ReadOnly)) {
        reportFailure(tr("The file %1 could not be opened (%2). The document was not printed.")
                          .arg(QDir::toNativeSeparators(CurrentFileName), file.errorString()));
        return;
    }
    const PrintoutResult result =
        printFile(file, *printer, fontName, *fontSize, dlgFileOpen.fileTitle);
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
    m_services.questions.messageBox(this, tr("Tabulet"), tr("Printing complete."), QMessageBox::Ok,
                                    QMessageBox::Information, QMessageBox::Ok);
}

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
    const QString fileName = QDir::toNativeSeparators(file.fileName());
    switch (result) {
    case PrintoutResult::ReadFailed:
        return frmTabulet::tr("The file %1 could not be read (%2). The document was not printed.")
            .arg(fileName, file.errorString());
    case PrintoutResult::EndedInsideList:
        return frmTabulet::tr("The file %1 ends inside a record, before the closing \"}\" of "
                              "its list. The document was not printed.")
            .arg(fileName);
    case PrintoutResult::PrinterFailed:
        return frmTabulet::tr("%1 The document was not printed.").arg(printer.errorText());
    case PrintoutResult::Complete:
        break;
    }
    return QString();
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

    if (!FileSaveSub()) {
        // A document still without a name means the user cancelled the Save As dialog and so
        // chose not to print; otherwise the save has already said what went wrong.
        if (!CurrentFileName.isEmpty())
            reportFailure(tr("The document could not be saved, so it was not printed."));
        return;
    }

    QFile file(CurrentFileName);
    if (!file.open(QIODevice::ReadOnly)) {
        reportFailure(tr("The file %1 could not be opened (%2). The document was not printed.")
                          .arg(QDir::toNativeSeparators(CurrentFileName), file.errorString()));
        return;
    }
    // The file is read through once before the job is opened: a job cannot be withdrawn on
    // every platform once pages are on their way, so whatever can go wrong with the file is
    // found while nothing has been printed.
    PrintoutResult result = FilePrint(file, nullptr);
    if (result == PrintoutResult::Complete) {
        printer->setFontName(fontName);
        printer->setFontSize(*fontSize);
        const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
        result = printTitleLines(*printer, dlgFileOpen.fileTitle, date)
                     ? FilePrint(file, printer.get())
                     : PrintoutResult::PrinterFailed;
        if (result == PrintoutResult::Complete && !printer->endDoc())
            result = PrintoutResult::PrinterFailed;
    }
    if (result != PrintoutResult::Complete) {
        printer->killDoc();
        const QString message = printoutFailure(result, file, *printer);
        printer.reset();
        file.close();
        reportFailure(message);
        return;
    }
    printer.reset();
    file.close();
    m_services.questions.messageBox(this, tr("Tabulet"), tr("Printing complete."), QMessageBox::Ok,
                                    QMessageBox::Information, QMessageBox::Ok);
}

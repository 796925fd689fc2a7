#pragma once

#include "platform/Services.h"

#include <QCoreApplication>
#include <QString>
#include <optional>

class Document;
class DocumentCommands;
class QWidget;

// File > Print: the document is saved, then its file is printed on the default printer in the
// preferred font, and the user is told how it went. File > Export as PDF writes the same
// printout of the document as it stands to a PDF file, without saving it and without a printer.
class PrintCommand
{
    Q_DECLARE_TR_FUNCTIONS(PrintCommand)

public:
    PrintCommand(Document& document, DocumentCommands& documentCommands, const Services& services);

    void setOwner(QWidget* owner) { m_owner = owner; }

    void FilePrint();
    void exportPdf();

private:
    std::optional<float> preferredFontSize(const QString& nothingDone);
    bool writePdf(const QString& target, float fontSize);
    void reportFailure(const QString& message);
    void reportExportFailure(const QString& message);

    Document& m_document;
    DocumentCommands& m_documentCommands;
    Services m_services;
    QWidget* m_owner = nullptr;
};

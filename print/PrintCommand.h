#pragma once

#include "platform/Services.h"

#include <QString>

class Document;
class DocumentCommands;
class QWidget;

// File > Print: the document is saved, then its file is printed on the default printer in the
// preferred font, and the user is told how it went.
class PrintCommand
{
public:
    PrintCommand(Document& document, DocumentCommands& documentCommands, const Services& services);

    void setOwner(QWidget* owner) { m_owner = owner; }

    void FilePrint();

private:
    void reportFailure(const QString& message);

    Document& m_document;
    DocumentCommands& m_documentCommands;
    Services m_services;
    QWidget* m_owner = nullptr;
};

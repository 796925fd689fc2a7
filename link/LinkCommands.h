#pragma once

#include "link/LinkSettings.h"
#include "link/Transfer.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <memory>

class Document;
class DocumentCommands;
class LinkWindows;
class QWidget;

// The Calculator menu: sending the document to the calculator, getting a variable from its
// server, receiving what it sends, and the link's settings. A transfer changes the document only
// once it has arrived whole and been read; anything less is reported and leaves it as it was.
class LinkCommands
{
    Q_DECLARE_TR_FUNCTIONS(LinkCommands)

public:
    LinkCommands(Document& document, DocumentCommands& documentCommands, const Services& services,
                 LinkWindows& windows);

    void setOwner(QWidget* owner) { m_owner = owner; }
    // Tests wait less for a calculator that does not answer.
    void setTiming(const LinkTiming& timing) { m_timing = timing; }

    void sendDocument();
    void getVariable();
    void receive();
    void editSettings();

private:
    std::unique_ptr<QIODevice> openLine(const LinkSettings& link);
    QByteArray bytesToSend(const LinkSettings& link) const;
    QString variableName();
    bool run(Transfer& transfer, const QString& title, const LinkSettings& link);
    QString failureMessage(const Transfer& transfer, const LinkSettings& link) const;
    QString stoppedMessage(const Transfer& transfer, const LinkSettings& link) const;
    void tell(const QString& title, const QString& text, bool failure);

    Document& m_document;
    DocumentCommands& m_documentCommands;
    Services m_services;
    LinkWindows& m_windows;
    QWidget* m_owner = nullptr;
    LinkTiming m_timing;
};

#include "link/LinkCommands.h"

#include "core/BinaryObject.h"
#include "core/Caption.h"
#include "core/Document.h"
#include "documentcommands/DocumentCommands.h"
#include "link/KermitTransfer.h"
#include "link/LinkWindows.h"
#include "link/XModemTransfer.h"
#include "platform/Questions.h"
#include "platform/SerialLines.h"

#include <QFileInfo>

namespace {

KermitTransfer::Order kermitOrder(const LinkSettings& link, KermitTransfer::Job job,
                                  const QString& name = QString(),
                                  const QByteArray& bytes = QByteArray())
{
    return {job, name.toLatin1(), bytes, link.blockCheck, link.parity != u"none"};
}

QString fileTitleFor(const QString& variable)
{
    return variable.contains(u'.') ? variable : variable + QStringLiteral(".DF");
}

} // namespace

LinkCommands::LinkCommands(Document& document, DocumentCommands& documentCommands,
                           const Services& services, LinkWindows& windows)
    : m_document(document), m_documentCommands(documentCommands), m_services(services),
      m_windows(windows)
{}

void LinkCommands::sendDocument()
{
    const LinkSettings link = LinkSettings::read(m_services.settings);
    if (!m_documentCommands.acceptUnwritableContent())
        return;
    const bool kermit = link.protocol == LinkSettings::Protocol::Kermit;
    const QString name = kermit ? variableName() : QString();
    if (kermit && name.isEmpty())
        return;
    const QByteArray bytes = bytesToSend(link);
    const std::unique_ptr<QIODevice> line = openLine(link);
    if (!line)
        return;
    std::unique_ptr<Transfer> transfer;
    if (kermit)
        transfer = std::make_unique<KermitTransfer>(
            *line, kermitOrder(link, KermitTransfer::Job::Send, name, bytes), m_timing);
    else
        transfer =
            std::make_unique<XModemTransfer>(*line, XModemTransfer::Job::Send, bytes, m_timing);
    if (!run(*transfer, tr("Send Document"), link))
        return;
    tell(tr("Send Document"),
         kermit ? tr("The document was sent to the calculator as \"%1\".").arg(name)
                : tr("The document was sent to the calculator."),
         false);
}

// Exactly what the next Save writes; XModem carries the list as the calculator's binary object,
// which has no transfer header (a header typed with braces or quotes would read as strings).
QByteArray LinkCommands::bytesToSend(const LinkSettings& link) const
{
    if (link.protocol == LinkSettings::Protocol::Kermit)
        return m_document.fileBytes(preferences::transferHeader(m_services.settings));
    return binaryobject::write(binaryobject::stringsOfTextForm(m_document.fileBytes({})));
}

// The calculator stores what it receives under the name of the file sent.
QString LinkCommands::variableName()
{
    // A document got from the calculator has no file yet, only the name its Save As offers.
    const QString file = m_document.currentFileName().isEmpty() ? m_document.suggestedTitle
                                                                : m_document.currentFileName();
    return m_services.questions
        .inputBox(m_owner, tr("Send Document"), tr("Name of the variable on the calculator:"),
                  QFileInfo(file).completeBaseName())
        .trimmed();
}

void LinkCommands::getVariable()
{
    LinkSettings link = LinkSettings::read(m_services.settings);
    // Only the Kermit server lists and hands out variables.
    link.protocol = LinkSettings::Protocol::Kermit;
    const std::unique_ptr<QIODevice> line = openLine(link);
    if (!line)
        return;
    KermitTransfer listing(*line, kermitOrder(link, KermitTransfer::Job::Directory), m_timing);
    if (!run(listing, tr("Get Variable"), link))
        return;
    const QList<CalculatorVariable> variables = variablesListed(listing.received());
    if (variables.isEmpty()) {
        tell(tr("Get Variable"), tr("The calculator's current directory holds no variables."),
             false);
        return;
    }
    const std::optional<QString> name = m_windows.chooseVariable(m_owner, variables);
    if (!name || !m_documentCommands.mayReplaceDocument())
        return;
    KermitTransfer get(*line, kermitOrder(link, KermitTransfer::Job::Get, *name), m_timing);
    if (run(get, tr("Get Variable"), link))
        m_documentCommands.openReceived(get.received(), fileTitleFor(*name));
}

void LinkCommands::receive()
{
    const LinkSettings link = LinkSettings::read(m_services.settings);
    if (!m_documentCommands.mayReplaceDocument())
        return;
    const std::unique_ptr<QIODevice> line = openLine(link);
    if (!line)
        return;
    if (link.protocol == LinkSettings::Protocol::XModem) {
        XModemTransfer transfer(*line, XModemTransfer::Job::Receive, {}, m_timing);
        if (run(transfer, tr("Receive"), link))
            m_documentCommands.openReceived(transfer.received(), QString());
        return;
    }
    KermitTransfer transfer(*line, kermitOrder(link, KermitTransfer::Job::Receive), m_timing);
    if (run(transfer, tr("Receive"), link)) {
        const QString name = QString::fromLatin1(transfer.receivedName());
        m_documentCommands.openReceived(transfer.received(),
                                        name.isEmpty() ? name : fileTitleFor(name));
    }
}

void LinkCommands::editSettings()
{
    m_windows.editSettings(m_owner);
}

std::unique_ptr<QIODevice> LinkCommands::openLine(const LinkSettings& link)
{
    QString failure;
    std::unique_ptr<QIODevice> line =
        m_services.serialLines.open(link.port, link.speed, link.parity, failure);
    if (!line)
        tell(tr("Calculator Link"), failure, true);
    return line;
}

// Whether the transfer went through; anything else has been told.
bool LinkCommands::run(Transfer& transfer, const QString& title, const LinkSettings& link)
{
    transfer.start();
    if (transfer.end() == TransferEnd::Running)
        m_windows.watch(m_owner, title, transfer);
    if (transfer.end() == TransferEnd::Done)
        return true;
    if (transfer.end() != TransferEnd::Cancelled)
        tell(title, failureMessage(transfer, link), true);
    return false;
}

QString LinkCommands::failureMessage(const Transfer& transfer, const LinkSettings& link) const
{
    const bool kermit = link.protocol == LinkSettings::Protocol::Kermit;
    switch (transfer.end()) {
    case TransferEnd::NoAnswer:
        return tr("The calculator did not answer on %1.\n\nCheck the cable and the link "
                  "settings, and that the calculator is waiting: %2.")
            .arg(link.port, kermit ? tr("in server mode, or running RECV to take the document "
                                        "and SEND to send a variable")
                                   : tr("running XRECV to take the document and XSEND to send "
                                        "a variable"));
    case TransferEnd::Stopped:
        return stoppedMessage(transfer, link);
    case TransferEnd::Refused:
        if (transfer.detail().isEmpty())
            return tr("The calculator ended the transfer.");
        return tr("The calculator ended the transfer, saying:\n\n%1").arg(transfer.detail());
    default:
        return QString();
    }
}

QString LinkCommands::stoppedMessage(const Transfer& transfer, const LinkSettings& link) const
{
    const TransferFigures& figures = transfer.figures();
    if (!transfer.detail().isEmpty())
        return tr("The serial port \"%1\" went away after %n bytes (%2), and the transfer was "
                  "not finished. Check the cable.",
                  nullptr, int(figures.bytes))
            .arg(link.port, transfer.detail());
    // The answer to the very end is the one most easily lost, and the calculator may well
    // have kept the variable: the user should look rather than be told it failed.
    if (figures.total > 0 && figures.bytes == figures.total)
        return tr("The calculator took all %n bytes but did not confirm the end of the "
                  "transfer. Check on the calculator whether the variable is there.",
                  nullptr, int(figures.bytes));
    return tr("The calculator stopped answering after %n bytes, and the transfer was not "
              "finished.",
              nullptr, int(figures.bytes));
}

void LinkCommands::tell(const QString& title, const QString& text, bool failure)
{
    m_services.questions.messageBox(
        m_owner, title.isEmpty() ? ProgramTitle : title, text, QMessageBox::Ok,
        failure ? QMessageBox::Warning : QMessageBox::Information, QMessageBox::Ok);
}

#include "editing/HeaderCommands.h"

#include "core/Caption.h"
#include "core/Document.h"
#include "core/Headers.h"
#include "core/RecordStore.h"
#include "platform/Questions.h"

#include <QCoreApplication>

namespace {

const QString NewHeaderTitle = QStringLiteral("New Header");
const QString NewHeaderPrompt =
    QStringLiteral("Enter new header. Header must be 22 characters or less.");
const QString EditHeaderTitle = QStringLiteral("Edit Header");
const QString EditHeaderPrompt =
    QStringLiteral("Edit or rename header. Header must be 22 characters or less.");
const QString EditHeaderRetryPrompt =
    QStringLiteral("Edit or rename header. Header must be 22 characters or less. Try again.");
const QString TryAgain = QStringLiteral("Try again.");

bool fitsHeaderLimit(const QString& answer)
{
    return answer.size() <= HeaderLimit;
}

} // namespace

HeaderCommands::HeaderCommands(Document& document, const Services& services)
    : m_document(document), m_services(services)
{}

void HeaderCommands::HeaderAdd()
{
    RecordStore& records = m_document.records();
    // Record indices are never reused, so a very long session can run out of them. Say so
    // before asking for a name the program could not store.
    if (records.capacityLeft() < 1) {
        m_services.questions.messageBox(
            m_owner, ProgramTitle,
            tr("No more headers can be added in this session: Tabulet has used up its record "
               "numbers. Save your file, then restart Tabulet to add further headers."),
            QMessageBox::Ok, QMessageBox::Warning, QMessageBox::Ok);
        return;
    }

    QString answer = m_services.questions.inputBox(m_owner, NewHeaderTitle, NewHeaderPrompt, {});
    if (answer.isEmpty())
        return;
    if (!fitsHeaderLimit(answer)) {
        // One more chance, then whatever comes back is taken, cut to the limit; an empty
        // answer here still adds a header, an empty one.
        answer = m_services.questions
                     .inputBox(m_owner, NewHeaderTitle, NewHeaderPrompt + TryAgain, answer)
                     .left(HeaderLimit);
    }
    // The store drops leading and trailing spaces and gives the record an empty text.
    m_document.addHeader(answer);
}

void HeaderCommands::HeaderEditSub(int position)
{
    RecordStore& records = m_document.records();
    if (position < 0 || position >= records.count())
        return;
    QString answer = m_services.questions.inputBox(m_owner, EditHeaderTitle, EditHeaderPrompt,
                                                   records.headerAt(position));
    if (answer.isEmpty())
        return;
    if (!fitsHeaderLimit(answer)) {
        answer =
            m_services.questions.inputBox(m_owner, EditHeaderTitle, EditHeaderRetryPrompt, answer)
                .left(HeaderLimit);
        if (answer.isEmpty())
            return;
    }
    // Spaces typed around a new name are kept, unlike when adding.
    m_document.renameHeader(position, answer);
}

void HeaderCommands::removeHeader(int position)
{
    RecordStore& records = m_document.records();
    if (position < 0 || position >= records.count())
        return;
    const QMessageBox::StandardButton answer = m_services.questions.messageBox(
        m_owner, tr("Remove Header"), tr("All data under this header will be deleted!"),
        QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::NoIcon, QMessageBox::Ok);
    if (answer != QMessageBox::Ok)
        return;
    m_document.removeHeader(position);
}

int HeaderCommands::moveHeader(int position, int by)
{
    return moveTo(position, position + by);
}

int HeaderCommands::dropHeader(int from, int before)
{
    // Taking the entry out moves every entry below it up by one.
    return moveTo(from, before > from ? before - 1 : before);
}

int HeaderCommands::moveTo(int from, int to)
{
    const int count = m_document.records().count();
    if (from < 0 || from >= count || to < 0 || to >= count)
        return from;
    m_document.moveHeader(from, to);
    return to;
}

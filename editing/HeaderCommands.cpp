// Header commands: add, rename and remove.
#include "core/RecordStore.h"
#include "mainwindow/frmTabulet.h"
#include "platform/Questions.h"

#include <QItemSelectionModel>
#include <QListView>

namespace {

constexpr qsizetype HeaderLimit = 22;

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

// The list view would select the entry that moves up into the removed one's place, and so
// show that entry's record; a removal leaves no entry selected, so the selection goes first.
void removeEntryUnselected(QListView& list, RecordStore& store, int position)
{
    list.selectionModel()->clear();
    store.removeAt(position);
}

} // namespace

void frmTabulet::cmdNewHeader_Click()
{
    HeaderAdd();
}

void frmTabulet::mnuHeadersNewHeader_Click()
{
    HeaderAdd();
}

void frmTabulet::mnuHeadersEditHeader_Click()
{
    HeaderEditSub();
}

void frmTabulet::mnuHeadersRemoveHeader_Click()
{
    const int position = selectedPosition();
    if (m_store->count() == 0 || position == -1)
        return;
    const QMessageBox::StandardButton answer = m_services.questions.messageBox(
        this, tr("Remove Header"), tr("All data under this header will be deleted!"),
        QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::NoIcon, QMessageBox::Ok);
    if (answer != QMessageBox::Ok)
        return;
    m_store->setRecordText(m_store->recordIndexAt(position), QString());
    removeEntryUnselected(*lstHeaders, *m_store, position);
}

void frmTabulet::HeaderAdd()
{
    // Record indices are never reused, so a very long session can run out of them. Say so
    // before asking for a name the program could not store.
    if (m_store->capacityLeft() < 1) {
        m_services.questions.messageBox(
            this, tr("Tabulet"),
            tr("No more headers can be added in this session: Tabulet has used up its record "
               "numbers. Save your file, then restart Tabulet to add further headers."),
            QMessageBox::Ok, QMessageBox::Warning, QMessageBox::Ok);
        return;
    }

    QString answer = m_services.questions.inputBox(this, NewHeaderTitle, NewHeaderPrompt, {});
    if (answer.isEmpty())
        return;
    if (!fitsHeaderLimit(answer)) {
        // One more chance, then whatever comes back is taken, cut to the limit; an empty
        // answer here still adds a header, an empty one.
        answer =
            m_services.questions.inputBox(this, NewHeaderTitle, NewHeaderPrompt + TryAgain, answer)
                .left(HeaderLimit);
    }
    // The store drops leading and trailing spaces and gives the record an empty text.
    m_store->addRecord(answer);
}

void frmTabulet::HeaderEditSub()
{
    const int position = selectedPosition();
    if (position == -1)
        return;
    const QString header = m_store->headerAt(position);
    const qint32 recordIndex = m_store->recordIndexAt(position);

    QString answer = m_services.questions.inputBox(this, EditHeaderTitle, EditHeaderPrompt, header);
    if (answer.isEmpty())
        return;
    if (!fitsHeaderLimit(answer)) {
        answer = m_services.questions.inputBox(this, EditHeaderTitle, EditHeaderRetryPrompt, answer)
                     .left(HeaderLimit);
        if (answer.isEmpty())
            return;
    }

    // Spaces typed around a new name are kept, unlike when adding.
    removeEntryUnselected(*lstHeaders, *m_store, position);
    m_store->insertAt(position, answer, recordIndex);
    // Select the renamed entry again so that the data field, which still shows its record,
    // keeps storing into it.
    lstHeaders->setCurrentIndex(m_store->index(position));
}

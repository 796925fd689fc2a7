// Header selection and the data field: the field shows the selected header's record and every
// change of the field is written straight back into that record.
#include "core/RecordStore.h"
#include "editing/LineBreaks.h"
#include "mainwindow/frmTabulet.h"

#include <QCursor>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextDocument>

namespace {

constexpr int RightButton = 2;

// Puts a text into the selected record, if there is one. With no entry selected the text
// lives only in the data field and `txtBuffer`.
void storeInSelectedRecord(frmTabulet& window, const QString& text)
{
    window.txtBuffer = text;
    const int position = window.selectedPosition();
    if (window.store().count() > 0 && position != -1)
        window.store().setRecordText(window.store().recordIndexAt(position), window.txtBuffer);
}

} // namespace

void frmTabulet::lstHeaders_Click()
{
    const int position = selectedPosition();
    if (m_store->count() == 0 || position == -1)
        return;
    setDataFieldText(m_store->recordText(m_store->recordIndexAt(position)));
}

void frmTabulet::txtDataField_Change()
{
    // The whole text is stored on every keystroke, records of a megabyte included. Writing it
    // over the previous text, once the record has let go of its share, reuses memory that is
    // already in use; fresh memory for every keystroke costs more than the copying itself.
    QString text = std::move(txtBuffer);
    const int position = selectedPosition();
    if (m_store->count() > 0 && position != -1)
        m_store->setRecordText(m_store->recordIndexAt(position), QString());
    crLfLineBreaksInto(txtDataField->document()->toRawText(), text);
    storeInSelectedRecord(*this, text);
}

void frmTabulet::lstHeaders_MouseDown(int Button, int /*Shift*/, float /*X*/, float /*Y*/)
{
    lstHeaders->setFocus(Qt::MouseFocusReason);
    if (Button == RightButton)
        mnuHeaders->popup(QCursor::pos());
}

void frmTabulet::lstHeaders_DblClick()
{
    // A double click below the last entry finds nothing selected: there is nothing to rename.
    if (m_store->count() > 0 && selectedPosition() != -1)
        HeaderEditSub();
}

void frmTabulet::mnuHeaders_Click()
{
    const bool entrySelected = m_store->count() > 0 && selectedPosition() > -1;
    mnuHeadersEditHeader->setEnabled(entrySelected);
    mnuHeadersRemoveHeader->setEnabled(entrySelected);
}

void frmTabulet::txtDataField_GotFocus()
{
    mnuEditPaste->setEnabled(true);
}

void frmTabulet::txtDataField_LostFocus()
{
    mnuEditPaste->setEnabled(false);
}

QString frmTabulet::dataFieldText() const
{
    // toPlainText() would turn no-break spaces into plain spaces; the raw text keeps every
    // character the user's file holds.
    return crLfLineBreaks(txtDataField->document()->toRawText());
}

void frmTabulet::setDataFieldText(const QString& text)
{
    {
        // The field shows a lone CR or LF of a record as a line break like any other. Storing
        // the field's text back would turn it into CR LF merely because the record was looked
        // at, so the text given here is stored as it is instead.
        const QSignalBlocker quiet(txtDataField);
        txtDataField->setPlainText(lfLineBreaks(text));
    }
    storeInSelectedRecord(*this, text);
}

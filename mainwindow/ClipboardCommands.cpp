#include "mainwindow/ClipboardCommands.h"

#include "core/Document.h"
#include "core/LineBreaks.h"
#include "mainwindow/DataField.h"
#include "platform/Clipboard.h"

#include <QTextCursor>
#include <QTextDocument>

ClipboardCommands::ClipboardCommands(DataField& field, Document& document, Clipboard& clipboard)
    : m_field(field), m_document(document), m_clipboard(clipboard)
{}

// A field that shows no record's text keeps it: Cut then leaves the clipboard as it was too.
void ClipboardCommands::cut()
{
    if (m_field.isReadOnly())
        return;
    copy();
    replaceSelection(QString(), Document::tr("Cut"));
}

// A lone CR or LF that a record holds from its file is a line break in the field, and is
// copied as the line break it shows as.
void ClipboardCommands::copy()
{
    m_clipboard.clear();
    m_clipboard.setText(desktopLineBreaks(m_field.selectedText()));
}

void ClipboardCommands::paste()
{
    replaceSelection(m_clipboard.text(), Document::tr("Paste"));
}

void ClipboardCommands::selectAll()
{
    m_field.setFocus(Qt::OtherFocusReason);
    if (!m_field.document()->isEmpty())
        m_field.selectAll();
}

void ClipboardCommands::insertCharacter(const QString& text)
{
    replaceSelection(text, Document::tr("Insert Character"));
    m_field.setFocus();
}

// Typing over the selection: the field's change handling then stores the new text. A field
// that shows no record's text takes nothing. The cursor takes CR LF, LF and a lone CR each as
// one line break, whichever program the text came from.
void ClipboardCommands::replaceSelection(const QString& text, const QString& stepName)
{
    if (m_field.isReadOnly())
        return;
    const Document::OwnStep step(m_document, stepName);
    QTextCursor cursor = m_field.textCursor();
    m_field.insertText(cursor, text);
    m_field.setTextCursor(cursor);
}

#include "mainwindow/ClipboardCommands.h"

#include "core/LineBreaks.h"
#include "platform/Clipboard.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

ClipboardCommands::ClipboardCommands(QPlainTextEdit& field, Clipboard& clipboard)
    : m_field(field), m_clipboard(clipboard)
{}

void ClipboardCommands::cut()
{
    copy();
    replaceSelection(QString());
}

void ClipboardCommands::copy()
{
    m_clipboard.clear();
    m_clipboard.setText(crLfLineBreaks(m_field.textCursor().selectedText()));
}

void ClipboardCommands::paste()
{
    replaceSelection(m_clipboard.text());
}

void ClipboardCommands::selectAll()
{
    m_field.setFocus(Qt::OtherFocusReason);
    if (!m_field.document()->isEmpty())
        m_field.selectAll();
}

// Typing over the selection: the field's change handling then stores the new text.
void ClipboardCommands::replaceSelection(const QString& text)
{
    QTextCursor cursor = m_field.textCursor();
    cursor.insertText(lfLineBreaks(text));
    m_field.setTextCursor(cursor);
}

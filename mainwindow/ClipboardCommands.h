#pragma once

#include <QString>

class Clipboard;
class Document;
class QPlainTextEdit;

// Edit > Cut, Copy, Paste, Select All and Insert Character. They act on the data field alone,
// whichever control has the focus; the clipboard holds line breaks as CR LF, as records do, so
// that a copied text pastes back into a record unchanged. Each change they make is one step of
// the document's history of its own.
class ClipboardCommands
{
public:
    ClipboardCommands(QPlainTextEdit& field, Document& document, Clipboard& clipboard);

    void cut();
    void copy();
    void paste();
    void selectAll();
    // Types `text` over the field's selection, as one step.
    void insertCharacter(const QString& text);

private:
    void replaceSelection(const QString& text, const QString& stepName);

    QPlainTextEdit& m_field;
    Document& m_document;
    Clipboard& m_clipboard;
};

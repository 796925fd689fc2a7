#pragma once

#include <QString>

class Clipboard;
class Document;
class DataField;

// Edit > Cut, Copy, Paste, Select All and Insert Character. They act on the data field alone,
// whichever control has the focus. The clipboard is shared with every other program, so it is
// given line breaks as the desktop spells them, and a text pasted from anywhere may break its
// lines with CR LF, LF or CR; the record stores each as CR LF all the same. Each change they
// make is one step of the document's history of its own.
class ClipboardCommands
{
public:
    ClipboardCommands(DataField& field, Document& document, Clipboard& clipboard);

    void cut();
    void copy();
    void paste();
    void selectAll();
    // Types `text` over the field's selection, as one step.
    void insertCharacter(const QString& text);

private:
    void replaceSelection(const QString& text, const QString& stepName);

    DataField& m_field;
    Document& m_document;
    Clipboard& m_clipboard;
};

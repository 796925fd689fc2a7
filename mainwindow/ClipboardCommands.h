#pragma once

#include <QString>

class Clipboard;
class QPlainTextEdit;

// Edit > Cut, Copy, Paste and Select All. They act on the data field alone, whichever control
// has the focus; the clipboard holds line breaks as CR LF, as records do, so that a copied
// text pastes back into a record unchanged.
class ClipboardCommands
{
public:
    ClipboardCommands(QPlainTextEdit& field, Clipboard& clipboard);

    void cut();
    void copy();
    void paste();
    void selectAll();

private:
    void replaceSelection(const QString& text);

    QPlainTextEdit& m_field;
    Clipboard& m_clipboard;
};

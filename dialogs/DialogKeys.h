#pragma once

class QDialog;
class QKeyEvent;

// For dialogs without a default or cancel button: Enter presses the push button that has the
// focus and nothing else, Escape presses nothing. Returns whether the key was one of them.
// The dialog's push buttons must not be auto-default, or Qt would make one of them the
// default button when the dialog shows.
bool handleKeyWithoutDefaultButtons(QDialog& dialog, QKeyEvent& event);

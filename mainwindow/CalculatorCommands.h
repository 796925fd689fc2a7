#pragma once

class ClipboardCommands;
class Document;
class SelectedRecord;
class SettingsStore;
class QWidget;

// File > Calculator Check and Edit > Insert Character: what the calculator will make of the
// file, and its characters typed as the next save spells them.
class CalculatorCommands
{
public:
    CalculatorCommands(Document& document, SettingsStore& settings, SelectedRecord& selection,
                       ClipboardCommands& clipboardCommands, QWidget& owner);

    // Shows the check; a problem the user chooses is shown where it is.
    void check();
    // The character goes in as the next save stores it: through the view, which spells what
    // is typed for the file, or spelt here when the field shows the file's own spelling.
    void insertCharacter();
    // The translation mode the next save gives the file.
    int translationMode() const;

private:
    Document& m_document;
    SettingsStore& m_settings;
    SelectedRecord& m_selection;
    ClipboardCommands& m_clipboardCommands;
    QWidget& m_owner;
};

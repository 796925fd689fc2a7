#pragma once

class LinkWindows;
class QWidget;

// The program's own dialogs as the main window opens them: Preferences, the user's guide, the
// About box and the removal of the stored settings. The dialogs supply them, so that the main
// window and the dialogs need not know each other.
class ProgramDialogs
{
public:
    virtual ~ProgramDialogs() = default;

    virtual void showPreferences(QWidget* owner) = 0;
    // Opens the user's guide in the desktop's browser, or says where it is.
    virtual void showHelp(QWidget* owner) = 0;
    virtual void showAbout(QWidget* owner) = 0;
    // Whether the settings were removed: the user may say no.
    virtual bool removeSettings(QWidget* owner) = 0;
    // The calculator link's windows: its progress, the calculator's variables, its settings.
    virtual LinkWindows& linkWindows() = 0;
};

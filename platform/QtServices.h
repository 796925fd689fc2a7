#pragma once

#include "platform/Clipboard.h"
#include "platform/FileDialogs.h"
#include "platform/Folders.h"
#include "platform/Printers.h"
#include "platform/Questions.h"
#include "platform/SerialLines.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"

// The real services on Qt, owned together for the life of the program.
class QtServices
{
public:
    Services services();
    // The first time a setting cannot be kept, the user is told over `owner`.
    void reportSettingsFailures(QWidget* owner);

private:
    QtQuestions m_questions;
    QtFileDialogs m_fileDialogs;
    QtSettingsStore m_settings;
    QtClipboard m_clipboard;
    QtPrinters m_printers;
    QtFolders m_folders;
    QtSerialLines m_serialLines;
};

#pragma once

#include "doubles/MemoryClipboard.h"
#include "doubles/MemorySettingsStore.h"
#include "doubles/RecordingPrinter.h"
#include "doubles/ScriptedFileDialogs.h"
#include "doubles/ScriptedFolders.h"
#include "doubles/ScriptedQuestions.h"
#include "platform/Services.h"

// Every service as a test double, owned together for one test.
struct TestServices
{
    Services services() { return {questions, fileDialogs, settings, clipboard, printers, folders}; }

    ScriptedQuestions questions;
    ScriptedFileDialogs fileDialogs;
    MemorySettingsStore settings;
    MemoryClipboard clipboard;
    RecordingPrinters printers;
    ScriptedFolders folders;
};

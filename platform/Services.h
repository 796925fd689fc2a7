#pragma once

class Clipboard;
class FileDialogs;
class Folders;
class Printers;
class Questions;
class SerialLines;
class SettingsStore;

// Everything a window needs from the outside world. Windows receive it when they are built
// and keep the reference; nothing reaches for a global.
struct Services
{
    Questions& questions;
    FileDialogs& fileDialogs;
    SettingsStore& settings;
    Clipboard& clipboard;
    Printers& printers;
    Folders& folders;
    SerialLines& serialLines;
};

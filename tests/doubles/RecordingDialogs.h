#pragma once

#include "platform/ProgramDialogs.h"

#include <QStringList>

// Records which of the program's dialogs the main window opened, in order.
class RecordingDialogs final : public ProgramDialogs
{
public:
    void showPreferences(QWidget*) override { opened << QStringLiteral("preferences"); }
    void showHelp(QWidget*) override { opened << QStringLiteral("help"); }
    void showAbout(QWidget*) override { opened << QStringLiteral("about"); }
    bool removeSettings(QWidget*) override
    {
        opened << QStringLiteral("remove settings");
        return true;
    }

    QStringList opened;
};

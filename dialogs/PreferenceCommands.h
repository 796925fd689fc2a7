#pragma once

#include "platform/ProgramDialogs.h"
#include "platform/Services.h"

// Preferences, the About box and the removal of the stored settings, as the main window starts
// them.
class PreferenceCommands final : public ProgramDialogs
{
public:
    explicit PreferenceCommands(const Services& services);

    void showPreferences(QWidget* owner) override;
    void showAbout(QWidget* owner) override;
    bool removeSettings(QWidget* owner) override;

private:
    Services m_services;
};

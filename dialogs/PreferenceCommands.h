#pragma once

#include "dialogs/LinkDialogs.h"
#include "platform/ProgramDialogs.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>
#include <functional>

// Preferences, the user's guide, the About box and the removal of the stored settings, as the
// main window starts them.
class PreferenceCommands final : public ProgramDialogs
{
    Q_DECLARE_TR_FUNCTIONS(PreferenceCommands)

public:
    // Opens a file in the desktop's own program for it; false when none could.
    using OpenUrl = std::function<bool(const QUrl& url)>;

    explicit PreferenceCommands(const Services& services,
                                OpenUrl openUrl = &QDesktopServices::openUrl);

    void showPreferences(QWidget* owner) override;
    void showHelp(QWidget* owner) override;
    void showAbout(QWidget* owner) override;
    bool removeSettings(QWidget* owner) override;
    LinkWindows& linkWindows() override { return m_linkDialogs; }

private:
    Services m_services;
    OpenUrl m_openUrl;
    LinkDialogs m_linkDialogs;
};

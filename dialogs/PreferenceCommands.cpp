#include "dialogs/PreferenceCommands.h"

#include "dialogs/frmAbout.h"
#include "dialogs/frmPreferences.h"
#include "platform/Questions.h"
#include "platform/SettingsStore.h"

PreferenceCommands::PreferenceCommands(const Services& services) : m_services(services) {}

// The dialog has no owner window, so it opens centred on the screen; exec() makes it modal
// for the whole program all the same.
void PreferenceCommands::showPreferences(QWidget* /*owner*/)
{
    frmPreferences dialog(m_services);
    dialog.exec();
}

// The main window owns the box so that it gets no taskbar button of its own.
void PreferenceCommands::showAbout(QWidget* owner)
{
    frmAbout about(owner);
    about.exec();
}

bool PreferenceCommands::removeSettings(QWidget* owner)
{
    const QMessageBox::StandardButton answer = m_services.questions.messageBox(
        owner, QObject::tr("Remove Registry Settings?"),
        QObject::tr("This will remove the settings in the Windows registry for Tabulet. Do you "
                    "want to remove these settings?"),
        QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::NoIcon, QMessageBox::Ok);
    if (answer != QMessageBox::Ok)
        return false;
    m_services.settings.removeEverything();
    m_services.questions.messageBox(owner, QObject::tr("Registry Settings Removed"),
                                    QObject::tr("The settings in the registry have been removed."),
                                    QMessageBox::Ok, QMessageBox::NoIcon, QMessageBox::Ok);
    return true;
}

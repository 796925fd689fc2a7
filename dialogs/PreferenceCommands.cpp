#include "dialogs/PreferenceCommands.h"

#include "dialogs/UserGuide.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmPreferences.h"
#include "platform/Questions.h"
#include "platform/SettingsStore.h"

#include <QDir>

PreferenceCommands::PreferenceCommands(const Services& services, OpenUrl openUrl)
    : m_services(services), m_openUrl(std::move(openUrl)), m_linkDialogs(services)
{}

// The dialog has no owner window, so it opens centred on the screen; exec() makes it modal
// for the whole program all the same.
void PreferenceCommands::showPreferences(QWidget* /*owner*/)
{
    frmPreferences dialog(m_services);
    dialog.exec();
}

// The guide is a page for the desktop's browser; without one, the user is told where it is.
void PreferenceCommands::showHelp(QWidget* owner)
{
    const QString guide = userGuidePath(QCoreApplication::applicationDirPath());
    if (!guide.isEmpty() && m_openUrl(QUrl::fromLocalFile(guide)))
        return;
    const QString message =
        guide.isEmpty()
            ? tr("The user's guide is not installed. It belongs in share/doc/tabulet/help.html "
                 "of the folder Tabulet is installed in.")
            : tr("No web browser could open the user's guide. It is the file \"%1\"; open it "
                 "in a browser of your choice.")
                  .arg(QDir::toNativeSeparators(guide));
    m_services.questions.messageBox(owner, tr("Tabulet Help"), message, QMessageBox::Ok,
                                    QMessageBox::Information, QMessageBox::Ok);
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

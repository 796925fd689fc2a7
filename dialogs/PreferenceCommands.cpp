// Preferences, About box and settings removal, as the main window starts them.
#include "dialogs/frmAbout.h"
#include "dialogs/frmPreferences.h"
#include "mainwindow/frmTabulet.h"
#include "platform/Questions.h"
#include "platform/SettingsStore.h"

// The dialog has no owner window, so it opens centred on the screen; exec() makes it modal
// for the whole program all the same.
void frmTabulet::mnuFilePreferences_Click()
{
    frmPreferences dialog(m_services);
    dialog.exec();
}

// The main window owns the box so that it gets no taskbar button of its own.
void frmTabulet::mnuHelpAboutTabulet_Click()
{
    frmAbout about(this);
    about.exec();
}

void frmTabulet::mnuRegDelete_Click()
{
    const QMessageBox::StandardButton answer = m_services.questions.messageBox(
        this, tr("Remove Registry Settings?"),
        tr("This will remove the settings in the Windows registry for Tabulet. Do you want to "
           "remove these settings?"),
        QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::NoIcon, QMessageBox::Ok);
    if (answer != QMessageBox::Ok)
        return;
    m_services.settings.deleteSection();
    m_services.questions.messageBox(this, tr("Registry Settings Removed"),
                                    tr("The settings in the registry have been removed."),
                                    QMessageBox::Ok, QMessageBox::NoIcon, QMessageBox::Ok);
}

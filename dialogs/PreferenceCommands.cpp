// Preferences, About box and settings removal, as the main window starts them.
// PENDING: filled in by the dialogs work.
#include "mainwindow/frmTabulet.h"

void frmTabulet::mnuFilePreferences_Click() {}
void frmTabulet::mnuHelpAboutTabulet_Click() {}
void frmTabulet::mnuRegDelete_Click() {}

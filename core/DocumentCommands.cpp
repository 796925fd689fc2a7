// Document commands: New, Open, Save, Save As, Exit and the close box.
// PENDING: filled in by the document-commands work.
#include "core/RecordStore.h"
#include "mainwindow/frmTabulet.h"

void frmTabulet::mnuFileNewItem_Click() {}
void frmTabulet::mnuFileOpenItem_Click() {}
void frmTabulet::mnuFileSaveItem_Click() {}
void frmTabulet::mnuFileSaveAsItem_Click() {}
void frmTabulet::mnuFileExit_Click()
{
    m_closeConfirmed = true;
    close();
}
void frmTabulet::openFileAtStart(const QString&) {}
bool frmTabulet::Form_QueryUnload()
{
    return true;
}
bool frmTabulet::FileSaveSub()
{
    return false;
}
bool frmTabulet::FileSaveAsSub()
{
    return false;
}

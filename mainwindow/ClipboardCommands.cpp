// Edit menu and toolbar dispatch.
// PENDING: filled in by the edit-menu work.
#include "mainwindow/frmTabulet.h"

void frmTabulet::mnuEdit_Click() {}
void frmTabulet::mnuEditCut_Click() {}
void frmTabulet::mnuEditCopy_Click() {}
void frmTabulet::mnuEditPaste_Click() {}
void frmTabulet::mnuSelectAll_Click() {}
void frmTabulet::Toolbar1_ButtonClick(const QString&) {}

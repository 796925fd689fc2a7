// Header commands: add, rename and remove.
// PENDING: filled in by the record-editing work.
#include "mainwindow/frmTabulet.h"

void frmTabulet::cmdNewHeader_Click() {}
void frmTabulet::mnuHeadersNewHeader_Click() {}
void frmTabulet::mnuHeadersEditHeader_Click() {}
void frmTabulet::mnuHeadersRemoveHeader_Click() {}
void frmTabulet::HeaderAdd() {}
void frmTabulet::HeaderEditSub() {}

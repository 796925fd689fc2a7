// File > Print.
// PENDING: filled in by the printing work.
#include "mainwindow/frmTabulet.h"

void frmTabulet::mnuFilePrint_Click() {}

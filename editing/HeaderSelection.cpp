// Header selection and the data field.
// PENDING: filled in by the record-editing work.
#include "mainwindow/frmTabulet.h"

void frmTabulet::lstHeaders_Click() {}
void frmTabulet::txtDataField_Change() {}
void frmTabulet::lstHeaders_MouseDown(int, int, float, float) {}
void frmTabulet::lstHeaders_DblClick() {}
void frmTabulet::mnuHeaders_Click() {}
void frmTabulet::txtDataField_GotFocus() {}
void frmTabulet::txtDataField_LostFocus() {}
QString frmTabulet::dataFieldText() const
{
    return QString();
}
void frmTabulet::setDataFieldText(const QString&) {}

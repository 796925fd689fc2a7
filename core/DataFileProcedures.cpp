// The window's reader and writer procedures over the record store.
// PENDING: filled in by the data-file work.
#include "core/RecordStore.h"
#include "mainwindow/frmTabulet.h"

void frmTabulet::FileInSub(const QByteArray&) {}
void frmTabulet::FileOutSub() {}

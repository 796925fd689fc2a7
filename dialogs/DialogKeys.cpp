#include "dialogs/DialogKeys.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

bool handleKeyWithoutDefaultButtons(QDialog& dialog, QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* button = qobject_cast<QPushButton*>(dialog.focusWidget()))
            button->click();
        break;
    case Qt::Key_Escape:
        break;
    default:
        return false;
    }
    event.accept();
    return true;
}

#include "platform/Questions.h"

#include "platform/WindowLook.h"

#include <QInputDialog>

// Both boxes take the program's font: a window of their own does not take it from their owner.
QString QtQuestions::inputBox(QWidget* parent, const QString& title, const QString& prompt,
                              const QString& defaultText)
{
    QInputDialog box(parent);
    box.setFont(tabuletWidgetFont());
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}

QMessageBox::StandardButton QtQuestions::messageBox(QWidget* parent, const QString& title,
                                                    const QString& text,
                                                    QMessageBox::StandardButtons buttons,
                                                    QMessageBox::Icon icon,
                                                    QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setFont(tabuletWidgetFont());
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

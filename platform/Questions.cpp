#include "platform/Questions.h"

#include <QInputDialog>

QString QtQuestions::inputBox(QWidget* parent, const QString& title, const QString& prompt,
                              const QString& defaultText)
{
    bool accepted = false;
    const QString answer =
        QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultText, &accepted);
    return accepted ? answer : QString();
}

QMessageBox::StandardButton QtQuestions::messageBox(QWidget* parent, const QString& title,
                                                    const QString& text,
                                                    QMessageBox::StandardButtons buttons,
                                                    QMessageBox::Icon icon,
                                                    QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

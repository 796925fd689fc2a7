#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// The two modal questions the program asks: the input box and the message box. Windows ask
// through this interface so that every question can be answered by a script in tests.
class Questions
{
public:
    virtual ~Questions() = default;

    // Shows a one-line input box. Returns the field's text, or the empty text on Cancel or
    // when the box is closed: callers cannot and need not tell the two apart.
    virtual QString inputBox(QWidget* parent, const QString& title, const QString& prompt,
                             const QString& defaultText) = 0;

    // Shows a message box and returns the button chosen. Closing the box answers the
    // escape button (Cancel when there is one, otherwise the only button).
    virtual QMessageBox::StandardButton messageBox(QWidget* parent, const QString& title,
                                                   const QString& text,
                                                   QMessageBox::StandardButtons buttons,
                                                   QMessageBox::Icon icon,
                                                   QMessageBox::StandardButton defaultButton) = 0;
};

class QtQuestions final : public Questions
{
public:
    QString inputBox(QWidget* parent, const QString& title, const QString& prompt,
                     const QString& defaultText) override;
    QMessageBox::StandardButton messageBox(QWidget* parent, const QString& title,
                                           const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::Icon icon,
                                           QMessageBox::StandardButton defaultButton) override;
};

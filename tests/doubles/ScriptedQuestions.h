#pragma once

#include "platform/Questions.h"

#include <QList>
#include <QQueue>

// Answers the program's questions from a script and records what was asked, in order.
// A question that finds no scripted answer fails the running test.
class ScriptedQuestions final : public Questions
{
public:
    struct Asked
    {
        enum Kind { Input, Message } kind;
        QString title;
        QString text; // the prompt of an input box, the message of a message box
        QString defaultText;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };

    void answerInput(const QString& answer) { m_inputs.enqueue(answer); }
    void answerMessage(QMessageBox::StandardButton button) { m_messages.enqueue(button); }

    QString inputBox(QWidget* parent, const QString& title, const QString& prompt,
                     const QString& defaultText) override;
    QMessageBox::StandardButton messageBox(QWidget* parent, const QString& title,
                                           const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::Icon icon,
                                           QMessageBox::StandardButton defaultButton) override;

    QList<Asked> asked;
    bool allAnswered() const { return m_inputs.isEmpty() && m_messages.isEmpty(); }

private:
    QQueue<QString> m_inputs;
    QQueue<QMessageBox::StandardButton> m_messages;
};

#pragma once

#include "platform/Questions.h"

#include <QList>
#include <QQueue>
#include <QTest>

// Answers the program's questions from a script and records what was asked, in order.
// A question that finds no scripted answer fails the running test.
class ScriptedQuestions final : public Questions
{
public:
    struct Asked
    {
        QString title;
        QString text; // the prompt of an input box, the message of a message box
        QString defaultText;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };

    void answerInput(const QString& answer) { m_inputs.enqueue(answer); }
    void answerMessage(QMessageBox::StandardButton button) { m_messages.enqueue(button); }
    bool allAnswered() const { return m_inputs.isEmpty() && m_messages.isEmpty(); }

    QString inputBox(QWidget*, const QString& title, const QString& prompt,
                     const QString& defaultText) override
    {
        asked.append({title, prompt, defaultText, {}});
        return next(m_inputs, QString());
    }
    QMessageBox::StandardButton messageBox(QWidget*, const QString& title, const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::Icon icon,
                                           QMessageBox::StandardButton defaultButton) override
    {
        asked.append({title, text, {}, buttons, icon, defaultButton});
        return next(m_messages, QMessageBox::Cancel);
    }

    QList<Asked> asked;

private:
    template <typename T> T next(QQueue<T>& answers, T unanswered)
    {
        if (!answers.isEmpty())
            return answers.dequeue();
        QTest::qFail(
            qPrintable("unexpected question: " + asked.last().title + ": " + asked.last().text),
            __FILE__, __LINE__);
        return unanswered;
    }

    QQueue<QString> m_inputs;
    QQueue<QMessageBox::StandardButton> m_messages;
};

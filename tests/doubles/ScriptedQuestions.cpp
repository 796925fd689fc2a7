#include "doubles/ScriptedQuestions.h"

#include <QTest>

QString ScriptedQuestions::inputBox(QWidget*, const QString& title, const QString& prompt,
                                    const QString& defaultText)
{
    asked.append(Asked{
        Asked::Input, title, prompt, defaultText, {}, QMessageBox::NoIcon, QMessageBox::NoButton});
    if (m_inputs.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected input box: ") + title), __FILE__,
                     __LINE__);
        return QString();
    }
    return m_inputs.dequeue();
}

QMessageBox::StandardButton ScriptedQuestions::messageBox(QWidget*, const QString& title,
                                                          const QString& text,
                                                          QMessageBox::StandardButtons buttons,
                                                          QMessageBox::Icon icon,
                                                          QMessageBox::StandardButton defaultButton)
{
    asked.append(Asked{Asked::Message, title, text, QString(), buttons, icon, defaultButton});
    if (m_messages.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected message box: ") + title +
                                QStringLiteral(": ") + text),
                     __FILE__, __LINE__);
        return QMessageBox::Cancel;
    }
    return m_messages.dequeue();
}

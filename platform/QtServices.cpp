#include "platform/QtServices.h"

#include <QCoreApplication>
#include <QDir>

Services QtServices::services()
{
    return Services{m_questions, m_fileDialogs, m_settings,   m_clipboard,
                    m_printers,  m_folders,     m_serialLines};
}

void QtServices::reportSettingsFailures(QWidget* owner)
{
    m_settings.setFailureReport([this, owner](const QString& fileName) {
        m_questions.messageBox(
            owner, QStringLiteral("Tabulet"),
            QCoreApplication::translate(
                "QtServices",
                "Tabulet cannot write its settings file \"%1\": its folder is read-only or "
                "full, or is not a folder.\n\nThe preferences, the list of recently opened files "
                "and the window's place will not be kept when Tabulet closes. Everything else "
                "works as usual.")
                .arg(QDir::toNativeSeparators(fileName)),
            QMessageBox::Ok, QMessageBox::Warning, QMessageBox::Ok);
    });
}

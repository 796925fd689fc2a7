#include "dialogs/LinkDialogs.h"

#include "dialogs/frmLinkSettings.h"
#include "dialogs/frmTransfer.h"
#include "dialogs/frmVariables.h"
#include "link/Transfer.h"

void LinkDialogs::watch(QWidget* owner, const QString& title, Transfer& transfer)
{
    frmTransfer window(transfer, title, owner);
    // A transfer that ended before the window could show has nothing left to show.
    if (transfer.end() == TransferEnd::Running)
        window.exec();
}

std::optional<QString> LinkDialogs::chooseVariable(QWidget* owner,
                                                   const QList<CalculatorVariable>& variables)
{
    frmVariables window(variables, owner);
    if (window.exec() != QDialog::Accepted || window.chosen().isEmpty())
        return std::nullopt;
    return window.chosen();
}

void LinkDialogs::editSettings(QWidget* owner)
{
    frmLinkSettings(m_services, owner).exec();
}

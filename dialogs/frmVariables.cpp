#include "dialogs/frmVariables.h"

#include "platform/WindowLook.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

frmVariables::frmVariables(const QList<CalculatorVariable>& variables, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Get Variable"));
    setFont(tabuletWidgetFont());
    lstVariables = new QTreeWidget(this);
    lstVariables->setObjectName(QStringLiteral("lstVariables"));
    lstVariables->setRootIsDecorated(false);
    lstVariables->setAccessibleName(tr("Variables"));
    lstVariables->setHeaderLabels({tr("Name"), tr("Size"), tr("Type")});
    for (const CalculatorVariable& variable : variables)
        new QTreeWidgetItem(lstVariables, {variable.name, variable.size, variable.type});
    lstVariables->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lstVariables->setCurrentItem(lstVariables->topLevelItem(0));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("&Get"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstVariables);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(lstVariables, &QTreeWidget::itemActivated, this, &QDialog::accept);
    resize(360, 300);
}

QString frmVariables::chosen() const
{
    const QTreeWidgetItem* item = lstVariables->currentItem();
    return item ? item->text(0) : QString();
}

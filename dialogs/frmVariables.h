#pragma once

#include "link/VariableList.h"

#include <QDialog>

class QTreeWidget;

// The variables of the calculator's current directory, to pick the one to get.
class frmVariables final : public QDialog
{
    Q_OBJECT

public:
    frmVariables(const QList<CalculatorVariable>& variables, QWidget* parent = nullptr);

    QString chosen() const;

    QTreeWidget* lstVariables = nullptr;
};

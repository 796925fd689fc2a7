#pragma once

#include "link/VariableList.h"

#include <optional>

class QWidget;
class Transfer;

// The windows of the calculator link, as its commands need them; the dialogs supply them.
class LinkWindows
{
public:
    virtual ~LinkWindows() = default;

    // Shows a started transfer's progress, with Cancel, and returns once it has finished.
    virtual void watch(QWidget* owner, const QString& title, Transfer& transfer) = 0;
    // The variable the user picks from the calculator's directory; nothing when cancelled.
    virtual std::optional<QString> chooseVariable(QWidget* owner,
                                                  const QList<CalculatorVariable>& variables) = 0;
    // Link Settings.
    virtual void editSettings(QWidget* owner) = 0;
};

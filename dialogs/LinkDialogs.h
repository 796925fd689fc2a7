#pragma once

#include "link/LinkWindows.h"
#include "platform/Services.h"

// The calculator link's windows on Qt.
class LinkDialogs final : public LinkWindows
{
public:
    explicit LinkDialogs(const Services& services) : m_services(services) {}

    void watch(QWidget* owner, const QString& title, Transfer& transfer) override;
    std::optional<QString> chooseVariable(QWidget* owner,
                                          const QList<CalculatorVariable>& variables) override;
    void editSettings(QWidget* owner) override;

private:
    Services m_services;
};

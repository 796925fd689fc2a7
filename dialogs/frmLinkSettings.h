#pragma once

#include "platform/Services.h"

#include <QDialog>

class QComboBox;

// Link Settings: the port of the calculator's cable, the line's speed and parity, Kermit's block
// check and the protocol. It shows the stored settings and writes them only on OK.
class frmLinkSettings final : public QDialog
{
    Q_OBJECT

public:
    explicit frmLinkSettings(const Services& services, QWidget* parent = nullptr);

    void cmdOK_Click();

    QComboBox* cboPort = nullptr;
    QComboBox* cboSpeed = nullptr;
    QComboBox* cboParity = nullptr;
    QComboBox* cboBlockCheck = nullptr;
    QComboBox* cboProtocol = nullptr;

private:
    void createControls();
    void showSettings();

    Services m_services;
};

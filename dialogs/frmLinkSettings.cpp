#include "dialogs/frmLinkSettings.h"

#include "link/LinkSettings.h"
#include "platform/SerialLines.h"
#include "platform/WindowLook.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace {

QComboBox* choices(QWidget* parent, const char* name, const QStringList& captions)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems(captions);
    return box;
}

} // namespace

frmLinkSettings::frmLinkSettings(const Services& services, QWidget* parent)
    : QDialog(parent), m_services(services)
{
    setWindowTitle(tr("Link Settings"));
    setFont(tabuletWidgetFont());
    createControls();
    showSettings();
    setFixedSize(sizeHint());
}

void frmLinkSettings::createControls()
{
    cboPort = choices(this, "cboPort", m_services.serialLines.ports());
    cboPort->setEditable(true);
    cboPort->lineEdit()->setPlaceholderText(tr("for instance /dev/ttyUSB0"));
    // The field inside the list takes the focus, and a screen reader names it by itself.
    cboPort->lineEdit()->setAccessibleName(tr("Port"));
    cboPort->setMinimumContentsLength(24);
    cboSpeed = choices(this, "cboSpeed", {});
    for (const int speed : LinkSettings::Speeds)
        cboSpeed->addItem(tr("%1 bps").arg(speed), speed);
    cboParity =
        choices(this, "cboParity", {tr("None"), tr("Odd"), tr("Even"), tr("Mark"), tr("Space")});
    cboBlockCheck =
        choices(this, "cboBlockCheck",
                {tr("1: 6-bit checksum"), tr("2: 12-bit checksum"), tr("3: 16-bit CRC")});
    cboProtocol = choices(this, "cboProtocol", {tr("Kermit"), tr("XModem (48G series)")});

    auto* form = new QFormLayout(this);
    form->addRow(tr("&Port:"), cboPort);
    form->addRow(tr("&Speed:"), cboSpeed);
    form->addRow(tr("P&arity:"), cboParity);
    form->addRow(tr("&Block check:"), cboBlockCheck);
    form->addRow(tr("P&rotocol:"), cboProtocol);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmLinkSettings::cmdOK_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void frmLinkSettings::showSettings()
{
    const LinkSettings link = LinkSettings::read(m_services.settings);
    cboPort->setCurrentText(link.port);
    cboSpeed->setCurrentIndex(cboSpeed->findData(link.speed));
    cboParity->setCurrentIndex(int(LinkSettings::Parities.indexOf(link.parity)));
    cboBlockCheck->setCurrentIndex(link.blockCheck - 1);
    cboProtocol->setCurrentIndex(link.protocol == LinkSettings::Protocol::XModem ? 1 : 0);
}

void frmLinkSettings::cmdOK_Click()
{
    LinkSettings link;
    link.port = cboPort->currentText().trimmed();
    link.speed = cboSpeed->currentData().toInt();
    link.parity = LinkSettings::Parities.value(cboParity->currentIndex());
    link.blockCheck = cboBlockCheck->currentIndex() + 1;
    link.protocol = cboProtocol->currentIndex() == 1 ? LinkSettings::Protocol::XModem
                                                     : LinkSettings::Protocol::Kermit;
    link.write(m_services.settings);
    accept();
}

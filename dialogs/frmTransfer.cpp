#include "dialogs/frmTransfer.h"

#include "link/Transfer.h"
#include "platform/WindowLook.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

frmTransfer::frmTransfer(Transfer& transfer, const QString& title, QWidget* parent)
    : QDialog(parent), m_transfer(transfer)
{
    setWindowTitle(title);
    setFont(tabuletWidgetFont());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    lblStatus = new QLabel(tr("Waiting for the calculator..."), this);
    prgBytes = new QProgressBar(this);
    lblFigures = new QLabel(this);
    lblFigures->setMinimumWidth(lblFigures->fontMetrics().averageCharWidth() * 48);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    cmdCancel = buttons->button(QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* widget : {static_cast<QWidget*>(lblStatus), static_cast<QWidget*>(prgBytes),
                            static_cast<QWidget*>(lblFigures), static_cast<QWidget*>(buttons)})
        layout->addWidget(widget);
    connect(buttons, &QDialogButtonBox::rejected, this, &frmTransfer::reject);
    connect(&transfer, &Transfer::progressed, this, &frmTransfer::showFigures);
    connect(&transfer, &Transfer::finished, this, &QDialog::accept);
    showFigures();
    setFixedSize(sizeHint());
}

void frmTransfer::reject()
{
    m_transfer.cancel();
}

void frmTransfer::showFigures()
{
    const TransferFigures& figures = m_transfer.figures();
    if (m_transfer.cancelling())
        lblStatus->setText(tr("Cancelling..."));
    else if (figures.packets > 0)
        lblStatus->setText(tr("Transferring..."));
    cmdCancel->setEnabled(!m_transfer.cancelling());
    // Without a total the bar only shows that something is happening.
    prgBytes->setRange(0, figures.total > 0 ? 1000 : 0);
    if (figures.total > 0)
        prgBytes->setValue(int(figures.bytes * 1000 / figures.total));
    const QLocale locale;
    lblFigures->setText(tr("Bytes: %1    Packets: %2    Retries: %3")
                            .arg(locale.toString(figures.bytes), locale.toString(figures.packets),
                                 locale.toString(figures.retries)));
}

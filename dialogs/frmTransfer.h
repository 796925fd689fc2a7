#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class Transfer;

// The progress of a transfer with the calculator: the bytes, the packets and the retries, and
// Cancel, which ends the transfer so that the calculator is ready again. It closes by itself
// once the transfer has finished; closing it any other way cancels the transfer.
class frmTransfer final : public QDialog
{
    Q_OBJECT

public:
    frmTransfer(Transfer& transfer, const QString& title, QWidget* parent = nullptr);

    void reject() override;

    QLabel* lblStatus = nullptr;
    QProgressBar* prgBytes = nullptr;
    QLabel* lblFigures = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void showFigures();

    Transfer& m_transfer;
};

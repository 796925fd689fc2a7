#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About box: the program's name and version, its credit and what it is for. OK is both
// the default and the cancel button, so Enter and Escape close the box.
class frmAbout final : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

    void cmdOK_Click();

    QPushButton* cmdOK = nullptr;
    QLabel* picIcon = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblTitle = nullptr;

private:
    void createControls();
};

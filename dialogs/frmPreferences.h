#pragma once

#include "platform/Services.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The Preferences dialog: the working directory, the transfer header line and the printing
// font. It reads the five preferences when it is built and writes them only on OK.
class frmPreferences final : public QDialog
{
    Q_OBJECT

public:
    explicit frmPreferences(const Services& services, QWidget* parent = nullptr);

    void Form_Load();
    void chkASCII_Click();
    void ASCIIValue();
    void cmdFonts_Click();
    void cmdBrowse_Click();
    void cmdOK_Click();
    void cmdPrefCancel_Click();

    QPushButton* cmdOK = nullptr;
    QPushButton* cmdPrefCancel = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QLineEdit* txtWrkDir = nullptr;
    QGroupBox* Frame1 = nullptr;
    QCheckBox* chkASCII = nullptr;
    QLabel* lblASCII = nullptr;
    QLineEdit* txtASCII = nullptr;
    QPushButton* cmdFonts = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLineEdit* txtFontName = nullptr;
    QLineEdit* txtFontSize = nullptr;
    QLabel* Label1 = nullptr;
    QGroupBox* Frame3 = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void nameFields();
    void orderTabs();
    void connectControls();

    Services m_services;
};

// A point size as the shortest decimal text that reads back as the same single-precision
// number: 11 gives "11", 10.5 gives "10.5".
QString pointSizeText(qreal pointSize);

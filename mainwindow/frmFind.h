#pragma once

#include "core/Finder.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Edit > Find and Edit > Replace: a small window beside the main window that stays open while
// the user goes on working. Return finds the next match, Escape closes it; what it finds and
// how often it wrapped is said in the window itself, never in a message box.
class frmFind final : public QDialog
{
    Q_OBJECT

public:
    explicit frmFind(QWidget* parent);

    // Shows the window, with the replace field and buttons or without.
    void showFor(bool replacing);
    FindOptions options() const;
    QString replacement() const;
    // The whole status; the window shows as much of it as fits.
    void setStatus(const QString& text);
    QString status() const;

Q_SIGNALS:
    void findRequested(bool backwards);
    void replaceRequested();
    void replaceAllRequested();

private:
    void measureForms();
    void showReplaceParts(bool replacing);
    void placeBesideOwner();

    QLineEdit* txtFind;
    QLineEdit* txtReplace;
    QLabel* lblReplace;
    QCheckBox* chkMatchCase;
    QCheckBox* chkWholeWords;
    QComboBox* cboLookIn;
    QPushButton* cmdFindNext;
    QPushButton* cmdFindPrevious;
    QPushButton* cmdReplace;
    QPushButton* cmdReplaceAll;
    QPushButton* cmdClose;
    QLabel* lblStatus;
    QString m_status;
    QSize m_findSize;
    QSize m_replaceSize;
};

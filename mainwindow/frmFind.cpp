#include "mainwindow/frmFind.h"

#include "platform/WindowLook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

enum LookIn { HeadersAndTexts, HeadersOnly, TextsOnly };

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* made = new QPushButton(caption, parent);
    made->setObjectName(QLatin1String(name));
    made->setAutoDefault(false);
    return made;
}

} // namespace

frmFind::frmFind(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(tr("Find"));
    setFont(tabuletWidgetFont());
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtReplace = new QLineEdit(this);
    txtReplace->setObjectName(QStringLiteral("txtReplace"));
    chkMatchCase = new QCheckBox(tr("Match &case"), this);
    chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));
    chkWholeWords = new QCheckBox(tr("&Whole words"), this);
    chkWholeWords->setObjectName(QStringLiteral("chkWholeWords"));
    cboLookIn = new QComboBox(this);
    cboLookIn->setObjectName(QStringLiteral("cboLookIn"));
    cboLookIn->addItems({tr("Headers and texts"), tr("Headers"), tr("Texts")});
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));

    auto* fields = new QFormLayout;
    fields->addRow(tr("F&ind:"), txtFind);
    lblReplace = new QLabel(tr("Re&place with:"), this);
    lblReplace->setBuddy(txtReplace);
    fields->addRow(lblReplace, txtReplace);
    fields->addRow(tr("&Look in:"), cboLookIn);
    fields->addRow(QString(), chkMatchCase);
    fields->addRow(QString(), chkWholeWords);

    cmdFindNext = button(this, "cmdFindNext", tr("Find &Next"));
    cmdFindNext->setDefault(true);
    cmdFindPrevious = button(this, "cmdFindPrevious", tr("Find Pre&vious"));
    cmdReplace = button(this, "cmdReplace", tr("&Replace"));
    cmdReplaceAll = button(this, "cmdReplaceAll", tr("Replace &All"));
    cmdClose = button(this, "cmdClose", tr("Close"));
    auto* buttons = new QVBoxLayout;
    for (QPushButton* each : {cmdFindNext, cmdFindPrevious, cmdReplace, cmdReplaceAll, cmdClose})
        buttons->addWidget(each);
    buttons->addStretch();
    auto* controls = new QHBoxLayout;
    controls->addLayout(fields, 1);
    controls->addLayout(buttons);
    // The status takes the whole width, so that more of it fits.
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(lblStatus);

    connect(cmdFindNext, &QPushButton::clicked, this, [this] { Q_EMIT findRequested(false); });
    connect(cmdFindPrevious, &QPushButton::clicked, this, [this] { Q_EMIT findRequested(true); });
    connect(cmdReplace, &QPushButton::clicked, this, &frmFind::replaceRequested);
    connect(cmdReplaceAll, &QPushButton::clicked, this, &frmFind::replaceAllRequested);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(txtFind, &QLineEdit::textChanged, this, [this] { setStatus({}); });
    measureForms();
}

// Each form keeps one size, measured once, so that the window does not jump about under the
// pointer as the user goes from Find to Replace and back.
void frmFind::measureForms()
{
    ensurePolished();
    // Measured with a status to show: in the window's font a label is a pixel higher with text
    // than without.
    lblStatus->setText(QStringLiteral("X"));
    m_replaceSize = sizeHint();
    showReplaceParts(false);
    // Hiding a field leaves the sizes the inner layouts worked out before; activating the
    // window's layout works them out again.
    layout()->activate();
    m_findSize = sizeHint();
    lblStatus->clear();
}

void frmFind::showReplaceParts(bool replacing)
{
    for (QWidget* part :
         std::initializer_list<QWidget*>{lblReplace, txtReplace, cmdReplace, cmdReplaceAll})
        part->setVisible(replacing);
}

void frmFind::showFor(bool replacing)
{
    setWindowTitle(replacing ? tr("Replace") : tr("Find"));
    showReplaceParts(replacing);
    setFixedSize(replacing ? m_replaceSize : m_findSize);
    setStatus({});
    if (!isVisible())
        placeBesideOwner();
    show();
    raise();
    activateWindow();
    txtFind->setFocus();
    txtFind->selectAll();
}

FindOptions frmFind::options() const
{
    const int lookIn = cboLookIn->currentIndex();
    return {txtFind->text(), chkMatchCase->isChecked(), chkWholeWords->isChecked(),
            lookIn != TextsOnly, lookIn != HeadersOnly};
}

QString frmFind::replacement() const
{
    return txtReplace->text();
}

void frmFind::setStatus(const QString& text)
{
    m_status = text;
    const QString shown = lblStatus->fontMetrics().elidedText(text, Qt::ElideRight,
                                                              lblStatus->contentsRect().width());
    lblStatus->setText(shown);
    lblStatus->setToolTip(shown == text ? QString() : text);
}

QString frmFind::status() const
{
    return m_status;
}

// Beside the main window rather than over the list and the field it searches, where the
// screen has room for it.
void frmFind::placeBesideOwner()
{
    const QWidget* owner = parentWidget();
    if (owner == nullptr || owner->screen() == nullptr)
        return;
    const QRect room = owner->screen()->availableGeometry();
    const QPoint beside = owner->frameGeometry().topRight() + QPoint(8, 0);
    if (room.contains(QRect(beside, frameGeometry().size())))
        move(beside);
}

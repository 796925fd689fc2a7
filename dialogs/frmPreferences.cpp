#include "dialogs/frmPreferences.h"

#include "core/Preferences.h"
#include "dialogs/DialogKeys.h"
#include "dialogs/frmBrowse.h"
#include "platform/FileDialogs.h"
#include "platform/WindowLook.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <charconv>

namespace {

template <typename Widget> Widget* placed(Widget* widget, const char* name, const QRect& geometry)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

// No button is auto-default: Qt would otherwise make the first one the default button.
QPushButton* pushButton(const QString& text, QWidget* parent, const char* name,
                        const QRect& geometry)
{
    auto* button = placed(new QPushButton(text, parent), name, geometry);
    button->setAutoDefault(false);
    return button;
}

} // namespace

QString pointSizeText(qreal pointSize)
{
    std::array<char, 32> digits{};
    const auto end =
        std::to_chars(digits.data(), digits.data() + digits.size(), static_cast<float>(pointSize));
    return QString::fromLatin1(digits.data(), end.ptr - digits.data());
}

frmPreferences::frmPreferences(const Services& services, QWidget* parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(tr("Tabulet Preferences"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setWindowIcon(tabuletIcon());
    setFont(tabuletWidgetFont());
    setFixedSize(twips(5175), twips(3270));
    createControls();
    orderTabs();
    connectControls();
    Form_Load();
}

void frmPreferences::createControls()
{
    cmdOK = pushButton(tr("OK"), this, "cmdOK", twipsRect(3720, 360, 1215, 375));
    cmdPrefCancel =
        pushButton(tr("Cancel"), this, "cmdPrefCancel", twipsRect(3720, 840, 1215, 375));
    cmdBrowse = pushButton(tr("Browse..."), this, "cmdBrowse", twipsRect(3720, 2640, 1215, 375));
    cmdFonts = pushButton(tr("Fonts..."), this, "cmdFonts", twipsRect(3720, 1800, 1215, 375));

    Frame1 =
        placed(new QGroupBox(tr("ASCII Header"), this), "Frame1", twipsRect(120, 240, 3255, 1215));
    chkASCII = placed(new QCheckBox(tr("Add ASCII header to file."), Frame1), "chkASCII",
                      twipsRect(120, 360, 2055, 255));
    // The style's check mark takes more room than the layout leaves it; the box may grow
    // into the empty frame to its right rather than cut its caption.
    chkASCII->resize(std::max(chkASCII->width(), chkASCII->sizeHint().width()), chkASCII->height());
    lblASCII =
        placed(new QLabel(tr("ASCII Header:"), Frame1), "lblASCII", twipsRect(120, 855, 1095, 255));
    txtASCII = placed(new QLineEdit(Frame1), "txtASCII", twipsRect(1200, 840, 1935, 285));

    Frame2 =
        placed(new QGroupBox(tr("Default Font"), this), "Frame2", twipsRect(120, 1680, 3255, 615));
    txtFontName = placed(new QLineEdit(Frame2), "txtFontName", twipsRect(120, 240, 1815, 285));
    txtFontSize = placed(new QLineEdit(Frame2), "txtFontSize", twipsRect(2520, 240, 615, 285));
    Label1 = placed(new QLabel(tr("Size:"), Frame2), "Label1", twipsRect(2040, 240, 375, 255));

    Frame3 = placed(new QGroupBox(tr("Working Directory"), this), "Frame3",
                    twipsRect(120, 2520, 3255, 615));
    // The field belongs to the window, not to the frame around it, and is drawn over it.
    txtWrkDir = placed(new QLineEdit(this), "txtWrkDir", twipsRect(240, 2760, 3015, 285));
    txtWrkDir->raise();
    nameFields();
}

// Screen readers name a field after the label whose buddy it is, or else after the frame it
// sits in; the working directory's field sits in no frame and has no label.
void frmPreferences::nameFields()
{
    lblASCII->setBuddy(txtASCII);
    Label1->setBuddy(txtFontSize);
    txtWrkDir->setAccessibleName(Frame3->title());
    txtWrkDir->setAccessibleDescription(tr("The folder that Open and Save As start in"));
}

void frmPreferences::orderTabs()
{
    const std::array<QWidget*, 9> order{cmdOK,    cmdPrefCancel, cmdBrowse,   txtWrkDir,  chkASCII,
                                        txtASCII, cmdFonts,      txtFontName, txtFontSize};
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order.at(i), order.at(i + 1));
}

void frmPreferences::connectControls()
{
    connect(cmdOK, &QPushButton::clicked, this, &frmPreferences::cmdOK_Click);
    connect(cmdPrefCancel, &QPushButton::clicked, this, &frmPreferences::cmdPrefCancel_Click);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmPreferences::cmdBrowse_Click);
    connect(cmdFonts, &QPushButton::clicked, this, &frmPreferences::cmdFonts_Click);
    connect(chkASCII, &QCheckBox::toggled, this, &frmPreferences::chkASCII_Click);
}

void frmPreferences::Form_Load()
{
    const PreferenceValues values = preferences::dialogValues(m_services.settings);
    txtWrkDir->setText(values.wrkDir);
    // Only the program's own "1" switches the header on; any other stored text leaves the box
    // unchecked, and the header field greyed with it.
    chkASCII->setChecked(TransferHeader{values.asciiHeader, {}}.isOn());
    txtASCII->setText(values.asciiText);
    txtFontName->setText(values.defaultFont);
    txtFontSize->setText(values.defaultFontSize);
    ASCIIValue();
}

void frmPreferences::chkASCII_Click()
{
    ASCIIValue();
}

void frmPreferences::ASCIIValue()
{
    const bool on = chkASCII->isChecked();
    lblASCII->setEnabled(on);
    txtASCII->setEnabled(on);
}

void frmPreferences::cmdFonts_Click()
{
    const std::optional<QFont> font = m_services.fileDialogs.chooseFont(this);
    if (!font)
        return;
    txtFontName->setText(font->family());
    txtFontSize->setText(pointSizeText(font->pointSizeF()));
}

void frmPreferences::cmdBrowse_Click()
{
    frmBrowse browser(m_services, *txtWrkDir, this);
    browser.exec();
}

void frmPreferences::cmdOK_Click()
{
    preferences::storeDialogValues(
        m_services.settings,
        {txtWrkDir->text(), chkASCII->isChecked() ? QStringLiteral("1") : QStringLiteral("0"),
         txtASCII->text(), txtFontName->text(), txtFontSize->text()});
    accept();
}

void frmPreferences::cmdPrefCancel_Click()
{
    reject();
}

void frmPreferences::keyPressEvent(QKeyEvent* event)
{
    if (!handleKeyWithoutDefaultButtons(*this, *event))
        QDialog::keyPressEvent(event);
}

#include "dialogs/frmAbout.h"

#include "core/Caption.h"
#include "platform/WindowLook.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr int IconPixels = 32;
// 18 points on the 96 dots per inch that the layout's twips assume.
constexpr int TitlePixels = 24;

QLabel* blackLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About Tabulet..."));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    // The box shows the icon in its picture, not in its title bar, where it would otherwise
    // take the main window's.
    setWindowIcon(QIcon());
    setFont(tabuletWidgetFont());
    setFixedSize(twips(4215), twips(2640));
    createControls();
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
}

void frmAbout::createControls()
{
    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(twipsRect(3000, 2160, 1020, 345));
    cmdOK->setDefault(true);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setGeometry(twipsRect(240, 240, 480, 480));
    picIcon->setPixmap(tabuletIcon().pixmap(IconPixels, IconPixels));

    lblDescription = blackLabel(
        tr("Tabulet is a desktop utility for creating and editing data files for Ledra, a "
           "database for the HP 48 series calculator. Help is in the HTML file help.html that "
           "comes with the program."),
        this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setGeometry(twipsRect(960, 1080, 3045, 1050));
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    lblVersion = new QLabel(tr("Written by the Tabulet developers."), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setGeometry(twipsRect(960, 720, 3045, 225));

    lblTitle = blackLabel(ProgramCaption, this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setGeometry(twipsRect(960, 240, 2325, 480));
    QFont titleFont = tabuletWidgetFont();
    titleFont.setPixelSize(TitlePixels);
    titleFont.setWeight(QFont::Normal);
    lblTitle->setFont(titleFont);
    lblTitle->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

// Escape reaches the same end through reject(): the box closes either way.
void frmAbout::cmdOK_Click()
{
    accept();
}

#include "mainwindow/frmInsertCharacter.h"

#include "core/CalculatorCode.h"
#include "platform/WindowLook.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int FirstCode = 128;
constexpr int LastCode = 255;
constexpr int Columns = 16;

QString toolTipFor(int code, int mode)
{
    const QString stored = calculator::spellingFor(code, mode);
    const QString spelling = stored.startsWith(u'\\')
                                 ? stored
                                 : frmInsertCharacter::tr("stored as the character itself");
    return frmInsertCharacter::tr("Character %1: %2").arg(code).arg(spelling);
}

// The no-break space and the soft hyphen show nothing that a screen reader could read out.
bool readable(QStringView glyph)
{
    return std::any_of(glyph.begin(), glyph.end(),
                       [](QChar each) { return each.isPrint() && !each.isSpace(); });
}

QToolButton* characterKey(int code, int mode, QWidget* parent)
{
    auto* key = new QToolButton(parent);
    key->setObjectName(QStringLiteral("chr%1").arg(code));
    key->setText(calculator::glyph(code).toString());
    key->setToolTip(toolTipFor(code, mode));
    if (!readable(calculator::glyph(code)))
        key->setAccessibleName(frmInsertCharacter::tr("Character %1").arg(code));
    key->setFixedSize(26, 26);
    key->setAutoRaise(true);
    return key;
}

} // namespace

frmInsertCharacter::frmInsertCharacter(int mode, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmInsertCharacter"));
    setWindowTitle(tr("Insert Character"));
    setFont(tabuletWidgetFont());
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    for (int code = FirstCode; code <= LastCode; ++code) {
        QToolButton* key = characterKey(code, mode, this);
        connect(key, &QToolButton::clicked, this, [this, code] {
            m_chosen = code;
            accept();
        });
        grid->addWidget(key, (code - FirstCode) / Columns, (code - FirstCode) % Columns);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

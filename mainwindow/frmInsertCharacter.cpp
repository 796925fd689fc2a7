#include "mainwindow/frmInsertCharacter.h"

#include "core/CalculatorCode.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QToolButton>
#include <QVBoxLayout>

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

} // namespace

frmInsertCharacter::frmInsertCharacter(int mode, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmInsertCharacter"));
    setWindowTitle(tr("Insert Character"));
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    for (int code = FirstCode; code <= LastCode; ++code) {
        auto* key = new QToolButton(this);
        key->setObjectName(QStringLiteral("chr%1").arg(code));
        key->setText(calculator::glyph(code).toString());
        key->setToolTip(toolTipFor(code, mode));
        key->setFixedSize(26, 26);
        key->setAutoRaise(true);
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

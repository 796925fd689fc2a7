// Edit menu and toolbar dispatch. The clipboard commands act on the data field alone,
// whichever control has the focus.
#include "editing/LineBreaks.h"
#include "mainwindow/frmTabulet.h"
#include "platform/Clipboard.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <array>
#include <utility>

namespace {

// The selection with line breaks as records hold them, so that a copied text pastes back
// into a record unchanged.
QString selectedFieldText(const QPlainTextEdit& field)
{
    return crLfLineBreaks(field.textCursor().selectedText());
}

// Typing over the selection: the field's change handling then stores the new text.
void replaceFieldSelection(QPlainTextEdit& field, const QString& text)
{
    QTextCursor cursor = field.textCursor();
    cursor.insertText(lfLineBreaks(text));
    field.setTextCursor(cursor);
}

} // namespace

void frmTabulet::mnuEdit_Click()
{
    const bool anySelected = txtDataField->textCursor().hasSelection();
    mnuEditCopy->setEnabled(anySelected);
    mnuEditCut->setEnabled(anySelected);
    mnuEditPaste->setEnabled(!m_services.clipboard.text().isEmpty());
    mnuSelectAll->setEnabled(!txtDataField->document()->isEmpty());
}

void frmTabulet::mnuEditCut_Click()
{
    m_services.clipboard.clear();
    m_services.clipboard.setText(selectedFieldText(*txtDataField));
    replaceFieldSelection(*txtDataField, QString());
}

void frmTabulet::mnuEditCopy_Click()
{
    m_services.clipboard.clear();
    m_services.clipboard.setText(selectedFieldText(*txtDataField));
}

void frmTabulet::mnuEditPaste_Click()
{
    replaceFieldSelection(*txtDataField, m_services.clipboard.text());
}

void frmTabulet::mnuSelectAll_Click()
{
    txtDataField->setFocus(Qt::OtherFocusReason);
    if (!txtDataField->document()->isEmpty())
        txtDataField->selectAll();
}

void frmTabulet::Toolbar1_ButtonClick(const QString& key)
{
    // The buttons run the menu handlers directly, whether or not the menu item is enabled.
    using Handler = void (frmTabulet::*)();
    static const std::array<std::pair<QLatin1String, Handler>, 8> handlers{{
        {QLatin1String("tbrFileNew"), &frmTabulet::mnuFileNewItem_Click},
        {QLatin1String("tbrFileOpen"), &frmTabulet::mnuFileOpenItem_Click},
        {QLatin1String("tbrFileSave"), &frmTabulet::mnuFileSaveItem_Click},
        {QLatin1String("tbrFilePrint"), &frmTabulet::mnuFilePrint_Click},
        {QLatin1String("tbrCut"), &frmTabulet::mnuEditCut_Click},
        {QLatin1String("tbrCopy"), &frmTabulet::mnuEditCopy_Click},
        {QLatin1String("tbrPaste"), &frmTabulet::mnuEditPaste_Click},
        {QLatin1String("tbrPreferences"), &frmTabulet::mnuFilePreferences_Click},
    }};
    for (const auto& [buttonKey, handler] : handlers) {
        if (key == buttonKey) {
            (this->*handler)();
            return;
        }
    }
}

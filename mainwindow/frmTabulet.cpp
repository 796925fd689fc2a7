#include "mainwindow/frmTabulet.h"

#include "core/RecordStore.h"
#include "mainwindow/CalculatorCommands.h"
#include "mainwindow/ClipboardCommands.h"
#include "mainwindow/DataField.h"
#include "mainwindow/DataFieldBinding.h"
#include "mainwindow/FieldKeys.h"
#include "mainwindow/FileDrops.h"
#include "mainwindow/FindSession.h"
#include "mainwindow/HeaderListView.h"
#include "mainwindow/RecentFilesMenu.h"
#include "mainwindow/SelectedRecord.h"
#include "mainwindow/WindowPlacement.h"
#include "mainwindow/WindowSizing.h"
#include "platform/Clipboard.h"
#include "platform/ProgramDialogs.h"
#include "platform/WindowLook.h"

#include <QCloseEvent>
#include <QCursor>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSessionManager>
#include <QToolBar>
#include <QUndoStack>

namespace {

// The toolbar from left to right: buttons by their keys, gaps by theirs.
const char* const ToolbarLayout[] = {"sep",     "tbrFileNew",   "tbrFileOpen", "tbrFileSave",
                                     "sep2",    "tbrFilePrint", "sep3",        "tbrCut",
                                     "tbrCopy", "tbrPaste",     "sep4",        "tbrPreferences",
                                     "sep5",    "tbrUndo",      "tbrRedo"};

} // namespace

using F = frmTabulet;

const QList<frmTabulet::Menu> frmTabulet::Menus = {
    {&F::mnuFile, "mnuFile", QT_TR_NOOP("&File")},
    {&F::mnuEdit, "mnuEdit", QT_TR_NOOP("&Edit")},
    {&F::mnuHeaders, "mnuHeaders", QT_TR_NOOP("He&aders")},
    {&F::mnuView, "mnuView", QT_TR_NOOP("&View")},
    {&F::mnuCalculator, "mnuCalculator", QT_TR_NOOP("&Calculator")},
    {&F::mnuHelp, "mnuHelp", QT_TR_NOOP("&Help")},
};

// Every menu item in menu order, named after its member; its handler adds "_Click". The toolbar's
// buttons run the handlers whether or not the item is enabled, and so do the field's own keys.
#define ITEM(name) &F::name, #name, &F::name##_Click
#define SEPARATOR(name) nullptr, #name, nullptr
// clang-format off
const QList<frmTabulet::Command> frmTabulet::Commands = {
    {&F::mnuFile, ITEM(mnuFileNewItem), QT_TR_NOOP("&New"), "Ctrl+N",
     "tbrFileNew", "new", QT_TR_NOOP("New File")},
    {&F::mnuFile, ITEM(mnuFileOpenItem), QT_TR_NOOP("&Open..."), "Ctrl+O",
     "tbrFileOpen", "open", QT_TR_NOOP("Open File")},
    {&F::mnuFile, ITEM(mnuFileSaveItem), QT_TR_NOOP("&Save"), "Ctrl+S",
     "tbrFileSave", "save", QT_TR_NOOP("Save File")},
    {&F::mnuFile, ITEM(mnuFileSaveAsItem), QT_TR_NOOP("Save &As...")},
    {&F::mnuFile, SEPARATOR(mnuFileSep)},
    {&F::mnuFile, &F::mnuFilePageSetup, "mnuFilePageSetup", nullptr, QT_TR_NOOP("Print Set&up...")},
    {&F::mnuFile, ITEM(mnuFilePrint), QT_TR_NOOP("&Print..."), "Ctrl+P",
     "tbrFilePrint", "print", QT_TR_NOOP("Print File")},
    {&F::mnuFile, ITEM(mnuFileExportPdf), QT_TR_NOOP("Expor&t as PDF...")},
    {&F::mnuFile, ITEM(mnuFileCalculatorCheck), QT_TR_NOOP("Calculator &Check...")},
    {&F::mnuFile, SEPARATOR(mnuFileSep1)},
    {&F::mnuFile, ITEM(mnuFilePreferences), QT_TR_NOOP("P&references..."), "",
     "tbrPreferences", "preferences", QT_TR_NOOP("Preferences")},
    {&F::mnuFile, SEPARATOR(mnuFileSep2)},
    {&F::mnuFile, ITEM(mnuRegDelete), QT_TR_NOOP("Re&move Registry Settings...")},
    {&F::mnuFile, SEPARATOR(mnuHelpSep1)},
    {&F::mnuFile, ITEM(mnuFileExit), QT_TR_NOOP("E&xit")},
    {&F::mnuEdit, ITEM(mnuEditUndo), QT_TR_NOOP("&Undo"), "Ctrl+Z",
     "tbrUndo", "undo", QT_TR_NOOP("Undo"), QKeySequence::Undo},
    {&F::mnuEdit, ITEM(mnuEditRedo), QT_TR_NOOP("&Redo"), "Ctrl+Shift+Z; Ctrl+Y",
     "tbrRedo", "redo", QT_TR_NOOP("Redo"), QKeySequence::Redo},
    {&F::mnuEdit, SEPARATOR(mnuEditHistorySep)},
    {&F::mnuEdit, ITEM(mnuEditCut), QT_TR_NOOP("Cu&t"), "Ctrl+X",
     "tbrCut", "cut", QT_TR_NOOP("Cut"), QKeySequence::Cut},
    {&F::mnuEdit, ITEM(mnuEditCopy), QT_TR_NOOP("&Copy"), "Ctrl+C",
     "tbrCopy", "copy", QT_TR_NOOP("Copy"), QKeySequence::Copy},
    {&F::mnuEdit, ITEM(mnuEditPaste), QT_TR_NOOP("&Paste"), "Ctrl+V",
     "tbrPaste", "paste", QT_TR_NOOP("Paste"), QKeySequence::Paste},
    {&F::mnuEdit, SEPARATOR(mnuSep)},
    {&F::mnuEdit, ITEM(mnuSelectAll), QT_TR_NOOP("Select &All"), "Ctrl+A"},
    {&F::mnuEdit, ITEM(mnuEditInsertCharacter), QT_TR_NOOP("Insert C&haracter...")},
    {&F::mnuEdit, SEPARATOR(mnuEditFindSep)},
    {&F::mnuEdit, ITEM(mnuEditFind), QT_TR_NOOP("&Find..."), "Ctrl+F"},
    {&F::mnuEdit, ITEM(mnuEditFindNext), QT_TR_NOOP("Find &Next"), "F3"},
    {&F::mnuEdit, ITEM(mnuEditFindPrevious), QT_TR_NOOP("Find Pre&vious"), "Shift+F3"},
    {&F::mnuEdit, ITEM(mnuEditReplace), QT_TR_NOOP("R&eplace..."), "Ctrl+R"},
    {&F::mnuHeaders, ITEM(mnuHeadersNewHeader), QT_TR_NOOP("&New Header..."), "Ctrl+H"},
    {&F::mnuHeaders, ITEM(mnuHeadersRemoveHeader), QT_TR_NOOP("&Remove Header")},
    {&F::mnuHeaders, ITEM(mnuHeadersEditHeader), QT_TR_NOOP("&Edit Header...")},
    {&F::mnuHeaders, SEPARATOR(mnuHeadersMoveSep)},
    {&F::mnuHeaders, ITEM(mnuHeadersMoveUp), QT_TR_NOOP("Move &Up"), "Ctrl+Shift+Up"},
    {&F::mnuHeaders, ITEM(mnuHeadersMoveDown), QT_TR_NOOP("Move &Down"), "Ctrl+Shift+Down"},
    {&F::mnuView, ITEM(mnuViewCalculator), QT_TR_NOOP("&Calculator Characters")},
    {&F::mnuView, ITEM(mnuViewResizable), QT_TR_NOOP("&Resizable Window")},
    {&F::mnuCalculator, ITEM(mnuCalculatorSend), QT_TR_NOOP("&Send Document...")},
    {&F::mnuCalculator, ITEM(mnuCalculatorGet), QT_TR_NOOP("&Get Variable...")},
    {&F::mnuCalculator, ITEM(mnuCalculatorReceive), QT_TR_NOOP("&Receive...")},
    {&F::mnuCalculator, SEPARATOR(mnuCalculatorSep)},
    {&F::mnuCalculator, ITEM(mnuCalculatorSettings), QT_TR_NOOP("Link Se&ttings...")},
    {&F::mnuHelp, ITEM(mnuHelpContents), QT_TR_NOOP("Tabulet &Help"), "F1"},
    {&F::mnuHelp, ITEM(mnuHelpAboutTabulet), QT_TR_NOOP("&About Tabulet")},
};
// clang-format on
#undef ITEM
#undef SEPARATOR

frmTabulet::frmTabulet(const Services& services, ProgramDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), m_services(services), m_dialogs(dialogs),
      m_documentCommands(m_document, services), m_headerCommands(m_document, services),
      m_printCommand(m_document, m_documentCommands, services),
      m_link(m_document, m_documentCommands, services, dialogs.linkWindows())
{
    setObjectName(QStringLiteral("frmTabulet"));
    setWindowIcon(tabuletIcon());
    setFont(tabuletWidgetFont());
    m_documentCommands.setOwner(this);
    m_headerCommands.setOwner(this);
    m_printCommand.setOwner(this);
    m_link.setOwner(this);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    client->setFixedSize(twips(5565), twips(4290));
    createToolBar(client);
    createControls(client);
    createMenus();
    setCentralWidget(client);
    m_sizing = new WindowSizing(*this, *client);
    m_sizing->followMainWindow(*Toolbar1, *cmdNewHeader, *lstHeaders, *lblDataField, *txtDataField);
    connectControls();
    connectDocument();
    mnuViewCalculator_Click();
    windowplacement::restore(*this, services.settings);
    if (mnuViewResizable->isChecked()) {
        mnuViewResizable_Click();
        windowplacement::restoreSize(*this, services.settings);
    }
    Form_Load();
}

frmTabulet::~frmTabulet() = default;

void frmTabulet::openFileAtStart(const QString& path)
{
    m_documentCommands.openAtStart(path);
}

void frmTabulet::commitSession(QSessionManager& manager)
{
    if (!m_documentCommands.endSession(manager.allowsInteraction()))
        manager.cancel();
}

void frmTabulet::Form_Load()
{
    setWindowTitle(m_document.caption());
}

void frmTabulet::createControls(QWidget* client)
{
    cmdNewHeader = new QPushButton(tr("New Header..."), client);
    cmdNewHeader->setObjectName(QStringLiteral("cmdNewHeader"));
    cmdNewHeader->setGeometry(twipsRect(4200, 840, 1215, 375));
    cmdNewHeader->setAutoDefault(false);
    cmdNewHeader->setAccessibleDescription(tr("Adds a record under a header it asks for"));

    lstHeaders = new HeaderListView(client);
    lstHeaders->setObjectName(QStringLiteral("lstHeaders"));
    lstHeaders->setGeometry(twipsRect(120, 840, 3855, 1230));
    lstHeaders->setModel(&m_document.records());

    createDataField(client);
    m_selection = new SelectedRecord(*lstHeaders, *txtDataField, *m_dataField, m_document);
    m_find = std::make_unique<FindSession>(m_document, *m_selection, *this);
    m_calculator = std::make_unique<CalculatorCommands>(m_document, m_services.settings,
                                                        *m_selection, *m_clipboardCommands, *this);
    createLabelsAndRules(client);
    QWidget::setTabOrder(cmdNewHeader, lstHeaders);
    QWidget::setTabOrder(lstHeaders, txtDataField);
}

void frmTabulet::createDataField(QWidget* client)
{
    txtDataField = new DataField(client);
    txtDataField->setObjectName(QStringLiteral("txtDataField"));
    txtDataField->setGeometry(twipsRect(120, 2475, 3855, 1695));
    m_dataField = std::make_unique<DataFieldBinding>(*txtDataField, m_document);
    m_clipboardCommands =
        std::make_unique<ClipboardCommands>(*txtDataField, m_document, m_services.clipboard);
}

void frmTabulet::createLabelsAndRules(QWidget* client)
{
    lblDataHeaders =
        placedLabel(*client, "lblDataHeaders", tr("Headers:"), {twips(120), twips(555)});
    lblDataField = placedLabel(*client, "lblDataField", tr("Data:"), {twips(120), twips(2235)});
    // A screen reader names a field after its label, but a list view only after its own name.
    lblDataHeaders->setBuddy(lstHeaders);
    lstHeaders->setAccessibleName(lblDataHeaders->text());
    lblDataField->setBuddy(txtDataField);
    txtDataField->setAccessibleDescription(tr("The text of the record selected in the list"));
    etchedRule(*client, QStringLiteral("Line1"), twips(450), twips(7200));
}

void frmTabulet::createMenus()
{
    for (const auto& [menu, name, caption] : Menus) {
        this->*menu = menuBar()->addMenu(tr(caption));
        (this->*menu)->setObjectName(QLatin1String(name));
    }
    for (const Command& command : Commands)
        addMenuItem(command);
    finishMenus();
}

void frmTabulet::addMenuItem(const Command& command)
{
    QMenu* menu = this->*command.menu;
    QAction* item = command.item ? menu->addAction(tr(command.caption)) : menu->addSeparator();
    item->setObjectName(QLatin1String(command.name));
    if (!command.item)
        return;
    this->*command.item = item;
    item->setShortcuts(QKeySequence::listFromString(QLatin1String(command.shortcuts)));
    item->setShortcutContext(Qt::WindowShortcut);
    if (command.handler)
        connect(item, &QAction::triggered, this, command.handler);
}

void frmTabulet::finishMenus()
{
    new RecentFilesMenu(*mnuFile, mnuFileSaveItem, m_documentCommands.recentFiles(),
                        [this](const QString& path) { m_documentCommands.openRecent(path); });
    mnuFilePageSetup->setVisible(false);
    mnuFile->findChild<QAction*>(QStringLiteral("mnuFileSep2"))->setVisible(false);
    mnuViewCalculator->setCheckable(true);
    mnuViewCalculator->setChecked(windowplacement::calculatorCharacters(m_services.settings));
    mnuViewResizable->setCheckable(true);
    mnuViewResizable->setChecked(windowplacement::resizable(m_services.settings));
    connect(mnuEdit, &QMenu::aboutToShow, this, &frmTabulet::mnuEdit_Click);
    connect(mnuHeaders, &QMenu::aboutToShow, this, &frmTabulet::mnuHeaders_Click);
}

void frmTabulet::createToolBar(QWidget* client)
{
    Toolbar1 = fixedToolBar(*client, QStringLiteral("Toolbar1"), twipsRect(0, 0, 5565, 450));
    for (const char* const key : ToolbarLayout) {
        const auto button =
            std::find_if(Commands.begin(), Commands.end(), [key](const Command& each) {
                return each.toolbarKey && qstrcmp(key, each.toolbarKey) == 0;
            });
        if (button == Commands.end())
            addToolbarGap(*Toolbar1, QLatin1String(key));
        else
            addToolbarButton(*Toolbar1, QLatin1String(key), QLatin1String(button->glyph),
                             tr(button->toolTip));
    }
}

void frmTabulet::connectControls()
{
    connect(cmdNewHeader, &QPushButton::clicked, this, &frmTabulet::cmdNewHeader_Click);
    connectHeaderList();
    connect(txtDataField->document(), &QTextDocument::contentsChange, m_dataField.get(),
            &DataFieldBinding::txtDataField_Change);
    m_fieldKeys = std::make_unique<FieldKeys>(*txtDataField);
    for (const Command& command : Commands) {
        if (command.fieldKey != QKeySequence::UnknownKey)
            m_fieldKeys->take(command.fieldKey, [this, &command] { (this->*command.handler)(); });
    }
    m_fieldKeys->onFocus([this] { txtDataField_GotFocus(); }, [this] { txtDataField_LostFocus(); });
    connect(Toolbar1, &QToolBar::actionTriggered, this,
            [this](QAction* button) { Toolbar1_ButtonClick(button->data().toString()); });
    m_fileDrops = new FileDrops(this);
    m_fileDrops->watch({this, lstHeaders->viewport(), txtDataField->viewport()});
    connect(m_fileDrops, &FileDrops::filesDropped, this,
            [this](const QStringList& files) { m_documentCommands.openDropped(files); });
}

void frmTabulet::connectHeaderList()
{
    connect(lstHeaders->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmTabulet::lstHeaders_Click);
    connect(lstHeaders, &HeaderListView::popupMenuRequested, this,
            &frmTabulet::lstHeaders_MouseDown);
    connect(lstHeaders, &HeaderListView::renameRequested, this, &frmTabulet::lstHeaders_DblClick);
    connect(lstHeaders, &HeaderListView::removeRequested, this,
            &frmTabulet::mnuHeadersRemoveHeader_Click);
    connect(lstHeaders, &HeaderListView::dataFieldRequested, txtDataField,
            [this] { txtDataField->setFocus(Qt::OtherFocusReason); });
    connect(lstHeaders, &HeaderListView::moveRequested, this, &frmTabulet::lstHeaders_Drop);
}

void frmTabulet::connectDocument()
{
    connect(&m_document, &Document::captionChanged, this, &QWidget::setWindowTitle);
    connect(&m_document, &Document::dataFieldReset, m_dataField.get(),
            &DataFieldBinding::showLoose);
    QUndoStack& history = m_document.history();
    for (auto changed : {&QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged})
        connect(&history, changed, this, &frmTabulet::updateHistoryItems);
    for (auto changed : {&QUndoStack::undoTextChanged, &QUndoStack::redoTextChanged})
        connect(&history, changed, this, &frmTabulet::updateHistoryItems);
    updateHistoryItems();
}

// The toolbar's Undo and Redo follow the Edit menu's items.
void frmTabulet::updateHistoryItems()
{
    const QUndoStack& history = m_document.history();
    const auto named = [](const QString& caption, const QString& step) {
        return step.isEmpty() ? caption : caption + u' ' + step;
    };
    mnuEditUndo->setText(named(tr("&Undo"), history.undoText()));
    mnuEditRedo->setText(named(tr("&Redo"), history.redoText()));
    for (auto [item, can] :
         {std::pair(mnuEditUndo, history.canUndo()), std::pair(mnuEditRedo, history.canRedo())}) {
        item->setEnabled(can);
        Toolbar1->findChild<QAction*>(item == mnuEditUndo ? "tbrUndo" : "tbrRedo")->setEnabled(can);
    }
}

void frmTabulet::mnuFileNewItem_Click()
{
    m_documentCommands.newDocument();
}

void frmTabulet::mnuFileOpenItem_Click()
{
    m_documentCommands.open();
}

void frmTabulet::mnuFileSaveItem_Click()
{
    m_documentCommands.FileSaveSub();
}

void frmTabulet::mnuFileSaveAsItem_Click()
{
    m_documentCommands.FileSaveAsSub();
}

void frmTabulet::mnuFilePrint_Click()
{
    m_printCommand.FilePrint();
}

void frmTabulet::mnuFileExportPdf_Click()
{
    m_printCommand.exportPdf();
}

void frmTabulet::mnuFileCalculatorCheck_Click()
{
    m_calculator->check();
}

void frmTabulet::mnuFilePreferences_Click()
{
    m_dialogs.showPreferences(this);
    // The transfer header may now name another translation mode.
    mnuViewCalculator_Click();
}

void frmTabulet::mnuRegDelete_Click()
{
    if (m_dialogs.removeSettings(this))
        m_settingsRemoved = true;
}

void frmTabulet::mnuFileExit_Click()
{
    m_closeConfirmed = m_documentCommands.Form_QueryUnload();
    if (m_closeConfirmed)
        close();
}

void frmTabulet::lstHeaders_Click()
{
    m_selection->showSelected();
}

void frmTabulet::lstHeaders_MouseDown()
{
    mnuHeaders->popup(QCursor::pos());
}

void frmTabulet::lstHeaders_DblClick()
{
    // A double click below the last entry finds nothing selected: there is nothing to rename.
    if (m_selection->selectedPosition() != -1)
        mnuHeadersEditHeader_Click();
}

void frmTabulet::lstHeaders_Drop(int from, int before)
{
    m_selection->selectEntry(m_headerCommands.dropHeader(from, before));
}

void frmTabulet::txtDataField_GotFocus()
{
    mnuEditPaste->setEnabled(true);
}

void frmTabulet::txtDataField_LostFocus()
{
    mnuEditPaste->setEnabled(false);
}

void frmTabulet::cmdNewHeader_Click()
{
    m_headerCommands.HeaderAdd();
}

void frmTabulet::mnuHeaders_Click()
{
    const int position = m_selection->selectedPosition();
    mnuHeadersEditHeader->setEnabled(position > -1);
    mnuHeadersRemoveHeader->setEnabled(position > -1);
    mnuHeadersMoveUp->setEnabled(position > 0);
    mnuHeadersMoveDown->setEnabled(position > -1 && position + 1 < m_document.records().count());
}

void frmTabulet::mnuHeadersNewHeader_Click()
{
    m_headerCommands.HeaderAdd();
}

void frmTabulet::mnuHeadersEditHeader_Click()
{
    m_headerCommands.HeaderEditSub(m_selection->selectedPosition());
}

void frmTabulet::mnuHeadersRemoveHeader_Click()
{
    m_headerCommands.removeHeader(m_selection->selectedPosition());
}

void frmTabulet::mnuHeadersMoveUp_Click()
{
    m_selection->selectEntry(m_headerCommands.moveHeader(m_selection->selectedPosition(), -1));
}

void frmTabulet::mnuHeadersMoveDown_Click()
{
    m_selection->selectEntry(m_headerCommands.moveHeader(m_selection->selectedPosition(), +1));
}

void frmTabulet::mnuEdit_Click()
{
    const bool anySelected = txtDataField->textCursor().hasSelection();
    mnuEditCopy->setEnabled(anySelected);
    mnuEditCut->setEnabled(anySelected);
    mnuEditPaste->setEnabled(!m_services.clipboard.text().isEmpty());
    mnuSelectAll->setEnabled(!txtDataField->document()->isEmpty());
    mnuEditInsertCharacter->setEnabled(!txtDataField->isReadOnly());
}

void frmTabulet::mnuEditUndo_Click()
{
    m_document.history().undo();
}

void frmTabulet::mnuEditRedo_Click()
{
    m_document.history().redo();
}

void frmTabulet::mnuEditCut_Click()
{
    m_clipboardCommands->cut();
}

void frmTabulet::mnuEditCopy_Click()
{
    m_clipboardCommands->copy();
}

void frmTabulet::mnuEditPaste_Click()
{
    m_clipboardCommands->paste();
}

void frmTabulet::mnuSelectAll_Click()
{
    m_clipboardCommands->selectAll();
}

void frmTabulet::mnuEditInsertCharacter_Click()
{
    m_calculator->insertCharacter();
}

void frmTabulet::mnuEditFind_Click()
{
    m_find->showFind();
}

void frmTabulet::mnuEditReplace_Click()
{
    m_find->showReplace();
}

void frmTabulet::mnuEditFindNext_Click()
{
    m_find->findNext(false);
}

void frmTabulet::mnuEditFindPrevious_Click()
{
    m_find->findNext(true);
}

void frmTabulet::mnuViewCalculator_Click()
{
    // Off, as it mostly is, it reads no preference at start-up.
    const int mode = mnuViewCalculator->isChecked() ? m_calculator->translationMode() : -1;
    m_document.records().setShownMode(mode);
    m_dataField->setShownMode(mode);
}

void frmTabulet::mnuViewResizable_Click()
{
    m_sizing->setResizable(mnuViewResizable->isChecked());
}

void frmTabulet::mnuCalculatorSend_Click()
{
    m_link.sendDocument();
}

void frmTabulet::mnuCalculatorGet_Click()
{
    m_link.getVariable();
}

void frmTabulet::mnuCalculatorReceive_Click()
{
    m_link.receive();
}

void frmTabulet::mnuCalculatorSettings_Click()
{
    m_link.editSettings();
}

void frmTabulet::mnuHelpContents_Click()
{
    m_dialogs.showHelp(this);
}

void frmTabulet::mnuHelpAboutTabulet_Click()
{
    m_dialogs.showAbout(this);
}

void frmTabulet::Toolbar1_ButtonClick(const QString& key)
{
    for (const Command& command : Commands) {
        if (command.toolbarKey && key == QLatin1String(command.toolbarKey))
            return (this->*command.handler)();
    }
}

// Back in the window, the user hears of a file changed behind it, once the activation is over.
void frmTabulet::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QMetaObject::invokeMethod(
            this, [this] { m_documentCommands.reviewFileOnDisk(); }, Qt::QueuedConnection);
}

void frmTabulet::closeEvent(QCloseEvent* event)
{
    if (!m_closeConfirmed && !m_documentCommands.Form_QueryUnload()) {
        event->ignore();
        return;
    }
    if (!m_settingsRemoved) {
        windowplacement::store(*this, m_services.settings);
        windowplacement::storeSize(*this, m_services.settings, mnuViewResizable->isChecked());
        windowplacement::storeCalculatorCharacters(m_services.settings,
                                                   mnuViewCalculator->isChecked());
    }
    event->accept();
}

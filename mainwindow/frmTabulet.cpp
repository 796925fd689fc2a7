#include "mainwindow/frmTabulet.h"

#include "core/CalculatorCheck.h"
#include "core/Headers.h"
#include "core/Preferences.h"
#include "core/RecordStore.h"
#include "mainwindow/RecentFilesMenu.h"
#include "mainwindow/WindowPlacement.h"
#include "mainwindow/frmCalculatorCheck.h"
#include "mainwindow/frmInsertCharacter.h"
#include "platform/Clipboard.h"
#include "platform/ProgramDialogs.h"
#include "platform/WindowLook.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDropEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <array>
#include <utility>

namespace {

constexpr int RightButton = 2;
constexpr int ToolbarButtonPixels = 24;
constexpr int ToolbarGapPixels = 8;

// Mouse buttons as the handlers receive them: 1 left, 2 right, 4 middle.
int buttonNumber(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int shiftNumber(Qt::KeyboardModifiers modifiers)
{
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

QFrame* ruleLine(QWidget* parent, const QString& name, const QColor& colour, const QRect& geometry)
{
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setGeometry(geometry);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    return line;
}

} // namespace

frmTabulet::frmTabulet(const Services& services, ProgramDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), m_services(services), m_dialogs(dialogs),
      m_documentCommands(m_document, services), m_headerCommands(m_document, services),
      m_printCommand(m_document, m_documentCommands, services)
{
    setObjectName(QStringLiteral("frmTabulet"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    setWindowIcon(tabuletIcon());
    setFont(tabuletWidgetFont());
    m_documentCommands.setOwner(this);
    m_headerCommands.setOwner(this);
    m_printCommand.setOwner(this);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    client->setFixedSize(twips(5565), twips(4290));
    createToolBar(client);
    createControls(client);
    createMenus();
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    m_dataField = std::make_unique<DataFieldBinding>(*txtDataField, m_document);
    m_clipboardCommands = std::make_unique<ClipboardCommands>(*txtDataField, m_document,
                                                              services.clipboard);
    connectControls();
    connectMenus();
    connectDocument();
    applyCalculatorView();
    setAcceptDrops(true);
    lstHeaders->viewport()->setAcceptDrops(true);
    windowplacement::restore(*this, services.settings);
    Form_Load();
}

frmTabulet::~frmTabulet() = default;

void frmTabulet::openFileAtStart(const QString& path)
{
    m_documentCommands.openAtStart(path);
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

    lstHeaders = new QListView(client);
    lstHeaders->setObjectName(QStringLiteral("lstHeaders"));
    lstHeaders->setGeometry(twipsRect(120, 840, 3855, 1230));
    lstHeaders->setModel(&m_document.records());
    lstHeaders->setSelectionMode(QAbstractItemView::SingleSelection);
    lstHeaders->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // All entries are one line high; letting the view assume it keeps large files fast.
    lstHeaders->setUniformItemSizes(true);
    lstHeaders->setContextMenuPolicy(Qt::PreventContextMenu);
    // An entry can be dragged to another place in the list.
    lstHeaders->setDragEnabled(true);
    lstHeaders->setDragDropMode(QAbstractItemView::DragDrop);

    txtDataField = new QPlainTextEdit(client);
    txtDataField->setObjectName(QStringLiteral("txtDataField"));
    txtDataField->setGeometry(twipsRect(120, 2475, 3855, 1695));
    txtDataField->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtDataField->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtDataField->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtDataField->setTabChangesFocus(true);
    // The document's history takes every change back, the field's own edits included.
    txtDataField->setUndoRedoEnabled(false);

    lblDataHeaders = new QLabel(tr("Headers:"), client);
    lblDataHeaders->setObjectName(QStringLiteral("lblDataHeaders"));
    lblDataHeaders->move(twips(120), twips(555));
    lblDataHeaders->adjustSize();

    lblDataField = new QLabel(tr("Data:"), client);
    lblDataField->setObjectName(QStringLiteral("lblDataField"));
    lblDataField->move(twips(120), twips(2235));
    lblDataField->adjustSize();

    // The etched rule under the toolbar: a grey line with a white one below it.
    ruleLine(client, QStringLiteral("Line1_1"), QColor(128, 128, 128),
             QRect(0, twips(450), twips(7200), 1));
    ruleLine(client, QStringLiteral("Line1_0"), QColor(255, 255, 255),
             QRect(0, twips(465), twips(7200), 2));

    QWidget::setTabOrder(cmdNewHeader, lstHeaders);
    QWidget::setTabOrder(lstHeaders, txtDataField);
}

void frmTabulet::createMenus()
{
    auto addItem = [this](QMenu* menu, const char* name, const QString& caption,
                          const QKeySequence& shortcut = QKeySequence()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        return action;
    };
    auto addSeparator = [](QMenu* menu, const char* name) {
        QAction* separator = menu->addSeparator();
        separator->setObjectName(QLatin1String(name));
        return separator;
    };

    mnuFile = menuBar()->addMenu(tr("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileNewItem =
        addItem(mnuFile, "mnuFileNewItem", tr("&New"), QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuFileOpenItem =
        addItem(mnuFile, "mnuFileOpenItem", tr("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFileSaveItem =
        addItem(mnuFile, "mnuFileSaveItem", tr("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    new RecentFilesMenu(*mnuFile, mnuFileSaveItem, m_documentCommands.recentFiles(),
                        [this](const QString& path) { m_documentCommands.openRecent(path); });
    mnuFileSaveAsItem = addItem(mnuFile, "mnuFileSaveAsItem", tr("Save &As..."));
    addSeparator(mnuFile, "mnuFileSep");
    // Print Setup has never had a command behind it; it stays out of sight.
    mnuFilePageSetup = addItem(mnuFile, "mnuFilePageSetup", tr("Print Set&up..."));
    mnuFilePageSetup->setVisible(false);
    mnuFilePrint =
        addItem(mnuFile, "mnuFilePrint", tr("&Print..."), QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuFileExportPdf = addItem(mnuFile, "mnuFileExportPdf", tr("Expor&t as PDF..."));
    mnuFileCalculatorCheck = addItem(mnuFile, "mnuFileCalculatorCheck", tr("Calculator &Check..."));
    addSeparator(mnuFile, "mnuFileSep1");
    mnuFilePreferences = addItem(mnuFile, "mnuFilePreferences", tr("P&references..."));
    addSeparator(mnuFile, "mnuFileSep2")->setVisible(false);
    mnuRegDelete = addItem(mnuFile, "mnuRegDelete", tr("Re&move Registry Settings..."));
    addSeparator(mnuFile, "mnuHelpSep1");
    mnuFileExit = addItem(mnuFile, "mnuFileExit", tr("E&xit"));

    mnuEdit = menuBar()->addMenu(tr("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuEditUndo = addItem(mnuEdit, "mnuEditUndo", tr("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuEditRedo = addItem(mnuEdit, "mnuEditRedo", tr("&Redo"),
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    mnuEditRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    addSeparator(mnuEdit, "mnuEditHistorySep");
    mnuEditCut = addItem(mnuEdit, "mnuEditCut", tr("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X));
    mnuEditCopy = addItem(mnuEdit, "mnuEditCopy", tr("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuEditPaste =
        addItem(mnuEdit, "mnuEditPaste", tr("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V));
    addSeparator(mnuEdit, "mnuSep");
    mnuSelectAll =
        addItem(mnuEdit, "mnuSelectAll", tr("Select &All"), QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuEditInsertCharacter = addItem(mnuEdit, "mnuEditInsertCharacter", tr("Insert C&haracter..."));
    addSeparator(mnuEdit, "mnuEditFindSep");
    mnuEditFind =
        addItem(mnuEdit, "mnuEditFind", tr("&Find..."), QKeySequence(Qt::CTRL | Qt::Key_F));
    mnuEditFindNext =
        addItem(mnuEdit, "mnuEditFindNext", tr("Find &Next"), QKeySequence(Qt::Key_F3));
    mnuEditFindPrevious = addItem(mnuEdit, "mnuEditFindPrevious", tr("Find Pre&vious"),
                                  QKeySequence(Qt::SHIFT | Qt::Key_F3));
    mnuEditReplace =
        addItem(mnuEdit, "mnuEditReplace", tr("R&eplace..."), QKeySequence(Qt::CTRL | Qt::Key_R));

    mnuHeaders = menuBar()->addMenu(tr("He&aders"));
    mnuHeaders->setObjectName(QStringLiteral("mnuHeaders"));
    mnuHeadersNewHeader = addItem(mnuHeaders, "mnuHeadersNewHeader", tr("&New Header..."),
                                  QKeySequence(Qt::CTRL | Qt::Key_H));
    mnuHeadersRemoveHeader = addItem(mnuHeaders, "mnuHeadersRemoveHeader", tr("&Remove Header"));
    mnuHeadersEditHeader = addItem(mnuHeaders, "mnuHeadersEditHeader", tr("&Edit Header..."));
    addSeparator(mnuHeaders, "mnuHeadersMoveSep");
    mnuHeadersMoveUp = addItem(mnuHeaders, "mnuHeadersMoveUp", tr("Move &Up"),
                               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up));
    mnuHeadersMoveDown = addItem(mnuHeaders, "mnuHeadersMoveDown", tr("Move &Down"),
                                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down));

    mnuView = menuBar()->addMenu(tr("&View"));
    mnuView->setObjectName(QStringLiteral("mnuView"));
    mnuViewCalculator = addItem(mnuView, "mnuViewCalculator", tr("&Calculator Characters"));
    mnuViewCalculator->setCheckable(true);
    mnuViewCalculator->setChecked(windowplacement::calculatorCharacters(m_services.settings));

    mnuHelp = menuBar()->addMenu(tr("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpAboutTabulet = addItem(mnuHelp, "mnuHelpAboutTabulet", tr("&About Tabulet"));
}

void frmTabulet::createToolBar(QWidget* client)
{
    Toolbar1 = new QToolBar(client);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setGeometry(twipsRect(0, 0, 5565, 450));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(16, 16));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    Toolbar1->setFocusPolicy(Qt::NoFocus);

    addToolbarGap(QStringLiteral("sep"));
    addToolbarButton(QStringLiteral("tbrFileNew"), QStringLiteral("new"), tr("New File"));
    addToolbarButton(QStringLiteral("tbrFileOpen"), QStringLiteral("open"), tr("Open File"));
    addToolbarButton(QStringLiteral("tbrFileSave"), QStringLiteral("save"), tr("Save File"));
    addToolbarGap(QStringLiteral("sep2"));
    addToolbarButton(QStringLiteral("tbrFilePrint"), QStringLiteral("print"), tr("Print File"));
    addToolbarGap(QStringLiteral("sep3"));
    addToolbarButton(QStringLiteral("tbrCut"), QStringLiteral("cut"), tr("Cut"));
    addToolbarButton(QStringLiteral("tbrCopy"), QStringLiteral("copy"), tr("Copy"));
    addToolbarButton(QStringLiteral("tbrPaste"), QStringLiteral("paste"), tr("Paste"));
    addToolbarGap(QStringLiteral("sep4"));
    addToolbarButton(QStringLiteral("tbrPreferences"), QStringLiteral("preferences"),
                     tr("Preferences"));
    addToolbarGap(QStringLiteral("sep5"));
    addToolbarButton(QStringLiteral("tbrUndo"), QStringLiteral("undo"), tr("Undo"));
    addToolbarButton(QStringLiteral("tbrRedo"), QStringLiteral("redo"), tr("Redo"));
}

void frmTabulet::addToolbarButton(const QString& key, const QString& glyph, const QString& toolTip)
{
    QAction* button = Toolbar1->addAction(toolbarGlyph(glyph), QString());
    button->setObjectName(key);
    button->setData(key);
    button->setToolTip(toolTip);
    if (QWidget* widget = Toolbar1->widgetForAction(button)) {
        widget->setFixedSize(ToolbarButtonPixels, ToolbarButtonPixels);
        widget->setFocusPolicy(Qt::NoFocus);
    }
}

void frmTabulet::addToolbarGap(const QString& key)
{
    auto* gap = new QWidget(Toolbar1);
    gap->setFixedSize(ToolbarGapPixels, ToolbarButtonPixels);
    QAction* action = Toolbar1->addWidget(gap);
    action->setObjectName(key);
    action->setData(key);
}

void frmTabulet::connectControls()
{
    connect(cmdNewHeader, &QPushButton::clicked, this, &frmTabulet::cmdNewHeader_Click);
    connect(lstHeaders->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmTabulet::selectionChanged);
    connect(txtDataField->document(), &QTextDocument::contentsChange, m_dataField.get(),
            &DataFieldBinding::txtDataField_Change);
    lstHeaders->viewport()->installEventFilter(this);
    txtDataField->installEventFilter(this);
    txtDataField->viewport()->installEventFilter(this);
    connect(Toolbar1, &QToolBar::actionTriggered, this,
            [this](QAction* button) { Toolbar1_ButtonClick(button->data().toString()); });
}

void frmTabulet::connectMenus()
{
    const std::array<std::pair<QAction*, void (frmTabulet::*)()>, 27> items{{
        {mnuFileNewItem, &frmTabulet::mnuFileNewItem_Click},
        {mnuFileOpenItem, &frmTabulet::mnuFileOpenItem_Click},
        {mnuFileSaveItem, &frmTabulet::mnuFileSaveItem_Click},
        {mnuFileSaveAsItem, &frmTabulet::mnuFileSaveAsItem_Click},
        {mnuFilePrint, &frmTabulet::mnuFilePrint_Click},
        {mnuFileExportPdf, &frmTabulet::mnuFileExportPdf_Click},
        {mnuFileCalculatorCheck, &frmTabulet::mnuFileCalculatorCheck_Click},
        {mnuViewCalculator, &frmTabulet::mnuViewCalculator_Click},
        {mnuEditInsertCharacter, &frmTabulet::mnuEditInsertCharacter_Click},
        {mnuFilePreferences, &frmTabulet::mnuFilePreferences_Click},
        {mnuRegDelete, &frmTabulet::mnuRegDelete_Click},
        {mnuFileExit, &frmTabulet::mnuFileExit_Click},
        {mnuEditCut, &frmTabulet::mnuEditCut_Click},
        {mnuEditCopy, &frmTabulet::mnuEditCopy_Click},
        {mnuEditPaste, &frmTabulet::mnuEditPaste_Click},
        {mnuSelectAll, &frmTabulet::mnuSelectAll_Click},
        {mnuHeadersNewHeader, &frmTabulet::mnuHeadersNewHeader_Click},
        {mnuHeadersRemoveHeader, &frmTabulet::mnuHeadersRemoveHeader_Click},
        {mnuHeadersEditHeader, &frmTabulet::mnuHeadersEditHeader_Click},
        {mnuEditUndo, &frmTabulet::mnuEditUndo_Click},
        {mnuEditRedo, &frmTabulet::mnuEditRedo_Click},
        {mnuEditFind, &frmTabulet::mnuEditFind_Click},
        {mnuEditFindNext, &frmTabulet::mnuEditFindNext_Click},
        {mnuEditFindPrevious, &frmTabulet::mnuEditFindPrevious_Click},
        {mnuEditReplace, &frmTabulet::mnuEditReplace_Click},
        {mnuHeadersMoveUp, &frmTabulet::mnuHeadersMoveUp_Click},
        {mnuHeadersMoveDown, &frmTabulet::mnuHeadersMoveDown_Click},
    }};
    for (const auto& [item, handler] : items)
        connect(item, &QAction::triggered, this, handler);
    connect(mnuHelpAboutTabulet, &QAction::triggered, this, &frmTabulet::mnuHelpAboutTabulet_Click);
    connect(mnuEdit, &QMenu::aboutToShow, this, &frmTabulet::mnuEdit_Click);
    connect(mnuHeaders, &QMenu::aboutToShow, this, &frmTabulet::mnuHeaders_Click);
}

void frmTabulet::connectDocument()
{
    connect(&m_document, &Document::captionChanged, this, &QWidget::setWindowTitle);
    connect(&m_document, &Document::dataFieldReset, m_dataField.get(),
            &DataFieldBinding::showLoose);
    connect(&m_document.records(), &RecordStore::entryAboutToBeRemoved, this,
            &frmTabulet::entryAboutToBeRemoved);
    connect(&m_document, &Document::stepShown, this, &frmTabulet::showStep);
    QUndoStack& history = m_document.history();
    for (auto changed : {&QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged})
        connect(&history, changed, this, &frmTabulet::updateHistoryItems);
    for (auto changed : {&QUndoStack::undoTextChanged, &QUndoStack::redoTextChanged})
        connect(&history, changed, this, &frmTabulet::updateHistoryItems);
    updateHistoryItems();
}

int frmTabulet::selectedPosition() const
{
    const QModelIndexList selected = lstHeaders->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

void frmTabulet::selectionChanged()
{
    if (selectedPosition() >= 0)
        lstHeaders_Click();
    else
        m_dataField->detach();
}

// A removal leaves no entry selected; the list view would otherwise select the entry that
// moves up into the removed one's place, and so show that entry's record.
void frmTabulet::entryAboutToBeRemoved(int position)
{
    if (position == selectedPosition())
        lstHeaders->selectionModel()->clear();
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

void frmTabulet::mnuFilePreferences_Click()
{
    m_dialogs.showPreferences(this);
    // The transfer header may now name another translation mode.
    applyCalculatorView();
}

void frmTabulet::mnuFileCalculatorCheck_Click()
{
    const calculator::CalculatorReport report = calculator::checkForCalculator(
        m_document.records(), preferences::transferHeader(m_services.settings));
    frmCalculatorCheck check(report, m_document.records(), this);
    check.exec();
    if (const std::optional<calculator::CalculatorProblem> problem = check.goTo()) {
        selectEntry(problem->position);
        if (!problem->inHeader) {
            m_dataField->placeCursor(problem->offset, 1);
            txtDataField->setFocus();
        }
    }
}

int frmTabulet::calculatorMode() const
{
    return calculator::translationMode(preferences::transferHeader(m_services.settings));
}

void frmTabulet::mnuViewCalculator_Click()
{
    applyCalculatorView();
}

void frmTabulet::applyCalculatorView()
{
    // Off, as it mostly is, it reads no preference at start-up.
    const int mode = mnuViewCalculator->isChecked() ? calculatorMode() : -1;
    m_document.records().setShownMode(mode);
    m_dataField->setShownMode(mode);
}

// The character goes in as the next save stores it: through the view, which spells what is
// typed for the file, or spelt here when the field shows the file's own spelling.
void frmTabulet::mnuEditInsertCharacter_Click()
{
    const int mode = calculatorMode();
    frmInsertCharacter palette(mode, this);
    if (palette.exec() != QDialog::Accepted || !palette.chosen())
        return;
    const int code = *palette.chosen();
    m_clipboardCommands->insertCharacter(m_dataField->shownMode() >= 0
                                             ? calculator::glyph(code).toString()
                                             : calculator::spellingFor(code, mode));
}

void frmTabulet::mnuRegDelete_Click()
{
    if (m_dialogs.removeSettings(this))
        m_settingsRemoved = true;
}

void frmTabulet::mnuFileExit_Click()
{
    if (!Form_QueryUnload())
        return;
    m_closeConfirmed = true;
    close();
}

// The close box and the system menu; false when closing must not go on.
bool frmTabulet::Form_QueryUnload()
{
    return m_documentCommands.Form_QueryUnload();
}

void frmTabulet::lstHeaders_Click()
{
    const int position = selectedPosition();
    if (position == -1)
        return;
    m_document.endTyping();
    m_dataField->showRecord(m_document.records().recordIndexAt(position));
}

void frmTabulet::lstHeaders_MouseDown(int Button, int /*Shift*/, float /*X*/, float /*Y*/)
{
    lstHeaders->setFocus(Qt::MouseFocusReason);
    if (Button == RightButton)
        mnuHeaders->popup(QCursor::pos());
}

void frmTabulet::lstHeaders_DblClick()
{
    // A double click below the last entry finds nothing selected: there is nothing to rename.
    if (selectedPosition() != -1)
        mnuHeadersEditHeader_Click();
}

void frmTabulet::txtDataField_GotFocus()
{
    mnuEditPaste->setEnabled(true);
}

void frmTabulet::txtDataField_LostFocus()
{
    mnuEditPaste->setEnabled(false);
}

void frmTabulet::mnuHeaders_Click()
{
    const bool entrySelected = selectedPosition() > -1;
    mnuHeadersEditHeader->setEnabled(entrySelected);
    mnuHeadersRemoveHeader->setEnabled(entrySelected);
    const int position = selectedPosition();
    mnuHeadersMoveUp->setEnabled(position > 0);
    mnuHeadersMoveDown->setEnabled(entrySelected && position + 1 < m_document.records().count());
}

void frmTabulet::mnuHeadersMoveUp_Click()
{
    moveSelectedHeader(-1);
}

void frmTabulet::mnuHeadersMoveDown_Click()
{
    moveSelectedHeader(+1);
}

void frmTabulet::moveSelectedHeader(int by)
{
    const int position = selectedPosition();
    if (position >= 0)
        selectEntry(m_headerCommands.moveHeader(position, by));
}

void frmTabulet::selectEntry(int position)
{
    const QModelIndex entry = m_document.records().index(position);
    lstHeaders->selectionModel()->setCurrentIndex(entry, QItemSelectionModel::ClearAndSelect);
    lstHeaders->scrollTo(entry);
}

void frmTabulet::showStep(qint32 recordIndex, qsizetype textAt)
{
    const int position = recordIndex < 0 ? -1 : m_document.records().positionOf(recordIndex);
    if (position < 0) {
        lstHeaders->selectionModel()->clear();
        return;
    }
    if (position != selectedPosition())
        selectEntry(position);
    else
        m_dataField->showRecord(recordIndex);
    if (textAt >= 0) {
        m_dataField->placeCursor(textAt);
        txtDataField->setFocus();
    }
}

void frmTabulet::mnuEditUndo_Click()
{
    m_document.endTyping();
    m_document.history().undo();
}

void frmTabulet::mnuEditRedo_Click()
{
    m_document.endTyping();
    m_document.history().redo();
}

frmFind& frmTabulet::findWindow()
{
    if (m_find == nullptr) {
        m_find = new frmFind(this);
        connect(m_find, &frmFind::findRequested, this, &frmTabulet::findMatch);
        connect(m_find, &frmFind::replaceRequested, this, &frmTabulet::replaceMatch);
        connect(m_find, &frmFind::replaceAllRequested, this, &frmTabulet::replaceAllMatches);
    }
    return *m_find;
}

void frmTabulet::mnuEditFind_Click()
{
    findWindow().showFor(false);
}

void frmTabulet::mnuEditReplace_Click()
{
    findWindow().showFor(true);
}

void frmTabulet::mnuEditFindNext_Click()
{
    if (m_find == nullptr || m_find->options().text.isEmpty())
        return mnuEditFind_Click();
    findMatch(false);
}

void frmTabulet::mnuEditFindPrevious_Click()
{
    if (m_find == nullptr || m_find->options().text.isEmpty())
        return mnuEditFind_Click();
    findMatch(true);
}

// The view shows the calculator's characters; the records spell them as codes.
QString frmTabulet::spelledForRecords(const QString& typed) const
{
    const int mode = m_dataField->shownMode();
    return mode >= 0 ? calculator::fileText(typed, mode) : typed;
}

FindOptions frmTabulet::recordFindOptions()
{
    FindOptions options = findWindow().options();
    options.text = spelledForRecords(options.text);
    return options;
}

void frmTabulet::findMatch(bool backwards)
{
    const FindOptions options = recordFindOptions();
    if (options.text.isEmpty())
        return;
    const FindResult result =
        Finder(m_document.records(), options).find(searchStart(backwards), backwards);
    if (!result.match) {
        m_find->setStatus(tr("Not found."));
        return;
    }
    selectMatch(*result.match);
    m_find->setStatus(!result.wrapped ? QString()
                      : backwards     ? tr("Went on from the end of the list.")
                                      : tr("Went on from the start of the list."));
}

// After the match found last, while its entry is still selected; else from the selected entry,
// or from the start of the list.
TextPlace frmTabulet::searchStart(bool backwards) const
{
    const int selected = selectedPosition();
    if (m_lastMatch && m_lastMatch->place.position == selected) {
        TextPlace from = m_lastMatch->place;
        if (!backwards)
            from.at += m_lastMatch->length;
        return from;
    }
    return {std::max(selected, 0), true, 0};
}

void frmTabulet::selectMatch(const FoundMatch& match)
{
    if (match.place.position != selectedPosition())
        selectEntry(match.place.position);
    if (!match.place.inHeader)
        m_dataField->placeCursor(match.place.at, match.length);
    m_lastMatch = match;
}

void frmTabulet::replaceMatch()
{
    const FindOptions options = recordFindOptions();
    const int position = selectedPosition();
    if (!m_lastMatch || m_lastMatch->place.position != position || options.text.isEmpty())
        return findMatch(false);
    const FoundMatch match = *std::exchange(m_lastMatch, std::nullopt);
    const QString replacement = spelledForRecords(m_find->replacement());
    RecordStore& records = m_document.records();
    if (match.place.inHeader) {
        const QString header =
            records.headerAt(position).replace(match.place.at, match.length, replacement);
        if (header.size() > HeaderLimit) {
            m_find->setStatus(tr("Not replaced: the header would be longer than %1 characters.")
                                  .arg(HeaderLimit));
            return;
        }
        m_document.renameHeader(position, header);
    } else {
        const Document::OwnStep step(m_document, tr("Replace"));
        m_document.changeText(records.recordIndexAt(position), match.place.at, match.length,
                              replacement);
        refreshDataField();
    }
    m_lastMatch = FoundMatch{match.place, replacement.size()};
    findMatch(false);
    m_find->setStatus((tr("Replaced 1.") + u' ' + m_find->status()).trimmed());
}

void frmTabulet::replaceAllMatches()
{
    const FindOptions options = recordFindOptions();
    if (options.text.isEmpty())
        return;
    const QList<FoundMatch> matches = Finder(m_document.records(), options).findAll();
    const Document::Replaced done =
        m_document.replaceAll(matches, spelledForRecords(m_find->replacement()));
    m_lastMatch.reset();
    refreshDataField();
    QString status = tr("Replaced %1.").arg(done.replaced);
    if (done.refused > 0)
        status += u' ' + tr("%1 in headers not replaced: the header would be longer than %2 "
                            "characters.")
                             .arg(done.refused)
                             .arg(HeaderLimit);
    m_find->setStatus(status);
}

void frmTabulet::refreshDataField()
{
    const int position = selectedPosition();
    if (position >= 0)
        m_dataField->showRecord(m_document.records().recordIndexAt(position));
}

void frmTabulet::updateHistoryItems()
{
    const QUndoStack& history = m_document.history();
    const auto named = [](const QString& caption, const QString& step) {
        return step.isEmpty() ? caption : caption + u' ' + step;
    };
    mnuEditUndo->setText(named(tr("&Undo"), history.undoText()));
    mnuEditRedo->setText(named(tr("&Redo"), history.redoText()));
    mnuEditUndo->setEnabled(history.canUndo());
    mnuEditRedo->setEnabled(history.canRedo());
}

void frmTabulet::cmdNewHeader_Click()
{
    m_headerCommands.HeaderAdd();
}

void frmTabulet::mnuHeadersNewHeader_Click()
{
    m_headerCommands.HeaderAdd();
}

void frmTabulet::mnuHeadersEditHeader_Click()
{
    m_headerCommands.HeaderEditSub(selectedPosition());
}

void frmTabulet::mnuHeadersRemoveHeader_Click()
{
    m_headerCommands.removeHeader(selectedPosition());
}

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

void frmTabulet::Toolbar1_ButtonClick(const QString& key)
{
    // The buttons run the menu handlers directly, whether or not the menu item is enabled.
    using Handler = void (frmTabulet::*)();
    static const std::array<std::pair<QLatin1String, Handler>, 10> handlers{{
        {QLatin1String("tbrFileNew"), &frmTabulet::mnuFileNewItem_Click},
        {QLatin1String("tbrFileOpen"), &frmTabulet::mnuFileOpenItem_Click},
        {QLatin1String("tbrFileSave"), &frmTabulet::mnuFileSaveItem_Click},
        {QLatin1String("tbrFilePrint"), &frmTabulet::mnuFilePrint_Click},
        {QLatin1String("tbrCut"), &frmTabulet::mnuEditCut_Click},
        {QLatin1String("tbrCopy"), &frmTabulet::mnuEditCopy_Click},
        {QLatin1String("tbrPaste"), &frmTabulet::mnuEditPaste_Click},
        {QLatin1String("tbrPreferences"), &frmTabulet::mnuFilePreferences_Click},
        {QLatin1String("tbrUndo"), &frmTabulet::mnuEditUndo_Click},
        {QLatin1String("tbrRedo"), &frmTabulet::mnuEditRedo_Click},
    }};
    for (const auto& [buttonKey, handler] : handlers) {
        if (key == buttonKey) {
            (this->*handler)();
            return;
        }
    }
}

void frmTabulet::mnuHelpAboutTabulet_Click()
{
    m_dialogs.showAbout(this);
}

bool frmTabulet::eventFilter(QObject* watched, QEvent* event)
{
    // A file dragged over the list or the field is opened like one dropped anywhere else on the
    // window: the drag goes to the control under the pointer, and the field would insert the
    // file's name.
    const bool overControl =
        watched == lstHeaders->viewport() || watched == txtDataField->viewport();
    if (overControl && (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
                        event->type() == QEvent::Drop)) {
        if (takeFileDrop(static_cast<QDropEvent*>(event)) ||
            takeEntryDrop(static_cast<QDropEvent*>(event)))
            return true;
    }
    if (watched == lstHeaders->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            const auto* press = static_cast<QMouseEvent*>(event);
            const QPointF at = press->position();
            lstHeaders_MouseDown(buttonNumber(press->button()), shiftNumber(press->modifiers()),
                                 float(at.x()), float(at.y()));
            // Only the left button selects; a right press opens the Headers menu instead.
            return press->button() != Qt::LeftButton;
        }
        if (event->type() == QEvent::MouseButtonDblClick) {
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                lstHeaders_DblClick();
            return true;
        }
    } else if (watched == txtDataField && event->type() == QEvent::KeyPress) {
        // The field's own Cut, Copy and Paste would put LF line ends on the clipboard; the
        // keys do what the Edit menu does.
        const auto* key = static_cast<QKeyEvent*>(event);
        const std::array<std::pair<QKeySequence::StandardKey, void (frmTabulet::*)()>, 5> edits{
            {{QKeySequence::Cut, &frmTabulet::mnuEditCut_Click},
             {QKeySequence::Copy, &frmTabulet::mnuEditCopy_Click},
             {QKeySequence::Paste, &frmTabulet::mnuEditPaste_Click},
             {QKeySequence::Undo, &frmTabulet::mnuEditUndo_Click},
             {QKeySequence::Redo, &frmTabulet::mnuEditRedo_Click}}};
        for (const auto& [standardKey, handler] : edits) {
            if (key->matches(standardKey)) {
                (this->*handler)();
                return true;
            }
        }
    } else if (watched == txtDataField) {
        // Opening a menu takes the focus away only while the menu is open; Paste must show
        // the state the Edit menu just set, not the field's focus loss to the menu itself.
        const auto byPopup = [event] {
            return static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason;
        };
        if (event->type() == QEvent::FocusIn && !byPopup())
            txtDataField_GotFocus();
        else if (event->type() == QEvent::FocusOut && !byPopup())
            txtDataField_LostFocus();
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmTabulet::closeEvent(QCloseEvent* event)
{
    if (!m_closeConfirmed && !Form_QueryUnload()) {
        event->ignore();
        return;
    }
    if (!m_settingsRemoved) {
        windowplacement::store(*this, m_services.settings);
        windowplacement::storeCalculatorCharacters(m_services.settings,
                                                   mnuViewCalculator->isChecked());
    }
    event->accept();
}

void frmTabulet::dragEnterEvent(QDragEnterEvent* event)
{
    takeFileDrop(event);
}

void frmTabulet::dragMoveEvent(QDragMoveEvent* event)
{
    takeFileDrop(event);
}

void frmTabulet::dropEvent(QDropEvent* event)
{
    takeFileDrop(event);
}

namespace {

QStringList localFiles(const QMimeData* data)
{
    QStringList files;
    if (data == nullptr)
        return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            files << url.toLocalFile();
    }
    return files;
}

} // namespace

// An entry dragged within the list goes where it is let go: above the entry under the pointer,
// or last below the entries. The list itself is never asked to move or remove rows.
bool frmTabulet::takeEntryDrop(QDropEvent* event)
{
    if (event->source() != lstHeaders)
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (event->type() != QEvent::Drop)
        return true;
    const int from = selectedPosition();
    const QModelIndex under = lstHeaders->indexAt(event->position().toPoint());
    int to = under.isValid() ? under.row() : m_document.records().count();
    if (under.isValid() && event->position().y() > lstHeaders->visualRect(under).center().y())
        ++to;
    if (from < 0)
        return true;
    // Taking the entry out moves every entry below it up by one.
    if (to > from)
        --to;
    m_document.moveHeader(from, to);
    selectEntry(to);
    return true;
}

// Accepts a drag that brings files; on the drop, opens them. False for anything else.
bool frmTabulet::takeFileDrop(QDropEvent* event)
{
    // Some drag sources hand over their files only while the drag moves, not with the drop.
    if (event->type() != QEvent::Drop)
        m_draggedFiles = localFiles(event->mimeData());
    QStringList files = localFiles(event->mimeData());
    if (event->type() == QEvent::Drop && files.isEmpty())
        files = std::exchange(m_draggedFiles, {});
    if (files.isEmpty())
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (event->type() == QEvent::Drop) {
        // The source waits until the drop returns; the questions come once it has let go.
        QMetaObject::invokeMethod(
            this, [this, files] { m_documentCommands.openDropped(files); }, Qt::QueuedConnection);
    }
    return true;
}

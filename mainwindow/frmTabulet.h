#pragma once

#include "core/Document.h"
#include "documentcommands/DocumentCommands.h"
#include "editing/HeaderCommands.h"
#include "link/LinkCommands.h"
#include "platform/Services.h"
#include "print/PrintCommand.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QString>
#include <memory>

class CalculatorCommands;
class ClipboardCommands;
class DataField;
class DataFieldBinding;
class FindSession;
class FieldKeys;
class FileDrops;
class HeaderListView;
class ProgramDialogs;
class QAction;
class SelectedRecord;
class WindowSizing;
class QLabel;
class QMenu;
class QPushButton;
class QSessionManager;
class QToolBar;

// The main window: the header list, the data field, the menus and the toolbar. It builds the
// controls and connects them, keeps the menus' enabled states, the list's selection and the
// data field in step with the document, and hands every command to the class that carries it
// out. Handlers are named after their control and event.
class frmTabulet final : public QMainWindow
{
    Q_OBJECT

public:
    frmTabulet(const Services& services, ProgramDialogs& dialogs, QWidget* parent = nullptr);
    ~frmTabulet() override;

    // At start: offers the unsaved work of a run that ended without closing, then opens a
    // file named on the command line, as Open does once its dialog has chosen it.
    void openFileAtStart(const QString& path);
    // The desktop session is ending: asks as Exit does where the session lets it ask.
    void commitSession(QSessionManager& manager);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // One menu item: where it goes, its caption and keys, what it runs, and its toolbar button
    // and the data field's own key that run the same, where it has them.
    struct Command
    {
        QMenu* frmTabulet::*menu;
        QAction* frmTabulet::*item; // none: a separator
        const char* name;
        void (frmTabulet::*handler)();
        const char* caption = nullptr;
        const char* shortcuts = ""; // portable text, "; " between two
        const char* toolbarKey = nullptr;
        const char* glyph = nullptr;
        const char* toolTip = nullptr;
        QKeySequence::StandardKey fieldKey = QKeySequence::UnknownKey;
    };
    static const QList<Command> Commands;
    struct Menu
    {
        QMenu* frmTabulet::*menu;
        const char* name;
        const char* caption;
    };
    static const QList<Menu> Menus;

    void Form_Load();
    void createControls(QWidget* client);
    void createDataField(QWidget* client);
    void createLabelsAndRules(QWidget* client);
    void createMenus();
    void addMenuItem(const Command& command);
    void finishMenus();
    void createToolBar(QWidget* client);
    void connectControls();
    void connectHeaderList();
    void connectDocument();

    void updateHistoryItems();

    void mnuFileNewItem_Click();
    void mnuFileOpenItem_Click();
    void mnuFileSaveItem_Click();
    void mnuFileSaveAsItem_Click();
    void mnuFilePrint_Click();
    void mnuFileExportPdf_Click();
    void mnuFileCalculatorCheck_Click();
    void mnuFilePreferences_Click();
    void mnuRegDelete_Click();
    void mnuFileExit_Click();

    void lstHeaders_Click();
    void lstHeaders_MouseDown();
    void lstHeaders_DblClick();
    void lstHeaders_Drop(int from, int before);
    void txtDataField_GotFocus();
    void txtDataField_LostFocus();
    void cmdNewHeader_Click();
    void mnuHeaders_Click();
    void mnuHeadersNewHeader_Click();
    void mnuHeadersEditHeader_Click();
    void mnuHeadersRemoveHeader_Click();
    void mnuHeadersMoveUp_Click();
    void mnuHeadersMoveDown_Click();

    void mnuEdit_Click();
    void mnuEditUndo_Click();
    void mnuEditRedo_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuSelectAll_Click();
    void mnuEditInsertCharacter_Click();
    void mnuEditFind_Click();
    void mnuEditFindNext_Click();
    void mnuEditFindPrevious_Click();
    void mnuEditReplace_Click();

    void mnuViewCalculator_Click();
    void mnuViewResizable_Click();
    void mnuCalculatorSend_Click();
    void mnuCalculatorGet_Click();
    void mnuCalculatorReceive_Click();
    void mnuCalculatorSettings_Click();
    void mnuHelpContents_Click();
    void mnuHelpAboutTabulet_Click();
    void Toolbar1_ButtonClick(const QString& key);

    Services m_services;
    ProgramDialogs& m_dialogs;
    Document m_document;
    DocumentCommands m_documentCommands;
    HeaderCommands m_headerCommands;
    PrintCommand m_printCommand;
    LinkCommands m_link;
    // Set once the user has agreed to close, so that the close box does not ask again.
    bool m_closeConfirmed = false;
    // Once the user has removed the settings, closing the window does not store its place anew.
    bool m_settingsRemoved = false;
    FileDrops* m_fileDrops = nullptr;
    // Goes before the window's controls: the field loses the focus as they go, and by then
    // there is no window to tell.
    std::unique_ptr<FieldKeys> m_fieldKeys;
    WindowSizing* m_sizing = nullptr;

    QPushButton* cmdNewHeader = nullptr;
    HeaderListView* lstHeaders = nullptr;
    DataField* txtDataField = nullptr;
    QLabel* lblDataHeaders = nullptr;
    QLabel* lblDataField = nullptr;
    QToolBar* Toolbar1 = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFileNewItem = nullptr;
    QAction* mnuFileOpenItem = nullptr;
    QAction* mnuFileSaveItem = nullptr;
    QAction* mnuFileSaveAsItem = nullptr;
    QAction* mnuFilePageSetup = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileExportPdf = nullptr;
    QAction* mnuFileCalculatorCheck = nullptr;
    QAction* mnuFilePreferences = nullptr;
    QAction* mnuRegDelete = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuEditUndo = nullptr;
    QAction* mnuEditRedo = nullptr;
    QAction* mnuEditCut = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditPaste = nullptr;
    QAction* mnuSelectAll = nullptr;
    QAction* mnuEditInsertCharacter = nullptr;
    QAction* mnuEditFind = nullptr;
    QAction* mnuEditFindNext = nullptr;
    QAction* mnuEditFindPrevious = nullptr;
    QAction* mnuEditReplace = nullptr;
    QMenu* mnuHeaders = nullptr;
    QAction* mnuHeadersNewHeader = nullptr;
    QAction* mnuHeadersRemoveHeader = nullptr;
    QAction* mnuHeadersEditHeader = nullptr;
    QAction* mnuHeadersMoveUp = nullptr;
    QAction* mnuHeadersMoveDown = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuViewCalculator = nullptr;
    QAction* mnuViewResizable = nullptr;
    QMenu* mnuCalculator = nullptr;
    QAction* mnuCalculatorSend = nullptr;
    QAction* mnuCalculatorGet = nullptr;
    QAction* mnuCalculatorReceive = nullptr;
    QAction* mnuCalculatorSettings = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpAboutTabulet = nullptr;

    // Built with the controls they work on.
    std::unique_ptr<DataFieldBinding> m_dataField;
    std::unique_ptr<ClipboardCommands> m_clipboardCommands;
    SelectedRecord* m_selection = nullptr;
    std::unique_ptr<FindSession> m_find;
    std::unique_ptr<CalculatorCommands> m_calculator;
};

#pragma once

#include "core/Document.h"
#include "documentcommands/DocumentCommands.h"
#include "editing/HeaderCommands.h"
#include "mainwindow/ClipboardCommands.h"
#include "mainwindow/DataFieldBinding.h"
#include "mainwindow/frmFind.h"
#include "platform/Services.h"
#include "print/PrintCommand.h"

#include <QMainWindow>
#include <QString>

class ProgramDialogs;
class QAction;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QLabel;
class QListView;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolBar;

// The main window: the header list, the data field, the menus and the toolbar. It builds the
// controls and connects them, keeps the list's selection and the data field in step with the
// document, and hands every command to the class that carries it out. Handlers are named after
// their control and event.
class frmTabulet final : public QMainWindow
{
    Q_OBJECT

public:
    frmTabulet(const Services& services, ProgramDialogs& dialogs, QWidget* parent = nullptr);
    ~frmTabulet() override;

    // Opens a file named on the command line, as Open does once its dialog has chosen it.
    void openFileAtStart(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void Form_Load();
    void createControls(QWidget* client);
    void createMenus();
    void createToolBar(QWidget* client);
    void addToolbarButton(const QString& key, const QString& glyph, const QString& toolTip);
    void addToolbarGap(const QString& key);
    void connectControls();
    void connectMenus();
    void connectDocument();

    // Position of the selected entry of the header list, -1 when none is selected.
    int selectedPosition() const;
    void selectionChanged();
    void entryAboutToBeRemoved(int position);

    void mnuFileNewItem_Click();
    void mnuFileOpenItem_Click();
    void mnuFileSaveItem_Click();
    void mnuFileSaveAsItem_Click();
    void mnuFilePrint_Click();
    void mnuFileExportPdf_Click();
    void mnuFileCalculatorCheck_Click();
    void mnuViewCalculator_Click();
    void mnuEditInsertCharacter_Click();
    // The translation mode the next save gives the file, and the view that shows it.
    int calculatorMode() const;
    void applyCalculatorView();
    void mnuFilePreferences_Click();
    void mnuRegDelete_Click();
    void mnuFileExit_Click();
    bool Form_QueryUnload();

    void lstHeaders_Click();
    void lstHeaders_MouseDown(int Button, int Shift, float X, float Y);
    void lstHeaders_DblClick();
    void txtDataField_GotFocus();
    void txtDataField_LostFocus();
    void mnuHeaders_Click();
    void cmdNewHeader_Click();
    void mnuHeadersNewHeader_Click();
    void mnuHeadersEditHeader_Click();
    void mnuHeadersRemoveHeader_Click();

    void mnuEdit_Click();
    void mnuEditUndo_Click();
    void mnuEditRedo_Click();
    void mnuEditFind_Click();
    void mnuEditFindNext_Click();
    void mnuEditFindPrevious_Click();
    void mnuEditReplace_Click();
    void mnuHeadersMoveUp_Click();
    void mnuHeadersMoveDown_Click();
    void moveSelectedHeader(int by);
    // After a step was taken back or done again: selects the record it changed and shows
    // where in its text.
    void showStep(qint32 recordIndex, qsizetype textAt);
    void selectEntry(int position);
    void updateHistoryItems();
    frmFind& findWindow();
    void findMatch(bool backwards);
    QString spelledForRecords(const QString& typed) const;
    // What Find looks for, as the records spell it.
    FindOptions recordFindOptions();
    TextPlace searchStart(bool backwards) const;
    void selectMatch(const FoundMatch& match);
    void replaceMatch();
    void replaceAllMatches();
    // The data field shows its record again after a change made outside it.
    void refreshDataField();
    // A header list entry dragged to another place in the list.
    bool takeEntryDrop(QDropEvent* event);
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuSelectAll_Click();
    void Toolbar1_ButtonClick(const QString& key);

    void mnuHelpAboutTabulet_Click();

    // Files dragged onto the window open as Open opens them; text dropped on the data field is
    // the field's own.
    bool takeFileDrop(QDropEvent* event);

    Services m_services;
    ProgramDialogs& m_dialogs;
    Document m_document;
    DocumentCommands m_documentCommands;
    HeaderCommands m_headerCommands;
    PrintCommand m_printCommand;
    // Set once the user has agreed to close, so that the close box does not ask again.
    bool m_closeConfirmed = false;
    // Once the user has removed the settings, closing the window does not store its place anew.
    bool m_settingsRemoved = false;
    frmFind* m_find = nullptr;
    // The match Find selected last, while it is still what is selected.
    std::optional<FoundMatch> m_lastMatch;
    // The files of the drag under way.
    QStringList m_draggedFiles;

    QPushButton* cmdNewHeader = nullptr;
    QListView* lstHeaders = nullptr;
    QPlainTextEdit* txtDataField = nullptr;
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
    QMenu* mnuView = nullptr;
    QAction* mnuViewCalculator = nullptr;
    QAction* mnuEditInsertCharacter = nullptr;
    QAction* mnuFilePreferences = nullptr;
    QAction* mnuRegDelete = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuEditCut = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditPaste = nullptr;
    QAction* mnuSelectAll = nullptr;
    QAction* mnuEditUndo = nullptr;
    QAction* mnuEditRedo = nullptr;
    QAction* mnuEditFind = nullptr;
    QAction* mnuEditFindNext = nullptr;
    QAction* mnuEditFindPrevious = nullptr;
    QAction* mnuEditReplace = nullptr;
    QAction* mnuHeadersMoveUp = nullptr;
    QAction* mnuHeadersMoveDown = nullptr;
    QMenu* mnuHeaders = nullptr;
    QAction* mnuHeadersNewHeader = nullptr;
    QAction* mnuHeadersRemoveHeader = nullptr;
    QAction* mnuHeadersEditHeader = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpAboutTabulet = nullptr;

    // Built with the controls they work on.
    std::unique_ptr<DataFieldBinding> m_dataField;
    std::unique_ptr<ClipboardCommands> m_clipboardCommands;
};

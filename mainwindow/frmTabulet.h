#pragma once

#include "platform/FileDialogs.h"
#include "platform/Services.h"

#include <QMainWindow>
#include <QString>

class QAction;
class QLabel;
class QListView;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolBar;
class RecordStore;

// The main window: the header list, the data field, the menus and the toolbar. Handlers are
// named after their control and event and are public so that the menus, the toolbar and the
// tests all call the same code. Their bodies live in the folder of the subsystem they belong
// to: document commands in core/, header editing in editing/, printing in print/, the
// preference commands in dialogs/.
class frmTabulet final : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmTabulet(const Services& services, QWidget* parent = nullptr);
    ~frmTabulet() override;

    // Start-up (mainwindow/frmTabulet.cpp).
    void Form_Load();

    // Document commands (core/).
    void mnuFileNewItem_Click();
    void mnuFileOpenItem_Click();
    void mnuFileSaveItem_Click();
    void mnuFileSaveAsItem_Click();
    void mnuFileExit_Click();
    // Opens a file named on the command line, as Open does once its dialog has chosen it.
    void openFileAtStart(const QString& path);
    // The close box and the system menu; returns false when closing must not go on.
    bool Form_QueryUnload();
    // Saves to `CurrentFileName` or asks for a name; returns whether a file was written.
    bool FileSaveSub();
    bool FileSaveAsSub();
    // Reader and writer procedures over the record store (core/).
    void FileInSub(const QByteArray& fileBytes);
    void FileOutSub();

    // Header selection and data field (editing/).
    void lstHeaders_Click();
    void txtDataField_Change();
    void lstHeaders_MouseDown(int Button, int Shift, float X, float Y);
    void lstHeaders_DblClick();
    void mnuHeaders_Click();
    void txtDataField_GotFocus();
    void txtDataField_LostFocus();
    // Header commands (editing/).
    void cmdNewHeader_Click();
    void mnuHeadersNewHeader_Click();
    void mnuHeadersEditHeader_Click();
    void mnuHeadersRemoveHeader_Click();
    void HeaderAdd();
    void HeaderEditSub();
    // The data field's text with line breaks as CR LF, as records hold it, and the way to set
    // it from such a text (editing/). The field itself works with LF.
    QString dataFieldText() const;
    void setDataFieldText(const QString& text);

    // Clipboard commands and toolbar dispatch (mainwindow/).
    void mnuEdit_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuSelectAll_Click();
    void Toolbar1_ButtonClick(const QString& key);

    // Printing (print/).
    void mnuFilePrint_Click();

    // Preferences, About box and settings removal (dialogs/).
    void mnuFilePreferences_Click();
    void mnuHelpAboutTabulet_Click();
    void mnuRegDelete_Click();

    // Position of the selected entry of the header list, -1 when none is selected.
    int selectedPosition() const;
    // The keys of the toolbar's positions from left to right, separators included.
    QStringList toolbarKeys() const;
    QAction* toolbarButton(const QString& key) const;

    // The document: the record store behind the header list, and the file it belongs to.
    RecordStore& store() { return *m_store; }
    QString CurrentFileName;
    // Each file dialog keeps the file it chose last (the printout names the file last opened).
    FileChoice dlgFileOpen;
    FileChoice dlgFileSaveAs;
    // The whole text of a data file, as the writer builds it.
    QString OutputText;
    // Always the data field's latest text, line breaks as CR LF.
    QString txtBuffer;

    // Controls, reached by their names.
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
    QAction* mnuFilePreferences = nullptr;
    QAction* mnuRegDelete = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuEditCut = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditPaste = nullptr;
    QAction* mnuSelectAll = nullptr;
    QMenu* mnuHeaders = nullptr;
    QAction* mnuHeadersNewHeader = nullptr;
    QAction* mnuHeadersRemoveHeader = nullptr;
    QAction* mnuHeadersEditHeader = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpAboutTabulet = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls(QWidget* client);
    void createMenus();
    void createToolBar(QWidget* client);
    void addToolbarButton(const QString& key, const QString& glyph, const QString& toolTip);
    void addToolbarGap(const QString& key);
    void connectControls();

    // Document commands (core/DocumentCommands.cpp).
    // How a save ended; the printout tells a cancelled Save As dialog from a failed save.
    enum class SaveOutcome { Saved, Cancelled, Failed };
    SaveOutcome saveDocument();
    SaveOutcome saveDocumentAs();
    bool documentHasContent() const;
    bool offerToSave(const QString& question);
    void clearDocument();
    void readChosenFile(const FileChoice& choice);
    bool writeDocument(const QString& path);

    Services m_services;
    RecordStore* m_store = nullptr;
    // Set once the user has agreed to close, so that the close box does not ask again.
    bool m_closeConfirmed = false;
};

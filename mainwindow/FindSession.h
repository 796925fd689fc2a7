#pragma once

#include <memory>

class Document;
class FindReplace;
class FindReplaceView;
class QWidget;
class frmFind;

// Edit > Find, Find Next, Find Previous and Replace: the Find window, made when it is first
// needed and kept while the main window lives, and what its buttons ask of Find and Replace.
class FindSession
{
public:
    FindSession(Document& document, FindReplaceView& view, QWidget& owner);
    ~FindSession();

    void showFind();
    void showReplace();
    // With nothing to look for yet, the Find window opens instead.
    void findNext(bool backwards);

private:
    frmFind& window();

    std::unique_ptr<FindReplace> m_findReplace;
    QWidget& m_owner;
    frmFind* m_window = nullptr;
};

#pragma once

#include "core/Finder.h"

#include <QCoreApplication>
#include <QString>
#include <optional>

class Document;

// What Find and Replace need of the window. Places are counted in the record's own spelling,
// with each line break as CR LF, as the document holds it; the window turns them into what it
// shows.
class FindReplaceView
{
public:
    virtual ~FindReplaceView() = default;

    // The selected entry of the header list; -1 when none is.
    virtual int selectedPosition() const = 0;
    // Selects the entry at `position`; the data field then shows its record.
    virtual void selectEntry(int position) = 0;
    // Selects `length` characters from `at` of the selected entry's record in the data field.
    virtual void showInText(qsizetype at, qsizetype length) = 0;
    // Marks `length` characters from `at` of the header of the entry at `position`.
    virtual void showInHeader(int position, qsizetype at, qsizetype length) = 0;
    // The data field shows the selected entry's record again, as a replacement changed it; with
    // no entry selected it keeps what it shows.
    virtual void showCurrentText() = 0;
    // The translation mode of the calculator's view; -1 while the view is off.
    virtual int shownMode() const = 0;
};

// Find Next, Find Previous, Replace and Replace All. Each returns what the Find window says
// about it; an empty find text does nothing.
class FindReplace
{
    Q_DECLARE_TR_FUNCTIONS(FindReplace)

public:
    FindReplace(Document& document, FindReplaceView& view);

    QString find(const FindOptions& options, bool backwards);
    // Replaces the match found last if the text there still matches; otherwise, or when there
    // is no such match, finds the next one and replaces nothing.
    QString replace(const FindOptions& options, const QString& replacement);
    QString replaceAll(const FindOptions& options, const QString& replacement);

private:
    QString spelledForRecords(const QString& typed) const;
    FindOptions spelledForRecords(FindOptions options) const;
    TextPlace searchStart(bool backwards) const;
    QString show(const FindResult& result, bool backwards);
    bool replaceMatch(const FoundMatch& match, const QString& replacement);

    Document& m_document;
    FindReplaceView& m_view;
    std::optional<FoundMatch> m_lastMatch;
};

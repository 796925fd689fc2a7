#pragma once

#include "core/RecordStore.h"

#include <QList>
#include <QString>
#include <optional>

// What Find looks for, and where.
struct FindOptions
{
    QString text;
    bool matchCase = false;
    bool wholeWords = false;
    bool inHeaders = true;
    bool inTexts = true;
};

// A place in the document: an entry, its header or its text, and a character in it.
struct TextPlace
{
    int position = 0;
    bool inHeader = true;
    qsizetype at = 0;
};

struct FoundMatch
{
    TextPlace place;
    qsizetype length = 0;
};

struct FindResult
{
    std::optional<FoundMatch> match;
    // The search went past the end of the list (or its start) and went on from the other end.
    bool wrapped = false;
};

// Finds every match in list order, header before text in each record. A search text holds no
// line break, so nothing matches across the end of a line. Characters of the file that were not
// edited are searched as the file's bytes, without turning them into text.
class Finder
{
public:
    Finder(const RecordStore& records, FindOptions options);

    // The next match after `from` (forwards: starting at it; backwards: ending before it),
    // wrapping once round the list.
    FindResult find(const TextPlace& from, bool backwards) const;
    // Every match, in list order.
    QList<FoundMatch> findAll() const;

private:
    qsizetype indexIn(const RecordPiece& piece, qsizetype from) const;
    qsizetype lastIndexIn(const RecordPiece& piece, qsizetype before) const;
    bool matchesAt(const RecordPiece& piece, qsizetype at) const;
    bool wholeWordAt(const RecordPiece& piece, qsizetype at) const;
    RecordPiece pieceAt(int position, bool inHeader) const;
    bool searched(bool inHeader) const
    {
        return inHeader ? m_options.inHeaders : m_options.inTexts;
    }

    const RecordStore& m_records;
    FindOptions m_options;
    QByteArray m_latin1;
    // The file's bytes hold the text somewhere: otherwise no unedited piece can match.
    bool m_inFile = false;
    bool m_latin1Only = false;
};

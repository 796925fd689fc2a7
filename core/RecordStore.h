#pragma once

#include "core/DataFile.h"

#include <QAbstractListModel>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <limits>
#include <optional>

// A header or a text as the store holds it: Latin-1 bytes of the file as they were read, or a
// text of its own once it has been typed or edited. A text of its own may hold characters that
// a data file cannot; the save looks for them.
struct RecordPiece
{
    QByteArrayView bytes;
    QStringView text;
    bool edited = false;

    QString toString() const { return edited ? text.toString() : QString::fromLatin1(bytes); }
    qsizetype size() const { return edited ? text.size() : bytes.size(); }
};

// The records of the open document: the header list's entries (header and record index), the
// record texts `RecordText` indexed by record index, and the counter `NextRecordIndex` that hands
// out record indices. It is the model behind the header list; no widget keeps a copy.
//
// What a file held stays in the file's own bytes, kept whole: headers and texts are pieces of
// them until they are edited, and only what the window shows is turned into text.
//
// Record indices are never reused and never reset while the program runs: a removed record
// keeps its slot, and New or Open only clear the entries. Texts of slots that no entry refers
// to any more are released, since nothing can reach them again.
class RecordStore final : public QAbstractListModel
{
    Q_OBJECT

public:
    // Once `NextRecordIndex` stands here no further record can be added in this run.
    static constexpr qint32 IndexLimit = std::numeric_limits<qint32>::max();

    // `firstIndex` lets tests start near the limit; the program always starts at 0.
    explicit RecordStore(qint32 firstIndex = 0, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Entries can be dragged to another place in the list; the window moves them.
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int count() const { return static_cast<int>(m_entries.size()); }
    // The list shows each header as the calculator will hold it after receiving it in this
    // translation mode; -1 shows headers as the file spells them.
    void setShownMode(int mode);
    int shownMode() const { return m_shownMode; }
    QString headerAt(int position) const { return headerPieceAt(position).toString(); }
    RecordPiece headerPieceAt(int position) const;
    qint32 recordIndexAt(int position) const { return m_entries.at(position).recordIndex; }

    // How many more records this run can still add.
    qint64 capacityLeft() const { return qint64(IndexLimit) - NextRecordIndex; }
    qint32 nextRecordIndex() const { return NextRecordIndex; }
    // Appends one record with an empty text: header without leading and trailing spaces,
    // a fresh record index. Returns the index, or nullopt when the limit has been reached.
    std::optional<qint32> addRecord(const QString& header);
    // Appends the records read from a file, in one batch, as many as this run can still take;
    // the store keeps the file's bytes. Returns how many were added.
    qsizetype addFileRecords(const QByteArray& fileBytes, datafile::ReadResult records);
    // Gives an entry a new header, as typed: spaces are kept.
    void renameAt(int position, const QString& header);
    void removeAt(int position);
    void clear();

    // An entry as it stands, for the history to put back as it was.
    struct Entry
    {
        // A piece of the file until the header is edited.
        datafile::Span header;
        QString editedHeader;
        qint32 recordIndex;
        bool headerEdited;
    };
    Entry entryAt(int position) const { return m_entries.at(position); }
    void insertEntry(int position, const Entry& entry);
    void replaceEntry(int position, const Entry& entry);
    // Moves the entry at `from` so that it stands at `to`, every other entry keeping its order.
    void moveEntry(int from, int to);
    // The entry's place in the list, -1 when no entry has this record.
    int positionOf(qint32 recordIndex) const;

    QString recordText(qint32 recordIndex) const { return textPiece(recordIndex).toString(); }
    RecordPiece textPiece(qint32 recordIndex) const;
    void setRecordText(qint32 recordIndex, const QString& text);
    // Where the file read holds the entry at `position` exactly as the writer writes it, quotes
    // included; nothing once the record has been edited or when the file spelt it otherwise.
    std::optional<datafile::Span> asWrittenInFile(int position) const;
    QByteArrayView fileBytes() const { return m_file; }
    // Replaces `removed` characters from `at` in a record's text by `added`: a keystroke costs
    // what it changes, not what the record holds.
    void replaceInText(qint32 recordIndex, qsizetype at, qsizetype removed, QStringView added);

Q_SIGNALS:
    // Before an entry goes, ahead of the views' own handling: a list view would otherwise move
    // its selection to the entry that takes the removed one's place.
    void entryAboutToBeRemoved(int position);

private:
    QString& ownText(qint32 recordIndex);
    bool fromFile(qint32 recordIndex) const;
    void keepOwnCopies();

    QList<Entry> m_entries;
    // The texts edited since they were read, and those of records added in Tabulet.
    QHash<qint32, QString> RecordText;
    // The last file read and, for its records, where their texts stand in it.
    QByteArray m_file;
    QList<datafile::Span> m_fileTexts;
    qint32 m_fileFirstIndex = 0;
    qint32 NextRecordIndex;
    int m_shownMode = -1;
};

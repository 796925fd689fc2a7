#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QString>
#include <limits>
#include <optional>

// The open document: the header list's entries (header text and record index), the record
// texts `RecordText` indexed by record index, and the counter `NextRecordIndex` that hands
// out record indices. It is the model behind the header list; no widget keeps a copy.
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

    struct NewRecord
    {
        QString header;
        QString text;
    };

    // `firstIndex` lets tests start near the limit; the program always starts at 0.
    explicit RecordStore(qint32 firstIndex = 0, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Start-up: no entries, no slots, `NextRecordIndex` at 0.
    void startUp();

    // Record index of each entry, for views and tests.
    static constexpr int RecordIndexRole = Qt::UserRole;

    int count() const { return static_cast<int>(m_entries.size()); }
    QString headerAt(int position) const { return m_entries.at(position).header; }
    qint32 recordIndexAt(int position) const { return m_entries.at(position).recordIndex; }
    void setRecordIndexAt(int position, qint32 recordIndex);
    // Position of the entry appended last; -1 once a removal or a clear has happened since.
    int addedLastPosition() const { return m_addedLast; }

    // How many more records this run can still add.
    qint64 capacityLeft() const { return qint64(IndexLimit) - NextRecordIndex; }
    // Appends one record with an empty text: header without leading and trailing spaces,
    // a fresh record index. Returns the index, or nullopt when the limit has been reached.
    std::optional<qint32> addRecord(const QString& header);
    // Appends many records in one batch, as reading a file does. Stops at the limit;
    // returns how many were added.
    qsizetype addRecords(QList<NewRecord> records);
    void insertAt(int position, const QString& header, qint32 recordIndex);
    void removeAt(int position);
    void clear();

    QString recordText(qint32 recordIndex) const { return RecordText.value(recordIndex); }
    void setRecordText(qint32 recordIndex, const QString& text);
    qint32 nextRecordIndex() const { return NextRecordIndex; }
    // Slots run from 0 to `NextRecordIndex` (one spare); none before the first add.
    qint64 slotCount() const { return m_anyAdded ? qint64(NextRecordIndex) + 1 : 0; }

private:
    struct Entry
    {
        QString header;
        qint32 recordIndex;
    };

    static QString trimSpaces(const QString& text);

    QList<Entry> m_entries;
    QHash<qint32, QString> RecordText;
    qint32 NextRecordIndex;
    bool m_anyAdded = false;
    int m_addedLast = -1;
};

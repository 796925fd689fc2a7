#include "core/RecordStore.h"

RecordStore::RecordStore(qint32 firstIndex, QObject* parent)
    : QAbstractListModel(parent), NextRecordIndex(firstIndex)
{}

int RecordStore::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant RecordStore::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return QVariant();
    const Entry& entry = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return entry.header;
    case RecordIndexRole:
        return entry.recordIndex;
    default:
        return QVariant();
    }
}

void RecordStore::startUp()
{
    clear();
    NextRecordIndex = 0;
    m_anyAdded = false;
}

void RecordStore::setRecordIndexAt(int position, qint32 recordIndex)
{
    m_entries[position].recordIndex = recordIndex;
    const QModelIndex changed = index(position);
    Q_EMIT dataChanged(changed, changed, {RecordIndexRole});
}

std::optional<qint32> RecordStore::addRecord(const QString& header)
{
    if (capacityLeft() < 1)
        return std::nullopt;
    const qint32 recordIndex = NextRecordIndex;
    beginInsertRows(QModelIndex(), count(), count());
    m_entries.append(Entry{trimSpaces(header), recordIndex});
    endInsertRows();
    m_addedLast = count() - 1;
    ++NextRecordIndex;
    m_anyAdded = true;
    return recordIndex;
}

qsizetype RecordStore::addRecords(QList<NewRecord> records)
{
    const qsizetype added = std::min<qint64>(records.size(), capacityLeft());
    if (added == 0)
        return 0;
    beginInsertRows(QModelIndex(), count(), count() + int(added) - 1);
    m_entries.reserve(m_entries.size() + added);
    for (qsizetype i = 0; i < added; ++i) {
        NewRecord& record = records[i];
        m_entries.append(Entry{trimSpaces(record.header), NextRecordIndex});
        if (!record.text.isEmpty())
            RecordText.insert(NextRecordIndex, std::move(record.text));
        ++NextRecordIndex;
    }
    endInsertRows();
    m_addedLast = count() - 1;
    m_anyAdded = true;
    return added;
}

void RecordStore::insertAt(int position, const QString& header, qint32 recordIndex)
{
    beginInsertRows(QModelIndex(), position, position);
    m_entries.insert(position, Entry{header, recordIndex});
    endInsertRows();
    m_addedLast = position;
}

void RecordStore::removeAt(int position)
{
    beginRemoveRows(QModelIndex(), position, position);
    m_entries.removeAt(position);
    endRemoveRows();
    m_addedLast = -1;
}

void RecordStore::clear()
{
    beginResetModel();
    m_entries.clear();
    RecordText.clear();
    endResetModel();
    m_addedLast = -1;
}

void RecordStore::setRecordText(qint32 recordIndex, const QString& text)
{
    // An empty text needs no slot of its own: reading an absent slot gives the empty text.
    if (text.isEmpty())
        RecordText.remove(recordIndex);
    else
        RecordText.insert(recordIndex, text);
}

QString RecordStore::trimSpaces(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.sliced(begin, end - begin);
}

#include "core/RecordStore.h"

#include "core/CalculatorCode.h"
#include "core/Headers.h"

namespace {

// A file text that has been edited since: its text is in `RecordText`. Marking it here spares
// the writer a lookup for every record the user did not touch.
constexpr datafile::Span EditedSpan{0, -1};

} // namespace

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
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    if (m_shownMode < 0)
        return headerAt(index.row());
    const RecordPiece header = headerPieceAt(index.row());
    return header.edited ? calculator::shownText(header.text, m_shownMode)
                         : calculator::shownText(header.bytes, m_shownMode);
}

void RecordStore::setShownMode(int mode)
{
    if (mode == m_shownMode)
        return;
    m_shownMode = mode;
    if (count() > 0)
        Q_EMIT dataChanged(index(0), index(count() - 1), {Qt::DisplayRole});
}

Qt::ItemFlags RecordStore::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags flags = QAbstractListModel::flags(index);
    return index.isValid() ? flags | Qt::ItemIsDragEnabled : flags;
}

RecordPiece RecordStore::headerPieceAt(int position) const
{
    const Entry& entry = m_entries.at(position);
    if (entry.headerEdited)
        return {{}, entry.editedHeader, true};
    return {QByteArrayView(m_file).sliced(entry.header.offset, entry.header.size), {}, false};
}

std::optional<qint32> RecordStore::addRecord(const QString& header)
{
    if (capacityLeft() < 1)
        return std::nullopt;
    const qint32 recordIndex = NextRecordIndex;
    beginInsertRows(QModelIndex(), count(), count());
    m_entries.append(Entry{{}, spaceTrimmed(QStringView(header)).toString(), recordIndex, true});
    endInsertRows();
    ++NextRecordIndex;
    return recordIndex;
}

qsizetype RecordStore::addFileRecords(const QByteArray& fileBytes, datafile::ReadResult records)
{
    const qsizetype added = std::min<qint64>(records.records.size(), capacityLeft());
    if (added == 0)
        return 0;
    // The entries already there may still be pieces of the file read before.
    keepOwnCopies();
    m_file = fileBytes;
    m_fileFirstIndex = NextRecordIndex;
    m_fileTexts.clear();
    m_fileTexts.reserve(added);
    beginInsertRows(QModelIndex(), count(), count() + int(added) - 1);
    m_entries.reserve(m_entries.size() + added);
    for (qsizetype i = 0; i < added; ++i) {
        const datafile::ReadRecord& record = records.records.at(i);
        m_entries.append(Entry{record.header, {}, NextRecordIndex, false});
        m_fileTexts.append(record.text);
        if (const auto rebuilt = records.rebuiltTexts.constFind(i);
            rebuilt != records.rebuiltTexts.cend()) {
            RecordText.insert(NextRecordIndex, QString::fromLatin1(*rebuilt));
            m_fileTexts.last() = EditedSpan;
        }
        ++NextRecordIndex;
    }
    endInsertRows();
    return added;
}

void RecordStore::renameAt(int position, const QString& header)
{
    Entry& entry = m_entries[position];
    entry.editedHeader = header;
    entry.headerEdited = true;
    const QModelIndex changed = index(position);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

void RecordStore::removeAt(int position)
{
    Q_EMIT entryAboutToBeRemoved(position);
    beginRemoveRows(QModelIndex(), position, position);
    m_entries.removeAt(position);
    endRemoveRows();
}

void RecordStore::insertEntry(int position, const Entry& entry)
{
    beginInsertRows(QModelIndex(), position, position);
    m_entries.insert(position, entry);
    endInsertRows();
}

void RecordStore::replaceEntry(int position, const Entry& entry)
{
    m_entries[position] = entry;
    const QModelIndex changed = index(position);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

void RecordStore::moveEntry(int from, int to)
{
    if (from == to)
        return;
    // The model counts the destination before the move takes the entry out.
    beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
    m_entries.move(from, to);
    endMoveRows();
}

int RecordStore::positionOf(qint32 recordIndex) const
{
    for (int position = 0; position < count(); ++position) {
        if (m_entries.at(position).recordIndex == recordIndex)
            return position;
    }
    return -1;
}

void RecordStore::clear()
{
    beginResetModel();
    m_entries.clear();
    RecordText.clear();
    m_file.clear();
    m_fileTexts.clear();
    endResetModel();
}

RecordPiece RecordStore::textPiece(qint32 recordIndex) const
{
    if (fromFile(recordIndex)) {
        const datafile::Span span = m_fileTexts.at(recordIndex - m_fileFirstIndex);
        if (span.size != EditedSpan.size)
            return {QByteArrayView(m_file).sliced(span.offset, span.size), {}, false};
    }
    if (const auto own = RecordText.constFind(recordIndex); own != RecordText.cend())
        return {{}, *own, true};
    return {};
}

void RecordStore::setRecordText(qint32 recordIndex, const QString& text)
{
    if (fromFile(recordIndex))
        m_fileTexts[recordIndex - m_fileFirstIndex] =
            text.isEmpty() ? datafile::Span{} : EditedSpan;
    // An empty text needs no slot of its own: reading an absent slot gives the empty text.
    if (text.isEmpty())
        RecordText.remove(recordIndex);
    else
        RecordText.insert(recordIndex, text);
}

void RecordStore::replaceInText(qint32 recordIndex, qsizetype at, qsizetype removed,
                                QStringView added)
{
    QString& text = ownText(recordIndex);
    text.replace(at, removed, added.data(), added.size());
    if (text.isEmpty())
        setRecordText(recordIndex, QString());
}

QString& RecordStore::ownText(qint32 recordIndex)
{
    if (fromFile(recordIndex)) {
        datafile::Span& span = m_fileTexts[recordIndex - m_fileFirstIndex];
        if (span.size != EditedSpan.size) {
            const QString text =
                QString::fromLatin1(QByteArrayView(m_file).sliced(span.offset, span.size));
            span = EditedSpan;
            return RecordText.insert(recordIndex, text).value();
        }
    }
    return RecordText[recordIndex];
}

std::optional<datafile::Span> RecordStore::asWrittenInFile(int position) const
{
    const Entry& entry = m_entries.at(position);
    if (entry.headerEdited || !fromFile(entry.recordIndex))
        return std::nullopt;
    const datafile::Span text = m_fileTexts.at(entry.recordIndex - m_fileFirstIndex);
    const qsizetype begin = entry.header.offset - 1;
    qsizetype end = entry.header.offset + entry.header.size;
    if (text.size == EditedSpan.size || begin < 0 || m_file.at(begin) != '"')
        return std::nullopt;
    if (text.size > 0) {
        if (text.offset != end + 2 || QByteArrayView(m_file).sliced(end, 2) != "\r\n")
            return std::nullopt;
        end = text.offset + text.size;
    }
    if (end >= m_file.size() || m_file.at(end) != '"')
        return std::nullopt;
    return datafile::Span{begin, end + 1 - begin};
}

bool RecordStore::fromFile(qint32 recordIndex) const
{
    return recordIndex >= m_fileFirstIndex && recordIndex - m_fileFirstIndex < m_fileTexts.size();
}

void RecordStore::keepOwnCopies()
{
    for (Entry& entry : m_entries) {
        if (!entry.headerEdited) {
            entry.editedHeader = QString::fromLatin1(
                QByteArrayView(m_file).sliced(entry.header.offset, entry.header.size));
            entry.headerEdited = true;
        }
        if (fromFile(entry.recordIndex))
            setRecordText(entry.recordIndex, recordText(entry.recordIndex));
    }
}

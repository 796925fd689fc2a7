#include "core/Document.h"

#include "core/Caption.h"
#include "core/DataFile.h"
#include "core/EditSteps.h"
#include "core/Finder.h"
#include "core/Headers.h"
#include "core/RecordStore.h"

#include <QSaveFile>
#include <QScopedValueRollback>

namespace {

// Steps taken back or done again tell the windows what they changed.
StepShown shownBy(Document& document)
{
    return [&document](const StepMark& mark) {
        Q_EMIT document.stepShown(mark.recordIndex, mark.textAt);
    };
}

} // namespace

namespace {

constexpr QByteArrayView LineEnd("\r\n");

void writePiece(FileWriter& file, const RecordPiece& piece)
{
    if (piece.edited)
        file.append(piece.text);
    else
        file.append(piece.bytes);
}

} // namespace

Document::Document(qint32 firstRecordIndex, QObject* parent)
    : QObject(parent), m_records(new RecordStore(firstRecordIndex, this)),
      m_caption(ProgramCaption), m_saveFiles(realSaveFiles())
{
    // Typing after a step was taken back or done again starts a step of its own, wherever it
    // goes on.
    connect(&m_history, &QUndoStack::indexChanged, this, [this] {
        if (!m_changingText)
            endTyping();
        noteEdit();
    });
}

Document::~Document() = default;

void Document::setFile(const FileChoice& file)
{
    CurrentFileName = file.fileName;
    suggestedTitle.clear();
    setCaption(captionWithFile(file.fileTitle));
}

bool Document::hasContent() const
{
    return m_records->count() > 0 || !m_looseText.isEmpty();
}

void Document::clear()
{
    m_looseText.clear();
    Q_EMIT dataFieldReset(QString());
    m_records->clear();
    m_history.clear();
    CurrentFileName.clear();
    suggestedTitle.clear();
    setCaption(ProgramCaption);
}

bool Document::addHeader(const QString& header)
{
    if (m_records->capacityLeft() < 1)
        return false;
    push(new AddEntryStep(*m_records, shownBy(*this), header));
    return true;
}

void Document::renameHeader(int position, const QString& header)
{
    push(new RenameEntryStep(*m_records, shownBy(*this), position, header));
}

void Document::removeHeader(int position)
{
    push(new RemoveEntryStep(*m_records, shownBy(*this), position));
}

void Document::moveHeader(int from, int to)
{
    if (from != to)
        push(new MoveEntryStep(*m_records, shownBy(*this), from, to));
}

void Document::changeText(qint32 recordIndex, qsizetype at, qsizetype removed, const QString& added)
{
    if (removed == 0 && added.isEmpty())
        return;
    const RecordPiece text = m_records->textPiece(recordIndex);
    const QString removedText = text.edited ? text.text.mid(at, removed).toString()
                                            : QString::fromLatin1(text.bytes.sliced(at, removed));
    const bool held = !m_ownStep.isEmpty();
    const QScopedValueRollback changing(m_changingText, true);
    m_history.push(new TextStep(*m_records, shownBy(*this), held ? m_ownStep : tr("Typing"),
                                recordIndex, {at, removedText, added},
                                held ? TextStep::Joining::Held : TextStep::Joining::Typing,
                                m_typingRun));
    noteEdit();
}

Document::Replaced Document::replaceAll(const QList<FoundMatch>& matches,
                                        const QString& replacement)
{
    Replaced result;
    if (matches.isEmpty())
        return result;
    auto* step =
        new CompoundStep(*m_records, shownBy(*this), tr("Replace All"),
                         {m_records->recordIndexAt(matches.constFirst().place.position), -1});
    const auto samePiece = [](const TextPlace& one, const TextPlace& other) {
        return one.position == other.position && one.inHeader == other.inHeader;
    };
    // One header or text at a time, its later matches first, so that the earlier ones stay
    // where they were found.
    for (qsizetype end = matches.size(); end > 0;) {
        qsizetype begin = end - 1;
        while (begin > 0 && samePiece(matches.at(begin - 1).place, matches.at(begin).place))
            --begin;
        const TextPlace& piece = matches.at(begin).place;
        const qint32 recordIndex = m_records->recordIndexAt(piece.position);
        QString text = piece.inHeader ? m_records->headerAt(piece.position)
                                      : m_records->recordText(recordIndex);
        for (qsizetype at = end - 1; at >= begin; --at) {
            const FoundMatch& match = matches.at(at);
            if (!piece.inHeader)
                new TextStep(*m_records, {}, tr("Replace"), recordIndex,
                             {match.place.at, text.mid(match.place.at, match.length), replacement},
                             TextStep::Joining::Nothing, 0, step);
            text.replace(match.place.at, match.length, replacement);
        }
        if (piece.inHeader && text.size() > HeaderLimit) {
            result.refused += end - begin;
        } else {
            if (piece.inHeader)
                new RenameEntryStep(*m_records, {}, piece.position, text, step);
            result.replaced += end - begin;
        }
        end = begin;
    }
    if (step->childCount() == 0)
        delete step;
    else
        push(step);
    return result;
}

Document::OwnStep::OwnStep(Document& document, const QString& name) : m_document(document)
{
    m_document.endTyping();
    m_document.m_ownStep = name;
}

Document::OwnStep::~OwnStep()
{
    m_document.m_ownStep.clear();
    m_document.endTyping();
}

void Document::noteEdit()
{
    ++m_changeCount;
    Q_EMIT edited();
}

void Document::push(QUndoCommand* step)
{
    endTyping();
    m_history.push(step);
    endTyping();
}

Reading Document::FileInSub(const QByteArray& fileBytes)
{
    datafile::ReadResult result = datafile::read(fileBytes);
    Reading reading;
    reading.recordsRead = result.records.size();
    reading.lineFeedEnds = result.lineFeedEnds;
    const qint32 firstIndex = m_records->nextRecordIndex();
    const std::optional<qsizetype> shown =
        result.shownRecord(std::min<qint64>(reading.recordsRead, m_records->capacityLeft()));
    reading.recordsAdded = m_records->addFileRecords(fileBytes, std::move(result));
    // Only the final state reaches the data field; no entry is selected, so nothing is stored.
    if (shown) {
        m_looseText = m_records->recordText(firstIndex + qint32(*shown));
        Q_EMIT dataFieldReset(m_looseText);
    }
    return reading;
}

void Document::FileOutSub(FileWriter& file, const TransferHeader& transferHeader) const
{
    if (transferHeader.isOn()) {
        file.append(QStringView(transferHeader.asciiText));
        file.append(LineEnd);
    }
    file.append(QByteArrayView("{\r\n"));
    // Records the user left alone are written as one stretch of the file's own bytes for as
    // long as the file holds them one after the other as they are written.
    const QByteArrayView read = m_records->fileBytes();
    std::optional<datafile::Span> stretch;
    const auto writeStretch = [&] {
        if (stretch)
            file.append(read.sliced(stretch->offset, stretch->size));
        stretch.reset();
    };
    const int count = m_records->count();
    for (int position = 0; position < count; ++position) {
        const std::optional<datafile::Span> asRead = m_records->asWrittenInFile(position);
        if (asRead && stretch && asRead->offset == stretch->offset + stretch->size + 2 &&
            read.sliced(stretch->offset + stretch->size, 2) == LineEnd) {
            stretch->size = asRead->offset + asRead->size - stretch->offset;
            continue;
        }
        writeStretch();
        if (position > 0)
            file.append(LineEnd);
        if (asRead)
            stretch = asRead;
        else
            writeRecord(file, position);
    }
    writeStretch();
    // An empty list leaves an empty line between the braces.
    file.append(QByteArrayView("\r\n}\r\n"));
}

void Document::writeRecord(FileWriter& file, int position) const
{
    file.append(QByteArrayView("\""));
    writePiece(file, m_records->headerPieceAt(position));
    const RecordPiece text = m_records->textPiece(m_records->recordIndexAt(position));
    if (text.size() > 0) {
        file.append(LineEnd);
        writePiece(file, text);
    }
    file.append(QByteArrayView("\""));
}

QByteArray Document::fileBytes(const TransferHeader& transferHeader) const
{
    QByteArray bytes;
    FileWriter memory(bytes);
    FileOutSub(memory, transferHeader);
    memory.commit();
    return bytes;
}

QString Document::writeFile(const QString& path, const TransferHeader& transferHeader)
{
    FileWriter file(m_saveFiles(path), m_outputBuffer);
    if (QString failure = file.open(); !failure.isEmpty())
        return failure;
    FileOutSub(file, transferHeader);
    return file.commit();
}

void Document::setCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    Q_EMIT captionChanged(m_caption);
}

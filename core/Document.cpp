#include "core/Document.h"

#include "core/Caption.h"
#include "core/DataFile.h"
#include "core/RecordStore.h"

#include <QSaveFile>

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
{}

Document::~Document() = default;

void Document::setFile(const ChosenFile& file)
{
    CurrentFileName = file.fileName;
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
    CurrentFileName.clear();
    setCaption(ProgramCaption);
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

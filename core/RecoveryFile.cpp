#include "core/RecoveryFile.h"

#include "core/Document.h"
#include "core/RecordStore.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFileInfo>

namespace {

constexpr QByteArrayView Magic("Tabulet recovery\n");
constexpr quint32 Version = 1;
// Written last: a file without it was cut short.
constexpr quint32 EndMark = 0x454e4421;
constexpr quint8 FileBytes = 0;
constexpr quint8 OwnText = 1;

QString reason(const char* text)
{
    return QCoreApplication::translate("RecoveryFile", text);
}

void writePiece(QDataStream& out, const RecordPiece& piece)
{
    if (piece.edited) {
        out << OwnText << piece.text.toString();
        return;
    }
    out << FileBytes << qint64(piece.bytes.size());
    out.writeRawData(piece.bytes.data(), int(piece.bytes.size()));
}

} // namespace

namespace recoveryfile {

QByteArray encode(const Document& document, const FileStamp& stamp)
{
    const RecordStore& records = document.records();
    QByteArray bytes(Magic.data(), Magic.size());
    bytes.reserve(records.fileBytes().size() + 64 * qsizetype(records.count()) + 1024);
    QDataStream out(&bytes, QIODevice::Append);
    out.setVersion(QDataStream::Qt_6_4);
    out << Version << document.currentFileName() << stamp.exists << stamp.modified << stamp.size
        << qint32(records.count());
    for (int position = 0; position < records.count(); ++position) {
        writePiece(out, records.headerPieceAt(position));
        writePiece(out, records.textPiece(records.recordIndexAt(position)));
    }
    out << EndMark;
    return bytes;
}

QString Recovered::read(const QByteArray& bytes)
{
    if (!bytes.startsWith(Magic))
        return reason("it is not a recovery file of Tabulet");
    QDataStream in(bytes.sliced(Magic.size()));
    in.setVersion(QDataStream::Qt_6_4);
    quint32 version = 0;
    in >> version;
    if (version != Version)
        return reason("it was written by another version of Tabulet");
    return readEntries(in);
}

QString Recovered::readEntries(QDataStream& in)
{
    qint32 count = -1;
    in >> m_fileName >> m_stamp.exists >> m_stamp.modified >> m_stamp.size >> count;
    if (in.status() != QDataStream::Ok || count < 0)
        return reason("it is damaged");
    for (qint32 i = 0; i < count; ++i) {
        std::pair<Piece, Piece> entry;
        if (!readPiece(in, entry.first) || !readPiece(in, entry.second))
            return reason("it is damaged");
        m_entries.append(std::move(entry));
    }
    quint32 end = 0;
    in >> end;
    return end == EndMark && in.atEnd() ? QString() : reason("it is damaged");
}

bool Recovered::readPiece(QDataStream& in, Piece& piece)
{
    quint8 kind = 0xff;
    in >> kind;
    if (kind == OwnText) {
        piece.text.emplace();
        in >> *piece.text;
        return in.status() == QDataStream::Ok;
    }
    qint64 size = -1;
    in >> size;
    if (kind != FileBytes || size < 0 || size > in.device()->bytesAvailable())
        return false;
    piece.span = {m_block.size(), qsizetype(size)};
    m_block.resize(m_block.size() + size);
    return in.readRawData(m_block.data() + piece.span.offset, int(size)) == size;
}

void Recovered::restoreInto(Document& document) const
{
    document.clear();
    RecordStore& records = document.records();
    datafile::ReadResult read;
    read.records.reserve(m_entries.size());
    for (const auto& [header, text] : m_entries)
        read.records.append({header.span, text.span});
    const qint32 first = records.nextRecordIndex();
    const qsizetype added = records.addFileRecords(m_block, std::move(read));
    for (int position = 0; position < added; ++position) {
        const auto& [header, text] = m_entries.at(position);
        if (header.text)
            records.renameAt(position, *header.text);
        if (text.text)
            records.setRecordText(first + position, *text.text);
    }
    if (!m_fileName.isEmpty()) {
        const FileChoice file{m_fileName, QFileInfo(m_fileName).fileName()};
        document.dlgFileOpen = file;
        document.setFile(file);
    }
    // None of it is on disk: it stays unsaved work until the user saves it.
    document.history().resetClean();
}

} // namespace recoveryfile

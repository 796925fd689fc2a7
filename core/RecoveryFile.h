#pragma once

#include "core/DataFile.h"
#include "core/FileAccess.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

class Document;
class QDataStream;

// The document's unsaved work as a recovery file holds it: every entry's header and text
// exactly as the document holds them (characters a data file cannot hold included), and the
// file the document belongs to. Pieces still as the file had them are written as those bytes,
// so that keeping a large document costs little more than copying it.
namespace recoveryfile {

// `stamp`: the document's file as it was last read or saved, so that a restored document still
// knows when another program has changed its file since.
QByteArray encode(const Document& document, const FileStamp& stamp);

// What a recovery file held, read back and checked before anything is asked or changed.
class Recovered
{
public:
    // The empty text, or why `bytes` cannot be restored (damaged, written by another version),
    // as a message goes on after "because".
    QString read(const QByteArray& bytes);
    // The file the work belonged to; empty for a document that had none.
    QString fileName() const { return m_fileName; }
    FileStamp stamp() const { return m_stamp; }
    // Puts what was read in place of what the document holds: its entries, its file and
    // caption, as unsaved work.
    void restoreInto(Document& document) const;

private:
    // One header or text: bytes of `m_block` kept as a file's, or a text of its own.
    struct Piece
    {
        datafile::Span span;
        std::optional<QString> text;
    };
    bool readPiece(QDataStream& in, Piece& piece);
    QString readEntries(QDataStream& in);

    QString m_fileName;
    FileStamp m_stamp;
    QByteArray m_block;
    QList<std::pair<Piece, Piece>> m_entries;
};

} // namespace recoveryfile

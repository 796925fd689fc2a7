#include "core/EditSteps.h"

namespace {

// A change that ends in a line break ends its step there, so that each line typed can be
// taken back on its own.
bool closesTyping(const TextStep::Piece& piece)
{
    return piece.added.contains(u'\n');
}

// Whether `next` goes on where `last` stopped, so that both make one piece: typing at the end
// of what was typed (a selection typed over included), or deleting next to what was deleted,
// Backspace before it or Delete at its place. Typing that turns into deleting, or back, does
// not go on.
bool goesOn(TextStep::Piece& last, const TextStep::Piece& next)
{
    const bool typing = next.removed.isEmpty();
    const bool deleting = next.added.isEmpty();
    if (typing && !last.added.isEmpty() && next.at == last.at + last.added.size()) {
        last.added += next.added;
        return true;
    }
    if (!deleting || !last.added.isEmpty())
        return false;
    if (next.at + next.removed.size() == last.at) {
        last.removed.prepend(next.removed);
        last.at = next.at;
        return true;
    }
    if (next.at == last.at) {
        last.removed += next.removed;
        return true;
    }
    return false;
}

} // namespace

RecordStep::RecordStep(RecordStore& records, StepShown shown, const QString& name,
                       QUndoCommand* parent)
    : QUndoCommand(name, parent), m_records(records), m_shown(std::move(shown))
{}

void RecordStep::show(const StepMark& mark)
{
    if (m_shown)
        m_shown(mark);
}

TextStep::TextStep(RecordStore& records, StepShown shown, const QString& name, qint32 recordIndex,
                   Piece piece, Joining joining, int run, QUndoCommand* parent)
    : RecordStep(records, std::move(shown), name, parent),
      m_recordIndex(recordIndex), m_pieces{std::move(piece)}, m_joining(joining), m_run(run),
      m_closed(joining == Joining::Typing && closesTyping(m_pieces.constFirst()))
{}

bool TextStep::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const TextStep*>(other);
    if (next->m_recordIndex != m_recordIndex || next->m_run != m_run)
        return false;
    const Piece& piece = next->m_pieces.constFirst();
    if (m_joining == Joining::Held) {
        m_pieces.append(piece);
        return true;
    }
    if (m_closed || !goesOn(m_pieces.last(), piece))
        return false;
    m_closed = closesTyping(piece);
    return true;
}

void TextStep::redo()
{
    for (const Piece& piece : std::as_const(m_pieces))
        m_records.replaceInText(m_recordIndex, piece.at, piece.removed.size(), piece.added);
    if (m_done)
        show({m_recordIndex, m_pieces.constLast().at + m_pieces.constLast().added.size()});
    m_done = true;
}

void TextStep::undo()
{
    for (auto piece = m_pieces.crbegin(); piece != m_pieces.crend(); ++piece)
        m_records.replaceInText(m_recordIndex, piece->at, piece->added.size(), piece->removed);
    show({m_recordIndex, m_pieces.constFirst().at + m_pieces.constFirst().removed.size()});
}

AddEntryStep::AddEntryStep(RecordStore& records, StepShown shown, const QString& header)
    : RecordStep(records, std::move(shown), tr("New Header")), m_header(header)
{}

void AddEntryStep::redo()
{
    if (!m_done) {
        // The document adds only while record indices are left.
        m_records.addRecord(m_header);
        m_position = m_records.count() - 1;
        m_entry = m_records.entryAt(m_position);
        m_done = true;
        return;
    }
    m_records.insertEntry(m_position, m_entry);
    show({m_entry.recordIndex, -1});
}

void AddEntryStep::undo()
{
    m_records.removeAt(m_position);
    show({-1, -1});
}

RenameEntryStep::RenameEntryStep(RecordStore& records, StepShown shown, int position,
                                 const QString& header, QUndoCommand* parent)
    : RecordStep(records, std::move(shown), tr("Rename Header"), parent), m_position(position),
      m_header(header), m_before(records.entryAt(position))
{}

void RenameEntryStep::redo()
{
    m_records.renameAt(m_position, m_header);
    if (m_done)
        show({m_before.recordIndex, -1});
    m_done = true;
}

void RenameEntryStep::undo()
{
    m_records.replaceEntry(m_position, m_before);
    show({m_before.recordIndex, -1});
}

RemoveEntryStep::RemoveEntryStep(RecordStore& records, StepShown shown, int position)
    : RecordStep(records, std::move(shown), tr("Remove Header")), m_position(position),
      m_entry(records.entryAt(position))
{}

void RemoveEntryStep::redo()
{
    m_text = m_records.recordText(m_entry.recordIndex);
    m_records.setRecordText(m_entry.recordIndex, QString());
    m_records.removeAt(m_position);
    if (m_done)
        show({-1, -1});
    m_done = true;
}

void RemoveEntryStep::undo()
{
    m_records.setRecordText(m_entry.recordIndex, m_text);
    m_records.insertEntry(m_position, m_entry);
    m_text.clear();
    show({m_entry.recordIndex, -1});
}

MoveEntryStep::MoveEntryStep(RecordStore& records, StepShown shown, int from, int to)
    : RecordStep(records, std::move(shown), tr("Move Header")), m_from(from), m_to(to)
{}

void MoveEntryStep::redo()
{
    m_records.moveEntry(m_from, m_to);
    if (m_done)
        show({m_records.recordIndexAt(m_to), -1});
    m_done = true;
}

void MoveEntryStep::undo()
{
    m_records.moveEntry(m_to, m_from);
    show({m_records.recordIndexAt(m_from), -1});
}

CompoundStep::CompoundStep(RecordStore& records, StepShown shown, const QString& name,
                           StepMark mark)
    : RecordStep(records, std::move(shown), name), m_mark(mark)
{}

void CompoundStep::redo()
{
    QUndoCommand::redo();
    if (m_done)
        show(m_mark);
    m_done = true;
}

void CompoundStep::undo()
{
    QUndoCommand::undo();
    show(m_mark);
}

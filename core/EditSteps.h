#pragma once

#include "core/RecordStore.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QUndoCommand>
#include <functional>

// The steps of the document's history. Each changes the records through the store and can be
// taken back and done again; each keeps only what it changed, so that a long session of typing
// in a large record keeps the keystrokes, not copies of the record.

// Where a step taken back or done again left its mark: the entry it changed, and within the
// record's text the place of the change (-1 when it changed the header list).
struct StepMark
{
    qint32 recordIndex;
    qsizetype textAt;
};
using StepShown = std::function<void(const StepMark&)>;

class RecordStep : public QUndoCommand
{
    Q_DECLARE_TR_FUNCTIONS(RecordStep)

public:
    RecordStep(RecordStore& records, StepShown shown, const QString& name,
               QUndoCommand* parent = nullptr);

protected:
    // The first redo() does the step as the user asked for it; the window shows that itself.
    // Only later ones, and every undo(), report where they left their mark.
    void show(const StepMark& mark);

    RecordStore& m_records;
    StepShown m_shown;
    bool m_done = false;
};

// Typing, cutting, pasting and replacing in one record's text: pieces of it replaced, in order.
// A step grows only as people expect one to: by typing that goes on where it left off, or by
// deleting that goes on from where it stopped, backwards or forwards; or by every change of a
// command that holds it open. Changes of one run only: the run ends when another record is
// selected, when a header command or a step taken back or done again comes between.
class TextStep final : public RecordStep
{
public:
    struct Piece
    {
        qsizetype at;
        QString removed;
        QString added;
    };
    // What may join the step: nothing (a part of Replace All), the typing or deleting that goes
    // on where it stopped, or every change while a command holds the step open.
    enum class Joining { Nothing, Typing, Held };

    TextStep(RecordStore& records, StepShown shown, const QString& name, qint32 recordIndex,
             Piece piece, Joining joining, int run = 0, QUndoCommand* parent = nullptr);

    int id() const override { return m_joining == Joining::Nothing ? -1 : TextId; }
    bool mergeWith(const QUndoCommand* other) override;
    void redo() override;
    void undo() override;

private:
    static constexpr int TextId = 1;
    qint32 m_recordIndex;
    QList<Piece> m_pieces;
    Joining m_joining;
    int m_run;
    // A typed line break closes the step: the next keystroke starts one of its own.
    bool m_closed;
};

class AddEntryStep final : public RecordStep
{
public:
    AddEntryStep(RecordStore& records, StepShown shown, const QString& header);

    void redo() override;
    void undo() override;

private:
    QString m_header;
    int m_position = -1;
    RecordStore::Entry m_entry{};
};

class RenameEntryStep final : public RecordStep
{
public:
    RenameEntryStep(RecordStore& records, StepShown shown, int position, const QString& header,
                    QUndoCommand* parent = nullptr);

    void redo() override;
    void undo() override;

private:
    int m_position;
    QString m_header;
    RecordStore::Entry m_before;
};

// Removes an entry with its text: the text goes too, as the user was warned.
class RemoveEntryStep final : public RecordStep
{
public:
    RemoveEntryStep(RecordStore& records, StepShown shown, int position);

    void redo() override;
    void undo() override;

private:
    int m_position;
    RecordStore::Entry m_entry;
    QString m_text;
};

class MoveEntryStep final : public RecordStep
{
public:
    MoveEntryStep(RecordStore& records, StepShown shown, int from, int to);

    void redo() override;
    void undo() override;

private:
    int m_from;
    int m_to;
};

// A step made of others, done in order and taken back in reverse, shown as one: its parts
// show nothing themselves.
class CompoundStep final : public RecordStep
{
public:
    CompoundStep(RecordStore& records, StepShown shown, const QString& name, StepMark mark);

    void redo() override;
    void undo() override;

private:
    StepMark m_mark;
};

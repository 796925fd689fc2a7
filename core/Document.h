#pragma once

#include "core/FileAccess.h"
#include "core/Preferences.h"
#include "platform/FileChoice.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUndoStack>

class RecordStore;
class FileWriter;

// How reading a file into the document went.
struct Reading
{
    qsizetype recordsRead = 0;
    qsizetype recordsAdded = 0;
    // The file ends its lines with LF alone; it will be saved with CR LF.
    bool lineFeedEnds = false;
};

// The open document: its records, the file it belongs to and the caption that names it, the
// file titles the dialogs keep, and the reader and writer. It asks nothing and shows nothing:
// the commands decide, the windows show.
class Document final : public QObject
{
    Q_OBJECT

public:
    // `firstRecordIndex` lets tests start near the limit; the program always starts at 0.
    explicit Document(qint32 firstRecordIndex = 0, QObject* parent = nullptr);
    ~Document() override;

    RecordStore& records() { return *m_records; }
    const RecordStore& records() const { return *m_records; }

    // The full path of the document's file; empty when it has none.
    QString currentFileName() const { return CurrentFileName; }
    QString caption() const { return m_caption; }
    // The document now belongs to this file; the caption names it.
    void setFile(const FileChoice& file);

    // The file Open chose last: the printout names it.
    FileChoice dlgFileOpen;
    // The name Save As offers a document that has no file yet: what the calculator called the
    // variable it came from. New, Open and Save As forget it.
    QString suggestedTitle;

    // The text of the data field while no entry is selected: it belongs to no record, but it
    // is the user's work all the same.
    QString looseText() const { return m_looseText; }
    void setLooseText(const QString& text) { m_looseText = text; }
    // Whether New, Open and Exit have anything to offer to save: any entry, or any text in the
    // data field.
    bool hasContent() const;

    // New and Open: an empty data field, no entries, no file name, the bare caption.
    void clear();
    // Appends a file's records in one batch; the data field then shows the text of the last
    // record read that had text lines, with no entry selected.
    Reading FileInSub(const QByteArray& fileBytes);
    // Writes the whole document as a data file: the transfer header line when it is switched
    // on, then the list, every line ended by CR LF. Headers and texts are written as they are.
    void FileOutSub(FileWriter& file, const TransferHeader& transferHeader) const;
    // The bytes FileOutSub writes, as the next save with this transfer header writes them.
    QByteArray fileBytes(const TransferHeader& transferHeader) const;
    // Replaces the file at `path` by the document in one step; the empty text, or the reason it
    // failed, in which case the file that was there is left as it was.
    QString writeFile(const QString& path, const TransferHeader& transferHeader);

    // Every change of the records since the document was made or read, to take back and do
    // again. Reading a file is not a change; New and Open start a fresh history.
    QUndoStack& history() { return m_history; }
    // The header commands, each a step of the history. Adding fails when this run can add no
    // further record.
    bool addHeader(const QString& header);
    void renameHeader(int position, const QString& header);
    void removeHeader(int position);
    // Moves the entry at `from` to stand at `to`.
    void moveHeader(int from, int to);

    // Replaces `removed` characters of a record's text from `at` on by `added`. Typing that
    // goes on where the last change ended is one step with it, so is deleting that goes on
    // where the last deletion stopped (Backspace or Delete), until endTyping(). A selection
    // typed over starts a step; a typed line break ends the step it joined.
    void changeText(qint32 recordIndex, qsizetype at, qsizetype removed, const QString& added);

    // Held by a command that changes text (Cut, Paste, Replace, Insert Character): every text
    // change made while it is held is one step of the history under `name`, apart from the
    // typing before and after it.
    class OwnStep
    {
    public:
        OwnStep(Document& document, const QString& name);
        ~OwnStep();
        OwnStep(const OwnStep&) = delete;
        OwnStep& operator=(const OwnStep&) = delete;

    private:
        Document& m_document;
    };
    // Replaces the matches of a search (in list order, each in one header or text) by
    // `replacement`, as one step. A header that would grow past the limit keeps its name; how
    // many were replaced and how many were refused so.
    struct Replaced
    {
        qsizetype replaced = 0;
        qsizetype refused = 0;
    };
    Replaced replaceAll(const QList<struct FoundMatch>& matches, const QString& replacement);

    // The next keystroke starts a step of its own: another record was selected, or a header
    // command came between.
    void endTyping() { ++m_typingRun; }

    // How many times `edited` has been said: a count that moves on with every change.
    quint64 changeCount() const { return m_changeCount; }

    // Tests put a file that fails in the way of a save.
    void setSaveFiles(SaveFileFactory factory) { m_saveFiles = std::move(factory); }

Q_SIGNALS:
    void captionChanged(const QString& caption);
    // The records may have changed: a step was taken, joined, taken back or done again.
    void edited();
    // The data field is to show `text`, as the loose text of no record.
    void dataFieldReset(const QString& text);
    // A step taken back or done again changed this record (-1: it removed an entry), at this
    // place of its text (-1: its header or its place in the list).
    void stepShown(qint32 recordIndex, qsizetype textAt);

private:
    void setCaption(const QString& caption);
    void writeRecord(FileWriter& file, int position) const;
    void push(QUndoCommand* step);
    void noteEdit();

    RecordStore* m_records;
    QString CurrentFileName;
    QString m_caption;
    QString m_looseText;
    SaveFileFactory m_saveFiles;
    // The writer's buffer, kept from one save to the next.
    QByteArray m_outputBuffer;
    QUndoStack m_history;
    int m_typingRun = 0;
    // Set while a change of text goes into the history, so that the history moving on then is
    // not taken for a step taken back or done again.
    bool m_changingText = false;
    // The name of the step an OwnStep holds open; empty while none is held.
    QString m_ownStep;
    quint64 m_changeCount = 0;
};

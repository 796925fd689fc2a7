#pragma once

#include "core/FileAccess.h"
#include "core/Preferences.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class RecordStore;
class FileWriter;

// A file as a file dialog reported it: the full path and the name alone (the file title).
struct ChosenFile
{
    QString fileName;
    QString fileTitle;
};

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
    void setFile(const ChosenFile& file);

    // Each file dialog keeps the file it chose last (the printout names the file last opened).
    ChosenFile dlgFileOpen;
    ChosenFile dlgFileSaveAs;

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
    // Replaces the file at `path` by the document in one step; the empty text, or the reason it
    // failed, in which case the file that was there is left as it was.
    QString writeFile(const QString& path, const TransferHeader& transferHeader);

    // Tests put a file that fails in the way of a save.
    void setSaveFiles(SaveFileFactory factory) { m_saveFiles = std::move(factory); }

Q_SIGNALS:
    void captionChanged(const QString& caption);
    // The data field is to show `text`, as the loose text of no record.
    void dataFieldReset(const QString& text);

private:
    void setCaption(const QString& caption);
    void writeRecord(FileWriter& file, int position) const;

    RecordStore* m_records;
    QString CurrentFileName;
    QString m_caption;
    QString m_looseText;
    SaveFileFactory m_saveFiles;
    // The writer's buffer, kept from one save to the next.
    QByteArray m_outputBuffer;
};

#pragma once

#include <QPlainTextEdit>
#include <QString>

class QTextBlock;

// The data field: a plain text field that shows a paragraph longer than `LongestBlock` in
// pieces, each a block of the field's document of its own. The field lays out the blocks it
// shows and, after a keystroke, the block it changed; a paragraph of a million characters in
// one block would be laid out whole for each, and with no space in it, in a time that grows
// with the square of its length. A piece starts a new row, as a line break would, but it is no
// character of the text: it is never copied, dragged or stored, and taking one out changes
// nothing but the rows. Text with no paragraph that long is shown exactly as by QPlainTextEdit.
class DataField final : public QPlainTextEdit
{
    Q_OBJECT

public:
    static constexpr int PieceLength = 4096;
    static constexpr int LongestBlock = 2 * PieceLength;

    explicit DataField(QWidget* parent = nullptr);

    // Shows `text`, the cursor at its start, as setPlainText() does.
    void showText(const QString& text);
    // Whether the document is changing only to take piece breaks in, which changes no text.
    bool puttingInBreaks() const { return m_puttingInBreaks; }
    // Once the document has changed: how many piece breaks the change took out.
    int breaksRemoved();
    // The piece breaks before `position`.
    int breaksBefore(int position) const;
    // Where the field's cursor goes to stand `textAt` characters into the text.
    int fieldPosition(qsizetype textAt) const;
    // The text from `from` to `to`, as QTextCursor::selectedText() gives it (a line break as
    // U+2029), without piece breaks.
    QString textBetween(int from, int to) const;
    QString selectedText() const;
    // The whole text, line breaks as U+2029, without piece breaks.
    QString wholeText() const;
    // Types `text` over the selection of `cursor`; a long text goes in piece by piece.
    void insertText(QTextCursor& cursor, const QString& text);

protected:
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void splitBlock(const QTextBlock& block);
    void splitLongBlocks();
    void putInBreak(QTextCursor& cursor);
    void keepMarkAtEnd(int position, int added);
    int countBreaks() const;

    int m_breaks = 0;
    bool m_puttingInBreaks = false;
    bool m_splitPending = false;
};

#include "mainwindow/DataField.h"

#include "core/LineBreaks.h"

#include <QMimeData>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>

namespace {

// The user state of a block that a piece break ends rather than a line break. The mark goes
// with the block's end: when two blocks become one, the document keeps the state of the later,
// whose end is the one left; a block cut in two keeps its state in the first part, and
// `keepMarkAtEnd` hands it on to the last.
constexpr int EndsInPiece = 1;

bool endsInPiece(const QTextBlock& block)
{
    return block.userState() == EndsInPiece;
}

// Where, in a stretch of `length` characters, pieces start: every `PieceLength` characters,
// after a space close before where there is one, never between the halves of a surrogate pair.
QList<qsizetype> pieceStarts(QStringView stretch)
{
    QList<qsizetype> starts;
    if (stretch.size() <= DataField::LongestBlock)
        return starts;
    constexpr qsizetype LookBack = 64;
    qsizetype start = 0;
    while (stretch.size() - start > DataField::LongestBlock) {
        qsizetype next = start + DataField::PieceLength;
        for (qsizetype at = next; at > next - LookBack; --at) {
            if (stretch[at - 1] == u' ') {
                next = at;
                break;
            }
        }
        if (stretch[next - 1].isHighSurrogate())
            --next;
        starts << next;
        start = next;
    }
    return starts;
}

// The stretches of `text` between the characters a text cursor takes for a line break.
QList<QStringView> lines(QStringView text)
{
    QList<QStringView> found;
    qsizetype start = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text[at];
        if (c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator || c == u'\xfdd0' ||
            c == u'\xfdd1') {
            found << text.sliced(start, at - start);
            start = at + 1;
        }
    }
    found << text.sliced(start);
    return found;
}

} // namespace

DataField::DataField(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    // The document's history takes every change back, the field's own edits included.
    setUndoRedoEnabled(false);
    // A keystroke can make a piece longer than a piece may be: it is cut once the keystroke has
    // been handled, never while the document is still telling of the change.
    connect(document(), &QTextDocument::contentsChange, this, [this](int position, int, int added) {
        if (m_puttingInBreaks)
            return;
        keepMarkAtEnd(position, added);
        if (!m_splitPending && document()->findBlock(position).length() > LongestBlock + 1) {
            m_splitPending = true;
            QTimer::singleShot(0, this, &DataField::splitLongBlocks);
        }
    });
}

void DataField::showText(const QString& text)
{
    m_breaks = 0;
    const QList<QStringView> all = lines(text);
    if (std::none_of(all.begin(), all.end(),
                     [](QStringView line) { return line.size() > LongestBlock; })) {
        setPlainText(text);
        return;
    }
    // Put in whole, the long paragraph would be laid out whole before its pieces were made.
    setPlainText(QString());
    const QScopedValueRollback putting(m_puttingInBreaks, true);
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    insertText(cursor, text);
    cursor.endEditBlock();
    moveCursor(QTextCursor::Start);
}

void DataField::insertText(QTextCursor& cursor, const QString& text)
{
    qsizetype start = 0;
    for (const QStringView line : lines(text)) {
        const qsizetype lineStart = line.data() - text.data();
        for (const qsizetype piece : pieceStarts(line)) {
            cursor.insertText(text.sliced(start, lineStart + piece - start));
            putInBreak(cursor);
            start = lineStart + piece;
        }
    }
    cursor.insertText(text.sliced(start));
}

void DataField::putInBreak(QTextCursor& cursor)
{
    const QScopedValueRollback putting(m_puttingInBreaks, true);
    const int end = cursor.block().userState();
    cursor.insertBlock();
    cursor.block().setUserState(end);
    cursor.block().previous().setUserState(EndsInPiece);
    ++m_breaks;
}

// Line breaks typed or pasted into a block that a piece break ends: the piece break now ends
// the last of the blocks they made.
void DataField::keepMarkAtEnd(int position, int added)
{
    if (m_breaks == 0)
        return;
    QTextBlock first = document()->findBlock(position);
    QTextBlock last = document()->findBlock(position + added);
    if (first != last && endsInPiece(first)) {
        first.setUserState(-1);
        last.setUserState(EndsInPiece);
    }
}

void DataField::splitLongBlocks()
{
    m_splitPending = false;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block.length() > LongestBlock + 1)
            splitBlock(block);
    }
}

// From the last piece to the first, so that the places still to cut stay where they were. The
// document tells of the whole change only at its end, which is a change of pieces all the same.
void DataField::splitBlock(const QTextBlock& block)
{
    const QList<qsizetype> starts = pieceStarts(block.text());
    const QScopedValueRollback putting(m_puttingInBreaks, true);
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    for (auto start = starts.crbegin(); start != starts.crend(); ++start) {
        cursor.setPosition(block.position() + int(*start));
        putInBreak(cursor);
    }
    cursor.endEditBlock();
}

int DataField::countBreaks() const
{
    int count = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        count += endsInPiece(block) ? 1 : 0;
    return count;
}

int DataField::breaksRemoved()
{
    if (m_breaks == 0)
        return 0;
    const int before = m_breaks;
    m_breaks = countBreaks();
    return before - m_breaks;
}

int DataField::breaksBefore(int position) const
{
    if (m_breaks == 0)
        return 0;
    const QTextBlock last = document()->findBlock(position);
    int count = 0;
    for (QTextBlock block = document()->begin(); block != last; block = block.next())
        count += endsInPiece(block) ? 1 : 0;
    return count;
}

int DataField::fieldPosition(qsizetype textAt) const
{
    if (m_breaks == 0)
        return int(textAt);
    int breaks = 0;
    int counted = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block.position() - breaks > textAt)
            break;
        counted = breaks;
        breaks += endsInPiece(block) ? 1 : 0;
    }
    return int(textAt) + counted;
}

QString DataField::textBetween(int from, int to) const
{
    if (m_breaks == 0) {
        QTextCursor cursor(document());
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        return cursor.selectedText();
    }
    QString text;
    const QTextBlock last = document()->findBlock(to);
    for (QTextBlock block = document()->findBlock(from); block.isValid(); block = block.next()) {
        const int start = std::max(from, block.position()) - block.position();
        const int end = std::min(to, block.position() + block.length() - 1) - block.position();
        text += QStringView(block.text()).sliced(start, std::max(0, end - start));
        if (block == last)
            break;
        if (!endsInPiece(block))
            text += QChar::ParagraphSeparator;
    }
    return text;
}

QString DataField::selectedText() const
{
    const QTextCursor cursor = textCursor();
    return textBetween(cursor.selectionStart(), cursor.selectionEnd());
}

QString DataField::wholeText() const
{
    // toPlainText() would turn no-break spaces into plain spaces; the raw text keeps every
    // character.
    return m_breaks == 0 ? document()->toRawText()
                         : textBetween(0, document()->characterCount() - 1);
}

// Copied or dragged out, the text leaves its pieces behind.
QMimeData* DataField::createMimeDataFromSelection() const
{
    if (m_breaks == 0)
        return QPlainTextEdit::createMimeDataFromSelection();
    auto* data = new QMimeData;
    data->setText(desktopLineBreaks(selectedText()));
    return data;
}

// A long text pasted with the middle button or dropped goes in piece by piece, as Paste does.
void DataField::insertFromMimeData(const QMimeData* source)
{
    if (isReadOnly() || !source->hasText() || source->text().size() <= LongestBlock) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QTextCursor cursor = textCursor();
    insertText(cursor, source->text());
    setTextCursor(cursor);
    ensureCursorVisible();
}

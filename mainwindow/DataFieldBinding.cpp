#include "mainwindow/DataFieldBinding.h"

#include "core/CalculatorCode.h"
#include "core/Document.h"
#include "core/LineBreaks.h"
#include "core/RecordStore.h"
#include "mainwindow/DataField.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// How many characters of a record's text `fieldCharacters` characters of the field take from
// `at` on: a line break is one character in the field and CR LF in the record.
template <typename Text> qsizetype recordLength(Text text, qsizetype at, qsizetype fieldCharacters)
{
    qsizetype end = at;
    for (qsizetype taken = 0; taken < fieldCharacters && end < text.size(); ++taken)
        end += text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1;
    return end - at;
}

} // namespace

DataFieldBinding::DataFieldBinding(DataField& field, Document& document, QObject* parent)
    : QObject(parent), m_field(field), m_document(document)
{
    setEditable(false);
}

void DataFieldBinding::showRecord(qint32 recordIndex)
{
    m_record = recordIndex;
    setEditable(true);
    if (m_shownMode >= 0) {
        const RecordPiece piece = m_document.records().textPiece(recordIndex);
        setFieldText(piece.edited ? calculator::shownText(piece.text, m_shownMode)
                                  : calculator::shownText(piece.bytes, m_shownMode));
        return;
    }
    const QString text = m_document.records().recordText(recordIndex);
    setFieldText(text);
    // The field shows a lone CR or LF of a record as a line break like any other. Storing the
    // field's text back would turn it into CR LF merely because the record was looked at, so
    // the record keeps its text until the user changes it.
    m_inStep = readsBackFromField(text);
}

void DataFieldBinding::showLoose(const QString& text)
{
    m_record.reset();
    setEditable(false);
    m_document.setLooseText(text);
    setFieldText(text);
}

void DataFieldBinding::detach()
{
    if (!m_record)
        return;
    m_record.reset();
    setEditable(false);
    m_document.setLooseText(text());
}

// What is typed while no entry is selected would belong to no record and be lost; the text
// shown can still be reached with the keyboard, selected and copied.
void DataFieldBinding::setEditable(bool editable)
{
    m_field.setReadOnly(!editable);
    if (!editable)
        m_field.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

QString DataFieldBinding::text() const
{
    return crLfLineBreaks(m_field.wholeText());
}

// The field's pieces of a long paragraph are no characters of the record: a change that takes
// one out removes nothing from it, and one that only puts them in is none.
void DataFieldBinding::txtDataField_Change(int position, int removed, int added)
{
    if (m_settingText || m_field.puttingInBreaks())
        return;
    if (removed > 0)
        removed -= m_field.breaksRemoved();
    if (removed == 0 && added == 0)
        return;
    const QString inserted = insertedText(position, added);
    if (!m_record) {
        m_document.setLooseText(text());
    } else if (m_shownMode >= 0) {
        storeShownChange(*m_record, position, removed, inserted);
    } else if (!m_inStep) {
        m_document.changeText(*m_record, 0, m_document.records().textPiece(*m_record).size(),
                              text());
        m_inStep = true;
    } else {
        storeChange(*m_record, position, removed, inserted);
    }
    m_lineSeparators = m_lineSeparators || inserted.contains(QChar::LineSeparator);
}

void DataFieldBinding::setFieldText(const QString& text)
{
    m_settingText = true;
    // The field takes CR LF for one line break; a CR before it, such as the calculator's
    // character 13 shows, stays a line break of its own.
    m_field.showText(text);
    m_settingText = false;
    m_lineSeparators = text.contains(QChar::LineSeparator);
}

// The field's characters from `position` on that a change put there.
QString DataFieldBinding::insertedText(int position, int added) const
{
    QTextCursor inserted(m_field.document());
    inserted.setPosition(position);
    inserted.setPosition(std::min(position + added, m_field.document()->characterCount() - 1),
                         QTextCursor::KeepAnchor);
    return inserted.selectedText();
}

// The field's characters before `position` are as they were; the record's text holds them with
// each line break as CR LF. Line breaks between paragraphs are counted by the field's own block
// numbers, less the pieces of long paragraphs, which the record does not hold; those inside a
// paragraph (Shift+Enter) are looked for only once one has been typed.
qsizetype DataFieldBinding::recordOffset(int position) const
{
    const QTextBlock block = m_field.document()->findBlock(position);
    qsizetype breaks = block.blockNumber() - 2 * qsizetype(m_field.breaksBefore(position));
    if (m_lineSeparators) {
        for (QTextBlock before = m_field.document()->begin(); before != block;
             before = before.next())
            breaks += before.text().count(QChar::LineSeparator);
        breaks +=
            QStringView(block.text()).left(position - block.position()).count(QChar::LineSeparator);
    }
    return position + breaks;
}

void DataFieldBinding::storeChange(qint32 recordIndex, int position, int removed,
                                   const QString& inserted)
{
    const qsizetype at = recordOffset(position);
    const RecordPiece old = m_document.records().textPiece(recordIndex);
    const qsizetype replaced =
        old.edited ? recordLength(old.text, at, removed) : recordLength(old.bytes, at, removed);
    m_document.changeText(recordIndex, at, replaced, crLfLineBreaks(inserted));
}

void DataFieldBinding::setShownMode(int mode)
{
    if (mode == m_shownMode)
        return;
    m_shownMode = mode;
    if (m_record)
        showRecord(*m_record);
}

// The field shows the record as the calculator will hold it, which the record spells in
// another way: only the record's characters that the change covers are replaced, by what was
// typed spelt for the file.
void DataFieldBinding::storeShownChange(qint32 recordIndex, int position, int removed,
                                        const QString& inserted)
{
    const RecordPiece old = m_document.records().textPiece(recordIndex);
    const QString typed = crLfLineBreaks(inserted);
    const qsizetype shownAt = position - m_field.breaksBefore(position);
    const calculator::FileEdit edit =
        old.edited ? calculator::fileEdit(old.text, shownAt, removed, typed, m_shownMode)
                   : calculator::fileEdit(old.bytes, shownAt, removed, typed, m_shownMode);
    m_document.changeText(recordIndex, edit.at, edit.removed, edit.added);
}

void DataFieldBinding::placeCursor(qsizetype recordAt, qsizetype length)
{
    if (!m_record)
        return;
    const QString text = m_document.records().recordText(*m_record);
    const auto shown = [this](QStringView piece) {
        return m_shownMode >= 0 ? calculator::shownText(piece, m_shownMode) : piece.toString();
    };
    // A CR LF of the record is one line break in the field.
    const QString before = shown(QStringView(text).left(recordAt));
    const qsizetype at = before.size() - before.count(QStringLiteral("\r\n"));
    const qsizetype shownLength = shown(QStringView(text).mid(recordAt, length)).size();
    const int last = m_field.document()->characterCount() - 1;
    QTextCursor cursor = m_field.textCursor();
    cursor.setPosition(std::min(m_field.fieldPosition(at), last));
    cursor.setPosition(std::min(m_field.fieldPosition(at + shownLength), last),
                       QTextCursor::KeepAnchor);
    m_field.setTextCursor(cursor);
    m_field.ensureCursorVisible();
}

#pragma once

#include "core/Document.h"

#include <QObject>
#include <QString>
#include <optional>

class DataField;

// Keeps the data field and the document in step: the field shows one record's text, or a loose
// text that belongs to no record, and every change of the field goes straight into it. A
// keystroke changes only what it changes in the record, however long the record is.
class DataFieldBinding final : public QObject
{
    Q_OBJECT

public:
    // The field takes typing only while it shows a record's text; until then it is read-only.
    DataFieldBinding(DataField& field, Document& document, QObject* parent = nullptr);

    // Shows a record's text, where every later change of the field is stored.
    void showRecord(qint32 recordIndex);
    // Shows a text that belongs to no record, read-only.
    void showLoose(const QString& text);
    // The field stops storing into its record and turns read-only; what it shows becomes the
    // loose text.
    void detach();
    // The field's text with line breaks as CR LF, as records hold it.
    QString text() const;
    // Shows records as the calculator will hold them after receiving them in this translation
    // mode, and stores what is typed in the file's spelling; -1 shows them as the file spells
    // them. A record shown is shown again.
    void setShownMode(int mode);
    int shownMode() const { return m_shownMode; }

    // Puts the cursor where the record's text has `recordAt` characters before it, and selects
    // `length` characters from there (a stretch without line breaks).
    void placeCursor(qsizetype recordAt, qsizetype length = 0);

    // A change of the field's document, as the document reports it.
    void txtDataField_Change(int position, int removed, int added);

private:
    void setFieldText(const QString& text);
    QString insertedText(int position, int added) const;
    qsizetype recordOffset(int position) const;
    void storeChange(qint32 recordIndex, int position, int removed, const QString& inserted);
    void storeShownChange(qint32 recordIndex, int position, int removed, const QString& inserted);
    void setEditable(bool editable);

    DataField& m_field;
    Document& m_document;
    std::optional<qint32> m_record;
    // Whether the record holds exactly what the field's text reads back as, so that a change
    // of the field can be stored as a change of the record.
    bool m_inStep = false;
    bool m_settingText = false;
    // Whether the field may hold a line break inside a paragraph, as Shift+Enter makes one.
    bool m_lineSeparators = false;
    int m_shownMode = -1;
};

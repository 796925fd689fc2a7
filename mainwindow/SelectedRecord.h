#pragma once

#include "editing/FindReplace.h"

#include <QObject>

class DataFieldBinding;
class Document;
class HeaderListView;
class QPlainTextEdit;

// The header list's selection and the data field kept in step with the document: the field
// shows the selected entry's record, a step taken back or done again shows what it changed,
// and Find shows its matches here.
class SelectedRecord final : public QObject, public FindReplaceView
{
    Q_OBJECT

public:
    SelectedRecord(HeaderListView& list, QPlainTextEdit& field, DataFieldBinding& binding,
                   Document& document);

    // The list's selection has changed: the field shows the selected record, or keeps its text
    // as belonging to none.
    void showSelected();

    // Selects the entry at `position` and, unless `textAt` is -1, `length` characters of its
    // text from there, with the focus in the data field.
    void goTo(int position, qsizetype textAt, qsizetype length = 0);

    int selectedPosition() const override;
    void selectEntry(int position) override;
    void showInText(qsizetype at, qsizetype length) override;
    void showInHeader(int position, qsizetype at, qsizetype length) override;
    void showCurrentText() override;
    int shownMode() const override;

private:
    void entryAboutToBeRemoved(int position);
    void showStep(qint32 recordIndex, qsizetype textAt);

    HeaderListView& m_list;
    QPlainTextEdit& m_field;
    DataFieldBinding& m_binding;
    Document& m_document;
};

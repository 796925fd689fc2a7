#include "mainwindow/SelectedRecord.h"

#include "core/CalculatorCode.h"
#include "core/Document.h"
#include "core/RecordStore.h"
#include "mainwindow/DataFieldBinding.h"
#include "mainwindow/HeaderListView.h"

#include <QPlainTextEdit>

SelectedRecord::SelectedRecord(HeaderListView& list, QPlainTextEdit& field,
                               DataFieldBinding& binding, Document& document)
    : QObject(&list), m_list(list), m_field(field), m_binding(binding), m_document(document)
{
    connect(&m_document.records(), &RecordStore::entryAboutToBeRemoved, this,
            &SelectedRecord::entryAboutToBeRemoved);
    connect(&m_document, &Document::stepShown, this, &SelectedRecord::showStep);
}

void SelectedRecord::showSelected()
{
    if (selectedPosition() < 0)
        return m_binding.detach();
    m_document.endTyping();
    showCurrentText();
}

int SelectedRecord::selectedPosition() const
{
    return m_list.selectedPosition();
}

void SelectedRecord::selectEntry(int position)
{
    const QModelIndex entry = m_document.records().index(position);
    m_list.selectionModel()->setCurrentIndex(entry, QItemSelectionModel::ClearAndSelect);
    m_list.scrollTo(entry);
}

void SelectedRecord::showInText(qsizetype at, qsizetype length)
{
    m_list.clearMark();
    m_binding.placeCursor(at, length);
}

// The view shows the calculator's characters where the header spells codes.
void SelectedRecord::showInHeader(int position, qsizetype at, qsizetype length)
{
    const QString header = m_document.records().headerAt(position);
    const auto shown = [this](QStringView piece) {
        return shownMode() >= 0 ? calculator::shownText(piece, shownMode()).size() : piece.size();
    };
    m_list.markInHeader(position, shown(QStringView(header).left(at)),
                        shown(QStringView(header).mid(at, length)));
}

void SelectedRecord::showCurrentText()
{
    if (const int position = selectedPosition(); position >= 0)
        m_binding.showRecord(m_document.records().recordIndexAt(position));
}

int SelectedRecord::shownMode() const
{
    return m_binding.shownMode();
}

// A removal leaves no entry selected; the list view would otherwise select the entry that
// moves up into the removed one's place, and so show that entry's record.
void SelectedRecord::entryAboutToBeRemoved(int position)
{
    if (position == selectedPosition())
        m_list.selectionModel()->clear();
}

void SelectedRecord::showStep(qint32 recordIndex, qsizetype textAt)
{
    const int position = recordIndex < 0 ? -1 : m_document.records().positionOf(recordIndex);
    if (position < 0)
        return m_list.selectionModel()->clear();
    if (position == selectedPosition())
        showCurrentText();
    goTo(position, textAt);
}

void SelectedRecord::goTo(int position, qsizetype textAt, qsizetype length)
{
    if (position != selectedPosition())
        selectEntry(position);
    if (textAt >= 0) {
        m_binding.placeCursor(textAt, length);
        m_field.setFocus();
    }
}

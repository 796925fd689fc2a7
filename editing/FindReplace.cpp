#include "editing/FindReplace.h"

#include "core/CalculatorCode.h"
#include "core/Document.h"
#include "core/Headers.h"
#include "core/RecordStore.h"

namespace {

// Two remarks for the status line, either of which may be missing.
QString sentences(const QString& first, const QString& second)
{
    if (first.isEmpty() || second.isEmpty())
        return first + second;
    return first + u' ' + second;
}

bool samePlace(const TextPlace& one, const TextPlace& other)
{
    return one.position == other.position && one.inHeader == other.inHeader && one.at == other.at;
}

} // namespace

FindReplace::FindReplace(Document& document, FindReplaceView& view)
    : m_document(document), m_view(view)
{}

QString FindReplace::find(const FindOptions& options, bool backwards)
{
    const FindOptions spelled = spelledForRecords(options);
    if (spelled.text.isEmpty())
        return {};
    const Finder finder(m_document.records(), spelled);
    return show(finder.find(searchStart(backwards), backwards), backwards);
}

QString FindReplace::replace(const FindOptions& options, const QString& replacement)
{
    const FindOptions spelled = spelledForRecords(options);
    if (spelled.text.isEmpty())
        return {};
    if (!m_lastMatch || m_lastMatch->place.position != m_view.selectedPosition())
        return find(options, false);
    // The record may have been edited since the match was found: only what still matches at
    // that place is replaced; otherwise the search goes on from there.
    const FindResult here = Finder(m_document.records(), spelled).find(m_lastMatch->place, false);
    if (!here.match || !samePlace(here.match->place, m_lastMatch->place))
        return show(here, false);
    if (!replaceMatch(*here.match, spelledForRecords(replacement)))
        return tr("Not replaced: the header would be longer than %1 characters.").arg(HeaderLimit);
    return sentences(tr("Replaced 1."), find(options, false));
}

QString FindReplace::replaceAll(const FindOptions& options, const QString& replacement)
{
    const FindOptions spelled = spelledForRecords(options);
    if (spelled.text.isEmpty())
        return {};
    const Document::Replaced done = m_document.replaceAll(
        Finder(m_document.records(), spelled).findAll(), spelledForRecords(replacement));
    m_lastMatch.reset();
    if (done.replaced > 0)
        m_view.showCurrentText();
    const QString status = tr("Replaced %1.").arg(done.replaced);
    if (done.refused == 0)
        return status;
    return sentences(status, tr("%1 in headers not replaced: the header would be longer than %2 "
                                "characters.")
                                 .arg(done.refused)
                                 .arg(HeaderLimit));
}

// The view shows the calculator's characters; the records spell them as codes.
QString FindReplace::spelledForRecords(const QString& typed) const
{
    const int mode = m_view.shownMode();
    return mode >= 0 ? calculator::fileText(typed, mode) : typed;
}

FindOptions FindReplace::spelledForRecords(FindOptions options) const
{
    options.text = spelledForRecords(options.text);
    return options;
}

// After the match found last, while its entry is still selected; else from the selected entry,
// or from the start of the list.
TextPlace FindReplace::searchStart(bool backwards) const
{
    const int selected = m_view.selectedPosition();
    if (m_lastMatch && m_lastMatch->place.position == selected) {
        TextPlace from = m_lastMatch->place;
        if (!backwards)
            from.at += m_lastMatch->length;
        return from;
    }
    return {std::max(selected, 0), true, 0};
}

// Selects and marks the match, and says how the search got there.
QString FindReplace::show(const FindResult& result, bool backwards)
{
    if (!result.match)
        return tr("Not found.");
    const FoundMatch& match = *result.match;
    if (match.place.position != m_view.selectedPosition())
        m_view.selectEntry(match.place.position);
    if (match.place.inHeader)
        m_view.showInHeader(match.place.position, match.place.at, match.length);
    else
        m_view.showInText(match.place.at, match.length);
    m_lastMatch = match;
    const QString wrapped = !result.wrapped ? QString()
                            : backwards     ? tr("Went on from the end of the list.")
                                            : tr("Went on from the start of the list.");
    return match.place.inHeader ? sentences(wrapped, tr("Found in the header.")) : wrapped;
}

// False when the header would grow past the limit: it then keeps its name.
bool FindReplace::replaceMatch(const FoundMatch& match, const QString& replacement)
{
    const TextPlace& place = match.place;
    RecordStore& records = m_document.records();
    if (place.inHeader) {
        QString header = records.headerAt(place.position);
        header.replace(place.at, match.length, replacement);
        if (header.size() > HeaderLimit)
            return false;
        m_document.renameHeader(place.position, header);
    } else {
        const Document::OwnStep step(m_document, tr("Replace"));
        m_document.changeText(records.recordIndexAt(place.position), place.at, match.length,
                              replacement);
        m_view.showCurrentText();
        m_view.showInText(place.at, replacement.size());
    }
    // The next search starts after the replacement, so that a replacement holding the find text
    // is not found again.
    m_lastMatch = FoundMatch{place, replacement.size()};
    return true;
}

#pragma once

#include <QString>

// Records and files hold line breaks as CR LF; the data field's document holds them as
// paragraph separators (U+2029), or line separators (U+2028) after Shift+Enter, and takes LF
// when its text is set. These convert at that boundary.

// A text from the field's document, with every line break as CR LF. Every other character is
// kept as it is.
QString crLfLineBreaks(const QString& documentText);
// A text from the field's document for other programs on the desktop, every line break spelt
// as the platform spells it (LF, CR LF on Windows). Every other character is kept as it is.
QString desktopLineBreaks(const QString& documentText);
// A record's text ready for the field: CR LF becomes LF.
QString lfLineBreaks(const QString& recordText);
// Whether the field shows `recordText` so that its own text reads back as exactly that record
// text: every line break a CR LF, and no character the field takes for a line break of its own.
bool readsBackFromField(QStringView recordText);

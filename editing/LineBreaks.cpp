#include "editing/LineBreaks.h"

#include <algorithm>

namespace {

bool isDocumentLineBreak(QChar c)
{
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

} // namespace

QString crLfLineBreaks(const QString& documentText)
{
    // Runs on every keystroke over the whole record: count first so the result is allocated
    // once, then copy in one pass.
    const qsizetype breaks =
        std::count_if(documentText.cbegin(), documentText.cend(), isDocumentLineBreak);
    if (breaks == 0)
        return documentText;

    QString text(documentText.size() + breaks, Qt::Uninitialized);
    QChar* out = text.data();
    for (const QChar c : documentText) {
        if (isDocumentLineBreak(c)) {
            *out++ = QLatin1Char('\r');
            *out++ = QLatin1Char('\n');
        } else {
            *out++ = c;
        }
    }
    return text;
}

QString lfLineBreaks(const QString& recordText)
{
    if (!recordText.contains(QLatin1Char('\r')))
        return recordText;
    QString text = recordText;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

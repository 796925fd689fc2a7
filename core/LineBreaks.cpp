#include "core/LineBreaks.h"

#include <algorithm>

namespace {

bool isDocumentLineBreak(QChar c)
{
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

#ifdef Q_OS_WIN
constexpr QStringView DesktopLineBreak = u"\r\n";
#else
constexpr QStringView DesktopLineBreak = u"\n";
#endif

QString withLineBreaks(const QString& documentText, QStringView lineBreak)
{
    // Count first so that the result needs one allocation, then copy in one pass.
    const qsizetype breaks =
        std::count_if(documentText.cbegin(), documentText.cend(), isDocumentLineBreak);
    if (breaks == 0)
        return documentText;
    QString text(documentText.size() + breaks * (lineBreak.size() - 1), Qt::Uninitialized);
    QChar* out = text.data();
    for (const QChar c : documentText) {
        if (isDocumentLineBreak(c))
            out = std::copy(lineBreak.cbegin(), lineBreak.cend(), out);
        else
            *out++ = c;
    }
    return text;
}

} // namespace

QString crLfLineBreaks(const QString& documentText)
{
    return withLineBreaks(documentText, u"\r\n");
}

QString desktopLineBreaks(const QString& documentText)
{
    return withLineBreaks(documentText, DesktopLineBreak);
}

QString lfLineBreaks(const QString& recordText)
{
    if (!recordText.contains(QLatin1Char('\r')))
        return recordText;
    QString text = recordText;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

bool readsBackFromField(QStringView recordText)
{
    const char16_t* c = recordText.utf16();
    const qsizetype n = recordText.size();
    for (qsizetype i = 0; i < n; ++i) {
        switch (c[i]) {
        case u'\r':
            if (i + 1 == n || c[i + 1] != u'\n')
                return false;
            ++i;
            break;
        case u'\n':
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
        case 0xFDD0: // the text document's frame marks
        case 0xFDD1:
            return false;
        default:
            break;
        }
    }
    return true;
}

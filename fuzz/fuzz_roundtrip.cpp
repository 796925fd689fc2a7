// Builds a document from the input, writes it and reads it back. Every document whose headers
// hold no quote, CR or LF and no space at their ends, and whose texts hold no quote and break
// lines only with CR LF, must come back unchanged, whatever the transfer header settings.
#include "fuzz/FuzzSupport.h"

#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <vector>

namespace {

// A length, then as many bytes: taken whole rather than a character at a time.
QByteArray take(FuzzedDataProvider& input, std::size_t maxLength)
{
    const std::vector<char> bytes =
        input.ConsumeBytes<char>(input.ConsumeIntegralInRange<std::size_t>(0, maxLength));
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

QString headerFrom(QByteArray bytes)
{
    bytes.replace('"', "").replace('\r', "").replace('\n', "");
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && bytes[begin] == ' ')
        ++begin;
    while (end > begin && bytes[end - 1] == ' ')
        --end;
    return QString::fromLatin1(bytes.sliced(begin, end - begin));
}

// Any CR that does not start a CR LF gets its LF, as a record's text would hold it.
QString textFrom(QByteArray bytes)
{
    bytes.replace('"', "");
    if (!bytes.contains('\r'))
        return QString::fromLatin1(bytes);
    QString text;
    text.reserve(bytes.size() * 2);
    const char* const end = bytes.constData() + bytes.size();
    for (const char* at = bytes.constData(); at != end; ++at) {
        text.append(QLatin1Char(*at));
        if (*at == '\r' && (at + 1 == end || at[1] != '\n'))
            text.append(u'\n');
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    static const char* const headerSettings[] = {"1", "0", "", " 1"};
    const QString asciiHeader =
        QString::fromLatin1(headerSettings[input.ConsumeIntegralInRange(0, 3)]);
    const QString asciiText = QString::fromLatin1(take(input, 80).replace('\r', ""));

    static std::unique_ptr<Document> typed;
    static std::unique_ptr<Document> read;
    Document& document = fuzz::emptied(typed);
    RecordStore& records = document.records();
    while (input.remaining_bytes() > 0 && records.count() < 20000) {
        const qint32 index = *records.addRecord(headerFrom(take(input, 40)));
        records.setRecordText(index, textFrom(take(input, 400)));
    }

    Document& readBack = fuzz::emptied(read);
    const QByteArray file = fuzz::saved(document, {asciiHeader, asciiText});
    readBack.FileInSub(file);
    // Written again untouched, the records read go out as the file's own bytes.
    fuzz::require(fuzz::saved(readBack, {asciiHeader, asciiText}) == file,
                  "a document read back is written byte for byte as it was read");
    if (!fuzz::sameEntries(readBack, document)) {
        std::fprintf(stderr, "round trip broken\nwritten: %s\nread:    %s\n",
                     qPrintable(fuzz::entries(document).join(u' ')),
                     qPrintable(fuzz::entries(readBack).join(u' ')));
        std::abort();
    }
    return 0;
}

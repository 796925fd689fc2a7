// Reads any bytes as a data file. Beyond never crashing, hanging or blowing up, the reader must
// hand out headers with no space at their ends and no CR, texts whose line breaks are all CR LF,
// and a document that reads back unchanged once written, whenever it can be written at all.
#include "core/DataFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

void checkRecords(const datafile::ReadResult& result)
{
    qsizetype previous = -1;
    for (qsizetype position : result.withText) {
        require(position > previous && position < result.records.size(), "text positions");
        previous = position;
    }
    for (const datafile::Record& record : result.records) {
        require(!record.header.startsWith(u' ') && !record.header.endsWith(u' '),
                "header trimmed of spaces");
        require(!record.header.contains(u'\r'), "no CR in a header");
        require(record.text.count(u'\r') == record.text.count(QStringLiteral("\r\n")),
                "text lines joined by CR LF");
    }
}

// A quote in a header or a text cannot be written in the calculator's string form.
bool writable(const QList<datafile::Record>& records)
{
    for (const datafile::Record& record : records) {
        if (record.header.contains(u'"') || record.text.contains(u'"'))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const datafile::ReadResult result = datafile::read(bytes);
    checkRecords(result);
    if (!writable(result.records))
        return 0;
    for (const char* asciiHeader : {"1", "0"}) {
        const QString output = datafile::write(result.records, QString::fromLatin1(asciiHeader),
                                               QStringLiteral("%%HP: T(3)A(D)F(.);"));
        require(datafile::read(datafile::fileBytes(output)).records == result.records,
                "a document read from a file reads back the same once written");
    }
    return 0;
}

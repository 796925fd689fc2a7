// Reads any bytes as a data file. Beyond never crashing, hanging or blowing up, the reader must
// hand out headers with no space at their ends and no CR, texts whose line breaks are all CR LF,
// and a document that reads back unchanged once written, whenever it can be written at all.
#include "core/BinaryObject.h"
#include "core/DataFile.h"
#include "fuzz/FuzzSupport.h"

#include <cstdint>

namespace {

void checkSpans(QByteArrayView bytes, const datafile::ReadResult& result)
{
    qsizetype previous = -1;
    for (qsizetype position : result.withText) {
        fuzz::require(position > previous && position < result.records.size(), "text positions");
        previous = position;
    }
    for (const datafile::ReadRecord& record : result.records) {
        for (const datafile::Span span : {record.header, record.text})
            fuzz::require(span.offset >= 0 && span.size >= 0 &&
                              span.offset + span.size <= bytes.size(),
                          "pieces inside the file");
        const QByteArrayView header = bytes.sliced(record.header.offset, record.header.size);
        fuzz::require(!header.startsWith(' ') && !header.endsWith(' '), "header trimmed");
        fuzz::require(!header.contains('\r'), "no CR in a header");
    }
}

// Text lines joined by CR LF; whether a data file can hold every entry as it is.
bool checkEntries(const Document& document)
{
    bool writable = true;
    for (const QString& entry : fuzz::entries(document)) {
        fuzz::require(entry.count(u'\r') == entry.count(QStringLiteral("\r\n")),
                      "text lines joined by CR LF");
        writable = writable && !entry.contains(u'"');
    }
    return writable;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // Open takes the calculator's binary form too: a list read from it is written back the same.
    if (binaryobject::isBinary(bytes)) {
        const binaryobject::Reading reading = binaryobject::read(bytes);
        if (reading.notAList.isEmpty())
            fuzz::require(binaryobject::read(binaryobject::write(reading.strings)).strings ==
                              reading.strings,
                          "a binary list reads back the same once written");
        return 0;
    }
    checkSpans(bytes, datafile::read(bytes));
    static std::unique_ptr<Document> opened;
    static std::unique_ptr<Document> read;
    Document& document = fuzz::emptied(opened);
    document.FileInSub(bytes);
    if (!checkEntries(document))
        return 0;
    for (const char* asciiHeader : {"1", "0"}) {
        const TransferHeader header{QString::fromLatin1(asciiHeader), "%%HP: T(3)A(D)F(.);"};
        Document& readBack = fuzz::emptied(read);
        readBack.FileInSub(fuzz::saved(document, header));
        fuzz::require(fuzz::sameEntries(readBack, document),
                      "a document read from a file reads back the same once written");
    }
    return 0;
}

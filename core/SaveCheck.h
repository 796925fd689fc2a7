#pragma once

#include <optional>

class RecordStore;

// A data file holds each record as one of the calculator's strings, one byte per character.
// A double quote cannot stand inside such a string (the calculator has no escape for it) and
// a character beyond Latin-1 has no byte at all: neither reads back as it was written.
struct UnwritableContent
{
    // List position of the first record that holds such content.
    int position = -1;
    // What that record holds, in its header or its text.
    bool doubleQuote = false;
    bool beyondLatin1 = false;
};

// Looks through the headers and texts in list order; nullopt when every record can be
// written so that it reads back as it is.
std::optional<UnwritableContent> findUnwritableContent(const RecordStore& store);

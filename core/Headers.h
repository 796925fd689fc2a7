#pragma once

#include <QtGlobal>

// A header typed in Tabulet is at most this long; a header read from a file may be longer.
inline constexpr qsizetype HeaderLimit = 22;

// A header loses the spaces at its ends, and only spaces: a tab or any other character there
// is part of the header. Works on bytes as read from a file and on typed text alike.
template <typename View> View spaceTrimmed(View header)
{
    qsizetype begin = 0;
    qsizetype end = header.size();
    while (begin < end && header[begin] == u' ')
        ++begin;
    while (end > begin && header[end - 1] == u' ')
        --end;
    return header.sliced(begin, end - begin);
}

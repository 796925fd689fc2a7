#include "core/CalculatorCode.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <numeric>

namespace calculator {
namespace {

constexpr char16_t Backslash = u'\\';
constexpr char16_t Quote = u'"';
constexpr char16_t Macron = 0x0304; // combining, after an x: the mean x-bar, 129

struct Name
{
    int code;
    char spelling[3];
};

// The names a save writes.
constexpr Name WrittenNames[] = {
    {128, "<)"}, {129, "x-"}, {130, ".V"}, {131, "v/"}, {132, ".S"}, {133, "GS"}, {134, "|>"},
    {135, "pi"}, {136, ".d"}, {137, "<="}, {138, ">="}, {139, "=/"}, {140, "Ga"}, {141, "->"},
    {142, "<-"}, {143, "|v"}, {144, "|^"}, {145, "Gg"}, {146, "Gd"}, {147, "Ge"}, {148, "Gn"},
    {149, "Gh"}, {150, "Gl"}, {151, "Gr"}, {152, "Gs"}, {153, "Gt"}, {154, "Gw"}, {155, "GD"},
    {156, "PI"}, {157, "GW"}, {158, "[]"}, {159, "oo"}, {171, "<<"}, {176, "^o"}, {181, "Gm"},
    {187, ">>"}, {247, ":-"}};
// Calculators and their manuals name these three differently. Files written by any of them are
// read; a save spells them in digits, which every calculator reads alike.
constexpr Name ReadOnlyNames[] = {{215, ".x"}, {216, "O/"}, {216, "0/"}, {223, "Gb"}};

// What 128 to 159 show as; 129 takes a combining macron after its x.
constexpr char16_t Signs[32] = {0x2220, u'x',   0x2207, 0x221A, 0x222B, 0x03A3, 0x25B6, 0x03C0,
                                0x2202, 0x2264, 0x2265, 0x2260, 0x03B1, 0x2192, 0x2190, 0x2193,
                                0x2191, 0x03B3, 0x03B4, 0x03B5, 0x03B7, 0x03B8, 0x03BB, 0x03C1,
                                0x03C3, 0x03C4, 0x03C9, 0x0394, 0x03A0, 0x03A9, 0x25A0, 0x221E};
constexpr char16_t Ellipsis = 0x2026;    // 31
constexpr char16_t ShadedBlock = 0x2592; // 127

constexpr char16_t shownChar(int code)
{
    if (code == 31)
        return Ellipsis;
    if (code == 127)
        return ShadedBlock;
    if (code >= 128 && code <= 159)
        return Signs[code - 128];
    return char16_t(code);
}

constexpr auto Glyphs = [] {
    std::array<std::array<char16_t, 2>, 256> glyphs{};
    for (int code = 0; code < 256; ++code)
        glyphs[code][0] = shownChar(code);
    glyphs[129][1] = Macron;
    return glyphs;
}();

// Each code's spelling, NUL-terminated.
constexpr auto Spellings = [] {
    std::array<std::array<char, 5>, 256> spellings{};
    for (int code = 0; code < 256; ++code) {
        std::array<char, 5>& s = spellings[code];
        s[0] = '\\';
        s[1] = char('0' + code / 100);
        s[2] = char('0' + code / 10 % 10);
        s[3] = char('0' + code % 10);
    }
    spellings[92] = {'\\', '\\'};
    for (const Name& name : WrittenNames)
        spellings[name.code] = {'\\', name.spelling[0], name.spelling[1]};
    return spellings;
}();

// Every byte value, for spelling a character as itself.
constexpr auto Bytes = [] {
    std::array<char, 256> bytes{};
    for (int code = 0; code < 256; ++code)
        bytes[code] = char(code);
    return bytes;
}();

// Named codes by their two characters, both printable ASCII; 0 where no code has that name.
constexpr int Printable = 95;
constexpr auto NamedCodes = [] {
    std::array<unsigned char, Printable * Printable> codes{};
    const auto add = [&](const Name& name) {
        codes[(name.spelling[0] - 32) * Printable + name.spelling[1] - 32] =
            static_cast<unsigned char>(name.code);
    };
    for (const Name& name : WrittenNames)
        add(name);
    for (const Name& name : ReadOnlyNames)
        add(name);
    return codes;
}();

template <typename Char> int namedCode(Char first, Char second)
{
    const auto printable = [](Char c) { return c >= 32 && c < 32 + Printable; };
    if (!printable(first) || !printable(second))
        return -1;
    const int code = NamedCodes[(first - 32) * Printable + second - 32];
    return code != 0 ? code : -1;
}

// The character code a sign of the view stands for; -1 for a character the calculator lacks.
int codeOfShown(char16_t c)
{
    if (c <= 0xFF)
        return c;
    if (c == Ellipsis)
        return 31;
    if (c == ShadedBlock)
        return 127;
    const auto sign = std::find(std::begin(Signs), std::end(Signs), c);
    return sign != std::end(Signs) ? int(sign - std::begin(Signs)) + 128 : -1;
}

// How the file spells a code typed into the view; see spellingFor().
QLatin1String spelling(int code, int highest)
{
    if (code <= highest && (code == Backslash || code == 31 || code >= 127))
        return codeSpelling(code);
    return QLatin1String(&Bytes[code], 1);
}

// What a backslash at `p[0]` starts, with `left` characters from it on.
struct CodeRead
{
    int code = -1; // -1: no code
    qsizetype length = 1;
    bool beyondMode = false;
};

template <typename Char> CodeRead readCode(const Char* p, qsizetype left, int highest)
{
    if (left >= 2 && p[1] == Backslash)
        return {Backslash, 2, false};
    const auto digit = [&](qsizetype at) { return at < left && p[at] >= '0' && p[at] <= '9'; };
    if (digit(1) && digit(2) && digit(3)) {
        const int code = (p[1] - '0') * 100 + (p[2] - '0') * 10 + (p[3] - '0');
        if (code > 255)
            return {};
        return {code, 4, code > highest};
    }
    if (left >= 3) {
        if (const int code = namedCode(p[1], p[2]); code >= 0)
            return {code, 3, code > highest};
    }
    return {};
}

// Characters are looked at a chunk at a time where most of them need nothing: the compiler
// turns each chunk into a few vector steps, which mark the characters that need a closer look
// with a byte of ones each. The first mark is then found in two words rather than one by one.
// Whether the mode reads codes is known at compile time, so that the steps compare with
// constants only.
constexpr int Chunk = 16;
using Marks = std::array<unsigned char, Chunk>;

int firstMark(const Marks& marks)
{
    quint64 low;
    quint64 high;
    std::memcpy(&low, marks.data(), 8);
    std::memcpy(&high, marks.data() + 8, 8);
    if ((low | high) == 0)
        return Chunk;
    if constexpr (std::endian::native == std::endian::little)
        return low != 0 ? std::countr_zero(low) / 8 : 8 + std::countr_zero(high) / 8;
    else
        return int(std::find(marks.begin(), marks.end(), 0xFF) - marks.begin());
}

unsigned char mark(bool marked)
{
    return static_cast<unsigned char>(-int(marked));
}

template <typename Char> bool beyondLatin1(Char c)
{
    if constexpr (sizeof(Char) == 1)
        return false;
    else
        return c > 0xFF;
}

// What the view shows otherwise than the store holds it: 31, 127 to 159, and in a mode that
// reads codes a backslash.
template <bool Codes, typename Char> bool shownOtherwise(Char c)
{
    return (c == 31) | (Char(c - 127) <= Char(159 - 127)) | (Codes && c == Backslash);
}

// Copies characters to the view's text up to the first one shown otherwise; how many. The two
// never overlap, which lets the compiler copy in vector steps.
template <bool Codes, typename Char>
qsizetype copyPlain(char16_t* __restrict out, const Char* __restrict in, qsizetype n)
{
    qsizetype at = 0;
    for (; at + Chunk <= n; at += Chunk) {
        Marks marks;
        // Left as a loop, a chunk of text of its own would be copied by a call to memmove.
        if constexpr (sizeof(Char) == sizeof(char16_t))
            std::memcpy(out + at, in + at, sizeof(char16_t) * Chunk);
        for (int k = 0; k < Chunk; ++k) {
            if constexpr (sizeof(Char) == 1)
                out[at + k] = in[at + k];
            marks[k] = mark(shownOtherwise<Codes>(in[at + k]));
        }
        if (const int first = firstMark(marks); first < Chunk)
            return at + first;
    }
    for (; at < n && !shownOtherwise<Codes>(in[at]); ++at)
        out[at] = in[at];
    return at;
}

// The view's text, written straight into its string. Nothing shows as more characters than the
// file spells it, but for a byte 129, the one character that shows as two.
template <bool Codes, typename Char> QString shownWith(const Char* p, qsizetype n, int highest)
{
    QString shown(n, Qt::Uninitialized);
    char16_t* begin = reinterpret_cast<char16_t*>(shown.data());
    char16_t* out = begin;
    // At every step there is room for what is left of the text, each character as one.
    const auto makeRoom = [&](qsizetype at) {
        const qsizetype written = out - begin;
        if (shown.size() - written >= n - at + 1)
            return;
        shown.resize(written + (n - at) + n / 8 + 16);
        begin = reinterpret_cast<char16_t*>(shown.data());
        out = begin + written;
    };
    const auto put = [&](int code) {
        *out++ = shownChar(code);
        if (code == 129)
            *out++ = Macron;
    };
    qsizetype at = 0;
    while (true) {
        const qsizetype plain = copyPlain<Codes>(out, p + at, n - at);
        at += plain;
        out += plain;
        if (at == n)
            break;
        if (p[at] != Backslash) {
            makeRoom(at);
            put(p[at++]);
            continue;
        }
        const CodeRead code = readCode(p + at, n - at, highest);
        if (code.code < 0 || code.beyondMode) {
            *out++ = p[at++];
            continue;
        }
        at += code.length;
        // The view takes CR LF for a line end, which the calculator receives as one LF; a CR
        // and an LF that it holds as two characters show with a line end after the CR.
        if (code.code == u'\n' && out > begin && out[-1] == u'\r')
            *out++ = u'\r';
        put(code.code);
        if (code.code == u'\r' && at < n && p[at] == u'\n')
            *out++ = u'\r';
    }
    shown.resize(out - begin);
    return shown;
}

template <typename Char> QString shownIn(const Char* p, qsizetype n, int mode)
{
    const int highest = highestCode(mode);
    return highest >= 0 ? shownWith<true>(p, n, highest) : shownWith<false>(p, n, highest);
}

// What the calculator receives otherwise than one character for one: a quote, a backslash in a
// mode that reads codes, a character beyond Latin-1.
template <bool Codes, typename Char> bool receivedOtherwise(Char c)
{
    return (c == Quote) | (Codes && c == Backslash) | beyondLatin1(c);
}

// Without a branch: in text, line ends come too irregularly for a branch to be foreseen.
template <typename Char> int lineEndAt(const Char* p, qsizetype at, qsizetype n)
{
    return (p[at] == u'\r') & ((at + 1 < n ? p[at + 1] : Char(0)) == u'\n');
}

// The sum of the first `count` values, each 0 or 1, of a chunk: eight at a time, by a product
// that adds a word's bytes up in its highest byte.
inline int sumBefore(const Marks& values, int count)
{
    if constexpr (std::endian::native == std::endian::little) {
        quint64 low;
        quint64 high;
        std::memcpy(&low, values.data(), 8);
        std::memcpy(&high, values.data() + 8, 8);
        const auto firstBytes = [](int bytes) {
            return bytes >= 8 ? ~quint64(0) : (quint64(1) << (8 * bytes)) - 1;
        };
        low &= firstBytes(count);
        high &= count > 8 ? firstBytes(count - 8) : 0;
        constexpr quint64 Ones = 0x0101010101010101;
        return int((low * Ones) >> 56) + int((high * Ones) >> 56);
    } else {
        return std::accumulate(values.begin(), values.begin() + count, 0);
    }
}

// Counts the line ends up to the first character received otherwise; where it stands, or `n`.
// A chunk looks at the character after it too, for an LF.
template <bool Codes, typename Char>
qsizetype countPlain(const Char* p, qsizetype at, qsizetype n, qsizetype& lineEnds)
{
    qsizetype counted = 0;
    for (; at + Chunk < n; at += Chunk) {
        Marks marks;
        Marks ends;
        for (int k = 0; k < Chunk; ++k) {
            marks[k] = mark(receivedOtherwise<Codes>(p[at + k]));
            ends[k] = (p[at + k] == u'\r') & (p[at + k + 1] == u'\n');
        }
        const int first = firstMark(marks);
        counted += sumBefore(ends, first);
        if (first < Chunk) {
            lineEnds += counted;
            return at + first;
        }
    }
    for (; at < n && !receivedOtherwise<Codes>(p[at]); ++at)
        counted += lineEndAt(p, at, n);
    lineEnds += counted;
    return at;
}

void note(qsizetype& place, qsizetype at)
{
    if (place < 0)
        place = at;
}

template <bool Codes, typename Char> Reception receiveWith(const Char* p, qsizetype n, int mode)
{
    Reception reception;
    const int highest = highestCode(mode);
    qsizetype lineEnds = 0;
    // Codes arrive as one character, a character beyond U+FFFF as one "?".
    qsizetype saved = 0;
    for (qsizetype at = countPlain<Codes>(p, 0, n, lineEnds); at < n;
         at = countPlain<Codes>(p, at, n, lineEnds)) {
        const Char c = p[at];
        if (c == Quote) {
            note(reception.doubleQuote, at++);
        } else if (Codes && c == Backslash) {
            const CodeRead code = readCode(p + at, n - at, highest);
            if (code.code < 0)
                note(reception.strayBackslash, at);
            else if (code.beyondMode)
                note(reception.codeBeyondMode, at);
            else
                saved += code.length - 1;
            at += code.beyondMode || code.code < 0 ? 1 : code.length;
        } else {
            note(reception.notOnCalculator, at);
            if (QChar::isHighSurrogate(c) && at + 1 < n && QChar::isLowSurrogate(p[at + 1])) {
                ++saved;
                ++at;
            }
            ++at;
        }
    }
    reception.length = n - saved - (mode >= 1 ? lineEnds : 0);
    return reception;
}

template <typename Char> Reception receiveIn(const Char* p, qsizetype n, int mode)
{
    return highestCode(mode) >= 0 ? receiveWith<true>(p, n, mode) : receiveWith<false>(p, n, mode);
}

// A place between two characters of a piece: how far into the file's spelling it is, and how
// many characters of the data field's text lie before it.
struct Place
{
    qsizetype fileAt = 0;
    qsizetype shownAt = 0;
};

// The place after the character of the file, or the code, that starts at `from`.
template <typename Char> Place placeAfter(const Char* p, qsizetype n, Place from, int highest)
{
    const qsizetype at = from.fileAt;
    if (p[at] == u'\r' && at + 1 < n && p[at + 1] == u'\n')
        return {at + 2, from.shownAt + 1};
    if (p[at] == 129)
        return {at + 1, from.shownAt + 2};
    if (highest >= 0 && p[at] == Backslash) {
        const CodeRead code = readCode(p + at, n - at, highest);
        if (code.code >= 0 && !code.beyondMode)
            return {at + code.length, from.shownAt + glyph(code.code).size()};
    }
    return {at + 1, from.shownAt + 1};
}

// What the data field shows as one character for one; a CR may start a line end.
template <bool Codes, typename Char> bool fieldAlike(Char c)
{
    return !((c == u'\r') | (c == 129) | (Codes && c == Backslash));
}

// How many of the first `n` characters the data field shows one for one.
template <bool Codes, typename Char> qsizetype alikeRun(const Char* p, qsizetype n)
{
    qsizetype at = 0;
    for (; at + Chunk <= n; at += Chunk) {
        Marks marks;
        for (int k = 0; k < Chunk; ++k)
            marks[k] = mark(!fieldAlike<Codes>(p[at + k]));
        if (const int first = firstMark(marks); first < Chunk)
            return at + first;
    }
    while (at < n && fieldAlike<Codes>(p[at]))
        ++at;
    return at;
}

// Walks from `from` to the last place with no more than `shown` characters of the data field
// before it; `stray`, unless null, learns where the last backslash on the way that starts no
// code stands.
template <bool Codes, typename Char>
Place walkTo(const Char* p, qsizetype n, Place from, qsizetype shown, int highest, qsizetype* stray)
{
    while (from.fileAt < n && from.shownAt < shown) {
        const qsizetype alike =
            alikeRun<Codes>(p + from.fileAt, std::min(n - from.fileAt, shown - from.shownAt));
        from = {from.fileAt + alike, from.shownAt + alike};
        if (from.fileAt == n || from.shownAt == shown)
            break;
        const Place next = placeAfter(p, n, from, highest);
        if (next.shownAt > shown)
            break;
        if (Codes && stray && p[from.fileAt] == Backslash && next.fileAt == from.fileAt + 1)
            *stray = from.fileAt;
        from = next;
    }
    return from;
}

template <typename Char> QString textOf(const Char* p, qsizetype from, qsizetype to)
{
    if constexpr (sizeof(Char) == 1)
        return QString::fromLatin1(reinterpret_cast<const char*>(p + from), to - from);
    else
        return QString(reinterpret_cast<const QChar*>(p + from), to - from);
}

// The characters of the file that a change of the data field's characters from `shownAt` to
// `shownEnd` covers, each whole, and what the field still shows of the first and the last of
// them once the change is made.
struct Covered
{
    Place start;
    Place end;
    QString keptBefore;
    QString keptAfter;
    // The last backslash before the change that starts no code; -1 for none.
    qsizetype stray = -1;
};

template <bool Codes, typename Char>
Covered covered(const Char* p, qsizetype n, qsizetype shownAt, qsizetype shownEnd, int mode)
{
    const int highest = highestCode(mode);
    Covered cover;
    cover.start = walkTo<Codes>(p, n, {}, shownAt, highest, &cover.stray);
    cover.end = walkTo<Codes>(p, n, cover.start, shownEnd, highest, nullptr);
    if (cover.start.shownAt < shownAt && cover.start.fileAt < n) {
        const Place next = placeAfter(p, n, cover.start, highest);
        cover.keptBefore = shownIn(p + cover.start.fileAt, next.fileAt - cover.start.fileAt, mode)
                               .left(shownAt - cover.start.shownAt);
    }
    if (cover.end.shownAt < shownEnd && cover.end.fileAt < n) {
        const Place next = placeAfter(p, n, cover.end, highest);
        cover.keptAfter = shownIn(p + cover.end.fileAt, next.fileAt - cover.end.fileAt, mode)
                              .right(next.shownAt - shownEnd);
        cover.end = next;
    }
    return cover;
}

// Where the edit would make a backslash before it that starts no code start one, the edit
// takes that backslash in, spelt as the code of a backslash. A code is four characters at
// most: only a backslash that close to the edit can start one.
template <typename Char>
FileEdit keepingStrayBackslash(const Char* p, qsizetype n, qsizetype stray, FileEdit edit,
                               int highest)
{
    if (stray < 0 || stray < edit.at - 3)
        return edit;
    const qsizetype end = edit.at + edit.removed;
    const QString between = textOf(p, stray + 1, edit.at);
    const QString joined = Backslash + between + edit.added + textOf(p, end, std::min(end + 3, n));
    const CodeRead code = readCode(joined.utf16(), joined.size(), highest);
    if (code.code < 0 || code.beyondMode)
        return edit;
    return {stray, end - stray, codeSpelling(Backslash) + between + edit.added};
}

template <bool Codes, typename Char>
FileEdit editWith(const Char* p, qsizetype n, qsizetype shownAt, qsizetype shownRemoved,
                  QStringView typed, int mode)
{
    const Covered change = covered<Codes>(p, n, shownAt, shownAt + shownRemoved, mode);
    QString shown = change.keptBefore;
    shown.append(typed).append(change.keptAfter);
    const FileEdit edit{change.start.fileAt, change.end.fileAt - change.start.fileAt,
                        fileText(shown, mode)};
    return Codes ? keepingStrayBackslash(p, n, change.stray, edit, highestCode(mode)) : edit;
}

template <typename Char>
FileEdit editIn(const Char* p, qsizetype n, qsizetype shownAt, qsizetype shownRemoved,
                QStringView typed, int mode)
{
    return highestCode(mode) >= 0 ? editWith<true>(p, n, shownAt, shownRemoved, typed, mode)
                                  : editWith<false>(p, n, shownAt, shownRemoved, typed, mode);
}

} // namespace

ModeChoice modeChoice(const TransferHeader& header)
{
    if (!header.isOn())
        return {1, QCoreApplication::translate(
                       "calculator",
                       "No transfer header is written, so the calculator uses its own setting, "
                       "T(1) unless it was changed.")};
    const QString& text = header.asciiText;
    const QLatin1String opening("T(");
    for (qsizetype at = text.indexOf(opening); at >= 0; at = text.indexOf(opening, at + 1)) {
        if (at + 3 < text.size() && text[at + 2] >= u'0' && text[at + 2] <= u'3' &&
            text[at + 3] == u')') {
            const int mode = text[at + 2].unicode() - u'0';
            return {mode, QCoreApplication::translate("calculator",
                                                      "The transfer header \"%1\" asks for T(%2).")
                              .arg(text)
                              .arg(mode)};
        }
    }
    return {1, QCoreApplication::translate(
                   "calculator",
                   "The transfer header \"%1\" names no translation mode, so the calculator uses "
                   "its own setting, T(1) unless it was changed.")
                   .arg(text)};
}

int translationMode(const TransferHeader& header)
{
    return modeChoice(header).mode;
}

QStringView glyph(int code)
{
    return QStringView(Glyphs[code].data(), code == 129 ? 2 : 1);
}

QLatin1String codeSpelling(int code)
{
    return QLatin1String(Spellings[code].data());
}

QString spellingFor(int code, int mode)
{
    return spelling(code, highestCode(mode));
}

QString shownText(QByteArrayView fileText, int mode)
{
    return shownIn(reinterpret_cast<const unsigned char*>(fileText.data()), fileText.size(), mode);
}

QString shownText(QStringView fileText, int mode)
{
    return shownIn(fileText.utf16(), fileText.size(), mode);
}

QString fileText(QStringView shown, int mode)
{
    const int highest = highestCode(mode);
    QString text;
    text.reserve(shown.size() + 16);
    for (qsizetype at = 0, n = shown.size(); at < n; ++at) {
        const char16_t c = shown[at].unicode();
        int code = codeOfShown(c);
        if (c == u'x' && at + 1 < n && shown[at + 1] == Macron) {
            code = 129;
            ++at;
        }
        if (code < 0)
            text.append(QChar(c));
        else
            text.append(spelling(code, highest));
    }
    return text;
}

FileEdit fileEdit(QByteArrayView fileText, qsizetype shownAt, qsizetype shownRemoved,
                  QStringView typed, int mode)
{
    return editIn(reinterpret_cast<const unsigned char*>(fileText.data()), fileText.size(), shownAt,
                  shownRemoved, typed, mode);
}

FileEdit fileEdit(QStringView fileText, qsizetype shownAt, qsizetype shownRemoved,
                  QStringView typed, int mode)
{
    return editIn(fileText.utf16(), fileText.size(), shownAt, shownRemoved, typed, mode);
}

Reception receive(QByteArrayView piece, int mode)
{
    return receiveIn(reinterpret_cast<const unsigned char*>(piece.data()), piece.size(), mode);
}

Reception receive(QStringView piece, int mode)
{
    return receiveIn(piece.utf16(), piece.size(), mode);
}

} // namespace calculator

#include "core/CalculatorCode.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>

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

// Characters are looked at this many at a time where most of them need nothing; the compiler
// turns each block into a few vector steps.
constexpr qsizetype Block = 32;

// What the view shows otherwise than the store holds it: 31, 127 to 159, and in a mode that
// reads codes a backslash. `codeStart` is the backslash, or 31 again where there are no codes.
inline bool shownOtherwise(char16_t c, char16_t codeStart)
{
    return (c == 31) | (unsigned(c - 127) <= 159u - 127u) | (c == codeStart);
}

qsizetype nextShownOtherwise(const char16_t* p, qsizetype at, qsizetype n, char16_t codeStart)
{
    for (; at + Block <= n; at += Block) {
        unsigned found = 0;
        for (qsizetype k = 0; k < Block; ++k)
            found |= shownOtherwise(p[at + k], codeStart);
        if (found)
            break;
    }
    while (at < n && !shownOtherwise(p[at], codeStart))
        ++at;
    return at;
}

// A character that came from a code. CR and LF need care: the view takes CR LF for a line end,
// which the calculator receives as one LF, so a CR and an LF that the calculator holds as two
// characters are shown with a line end after the CR instead.
void appendFromCode(QString& shown, int code, char16_t next)
{
    if (code == u'\n' && shown.endsWith(u'\r'))
        shown.append(u'\r');
    shown.append(glyph(code));
    if (code == u'\r' && next == u'\n')
        shown.append(u'\r');
}

template <typename Char> bool beyondLatin1(Char c)
{
    if constexpr (sizeof(Char) == 1)
        return false;
    else
        return c > 0xFF;
}

void note(qsizetype& place, qsizetype at)
{
    if (place < 0)
        place = at;
}

template <typename Char> Reception receiveIn(const Char* p, qsizetype n, int mode)
{
    Reception reception;
    const int highest = highestCode(mode);
    // Without codes, the quote stands in for the backslash: it is looked for anyway.
    const Char codeStart = highest >= 0 ? Char(Backslash) : Char(Quote);
    qsizetype lineEnds = 0;
    // Codes arrive as one character, a character beyond U+FFFF as one "?".
    qsizetype saved = 0;
    qsizetype at = 0;
    while (at < n) {
        // Runs of plain characters and CR LF go a block at a time; the block may look at the
        // character after it, for an LF.
        for (; at + Block < n; at += Block) {
            unsigned found = 0;
            unsigned ends = 0;
            for (qsizetype k = 0; k < Block; ++k) {
                const Char c = p[at + k];
                found |= (c == Quote) | (c == codeStart) | beyondLatin1(c);
                ends += (c == u'\r') & (p[at + k + 1] == u'\n');
            }
            if (found)
                break;
            lineEnds += ends;
        }
        for (const qsizetype end = std::min(at + Block, n); at < end;) {
            const Char c = p[at];
            if (c == u'\r' && at + 1 < n && p[at + 1] == u'\n') {
                ++lineEnds;
                at += 2;
                continue;
            }
            if (c == Quote) {
                note(reception.doubleQuote, at);
            } else if (c == codeStart) {
                const CodeRead code = readCode(p + at, n - at, highest);
                if (code.code < 0) {
                    note(reception.strayBackslash, at);
                } else if (code.beyondMode) {
                    note(reception.codeBeyondMode, at);
                } else {
                    saved += code.length - 1;
                    at += code.length;
                    continue;
                }
            } else if (beyondLatin1(c)) {
                note(reception.notOnCalculator, at);
                if (QChar::isHighSurrogate(c) && at + 1 < n && QChar::isLowSurrogate(p[at + 1])) {
                    ++saved;
                    at += 2;
                    continue;
                }
            }
            ++at;
        }
    }
    reception.length = n - saved - (mode >= 1 ? lineEnds : 0);
    return reception;
}

QString tr(const char* text)
{
    return QCoreApplication::translate("Calculator", text);
}

} // namespace

ModeChoice modeChoice(const TransferHeader& header)
{
    if (!header.isOn())
        return {1, tr("No transfer header is written, so the calculator uses its own setting, "
                      "T(1) unless it was changed.")};
    const QString& text = header.asciiText;
    const QLatin1String opening("T(");
    for (qsizetype at = text.indexOf(opening); at >= 0; at = text.indexOf(opening, at + 1)) {
        if (at + 3 < text.size() && text[at + 2] >= u'0' && text[at + 2] <= u'3' &&
            text[at + 3] == u')') {
            const int mode = text[at + 2].unicode() - u'0';
            return {mode, tr("The transfer header \"%1\" asks for T(%2).").arg(text).arg(mode)};
        }
    }
    return {1, tr("The transfer header \"%1\" names no translation mode, so the calculator uses "
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

QString shownText(QStringView fileText, int mode)
{
    const char16_t* p = fileText.utf16();
    const qsizetype n = fileText.size();
    const int highest = highestCode(mode);
    const char16_t codeStart = highest >= 0 ? Backslash : char16_t(31);
    qsizetype at = nextShownOtherwise(p, 0, n, codeStart);
    if (at == n)
        return fileText.toString();
    QString shown;
    // Only 129 shows as more characters than the store holds it.
    shown.reserve(n + 16);
    qsizetype copied = 0;
    for (; at < n; at = nextShownOtherwise(p, at, n, codeStart)) {
        if (p[at] != Backslash) {
            shown.append(QStringView(p + copied, p + at)).append(glyph(p[at]));
            copied = ++at;
            continue;
        }
        const CodeRead code = readCode(p + at, n - at, highest);
        if (code.code < 0 || code.beyondMode) {
            ++at;
            continue;
        }
        shown.append(QStringView(p + copied, p + at));
        at += code.length;
        appendFromCode(shown, code.code, at < n ? p[at] : u'\0');
        copied = at;
    }
    shown.append(QStringView(p + copied, p + n));
    return shown;
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

Reception receive(QByteArrayView piece, int mode)
{
    return receiveIn(reinterpret_cast<const unsigned char*>(piece.data()), piece.size(), mode);
}

Reception receive(QStringView piece, int mode)
{
    return receiveIn(piece.utf16(), piece.size(), mode);
}

} // namespace calculator

#pragma once

#include "core/Preferences.h"

#include <QByteArrayView>
#include <QLatin1String>
#include <QString>
#include <QStringView>

// The calculator's side of a data file. While it receives a file the HP 48 translates it in one
// of four modes, which the transfer header names as T(n):
//   T(0)  nothing is translated: each CR LF arrives as the two characters;
//   T(1)  each CR LF becomes one LF;
//   T(2)  as T(1), and backslash codes stand for the characters 000 to 159;
//   T(3)  as T(1), and backslash codes stand for every character, 000 to 255.
// A code is a backslash and three decimal digits (\141), or a backslash and a two-character
// name (\->); "\\" is one backslash. Any other backslash is received as it stands.
//
// The calculator's character set is Latin-1 from 160 on. Below that it has characters of its
// own: 128 to 159 are its mathematical signs and Greek letters, 31 is an ellipsis and 127 a
// shaded block. A byte of the file stands for the character of its number in every mode, so a
// byte 128 to 159 is one of those signs rather than a control character.
//
// The store holds headers and texts as the file spells them; the view shows them as the
// calculator will hold them, and turns what is typed into it back into the file's spelling.
namespace calculator {

// Why the calculator will receive the next save in the mode it will.
struct ModeChoice
{
    int mode = 1;
    QString reason;
};

// The T(n) of the transfer header when the header is written and its text names T(0) to T(3);
// otherwise the calculator uses its own setting, which is T(1) unless the user changed it.
ModeChoice modeChoice(const TransferHeader& header);
int translationMode(const TransferHeader& header);

// The highest character code the mode reads from a backslash code; -1 when it reads none.
constexpr int highestCode(int mode)
{
    return mode == 2 ? 159 : mode == 3 ? 255 : -1;
}

// Character code 0..255 as the view shows it: one character, or two for 129 (x, combining
// macron). Codes without a sign of their own show as the Latin-1 character of their number.
QStringView glyph(int code);
// How a file spells code 0..255 as a backslash code: its name where it has one that every
// source agrees on, else three digits; 92 is "\\".
QLatin1String codeSpelling(int code);
// How the next save stores the character of `code` typed while the view is on, or chosen from
// the palette: its backslash code where the mode reads one for it, else the character itself.
// Of the codes below 127 only a backslash and 31 are spelt as codes: a backslash so that it
// cannot start a code, 31 because as a byte it is a control character no editor shows.
QString spellingFor(int code, int mode);

// A header or a text as the store holds it, as the calculator will hold it after receiving it
// in `mode`. Line ends stay CR LF; a backslash that starts no code the mode reads stays. A
// piece not edited since it was read is best shown straight from the file's bytes: that costs
// about what turning them into text does.
QString shownText(QByteArrayView fileText, int mode);
QString shownText(QStringView fileText, int mode);
// Text typed or pasted into the view, spelt for the file: the inverse of shownText. Characters
// the calculator does not have are left for the save's own warning.
QString fileText(QStringView shown, int mode);

// A change of a header or a text in the file's spelling: `removed` characters from `at` on
// replaced by `added`.
struct FileEdit
{
    qsizetype at = 0;
    qsizetype removed = 0;
    QString added;
};
// What typing `typed` over `shownRemoved` characters of the view from `shownAt` on changes in
// the file's spelling of a piece. The view's characters are counted as the data field shows
// them: a line end (CR LF) is one, the x-bar (129) two. Only the characters that the removed
// ones stand for are replaced, by what was typed spelt for the file; every other character
// keeps its spelling. A character the change covers in part keeps its other part as the view
// still shows it. A backslash that starts no code keeps its meaning: where what was typed would
// make it start one, it is spelt as the code of a backslash.
FileEdit fileEdit(QByteArrayView fileText, qsizetype shownAt, qsizetype shownRemoved,
                  QStringView typed, int mode);
FileEdit fileEdit(QStringView fileText, qsizetype shownAt, qsizetype shownRemoved,
                  QStringView typed, int mode);

// What receiving a header or a text in a mode makes of it. Offsets are of the first such
// place in the piece, -1 where there is none.
struct Reception
{
    // Characters the calculator holds once it has received the piece.
    qsizetype length = 0;
    // A double quote ends the calculator's string: what follows is no longer part of it.
    qsizetype doubleQuote = -1;
    // A character beyond Latin-1, which only an edited piece can hold; the file gets a "?".
    qsizetype notOnCalculator = -1;
    // A backslash that starts no code, in a mode that reads codes: it arrives as a backslash,
    // but it may not be what its writer meant.
    qsizetype strayBackslash = -1;
    // A code for a character the mode does not translate, such as \200 in T(2): it arrives as
    // the four characters.
    qsizetype codeBeyondMode = -1;
};

// The file's bytes of a piece, as read and not edited since.
Reception receive(QByteArrayView piece, int mode);
// A piece of text of its own, written as the save writes it: Latin-1, any other character as
// one "?".
Reception receive(QStringView piece, int mode);

} // namespace calculator

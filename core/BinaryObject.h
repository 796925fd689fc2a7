#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// The calculator's binary form of an object, as it sends a variable in binary mode and as
// XModem carries it: "HPHP48-" and a letter, then the object's nibbles two to a byte, the first
// in the low half. Tabulet reads and writes the one object its documents are: a list of
// strings, each string a record's characters as the calculator holds them (lines broken by LF).
namespace binaryobject {

// Whether `bytes` are in the binary form rather than the text form.
bool isBinary(QByteArrayView bytes);

struct Reading
{
    QList<QByteArray> strings;
    // Empty when the bytes hold a list of strings; otherwise what they hold instead, ready to
    // be shown ("a real number", "a list that holds a program", "damaged: ...").
    QString notAList;
};

// Reads the object that follows the header; bytes after the object are ignored, as XModem pads
// its last block.
Reading read(QByteArrayView bytes);
QByteArray write(const QList<QByteArray>& strings);

// The strings as the calculator sends them in text form: a list, a string to a line, each line
// break CR LF. A string with a double quote in it has no text form: see firstWithQuote.
QByteArray textForm(const QList<QByteArray>& strings);
// Whether a text is the text form of a list: "{" comes first, after the transfer header line if
// there is one (a first line starting with "%", as in a data file). An empty text is an empty
// list.
bool isTextFormOfList(QByteArrayView text);
// The strings of a list in text form, as a data file holds them (the transfer header before it
// is passed over): what stands between each pair of double quotes, CR LF taken as a line break.
QList<QByteArray> stringsOfTextForm(QByteArrayView text);
// The position of the first string that holds a double quote, -1 when none does.
qsizetype firstWithQuote(const QList<QByteArray>& strings);

} // namespace binaryobject

#pragma once

#include <QString>

class Printer;
class QIODevice;

// Printed positions, in twips from the top-left corner of the printable area.
inline constexpr int PrintoutLeftIndent = 1440;
inline constexpr int PrintoutTopMargin = 720;

// How far a printout of the records got.
enum class PrintoutResult {
    Complete,
    ReadFailed,
    PrinterFailed,
};

// The file line and the date line, the first at the top margin, with two empty lines after
// the date. False when the printer failed.
bool printTitleLines(Printer& printer, const QString& fileTitle, const QString& date);

// Prints the records of a saved data file: each header at the left indent, each line of its
// text under it after a tab, two empty lines after each record. The file is read from its start
// one line at a time, past its preamble as the program's reader finds it, and each line is
// printed as soon as it is read, so no file is ever held whole. A file that ends before its
// closing "}" prints as far as it goes, as the program reads it as far as it goes. Without a
// printer the file is only read through, to learn whether a printout would get to its end.
//
// Bytes 128 to 159, which Latin-1 leaves as invisible control characters, print as the
// calculator's own characters; with `shownMode` a translation mode (the calculator's view on),
// every header and text line prints as the view shows it.
PrintoutResult printRecords(QIODevice& dataFile, Printer* printer, int shownMode = -1);

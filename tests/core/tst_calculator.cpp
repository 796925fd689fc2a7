#include "core/CalculatorCheck.h"
#include "core/CalculatorCode.h"
#include "core/Document.h"
#include "core/RecordStore.h"

#include <QTest>

using namespace calculator;

namespace {

// The list of `records`, each one "header" or "header\r\ntext", in a file of CR LF lines.
QByteArray listOf(const QByteArrayList& records)
{
    QByteArray file = "{\r\n";
    for (const QByteArray& record : records)
        file += '"' + record + "\"\r\n";
    return file + "}\r\n";
}

QString latin1(const char* bytes)
{
    return QString::fromLatin1(bytes);
}

TransferHeader headerFor(int mode)
{
    return {"1", QStringLiteral("%%HP: T(%1)A(D)F(.);").arg(mode)};
}

// 128 to 159 and the other named codes, as the HP 48 documents them.
const QString Signs = "∠x̄∇√∫Σ▶π∂≤≥≠α→←↓↑γδεηθλρστωΔΠΩ■∞";
const QStringList Names = QString("<) x- .V v/ .S GS |> pi .d <= >= =/ Ga -> <- |v |^ Gg Gd Ge Gn "
                                  "Gh Gl Gr Gs Gt Gw GD PI GW [] oo")
                              .split(u' ');
const QHash<int, QString> LatinNames{
    {171, "<<"}, {176, "^o"}, {181, "Gm"}, {187, ">>"}, {247, ":-"}};

} // namespace

// The calculator's characters, their backslash codes, and what a document takes in its memory.
class CalculatorTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void codeTable_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("spelling");
        QTest::addColumn<QString>("shown");
        for (int code = 0; code < 256; ++code) {
            QString spelling = u'\\' + QString::number(code).rightJustified(3, u'0');
            QString shown = QChar(code);
            if (code >= 128 && code < 160) {
                spelling = u'\\' + Names[code - 128];
                shown = Signs.mid(code - 128 + (code > 129), code == 129 ? 2 : 1);
            }
            spelling = LatinNames.contains(code) ? u'\\' + LatinNames[code] : spelling;
            shown = code == 31 ? "…" : code == 127 ? "▒" : shown;
            QTest::addRow("%d", code) << code << (code == 92 ? R"(\\)" : spelling) << shown;
        }
    }

    // Each code read in the modes that read it, and each character written back.
    void codeTable()
    {
        QFETCH(int, code);
        QFETCH(QString, spelling);
        QFETCH(QString, shown);
        const QString byte = QChar(code);
        QCOMPARE(codeSpelling(code), spelling);
        QCOMPARE(shownText(spelling, 3), shown);
        QCOMPARE(shownText(spelling, 2), code < 160 ? shown : spelling);
        QCOMPARE(shownText(byte, 1), shown);
        const bool asCode = code == 31 || code == 92 || code >= 127;
        QCOMPARE(fileText(shown, 3), asCode ? spelling : byte);
        QCOMPARE(spellingFor(code, 2), asCode && code < 160 ? spelling : byte);
        QCOMPARE(spellingFor(code, 1), byte);
        QCOMPARE(receivedLength(spelling, 3), qsizetype(1));
    }

    void disputedSpellings()
    {
        QCOMPARE(shownText(QString(R"(\.x\O/\0/\Gb)"), 3), QString("×ØØß"));
        QCOMPARE(fileText(QString("×Øß"), 3), QString(R"(\215\216\223)"));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("back"); // fileText(shown): the same to the calculator
        const QString a40(40, u'a');
        QTest::newRow("lone backslashes") << R"(a\b\9\12x\999\)" << 2 << R"(a\b\9\12x\999\)"
                                          << R"(a\\b\\9\\12x\\999\\)";
        QTest::newRow("\\\\ is one backslash") << R"(\\-> \\)" << 3 << R"(\-> \)"
                                               << R"(\\-> \\)";
        QTest::newRow("no codes in T(1)") << R"(\\ \->)" << 1 << R"(\\ \->)"
                                          << R"(\\ \->)";
        QTest::newRow("\\200 in T(2)") << R"(\200\<<\159)" << 2 << R"(\200\<<∞)"
                                       << R"(\\200\\<<\oo)";
        QTest::newRow("\\200 in T(3)") << R"(\200\<<)" << 3 << "È«"
                                       << R"(\200\<<)";
        QTest::newRow("canonical spelling") << R"(\141\092)" << 3 << R"(→\)"
                                            << R"(\->\\)";
        QTest::newRow("raw 128..159 in T(1)")
            << latin1("\x8d\x81\x9f") << 1 << "→x̄∞" << latin1("\x8d\x81\x9f");
        QTest::newRow("raw 128..159 in T(2)") << latin1("\x8d\x81") << 2 << "→x̄"
                                              << R"(\->\x-)";
        QTest::newRow("31 and 127") << "\x1f\x7f" << 0 << "…▒"
                                    << "\x1f\x7f";
        QTest::newRow("31 and 127 in T(2)") << "\x1f\x7f" << 2 << "…▒"
                                            << R"(\031\127)";
        QTest::newRow("Latin-1 in T(2)") << latin1("\xe9") << 2 << "é" << latin1("\xe9");
        QTest::newRow("Latin-1 in T(3)") << latin1("\xe9") << 3 << "é"
                                         << R"(\233)";
        QTest::newRow("CR LF kept") << "a\r\nb\nc" << 2 << "a\r\nb\nc"
                                    << "a\r\nb\nc";
        // The view's CR LF is a line end; a CR and an LF held as two characters show apart.
        QTest::newRow("coded CR and LF")
            << "\\013\\010.\\013\n.\r\\010" << 3 << "\r\r\n.\r\r\n.\r\r\n"
            << "\r\r\n.\r\r\n.\r\r\n";
        QTest::newRow("a character the calculator lacks") << "☺" << 3 << "☺"
                                                          << "☺";
        QTest::newRow("codes past a block") << a40 + R"(\GS)" + a40 + QChar(0x8d) + a40 + "\\" << 3
                                            << a40 + "Σ" + a40 + "→" + a40 + "\\"
                                            << a40 + R"(\GS)" + a40 + R"(\->)" + a40 + R"(\\)";
    }

    void roundTrip()
    {
        QFETCH(QString, file);
        QFETCH(int, mode);
        QFETCH(QString, shown);
        QFETCH(QString, back);
        QCOMPARE(shownText(file, mode), shown);
        QCOMPARE(fileText(shown, mode), back);
        QCOMPARE(shownText(back, mode), shown);
        QCOMPARE(receivedLength(back, mode), receivedLength(file, mode));
    }

    // Whatever is typed of the calculator's characters and ASCII is shown again as typed.
    void typedTextShowsAsTyped()
    {
        QString typed = "\\ \\\\ \\-> \\200 x \r\n \n \r";
        for (int code = 0; code < 256; ++code)
            typed += glyph(code);
        for (int mode = 0; mode <= 3; ++mode)
            QCOMPARE(shownText(fileText(typed, mode), mode), typed);
    }

    void modeChoice_data()
    {
        QTest::addColumn<QString>("asciiHeader");
        QTest::addColumn<QString>("asciiText");
        QTest::addColumn<int>("mode");
        QTest::newRow("T(3)") << "1"
                              << "%%HP: T(3)A(D)F(.);" << 3;
        QTest::newRow("T(0)") << "1"
                              << "%%HP: T(0)A(D)F(.);" << 0;
        QTest::newRow("T(4)") << "1"
                              << "%%HP: T(4)A(D)F(.);" << 1;
        QTest::newRow("no header") << "0"
                                   << "%%HP: T(3)A(D)F(.);" << 1;
    }

    void modeChoice()
    {
        QFETCH(QString, asciiHeader);
        QFETCH(QString, asciiText);
        QFETCH(int, mode);
        const ModeChoice choice = calculator::modeChoice({asciiHeader, asciiText});
        QCOMPARE(choice.mode, mode);
        QCOMPARE(choice.reason.contains(asciiText), asciiHeader == "1");
    }

    void memory_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("mode");
        QTest::addColumn<qint64>("memory");
        QTest::addColumn<QString>("largest"); // position:bytes
        const QByteArray groceries =
            listOf({"Groceries\r\nmilk\r\nbread", "Empty", "Tasks\r\nfix"});
        // 5 + (5 + 9 + 1 + 10) + (5 + 5) + (5 + 5 + 1 + 3): each CR LF one character.
        QTest::newRow("T(1)") << groceries << 1 << qint64(54) << "0:25 2:14 1:10";
        // 5 + (5 + 9 + 2 + 11) + (5 + 5) + (5 + 5 + 2 + 3): each CR LF two.
        QTest::newRow("T(0)") << groceries << 0 << qint64(57) << "0:27 2:15 1:10";
        // \-> is one character, \\ one, \200 one in T(3) and four in T(2):
        // 5 + (5 + 2 + 1 + 2), 5 + (5 + 2 + 1 + 5), and with no codes 5 + (5 + 4 + 1 + 6).
        const QByteArray codes = listOf({R"(\->x)"
                                         "\r\n"
                                         R"(\\\200)"});
        QTest::newRow("codes in T(3)") << codes << 3 << qint64(15) << "0:10";
        QTest::newRow("codes in T(2)") << codes << 2 << qint64(18) << "0:13";
        QTest::newRow("codes in T(1)") << codes << 1 << qint64(21) << "0:16";
        // Headers of 1, 2, 1, 3, 2, 1 and 4 characters: 5 + 6 + 7 + 6 + 8 + 7 + 6 + 9.
        QTest::newRow("five largest") << listOf({"a", "bb", "a", "ccc", "dd", "a", "eeee"}) << 1
                                      << qint64(54) << "6:9 3:8 1:7 4:7 0:6";
    }

    void memory()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, mode);
        QFETCH(qint64, memory);
        QFETCH(QString, largest);
        Document document;
        document.FileInSub(file);
        for (const bool edited : {false, true}) {
            RecordStore& records = document.records();
            for (int at = 0; edited && at < records.count(); ++at) {
                records.renameAt(at, records.headerAt(at));
                records.setRecordText(records.recordIndexAt(at),
                                      records.recordText(records.recordIndexAt(at)));
            }
            const CalculatorReport report = checkForCalculator(records, headerFor(mode));
            QStringList sizes;
            for (const RecordSize& size : report.largest)
                sizes << QStringLiteral("%1:%2").arg(size.position).arg(size.bytes);
            QCOMPARE(report.memory, memory);
            QCOMPARE(sizes.join(u' '), largest);
        }
    }

    void problems_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("typed"); // the second record's text, when not empty
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("problems"); // position, kind, h(eader) or t(ext), offset
        const QByteArray clean = listOf({"a", "b\r\nplain"});
        QTest::newRow("none") << clean << "" << 3 << "";
        QTest::newRow("quotes") << QByteArray("{\r\n\"q\"h\"\r\n\"b\r\nx\"y\"\r\n}\r\n") << "" << 1
                                << "0 0 h 1, 1 0 t 1";
        QTest::newRow("not on the calculator") << clean << "ok\r\n☺" << 3 << "1 1 t 4";
        QTest::newRow("stray backslash")
            << listOf({R"(\9)", "b\r\n\\"}) << "" << 2 << "0 2 h 0, 1 2 t 0";
        QTest::newRow("no stray backslash in T(1)") << listOf({R"(\9)"}) << "" << 1 << "";
        QTest::newRow("beyond T(2)") << clean << R"(\\ \<< \200)" << 2 << "1 3 t 3";
        QTest::newRow("every kind") << clean << "\" ☺ \\x \\200" << 2
                                    << "1 0 t 0, 1 1 t 2, "
                                       "1 2 t 4, 1 3 t 7";
    }

    void problems()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, typed);
        QFETCH(int, mode);
        QFETCH(QString, problems);
        Document document;
        document.FileInSub(file);
        RecordStore& records = document.records();
        if (!typed.isEmpty())
            records.setRecordText(records.recordIndexAt(1), typed);
        QStringList found;
        for (const CalculatorProblem& problem :
             checkForCalculator(records, headerFor(mode)).problems)
            found << QStringLiteral("%1 %2 %3 %4")
                         .arg(problem.position)
                         .arg(int(problem.kind))
                         .arg(QChar(problem.inHeader ? u'h' : u't'))
                         .arg(problem.offset);
        QCOMPARE(found.join(u", "), problems);
    }

    // The file's bytes go a block at a time; text of its own goes the same way.
    void bytesAndTextAgree_data()
    {
        QTest::addColumn<QByteArray>("piece");
        QTest::addColumn<qsizetype>("length"); // in T(3)
        const QByteArray a31(31, 'a');
        QTest::newRow("CR LF across a block") << a31 + "\r\n" + a31 + "\r\n" + a31 << qsizetype(95);
        QTest::newRow("code across a block") << a31 + R"(\->)" + a31 + a31 << qsizetype(94);
        QTest::newRow("CR LF after a code") << a31 + R"(\\)" + "\r\n" + a31 + a31 << qsizetype(95);
        QTest::newRow("quote late") << a31 + a31 + a31 + "\"" << qsizetype(94);
    }

    void bytesAndTextAgree()
    {
        QFETCH(QByteArray, piece);
        QFETCH(qsizetype, length);
        const QString text = QString::fromLatin1(piece);
        for (int mode = 0; mode <= 3; ++mode) {
            const Reception bytes = receive(QByteArrayView(piece), mode);
            const Reception own = receive(QStringView(text), mode);
            QCOMPARE(bytes.length, own.length);
            QCOMPARE(bytes.doubleQuote, own.doubleQuote);
            QCOMPARE(bytes.doubleQuote, piece.indexOf('"'));
        }
        QCOMPARE(receivedLength(QByteArrayView(piece), 3), length);
    }
};

QTEST_GUILESS_MAIN(CalculatorTest)
#include "tst_calculator.moc"

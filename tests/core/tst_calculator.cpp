#include "core/CalculatorCheck.h"
#include "core/CalculatorCode.h"
#include "core/Document.h"
#include "core/RecordStore.h"

#include <QTest>

using namespace calculator;

namespace {

// The list of `records`, each "header" or "header¶text", every line ended by CR LF ("¶").
QByteArray listOf(const QByteArrayList& records)
{
    return QByteArray("{¶\"" + records.join("\"¶\"") + "\"¶}¶").replace("¶", "\r\n");
}

// 128 to 159 and the other named codes, as the HP 48 documents them.
const QString Signs = "∠x̄∇√∫Σ▶π∂≤≥≠α→←↓↑γδεηθλρστωΔΠΩ■∞";
const QStringList Names = QString("<) x- .V v/ .S GS |> pi .d <= >= =/ Ga -> <- |v |^ Gg Gd Ge Gn "
                                  "Gh Gl Gr Gs Gt Gw GD PI GW [] oo")
                              .split(u' ');
const QHash<int, QString> LatinNames{
    {171, "<<"}, {176, "^o"}, {181, "Gm"}, {187, ">>"}, {247, ":-"}};

TransferHeader transfer(int mode)
{
    return {mode < 0 ? "0" : "1", QStringLiteral("%%HP: T(%1)A(D)F(.);").arg(mode < 0 ? 3 : mode)};
}

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
            QString shown = code == 31 ? "…" : code == 127 ? "▒" : QString(QChar(code));
            if (code >= 128 && code < 160) {
                spelling = u'\\' + Names[code - 128];
                shown = Signs.mid(code - 128 + (code > 129), code == 129 ? 2 : 1);
            }
            spelling = LatinNames.contains(code) ? u'\\' + LatinNames[code] : spelling;
            QTest::addRow("%d", code) << code << (code == 92 ? R"(\\)" : spelling) << shown;
        }
    }

    // Each code read in the modes that read it, each character written back.
    void codeTable()
    {
        QFETCH(int, code);
        QFETCH(QString, spelling);
        QFETCH(QString, shown);
        const QString byte = QChar(code);
        const bool asCode = code == 31 || code == 92 || code >= 127;
        QCOMPARE(codeSpelling(code), spelling);
        QCOMPARE(shownText(spelling, 3), shown);
        QCOMPARE(shownText(spelling, 2), code < 160 ? shown : spelling);
        QCOMPARE(shownText(byte, 1), shown);
        QCOMPARE(fileText(shown, 3), asCode ? spelling : byte);
        QCOMPARE(spellingFor(code, 2), asCode && code < 160 ? spelling : byte);
        QCOMPARE(receive(spelling, 3).length, qsizetype(1));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("back"); // fileText(shown): the same to the calculator
        const QString a40 = QString::fromLatin1("ab\xe9\xff").repeated(10);
        QTest::newRow("lone backslashes") << R"(a\b\9\12x\999\)" << 2 << R"(a\b\9\12x\999\)"
                                          << R"(a\\b\\9\\12x\\999\\)";
        QTest::newRow("beyond T(2)") << R"(\200\<<\159\\)" << 2 << R"(\200\<<∞\)"
                                     << R"(\\200\\<<\oo\\)";
        QTest::newRow("disputed and canonical") << R"(\.x\O/\0/\Gb\141\092)" << 3 << R"(×ØØß→\)"
                                                << R"(\215\216\216\223\->\\)";
        const QString raw = QString::fromLatin1("\x8d\x81\x1f\x7f\\ \\->");
        QTest::newRow("raw in T(1)") << raw << 1 << R"(→x̄…▒\ \->)" << raw;
        QTest::newRow("raw in T(2)") << raw << 2 << R"(→x̄…▒\ →)"
                                     << R"(\->\x-\031\127\\ \->)";
        // The view's CR LF is a line end; a CR and an LF held as two characters show apart.
        QTest::newRow("CR and LF")
            << "a\r\nb\nc☺\\013\\010.\\013\n.\r\\010" << 3 << "a\r\nb\nc☺\r\r\n.\r\r\n.\r\r\n"
            << "a\r\nb\nc☺\r\r\n.\r\r\n.\r\r\n";
        // Each raw 129 shows as two characters: the view's text outgrows the file's.
        const QString raw129(20, QChar(0x81));
        QTest::newRow("codes past a chunk")
            << a40 + R"(\GS)" + a40 + QChar(0x8d) + raw129 + "\\" << 2
            << a40 + "Σ" + a40 + "→" + QString("x̄").repeated(20) + "\\"
            << a40 + R"(\GS)" + a40 + R"(\->)" + QString(R"(\x-)").repeated(20) + R"(\\)";
    }

    void roundTrip()
    {
        QFETCH(QString, file);
        QFETCH(int, mode);
        QFETCH(QString, shown);
        QFETCH(QString, back);
        QCOMPARE(shownText(file, mode), shown);
        if (const QByteArray bytes = file.toLatin1(); QString::fromLatin1(bytes) == file)
            QCOMPARE(shownText(QByteArrayView(bytes), mode), shown);
        QCOMPARE(fileText(shown, mode), back);
        QCOMPARE(shownText(back, mode), shown);
        QCOMPARE(receive(back, mode).length, receive(file, mode).length);
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

    void memory_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("mode"); // -1: no transfer header, whose text asks for T(3)
        QTest::addColumn<qint64>("memory");
        QTest::addColumn<QString>("largest"); // position:bytes
        const QByteArray groceries = listOf({"Groceries¶milk¶bread", "Empty", "Tasks¶fix"});
        // 5 + (5 + 9 + 1 + 10) + (5 + 5) + (5 + 5 + 1 + 3): each CR LF one character.
        QTest::newRow("T(1)") << groceries << 1 << qint64(54) << "0:25 2:14 1:10";
        // 5 + (5 + 9 + 2 + 11) + (5 + 5) + (5 + 5 + 2 + 3): each CR LF two.
        QTest::newRow("T(0)") << groceries << 0 << qint64(57) << "0:27 2:15 1:10";
        // \-> is one character, \\ one, \200 one in T(3) and four in T(2):
        // 5 + (5 + 2 + 1 + 2), 5 + (5 + 2 + 1 + 5), and with no codes 5 + (5 + 4 + 1 + 6).
        const QByteArray codes = listOf({R"(\->x¶\\\200)"});
        QTest::newRow("codes in T(3)") << codes << 3 << qint64(15) << "0:10";
        QTest::newRow("codes in T(2)") << codes << 2 << qint64(18) << "0:13";
        QTest::newRow("T(4) is no mode: T(1)") << codes << 4 << qint64(21) << "0:16";
        QTest::newRow("no header: T(1)") << codes << -1 << qint64(21) << "0:16";
        // Headers of 1, 2, 1, 3, 2, 1 and 4 characters: 5 + 6 + 7 + 6 + 8 + 7 + 6 + 9.
        QTest::newRow("five largest") << listOf({"a", "bb", "a", "ccc", "dd", "a", "eeee"}) << 1
                                      << qint64(54) << "6:9 3:8 1:7 4:7 0:6";
        // Line ends and codes where chunks of 16 characters meet and after a code in one: the
        // header, the line end after it, then 15, CR LF, 30, \\, CR LF, \->, x, CR LF and 15:
        // 5 + (5 + 1 + 1 + 15 + 1 + 30 + 1 + 1 + 1 + 1 + 1 + 15).
        const QByteArray a15(15, 'a');
        QTest::newRow("across chunks")
            << listOf({"h¶" + a15 + "¶" + a15 + a15 + R"(\\¶\->x¶)" + a15}) << 3 << qint64(78)
            << "0:73";
    }

    // Records as read from the file, and the same records once edited.
    void memory()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, mode);
        QFETCH(qint64, memory);
        QFETCH(QString, largest);
        Document document;
        document.FileInSub(file);
        RecordStore& records = document.records();
        for (const bool edited : {false, true}) {
            for (int at = 0; edited && at < records.count(); ++at) {
                records.renameAt(at, records.headerAt(at));
                const qint32 index = records.recordIndexAt(at);
                records.setRecordText(index, records.recordText(index));
            }
            const CalculatorReport report = checkForCalculator(records, transfer(mode));
            QStringList sizes;
            for (const RecordSize& size : report.largest)
                sizes << QStringLiteral("%1:%2").arg(size.position).arg(size.bytes);
            QCOMPARE(report.mode.mode, mode < 0 || mode > 3 ? 1 : mode);
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
        QTest::newRow("stray backslash")
            << listOf({R"(\999)", "b\r\n" + QByteArray(40, 'a') + "\\"}) << "" << 2
            << "0 2 h 0, 1 2 t 40";
        QTest::newRow("no stray backslash in T(1)") << listOf({R"(\9)"}) << "" << 1 << "";
        QTest::newRow("every kind, typed")
            << clean << "\\\\ \" ☺ \\x \\<< \\200 \"" << 2 << "1 0 t 3, 1 1 t 5, 1 2 t 7, 1 3 t 10";
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
             checkForCalculator(records, transfer(mode)).problems)
            found << QStringLiteral("%1 %2 %3 %4")
                         .arg(problem.position)
                         .arg(int(problem.kind))
                         .arg(QChar(problem.inHeader ? u'h' : u't'))
                         .arg(problem.offset);
        QCOMPARE(found.join(u", "), problems);
    }
};

QTEST_GUILESS_MAIN(CalculatorTest)
#include "tst_calculator.moc"

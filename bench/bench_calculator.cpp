// The calculator's view and check. The check goes through a document of 32767 records (about
// 4 MB) just read from its file, whose records are still the file's bytes; beside it, one count
// of a character over the same bytes, the least any look at every byte costs. The view shows a
// record of 32 KB read from a file as the calculator holds it, straight from its bytes; beside
// it, the same record shown as it is, which is what the data field does with the view off.
// The file holds a calculator character, spelt as a T(3) file spells it, on one line in three;
// the record is shown once with none and once with one every hundred characters or so. The
// figure the user waits for is the record shown in the data field and painted, view on beside
// view off; turning the bytes into text is the part of it that the view adds to.
#include "bench/BenchSupport.h"
#include "core/CalculatorCheck.h"
#include "core/CalculatorCode.h"
#include "core/Document.h"
#include "core/FileAccess.h"
#include "core/RecordStore.h"
#include "mainwindow/DataField.h"
#include "mainwindow/DataFieldBinding.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int Records = 32767;
constexpr int Runs = 21;
// One run shows the record this many times: once takes a few microseconds.
constexpr int Showings = 200;
const TransferHeader Header{QStringLiteral("1"), QStringLiteral("%%HP: T(3)A(D)F(.);")};
const char* const Codes[] = {"\\->", "\\GS", "\\pi", "\\<=", "\\Ga", "\\oo", "\\x-", "\\\\"};

// Lines of words; on one line in `every` a calculator character among them, none when 0.
QString lines(QRandomGenerator& random, int lineCount, int every = 3)
{
    QStringList result;
    for (int line = 0; line < lineCount; ++line) {
        QString words = bench::randomWords(random, random.bounded(58));
        if (every > 0 && random.bounded(every) == 0)
            words.insert(random.bounded(int(words.size()) + 1),
                         QLatin1String(Codes[random.bounded(int(std::size(Codes)))]));
        result << words;
    }
    return result.join(u"\r\n");
}

// A goal of 0: a part of the figure that has the goal, shown for where the time goes.
void report(const char* what, double measured, const char* baseline, double base, double goal)
{
    const double ratio = measured / base;
    std::printf("%-34s %8.3f ms   baseline: %-26s %8.3f ms   ratio %.2f ", what, measured, baseline,
                base, ratio);
    if (goal > 0)
        std::printf("(goal %.0f at most: %s)\n", goal, ratio <= goal ? "met" : "MISSED");
    else
        std::printf("(part of the showing below)\n");
}

void checkTheFile(const QString& path)
{
    QRandomGenerator random(1);
    Document typed;
    RecordStore& records = typed.records();
    for (int i = 0; i < Records; ++i) {
        const qint32 index = *records.addRecord(bench::randomWords(random, 4 + random.bounded(18)));
        records.setRecordText(index, lines(random, random.bounded(7)));
    }
    if (const QString failure = typed.writeFile(path, Header); !failure.isEmpty())
        qFatal("cannot write %s: %s", qPrintable(path), qPrintable(failure));
    const FileContents contents = readWholeFile(path);
    if (!contents.error.isEmpty())
        qFatal("cannot read %s: %s", qPrintable(path), qPrintable(contents.error));
    Document read;
    if (read.FileInSub(contents.bytes).recordsAdded != Records)
        qFatal("the sample file did not read back whole");

    qint64 memory = 0;
    qsizetype lineEnds = 0;
    const auto [check, count] = bench::medians(
        Runs, [&] { memory = calculator::checkForCalculator(read.records(), Header).memory; },
        [&] { lineEnds += contents.bytes.count('\r'); });
    if (memory <= 0 || lineEnds <= 0)
        qFatal("the sample file came out empty");
    std::printf("file: %d records, %.1f MB, %.1f KB in the calculator; median of %d runs\n",
                Records, double(contents.bytes.size()) / 1e6, double(memory) / 1024, Runs);
    report("check the file for the calculator", check, "count CRs in the file", count, 3);
}

// What the user waits for: the record selected, shown in the data field and painted, with the
// view on and off.
void showInTheField(const QByteArray& bytes)
{
    Document document;
    document.FileInSub("{\r\n\"Record\r\n" + bytes + "\"\r\n}\r\n");
    DataField field;
    field.resize(257, 113);
    field.show();
    DataFieldBinding binding(field, document);
    const auto showWith = [&](int mode) {
        binding.setShownMode(mode);
        binding.showRecord(document.records().recordIndexAt(0));
        field.repaint();
    };
    const auto [viewOn, viewOff] = bench::medians(
        Runs, [&] { showWith(3); }, [&] { showWith(-1); });
    report("show it in the data field, view on", viewOn, "with the view off", viewOff, 2);
}

void showARecord(const char* what, int every)
{
    QRandomGenerator random(2);
    QString text;
    while (text.size() < 32 * 1024)
        text += lines(random, 20, every) + QLatin1String("\r\n");
    const QByteArray bytes = text.left(32 * 1024).toLatin1();

    qsizetype shown = 0;
    const auto [viewOn, viewOff] = bench::medians(
        Runs,
        [&] {
            for (int i = 0; i < Showings; ++i)
                shown += calculator::shownText(QByteArrayView(bytes), 3).size();
        },
        [&] {
            for (int i = 0; i < Showings; ++i)
                shown += QString::fromLatin1(bytes).size();
        });
    if (shown <= 0)
        qFatal("the sample record came out empty");
    std::printf("record of %.0f KB %s, shown %d times a run; median of %d runs\n",
                double(bytes.size()) / 1024, what, Showings, Runs);
    report("turn it into the calculator's text", viewOn, "into text as it is", viewOff, 0);
    showInTheField(bytes);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        qFatal("no temporary folder");
    checkTheFile(folder.filePath(QStringLiteral("calculator.DF")));
    showARecord("without calculator characters", 0);
    showARecord("with calculator characters", 3);
    return 0;
}

// Find and the history on a data file of 32767 records (about 4 MB): Find Next with no match
// anywhere, beside one QByteArray::indexOf pass over the same bytes, with and without case;
// and Undo of Remove Header in the middle of the list.
#include "BenchSupport.h"
#include "core/Document.h"
#include "core/Finder.h"
#include "core/RecordStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <cstdio>

namespace {

constexpr int Records = 32767;
constexpr int Runs = 21;

QByteArray sampleFile()
{
    Document document;
    bench::typeSampleRecords(document, Records);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("sample.DF"));
    if (!document.writeFile(path, {}).isEmpty())
        qFatal("cannot write the sample");
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void report(const char* measured, const char* baseline, std::pair<double, double> times,
            double goal)
{
    const double ratio = times.first / times.second;
    std::printf("%-34s %7.2f ms   %-26s %7.2f ms   ratio %.2f (goal %.0fx at most: %s)\n", measured,
                times.first, baseline, times.second, ratio, goal, ratio <= goal ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QByteArray bytes = sampleFile();
    Document document;
    document.FileInSub(bytes);
    std::printf("data file: %d records, %.1f MB; median of %d runs\n", Records, bytes.size() / 1e6,
                Runs);
    // Letters the sample never holds together: no match anywhere.
    const QString text = QStringLiteral("qzxjwv");
    const QByteArray needle = text.toLatin1();
    qsizetype sink = 0;
    for (const bool matchCase : {true, false}) {
        const FindOptions options{text, matchCase, false, true, true};
        const auto times = bench::medians(
            Runs,
            [&] {
                const FindResult found = Finder(document.records(), options).find({}, false);
                sink += found.match ? 1 : 0;
            },
            [&] { sink += bytes.indexOf(needle); });
        report(matchCase ? "Find Next, match case, no match" : "Find Next, any case, no match",
               "baseline: indexOf", times, matchCase ? 3 : 6);
    }

    // Undo of a removal in the middle of the list; each run removes again, untimed.
    const int middle = Records / 2;
    QElapsedTimer timer;
    std::vector<double> undoTimes;
    for (int run = 0; run < Runs; ++run) {
        document.removeHeader(middle);
        timer.start();
        document.history().undo();
        undoTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(undoTimes.begin(), undoTimes.end());
    const double undo = undoTimes[undoTimes.size() / 2];
    std::printf("%-34s %7.2f ms   (goal 5 ms at most: %s)\n", "Undo of Remove Header", undo,
                undo <= 5 ? "met" : "MISSED");
    std::printf("(checksum %lld)\n", static_cast<long long>(sink));
    return 0;
}

// The look for content a data file cannot hold, which runs before every save, on a document of
// 32767 records (about 4 MB) that holds none, so that every character is looked at. Beside
// it, building the file's text from the same store: work every save does anyway.
#include "bench/BenchSupport.h"
#include "core/DataFileProcedures.h"
#include "core/RecordStore.h"
#include "core/SaveCheck.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Records = 32767;
constexpr int Runs = 21;

void fill(RecordStore& store)
{
    QRandomGenerator random(1);
    QList<RecordStore::NewRecord> records;
    for (int i = 0; i < Records; ++i) {
        QStringList lines;
        for (int count = random.bounded(7); count > 0; --count)
            lines << bench::randomWords(random, random.bounded(58));
        records.append({bench::randomWords(random, 4 + random.bounded(18)), lines.join(u"\r\n")});
    }
    store.addRecords(std::move(records));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    RecordStore store;
    fill(store);

    QString output;
    bool clean = true;
    const auto [check, build] = bench::medians(
        Runs, [&] { clean = !findUnwritableContent(store).has_value(); },
        [&] { datafile::writeStore(output, store, QStringLiteral("1"), QStringLiteral("%%HP:")); });
    if (!clean)
        qFatal("the sample document should hold nothing a data file cannot");

    std::printf("document: %d records, %.1f MB of text; median of %d runs\n", Records,
                double(output.size()) / 1e6, Runs);
    std::printf("%-30s %8.2f ms   %-30s %8.2f ms   ratio %.2f (goal 0.5 at most)\n",
                "look for unwritable content", check, "baseline: build the file text", build,
                check / build);
    return 0;
}

// Reading and writing a data file of 32767 records (about 4 MB), each beside the least any
// reader or writer of those bytes must do, measured in the same run:
// - reading into the store, beside reading the bytes whole and splitting them into lines;
// - writing from the store, beside writing the same bytes with QSaveFile.
#include "bench/BenchSupport.h"
#include "core/DataFile.h"
#include "core/DataFileProcedures.h"
#include "core/RecordStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int Records = 32767;
constexpr int Runs = 21;
const QString AsciiHeader = QStringLiteral("1");
const QString AsciiText = QStringLiteral("%%HP: T(3)A(D)F(.);");

// About 125 bytes a record, texts of one to six lines, some records without text.
QList<datafile::Record> sampleDocument()
{
    QRandomGenerator random(1);
    QList<datafile::Record> records;
    for (int i = 0; i < Records; ++i) {
        QStringList lines;
        if (random.bounded(8) != 0) {
            for (int count = 1 + random.bounded(6); count > 0; --count)
                lines << bench::randomWords(random, random.bounded(58));
        }
        records.append({bench::randomWords(random, 4 + random.bounded(18)), lines.join(u"\r\n")});
    }
    return records;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

void save(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        qFatal("cannot write %s: %s", qPrintable(path), qPrintable(file.errorString()));
}

void report(const char* measuredName, const char* baselineName, std::pair<double, double> times)
{
    std::printf("%-28s %8.1f ms   %-30s %8.1f ms   ratio %.2f (goal 1.5 at most)\n", measuredName,
                times.first, baselineName, times.second, times.first / times.second);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        qFatal("no temporary folder");
    const QString source = folder.filePath(QStringLiteral("sample.df"));
    const QByteArray bytes =
        datafile::fileBytes(datafile::write(sampleDocument(), AsciiHeader, AsciiText));
    save(source, bytes);
    std::printf("data file: %d records, %.1f MB, %lld lines; median of %d runs\n", Records,
                bytes.size() / 1e6, static_cast<long long>(bytes.count("\r\n")), Runs);
    // A busy machine stretches every figure, the writes' waits for the disk most of all.
    QFile load(QStringLiteral("/proc/loadavg"));
    if (load.open(QIODevice::ReadOnly))
        std::printf("load average: %s\n", load.readLine().trimmed().constData());

    // Each run reads into a store of its own; dropping what a run read is no part of it.
    RecordStore store;
    std::unique_ptr<RecordStore> readInto;
    QStringList lines;
    const auto reading = bench::medians(
        Runs,
        [&] {
            readInto = std::make_unique<RecordStore>();
            datafile::readIntoStore(*readInto, readAll(source));
        },
        [&] { lines = QString::fromLatin1(readAll(source)).split(QStringLiteral("\r\n")); },
        [&] {
            readInto.reset();
            lines.clear();
        });
    report("read into the store", "baseline: read, split lines", reading);

    datafile::readIntoStore(store, readAll(source));
    if (store.count() != Records)
        qFatal("read %d records instead of %d", store.count(), Records);
    const QString target = folder.filePath(QStringLiteral("written.df"));
    const QString baselineTarget = folder.filePath(QStringLiteral("baseline.df"));
    // As the window's `OutputText`, kept from one save to the next.
    QString output;
    const auto writing = bench::medians(
        Runs,
        [&] {
            datafile::writeStore(output, store, AsciiHeader, AsciiText);
            save(target, datafile::fileBytes(output));
        },
        [&] { save(baselineTarget, bytes); });
    report("write from the store", "baseline: QSaveFile write", writing);

    if (readAll(target) != bytes)
        qFatal("the file written from the store differs from the one read");
    return 0;
}

// Reading and writing a data file of 32767 records (about 4 MB) as File > Open and File > Save
// do it, each beside the least any reader or writer of those bytes must do, measured in the
// same run:
// - reading the file whole and into the document, beside reading the same bytes whole and
//   splitting them into lines;
// - writing the document just read, beside writing the same bytes with QSaveFile.
#include "bench/BenchSupport.h"
#include "core/Document.h"
#include "core/FileAccess.h"
#include "core/Preferences.h"
#include "core/RecordStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

namespace {

constexpr int Records = 32767;
constexpr int Runs = 21;
constexpr double Goal = 1.3;
// The transfer header the Preferences dialog offers, switched on.
const TransferHeader Header{QStringLiteral("1"), QStringLiteral("%%HP: T(3)A(D)F(.);")};

// About 125 bytes a record, texts of one to six lines, some records without text, typed into a
// document and saved once: the program's own writer makes the sample file.
void writeSampleFile(const QString& path)
{
    QRandomGenerator random(1);
    Document document;
    RecordStore& records = document.records();
    for (int i = 0; i < Records; ++i) {
        const qint32 index = *records.addRecord(bench::randomWords(random, 4 + random.bounded(18)));
        QStringList lines;
        if (random.bounded(8) != 0) {
            for (int count = 1 + random.bounded(6); count > 0; --count)
                lines << bench::randomWords(random, random.bounded(58));
        }
        records.setRecordText(index, lines.join(u"\r\n"));
    }
    if (const QString failure = document.writeFile(path, Header); !failure.isEmpty())
        qFatal("cannot write %s: %s", qPrintable(path), qPrintable(failure));
}

// File > Open's own steps once the dialog has chosen the file.
Reading open(Document& document, const QString& path)
{
    const FileContents contents = readWholeFile(path);
    if (!contents.error.isEmpty())
        qFatal("cannot read %s: %s", qPrintable(path), qPrintable(contents.error));
    return document.FileInSub(contents.bytes);
}

void save(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        qFatal("cannot write %s: %s", qPrintable(path), qPrintable(file.errorString()));
}

void report(const char* measuredName, const char* baselineName, std::pair<double, double> times)
{
    const double ratio = times.first / times.second;
    std::printf("%-28s %8.1f ms   %-30s %8.1f ms   ratio %.2f (goal %.1f at most: %s)\n",
                measuredName, times.first, baselineName, times.second, ratio, Goal,
                ratio <= Goal ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        qFatal("no temporary folder");
    const QString source = folder.filePath(QStringLiteral("sample.DF"));
    writeSampleFile(source);
    const QByteArray bytes = bench::readAll(source);
    std::printf("data file: %d records, %.1f MB, %lld lines; median of %d runs\n", Records,
                bytes.size() / 1e6, static_cast<long long>(bytes.count("\r\n")), Runs);
    // A busy machine stretches every figure, the writes' waits for the disk most of all.
    QFile load(QStringLiteral("/proc/loadavg"));
    if (load.open(QIODevice::ReadOnly))
        std::printf("load average: %s\n", load.readLine().trimmed().constData());

    // Each run reads into a document of its own; dropping what a run read is no part of it.
    std::unique_ptr<Document> readInto;
    QStringList lines;
    const auto reading = bench::medians(
        Runs,
        [&] {
            readInto = std::make_unique<Document>();
            open(*readInto, source);
        },
        [&] { lines = QString::fromLatin1(bench::readAll(source)).split(QStringLiteral("\r\n")); },
        [&] {
            readInto.reset();
            lines.clear();
        });
    report("read into the document", "baseline: read, split lines", reading);

    // The document is saved as File > Save finds it after File > Open.
    Document document;
    const Reading read = open(document, source);
    if (read.recordsAdded != Records || document.records().count() != Records)
        qFatal("read %lld records instead of %d", static_cast<long long>(read.recordsAdded),
               Records);
    const QString target = folder.filePath(QStringLiteral("written.DF"));
    const QString baselineTarget = folder.filePath(QStringLiteral("baseline.DF"));
    QString failure;
    const auto writing = bench::medians(
        Runs, [&] { failure += document.writeFile(target, Header); },
        [&] { save(baselineTarget, bytes); });
    if (!failure.isEmpty())
        qFatal("cannot write %s: %s", qPrintable(target), qPrintable(failure));
    report("write the document", "baseline: QSaveFile write", writing);

    if (bench::readAll(target) != bytes)
        qFatal("the file written from the document differs from the one read");
    return 0;
}

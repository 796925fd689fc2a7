// The look for content a data file cannot hold, which runs before every save, on a document of
// 32767 records (about 4 MB) that holds none, so that every character is looked at. Beside
// it, writing the same document to its file: what every save does anyway. Both documents a
// save meets are measured: one just read from a file, whose records are still the file's
// bytes, and one whose every record was typed, whose records are text of their own.
#include "bench/BenchSupport.h"
#include "core/Document.h"
#include "core/FileAccess.h"
#include "core/Preferences.h"
#include "core/RecordStore.h"
#include "core/SaveCheck.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int Records = 32767;
constexpr int Runs = 21;
constexpr double Goal = 0.5;
const TransferHeader Header{QStringLiteral("1"), QStringLiteral("%%HP: T(3)A(D)F(.);")};

void measure(const char* name, Document& document, const QString& path)
{
    bool clean = true;
    QString failure;
    const auto [check, write] = bench::medians(
        Runs, [&] { clean = clean && !findUnwritableContent(document.records()).has_value(); },
        [&] { failure += document.writeFile(path, Header); });
    if (!clean)
        qFatal("the sample document should hold nothing a data file cannot");
    if (!failure.isEmpty())
        qFatal("cannot write %s: %s", qPrintable(path), qPrintable(failure));
    const double ratio = check / write;
    std::printf("%-14s look for unwritable content %7.2f ms   baseline: write the file %7.2f ms   "
                "ratio %.2f (goal %.1f at most: %s)\n",
                name, check, write, ratio, Goal, ratio <= Goal ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        qFatal("no temporary folder");
    const QString typedPath = folder.filePath(QStringLiteral("typed.DF"));
    const QString readPath = folder.filePath(QStringLiteral("read.DF"));

    Document typed;
    bench::typeSampleRecords(typed, Records);
    if (const QString failure = typed.writeFile(typedPath, Header); !failure.isEmpty())
        qFatal("cannot write %s: %s", qPrintable(typedPath), qPrintable(failure));
    const FileContents contents = readWholeFile(typedPath);
    if (!contents.error.isEmpty())
        qFatal("cannot read %s: %s", qPrintable(typedPath), qPrintable(contents.error));
    Document read;
    if (read.FileInSub(contents.bytes).recordsAdded != Records)
        qFatal("the sample file did not read back whole");

    std::printf("document: %d records, %.1f MB as a file; median of %d runs\n", Records,
                double(contents.bytes.size()) / 1e6, Runs);
    measure("read from file", read, readPath);
    measure("all typed", typed, typedPath);
    return 0;
}

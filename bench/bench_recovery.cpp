// Keeping unsaved work for recovery on a document of 32767 records (about 4 MB) read from a
// file, with a few records edited, as after a while of work:
// - keeping the recovery file, as the timer does a moment after a change: the window's thread
//   copies the document, then a thread of its own writes it. Timed is what the window waits
//   for (goal 10 ms at most), beside writing the same number of bytes with QSaveFile on the
//   window's thread, which is what it would wait for otherwise;
// - a keystroke with the recovery watching the document, beside one without; the watch must
//   cost nothing measurable.
#include "bench/BenchSupport.h"
#include "core/Document.h"
#include "core/RecordStore.h"
#include "core/RecoveryFile.h"
#include "documentcommands/CrashRecovery.h"
#include "platform/Questions.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int Records = 32767;
constexpr int Runs = 21;
constexpr int Keystrokes = 2000;
constexpr double WriteGoalMs = 10.0;

// Nothing here asks: a question would mean the benchmark went wrong.
class NoQuestions final : public Questions
{
public:
    QString inputBox(QWidget*, const QString&, const QString&, const QString&) override
    {
        qFatal("unexpected input box");
    }
    QMessageBox::StandardButton messageBox(QWidget*, const QString&, const QString& text,
                                           QMessageBox::StandardButtons, QMessageBox::Icon,
                                           QMessageBox::StandardButton) override
    {
        qFatal("unexpected message: %s", qPrintable(text));
    }
};

// The sample typed, saved and read back, so that its records are pieces of the file read.
void readSample(Document& document)
{
    Document typed;
    bench::typeSampleRecords(typed, Records);
    document.FileInSub(typed.fileBytes({}));
    for (int position = 0; position < Records; position += Records / 8)
        document.changeText(document.records().recordIndexAt(position), 0, 0, QStringLiteral("x"));
}

void type(Document& document, qint32 record)
{
    for (int i = 0; i < Keystrokes; ++i)
        document.changeText(record, i, 0, QStringLiteral("k"));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    bench::usePrivateFolders(folder);
    NoQuestions questions;

    Document document;
    readSample(document);
    CrashRecovery recovery(document, questions, folder.filePath(QStringLiteral("recovery")),
                           [] { return FileStamp{}; });
    const qsizetype size = recoveryfile::encode(document, {}).size();
    const QByteArray same(size, 'x');
    const auto write = bench::medians(
        Runs, [&] { recovery.keepNow(); },
        [&] {
            QSaveFile file(folder.filePath(QStringLiteral("plain")));
            if (!file.open(QIODevice::WriteOnly) || file.write(same) != size || !file.commit())
                qFatal("cannot write: %s", qPrintable(file.errorString()));
        });
    std::printf("recovery file, %lld KB       %8.2f ms   QSaveFile, same size   %8.2f ms   "
                "(goal %.0f ms at most: %s)\n",
                static_cast<long long>(size / 1024), write.first, write.second, WriteGoalMs,
                write.first <= WriteGoalMs ? "met" : "MISSED");

    Document unwatched;
    readSample(unwatched);
    const qint32 watchedRecord = document.records().recordIndexAt(1);
    const qint32 unwatchedRecord = unwatched.records().recordIndexAt(1);
    const auto keys = bench::medians(
        Runs, [&] { type(document, watchedRecord); }, [&] { type(unwatched, unwatchedRecord); });
    std::printf("keystroke, recovery watching %8.2f us   without               %8.2f us   "
                "ratio %.2f\n",
                1000 * keys.first / Keystrokes, 1000 * keys.second / Keystrokes,
                keys.first / keys.second);
    return 0;
}

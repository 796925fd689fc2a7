// Printing a data file of about 4 MB to PDF, beside printing one of about 4 KB in the same run:
// the printout streams the file, so its peak memory must stay within a few MB of the small
// one's. Peak memory is the process's peak resident size (VmHWM), reset before each printout.
#include "platform/Printers.h"
#include "print/Printout.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <optional>
#include <utility>

namespace {

struct Figures
{
    qint64 fileBytes;
    double peakGrowthMb;
    qint64 milliseconds;
};

// A field of /proc/self/status, in kB.
qint64 statusKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

bool resetPeak()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

// Written record by record, so that making the file does not raise the peak either.
bool writeDataFile(const QString& path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QRandomGenerator random(7);
    file.write("%%HP: T(3)A(D)F(.);\r\n{\r\n");
    for (int record = 0; file.size() < size; ++record) {
        QByteArray text = "\"Record " + QByteArray::number(record);
        for (int line = random.bounded(7); line > 0; --line) {
            text += "\r\n";
            for (int letter = random.bounded(60); letter > 0; --letter)
                text += char('a' + random.bounded(26));
        }
        file.write(text + "\"\r\n");
    }
    file.write("}\r\n");
    return file.flush();
}

bool printToPdf(const QString& dataPath, const QString& pdfPath)
{
    QFile file(dataPath);
    if (!file.open(QIODevice::ReadOnly) || FilePrint(file, nullptr) != PrintoutResult::Complete)
        return false;
    const auto printer = QtPrinter::toPdfFile(pdfPath);
    printer->setFontName(QStringLiteral("DejaVu Sans"));
    printer->setFontSize(11);
    return printTitleLines(*printer, QStringLiteral("BENCH.DF"), QStringLiteral("today")) &&
           FilePrint(file, printer.get()) == PrintoutResult::Complete && printer->endDoc();
}

std::optional<Figures> measure(const QString& dataPath, const QString& pdfPath)
{
    if (!resetPeak())
        return std::nullopt;
    const qint64 before = statusKb("VmRSS");
    QElapsedTimer timer;
    timer.start();
    if (!printToPdf(dataPath, pdfPath))
        return std::nullopt;
    const qint64 elapsed = timer.elapsed();
    const qint64 peak = statusKb("VmHWM");
    return Figures{QFile(dataPath).size(), (peak - before) / 1024.0, elapsed};
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    const QString small = folder.filePath(QStringLiteral("small.DF"));
    const QString large = folder.filePath(QStringLiteral("large.DF"));
    if (!folder.isValid() || !writeDataFile(small, 4 * 1024) ||
        !writeDataFile(large, 4 * 1024 * 1024)) {
        std::fprintf(stderr, "bench_print: could not write the sample files\n");
        return 1;
    }
    // Fonts and the PDF engine are loaded once before anything is measured.
    if (!printToPdf(small, folder.filePath(QStringLiteral("warm.pdf")))) {
        std::fprintf(stderr, "bench_print: printing failed\n");
        return 1;
    }
    const std::optional<Figures> baseline =
        measure(small, folder.filePath(QStringLiteral("s.pdf")));
    const std::optional<Figures> streamed =
        measure(large, folder.filePath(QStringLiteral("l.pdf")));
    if (!baseline || !streamed) {
        std::fprintf(stderr, "bench_print: could not measure (needs /proc/self/clear_refs)\n");
        return 1;
    }
    std::printf("printing to PDF           file size    peak memory growth   time\n");
    for (const auto& [name, figures] : {std::pair{"baseline (small file)", *baseline},
                                        std::pair{"streamed (large file)", *streamed}})
        std::printf("%-24s %8.0f KB %14.1f MB %9lld ms\n", name, figures.fileBytes / 1024.0,
                    figures.peakGrowthMb, static_cast<long long>(figures.milliseconds));
    std::printf("difference: %.1f MB for a file %.0f times larger\n",
                streamed->peakGrowthMb - baseline->peakGrowthMb,
                double(streamed->fileBytes) / double(baseline->fileBytes));
    return 0;
}

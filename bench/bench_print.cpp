// File > Print of a data file of about 4 MB to PDF, beside File > Print of one of about 4 KB in
// the same run. Each file is opened first, as the user would have it open; the Print command
// then saves the document and prints the saved file. The printout streams the file, so the
// large file's peak memory growth must stay within a few MB of the small one's. Peak memory is
// the process's peak resident size (VmHWM), reset before each File > Print.
#include "bench/BenchSupport.h"
#include "core/Document.h"
#include "core/Preferences.h"
#include "documentcommands/DocumentCommands.h"
#include "platform/Printers.h"
#include "platform/QtServices.h"
#include "print/PrintCommand.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <malloc.h>
#include <optional>
#include <utility>

namespace {

const QString TransferText = QStringLiteral("%%HP: T(3)A(D)F(.);");

struct Figures
{
    qint64 fileBytes;
    double peakGrowthMb;
    qint64 milliseconds;
};

// The message boxes answered with their default button, as Enter would; the last one is kept
// to learn how printing went.
class AnsweredQuestions final : public Questions
{
public:
    QString inputBox(QWidget*, const QString&, const QString&, const QString&) override
    {
        return QString();
    }
    QMessageBox::StandardButton messageBox(QWidget*, const QString& title, const QString& text,
                                           QMessageBox::StandardButtons, QMessageBox::Icon icon,
                                           QMessageBox::StandardButton defaultButton) override
    {
        lastTitle = title;
        lastText = text;
        lastIcon = icon;
        ++count;
        return defaultButton;
    }

    void forget()
    {
        lastTitle.clear();
        lastText.clear();
        lastIcon = QMessageBox::NoIcon;
        count = 0;
    }

    QString lastTitle;
    QString lastText;
    QMessageBox::Icon lastIcon = QMessageBox::NoIcon;
    int count = 0;
};

// The default printer writes the PDF file named last.
class PdfPrinters final : public Printers
{
public:
    std::unique_ptr<Printer> defaultPrinter() override { return QtPrinter::toPdfFile(path); }
    std::unique_ptr<Printer> pdfPrinter(const QString& file) override
    {
        return QtPrinter::toPdfFile(file);
    }
    QString path;
};

// The real services, apart from the message boxes and the printer.
struct BenchServices
{
    Services services()
    {
        const Services real = qt.services();
        return {questions, real.fileDialogs, real.settings,   real.clipboard,
                printers,  real.folders,     real.serialLines};
    }
    QtServices qt;
    AnsweredQuestions questions;
    PdfPrinters printers;
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

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Written record by record in the form the program writes, so that the save before printing
// writes the file back exactly as it was.
bool writeDataFile(const QString& path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QRandomGenerator random(7);
    file.write(TransferText.toLatin1() + "\r\n{\r\n");
    for (int record = 0; file.size() < size; ++record) {
        QByteArray text = "\"Record " + QByteArray::number(record);
        for (int line = random.bounded(7); line > 0; --line) {
            text += "\r\n";
            for (int letter = 1 + random.bounded(59); letter > 0; --letter)
                text += char('a' + random.bounded(26));
        }
        file.write((record > 0 ? "\r\n" : "") + text + '"');
    }
    file.write("\r\n}\r\n");
    return file.flush();
}

// Opens the file as File > Open does, then prints it with File > Print.
std::optional<Figures> measure(BenchServices& services, const QString& dataPath,
                               const QString& pdfPath)
{
    const QByteArray bytes = readAll(dataPath);
    services.printers.path = pdfPath;
    services.questions.forget();
    Document document;
    DocumentCommands commands(document, services.services());
    PrintCommand print(document, commands, services.services());
    commands.openAtStart(dataPath);
    if (services.questions.count != 0) {
        std::fprintf(stderr, "bench_print: opening said %s\n",
                     qPrintable(services.questions.lastText));
        return std::nullopt;
    }

    // Memory freed while opening would otherwise stay in the process, where the printout could
    // grow into it unseen.
    malloc_trim(0);
    if (!resetPeak()) {
        std::fprintf(stderr,
                     "bench_print: could not reset the peak (needs /proc/self/clear_refs)\n");
        return std::nullopt;
    }
    const qint64 before = statusKb("VmRSS");
    QElapsedTimer timer;
    timer.start();
    print.FilePrint();
    const qint64 elapsed = timer.elapsed();
    const qint64 peak = statusKb("VmHWM");

    if (services.questions.count != 1 || services.questions.lastIcon != QMessageBox::Information) {
        std::fprintf(stderr, "bench_print: printing said %s\n",
                     qPrintable(services.questions.lastText));
        return std::nullopt;
    }
    if (readAll(dataPath) != bytes || QFile(pdfPath).size() == 0) {
        std::fprintf(stderr, "bench_print: the save changed the file, or no PDF was written\n");
        return std::nullopt;
    }
    return Figures{bytes.size(), (peak - before) / 1024.0, elapsed};
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Private settings and runtime folders: the benchmark never touches the user's.
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "bench_print: no temporary folder\n");
        return 1;
    }
    bench::usePrivateFolders(folder);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tabulet"));

    BenchServices services;
    SettingsStore& settings = services.qt.services().settings;
    settings.write(PreferenceKey::AsciiHeader, QStringLiteral("1"));
    settings.write(PreferenceKey::AsciiText, TransferText);
    settings.write(PreferenceKey::DefaultFont, QStringLiteral("DejaVu Sans"));
    settings.write(PreferenceKey::DefaultFontSize, QStringLiteral("11"));

    const QString small = folder.filePath(QStringLiteral("small.DF"));
    const QString large = folder.filePath(QStringLiteral("large.DF"));
    if (!writeDataFile(small, 4 * 1024) || !writeDataFile(large, 4 * 1024 * 1024)) {
        std::fprintf(stderr, "bench_print: could not write the sample files\n");
        return 1;
    }
    // Fonts and the PDF engine are loaded once before anything is measured.
    if (!measure(services, small, folder.filePath(QStringLiteral("warm.pdf"))))
        return 1;
    const std::optional<Figures> baseline =
        measure(services, small, folder.filePath(QStringLiteral("s.pdf")));
    const std::optional<Figures> streamed =
        measure(services, large, folder.filePath(QStringLiteral("l.pdf")));
    if (!baseline || !streamed)
        return 1;
    std::printf("File > Print to PDF       file size    peak memory growth   time\n");
    for (const auto& [name, figures] : {std::pair{"baseline (small file)", *baseline},
                                        std::pair{"streamed (large file)", *streamed}})
        std::printf("%-24s %8.0f KB %14.1f MB %9lld ms\n", name, figures.fileBytes / 1024.0,
                    figures.peakGrowthMb, static_cast<long long>(figures.milliseconds));
    std::printf("difference: %.1f MB for a file %.0f times larger\n",
                streamed->peakGrowthMb - baseline->peakGrowthMb,
                double(streamed->fileBytes) / double(baseline->fileBytes));
    return 0;
}

// The whole program as a user meets it, each figure beside a baseline from the same run:
// - start-up to the first paint of the main window, beside a bare Qt main window, both in
//   fresh processes;
// - File > Open of a 32767-record, 4 MB file until the header list and the data field have
//   painted, beside reading the same bytes whole and splitting them into lines;
// - peak memory with that file open, above the peak of an empty window.
// The program runs itself as the child processes ("--child MODE [FILE]").
#include "bench/BenchSupport.h"
#include "core/DataFile.h"
#include "core/RecordStore.h"
#include "mainwindow/frmTabulet.h"
#include "platform/FileDialogs.h"
#include "platform/QtServices.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QListView>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int Records = 32767;
constexpr int StartRuns = 15;
constexpr int OpenRuns = 9;
constexpr int MemoryRuns = 3;
constexpr int ChildMilliseconds = 60000;

// File > Open's dialog, answered at once with the file the benchmark made.
class ChosenFile final : public FileDialogs
{
public:
    explicit ChosenFile(const QString& path) : m_path(path) {}
    std::optional<FileChoice> openFile(QWidget*, const QString&, const QString&) override
    {
        return FileChoice{m_path, QFileInfo(m_path).fileName()};
    }
    std::optional<FileChoice> saveFileAs(QWidget*, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<QFont> chooseFont(QWidget*) override { return std::nullopt; }

private:
    QString m_path;
};

// The real services, apart from the open dialog.
struct BenchServices
{
    explicit BenchServices(const QString& path) : dialogs(path) {}
    Services services()
    {
        const Services real = qt.services();
        return {real.questions, dialogs,       real.settings,
                real.clipboard, real.printers, real.folders};
    }
    QtServices qt;
    ChosenFile dialogs;
};

// Waits until every one of `widgets` has painted since the call.
class PaintWatch final : public QObject
{
public:
    explicit PaintWatch(const QList<QWidget*>& widgets) : m_waiting(widgets)
    {
        for (QWidget* widget : widgets)
            widget->installEventFilter(this);
    }
    void wait()
    {
        QElapsedTimer limit;
        limit.start();
        while (!m_waiting.isEmpty()) {
            if (limit.elapsed() > ChildMilliseconds)
                qFatal("the window did not paint");
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            m_waiting.removeAll(qobject_cast<QWidget*>(watched));
        return false;
    }

private:
    QList<QWidget*> m_waiting;
};

// About 128 bytes a record: a short header and one to six lines of text, some without text.
QByteArray sampleFile()
{
    QRandomGenerator random(7);
    QList<datafile::Record> records;
    for (int i = 0; i < Records; ++i) {
        QStringList lines;
        if (random.bounded(8) != 0)
            for (int count = 1 + random.bounded(6); count > 0; --count)
                lines << bench::randomWords(random, random.bounded(60));
        records.append({bench::randomWords(random, 4 + random.bounded(18)), lines.join(u"\r\n")});
    }
    return datafile::fileBytes(datafile::write(records, QString(), QString()));
}

// Kilobytes: the most the process has held (VmHWM) or what it holds now (VmRSS).
qint64 residentKilobytes(const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        qFatal("cannot read /proc/self/status");
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').constFirst().toLongLong();
    qFatal("no %s in /proc/self/status", field.constData());
}

// The offscreen platform warns on every window it shows; the figures are what matters.
void quietOffscreenWarnings()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (!message.contains(QLatin1String("propagateSizeHints")))
            std::fprintf(stderr, "%s\n", qPrintable(message));
        if (type == QtFatalMsg)
            std::abort();
    });
}

void answer(const QByteArray& line)
{
    std::printf("%s\n", line.constData());
    std::fflush(stdout);
}

void showAndWaitForPaint(QMainWindow& window)
{
    PaintWatch painted({&window});
    window.show();
    painted.wait();
}

// File > Open through its real handler, until the list and the data field have painted.
void openAndWaitForPaint(frmTabulet& window)
{
    PaintWatch painted({window.lstHeaders->viewport(), window.txtDataField->viewport()});
    window.mnuFileOpenItem_Click();
    painted.wait();
    if (window.store().count() != Records)
        qFatal("opened %d records instead of %d", int(window.store().count()), Records);
}

// One child process: builds its window as tabulet's main() does, and reports once it has
// painted ("painted") or how much memory it has needed at most and needs now (kilobytes).
int runChild(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString mode = QString::fromLocal8Bit(argv[2]);
    if (mode == QLatin1String("bare")) {
        QMainWindow window;
        window.setWindowTitle(QStringLiteral("Bare"));
        window.resize(371, 310);
        showAndWaitForPaint(window);
        answer("painted");
        return 0;
    }
    QApplication::setApplicationName(QStringLiteral("Tabulet"));
    BenchServices services(argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString());
    frmTabulet window(services.services());
    showAndWaitForPaint(window);
    if (mode == QLatin1String("tabulet")) {
        answer("painted");
        return 0;
    }
    if (mode == QLatin1String("memory-open"))
        openAndWaitForPaint(window);
    answer(QByteArray::number(residentKilobytes("VmHWM")) + ' ' +
           QByteArray::number(residentKilobytes("VmRSS")));
    return 0;
}

// Runs this program as a child and returns the milliseconds until its answer and the answer.
std::pair<double, QByteArray> child(const QStringList& arguments,
                                    const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    process.start(QCoreApplication::applicationFilePath(), QStringList{"--child"} + arguments);
    while (!process.canReadLine())
        if (!process.waitForReadyRead(ChildMilliseconds))
            qFatal("child %s gave no answer", qPrintable(arguments.join(u' ')));
    const double milliseconds = timer.nsecsElapsed() / 1e6;
    const QByteArray line = process.readLine().trimmed();
    process.waitForFinished(ChildMilliseconds);
    return {milliseconds, line};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char* what, double measured, const char* baselineName, double baseline,
            const char* unit, double goal)
{
    std::printf("%-34s %9.1f %s   %-34s %9.1f %s   ratio %.2f (goal: %.1f at most)\n", what,
                measured, unit, baselineName, baseline, unit, measured / baseline, goal);
}

// The two sides alternate, so that a slow spell of the machine falls on both.
void measureStartUp(const QProcessEnvironment& environment)
{
    std::vector<double> tabulet;
    std::vector<double> bare;
    child({QStringLiteral("tabulet")}, environment);
    child({QStringLiteral("bare")}, environment);
    for (int run = 0; run < StartRuns; ++run) {
        tabulet.push_back(child({QStringLiteral("tabulet")}, environment).first);
        bare.push_back(child({QStringLiteral("bare")}, environment).first);
    }
    report("start-up to first paint", median(tabulet), "baseline: bare QMainWindow", median(bare),
           "ms", 1.5);
}

void measureOpen(const QString& path)
{
    std::vector<double> opening;
    std::vector<double> splitting;
    QElapsedTimer timer;
    for (int run = 0; run <= OpenRuns; ++run) {
        // The baseline goes first, while no window holds a document: with 20 MB of records
        // alive beside it, its allocations alone took several times as long.
        timer.start();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(path));
        const QStringList lines = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
        const double splitMilliseconds = timer.nsecsElapsed() / 1e6;
        if (lines.size() < Records)
            qFatal("the baseline read %d lines", int(lines.size()));

        BenchServices services(path);
        frmTabulet window(services.services());
        showAndWaitForPaint(window);
        timer.start();
        openAndWaitForPaint(window);
        const double openMilliseconds = timer.nsecsElapsed() / 1e6;
        // The first run only warms the caches.
        if (run > 0) {
            opening.push_back(openMilliseconds);
            splitting.push_back(splitMilliseconds);
        }
    }
    report("File > Open until painted", median(opening), "baseline: read, split lines",
           median(splitting), "ms", 2.0);
}

void measureMemory(const QString& path, qint64 fileBytes, const QProcessEnvironment& environment)
{
    std::vector<double> emptyPeak;
    std::vector<double> openPeak;
    std::vector<double> openNow;
    for (int run = 0; run < MemoryRuns; ++run) {
        const QList<QByteArray> empty =
            child({QStringLiteral("memory-empty")}, environment).second.split(' ');
        const QList<QByteArray> open =
            child({QStringLiteral("memory-open"), path}, environment).second.split(' ');
        emptyPeak.push_back(empty.constFirst().toDouble() / 1024.0);
        openPeak.push_back(open.constFirst().toDouble() / 1024.0);
        openNow.push_back(open.constLast().toDouble() / 1024.0);
    }
    const double fileMegabytes = fileBytes / 1024.0 / 1024.0;
    std::printf("peak memory: empty window %.1f MB, with the file open %.1f MB (%.1f MB held "
                "once it is open)\n",
                median(emptyPeak), median(openPeak), median(openNow));
    report("peak memory above an empty window", median(openPeak) - median(emptyPeak),
           "baseline: the file's size", fileMegabytes, "MB", 3.0);
}

} // namespace

int main(int argc, char** argv)
{
    quietOffscreenWarnings();
    if (argc >= 3 && qstrcmp(argv[1], "--child") == 0)
        return runChild(argc, argv);

    QTemporaryDir folder;
    if (!folder.isValid())
        qFatal("no temporary folder");
    // Private settings and runtime folders: the benchmark never touches the user's.
    QDir(folder.path()).mkpath(QStringLiteral("config"));
    QDir(folder.path()).mkpath(QStringLiteral("run"));
    QFile::setPermissions(folder.filePath(QStringLiteral("run")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", folder.filePath(QStringLiteral("run")).toLocal8Bit());
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QApplication app(argc, argv);

    const QString path = folder.filePath(QStringLiteral("sample.DF"));
    const QByteArray bytes = sampleFile();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        qFatal("cannot write %s", qPrintable(path));
    std::printf("data file: %d records, %.1f MB, %lld lines; platform %s\n", Records,
                bytes.size() / 1e6, static_cast<long long>(bytes.count("\r\n")),
                qPrintable(QApplication::platformName()));

    measureStartUp(environment);
    measureOpen(path);
    measureMemory(path, bytes.size(), environment);
    return 0;
}

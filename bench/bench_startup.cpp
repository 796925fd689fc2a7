// The whole program as a user meets it, each figure beside a baseline from the same run:
// - start-up to the first paint of the main window, beside a bare Qt main window with the same
//   menus, both in fresh processes;
// - File > Open of a 32767-record, 4 MB file until the header list and the data field have
//   painted, beside reading the same bytes whole and splitting them into lines;
// - peak memory once that file is open, and once it is open and saved, above the peak of the
//   same program at rest with an empty window, as a multiple of the file's size.
// The program runs itself as the child processes ("--child MODE [FILE]").
#include "bench/BenchSupport.h"
#include "core/Document.h"
#include "core/RecordStore.h"
#include "dialogs/PreferenceCommands.h"
#include "mainwindow/frmTabulet.h"
#include "platform/FileDialogs.h"
#include "platform/QtServices.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QListView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int Records = 32767;
constexpr int StartRuns = 15;
constexpr int OpenRuns = 9;
constexpr int MemoryRuns = 3;
constexpr int ChildMilliseconds = 60000;

// File > Open's dialog, answered at once with the file the benchmark made.
class ChosenFileDialogs final : public FileDialogs
{
public:
    explicit ChosenFileDialogs(const QString& path) : m_path(path) {}
    std::optional<FileChoice> openFile(QWidget*, const QString&, const QString&) override
    {
        return FileChoice{m_path, QFileInfo(m_path).fileName()};
    }
    std::optional<FileChoice> saveFileAs(QWidget*, const QString&, const QString&,
                                         const QString&) override
    {
        return std::nullopt;
    }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return std::nullopt; }

private:
    QString m_path;
};

// The real services and dialogs, apart from the open dialog.
struct BenchServices
{
    explicit BenchServices(const QString& path) : fileDialogs(path), dialogs(services()) {}
    Services services()
    {
        const Services real = qt.services();
        return {real.questions, fileDialogs,  real.settings,   real.clipboard,
                real.printers,  real.folders, real.serialLines};
    }
    QtServices qt;
    ChosenFileDialogs fileDialogs;
    PreferenceCommands dialogs;
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

// About 128 bytes a record: a short header and one to six lines of text, some without text,
// typed into a document and written by the program's own writer, without the transfer header
// line, as a save writes it with no preferences stored.
QByteArray sampleFile(const QString& path)
{
    QRandomGenerator random(7);
    Document document;
    RecordStore& records = document.records();
    for (int i = 0; i < Records; ++i) {
        const qint32 index = *records.addRecord(bench::randomWords(random, 4 + random.bounded(18)));
        QStringList lines;
        if (random.bounded(8) != 0)
            for (int count = 1 + random.bounded(6); count > 0; --count)
                lines << bench::randomWords(random, random.bounded(60));
        records.setRecordText(index, lines.join(u"\r\n"));
    }
    if (const QString failure = document.writeFile(path, TransferHeader{}); !failure.isEmpty())
        qFatal("cannot write %s: %s", qPrintable(path), qPrintable(failure));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
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

// The main window's four menus, item for item with their shortcuts, with nothing behind them.
void addBareMenus(QMainWindow& window)
{
    const auto menu = [&window](const QString& title,
                                const QList<std::pair<QString, QKeySequence>>& items) {
        QMenu* added = window.menuBar()->addMenu(title);
        for (const auto& [text, shortcut] : items) {
            if (text.isEmpty()) {
                added->addSeparator();
                continue;
            }
            QAction* item = added->addAction(text);
            item->setShortcut(shortcut);
            item->setShortcutContext(Qt::WindowShortcut);
        }
    };
    const QKeySequence none;
    menu(QStringLiteral("&File"),
         {{QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N)},
          {QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O)},
          {QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S)},
          {QStringLiteral("Save &As..."), none},
          {QString(), none},
          {QStringLiteral("&Print..."), QKeySequence(Qt::CTRL | Qt::Key_P)},
          {QString(), none},
          {QStringLiteral("P&references..."), none},
          {QStringLiteral("Re&move Registry Settings..."), none},
          {QString(), none},
          {QStringLiteral("E&xit"), none}});
    menu(QStringLiteral("&Edit"),
         {{QStringLiteral("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X)},
          {QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C)},
          {QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V)},
          {QString(), none},
          {QStringLiteral("Select &All"), QKeySequence(Qt::CTRL | Qt::Key_A)}});
    menu(QStringLiteral("He&aders"),
         {{QStringLiteral("&New Header..."), QKeySequence(Qt::CTRL | Qt::Key_H)},
          {QStringLiteral("&Remove Header"), none},
          {QStringLiteral("&Edit Header..."), none}});
    menu(QStringLiteral("&Help"), {{QStringLiteral("&About Tabulet"), none}});
}

// File > Open through its menu item, until the list and the data field have painted.
void openAndWaitForPaint(frmTabulet& window)
{
    auto* list = bench::child<QListView>(window, "lstHeaders");
    auto* field = bench::child<QPlainTextEdit>(window, "txtDataField");
    PaintWatch painted({list->viewport(), field->viewport()});
    bench::child<QAction>(window, "mnuFileOpenItem")->trigger();
    painted.wait();
    if (list->model()->rowCount() != Records)
        qFatal("opened %d records instead of %d", list->model()->rowCount(), Records);
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
        addBareMenus(window);
        window.resize(371, 310);
        showAndWaitForPaint(window);
        answer("painted");
        return 0;
    }
    QApplication::setApplicationName(QStringLiteral("Tabulet"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.tabulet.Tabulet"));
    BenchServices services(argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString());
    frmTabulet window(services.services(), services.dialogs);
    showAndWaitForPaint(window);
    if (mode == QLatin1String("tabulet")) {
        answer("painted");
        return 0;
    }
    if (mode == QLatin1String("memory-open") || mode == QLatin1String("memory-save"))
        openAndWaitForPaint(window);
    // The document was named after the file when it was opened, so Save writes straight to it.
    if (mode == QLatin1String("memory-save"))
        bench::child<QAction>(window, "mnuFileSaveItem")->trigger();
    answer(QByteArray::number(residentKilobytes("VmHWM")) + ' ' +
           QByteArray::number(residentKilobytes("VmRSS")));
    return 0;
}

// Runs this program as a child and returns the milliseconds until its answer and the answer.
std::pair<double, QByteArray> runAsChild(const QStringList& arguments,
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
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        qFatal("child %s failed", qPrintable(arguments.join(u' ')));
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
    const double ratio = measured / baseline;
    std::printf("%-34s %9.1f %s   %-34s %9.1f %s   ratio %.2f (goal %.1f at most: %s)\n", what,
                measured, unit, baselineName, baseline, unit, ratio, goal,
                ratio <= goal ? "met" : "MISSED");
}

// The two sides alternate, so that a slow spell of the machine falls on both.
void measureStartUp(const QProcessEnvironment& environment)
{
    std::vector<double> tabulet;
    std::vector<double> bare;
    runAsChild({QStringLiteral("tabulet")}, environment);
    runAsChild({QStringLiteral("bare")}, environment);
    for (int run = 0; run < StartRuns; ++run) {
        tabulet.push_back(runAsChild({QStringLiteral("tabulet")}, environment).first);
        bare.push_back(runAsChild({QStringLiteral("bare")}, environment).first);
    }
    report("start-up to first paint", median(tabulet), "baseline: bare QMainWindow, menus",
           median(bare), "ms", 1.2);
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
        frmTabulet window(services.services(), services.dialogs);
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

// Megabytes a child has held at most, and holds as it answers.
struct Memory
{
    double peak;
    double now;
};

Memory childMemory(const QStringList& arguments, const QProcessEnvironment& environment)
{
    const QList<QByteArray> figures = runAsChild(arguments, environment).second.split(' ');
    return {figures.constFirst().toDouble() / 1024.0, figures.constLast().toDouble() / 1024.0};
}

// The save writes over the file it opened, so it opens a copy of its own, which must come out
// of the save exactly as it went in.
void measureMemory(const QString& path, const QString& savedPath, const QByteArray& bytes,
                   const QProcessEnvironment& environment)
{
    std::vector<double> emptyPeak;
    std::vector<double> openPeak;
    std::vector<double> openNow;
    std::vector<double> savePeak;
    for (int run = 0; run < MemoryRuns; ++run) {
        emptyPeak.push_back(childMemory({QStringLiteral("memory-empty")}, environment).peak);
        const Memory open = childMemory({QStringLiteral("memory-open"), path}, environment);
        openPeak.push_back(open.peak);
        openNow.push_back(open.now);
        QFile::remove(savedPath);
        if (!QFile::copy(path, savedPath))
            qFatal("cannot copy %s", qPrintable(path));
        savePeak.push_back(
            childMemory({QStringLiteral("memory-save"), savedPath}, environment).peak);
        QFile saved(savedPath);
        if (!saved.open(QIODevice::ReadOnly) || saved.readAll() != bytes)
            qFatal("the file saved is not the file opened");
    }
    const double fileMegabytes = bytes.size() / 1024.0 / 1024.0;
    std::printf("peak memory: empty window %.1f MB, with the file open %.1f MB (%.1f MB held once "
                "it is open), open and saved %.1f MB; the file %.1f MB\n",
                median(emptyPeak), median(openPeak), median(openNow), median(savePeak),
                fileMegabytes);
    report("peak above rest: file opened", median(openPeak) - median(emptyPeak),
           "baseline: the file's size", fileMegabytes, "MB", 2.0);
    report("peak above rest: opened, saved", median(savePeak) - median(emptyPeak),
           "baseline: the file's size", fileMegabytes, "MB", 2.0);
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
    bench::usePrivateFolders(folder);
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tabulet"));

    const QString path = folder.filePath(QStringLiteral("sample.DF"));
    const QByteArray bytes = sampleFile(path);
    std::printf("data file: %d records, %.1f MB, %lld lines; platform %s\n", Records,
                bytes.size() / 1e6, static_cast<long long>(bytes.count("\r\n")),
                qPrintable(QApplication::platformName()));

    measureStartUp(environment);
    measureOpen(path);
    measureMemory(path, folder.filePath(QStringLiteral("saved.DF")), bytes, environment);
    return 0;
}

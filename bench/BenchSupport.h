#pragma once

// What the benchmarks share: sample text and timing of a figure beside its baseline.
#include "core/Document.h"
#include "core/RecordStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace bench {

// Settings, data and runtime folders of the benchmark's own under `folder`, never the user's.
inline void usePrivateFolders(const QTemporaryDir& folder)
{
    QDir(folder.path()).mkpath(QStringLiteral("config"));
    QDir(folder.path()).mkpath(QStringLiteral("data"));
    qputenv("XDG_DATA_HOME", folder.filePath(QStringLiteral("data")).toLocal8Bit());
    QDir(folder.path()).mkpath(QStringLiteral("run"));
    QFile::setPermissions(folder.filePath(QStringLiteral("run")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", folder.filePath(QStringLiteral("run")).toLocal8Bit());
}

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

// A control of the main window by its name; the benchmark cannot go on without it.
template <typename T> T* child(QObject& parent, const char* name)
{
    T* found = parent.findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("the main window has no %s", name);
    return found;
}

// Words of lower-case letters with a few Latin-1 accents, `length` characters or a little more.
inline QString randomWords(QRandomGenerator& random, int length)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz\xe4\xf6\xfc\xe9";
    QString words;
    while (words.size() < length) {
        if (!words.isEmpty())
            words += u' ';
        for (int i = 1 + random.bounded(9); i > 0; --i)
            words += QChar(uchar(letters[random.bounded(int(sizeof letters) - 1)]));
    }
    return words;
}

// `count` records typed into a document: a header of 4 to 21 characters and up to six lines of
// text, about 125 bytes a record once written.
inline void typeSampleRecords(Document& document, int count)
{
    QRandomGenerator random(1);
    RecordStore& records = document.records();
    for (int i = 0; i < count; ++i) {
        const qint32 index = *records.addRecord(randomWords(random, 4 + random.bounded(18)));
        QStringList lines;
        for (int line = random.bounded(7); line > 0; --line)
            lines << randomWords(random, random.bounded(58));
        records.setRecordText(index, lines.join(u"\r\n"));
    }
}

// Milliseconds, the median of `runs` runs of each side. The two sides take turns, each going
// first every other run, so that a slow spell of the machine falls on both. `untimed` runs
// after each timed run, to put away what the run left.
inline std::pair<double, double> medians(
    int runs, const std::function<void()>& measured, const std::function<void()>& baseline,
    const std::function<void()>& untimed = [] {})
{
    std::vector<double> measuredTimes;
    std::vector<double> baselineTimes;
    const auto time = [&](const std::function<void()>& work, std::vector<double>& times) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        untimed();
    };
    measured();
    baseline();
    untimed();
    for (int run = 0; run < runs; ++run) {
        if (run % 2 == 1)
            time(baseline, baselineTimes);
        time(measured, measuredTimes);
        if (run % 2 == 0)
            time(baseline, baselineTimes);
    }
    const auto median = [](std::vector<double>& times) {
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    };
    return {median(measuredTimes), median(baselineTimes)};
}

} // namespace bench

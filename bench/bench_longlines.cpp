// A record whose text is one long line with no space in it, in the main window: selecting it
// in the list until the data field has painted it, and a keystroke at its end with its repaint.
// Beside, from the same run, a bare QPlainTextEdit of the same size and font given the same
// text: wrapping as the data field does (at word boundaries, else anywhere) where it finishes
// in a reasonable time (100 KB), and wrapping anywhere, the fastest it can wrap, at 1 MB.
#include "bench/WindowBench.h"
#include "core/LineBreaks.h"
#include "mainwindow/frmTabulet.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QListView>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int Runs = 11;

QString longLine(qsizetype characters)
{
    QString text;
    text.reserve(characters);
    while (text.size() < characters)
        text += QLatin1String("abcdefghijklmnopqrstuvwxyz0123456789");
    text.truncate(characters);
    return text;
}

void select(QListView* list, int row)
{
    list->setCurrentIndex(list->model()->index(row, 0));
    QApplication::processEvents();
}

void report(const char* what, double measured, double baseline, const char* baselineName,
            double goal)
{
    std::printf("%-34s %9.1f ms   %-28s %9.1f ms   (goal %.0f ms at most: %s)\n", what, measured,
                baselineName, baseline, goal, measured <= goal ? "met" : "MISSED");
}

void measure(const Services& services, ProgramDialogs& dialogs, const QString& path,
             qsizetype characters, bool wordWrapBaseline, double selectGoal, double keyGoal)
{
    Document typed;
    typed.records().setRecordText(*typed.records().addRecord(QStringLiteral("short")),
                                  QStringLiteral("a few words"));
    const QString text = longLine(characters);
    typed.records().setRecordText(*typed.records().addRecord(QStringLiteral("long")), text);
    if (!typed.writeFile(path, {}).isEmpty())
        qFatal("cannot write the sample");

    frmTabulet window(services, dialogs);
    window.show();
    window.openFileAtStart(path);
    auto* list = bench::child<QListView>(window, "lstHeaders");
    auto* field = bench::child<QPlainTextEdit>(window, "txtDataField");
    QPlainTextEdit bare;
    bare.setFont(field->font());
    bare.resize(field->size());
    bare.setVerticalScrollBarPolicy(field->verticalScrollBarPolicy());
    if (!wordWrapBaseline)
        bare.setWordWrapMode(QTextOption::WrapAnywhere);
    bare.show();

    const auto selecting = bench::medians(
        Runs, [&] { select(list, 1); },
        [&] {
            bare.setPlainText(text);
            QApplication::processEvents();
        },
        [&] {
            select(list, 0);
            bare.clear();
        });
    select(list, 1);
    field->moveCursor(QTextCursor::End);
    bare.setPlainText(text);
    bare.moveCursor(QTextCursor::End);
    window.activateWindow();
    field->setFocus();
    QApplication::processEvents();
    int keystrokes = 0;
    const auto typing = bench::medians(
        Runs,
        [&] {
            bench::keystroke(field);
            ++keystrokes;
        },
        [&] { bench::keystroke(&bare); });
    // Every keystroke reached the record, and nothing else did.
    bench::child<QAction>(window, "mnuFileSaveItem")->trigger();
    Document saved;
    saved.FileInSub(bench::readAll(path));
    if (saved.records().recordText(saved.records().recordIndexAt(1)) !=
        text + QString(keystrokes, u'x'))
        qFatal("the saved record is not the line with the keystrokes at its end");

    const QString size = characters >= 1024 * 1024
                             ? QStringLiteral("%1 MB").arg(characters / (1024 * 1024))
                             : QStringLiteral("%1 KB").arg(characters / 1024);
    const char* bareName = wordWrapBaseline ? "bare field" : "bare field, wrap anywhere";
    report(qPrintable(QStringLiteral("select a %1 line").arg(size)), selecting.first,
           selecting.second, bareName, selectGoal);
    report(qPrintable(QStringLiteral("keystroke at the end of %1").arg(size)), typing.first,
           typing.second, bareName, keyGoal);
}

} // namespace

int main(int argc, char** argv)
{
    bench::WindowBench run(argc, argv);
    std::printf("a record of one line with no space, median of %d runs\n", Runs);
    const QString path = run.filePath(QStringLiteral("long.DF"));
    measure(run.services(), run.dialogs(), path, 100 * 1024, true, 200, 16);
    measure(run.services(), run.dialogs(), path, 1024 * 1024, false, 200, 50);
    return 0;
}

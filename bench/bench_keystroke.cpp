// One keystroke in the data field of the main window while the selected record holds 32 KB and
// 1 MB of text, storing the change into the record included, beside the same keystroke in a
// bare QPlainTextEdit of the same size holding the same text, with nothing attached to it.
// Each keystroke is measured with its repaint. The record is read from a file as File > Open
// reads it, and saved at the end, to make sure every keystroke reached it.
#include "bench/WindowBench.h"
#include "core/Document.h"
#include "core/LineBreaks.h"
#include "core/RecordStore.h"
#include "mainwindow/frmTabulet.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QListView>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextCursor>
#include <cstdio>
#include <memory>

namespace {

constexpr int Runs = 41;

// Lines of up to 70 characters of words with some Latin-1 letters, CR LF between them.
QString recordText(qsizetype characters)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz\xe4\xf6\xfc\xe9\xa0";
    QRandomGenerator random(7);
    QString text;
    text.reserve(characters + 80);
    qsizetype lineStart = 0;
    while (text.size() < characters) {
        if (text.size() - lineStart > 60) {
            text += QLatin1String("\r\n");
            lineStart = text.size();
        } else if (text.size() > lineStart) {
            text += u' ';
        }
        for (int i = 1 + random.bounded(9); i > 0; --i)
            text += QChar(uchar(letters[random.bounded(int(sizeof letters) - 1)]));
    }
    return text;
}

// A data file of one record holding `text`, written by the program's own writer.
void writeFileOfOneRecord(const QString& path, const QString& text)
{
    Document document;
    const qint32 index = *document.records().addRecord(QStringLiteral("bench"));
    document.records().setRecordText(index, text);
    if (const QString failure = document.writeFile(path, TransferHeader{}); !failure.isEmpty())
        qFatal("cannot write %s: %s", qPrintable(path), qPrintable(failure));
}

// Counts the paints of a widget, to make sure that every keystroke measured was painted.
class PaintCount final : public QObject
{
public:
    explicit PaintCount(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

bool measure(const Services& services, ProgramDialogs& dialogs, const QString& path,
             const char* name, qsizetype characters, double goal)
{
    const QString text = recordText(characters);
    writeFileOfOneRecord(path, text);
    const QByteArray written = bench::readAll(path);

    // The main window, the file opened as on the command line, its record selected in the
    // list and the cursor at the end of the data field.
    frmTabulet window(services, dialogs);
    window.show();
    window.openFileAtStart(path);
    auto* list = bench::child<QListView>(window, "lstHeaders");
    auto* field = bench::child<QPlainTextEdit>(window, "txtDataField");
    list->setCurrentIndex(list->model()->index(0, 0));
    field->moveCursor(QTextCursor::End);
    QApplication::processEvents();
    if (crLfLineBreaks(field->document()->toRawText()) != text)
        qFatal("the data field does not show the record");

    // The baseline: the same widget with nothing attached, as large, in the same font.
    QPlainTextEdit bare;
    bare.setFont(field->font());
    bare.setLineWrapMode(field->lineWrapMode());
    bare.setVerticalScrollBarPolicy(field->verticalScrollBarPolicy());
    bare.setHorizontalScrollBarPolicy(field->horizontalScrollBarPolicy());
    bare.resize(field->size());
    bare.setPlainText(lfLineBreaks(text));
    bare.moveCursor(QTextCursor::End);
    bare.show();
    QApplication::processEvents();

    // The user types into the data field, so it has the focus and draws its cursor; the bare
    // field's window cannot be active at the same time, so the baseline draws none.
    window.activateWindow();
    field->setFocus();
    QApplication::processEvents();

    PaintCount fieldPaints(field->viewport());
    PaintCount barePaints(bare.viewport());
    int typed = 0;
    const auto [inWindow, alone] = bench::medians(
        Runs,
        [&] {
            bench::keystroke(field);
            ++typed;
        },
        [&] { bench::keystroke(&bare); });
    if (fieldPaints.count < typed || barePaints.count < typed)
        qFatal("%d keystrokes painted the data field %d times and the bare field %d times", typed,
               fieldPaints.count, barePaints.count);

    // The document is named after the file it was read from, so Save writes straight to it.
    bench::child<QAction>(window, "mnuFileSaveItem")->trigger();
    QByteArray expected = written;
    const QByteArray end = "\"\r\n}\r\n";
    if (!expected.endsWith(end))
        qFatal("the sample file does not end as a data file does");
    expected.insert(expected.size() - end.size(), QByteArray(typed, 'x'));
    if (bench::readAll(path) != expected)
        qFatal("the saved file does not hold the %d keystrokes at the end of its record", typed);

    const double added = inWindow - alone;
    std::printf("%-6s keystroke in the window %7.3f ms   baseline: bare field %7.3f ms   "
                "the window adds %6.3f ms (goal %.1f ms at most: %s)\n",
                name, inWindow, alone, added, goal, added <= goal ? "met" : "MISSED");
    return added <= goal;
}

} // namespace

int main(int argc, char** argv)
{
    bench::WindowBench run(argc, argv);
    std::printf("one keystroke in the data field, repaint included; median of %d runs\n", Runs);
    const QString path = run.filePath(QStringLiteral("record.DF"));
    measure(run.services(), run.dialogs(), path, "32 KB", 32 * 1024, 0.3);
    measure(run.services(), run.dialogs(), path, "1 MB", 1024 * 1024, 2.0);
    return 0;
}

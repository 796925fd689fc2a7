#pragma once

#include "doubles/ScriptedLinkWindows.h"
#include "platform/Clipboard.h"
#include "platform/FileDialogs.h"
#include "platform/Folders.h"
#include "platform/Printers.h"
#include "platform/ProgramDialogs.h"
#include "platform/Questions.h"
#include "platform/SerialLines.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"

#include <QtTest>

// The next scripted answer; a question or dialog that finds none fails the running test.
template <typename T> T nextAnswer(QQueue<T>& answers, const QString& what, T unanswered = T())
{
    if (!answers.isEmpty())
        return answers.dequeue();
    QTest::qFail(qPrintable("unexpected " + what), __FILE__, __LINE__);
    return unanswered;
}

// Answers the program's questions from a script and records what was asked, in order.
class ScriptedQuestions final : public Questions
{
public:
    struct Asked
    {
        QString title;
        QString text; // the prompt of an input box, the message of a message box
        QString defaultText;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };

    void answerInput(const QString& answer) { m_inputs.enqueue(answer); }
    void answerMessage(QMessageBox::StandardButton button) { m_messages.enqueue(button); }
    bool allAnswered() const { return m_inputs.isEmpty() && m_messages.isEmpty(); }

    QString inputBox(QWidget*, const QString& title, const QString& prompt,
                     const QString& defaultText) override
    {
        asked.append({title, prompt, defaultText, {}});
        return nextAnswer(m_inputs, "question: " + title + ": " + prompt);
    }
    QMessageBox::StandardButton messageBox(QWidget*, const QString& title, const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::Icon icon,
                                           QMessageBox::StandardButton defaultButton) override
    {
        asked.append({title, text, {}, buttons, icon, defaultButton});
        return nextAnswer(m_messages, "question: " + title + ": " + text, QMessageBox::Cancel);
    }

    QList<Asked> asked;

private:
    QQueue<QString> m_inputs;
    QQueue<QMessageBox::StandardButton> m_messages;
};

// Chooses files and fonts from a script, an empty path standing for Cancel, and records which
// dialogs were shown: "open", "save as" or "font".
class ScriptedFileDialogs final : public FileDialogs
{
public:
    void chooseFile(const QString& path) { m_files.enqueue(path); }
    void cancelFile() { m_files.enqueue(QString()); }
    void chooseFontAnswer(const std::optional<QFont>& font) { m_fonts.enqueue(font); }
    bool allAnswered() const { return m_files.isEmpty() && m_fonts.isEmpty(); }

    std::optional<FileChoice> openFile(QWidget*, const QString&, const QString&) override
    {
        return nextFile("open");
    }
    std::optional<FileChoice> saveFileAs(QWidget*, const QString&, const QString& start,
                                         const QString&) override
    {
        saveStart = start;
        return nextFile("save as");
    }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override
    {
        shown << "font";
        return nextAnswer(m_fonts, "font dialog");
    }

    QStringList shown;
    // Where Save As started last.
    QString saveStart;

private:
    std::optional<FileChoice> nextFile(const QString& dialog)
    {
        shown << dialog;
        const QString path = nextAnswer(m_files, dialog + " dialog");
        return path.isEmpty() ? std::nullopt
                              : std::optional(FileChoice{path, QFileInfo(path).fileName()});
    }

    QQueue<QString> m_files;
    QQueue<std::optional<QFont>> m_fonts;
};

// Settings held in memory, each value under "section/key", recording every write in order:
// preferences by their key alone, values of other sections as "section/key".
class MemorySettingsStore final : public SettingsStore
{
public:
    QString readIn(const QString& section, const QString& key,
                   const QString& defaultValue = QString()) const override
    {
        return m_values.value(section + u'/' + key, defaultValue);
    }
    void writeIn(const QString& section, const QString& key, const QString& value) override
    {
        m_values.insert(section + u'/' + key, value);
        writes << (section == PreferencesSection ? key : section + u'/' + key);
    }
    void removeIn(const QString& section, const QString& key) override
    {
        m_values.remove(section + u'/' + key);
    }
    void removeEverything() override { m_values.clear(); }

    bool isEmpty() const { return m_values.isEmpty(); }
    QStringList writes;

private:
    QMap<QString, QString> m_values;
};

// A private clipboard, so tests neither see nor change the desktop's.
class MemoryClipboard final : public Clipboard
{
public:
    void clear() override { m_text.clear(); }
    void setText(const QString& text) override { m_text = text; }
    QString text() const override { return m_text; }

private:
    QString m_text;
};

// What one printer handed out by RecordingPrinters was asked to do.
struct PrintJobRecord
{
    // One printed line: the position it started at (twips) and its text.
    struct Line
    {
        int x, y;
        QString text;
    };

    QString fontName;
    float fontSize = 0;
    QList<Line> lines;
    bool opened = false, ended = false, discarded = false;
};

// A printer that records every line instead of drawing it. Each line is a fixed 240 twips high
// and there are no pages, so positions can be checked exactly. It fails at the print() call
// numbered `failAtPrint` (from 1; 0 for never).
class RecordingPrinter final : public Printer
{
public:
    RecordingPrinter(PrintJobRecord& record, int failAtPrint) : m_job(record), m_failAt(failAtPrint)
    {}

    void setFontName(const QString& name) override { m_job.fontName = name; }
    void setFontSize(float points) override { m_job.fontSize = points; }
    void setCurrentX(int twips) override { m_x = twips; }
    void setCurrentY(int twips) override { m_y = twips; }
    bool print(const QString& text) override
    {
        m_job.opened = true;
        if (++m_prints == m_failAt)
            return false;
        for (const QString& line : text.split(QStringLiteral("\r\n"))) {
            m_job.lines.append({std::exchange(m_x, 0), m_y, line});
            m_y += 240;
        }
        return true;
    }
    bool endDoc() override { return m_job.ended = true; }
    bool killDoc() override { return m_job.discarded = true; }
    QString errorText() const override { return "The recording printer failed as told."; }

private:
    PrintJobRecord& m_job;
    int m_failAt, m_prints = 0, m_x = 0, m_y = 0;
};

// Hands out recording printers, or none when told that there is no default printer; a PDF is
// written for real, so that what an export writes can be checked in the file.
class RecordingPrinters final : public Printers
{
public:
    std::unique_ptr<Printer> defaultPrinter() override
    {
        if (!hasDefaultPrinter)
            return nullptr;
        jobs.append(std::make_shared<PrintJobRecord>());
        return std::make_unique<RecordingPrinter>(*jobs.last(), failAtPrint);
    }
    std::unique_ptr<Printer> pdfPrinter(const QString& path) override
    {
        return QtPrinter::toPdfFile(path);
    }

    bool hasDefaultPrinter = true;
    int failAtPrint = 0;
    QList<std::shared_ptr<PrintJobRecord>> jobs; // one for each printer handed out, in order
};

// A system volume holding the program's home, /home, and an empty stick at /usb, in memory.
// The next volume chosen meets the scripted failures, one per attempt, before it can be read.
class ScriptedFolders final : public Folders
{
public:
    QList<Volume> volumes() const override { return {{"/", {}}, {"/usb", {}}}; }
    QString volumeOf(const QString& p) const override { return p == "/usb" ? p : "/"; }
    QString startVolume() const override { return "/"; }
    QString homeFolder() const override { return "/home"; }
    QString recoveryFolder() const override { return recovery; }
    FolderResult<QString> currentFolder(const QString& root) const override
    {
        return {root, failures.isEmpty() ? std::nullopt : std::optional(failures.takeFirst())};
    }
    FolderResult<FolderContents> openFolder(const QString& dir) const override
    {
        const FolderError missing{FolderError::PathNotFound, "Not found"};
        return {{dir, tree.value(dir)}, tree.contains(dir) ? std::nullopt : std::optional(missing)};
    }

    QHash<QString, QStringList> tree{
        {"/", {"data", "home"}}, {"/data", {}}, {"/home", {}}, {"/usb", {}}};
    mutable QList<FolderError> failures;
    QString recovery;
};

// Records which of the program's dialogs the main window opened, in order.
class RecordingDialogs final : public ProgramDialogs
{
public:
    void showPreferences(QWidget*) override { opened << "preferences"; }
    void showHelp(QWidget*) override { opened << "help"; }
    void showAbout(QWidget*) override { opened << "about"; }
    bool removeSettings(QWidget*) override
    {
        opened << "remove settings";
        return true;
    }
    LinkWindows& linkWindows() override { return link; }

    QStringList opened;
    ScriptedLinkWindows link;
};

// Every service as a test double, owned together for one test.
struct TestServices
{
    Services services()
    {
        return {questions, fileDialogs, settings, clipboard, printers, folders, serialLines};
    }

    ScriptedQuestions questions;
    ScriptedFileDialogs fileDialogs;
    MemorySettingsStore settings;
    MemoryClipboard clipboard;
    RecordingPrinters printers;
    ScriptedFolders folders;
    // The real ports: tests reach the stand-in calculator over a pseudo-terminal.
    QtSerialLines serialLines;
};

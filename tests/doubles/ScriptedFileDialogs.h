#pragma once

#include "platform/FileDialogs.h"

#include <QFileInfo>
#include <QList>
#include <QQueue>
#include <QTest>

// Chooses files and fonts from a script and records each dialog it was asked to show.
// An empty path in the script stands for Cancel; a dialog with no answer fails the test.
class ScriptedFileDialogs final : public FileDialogs
{
public:
    struct Shown
    {
        enum Kind { Open, SaveAs, Font } kind;
        QString filter;
        QString startFolder;
        QString title;
    };

    void chooseFile(const QString& path) { m_files.enqueue(path); }
    void cancelFile() { m_files.enqueue(QString()); }
    void chooseFontAnswer(const std::optional<QFont>& font) { m_fonts.enqueue(font); }
    bool allAnswered() const { return m_files.isEmpty() && m_fonts.isEmpty(); }

    std::optional<FileChoice> openFile(QWidget*, const QString& filter,
                                       const QString& startFolder) override
    {
        return nextFile({Shown::Open, filter, startFolder, {}});
    }
    std::optional<FileChoice> saveFileAs(QWidget*, const QString& filter,
                                         const QString& startFolder, const QString& title) override
    {
        return nextFile({Shown::SaveAs, filter, startFolder, title});
    }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override
    {
        shown.append({Shown::Font, {}, {}, {}});
        if (answered(m_fonts))
            return m_fonts.dequeue();
        return std::nullopt;
    }

    QList<Shown> shown;

private:
    template <typename T> bool answered(const QQueue<T>& answers)
    {
        if (answers.isEmpty())
            QTest::qFail("unexpected file or font dialog", __FILE__, __LINE__);
        return !answers.isEmpty();
    }
    std::optional<FileChoice> nextFile(const Shown& dialog)
    {
        shown.append(dialog);
        const QString path = answered(m_files) ? m_files.dequeue() : QString();
        if (path.isEmpty())
            return std::nullopt;
        return FileChoice{path, QFileInfo(path).fileName()};
    }

    QQueue<QString> m_files;
    QQueue<std::optional<QFont>> m_fonts;
};

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
        QString title;
    };

    void chooseFile(const QString& path) { m_files.enqueue(path); }
    void cancelFile() { m_files.enqueue(QString()); }
    void chooseFontAnswer(const std::optional<QFont>& font) { m_fonts.enqueue(font); }
    bool allAnswered() const { return m_files.isEmpty() && m_fonts.isEmpty(); }

    std::optional<FileChoice> openFile(QWidget*, const QString&, const QString&) override
    {
        return nextFile({Shown::Open, {}});
    }
    std::optional<FileChoice> saveFileAs(QWidget*, const QString&, const QString&,
                                         const QString& title) override
    {
        return nextFile({Shown::SaveAs, title});
    }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override
    {
        shown.append(Shown{Shown::Font, {}});
        return next(m_fonts);
    }

    QList<Shown> shown;

private:
    template <typename T> T next(QQueue<T>& answers)
    {
        if (!answers.isEmpty())
            return answers.dequeue();
        QTest::qFail("unexpected file or font dialog", __FILE__, __LINE__);
        return T();
    }
    std::optional<FileChoice> nextFile(const Shown& dialog)
    {
        shown.append(dialog);
        const QString path = next(m_files);
        if (path.isEmpty())
            return std::nullopt;
        return FileChoice{path, QFileInfo(path).fileName()};
    }

    QQueue<QString> m_files;
    QQueue<std::optional<QFont>> m_fonts;
};

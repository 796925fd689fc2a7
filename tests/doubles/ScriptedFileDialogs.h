#pragma once

#include "platform/FileDialogs.h"

#include <QList>
#include <QQueue>

// Chooses files and fonts from a script and records each dialog it was asked to show.
// An empty path in the script stands for Cancel.
class ScriptedFileDialogs final : public FileDialogs
{
public:
    struct Shown
    {
        enum Kind { Open, SaveAs, Font } kind;
        QString filter;
        QString startFolder;
    };

    void chooseFile(const QString& path) { m_files.enqueue(path); }
    void cancelFile() { m_files.enqueue(QString()); }
    void chooseFontAnswer(const std::optional<QFont>& font) { m_fonts.enqueue(font); }

    std::optional<FileChoice> openFile(QWidget* parent, const QString& filter,
                                       const QString& startFolder) override;
    std::optional<FileChoice> saveFileAs(QWidget* parent, const QString& filter,
                                         const QString& startFolder) override;
    std::optional<QFont> chooseFont(QWidget* parent) override;

    QList<Shown> shown;
    bool allAnswered() const { return m_files.isEmpty() && m_fonts.isEmpty(); }

private:
    std::optional<FileChoice> nextFile(Shown::Kind kind, const QString& filter,
                                       const QString& startFolder);

    QQueue<QString> m_files;
    QQueue<std::optional<QFont>> m_fonts;
};

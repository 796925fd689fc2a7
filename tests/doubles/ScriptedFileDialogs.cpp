#include "doubles/ScriptedFileDialogs.h"

#include <QFileInfo>
#include <QTest>

std::optional<FileChoice> ScriptedFileDialogs::nextFile(Shown::Kind kind, const QString& filter,
                                                        const QString& startFolder)
{
    shown.append(Shown{kind, filter, startFolder});
    if (m_files.isEmpty()) {
        QTest::qFail("unexpected file dialog", __FILE__, __LINE__);
        return std::nullopt;
    }
    const QString path = m_files.dequeue();
    if (path.isEmpty())
        return std::nullopt;
    return FileChoice{path, QFileInfo(path).fileName()};
}

std::optional<FileChoice> ScriptedFileDialogs::openFile(QWidget*, const QString& filter,
                                                        const QString& startFolder)
{
    return nextFile(Shown::Open, filter, startFolder);
}

std::optional<FileChoice> ScriptedFileDialogs::saveFileAs(QWidget*, const QString& filter,
                                                          const QString& startFolder)
{
    return nextFile(Shown::SaveAs, filter, startFolder);
}

std::optional<QFont> ScriptedFileDialogs::chooseFont(QWidget*)
{
    shown.append(Shown{Shown::Font, QString(), QString()});
    if (m_fonts.isEmpty()) {
        QTest::qFail("unexpected font dialog", __FILE__, __LINE__);
        return std::nullopt;
    }
    return m_fonts.dequeue();
}

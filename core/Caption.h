#pragma once

#include <QString>

// The program's name as its message boxes bear it when they have no title of their own.
inline const QString ProgramTitle = QStringLiteral("Tabulet");
// The main window's caption without a file, and the product's name and version everywhere.
inline const QString ProgramCaption = QStringLiteral("Tabulet 1.0");

// The caption once the document belongs to a file: the file's name without its folder.
inline QString captionWithFile(const QString& fileTitle)
{
    return ProgramCaption + QStringLiteral(" - ") + fileTitle;
}

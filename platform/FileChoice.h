#pragma once

#include <QString>

// What a file dialog reports once the user has chosen a file: the full path and the name
// alone (the file title). The document keeps the one Open chose last.
struct FileChoice
{
    QString fileName;
    QString fileTitle;
};

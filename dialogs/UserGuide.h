#pragma once

#include <QString>

// The user's guide: installed beside the program as share/doc/tabulet/help.html, or, for a
// program run from its build folder, the source tree's docs/help.html. Empty when neither is
// there.
QString userGuidePath(const QString& programFolder);

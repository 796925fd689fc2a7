#pragma once

#include <QString>

class QWidget;
class SettingsStore;

// Where the main window stood when it last closed, and how it showed the records, kept in the
// settings store under a section of its own. The window's size is fixed and is not kept.
namespace windowplacement {

inline const QString Section = QStringLiteral("Window");

// Moves the window to where it last stood, unless that place is on no screen there is now
// (a monitor unplugged since, a smaller desktop) or nothing sensible is stored.
void restore(QWidget& window, const SettingsStore& settings);
void store(const QWidget& window, SettingsStore& settings);

// Whether View > Calculator Characters was on when the window last closed.
bool calculatorCharacters(const SettingsStore& settings);
void storeCalculatorCharacters(SettingsStore& settings, bool on);

} // namespace windowplacement

#pragma once

#include <QString>

class QWidget;
class SettingsStore;

// Where the main window stood when it last closed, how it showed the records, and whether the
// user could resize it and to what size, kept in the settings store under a section of its own.
namespace windowplacement {

inline const QString Section = QStringLiteral("Window");

// Moves the window to where it last stood, unless that place is on no screen there is now
// (a monitor unplugged since, a smaller desktop) or nothing sensible is stored.
void restore(QWidget& window, const SettingsStore& settings);
void store(const QWidget& window, SettingsStore& settings);

// Whether View > Resizable Window was on when the window last closed, and the size and the
// maximized state it had then; the size of a fixed window is not kept.
bool resizable(const SettingsStore& settings);
void restoreSize(QWidget& window, const SettingsStore& settings);
void storeSize(const QWidget& window, SettingsStore& settings, bool resizable);

// Whether View > Calculator Characters was on when the window last closed.
bool calculatorCharacters(const SettingsStore& settings);
void storeCalculatorCharacters(SettingsStore& settings, bool on);

} // namespace windowplacement

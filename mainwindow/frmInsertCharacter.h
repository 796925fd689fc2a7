#pragma once

#include <QDialog>
#include <optional>

// Edit > Insert Character: the calculator's characters 128 to 255 in a grid, each with its
// code and number in its tool tip. Choosing one closes the window.
class frmInsertCharacter final : public QDialog
{
    Q_OBJECT

public:
    // `mode` is the translation mode of the next save, which the tool tips name the spelling in.
    frmInsertCharacter(int mode, QWidget* parent);

    // The character code chosen, or nothing when the window was closed without a choice.
    std::optional<int> chosen() const { return m_chosen; }

private:
    std::optional<int> m_chosen;
};

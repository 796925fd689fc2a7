#include "mainwindow/CalculatorCommands.h"

#include "core/CalculatorCheck.h"
#include "core/CalculatorCode.h"
#include "core/Document.h"
#include "core/Preferences.h"
#include "mainwindow/ClipboardCommands.h"
#include "mainwindow/SelectedRecord.h"
#include "mainwindow/frmCalculatorCheck.h"
#include "mainwindow/frmInsertCharacter.h"

CalculatorCommands::CalculatorCommands(Document& document, SettingsStore& settings,
                                       SelectedRecord& selection,
                                       ClipboardCommands& clipboardCommands, QWidget& owner)
    : m_document(document), m_settings(settings), m_selection(selection),
      m_clipboardCommands(clipboardCommands), m_owner(owner)
{}

void CalculatorCommands::check()
{
    const calculator::CalculatorReport report = calculator::checkForCalculator(
        m_document.records(), preferences::transferHeader(m_settings));
    frmCalculatorCheck check(report, m_document.records(), &m_owner);
    check.exec();
    if (const std::optional<calculator::CalculatorProblem> problem = check.goTo())
        m_selection.goTo(problem->position, problem->inHeader ? -1 : problem->offset, 1);
}

void CalculatorCommands::insertCharacter()
{
    const int mode = translationMode();
    frmInsertCharacter palette(mode, &m_owner);
    if (palette.exec() != QDialog::Accepted || !palette.chosen())
        return;
    const int code = *palette.chosen();
    m_clipboardCommands.insertCharacter(m_selection.shownMode() >= 0
                                            ? calculator::glyph(code).toString()
                                            : calculator::spellingFor(code, mode));
}

int CalculatorCommands::translationMode() const
{
    return calculator::translationMode(preferences::transferHeader(m_settings));
}

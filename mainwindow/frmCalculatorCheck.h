#pragma once

#include "core/CalculatorCheck.h"

#include <QDialog>
#include <optional>

class QListWidget;
class RecordStore;

// File > Calculator Check: what the calculator will make of the document once it is saved
// with the current preferences. The translation mode and why, the memory the list takes beside
// the calculators' user memory, the largest records, and everything that will not arrive as
// the user sees it, each with a way to go to its record.
class frmCalculatorCheck final : public QDialog
{
    Q_OBJECT

public:
    frmCalculatorCheck(const calculator::CalculatorReport& report, const RecordStore& records,
                       QWidget* parent);

    // The problem the user chose to go to, once the window has closed.
    std::optional<calculator::CalculatorProblem> goTo() const { return m_goTo; }

private:
    QWidget* modeSection(const calculator::ModeChoice& mode);
    QWidget* memorySection(qint64 memory);
    QListWidget* largestList(const calculator::CalculatorReport& report,
                             const RecordStore& records);
    QListWidget* problemList(const RecordStore& records);

    QList<calculator::CalculatorProblem> m_problems;
    std::optional<calculator::CalculatorProblem> m_goTo;
};

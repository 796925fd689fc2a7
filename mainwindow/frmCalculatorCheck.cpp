#include "mainwindow/frmCalculatorCheck.h"

#include "core/RecordStore.h"
#include "platform/WindowLook.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString problemText(calculator::CalculatorProblem::Kind kind)
{
    using Kind = calculator::CalculatorProblem::Kind;
    switch (kind) {
    case Kind::DoubleQuote:
        return frmCalculatorCheck::tr("a double quote, which ends the calculator's string");
    case Kind::NotOnCalculator:
        return frmCalculatorCheck::tr("a character the calculator does not have, saved as \"?\"");
    case Kind::StrayBackslash:
        return frmCalculatorCheck::tr("a backslash that starts no code, received as it stands");
    case Kind::CodeBeyondMode:
        return frmCalculatorCheck::tr("a code this translation mode does not read, received as "
                                      "its characters");
    }
    return QString();
}

QString fitText(qint64 memory, qint64 available)
{
    return memory > available ? frmCalculatorCheck::tr("does not fit: %1 bytes more than %2")
                                    .arg(memory - available)
                                    .arg(available)
                              : frmCalculatorCheck::tr("%1 of %2 bytes").arg(memory).arg(available);
}

// A bar cuts its text to its own width; the label under it makes the window as wide as the
// text needs, in any font.
QProgressBar* memoryBar(qint64 memory, qint64 available, const char* name)
{
    auto* bar = new QProgressBar;
    bar->setObjectName(QStringLiteral("bar") + QLatin1String(name));
    bar->setRange(0, int(available));
    bar->setValue(int(std::min(memory, available)));
    bar->setTextVisible(false);
    bar->setAccessibleDescription(fitText(memory, available));
    return bar;
}

QLabel* memoryText(qint64 memory, qint64 available, const char* name)
{
    auto* label = new QLabel(fitText(memory, available));
    label->setObjectName(QStringLiteral("lbl") + QLatin1String(name));
    return label;
}

// A list view takes its accessible name from itself alone, not from the label that names it.
void addNamedList(QVBoxLayout& layout, const QString& caption, QListWidget* list)
{
    auto* label = new QLabel(caption);
    label->setBuddy(list);
    list->setAccessibleName(caption);
    layout.addWidget(label);
    layout.addWidget(list);
}

} // namespace

frmCalculatorCheck::frmCalculatorCheck(const calculator::CalculatorReport& report,
                                       const RecordStore& records, QWidget* parent)
    : QDialog(parent), m_problems(report.problems)
{
    setObjectName(QStringLiteral("frmCalculatorCheck"));
    setWindowTitle(tr("Calculator Check"));
    setFont(tabuletWidgetFont());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modeSection(report.mode));
    layout->addWidget(memorySection(report.memory));
    addNamedList(*layout, tr("Largest records:"), largestList(report, records));
    addNamedList(*layout,
                 report.problems.isEmpty()
                     ? tr("Every record will arrive as it is shown.")
                     : tr("Will not arrive as shown (double-click to go there):"),
                 problemList(records));
    layout->addWidget(buttons);
    resize(460, sizeHint().height());
}

QWidget* frmCalculatorCheck::modeSection(const calculator::ModeChoice& mode)
{
    auto* label =
        new QLabel(tr("Translation mode T(%1). %2").arg(mode.mode).arg(mode.reason), this);
    label->setObjectName(QStringLiteral("lblMode"));
    label->setWordWrap(true);
    return label;
}

// The list of N records takes 5 bytes, and each record 5 bytes and one a character.
QWidget* frmCalculatorCheck::memorySection(qint64 memory)
{
    auto* box = new QGroupBox(tr("Memory: the list takes %1 bytes").arg(memory), this);
    box->setObjectName(QStringLiteral("grpMemory"));
    auto* form = new QFormLayout(box);
    const struct
    {
        const char* model;
        qint64 available;
        const char* name;
    } calculators[] = {{QT_TR_NOOP("HP 48S, 48SX, 48G (32 KB):"), calculator::Memory32K, "32K"},
                       {QT_TR_NOOP("HP 48GX (128 KB):"), calculator::Memory128K, "128K"}};
    for (const auto& [model, available, name] : calculators) {
        form->addRow(tr(model), memoryBar(memory, available, name));
        form->addRow(QString(), memoryText(memory, available, name));
    }
    return box;
}

QListWidget* frmCalculatorCheck::largestList(const calculator::CalculatorReport& report,
                                             const RecordStore& records)
{
    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("lstLargest"));
    for (const calculator::RecordSize& record : report.largest)
        list->addItem(tr("%1: %2 bytes").arg(records.headerAt(record.position)).arg(record.bytes));
    list->setMaximumHeight(list->sizeHintForRow(0) * 5 + 2 * list->frameWidth());
    return list;
}

QListWidget* frmCalculatorCheck::problemList(const RecordStore& records)
{
    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("lstProblems"));
    list->setAccessibleDescription(tr("Return goes to the record"));
    for (const calculator::CalculatorProblem& problem : std::as_const(m_problems))
        list->addItem(tr("%1 (%2): %3")
                          .arg(records.headerAt(problem.position),
                               problem.inHeader ? tr("header") : tr("text"),
                               problemText(problem.kind)));
    connect(list, &QListWidget::itemActivated, this, [this, list](QListWidgetItem* item) {
        m_goTo = m_problems.value(list->row(item));
        accept();
    });
    return list;
}

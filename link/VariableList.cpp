#include "link/VariableList.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

bool isNumber(const QString& word)
{
    static const QRegularExpression number(QStringLiteral("^[0-9]+(\\.[0-9]+)?$"));
    return number.match(word).hasMatch();
}

// A host lists a file as its permissions, links, owner, size, date, time and name.
std::optional<CalculatorVariable> hostFile(const QStringList& words)
{
    static const QRegularExpression permissions(QStringLiteral("^[-dlrwxsStT]{10}$"));
    if (!permissions.match(words.first()).hasMatch() || words.size() < 3)
        return std::nullopt;
    if (words.first().startsWith(u'd'))
        return CalculatorVariable{};
    const auto size = std::find_if(words.cbegin() + 1, words.cend() - 1, isNumber);
    return CalculatorVariable{words.last(), size == words.cend() - 1 ? QString() : *size, {}};
}

// The calculator lists a variable as its name, its size in bytes, its type and a checksum.
std::optional<CalculatorVariable> calculatorVariable(const QStringList& words)
{
    if (words.size() < 2 || !isNumber(words.at(1)))
        return std::nullopt;
    QStringList type = words.mid(2);
    if (!type.isEmpty() && (type.last().startsWith(u'#') || isNumber(type.last())))
        type.removeLast();
    return CalculatorVariable{words.first(), words.at(1), type.join(u' ')};
}

} // namespace

QList<CalculatorVariable> variablesListed(const QByteArray& listing)
{
    QList<CalculatorVariable> variables;
    for (const QByteArray& line : listing.split('\n')) {
        const QStringList words =
            QString::fromLatin1(line).simplified().split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty() || words.first().startsWith(u'{') ||
            words.first().compare(QLatin1String("total"), Qt::CaseInsensitive) == 0)
            continue;
        std::optional<CalculatorVariable> variable = hostFile(words);
        if (!variable)
            variable = calculatorVariable(words);
        if (variable && !variable->name.isEmpty())
            variables << *variable;
    }
    return variables;
}

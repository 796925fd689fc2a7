#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One variable of the calculator's current directory, as its server lists it.
struct CalculatorVariable
{
    QString name;
    QString size;
    QString type;
};

// The variables of a directory listing, a line each: the calculator's own lines (name, size,
// type, checksum) and a host's lines (permissions, size, date and time, name) alike. Lines that
// name no variable (the directory's path, totals) are passed over.
QList<CalculatorVariable> variablesListed(const QByteArray& listing);

#pragma once

#include <QString>
#include <QStringList>

class SettingsStore;

// How Tabulet reaches the calculator, kept in the settings section "Calculator Link". The
// defaults are the calculator's own, so that a user who only picks the port is set up right.
struct LinkSettings
{
    enum class Protocol { Kermit, XModem };

    static inline const QString Section = QStringLiteral("Calculator Link");
    static inline const QList<int> Speeds = {2400, 4800, 9600};
    static inline const QStringList Parities = {QStringLiteral("none"), QStringLiteral("odd"),
                                                QStringLiteral("even"), QStringLiteral("mark"),
                                                QStringLiteral("space")};

    QString port;
    int speed = 9600;
    QString parity = QStringLiteral("none");
    int blockCheck = 3;
    Protocol protocol = Protocol::Kermit;

    // A stored value that is not one of the choices reads as the default.
    static LinkSettings read(const SettingsStore& settings);
    void write(SettingsStore& settings) const;
};

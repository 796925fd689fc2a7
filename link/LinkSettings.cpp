#include "link/LinkSettings.h"

#include "platform/SettingsStore.h"

namespace {

const QString PortKey = QStringLiteral("Port");
const QString SpeedKey = QStringLiteral("Speed");
const QString ParityKey = QStringLiteral("Parity");
const QString BlockCheckKey = QStringLiteral("BlockCheck");
const QString ProtocolKey = QStringLiteral("Protocol");
const QString XModemName = QStringLiteral("XModem");

} // namespace

LinkSettings LinkSettings::read(const SettingsStore& settings)
{
    LinkSettings link;
    const auto value = [&settings](const QString& key) { return settings.readIn(Section, key); };
    link.port = value(PortKey);
    if (const int speed = value(SpeedKey).toInt(); Speeds.contains(speed))
        link.speed = speed;
    if (Parities.contains(value(ParityKey)))
        link.parity = value(ParityKey);
    if (const int check = value(BlockCheckKey).toInt(); check >= 1 && check <= 3)
        link.blockCheck = check;
    if (value(ProtocolKey) == XModemName)
        link.protocol = Protocol::XModem;
    return link;
}

void LinkSettings::write(SettingsStore& settings) const
{
    settings.writeIn(Section, PortKey, port);
    settings.writeIn(Section, SpeedKey, QString::number(speed));
    settings.writeIn(Section, ParityKey, parity);
    settings.writeIn(Section, BlockCheckKey, QString::number(blockCheck));
    settings.writeIn(Section, ProtocolKey,
                     protocol == Protocol::XModem ? XModemName : QStringLiteral("Kermit"));
}

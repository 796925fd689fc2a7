#include "platform/SerialLines.h"

#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>

namespace {

QSerialPort::Parity parityNamed(const QString& name)
{
    static const QHash<QString, QSerialPort::Parity> parities = {
        {QStringLiteral("odd"), QSerialPort::OddParity},
        {QStringLiteral("even"), QSerialPort::EvenParity},
        {QStringLiteral("mark"), QSerialPort::MarkParity},
        {QStringLiteral("space"), QSerialPort::SpaceParity}};
    return parities.value(name, QSerialPort::NoParity);
}

} // namespace

// A path typed by hand may name a folder or a file; the system's own reason for not opening it
// as a port says nothing a user would understand.
QString QtSerialLines::notAPort(const QString& port)
{
    const QFileInfo info(port);
    if (!info.isDir() && !info.isFile())
        return QString();
    const QString advice = tr("Choose the port of the calculator's cable in Calculator > Link "
                              "Settings.");
    return (info.isDir() ? tr("\"%1\" is a folder, not a serial port.")
                         : tr("\"%1\" is a file, not a serial port."))
               .arg(port) +
           u' ' + advice;
}

QStringList QtSerialLines::ports() const
{
    QStringList paths;
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts())
        paths << port.systemLocation();
    paths.sort();
    return paths;
}

std::unique_ptr<QIODevice> QtSerialLines::open(const QString& port, int speed,
                                               const QString& parity, QString& failure)
{
    if (port.trimmed().isEmpty()) {
        failure = tr("No serial port is chosen. Choose the port of the calculator's cable in "
                     "Calculator > Link Settings.");
        return nullptr;
    }
    auto line = std::make_unique<QSerialPort>(port);
    line->setBaudRate(speed);
    line->setDataBits(QSerialPort::Data8);
    line->setParity(parityNamed(parity));
    line->setStopBits(QSerialPort::OneStop);
    line->setFlowControl(QSerialPort::NoFlowControl);
    if (line->open(QIODevice::ReadWrite))
        return line;
    switch (line->error()) {
    case QSerialPort::DeviceNotFoundError:
        failure = tr("There is no serial port \"%1\". Check that the cable is plugged in, and "
                     "choose its port in Calculator > Link Settings.")
                      .arg(port);
        break;
    case QSerialPort::PermissionError:
        failure = tr("The serial port \"%1\" is in use by another program, or you are not "
                     "permitted to use it.\n\nOn Linux, using serial ports takes membership of "
                     "the \"dialout\" group; ask the administrator to add you to it, then log "
                     "in again.")
                      .arg(port);
        break;
    default:
        failure = notAPort(port);
        if (failure.isEmpty())
            failure = tr("The serial port \"%1\" could not be opened.\n\n%2")
                          .arg(port, line->errorString());
        break;
    }
    return nullptr;
}

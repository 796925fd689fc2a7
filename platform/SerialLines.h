#pragma once

#include <QCoreApplication>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <memory>

// The serial ports the calculator's cable may be on.
class SerialLines
{
public:
    virtual ~SerialLines() = default;

    // The serial ports the system knows, by their device paths.
    virtual QStringList ports() const = 0;
    // Opens `port` (a name from ports(), or any device path) at `speed` with `parity` ("none",
    // "odd", "even", "mark" or "space"), 8 data bits, 1 stop bit and no flow control; nothing
    // and the reason, ready to be shown, when it cannot.
    virtual std::unique_ptr<QIODevice> open(const QString& port, int speed, const QString& parity,
                                            QString& failure) = 0;
};

// The system's serial ports through QSerialPort.
class QtSerialLines final : public SerialLines
{
    Q_DECLARE_TR_FUNCTIONS(QtSerialLines)

public:
    QStringList ports() const override;
    std::unique_ptr<QIODevice> open(const QString& port, int speed, const QString& parity,
                                    QString& failure) override;

private:
    static QString notAPort(const QString& port);
};

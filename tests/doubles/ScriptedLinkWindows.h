#pragma once

#include "link/LinkWindows.h"
#include "link/Transfer.h"

#include <QEventLoop>
#include <QQueue>
#include <QStringList>
#include <functional>

// The calculator link's windows from a script: a transfer is watched until it finishes, and
// `whileWatching` is told of its every step (it may Cancel, as the user would); the next
// variable chosen is scripted, an empty name standing for Cancel.
class ScriptedLinkWindows final : public LinkWindows
{
public:
    void watch(QWidget*, const QString& title, Transfer& transfer) override
    {
        watched << title;
        QEventLoop loop;
        QObject::connect(&transfer, &Transfer::finished, &loop, &QEventLoop::quit);
        QObject::connect(&transfer, &Transfer::progressed, &loop, [&transfer, this] {
            if (whileWatching)
                whileWatching(transfer);
        });
        if (transfer.end() == TransferEnd::Running)
            loop.exec();
    }
    std::optional<QString> chooseVariable(QWidget*,
                                          const QList<CalculatorVariable>& variables) override
    {
        listed = variables;
        const QString name = choices.isEmpty() ? QString() : choices.dequeue();
        return name.isEmpty() ? std::nullopt : std::optional(name);
    }
    void editSettings(QWidget*) override { watched << "settings"; }

    QStringList watched;
    QList<CalculatorVariable> listed;
    QQueue<QString> choices;
    std::function<void(Transfer&)> whileWatching;
};

#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <functional>

class QWidget;

// The data field's own keys for commands the window carries out (the field's own Copy would
// turn no-break spaces into plain ones, its Cut and Paste would not be steps of their own, and
// its undo knows nothing of the document's history), and its focus coming and going.
class FieldKeys final : public QObject
{
    Q_OBJECT

public:
    using Run = std::function<void()>;

    explicit FieldKeys(QWidget& field);

    // The key runs `run` instead of doing what the field would do with it.
    void take(QKeySequence::StandardKey key, Run run);
    // Opening a menu takes the focus away only while the menu is open; that is neither.
    void onFocus(Run gained, Run lost);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool runKey(const QEvent* event) const;

    QList<std::pair<QKeySequence::StandardKey, Run>> m_keys;
    Run m_gained;
    Run m_lost;
};

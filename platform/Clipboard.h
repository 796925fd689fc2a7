#pragma once

#include <QString>

// The system clipboard, in its plain-text form only.
class Clipboard
{
public:
    virtual ~Clipboard() = default;

    virtual void clear() = 0;
    virtual void setText(const QString& text) = 0;
    // The clipboard's text; the empty text when it holds no text (or only other data).
    virtual QString text() const = 0;
};

class QtClipboard final : public Clipboard
{
public:
    void clear() override;
    void setText(const QString& text) override;
    QString text() const override;
};

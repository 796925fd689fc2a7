#pragma once

#include "platform/Clipboard.h"

// A private clipboard, so tests neither see nor change the desktop's.
class MemoryClipboard final : public Clipboard
{
public:
    void clear() override { m_text.clear(); }
    void setText(const QString& text) override { m_text = text; }
    QString text() const override { return m_text; }

private:
    QString m_text;
};

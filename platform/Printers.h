#pragma once

// The default printer. (Operations are added by the printing code.)
class Printers
{
public:
    virtual ~Printers() = default;
};

class QtPrinters final : public Printers
{};

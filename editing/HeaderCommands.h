#pragma once

#include "platform/Services.h"

#include <QCoreApplication>
#include <QString>

class Document;
class QWidget;

// The Headers menu's commands: add, rename and remove. They work on the entry at a list
// position the window gives them; the window keeps its selection in step.
class HeaderCommands
{
    Q_DECLARE_TR_FUNCTIONS(HeaderCommands)

public:
    HeaderCommands(Document& document, const Services& services);

    void setOwner(QWidget* owner) { m_owner = owner; }

    // Asks for a header and appends it with an empty text.
    void HeaderAdd();
    // Asks for a new name for the entry at `position`; the entry stays where it is, with its
    // record.
    void HeaderEditSub(int position);
    // Asks, then removes the entry at `position` and its record's text.
    void removeHeader(int position);
    // Move Up (-1) and Move Down (+1): the entry's new position, where it stays at an end.
    int moveHeader(int position, int by);
    // An entry dragged from `from` and let go before the entry at `before` (the entry count:
    // below the last one): the entry's new position.
    int dropHeader(int from, int before);

private:
    int moveTo(int from, int to);

    Document& m_document;
    Services m_services;
    QWidget* m_owner = nullptr;
};

#include "Dialogs.h"

#include "QtDialogs.h"

namespace {
std::unique_ptr<Dialogs>& current()
{
    static std::unique_ptr<Dialogs> dialogs = std::make_unique<QtDialogs>();
    return dialogs;
}
} // namespace

Dialogs& Dialogs::instance()
{
    return *current();
}

std::unique_ptr<Dialogs> Dialogs::install(std::unique_ptr<Dialogs> dialogs)
{
    std::swap(current(), dialogs);
    return dialogs;
}

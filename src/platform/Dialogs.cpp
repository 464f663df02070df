#include "Dialogs.h"

#include "QtDialogs.h"
#include "Registry.h"

namespace {
std::unique_ptr<Dialogs>& current()
{
    static std::unique_ptr<Dialogs> dialogs = std::make_unique<QtDialogs>();
    return dialogs;
}
} // namespace

// Every dialog is reached through here: the settings store's open writes are committed first.
Dialogs& Dialogs::instance()
{
    Registry::beforeDialog();
    return *current();
}

std::unique_ptr<Dialogs> Dialogs::install(std::unique_ptr<Dialogs> dialogs)
{
    std::swap(current(), dialogs);
    return dialogs;
}

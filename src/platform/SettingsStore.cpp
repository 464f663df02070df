#include "SettingsStore.h"

#include "ColourValue.h"

QColor SettingsStore::defaultColour(Setting key)
{
    return ColourValue::toColour(defaultInteger(key));
}

SettingsStore::SettingsStore() : m_key(Registry::Root::CurrentUser, QString::fromLatin1(KeyPath), true) {}

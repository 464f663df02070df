#include "FuzzSupport.h"
#include "platform/AppError.h"
#include "platform/SettingsStore.h"

// Any file where the settings store lives: every setting is read by the reading rule without a
// crash; a file that is no usable store is moved aside whole, the user is told, and the store
// then works.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("XDG_CONFIG_HOME", scratchFolder().toUtf8());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    QDir folder(scratchFolder() + QStringLiteral("/Tavlix"));
    folder.removeRecursively();
    folder.mkpath(QStringLiteral("."));
    writeFile(folder.filePath(QStringLiteral("registry.sqlite3")), bytes);
    Registry::takeNotices();

    try {
        SettingsStore store;
        for (const SettingsStore::Entry& entry : SettingsStore::table()) {
            try {
                if (entry.kind == SettingsStore::Kind::String)
                    store.stringOrDefault(entry.key);
                else if (entry.kind == SettingsStore::Kind::Boolean)
                    store.boolOrDefault(entry.key);
                else
                    store.integerOrDefault(entry.key);
            } catch (const AppError&) {
                // A value of the wrong kind is the user's error to see, not a fault.
            }
        }
        store.valueNames();
    } catch (const AppError&) {
    }

    const QStringList aside = folder.entryList({QStringLiteral("registry.sqlite3.skadad-*")}, QDir::Files);
    const QStringList notices = Registry::takeNotices();
    FUZZ_CHECK(aside.size() == notices.size() && aside.size() <= 1);
    if (!aside.isEmpty()) {
        QFile kept(folder.filePath(aside.first()));
        FUZZ_CHECK(kept.open(QIODevice::ReadOnly) && kept.readAll() == bytes);
        FUZZ_CHECK(notices.first().contains(kept.fileName()));
        SettingsStore store;
        store.writeInteger(Setting::Mellan, 30);
    }
    return 0;
}

#include "FuzzSupport.h"
#include "platform/AppError.h"
#include "platform/SettingsStore.h"

#include <dirent.h>
#include <sqlite3.h>
#include <vector>

// Any file where the settings store lives: every setting is read by the reading rule without a
// crash; a file that is no usable store is moved aside whole, the user is told, and the store
// then works.
namespace {

const QString& storeFolder()
{
    static const QString folder = scratchFolder() + QStringLiteral("/Tavlix");
    return folder;
}

// The files in the store's folder; plain readdir, as QDir's name patterns cost a good part of each run.
QStringList filesInStoreFolder()
{
    QStringList names;
    if (DIR* dir = opendir(QFile::encodeName(storeFolder()).constData())) {
        while (const dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.')
                names << QFile::decodeName(entry->d_name);
        closedir(dir);
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("XDG_CONFIG_HOME", scratchFolder().toUtf8());
    QDir().mkpath(storeFolder());
    // Every input opens the store anew, and SQLite's page cache and lookaside would be fresh heap each time: under
    // AddressSanitizer's quarantine that was most of the run. Pages come from one buffer kept for the process, and
    // without lookaside every small allocation of SQLite's is a checked one of its own.
    int header = 0;
    sqlite3_config(SQLITE_CONFIG_PCACHE_HDRSZ, &header);
    constexpr int MaxPage = 65536;
    constexpr int Slots = 32;
    static std::vector<char> pages(size_t(Slots) * size_t(MaxPage + header));
    sqlite3_config(SQLITE_CONFIG_PAGECACHE, pages.data(), MaxPage + header, Slots);
    sqlite3_config(SQLITE_CONFIG_LOOKASIDE, 0, 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    QDir folder(storeFolder());
    for (const QString& name : filesInStoreFolder())
        folder.remove(name);
    writeFile(folder.filePath(QStringLiteral("registry.sqlite3")), bytes);
    Registry::takeNotices();

    bool written = false;
    try {
        {
            SettingsStore store;
            // A value the file does not hold reads as its default without looking further, so only the held ones
            // are read: one query a value instead of two for each of the nineteen.
            const QStringList held = store.valueNames();
            for (const SettingsStore::Entry& entry : SettingsStore::table()) {
                if (!held.contains(QLatin1String(entry.name), Qt::CaseInsensitive))
                    continue;
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
            // The same use writes too: into the given file when it was kept, else into the fresh one.
            store.writeInteger(Setting::Mellan, 30);
        } // the close commits
        written = true;
    } catch (const AppError&) {
    }

    QStringList aside = filesInStoreFolder();
    aside.removeIf([](const QString& name) { return !name.startsWith(QStringLiteral("registry.sqlite3.skadad-")); });
    const QStringList notices = Registry::takeNotices();
    FUZZ_CHECK(aside.size() == notices.size() && aside.size() <= 1);
    if (!aside.isEmpty()) {
        QFile kept(folder.filePath(aside.first()));
        FUZZ_CHECK(kept.open(QIODevice::ReadOnly) && kept.readAll() == bytes);
        FUZZ_CHECK(notices.first().contains(kept.fileName()));
        FUZZ_CHECK(written, "the store put in its place does not work\n");
    }
    return 0;
}

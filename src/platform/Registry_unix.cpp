#include "PrivateFile.h"
#include "Registry.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// The registry as one SQLite file per user. Each use opens the file, works in one transaction and
// closes it, so two running instances share the file the way they share the registry.
namespace {

constexpr auto BusyWait = std::chrono::seconds(15);
// A store of the program's values is a few kilobytes; a file far beyond that is not the program's.
constexpr qint64 MaxStoreBytes = 64LL * 1024 * 1024;

const char* const Schema = R"sql(
CREATE TABLE IF NOT EXISTS keys(
  root TEXT NOT NULL,
  path TEXT NOT NULL COLLATE NOCASE,
  PRIMARY KEY(root, path));
CREATE TABLE IF NOT EXISTS reg_values(
  root TEXT NOT NULL,
  path TEXT NOT NULL COLLATE NOCASE,
  name TEXT NOT NULL COLLATE NOCASE,
  type INTEGER NOT NULL,
  data BLOB NOT NULL,
  PRIMARY KEY(root, path, name));
)sql";

QString storeFolder()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    // XDG base directories must be absolute; a relative one is ignored.
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/Tavlix");
}

QString rootText(Registry::Root root)
{
    return root == Registry::Root::LocalMachine ? QStringLiteral("HKEY_LOCAL_MACHINE")
                                                : QStringLiteral("HKEY_CURRENT_USER");
}

// Key paths are relative to the root, as "Software\Tavlix\Settings"; "\Control Panel\Desktop" names the same key
// as "Control Panel\Desktop".
QString normalisedPath(const QString& path)
{
    qsizetype begin = 0;
    qsizetype end = path.size();
    while (begin < end && path.at(begin) == u'\\')
        ++begin;
    while (end > begin && path.at(end - 1) == u'\\')
        --end;
    return path.mid(begin, end - begin);
}

// Short sleeps instead of sqlite3_busy_timeout's growing ones, so an instance that waits gets its turn
// even while the other one keeps using the store.
int busyHandler(void* start, int attempt)
{
    auto& since = *static_cast<std::chrono::steady_clock::time_point*>(start);
    if (attempt == 0)
        since = std::chrono::steady_clock::now();
    if (std::chrono::steady_clock::now() - since > BusyWait)
        return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(attempt < 10 ? 1 : 3));
    return 1;
}

class Statement
{
public:
    Statement(sqlite3* db, const char* sql) { m_rc = sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr); }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return m_rc == SQLITE_OK || m_rc == SQLITE_ROW || m_rc == SQLITE_DONE; }
    int rc() const { return m_rc; }

    Statement& bind(const QString& text)
    {
        const QByteArray utf8 = text.toUtf8();
        if (ok())
            m_rc = sqlite3_bind_text(m_stmt, ++m_column, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bind(int number)
    {
        if (ok())
            m_rc = sqlite3_bind_int(m_stmt, ++m_column, number);
        return *this;
    }
    Statement& bindBlob(const QByteArray& data)
    {
        // A null pointer would bind SQL NULL; an empty value is a zero-length blob.
        if (ok())
            m_rc = data.isEmpty()
                       ? sqlite3_bind_zeroblob(m_stmt, ++m_column, 0)
                       : sqlite3_bind_blob(m_stmt, ++m_column, data.constData(), int(data.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // True while a row is there; check ok() afterwards.
    bool step()
    {
        if (!ok())
            return false;
        m_rc = sqlite3_step(m_stmt);
        return m_rc == SQLITE_ROW;
    }
    int columnInt(int column) const { return sqlite3_column_int(m_stmt, column); }
    QString columnText(int column) const
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
        return QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column));
    }
    QByteArray columnBlob(int column) const
    {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(m_stmt, column));
        const int size = sqlite3_column_bytes(m_stmt, column);
        return size > 0 ? QByteArray(data, size) : QByteArray();
    }

private:
    sqlite3_stmt* m_stmt = nullptr;
    int m_rc = SQLITE_OK;
    int m_column = 0;
};

// One open store file and its transaction. Uses that overlap on one thread (a second key opened
// while the first is still open) share it, as they would share the registry: a second connection
// would wait for the first one's lock and never get it.
class Connection
{
public:
    Connection()
    {
        const QString folder = storeFolder();
        // The store names every picture the user has: the folder and the file are the user's alone.
        if (!PrivateFile::makeFolder(folder) && !QFileInfo(folder).isDir())
            throw AppError(QStringLiteral("Kan inte skapa mappen \"%1\" för inställningarna.").arg(folder));
        m_file = folder + QStringLiteral("/registry.sqlite3");
        checkFile();

        try {
            if (!open()) {
                // A file that is not a store, or a damaged one, is kept for the user and replaced.
                release();
                moveAside();
                checkFile();
                if (!open())
                    throw storeError();
            }
        } catch (const AppError&) {
            release();
            throw;
        }
    }

    ~Connection() { release(); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* db() const { return m_db; }
    // True while this connection holds the write transaction of its uses.
    bool writing() const { return m_db && !sqlite3_get_autocommit(m_db); }
    // Reads run without a transaction, so no lock is held between them; the first write takes the
    // write lock (at once, so two instances never both hold a read that one must upgrade).
    bool beginWrite()
    {
        if (writing())
            return true;
        if (!m_db || exec("BEGIN IMMEDIATE") != SQLITE_OK)
            return false;
        return writing();
    }
    // Commits what has been written so far, so that no lock is held while the user looks at a dialog
    // (another instance would wait for it and fail); a failure is reported at the uses' close.
    void commitNow()
    {
        if (!m_lastChange || !writing() || m_failedChange)
            return;
        if (exec("COMMIT") != SQLITE_OK) {
            m_failedChange = m_lastChange;
            exec("ROLLBACK");
        }
        m_lastChange.reset();
    }
    const QString& file() const { return m_file; }

    // Remembers the change for the commit; an empty name stands for a created key.
    void changed(const QString& name) { m_lastChange = name; }

    // Commits what the uses changed; a commit that fails drops all of it and says so.
    void finish()
    {
        if (m_lastChange && writing() && exec("COMMIT") != SQLITE_OK)
            m_failedChange = m_lastChange;
        if (m_failedChange) {
            const QString name = *m_failedChange;
            const AppError error = name.isEmpty() ? AppError(storeError()) : Registry::setDataFailed(name);
            release();
            throw error;
        }
        release();
    }

    QString errorMessage() const
    {
        return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
    }

    AppError storeError(const QString& reason = {}) const
    {
        return AppError(QStringLiteral("Kan inte använda inställningarna i \"%1\": %2")
                            .arg(QDir::toNativeSeparators(m_file), reason.isEmpty() ? errorMessage() : reason));
    }

private:
    int exec(const char* sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }

    static bool damaged(int rc) { return (rc & 0xff) == SQLITE_NOTADB || (rc & 0xff) == SQLITE_CORRUPT; }

    // Only a regular file of a store's size is opened; a new one is created 0600, an existing one of
    // the user's made so.
    void checkFile()
    {
        const QByteArray name = QFile::encodeName(m_file);
        struct stat info = {};
        if (::stat(name.constData(), &info) != 0) {
            if (errno != ENOENT)
                throw storeError(QString::fromLocal8Bit(std::strerror(errno)));
            const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (fd >= 0)
                ::close(fd);
            return;
        }
        if (S_ISDIR(info.st_mode))
            throw storeError(QStringLiteral("det är en mapp"));
        if (!S_ISREG(info.st_mode))
            throw storeError(QStringLiteral("det är ingen vanlig fil"));
        if (info.st_size > MaxStoreBytes)
            throw storeError(QStringLiteral("filen är större än %1 MB och kan inte vara programmets inställningar")
                                 .arg(MaxStoreBytes / (1024 * 1024)));
        if (info.st_uid == ::geteuid() && (info.st_mode & 077))
            ::chmod(name.constData(), info.st_mode & 0700);
    }

    // False when the file is no usable store; other failures throw. A write-protected file is
    // still read; its writes fail.
    bool open()
    {
        if (sqlite3_open_v2(QFile::encodeName(m_file).constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK)
            throw storeError();
        sqlite3_extended_result_codes(m_db, 1);
        sqlite3_busy_handler(m_db, busyHandler, &m_busySince);
        return ensureSchema();
    }

    bool ensureSchema()
    {
        int count = 0;
        {
            // Finished before the write below (see openKey).
            Statement tables(
                m_db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN ('keys', 'reg_values')");
            if (!tables.step()) {
                if (damaged(tables.rc()))
                    return false;
                throw storeError();
            }
            count = tables.columnInt(0);
        }
        if (count == 2)
            return intact();
        const int rc = beginWrite() ? exec(Schema) : SQLITE_READONLY;
        if (damaged(rc))
            return false;
        if (rc != SQLITE_OK)
            throw storeError();
        changed(QString());
        return intact();
    }

    // The tables hold the columns the uses need and every page reads back; the file is small, so
    // the check costs little.
    bool intact()
    {
        for (const char* probe :
             {"SELECT root, path FROM keys LIMIT 0", "SELECT root, path, name, type, data FROM reg_values LIMIT 0"}) {
            Statement statement(m_db, probe);
            if (!statement.ok())
                return false;
        }
        Statement check(m_db, "PRAGMA quick_check");
        if (!check.step()) {
            if (damaged(check.rc()))
                return false;
            throw storeError();
        }
        return check.columnText(0) == u"ok";
    }

    // Renames the file (and a journal that belongs to it) to a name not yet taken; never deletes.
    void moveAside()
    {
        const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        QString aside = m_file + QStringLiteral(".skadad-") + stamp;
        for (int n = 2; QFileInfo::exists(aside) || QFileInfo::exists(aside + QStringLiteral("-journal")); ++n)
            aside = m_file + QStringLiteral(".skadad-%1-%2").arg(stamp).arg(n);
        if (!QFile::rename(m_file, aside))
            throw storeError(QStringLiteral("filen är skadad och kan inte flyttas undan"));
        const QString journal = m_file + QStringLiteral("-journal");
        if (QFileInfo::exists(journal))
            QFile::rename(journal, aside + QStringLiteral("-journal"));
        Registry::addNotice(QStringLiteral("Inställningsfilen \"%1\" var skadad. Den har flyttats till \"%2\", "
                                           "och programmet börjar om med standardinställningarna.")
                                .arg(QDir::toNativeSeparators(m_file), QDir::toNativeSeparators(aside)));
    }

    // Ends without keeping anything not yet committed.
    void release()
    {
        if (m_db) {
            if (!sqlite3_get_autocommit(m_db))
                exec("ROLLBACK");
            sqlite3_close_v2(m_db);
        }
        m_db = nullptr;
        m_lastChange.reset();
        m_failedChange.reset();
    }

    sqlite3* m_db = nullptr;
    QString m_file;
    std::optional<QString> m_lastChange;
    std::optional<QString> m_failedChange; // a commit before a dialog failed: the close reports it
    std::chrono::steady_clock::time_point m_busySince;
};

thread_local std::weak_ptr<Connection> sharedConnection;

class SqliteRegistry final : public Registry
{
public:
    ~SqliteRegistry() override
    {
        // Without a commit: the destructor is reached without closeKey only while an error unwinds.
        m_connection.reset();
    }

    bool openKey(Root root, const QString& path, bool create) override
    {
        closeKey();
        std::shared_ptr<Connection> connection = sharedConnection.lock();
        if (!connection) {
            connection = std::make_shared<Connection>();
            sharedConnection = connection;
        }
        m_root = rootText(root);
        m_path = normalisedPath(path);
        sqlite3* db = connection->db();
        bool exists = false;
        {
            // Finished before any write begins: a statement still open holds a read lock, and a
            // read lock that must become a write lock is refused at once while another instance writes.
            Statement find(db, "SELECT 1 FROM keys WHERE root = ?1 AND path = ?2");
            exists = find.bind(m_root).bind(m_path).step();
            if (!find.ok())
                throw connection->storeError();
        }
        if (!exists) {
            if (!create)
                return false;
            // Creating a key creates the keys above it, as the registry does.
            const QStringList parts = m_path.split(u'\\', Qt::SkipEmptyParts);
            const bool canWrite = connection->beginWrite();
            for (qsizetype n = parts.isEmpty() ? 0 : 1; n <= parts.size(); ++n) {
                Statement insert(db, "INSERT OR IGNORE INTO keys(root, path) VALUES(?1, ?2)");
                if (canWrite)
                    insert.bind(m_root).bind(parts.first(n).join(u'\\')).step();
                if (!canWrite || !insert.ok() || !connection->writing())
                    throw AppError(
                        QStringLiteral("Kan inte skapa nyckeln \"%1\" i inställningarna \"%2\": %3")
                            .arg(m_path, QDir::toNativeSeparators(connection->file()), connection->errorMessage()));
            }
            connection->changed(QString());
        }
        m_connection = std::move(connection);
        return true;
    }

    bool valueExists(const QString& name) override
    {
        if (!m_connection)
            return false;
        Statement query(m_connection->db(), "SELECT 1 FROM reg_values WHERE root = ?1 AND path = ?2 AND name = ?3");
        const bool found = query.bind(m_root).bind(m_path).bind(name).step();
        if (!query.ok())
            throw getDataFailed(name);
        return found;
    }

    std::optional<Value> readValue(const QString& name) override
    {
        if (!m_connection)
            return std::nullopt;
        Statement query(m_connection->db(),
                        "SELECT type, data FROM reg_values WHERE root = ?1 AND path = ?2 AND name = ?3");
        if (!query.bind(m_root).bind(m_path).bind(name).step()) {
            if (!query.ok())
                throw getDataFailed(name);
            return std::nullopt;
        }
        return Value{query.columnInt(0), query.columnBlob(1)};
    }

    void writeValue(const QString& name, const Value& value) override
    {
        if (!m_connection || !m_connection->beginWrite())
            throw setDataFailed(name);
        // An update in place keeps the name's first spelling and its place in the listing, as the registry does.
        Statement upsert(m_connection->db(),
                         "INSERT INTO reg_values(root, path, name, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
                         "ON CONFLICT(root, path, name) DO UPDATE SET type = excluded.type, data = excluded.data");
        upsert.bind(m_root).bind(m_path).bind(name).bind(value.type).bindBlob(value.data).step();
        // SQLite may end the transaction itself after some errors; writable() then stays false.
        if (!upsert.ok() || !m_connection->writing())
            throw setDataFailed(name);
        m_connection->changed(name);
    }

    QStringList valueNames() override
    {
        QStringList names;
        if (!m_connection)
            return names;
        Statement query(m_connection->db(), "SELECT name FROM reg_values WHERE root = ?1 AND path = ?2 ORDER BY rowid");
        query.bind(m_root).bind(m_path);
        while (query.step())
            names.append(query.columnText(0));
        if (!query.ok())
            throw m_connection->storeError();
        return names;
    }

    bool deleteValue(const QString& name) override
    {
        if (!m_connection || !m_connection->beginWrite())
            return false;
        Statement remove(m_connection->db(), "DELETE FROM reg_values WHERE root = ?1 AND path = ?2 AND name = ?3");
        remove.bind(m_root).bind(m_path).bind(name).step();
        if (!remove.ok() || !m_connection->writing() || sqlite3_changes(m_connection->db()) == 0)
            return false;
        m_connection->changed(name);
        return true;
    }

    void closeKey() override
    {
        std::shared_ptr<Connection> connection = std::move(m_connection);
        // The last use of the shared file commits.
        if (connection && connection.use_count() == 1)
            connection->finish();
    }

private:
    std::shared_ptr<Connection> m_connection;
    QString m_root;
    QString m_path;
};

} // namespace

std::unique_ptr<Registry> Registry::create()
{
    static const bool hooked = [] {
        setBeforeDialog([] {
            if (const std::shared_ptr<Connection> connection = sharedConnection.lock())
                connection->commitNow();
        });
        return true;
    }();
    (void)hooked;
    return std::make_unique<SqliteRegistry>();
}

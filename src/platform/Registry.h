#pragma once

#include "AppError.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// The registry seam: one short use of one key. Windows reaches advapi32 (Registry_win.cpp);
// elsewhere a SQLite file laid out like the registry (Registry_unix.cpp).
// Errors are AppError with the registry's texts; a failed write changes nothing.
class Registry
{
public:
    enum class Root
    {
        CurrentUser,
        LocalMachine
    };
    enum Type : int
    {
        Sz = 1,
        ExpandSz = 2,
        Binary = 3,
        Dword = 4
    };

    struct Value
    {
        int type = 0;
        QByteArray data; // the bytes Windows would hold (REG_SZ text + NUL, REG_DWORD 4 bytes LE)
    };

    virtual ~Registry() = default;

    // Opens root\path, creating it when create is true. Returns false when missing and not created.
    // Starts the one transaction of this use.
    virtual bool openKey(Root root, const QString& path, bool create) = 0;
    virtual bool valueExists(const QString& name) = 0;
    virtual std::optional<Value> readValue(const QString& name) = 0;
    virtual void writeValue(const QString& name, const Value& value) = 0; // "Failed to set data for '%s'"
    virtual QStringList valueNames() = 0;
    virtual bool deleteValue(const QString& name) = 0;
    // Ends this use: commits and closes the key (also done by the destructor).
    virtual void closeKey() = 0;

    // The backend of this platform.
    static std::unique_ptr<Registry> create();

    // Called before every dialog: writes of uses still open are committed, so that another
    // instance never waits for this one while the user looks at a dialog. A backend that holds
    // locks installs its hook.
    static void beforeDialog();
    static void setBeforeDialog(void (*hook)());

    // Messages for the user about the store itself (a damaged file put aside), each given once.
    static QStringList takeNotices();
    static void addNotice(const QString& text);

    // The registry's error texts, with the value's name.
    static AppError invalidDataType(const QString& name); // "Invalid data type for '%s'"
    static AppError getDataFailed(const QString& name);   // "Failed to get data for '%s'"
    static AppError setDataFailed(const QString& name);   // "Failed to set data for '%s'"
};

// Typed access to one open key with the encodings of the settings store:
// integers and booleans as REG_DWORD (any non-zero reads true), strings as REG_SZ
// (REG_EXPAND_SZ accepted, text up to the first NUL, in the local 8-bit encoding).
// Constructing opens the key; destruction closes it. Errors:
// "Invalid data type for '%s'", "Failed to get data for '%s'", "Failed to set data for '%s'".
// The writes of one use are kept together: when they cannot be kept at the close, the destructor
// throws "Failed to set data for '%s'" (unless an exception is already on its way), so a lost
// write is never reported as done. Keep the object on the stack.
class RegistryKey
{
public:
    RegistryKey(Registry::Root root, const QString& path, bool create = true);
    ~RegistryKey() noexcept(false);
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool isOpen() const { return m_open; }
    bool valueExists(const QString& name);
    qint32 readInteger(const QString& name);
    bool readBool(const QString& name);
    QString readString(const QString& name);
    void writeInteger(const QString& name, qint32 value);
    void writeBool(const QString& name, bool value);
    void writeString(const QString& name, const QString& value);
    QStringList valueNames();
    bool deleteValue(const QString& name);
    // Ends the use now instead of at destruction; throws like a failed write.
    void close();

private:
    std::unique_ptr<Registry> m_registry;
    bool m_open = false;
    int m_uncaughtAtStart = 0;
};

#include "Registry.h"

#include <windows.h>

// The registry itself, through advapi32. Names and data are in the ANSI code page, as the program
// has always stored them.
namespace {

HKEY rootHandle(Registry::Root root)
{
    return root == Registry::Root::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// "\Control Panel\Desktop" and "Control Panel\Desktop" name the same key below the root.
QByteArray keyPath(const QString& path)
{
    qsizetype begin = 0;
    while (begin < path.size() && path.at(begin) == u'\\')
        ++begin;
    return path.mid(begin).toLocal8Bit();
}

class WinRegistry final : public Registry
{
public:
    ~WinRegistry() override { closeKey(); }

    bool openKey(Root root, const QString& path, bool create) override
    {
        closeKey();
        const QByteArray subKey = keyPath(path);
        HKEY key = nullptr;
        LONG rc = RegOpenKeyExA(rootHandle(root), subKey.constData(), 0, KEY_ALL_ACCESS, &key);
        if (rc != ERROR_SUCCESS && create) {
            DWORD disposition = 0;
            rc = RegCreateKeyExA(rootHandle(root), subKey.constData(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, nullptr, &key, &disposition);
        }
        if (rc != ERROR_SUCCESS)
            return false;
        m_key = key;
        return true;
    }

    bool valueExists(const QString& name) override
    {
        if (!m_key)
            return false;
        const QByteArray ansi = name.toLocal8Bit();
        return RegQueryValueExA(m_key, ansi.constData(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }

    std::optional<Value> readValue(const QString& name) override
    {
        if (!m_key)
            return std::nullopt;
        const QByteArray ansi = name.toLocal8Bit();
        // The value may change between asking its size and reading it: ask again until it fits.
        for (int attempt = 0; attempt < 8; ++attempt) {
            DWORD type = 0;
            DWORD size = 0;
            LONG rc = RegQueryValueExA(m_key, ansi.constData(), nullptr, &type, nullptr, &size);
            if (rc == ERROR_FILE_NOT_FOUND)
                return std::nullopt;
            if (rc != ERROR_SUCCESS)
                throw getDataFailed(name);
            QByteArray data(qsizetype(size), '\0');
            rc = RegQueryValueExA(m_key, ansi.constData(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
            if (rc == ERROR_MORE_DATA)
                continue;
            if (rc == ERROR_FILE_NOT_FOUND)
                return std::nullopt;
            if (rc != ERROR_SUCCESS)
                throw getDataFailed(name);
            data.truncate(qsizetype(size));
            return Value{int(type), data};
        }
        throw getDataFailed(name);
    }

    void writeValue(const QString& name, const Value& value) override
    {
        const QByteArray ansi = name.toLocal8Bit();
        if (!m_key || RegSetValueExA(m_key, ansi.constData(), 0, DWORD(value.type),
                                     reinterpret_cast<const BYTE*>(value.data.constData()),
                                     DWORD(value.data.size())) != ERROR_SUCCESS)
            throw setDataFailed(name);
    }

    QStringList valueNames() override
    {
        QStringList names;
        if (!m_key)
            return names;
        DWORD count = 0;
        DWORD longest = 0;
        if (RegQueryInfoKeyA(m_key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest, nullptr,
                             nullptr, nullptr) != ERROR_SUCCESS)
            return names;
        QByteArray buffer(qsizetype(longest) + 1, '\0');
        for (DWORD index = 0; index < count; ++index) {
            DWORD length = DWORD(buffer.size());
            const LONG rc = RegEnumValueA(m_key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
            if (rc == ERROR_NO_MORE_ITEMS)
                break;
            if (rc == ERROR_SUCCESS)
                names.append(QString::fromLocal8Bit(buffer.constData(), qsizetype(length)));
        }
        return names;
    }

    bool deleteValue(const QString& name) override
    {
        const QByteArray ansi = name.toLocal8Bit();
        return m_key && RegDeleteValueA(m_key, ansi.constData()) == ERROR_SUCCESS;
    }

    void closeKey() override
    {
        if (m_key) {
            RegCloseKey(m_key);
            m_key = nullptr;
        }
    }

private:
    HKEY m_key = nullptr;
};

} // namespace

std::unique_ptr<Registry> Registry::create()
{
    return std::make_unique<WinRegistry>();
}

#include "Win32Registry.h"

#include <windows.h>

namespace Win32 {

namespace {

static_assert(ErrorSuccess == ERROR_SUCCESS && ErrorFileNotFound == ERROR_FILE_NOT_FOUND &&
              ErrorInvalidHandle == ERROR_INVALID_HANDLE && ErrorMoreData == ERROR_MORE_DATA);

// Most values are short: the first read needs no size query, longer ones are read again.
constexpr DWORD FirstReadSize = 256;
constexpr int ReadAttempts = 8;

HKEY handle(void* key)
{
    return static_cast<HKEY>(key);
}

HKEY rootHandle(RegRoot root)
{
    return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

} // namespace

RegKey::~RegKey()
{
    close();
}

long RegKey::open(RegRoot root, std::string_view path, bool create)
{
    close();
    while (!path.empty() && path.front() == '\\')
        path.remove_prefix(1);
    const std::string subKey(path);
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExA(rootHandle(root), subKey.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (rc != ERROR_SUCCESS && create) {
        DWORD disposition = 0;
        rc = RegCreateKeyExA(rootHandle(root), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                             nullptr, &key, &disposition);
    }
    if (rc == ERROR_SUCCESS)
        m_key = key;
    return rc;
}

void RegKey::close()
{
    if (m_key) {
        RegCloseKey(handle(m_key));
        m_key = nullptr;
    }
}

long RegKey::exists(const std::string& name) const
{
    if (!m_key)
        return ERROR_INVALID_HANDLE;
    return RegQueryValueExA(handle(m_key), name.c_str(), nullptr, nullptr, nullptr, nullptr);
}

long RegKey::read(const std::string& name, RegValue& value) const
{
    if (!m_key)
        return ERROR_INVALID_HANDLE;
    std::string data(FirstReadSize, '\0');
    for (int attempt = 0; attempt < ReadAttempts; ++attempt) {
        DWORD type = 0;
        DWORD size = DWORD(data.size());
        const LONG rc =
            RegQueryValueExA(handle(m_key), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        if (rc == ERROR_MORE_DATA) {
            // size is what it needs now; it may have grown again by the next call.
            data.assign(size, '\0');
            continue;
        }
        if (rc != ERROR_SUCCESS)
            return rc;
        data.resize(size);
        value.type = type;
        value.data = std::move(data);
        return ERROR_SUCCESS;
    }
    return ERROR_MORE_DATA;
}

long RegKey::write(const std::string& name, const RegValue& value)
{
    if (!m_key)
        return ERROR_INVALID_HANDLE;
    if (value.data.size() > MAXDWORD)
        return ERROR_INVALID_PARAMETER;
    return RegSetValueExA(handle(m_key), name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                          DWORD(value.data.size()));
}

long RegKey::valueNames(std::vector<std::string>& names) const
{
    names.clear();
    if (!m_key)
        return ERROR_INVALID_HANDLE;
    DWORD count = 0;
    DWORD longest = 0;
    LONG rc = RegQueryInfoKeyA(handle(m_key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest,
                               nullptr, nullptr, nullptr);
    if (rc != ERROR_SUCCESS)
        return rc;
    std::string buffer(std::size_t(longest) + 1, '\0');
    for (DWORD index = 0;; ++index) {
        DWORD length = DWORD(buffer.size());
        rc = RegEnumValueA(handle(m_key), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA && buffer.size() < 32768) {
            // A longer name arrived since the count: try the same index with a bigger buffer.
            buffer.assign(buffer.size() * 2, '\0');
            --index;
            continue;
        }
        if (rc == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (rc != ERROR_SUCCESS)
            return rc;
        names.emplace_back(buffer.data(), length);
    }
}

long RegKey::remove(const std::string& name)
{
    if (!m_key)
        return ERROR_INVALID_HANDLE;
    return RegDeleteValueA(handle(m_key), name.c_str());
}

} // namespace Win32

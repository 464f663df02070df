#pragma once

#include "Win32Error.h"

#include <string>
#include <string_view>
#include <vector>

// The registry through advapi32's A functions, Qt-free. Key paths, value names and string data
// are bytes in the ANSI code page (Win32CodePage.h says what a double-byte code page does to
// them). Every call returns a Windows error code: 0 on success.
namespace Win32 {

enum class RegRoot
{
    CurrentUser,
    LocalMachine
};

struct RegValue
{
    unsigned long type = 0; // REG_SZ 1, REG_EXPAND_SZ 2, REG_BINARY 3, REG_DWORD 4
    std::string data;       // exactly the bytes the registry returned
};

// One open key; closed by close() or the destructor.
class RegKey
{
public:
    RegKey() = default;
    ~RegKey();
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // Opens root\path with full access; a missing key is created when create is set.
    // Leading backslashes of path are ignored ("\Control Panel\Desktop").
    long open(RegRoot root, std::string_view path, bool create);
    bool isOpen() const { return m_key != nullptr; }
    void close();

    // ErrorSuccess when the value exists, ErrorFileNotFound when it does not.
    long exists(const std::string& name) const;
    // Reads type and data whole. The data may change between asking its size and reading it,
    // so a read that no longer fits asks again, a few times.
    long read(const std::string& name, RegValue& value) const;
    long write(const std::string& name, const RegValue& value);
    long valueNames(std::vector<std::string>& names) const;
    long remove(const std::string& name);

private:
    void* m_key = nullptr; // HKEY
};

} // namespace Win32

#include "Registry.h"

#include "win32/Win32CodePage.h"
#include "win32/Win32Registry.h"

// The registry itself, through the Win32 layer. Names and data are in the ANSI code page, as the
// program has always stored them. The registry keeps REG_SZ as UTF-16 and converts at every A
// call: on a double-byte code page a string whose bytes are no text there (a lead byte alone)
// comes back changed. Everything this program writes was encoded from text first, so it reads
// back as written; a character the code page lacks was already a '?' when written.
namespace {

std::string ansi(const QString& text)
{
    return Win32::fromUtf16(text.toStdU16String());
}

QString fromAnsi(const std::string& bytes)
{
    return QStringView(Win32::toUtf16(bytes)).toString();
}

class WinRegistry final : public Registry
{
public:
    bool openKey(Root root, const QString& path, bool create) override
    {
        const auto winRoot = root == Root::LocalMachine ? Win32::RegRoot::LocalMachine : Win32::RegRoot::CurrentUser;
        return m_key.open(winRoot, ansi(path), create) == Win32::ErrorSuccess;
    }

    bool valueExists(const QString& name) override { return m_key.exists(ansi(name)) == Win32::ErrorSuccess; }

    std::optional<Value> readValue(const QString& name) override
    {
        Win32::RegValue value;
        const long rc = m_key.read(ansi(name), value);
        if (rc == Win32::ErrorFileNotFound || !m_key.isOpen())
            return std::nullopt;
        if (rc != Win32::ErrorSuccess)
            throw getDataFailed(name);
        return Value{int(value.type), QByteArray(value.data.data(), qsizetype(value.data.size()))};
    }

    void writeValue(const QString& name, const Value& value) override
    {
        const Win32::RegValue data{static_cast<unsigned long>(value.type), value.data.toStdString()};
        if (m_key.write(ansi(name), data) != Win32::ErrorSuccess)
            throw setDataFailed(name);
    }

    QStringList valueNames() override
    {
        std::vector<std::string> names;
        m_key.valueNames(names);
        QStringList result;
        for (const std::string& name : names)
            result.append(fromAnsi(name));
        return result;
    }

    bool deleteValue(const QString& name) override { return m_key.remove(ansi(name)) == Win32::ErrorSuccess; }

    void closeKey() override { m_key.close(); }

private:
    Win32::RegKey m_key;
};

} // namespace

std::unique_ptr<Registry> Registry::create()
{
    return std::make_unique<WinRegistry>();
}

#include "Win32Desktop.h"

#include "Win32Registry.h"

#include <cstdio>

// Kept in this order, each in a block of its own: windows.h first, and IActiveDesktop is
// declared only when wininet.h comes before shlobj.h.
#include <windows.h>

#include <objbase.h>

#include <wininet.h>

#include <shlobj.h>

namespace Win32 {

namespace {

constexpr const char* DesktopKey = "Control Panel\\Desktop";
constexpr const char* RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The shell's Active Desktop object and its interface, by their published identifiers.
constexpr GUID ClsidActiveDesktop = {0x75048700, 0xEF1F, 0x11D0, {0x98, 0x88, 0x00, 0x60, 0x97, 0xDE, 0xAC, 0xF9}};
constexpr GUID IidActiveDesktop = {0xF490EB00, 0x1240, 0x11D1, {0x98, 0x88, 0x00, 0x60, 0x97, 0xDE, 0xAC, 0xF9}};

constexpr DWORD ApplyAll = AD_APPLY_SAVE | AD_APPLY_HTMLGEN | AD_APPLY_REFRESH | AD_APPLY_FORCE;
static_assert(ApplyAll == 15);
static_assert(int(WallpaperStyle::Centre) == WPSTYLE_CENTER && int(WallpaperStyle::Tile) == WPSTYLE_TILE &&
              int(WallpaperStyle::Stretch) == WPSTYLE_STRETCH);

// COM is initialised for the user-interface thread at start-up; this only makes sure of it,
// and undoes exactly what it did.
class ComScope
{
public:
    ComScope() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT m_result;
};

long writeString(RegKey& key, const char* name, const std::string& text)
{
    // REG_SZ holds the text and its NUL.
    return key.write(name, RegValue{REG_SZ, std::string(text.c_str(), text.size() + 1)});
}

std::string hex(std::int32_t result)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(static_cast<std::uint32_t>(result)));
    return text;
}

// What the common answers mean, so the report says more than a number.
const char* meaning(std::int32_t result)
{
    switch (static_cast<std::uint32_t>(result)) {
    case 0x80004001u: // E_NOTIMPL
        return "den här Windows-versionen saknar funktionen";
    case 0x80040154u: // REGDB_E_CLASSNOTREG
        return "Active Desktop finns inte på den här datorn";
    case 0x80070005u: // E_ACCESSDENIED
        return "åtkomst nekad";
    case 0x80070002u: // HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)
    case 0x80070003u: // HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)
        return "filen finns inte";
    case 0x8007000Eu: // E_OUTOFMEMORY
        return "minnet räcker inte";
    default:
        return nullptr;
    }
}

} // namespace

long writeDesktopValues(const std::string& path, const std::string& wallpaperStyle, const std::string& tileWallpaper,
                        std::string& failedValue)
{
    failedValue.clear();
    RegKey key;
    if (const long rc = key.open(RegRoot::CurrentUser, DesktopKey, false); rc != ERROR_SUCCESS)
        return rc;
    const std::pair<const char*, const std::string*> values[] = {
        {"Wallpaper", &path}, {"WallpaperStyle", &wallpaperStyle}, {"TileWallpaper", &tileWallpaper}};
    for (const auto& [name, text] : values) {
        if (const long rc = writeString(key, name, *text); rc != ERROR_SUCCESS) {
            failedValue = name;
            return rc;
        }
    }
    return ERROR_SUCCESS;
}

unsigned long setDeskWallpaper(const std::string& path)
{
    std::string buffer = path; // the call takes a non-const pointer
    if (SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, buffer.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE))
        return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}

ActiveDesktopResult setActiveDesktopWallpaper(const std::u16string& path, WallpaperStyle style)
{
    using Step = ActiveDesktopResult::Step;
    ComScope com;
    IActiveDesktop* desktop = nullptr;
    const HRESULT created = CoCreateInstance(ClsidActiveDesktop, nullptr, CLSCTX_INPROC_SERVER, IidActiveDesktop,
                                             reinterpret_cast<void**>(&desktop));
    if (FAILED(created) || !desktop)
        return {Step::Create, FAILED(created) ? created : E_NOINTERFACE, {}};

    wchar_t buffer[MAX_PATH] = {};
    const std::size_t length = path.size() < MAX_PATH - 1 ? path.size() : MAX_PATH - 1;
    path.copy(reinterpret_cast<char16_t*>(buffer), length);
    const WALLPAPEROPT options = {sizeof(WALLPAPEROPT), DWORD(style)};

    ActiveDesktopResult outcome;
    const auto answer = [&outcome](Step step, HRESULT result) {
        outcome.answers.push_back(result);
        if (FAILED(result) && outcome.step == Step::Done) {
            outcome.step = step;
            outcome.result = result;
        }
    };
    answer(Step::SetWallpaper, desktop->SetWallpaper(buffer, 0));
    answer(Step::SetWallpaperOptions, desktop->SetWallpaperOptions(&options, 0));
    answer(Step::ApplyChanges, desktop->ApplyChanges(ApplyAll));
    desktop->Release();
    return outcome;
}

std::string activeDesktopReport(const ActiveDesktopResult& result)
{
    using Step = ActiveDesktopResult::Step;
    if (result.step == Step::Done)
        return {};
    std::string code = hex(result.result);
    if (const char* text = meaning(result.result))
        code += std::string(": ") + text;
    if (result.step == Step::Create)
        return "Skrivbordets Active Desktop-objekt kunde inte skapas (" + code + ").";
    return "Bakgrunden kunde inte bytas på skrivbordet Windows: Active Desktop svarade med felet " + code + ".";
}

long setRunValue(const std::string& valueName, const std::string& command)
{
    RegKey key;
    if (const long rc = key.open(RegRoot::LocalMachine, RunKey, false); rc != ERROR_SUCCESS)
        return rc;
    return writeString(key, valueName.c_str(), command);
}

RunValueRemoval removeRunValue(const std::string& valueName)
{
    RegKey key;
    if (const long rc = key.open(RegRoot::LocalMachine, RunKey, false); rc != ERROR_SUCCESS)
        return {false, rc};
    return {true, key.remove(valueName)};
}

std::string runValueRemovalFailure(const RunValueRemoval& removal)
{
    const long rc = removal.result;
    if (!removal.keyOpened || rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND)
        return {};
    std::string reason = "felet " + std::to_string(rc);
    if (const char* text = meaning(std::int32_t(HRESULT_FROM_WIN32(static_cast<unsigned long>(rc)))))
        reason += std::string(": ") + text;
    return reason;
}

long runValueExists(const std::string& valueName)
{
    RegKey key;
    if (const long rc = key.open(RegRoot::LocalMachine, RunKey, false); rc != ERROR_SUCCESS)
        return rc;
    return key.exists(valueName);
}

} // namespace Win32

// The Win32 layer under the Windows backends, run under Wine (see run-wine-tests.sh).
// Without arguments: the registry, code-page and Active Desktop checks in this process.
// "desktop STYLE TILE PATH", "autostart on|off NAME [COMMAND]": one step each, which the script
// then checks with reg.exe. "codepage932": the double-byte checks, run with LC_ALL=ja_JP.UTF-8.
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Registry.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace Win32;

namespace {

int failures = 0;

void check(bool ok, const std::string& what)
{
    if (!ok) {
        ++failures;
        std::printf("FAIL: %s\n", what.c_str());
    }
}

std::string hexBytes(const std::string& bytes)
{
    std::string text;
    char part[4];
    for (std::size_t i = 0; i < bytes.size() && i < 48; ++i) {
        std::snprintf(part, sizeof part, "%02x ", static_cast<unsigned char>(bytes[i]));
        text += part;
    }
    return bytes.size() > 48 ? text + "... (" + std::to_string(bytes.size()) + " bytes)" : text;
}

std::string sz(const std::string& text)
{
    return std::string(text.c_str(), text.size() + 1);
}

std::string dword(std::uint32_t value)
{
    std::string data(4, '\0');
    for (int i = 0; i < 4; ++i)
        data[i] = char((value >> (8 * i)) & 0xFF);
    return data;
}

constexpr unsigned long RegSz = 1, RegExpandSz = 2, RegBinary = 3, RegDword = 4;
const char* const SettingsKey = "Software\\Tavlix\\Settings";

// Every value comes back with its type and bytes exactly: the typed readers above the layer
// decide on both (wrong type, data longer than 4 bytes, text up to the first NUL).
void settingsRoundTrip()
{
    std::string everyByte;
    for (int b = 1; b < 256; ++b)
        everyByte.push_back(char(b));
    std::string binary(70000, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = char(i * 7);

    struct Row
    {
        const char* why;
        const char* name;
        RegValue value;
    };
    const std::vector<Row> rows = {
        {"Latin-1 path in REG_SZ", "ListFile", {RegSz, sz("C:\\Bilder\\\xE5\xE4\xF6 \xC5\xC4\xD6 \xE9\xFC\xDF.lst")}},
        {"every non-NUL byte in REG_SZ", "Alla", {RegSz, sz(everyByte)}},
        {"zero-length REG_SZ", "Tom", {RegSz, ""}},
        {"REG_EXPAND_SZ is not expanded", "Utvidgad", {RegExpandSz, sz("%USERPROFILE%\\listor\\a.lst")}},
        {"negative REG_DWORD", "Colour", {RegDword, dword(0xFF00000Du)}},
        {"number stored as text", "X", {RegSz, sz("100")}},
        {"text stored as number", "Caption", {RegDword, dword(1)}},
        {"REG_DWORD longer than 4 bytes", "Y", {RegDword, dword(5) + dword(6)}},
        {"long REG_SZ needs a second read", "Lang", {RegSz, sz(std::string(100000, 'x'))}},
        {"long REG_BINARY with NULs", "Binar", {RegBinary, binary}},
    };

    RegKey key;
    check(key.open(RegRoot::CurrentUser, SettingsKey, true) == ErrorSuccess, "settings key created");
    for (const Row& row : rows)
        check(key.write(row.name, row.value) == ErrorSuccess, std::string("write: ") + row.why);
    key.close();

    // A fresh use, as every use of the store opens the key anew; a leading backslash names the same key.
    check(key.open(RegRoot::CurrentUser, std::string("\\") + SettingsKey, false) == ErrorSuccess, "key reopened");
    for (const Row& row : rows) {
        RegValue back;
        const long rc = key.read(row.name, back);
        check(rc == ErrorSuccess && back.type == row.value.type && back.data == row.value.data,
              std::string("round trip: ") + row.why + ": rc " + std::to_string(rc) + ", type " +
                  std::to_string(back.type) + ", " + hexBytes(back.data));
        check(key.exists(row.name) == ErrorSuccess, std::string("exists: ") + row.why);
    }

    RegValue missing;
    check(key.exists("Vald") == ErrorFileNotFound, "missing value does not exist");
    check(key.read("Vald", missing) == ErrorFileNotFound, "missing value reads as missing");

    std::vector<std::string> names;
    check(key.valueNames(names) == ErrorSuccess && names.size() == rows.size(),
          "value names listed: " + std::to_string(names.size()));
    for (const Row& row : rows) {
        bool found = false;
        for (const std::string& name : names)
            found = found || name == row.name;
        check(found, std::string("listed: ") + row.name);
    }

    check(key.remove("Lang") == ErrorSuccess && key.exists("Lang") == ErrorFileNotFound, "value deleted");
    check(key.remove("Lang") == ErrorFileNotFound, "deleting a missing value says so");

    RegKey absent;
    check(absent.open(RegRoot::CurrentUser, "Software\\Tavlix\\Saknas", false) == ErrorFileNotFound,
          "missing key is not created without create");
    check(absent.exists("x") == ErrorInvalidHandle && absent.write("x", {RegSz, sz("y")}) == ErrorInvalidHandle,
          "a key that did not open refuses every call");
}

void codePage1252()
{
    check(ansiCodePage() == 1252, "Wine's default code page is 1252: " + std::to_string(ansiCodePage()));
    check(toUtf16("\xE5\xE4\xF6") == u"\u00E5\u00E4\u00F6", "Latin-1 letters decode");
    check(fromUtf16(u"\u00C5\u20AC") == "\xC5\x80", "and encode, the euro sign included");
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(char(b));
    check(fromUtf16KeepingBytes(toUtf16KeepingBytes(all)) == all, "every byte survives on a single-byte code page");
}

void activeDesktop()
{
    // Wine's Active Desktop object exists but implements none of its calls; each answers, so all were made.
    const ActiveDesktopResult result = setActiveDesktopWallpaper(u"C:\\Bilder\\a.jpg", WallpaperStyle::Stretch);
    const std::int32_t notImplemented = std::int32_t(0x80004001u);
    check(result.answers == std::vector<std::int32_t>(3, notImplemented),
          "SetWallpaper, SetWallpaperOptions, ApplyChanges: " + std::to_string(result.answers.size()) + " answers");
    check(result.step == ActiveDesktopResult::Step::SetWallpaper && result.result == notImplemented,
          "Wine answers E_NOTIMPL: step " + std::to_string(int(result.step)) + ", " + std::to_string(result.result));
    const std::string report = activeDesktopReport(result);
    check(report == "Bakgrunden kunde inte bytas på skrivbordet Windows: Active Desktop svarade med felet "
                    "0x80004001: den här Windows-versionen saknar funktionen.",
          "report: " + report);

    using Step = ActiveDesktopResult::Step;
    struct Row
    {
        const char* why;
        ActiveDesktopResult result;
        const char* report;
    };
    const Row rows[] = {
        {"success says nothing", {Step::Done, 0, {}}, ""},
        {"no object is a report of its own",
         {Step::Create, std::int32_t(0x80040154u), {}},
         "Skrivbordets Active Desktop-objekt kunde inte skapas (0x80040154: Active Desktop finns inte på den här "
         "datorn)."},
        {"an unknown code is shown as a number",
         {Step::ApplyChanges, std::int32_t(0x8000FFFFu), {}},
         "Bakgrunden kunde inte bytas på skrivbordet Windows: Active Desktop svarade med felet 0x8000FFFF."},
    };
    for (const Row& row : rows)
        check(activeDesktopReport(row.result) == row.report,
              std::string(row.why) + ": " + activeDesktopReport(row.result));
}

// A Run value that stays after the box is unticked must be reported; one that is not there, or a
// key that does not open (every start of a user without administrator rights), is no failure.
void runValueRemoval()
{
    const std::pair<RunValueRemoval, const char*> rows[] = {
        {{true, ErrorSuccess}, ""}, {{true, ErrorFileNotFound}, ""},       {{false, ErrorFileNotFound}, ""},
        {{false, 5}, ""},           {{true, 5}, "felet 5: åtkomst nekad"}, {{true, 1018}, "felet 1018"}};
    for (const auto& [removal, failure] : rows)
        check(runValueRemovalFailure(removal) == failure,
              "opened " + std::to_string(removal.keyOpened) + ", " + runValueRemovalFailure(removal));
}

// Under LC_ALL=ja_JP.UTF-8 Wine's ANSI code page is 932 (Shift JIS).
void codePage932()
{
    check(ansiCodePage() == 932, "code page 932 in force: " + std::to_string(ansiCodePage()));

    int aloneChanged = 0, inNameChanged = 0;
    for (int b = 1; b < 256; ++b) {
        const std::string alone(1, char(b));
        const std::string inName = "C:\\a" + alone + "b.jpg";
        aloneChanged += fromUtf16(toUtf16(alone)) != alone;
        inNameChanged += fromUtf16(toUtf16(inName)) != inName;
        check(fromUtf16KeepingBytes(toUtf16KeepingBytes(alone)) == alone, "lone byte kept: " + hexBytes(alone));
        check(fromUtf16KeepingBytes(toUtf16KeepingBytes(inName)) == inName, "byte in a name kept: " + hexBytes(inName));
    }
    std::printf("code page 932: decoding and encoding again changes %d of 255 lone byte values, "
                "%d of 255 in \"C:\\a?b.jpg\"\n",
                aloneChanged, inNameChanged);
    check(aloneChanged > 0 && inNameChanged > 0, "the plain conversion does lose bytes here");

    // Every pair of bytes, and a list file of such lines: nothing is lost or moved.
    std::string pairs;
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) {
            pairs.push_back(char(a));
            pairs.push_back(char(b));
            pairs += "\r\n";
        }
    check(fromUtf16KeepingBytes(toUtf16KeepingBytes(pairs)) == pairs, "every byte pair kept in a list file");
    const std::string japanese = "C:\\\x8E\xCA\x90\x5E\\\x95\x5C.jpg"; // C:\写真\表.jpg, 0x5C as a trail byte
    check(toUtf16KeepingBytes(japanese) == u"C:\\\u5199\u771F\\\u8868.jpg", "Shift JIS text decodes as text");

    // The registry keeps REG_SZ as UTF-16: text of the code page comes back, lone lead bytes do not.
    // A key of its own: the layer's checks may run at the same time in the same prefix and count their values.
    RegKey key;
    check(key.open(RegRoot::CurrentUser, "Software\\Tavlix\\CodePage932", true) == ErrorSuccess, "key opened");
    check(key.write("ListFile", {RegSz, sz(japanese)}) == ErrorSuccess, "Shift JIS path written");
    RegValue back;
    check(key.read("ListFile", back) == ErrorSuccess && back.data == sz(japanese), "Shift JIS path read back exactly");
    int registryChanged = 0;
    for (int b = 1; b < 256; ++b) {
        const std::string data = sz(std::string(1, char(b)));
        RegValue value;
        registryChanged += key.write("Byte", {RegSz, data}) != ErrorSuccess ||
                           key.read("Byte", value) != ErrorSuccess || value.data != data;
    }
    std::printf("code page 932: %d of 255 one-byte REG_SZ values come back changed\n", registryChanged);
}

int usage()
{
    std::printf("usage: tst_Win32Layer [desktop STYLE TILE PATH | autostart on NAME COMMAND | autostart off NAME | "
                "codepage932]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        settingsRoundTrip();
        codePage1252();
        activeDesktop();
        runValueRemoval();
    } else if (args[0] == "codepage932" && args.size() == 1) {
        codePage932();
    } else if (args[0] == "desktop" && args.size() == 4) {
        std::string failedValue;
        const long rc = writeDesktopValues(args[3], args[1], args[2], failedValue);
        check(rc == ErrorSuccess, "desktop values written: " + std::to_string(rc) + " " + failedValue);
        const unsigned long error = setDeskWallpaper(args[3]);
        check(error == 0, "SystemParametersInfoA: " + std::to_string(error));
    } else if (args[0] == "autostart" && args.size() == 4 && args[1] == "on") {
        check(setRunValue(args[2], args[3]) == ErrorSuccess, "Run value written");
        check(runValueExists(args[2]) == ErrorSuccess, "Run value exists");
    } else if (args[0] == "autostart" && args.size() == 3 && args[1] == "off") {
        const RunValueRemoval removal = removeRunValue(args[2]);
        check(removal.keyOpened && removal.result == ErrorSuccess, "Run value removed");
        check(runValueExists(args[2]) == ErrorFileNotFound, "Run value gone");
        check(runValueRemovalFailure(removeRunValue(args[2])).empty(), "a second removal has nothing to report");
    } else {
        return usage();
    }
    std::printf("%s\n", failures == 0 ? "PASS" : "FAILED");
    return failures == 0 ? 0 : 1;
}
